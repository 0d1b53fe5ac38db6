#pragma once

#include "platform/portal/portalshortcutbackend.h"

#include <QDBusArgument>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusMetaType>
#include <QDBusObjectPath>
#include <QDBusVirtualObject>
#include <QHash>
#include <QSet>

namespace KorvaneTest {

using PortalShortcut = PortalShortcutEntry;

// A stand-in desktop portal with GlobalShortcuts as xdg-desktop-portal 1.21 has it: a connection
// registers its app id first. It answers through Request objects, records every call, binds each
// shortcut to its preferred trigger, remembers it across sessions, and emits Activated and
// ShortcutsChanged when asked. `desktop` names other ways: "gnome" (2 after ShortcutsChanged),
// "declines" (the user says no), "starting" (refuses the first session), "no registry", "no app
// info", "no interface". Refused ids are bound, as Plasma binds a taken key kglobalaccel skips.
class PortalServer final : public QDBusVirtualObject
{
public:
    struct Call {
        QString member;
        QString path;
        QString sender;
        QVariantMap options;
        QList<PortalShortcut> shortcuts;
    };
    QList<Call> calls;
    QSet<QString> refused;
    QString desktop;
    // What the desktop holds, by id: the trigger description of each.
    QHash<QString, QString> held;
    QString session;

    bool start(const QByteArray &busAddress);

    // The last list a call sent, by id: the preferred trigger of each.
    QHash<QString, QString> preferredTriggers(const QString &member) const;

    void activate(const QString &id) { emitSignal(QStringLiteral("Activated"), {id, qulonglong(0), QVariantMap()}); }
    // As when the user binds other keys in the desktop's settings.
    void changeShortcuts(const QList<PortalShortcut> &shortcuts) { emitSignal(QStringLiteral("ShortcutsChanged"), {QVariant::fromValue(shortcuts)}); }

    QString introspect(const QString &) const override { return QString(); }

    bool handleMessage(const QDBusMessage &message, const QDBusConnection &connection) override;

private:
    void emitSignal(const QString &name, const QList<QVariant> &arguments);

    static QString escapedSender(const QDBusMessage &message) { return message.service().mid(1).replace(QLatin1Char('.'), QLatin1Char('_')); }

    QList<PortalShortcut> heldShortcuts() const;

    void respond(const QDBusMessage &message, const QDBusConnection &connection, const QVariantMap &options, const QVariantMap &results, uint answer = 0);

    QDBusConnection m_bus{QString()};
    QSet<QString> m_registered;
};

} // namespace KorvaneTest
