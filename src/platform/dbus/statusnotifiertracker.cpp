#include "platform/dbus/statusnotifiertracker.h"

#include "platform/platformlogging.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QDBusVariant>
#include <QGuiApplication>
#include <QLoggingCategory>
#include <QScreen>

// WORKAROUND(QSystemTrayIcon): Qt's StatusNotifierItem drops the position a host passes to
// Activate. QtDBus hands every incoming method call to its message spies on the main thread
// before the call reaches its object; the hook is exported by QtDBus for its own tools.
Q_DBUS_EXPORT void qDBusAddSpyHook(void (*hook)(const QDBusMessage &));

namespace {

StatusNotifierTracker *tracker = nullptr;

const QLatin1String itemInterface("org.kde.StatusNotifierItem");
const QLatin1String watcherService("org.kde.StatusNotifierWatcher");

// Hosts report device pixels; Qt places windows in coordinates divided by the scale factor,
// from each screen's unscaled top-left corner.
QPoint fromDevicePixels(const QPoint &position)
{
    for (const QScreen *screen : QGuiApplication::screens()) {
        const QRect logical = screen->geometry();
        const qreal ratio = screen->devicePixelRatio();
        if (QRect(logical.topLeft(), logical.size() * ratio).contains(position))
            return logical.topLeft() + (position - logical.topLeft()) / ratio;
    }
    return position;
}

} // namespace

StatusNotifierTracker::StatusNotifierTracker(QObject *parent)
    : QObject(parent)
{
    Q_ASSERT(!tracker);
    tracker = this;
    // The hook cannot be taken back: it stays and looks for the tracker of the moment.
    static const bool installed = [] {
        qDBusAddSpyHook(&StatusNotifierTracker::spyOnCall);
        return true;
    }();
    Q_UNUSED(installed)

    QDBusMessage ask = QDBusMessage::createMethodCall(watcherService, QStringLiteral("/StatusNotifierWatcher"),
                                                      QStringLiteral("org.freedesktop.DBus.Properties"), QStringLiteral("Get"));
    ask << QString(watcherService) << QStringLiteral("IsStatusNotifierHostRegistered");
    auto *watcher = new QDBusPendingCallWatcher(QDBusConnection::sessionBus().asyncCall(ask), this);
    connect(watcher, &QDBusPendingCallWatcher::finished, this, [this](QDBusPendingCallWatcher *call) {
        call->deleteLater();
        const QDBusPendingReply<QDBusVariant> reply = *call;
        m_hostRegistered = !reply.isError() && reply.value().variant().toBool();
        qCInfo(lcStatusNotifier, "StatusNotifier host %s", m_hostRegistered ? "found" : "absent");
    });
}

StatusNotifierTracker::~StatusNotifierTracker()
{
    tracker = nullptr;
}

void StatusNotifierTracker::spyOnCall(const QDBusMessage &message)
{
    if (!tracker || message.interface() != itemInterface)
        return;
    const QString member = message.member();
    if (member != QLatin1String("Activate") && member != QLatin1String("SecondaryActivate")
        && member != QLatin1String("ContextMenu"))
        return;
    const QList<QVariant> arguments = message.arguments();
    if (arguments.size() != 2)
        return;
    tracker->record(fromDevicePixels(QPoint(arguments.at(0).toInt(), arguments.at(1).toInt())));
}

void StatusNotifierTracker::record(const QPoint &position)
{
    // 0,0 is what hosts send when they know no position; so is a point off every screen
    // (Wayland hosts report coordinates no client can place a window at).
    const bool valid = !position.isNull() && QGuiApplication::screenAt(position);
    qCInfo(lcStatusNotifier, "activated at %d,%d (%s)", position.x(), position.y(), valid ? "used" : "ignored");
    m_lastReported.reset();
    if (!valid)
        return;
    m_lastReported = position;
    m_lastKnown = position;
}
