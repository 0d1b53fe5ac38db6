#include "support/portalserver.h"

#include <QDBusMetaType>

namespace KorvaneTest {

bool PortalServer::start(const QByteArray &busAddress)
{
    qDBusRegisterMetaType<PortalShortcut>();
    qDBusRegisterMetaType<QList<PortalShortcut>>();
    m_bus = QDBusConnection::connectToBus(QString::fromLatin1(busAddress), QStringLiteral("portal"));
    return m_bus.registerVirtualObject(QStringLiteral("/org/freedesktop/portal/desktop"), this, QDBusConnection::SubPath)
        && m_bus.registerVirtualObject(QStringLiteral("/kglobalaccel"), this) && m_bus.registerService(QStringLiteral("org.freedesktop.portal.Desktop"))
        && m_bus.registerService(QStringLiteral("org.kde.kglobalaccel"));
}

QHash<QString, QString> PortalServer::preferredTriggers(const QString &member) const
{
    QHash<QString, QString> triggers;
    const auto call = std::find_if(calls.crbegin(), calls.crend(), [&](const Call &c) { return c.member == member; });
    for (const PortalShortcut &shortcut : call == calls.crend() ? QList<PortalShortcut>() : call->shortcuts)
        triggers.insert(shortcut.id, shortcut.properties.value(QStringLiteral("preferred_trigger")).toString());
    return triggers;
}

bool PortalServer::handleMessage(const QDBusMessage &message, const QDBusConnection &connection)
{
    const QList<QVariant> args = message.arguments();
    Call call{message.member(), message.path(), message.service(), {}, {}};
    const bool shortcuts = message.interface() == QLatin1String("org.freedesktop.portal.GlobalShortcuts");
    if (message.interface() == QLatin1String("org.kde.KGlobalAccel")) {
        const bool taken = message.member() == QLatin1String("shortcut") && refused.contains(qdbus_cast<QStringList>(args.value(0)).value(1));
        connection.send(message.member() == QLatin1String("allComponents") ? message.createReply(QVariant::fromValue(QList<QDBusObjectPath>{QDBusObjectPath("/component/token_korvane")}))
                                                                           : message.createReply(QVariant::fromValue(taken ? QList<int>() : QList<int>{1})));
        return true;
    } else if ((desktop == QLatin1String("no interface") && shortcuts) || (desktop == QLatin1String("no registry") && message.member() == QLatin1String("Register"))) {
        connection.send(message.createErrorReply(QDBusError::UnknownInterface, QStringLiteral("No such interface")));
    } else if (message.member() == QLatin1String("Register")) {
        const bool first = std::none_of(calls.cbegin(), calls.cend(), [&](const Call &c) { return c.sender == message.service(); });
        if (first && desktop != QLatin1String("no app info"))
            m_registered.insert(message.service());
        connection.send(m_registered.contains(message.service()) ? message.createReply()
                                                                 : message.createErrorReply(QDBusError::AccessDenied, first ? QStringLiteral("App info not found") : QStringLiteral("Connection already associated with an application ID")));
    } else if (shortcuts && desktop != QLatin1String("no registry") && !m_registered.contains(message.service())) {
        connection.send(message.createErrorReply(QStringLiteral("org.freedesktop.portal.Error.NotAllowed"), QStringLiteral("An app id is required")));
    } else if (message.member() == QLatin1String("CreateSession") && args.size() == 1) {
        call.options = qdbus_cast<QVariantMap>(args.at(0));
        call.shortcuts = qdbus_cast<QList<PortalShortcut>>(call.options.value(QStringLiteral("shortcuts")));
        session = QStringLiteral("/org/freedesktop/portal/desktop/session/%1/%2")
                      .arg(escapedSender(message), call.options.value(QStringLiteral("session_handle_token")).toString());
        const bool starting = desktop == QLatin1String("starting") && std::count_if(calls.cbegin(), calls.cend(), [](const Call &c) { return c.member == QLatin1String("CreateSession"); }) == 0;
        respond(message, connection, call.options, {{QStringLiteral("session_handle"), session}}, starting ? 2 : 0);
    } else if (message.member() == QLatin1String("ListShortcuts") && args.size() == 2) {
        call.options = qdbus_cast<QVariantMap>(args.at(1));
        respond(message, connection, call.options, {{QStringLiteral("shortcuts"), QVariant::fromValue(heldShortcuts())}});
    } else if (message.member() == QLatin1String("BindShortcuts") && args.size() == 4) {
        call.shortcuts = qdbus_cast<QList<PortalShortcut>>(args.at(1));
        call.options = qdbus_cast<QVariantMap>(args.at(3));
        const bool declines = desktop == QLatin1String("declines"), gnome = desktop == QLatin1String("gnome");
        for (const PortalShortcut &shortcut : declines ? QList<PortalShortcut>() : call.shortcuts)
            held.insert(shortcut.id, shortcut.properties.value(QStringLiteral("preferred_trigger")).toString());
        if (gnome)
            changeShortcuts(heldShortcuts());
        const uint answer = gnome ? 2u : uint(declines);
        respond(message, connection, call.options, {{QStringLiteral("shortcuts"), QVariant::fromValue(declines ? QList<PortalShortcut>() : heldShortcuts())}}, answer);
    } else {
        connection.send(message.createReply());
    }
    calls.append(call);
    return true;
}

void PortalServer::emitSignal(const QString &name, const QList<QVariant> &arguments)
{
    QDBusMessage signal = QDBusMessage::createSignal(QStringLiteral("/org/freedesktop/portal/desktop"), QStringLiteral("org.freedesktop.portal.GlobalShortcuts"), name);
    signal.setArguments(QList<QVariant>{QVariant::fromValue(QDBusObjectPath(session))} + arguments);
    m_bus.send(signal);
}

QList<PortalShortcut> PortalServer::heldShortcuts() const
{
    QList<PortalShortcut> shortcuts;
    for (auto it = held.cbegin(); it != held.cend(); ++it)
        shortcuts.append({it.key(), {{QStringLiteral("trigger_description"), it.value()}}});
    return shortcuts;
}

void PortalServer::respond(const QDBusMessage &message, const QDBusConnection &connection, const QVariantMap &options, const QVariantMap &results, uint answer)
{
    const QString request = QStringLiteral("/org/freedesktop/portal/desktop/request/%1/%2")
                                .arg(escapedSender(message), options.value(QStringLiteral("handle_token")).toString());
    connection.send(message.createReply(QVariant::fromValue(QDBusObjectPath(request))));
    QDBusMessage response = QDBusMessage::createSignal(request, QStringLiteral("org.freedesktop.portal.Request"), QStringLiteral("Response"));
    response << answer << results;
    connection.send(response);
}

} // namespace KorvaneTest
