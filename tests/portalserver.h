#pragma once

#include <QDBusArgument>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusMetaType>
#include <QDBusObjectPath>
#include <QDBusVirtualObject>
#include <QHash>
#include <QSet>

// One shortcut of the portal's a(sa{sv}) lists.
struct PortalShortcut {
    QString id;
    QVariantMap properties;
};
Q_DECLARE_METATYPE(PortalShortcut)

inline QDBusArgument &operator<<(QDBusArgument &argument, const PortalShortcut &shortcut)
{
    argument.beginStructure();
    argument << shortcut.id << shortcut.properties;
    argument.endStructure();
    return argument;
}

inline const QDBusArgument &operator>>(const QDBusArgument &argument, PortalShortcut &shortcut)
{
    argument.beginStructure();
    argument >> shortcut.id >> shortcut.properties;
    argument.endStructure();
    return argument;
}

// A stand-in desktop portal with the GlobalShortcuts interface. It answers CreateSession and
// BindShortcuts through Request objects as the portal documents them, records every call,
// binds each shortcut to its preferred trigger unless told to refuse it, and emits Activated
// and ShortcutsChanged when the test asks.
class PortalServer final : public QDBusVirtualObject
{
public:
    struct Call {
        QString member;
        QString path;
        QVariantMap options;
        QList<PortalShortcut> shortcuts;
    };
    QList<Call> calls;
    // Ids left out of what BindShortcuts answers.
    QSet<QString> refused;
    // Off: a portal without the interface, as on desktops whose backend lacks it.
    bool globalShortcuts = true;
    QString session;

    bool start(const QByteArray &busAddress)
    {
        qDBusRegisterMetaType<PortalShortcut>();
        qDBusRegisterMetaType<QList<PortalShortcut>>();
        m_bus = QDBusConnection::connectToBus(QString::fromLatin1(busAddress), QStringLiteral("portal"));
        return m_bus.registerVirtualObject(QStringLiteral("/org/freedesktop/portal/desktop"), this, QDBusConnection::SubPath)
            && m_bus.registerService(QStringLiteral("org.freedesktop.portal.Desktop"));
    }

    // The last list a call sent, by id: the preferred trigger of each.
    QHash<QString, QString> preferredTriggers(const QString &member) const
    {
        QHash<QString, QString> triggers;
        for (auto call = calls.crbegin(); call != calls.crend(); ++call) {
            if (call->member != member)
                continue;
            for (const PortalShortcut &shortcut : call->shortcuts)
                triggers.insert(shortcut.id, shortcut.properties.value(QStringLiteral("preferred_trigger")).toString());
            break;
        }
        return triggers;
    }

    void activate(const QString &id)
    {
        QDBusMessage signal = QDBusMessage::createSignal(QStringLiteral("/org/freedesktop/portal/desktop"),
                                                         QStringLiteral("org.freedesktop.portal.GlobalShortcuts"), QStringLiteral("Activated"));
        signal << QVariant::fromValue(QDBusObjectPath(session)) << id << qulonglong(0) << QVariantMap();
        m_bus.send(signal);
    }

    // As when the user binds other keys in the desktop's settings.
    void changeShortcuts(const QList<PortalShortcut> &shortcuts)
    {
        QDBusMessage signal = QDBusMessage::createSignal(QStringLiteral("/org/freedesktop/portal/desktop"),
                                                         QStringLiteral("org.freedesktop.portal.GlobalShortcuts"), QStringLiteral("ShortcutsChanged"));
        signal << QVariant::fromValue(QDBusObjectPath(session)) << QVariant::fromValue(shortcuts);
        m_bus.send(signal);
    }

    QString introspect(const QString &) const override { return QString(); }

    bool handleMessage(const QDBusMessage &message, const QDBusConnection &connection) override
    {
        const QList<QVariant> args = message.arguments();
        Call call{message.member(), message.path(), {}, {}};
        if (!globalShortcuts && message.interface() == QLatin1String("org.freedesktop.portal.GlobalShortcuts")) {
            connection.send(message.createErrorReply(QDBusError::UnknownInterface, QStringLiteral("No such interface")));
        } else if (message.member() == QLatin1String("CreateSession") && args.size() == 1) {
            call.options = qdbus_cast<QVariantMap>(args.at(0));
            call.shortcuts = qdbus_cast<QList<PortalShortcut>>(call.options.value(QStringLiteral("shortcuts")));
            session = QStringLiteral("/org/freedesktop/portal/desktop/session/%1/%2")
                          .arg(escapedSender(message), call.options.value(QStringLiteral("session_handle_token")).toString());
            respond(message, connection, call.options, {{QStringLiteral("session_handle"), session}});
        } else if (message.member() == QLatin1String("BindShortcuts") && args.size() == 4) {
            call.shortcuts = qdbus_cast<QList<PortalShortcut>>(args.at(1));
            call.options = qdbus_cast<QVariantMap>(args.at(3));
            QList<PortalShortcut> bound;
            for (const PortalShortcut &shortcut : std::as_const(call.shortcuts)) {
                if (!refused.contains(shortcut.id))
                    bound.append({shortcut.id, {{QStringLiteral("description"), shortcut.properties.value(QStringLiteral("description"))}, {QStringLiteral("trigger_description"), shortcut.properties.value(QStringLiteral("preferred_trigger"))}}});
            }
            respond(message, connection, call.options, {{QStringLiteral("shortcuts"), QVariant::fromValue(bound)}});
        } else {
            connection.send(message.createReply());
        }
        calls.append(call);
        return true;
    }

private:
    static QString escapedSender(const QDBusMessage &message) { return message.service().mid(1).replace(QLatin1Char('.'), QLatin1Char('_')); }

    void respond(const QDBusMessage &message, const QDBusConnection &connection, const QVariantMap &options, const QVariantMap &results)
    {
        const QString request = QStringLiteral("/org/freedesktop/portal/desktop/request/%1/%2")
                                    .arg(escapedSender(message), options.value(QStringLiteral("handle_token")).toString());
        connection.send(message.createReply(QVariant::fromValue(QDBusObjectPath(request))));
        QDBusMessage response = QDBusMessage::createSignal(request, QStringLiteral("org.freedesktop.portal.Request"), QStringLiteral("Response"));
        response << 0u << results;
        connection.send(response);
    }

    QDBusConnection m_bus{QString()};
};
