#include "korvanedesktopplatform.h"

#include "config.h"
#include "desktopsoundplayer.h"
#include "headlessdragmonitor.h"
#include "headlesseventhotkeyservice.h"
#include "portalhotkeyservice.h"

#if KORVANE_WITH_X11
#include "x11dragmonitor.h"
#include "x11hotkeyservice.h"
#endif

#include <QGuiApplication>
#include <QLoggingCategory>
#include <QScreen>

Q_LOGGING_CATEGORY(lcPlatform, "korvane.platform", QtInfoMsg)

std::unique_ptr<KorvaneEventHotKeyService> KorvaneDesktopPlatform::createEventHotKeyService()
{
#if KORVANE_WITH_X11
    if (QGuiApplication::platformName() == QLatin1String("xcb")) {
        auto service = std::make_unique<X11HotKeyService>();
        if (service->isValid())
            return service;
    }
#endif
    // A Wayland client cannot grab keys: the desktop binds them for it, if it offers to.
    if (QGuiApplication::platformName().startsWith(QLatin1String("wayland")))
        return std::make_unique<PortalHotKeyService>();
    return std::make_unique<HeadlessEventHotKeyService>();
}

std::unique_ptr<KorvaneDragMonitor> KorvaneDesktopPlatform::createDragMonitor()
{
#if KORVANE_WITH_X11
    if (QGuiApplication::platformName() == QLatin1String("xcb")) {
        auto monitor = std::make_unique<X11DragMonitor>();
        if (monitor->isValid())
            return monitor;
    }
#endif
    qCInfo(lcPlatform, "drags near the tray are not noticed on the \"%s\" platform: drag detection needs X11 for now",
           qUtf8Printable(QGuiApplication::platformName()));
    return std::make_unique<HeadlessDragMonitor>();
}

std::unique_ptr<KorvaneSoundPlayer> KorvaneDesktopPlatform::createSoundPlayer()
{
    return std::make_unique<DesktopSoundPlayer>();
}

bool KorvaneDesktopPlatform::placesWindows()
{
    return !QGuiApplication::platformName().startsWith(QLatin1String("wayland"));
}

bool KorvaneDesktopPlatform::readsClipboardOnlyWithFocus()
{
    return QGuiApplication::platformName().startsWith(QLatin1String("wayland"));
}

QRect KorvaneDesktopPlatform::panelEdge(const QScreen *screen)
{
    if (!screen)
        return QRect();
    // Qt reads the work area from _NET_WORKAREA on X11 and keeps it current.
    const QRect full = screen->geometry();
    const QRect work = screen->availableGeometry();
    if (!work.isValid() || work == full)
        return QRect();
    const QRect strips[] = {
        QRect(QPoint(full.left(), full.top()), QPoint(full.right(), work.top() - 1)),
        QRect(QPoint(full.left(), work.bottom() + 1), QPoint(full.right(), full.bottom())),
        QRect(QPoint(full.left(), full.top()), QPoint(work.left() - 1, full.bottom())),
        QRect(QPoint(work.right() + 1, full.top()), QPoint(full.right(), full.bottom())),
    };
    QRect widest;
    for (const QRect &strip : strips) {
        if (strip.isValid() && qMin(strip.width(), strip.height()) > qMin(widest.width(), widest.height()))
            widest = strip;
    }
    return widest;
}
