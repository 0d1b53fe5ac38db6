#include "platform/qt/desktopplatform.h"

#include "config.h"
#include "platform/qt/desktopsoundplayer.h"
#include "platform/headless/headlessdragmonitor.h"
#include "platform/headless/headlessshortcutbackend.h"
#include "platform/portal/portalshortcutbackend.h"
#include "platform/wayland/waylanddatacontrol.h"
#include "platform/platformlogging.h"

#if KORVANE_WITH_X11
#include "platform/x11/x11dragmonitor.h"
#include "platform/x11/x11shortcutbackend.h"
#include "platform/x11/x11panelpixels.h"
#endif

#include <QGuiApplication>
#include <QLoggingCategory>
#include <QScreen>

#include <wayland-client.h>

#if KORVANE_WITH_X11
#include <QtGui/qguiapplication_platform.h>

#include <xcb/xcb.h>

#include <memory>
#endif

std::unique_ptr<GlobalShortcutBackend> DesktopPlatform::createShortcutBackend()
{
#if KORVANE_WITH_X11
    if (QGuiApplication::platformName() == QLatin1String("xcb")) {
        auto service = std::make_unique<X11ShortcutBackend>();
        service->setGrabsUnconfirmed(isWaylandSession());
        if (service->isValid())
            return service;
    }
#endif
    // A Wayland client cannot grab keys: the desktop binds them for it, if it offers to.
    if (QGuiApplication::platformName().startsWith(QLatin1String("wayland")))
        return std::make_unique<PortalShortcutBackend>();
    return std::make_unique<HeadlessShortcutBackend>();
}

bool DesktopPlatform::isWaylandSession()
{
    return qEnvironmentVariableIsSet("WAYLAND_DISPLAY") || qEnvironmentVariable("XDG_SESSION_TYPE") == QLatin1String("wayland");
}

std::unique_ptr<DragMonitor> DesktopPlatform::createDragMonitor()
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

std::unique_ptr<SoundPlayer> DesktopPlatform::createSoundPlayer()
{
    return std::make_unique<DesktopSoundPlayer>();
}

bool DesktopPlatform::placesWindows()
{
    return !isWayland();
}

bool DesktopPlatform::hasGraphicalSession()
{
    const QByteArray platform = qgetenv("QT_QPA_PLATFORM");
    if (!platform.isEmpty() && !platform.startsWith("wayland") && !platform.startsWith("xcb"))
        return true;
    if (!platform.startsWith("xcb") && qEnvironmentVariableIsSet("WAYLAND_DISPLAY")) {
        if (wl_display *display = wl_display_connect(nullptr)) {
            wl_display_disconnect(display);
            return true;
        }
    }
#if KORVANE_WITH_X11
    if (!platform.startsWith("wayland") && qEnvironmentVariableIsSet("DISPLAY")) {
        xcb_connection_t *connection = xcb_connect(nullptr, nullptr);
        const bool answers = !xcb_connection_has_error(connection);
        xcb_disconnect(connection);
        return answers;
    }
#endif
    return false;
}

bool DesktopPlatform::isWayland()
{
    return QGuiApplication::platformName().startsWith(QLatin1String("wayland"));
}

bool DesktopPlatform::readsClipboardOnlyWithFocus()
{
    return isWayland() && !WaylandDataControl::isAvailable();
}

bool DesktopPlatform::composites()
{
    // Other platforms compose (Wayland) or paint into memory with alpha (offscreen), even
    // where they offer the X11 interface without a connection behind it.
    if (QGuiApplication::platformName() != QLatin1String("xcb"))
        return true;
#if KORVANE_WITH_X11
    auto *x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    xcb_connection_t *connection = x11 ? x11->connection() : nullptr;
    if (!connection)
        return true;
    // Korvane opens one X screen; multi-screen setups are one screen with several outputs.
    static const char name[] = "_NET_WM_CM_S0";
    const xcb_intern_atom_cookie_t cookie =
        xcb_intern_atom(connection, 1, sizeof(name) - 1, name);
    std::unique_ptr<xcb_intern_atom_reply_t, decltype(&free)> atom(
        xcb_intern_atom_reply(connection, cookie, nullptr), &free);
    if (!atom || atom->atom == XCB_ATOM_NONE)
        return false;
    std::unique_ptr<xcb_get_selection_owner_reply_t, decltype(&free)> owner(
        xcb_get_selection_owner_reply(connection,
                                      xcb_get_selection_owner(connection, atom->atom), nullptr),
        &free);
    return owner && owner->owner != XCB_WINDOW_NONE;
#else
    return true;
#endif
}

bool DesktopPlatform::carriesWindowOpacity()
{
    return QGuiApplication::platformName() == QLatin1String("xcb");
}

QRect DesktopPlatform::panelEdge(const QScreen *screen)
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

std::optional<QColor> DesktopPlatform::trayForeground()
{
#if KORVANE_WITH_X11
    return X11PanelPixels::trayForeground();
#else
    return std::nullopt;
#endif
}

std::optional<QColor> DesktopPlatform::panelBackground(const QRect &area)
{
#if KORVANE_WITH_X11
    return X11PanelPixels::background(area);
#else
    Q_UNUSED(area)
    return std::nullopt;
#endif
}
