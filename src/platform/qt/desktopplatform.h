#pragma once

#include <QColor>
#include <QRect>

#include <memory>
#include <optional>

class DragMonitor;
class GlobalShortcutBackend;
class SoundPlayer;
class QScreen;

// Chooses the desktop realisation of a platform service for the running windowing system.
class DesktopPlatform final
{
public:
    // The X11 service on the xcb platform, the desktop portal's on Wayland; elsewhere the
    // headless one, which holds registrations but never sees a press.
    static std::unique_ptr<GlobalShortcutBackend> createShortcutBackend();

    // Whether the session is a Wayland one, whichever platform this program runs on.
    static bool isWaylandSession();

    // The X11 monitor on the xcb platform; elsewhere the headless one, which never sees a
    // drag.
    static std::unique_ptr<DragMonitor> createDragMonitor();

    static std::unique_ptr<SoundPlayer> createSoundPlayer();

    // Whether a window of ours shows where we put it. Wayland compositors place top-level
    // windows themselves, and the pointer is known there only over our own windows.
    static bool placesWindows();

    static bool isWayland();

    // Whether a graphical session is there to show windows in: the Wayland or X11 display
    // the environment names answers, or Qt is asked for a platform of its own. Asked before
    // the application object, which aborts without one.
    static bool hasGraphicalSession();

    // Whether the clipboard is readable only while a window of ours has the keyboard focus
    // (Wayland without data control, as on GNOME): a hotkey pressed elsewhere must first give
    // Korvane a focused window.
    static bool readsClipboardOnlyWithFocus();

    // Whether translucent pixels and window opacity reach the screen. Plain X11 without a
    // compositing manager shows the transparent corners black and ignores opacity.
    static bool composites();

    // Whether window opacity is carried out: by X11 compositing managers. Wayland has no
    // protocol for it and the other platforms ignore it.
    static bool carriesWindowOpacity();

    // The strip of the screen a panel keeps for itself, read from the desktop's work area
    // (the thickest strip when panels hold several edges); empty when no panel reserves any.
    static QRect panelEdge(const QScreen *screen);

    // What the panel around the tray icon shows, where the window system lets a client read
    // it (X11): the foreground colour an XEmbed tray announces to its icons, and the colour
    // most of the screen's pixels along the inner edge of the area have.
    static std::optional<QColor> trayForeground();
    static std::optional<QColor> panelBackground(const QRect &area);
};
