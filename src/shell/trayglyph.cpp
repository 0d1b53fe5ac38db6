#include "shell/trayglyph.h"

#include <QIconEngine>
#include <QPainter>

#include <cmath>

namespace {

// The glyph's own colour in its resources, which reads on dark panels, and its dark
// counterpart for light ones.
const QColor lightGlyph(0xdc, 0xdc, 0xdc);
const QColor darkGlyph(0x23, 0x26, 0x29);

QString resourceOf(const QString &name)
{
    if (name == QLatin1String("menubarIcon"))
        return QStringLiteral(":/images/menubarIcon.svg");
    return QStringLiteral(":/images/frames/%1.svg").arg(name);
}

// The installed symbolic icon's name, when the icon theme has it.
QString installedNameOf(const QString &name)
{
    const QString themeName = name == QLatin1String("menubarIcon")
        ? QStringLiteral("com.korvane.Korvane-tray-symbolic")
        : QStringLiteral("com.korvane.Korvane-tray-%1-symbolic").arg(name);
    return QIcon::hasThemeIcon(themeName) ? themeName : QString();
}

qreal linear(qreal channel)
{
    return channel <= 0.04045 ? channel / 12.92 : std::pow((channel + 0.055) / 1.055, 2.4);
}

qreal luminance(const QColor &colour)
{
    return 0.2126 * linear(colour.redF()) + 0.7152 * linear(colour.greenF()) + 0.0722 * linear(colour.blueF());
}

class TrayGlyphEngine final : public QIconEngine
{
public:
    TrayGlyphEngine(const QString &name, const std::function<TrayGlyph::Style()> &style)
        : m_name(name)
        , m_installedName(installedNameOf(name))
        , m_style(style)
    {
    }

    void paint(QPainter *painter, const QRect &rect, QIcon::Mode, QIcon::State) override
    {
        const qreal ratio = painter->device() ? painter->device()->devicePixelRatioF() : 1.0;
        const int side = qRound(qMin(rect.width(), rect.height()) * ratio);
        QImage glyph = TrayGlyph::image(m_name, side, m_style());
        glyph.setDevicePixelRatio(ratio);
        const QSizeF drawn = glyph.deviceIndependentSize();
        painter->drawImage(QPointF(rect.x() + (rect.width() - drawn.width()) / 2, rect.y() + (rect.height() - drawn.height()) / 2), glyph);
    }

    QPixmap pixmap(const QSize &size, QIcon::Mode, QIcon::State) override
    {
        const int side = qMin(size.width(), size.height());
        QPixmap pixmap(size);
        pixmap.fill(Qt::transparent);
        QPainter painter(&pixmap);
        painter.drawImage(QPoint((size.width() - side) / 2, (size.height() - side) / 2), TrayGlyph::image(m_name, side, m_style()));
        return pixmap;
    }

    QList<QSize> availableSizes(QIcon::Mode, QIcon::State) override
    {
        return {QSize(16, 16), QSize(22, 22), QSize(24, 24), QSize(32, 32), QSize(48, 48), QSize(64, 64)};
    }

    QString iconName() override { return m_installedName; }
    bool isNull() override { return false; }
    QString key() const override { return QStringLiteral("TrayGlyphEngine"); }
    QIconEngine *clone() const override { return new TrayGlyphEngine(*this); }

private:
    QString m_name;
    QString m_installedName;
    std::function<TrayGlyph::Style()> m_style;
};

} // namespace

TrayGlyph::Style TrayGlyph::styleFor(const std::optional<QColor> &trayForeground, const std::optional<QColor> &panelBackground)
{
    if (trayForeground && trayForeground->isValid())
        return {*trayForeground, QColor()};
    if (panelBackground && panelBackground->isValid())
        return {contrast(lightGlyph, *panelBackground) >= contrast(darkGlyph, *panelBackground) ? lightGlyph : darkGlyph, QColor()};
    return {lightGlyph, darkGlyph};
}

qreal TrayGlyph::contrast(const QColor &a, const QColor &b)
{
    return std::abs(luminance(a) - luminance(b));
}

QIcon TrayGlyph::icon(const QString &name, const std::function<Style()> &style)
{
    return QIcon(new TrayGlyphEngine(name, style));
}

QImage TrayGlyph::image(const QString &name, int side, const Style &style)
{
    QImage result(side, side, QImage::Format_ARGB32_Premultiplied);
    result.fill(Qt::transparent);
    if (side <= 0)
        return result;
    const bool outlined = style.outline.isValid();
    // The outline takes a pixel on each side at panel sizes, more on large icons.
    const int border = outlined ? qMax(1, side / 22) : 0;
    const QImage shape = QIcon(resourceOf(name)).pixmap(QSize(side - 2 * border, side - 2 * border), 1.0).toImage();
    const auto tinted = [&shape](const QColor &colour) {
        QImage image = shape.convertToFormat(QImage::Format_ARGB32_Premultiplied);
        QPainter painter(&image);
        painter.setCompositionMode(QPainter::CompositionMode_SourceIn);
        painter.fillRect(image.rect(), colour);
        return image;
    };
    QPainter painter(&result);
    if (outlined) {
        const QImage outline = tinted(style.outline);
        for (int dx = -border; dx <= border; dx += border) {
            for (int dy = -border; dy <= border; dy += border)
                painter.drawImage(QPoint(border + dx, border + dy), outline);
        }
    }
    painter.drawImage(QPoint(border, border), tinted(style.fill));
    return result;
}
