#include "platform/x11/x11panelpixels.h"

#include <QGuiApplication>
#include <QHash>
#include <QScreen>
#include <QtGui/qguiapplication_platform.h>

#include <xcb/xcb.h>

#include <cstdlib>
#include <memory>

namespace {

struct FreeDeleter {
    void operator()(void *p) const { std::free(p); }
};
template<typename T>
using XcbReply = std::unique_ptr<T, FreeDeleter>;

// A panel strip along a wide screen is the largest area read: beyond it the read is cut.
constexpr int kMaxSampledWidth = 8192;
constexpr int kMaxSampledHeight = 512;

xcb_connection_t *connection()
{
    if (!qGuiApp || QGuiApplication::platformName() != QLatin1String("xcb"))
        return nullptr;
    auto *x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    return x11 ? x11->connection() : nullptr;
}

xcb_atom_t atom(xcb_connection_t *connection, const QByteArray &name)
{
    XcbReply<xcb_intern_atom_reply_t> reply(
        xcb_intern_atom_reply(connection, xcb_intern_atom(connection, 1, quint16(name.size()), name.constData()), nullptr));
    return reply ? reply->atom : xcb_atom_t(XCB_ATOM_NONE);
}

xcb_screen_t *firstScreen(xcb_connection_t *connection)
{
    return xcb_setup_roots_iterator(xcb_get_setup(connection)).data;
}

// Whether the root window's pixels come as 32-bit words with 8 bits each of red, green and
// blue where QRgb has them: what every X server of today offers for depth 24 and 32.
bool rootHasRgbPixels(xcb_connection_t *connection, const xcb_screen_t *screen)
{
    bool wordPixels = false;
    for (auto formats = xcb_setup_pixmap_formats_iterator(xcb_get_setup(connection)); formats.rem; xcb_format_next(&formats)) {
        if (formats.data->depth == screen->root_depth)
            wordPixels = formats.data->bits_per_pixel == 32;
    }
    if (!wordPixels)
        return false;
    for (auto depths = xcb_screen_allowed_depths_iterator(screen); depths.rem; xcb_depth_next(&depths)) {
        for (auto visuals = xcb_depth_visuals_iterator(depths.data); visuals.rem; xcb_visualtype_next(&visuals)) {
            if (visuals.data->visual_id == screen->root_visual)
                return visuals.data->red_mask == 0xff0000 && visuals.data->green_mask == 0xff00 && visuals.data->blue_mask == 0xff;
        }
    }
    return false;
}

// The area in the X server's device pixels: each screen keeps its top-left corner and scales
// the rest by its device pixel ratio.
QRect devicePixels(const QRect &logical)
{
    const QScreen *screen = QGuiApplication::screenAt(logical.center());
    if (!screen)
        return logical;
    const QRect geometry = screen->geometry();
    const qreal ratio = screen->devicePixelRatio();
    const QPoint topLeft = geometry.topLeft() + (logical.topLeft() - geometry.topLeft()) * ratio;
    return QRect(topLeft, logical.size() * ratio) & QRect(geometry.topLeft(), geometry.size() * ratio);
}

} // namespace

std::optional<QColor> X11PanelPixels::trayForeground()
{
    xcb_connection_t *connection = ::connection();
    if (!connection)
        return std::nullopt;
    const xcb_atom_t selection = atom(connection, "_NET_SYSTEM_TRAY_S0");
    const xcb_atom_t colours = atom(connection, "_NET_SYSTEM_TRAY_COLORS");
    if (selection == XCB_ATOM_NONE || colours == XCB_ATOM_NONE)
        return std::nullopt;
    XcbReply<xcb_get_selection_owner_reply_t> owner(
        xcb_get_selection_owner_reply(connection, xcb_get_selection_owner(connection, selection), nullptr));
    if (!owner || owner->owner == XCB_WINDOW_NONE)
        return std::nullopt;
    // Twelve CARDINALs: red, green and blue of the foreground, then of error, warning and
    // success, each on 16 bits. Only the foreground is of use for a one-colour glyph.
    XcbReply<xcb_get_property_reply_t> property(xcb_get_property_reply(
        connection, xcb_get_property(connection, 0, owner->owner, colours, XCB_ATOM_CARDINAL, 0, 12), nullptr));
    if (!property || property->format != 32 || xcb_get_property_value_length(property.get()) < int(3 * sizeof(quint32)))
        return std::nullopt;
    const auto *values = static_cast<const quint32 *>(xcb_get_property_value(property.get()));
    return QColor::fromRgba64(quint16(values[0]), quint16(values[1]), quint16(values[2]));
}

std::optional<QColor> X11PanelPixels::background(const QRect &area)
{
    xcb_connection_t *connection = ::connection();
    QRect pixels = devicePixels(area);
    if (!connection || pixels.isEmpty())
        return std::nullopt;
    pixels.setSize(pixels.size().boundedTo(QSize(kMaxSampledWidth, kMaxSampledHeight)));
    xcb_screen_t *screen = firstScreen(connection);
    if (!rootHasRgbPixels(connection, screen))
        return std::nullopt;
    XcbReply<xcb_get_image_reply_t> image(xcb_get_image_reply(
        connection,
        xcb_get_image(connection, XCB_IMAGE_FORMAT_Z_PIXMAP, screen->root, qint16(pixels.x()), qint16(pixels.y()),
                      quint16(pixels.width()), quint16(pixels.height()), ~0u),
        nullptr));
    if (!image || xcb_get_image_data_length(image.get()) < pixels.width() * pixels.height() * 4)
        return std::nullopt;
    const auto *words = reinterpret_cast<const quint32 *>(xcb_get_image_data(image.get()));
    const int width = pixels.width();
    const int height = pixels.height();
    // The ring of pixels along the area's edge, each counted once.
    QHash<QRgb, int> counts;
    const auto count = [&](int x, int y) { ++counts[0xff000000u | (words[y * width + x] & 0xffffffu)]; };
    for (int x = 0; x < width; ++x) {
        count(x, 0);
        if (height > 1)
            count(x, height - 1);
    }
    for (int y = 1; y < height - 1; ++y) {
        count(0, y);
        if (width > 1)
            count(width - 1, y);
    }
    QRgb common = 0;
    int most = 0;
    for (auto it = counts.cbegin(); it != counts.cend(); ++it) {
        if (it.value() > most) {
            most = it.value();
            common = it.key();
        }
    }
    return QColor::fromRgb(common);
}
