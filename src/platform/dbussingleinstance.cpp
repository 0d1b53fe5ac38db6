#include "dbussingleinstance.h"

#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QLoggingCategory>

Q_LOGGING_CATEGORY(lcInstance, "korvane.platform.instance", QtInfoMsg)

bool DBusSingleInstance::claim()
{
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected()) {
        // Without a session bus nobody can be asked; running twice is the lesser harm.
        qCWarning(lcInstance, "no session bus: cannot tell whether Korvane already runs");
        return true;
    }
    if (!bus.registerService(ServiceName)) {
        qCInfo(lcInstance, "Korvane already runs in this session");
        return false;
    }
    bus.registerObject(ObjectPath, this, QDBusConnection::ExportAllSlots);
    return true;
}

bool DBusSingleInstance::forward(const QString &request)
{
    QDBusMessage call = QDBusMessage::createMethodCall(ServiceName, ObjectPath, ServiceName, QStringLiteral("Open"));
    call << request;
    const QDBusMessage reply = QDBusConnection::sessionBus().call(call, QDBus::Block, 5000);
    if (reply.type() == QDBusMessage::ErrorMessage) {
        qCWarning(lcInstance, "the running Korvane did not answer: %s", qUtf8Printable(reply.errorMessage()));
        return false;
    }
    return true;
}

void DBusSingleInstance::Open(const QString &request)
{
    Q_EMIT requested(request);
}
