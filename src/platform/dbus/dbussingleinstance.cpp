#include "platform/dbus/dbussingleinstance.h"

#include "platform/platformlogging.h"

#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusMetaType>
#include <QLoggingCategory>
#include <QTimer>

#include <array>
#include <utility>

namespace {

const std::array<std::pair<TransferType, QLatin1String>, 6> typeNames{{
    {TransferType::FileURL, QLatin1String("file-url")},
    {TransferType::URL, QLatin1String("url")},
    {TransferType::PNG, QLatin1String("png")},
    {TransferType::TIFF, QLatin1String("tiff")},
    {TransferType::String, QLatin1String("text")},
    {TransferType::RTF, QLatin1String("rtf")},
}};

} // namespace

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
    qDBusRegisterMetaType<QByteArrayList>();
    bus.registerObject(ObjectPath, this, QDBusConnection::ExportAllSlots);
    return true;
}

bool DBusSingleInstance::isClaimed()
{
    const QDBusConnection bus = QDBusConnection::sessionBus();
    return bus.isConnected() && bus.interface()->isServiceRegistered(ServiceName);
}

bool DBusSingleInstance::call(const QString &method, const QVariantList &arguments)
{
    // A launcher hands the program it starts a token that lets the window it opens take the
    // focus (xdg-activation); the running one opens the window, so it gets the token.
    const QString token = qEnvironmentVariable(ActivationTokenVariable);
    if (!token.isEmpty() && method != QLatin1String("Drop")) {
        QDBusMessage handOver = QDBusMessage::createMethodCall(ServiceName, ObjectPath, ServiceName, QStringLiteral("TakeActivationToken"));
        handOver.setArguments({token});
        QDBusConnection::sessionBus().send(handOver);
    }
    QDBusMessage call = QDBusMessage::createMethodCall(ServiceName, ObjectPath, ServiceName, method);
    call.setArguments(arguments);
    // The running one answers before it acts, so a desktop's key binding never waits on it.
    const QDBusMessage reply = QDBusConnection::sessionBus().call(call, QDBus::Block, 5000);
    if (reply.type() == QDBusMessage::ErrorMessage) {
        qCWarning(lcInstance, "the running Korvane did not answer: %s", qUtf8Printable(reply.errorMessage()));
        return false;
    }
    return true;
}

bool DBusSingleInstance::forward(const QString &request)
{
    return call(QStringLiteral("Open"), {request});
}

bool DBusSingleInstance::forwardShow()
{
    return call(QStringLiteral("Show"), {});
}

bool DBusSingleInstance::forwardShowAction(qint32 dropID)
{
    return call(QStringLiteral("ShowAction"), {dropID});
}

bool DBusSingleInstance::forwardDropWindow()
{
    return call(QStringLiteral("Window"), {});
}

bool DBusSingleInstance::forwardDrop(const TransferData &pasteboard)
{
    QStringList types;
    QByteArrayList data;
    for (const TransferItem &item : pasteboard.items()) {
        for (const auto &[type, name] : typeNames) {
            if (item.hasType(type)) {
                types.append(name);
                data.append(item.dataForType(type));
                break;
            }
        }
    }
    qDBusRegisterMetaType<QByteArrayList>();
    return call(QStringLiteral("Drop"), {types, QVariant::fromValue(data)});
}

void DBusSingleInstance::TakeActivationToken(const QString &token)
{
    // Qt's Wayland windows spend the token at their next activation request.
    if (token.size() <= MaximumActivationTokenLength && !token.contains(QLatin1Char('\0')))
        qputenv(ActivationTokenVariable, token.toUtf8());
}

void DBusSingleInstance::Open(const QString &request)
{
    Q_EMIT requested(request);
}

void DBusSingleInstance::Show()
{
    QTimer::singleShot(0, this, &SingleInstance::showRequested);
}

void DBusSingleInstance::ShowAction(int dropID)
{
    QTimer::singleShot(0, this, [this, dropID] { Q_EMIT showActionRequested(dropID); });
}

void DBusSingleInstance::Window()
{
    QTimer::singleShot(0, this, &SingleInstance::dropWindowRequested);
}

void DBusSingleInstance::Drop(const QStringList &types, const QByteArrayList &data)
{
    // Anyone on the session bus may call: a malformed or oversized drop is refused whole.
    qint64 bytes = 0;
    for (const QByteArray &bytesOfItem : data)
        bytes += bytesOfItem.size();
    if (types.size() != data.size() || types.size() > MaximumDropItems || bytes > MaximumDropBytes) {
        qCWarning(lcInstance, "refused a drop of %lld items and %lld bytes", qint64(types.size()), bytes);
        return;
    }
    TransferData pasteboard;
    for (int i = 0; i < types.size(); ++i) {
        TransferItem item;
        for (const auto &[type, name] : typeNames) {
            if (types.at(i) == name)
                item.setData(type, data.at(i));
        }
        pasteboard.addItem(item);
    }
    QTimer::singleShot(0, this, [this, pasteboard] { Q_EMIT dropRequested(pasteboard); });
}
