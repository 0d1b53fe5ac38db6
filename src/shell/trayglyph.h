#pragma once

#include <QColor>
#include <QIcon>
#include <QImage>

#include <functional>
#include <optional>

// The tray icon's glyph ("menubarIcon" and the animation frames) drawn so that it stands out
// on the panel that shows it. Panels that colour symbolic icons for their theme (KDE's,
// GNOME's) look the glyph up by its installed name; XEmbed trays and StatusNotifier hosts
// that show the item's pixmaps show our drawing, in the colours of a Style.
class TrayGlyph final
{
public:
    struct Style {
        QColor fill;
        // Invalid when the glyph has no outline.
        QColor outline;
    };

    // The colour the tray announces when it does; else the one of a light and a dark glyph
    // colour that stands further from the panel's background; else, with nothing known of
    // the panel, a light glyph with a dark outline, which reads on light and dark panels.
    static Style styleFor(const std::optional<QColor> &trayForeground, const std::optional<QColor> &panelBackground);

    // How far apart two colours are to the eye: the difference of their relative luminance
    // (0 for the same brightness, 1 for black on white).
    static qreal contrast(const QColor &a, const QColor &b);

    // The icon of "menubarIcon" or an animation frame ("1" to "13"). Installed, it carries
    // the symbolic icon's name for the panels that colour it; its pixmaps are drawn in the
    // style the function gives when they are drawn, which is when the tray shows them.
    static QIcon icon(const QString &name, const std::function<Style()> &style);

    // The glyph drawn square, side pixels wide, in the style.
    static QImage image(const QString &name, int side, const Style &style);
};
