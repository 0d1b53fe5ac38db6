#pragma once

#include <QColor>
#include <QRect>

#include <optional>

// What an X11 panel shows around the tray icon, for drawing a glyph that stands out on it:
// the colours a system tray announces to its icons, and the pixels on screen. Main thread,
// xcb platform only; elsewhere, or when the X server cannot tell, nothing is known.
class X11PanelPixels final
{
public:
    // The foreground colour the tray manager announces in _NET_SYSTEM_TRAY_COLORS (panels
    // that follow a theme do; plain ones such as trayer announce none).
    static std::optional<QColor> trayForeground();

    // The colour most of the pixels along the inner edge of the area show, in logical
    // coordinates: around a glyph that leaves the corners and edges of its square free,
    // the panel's background.
    static std::optional<QColor> background(const QRect &area);
};
