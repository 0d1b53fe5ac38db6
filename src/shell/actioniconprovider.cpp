#include "shell/actioniconprovider.h"

#include "intake/actioncatalog.h"

#include <QFont>
#include <QHash>
#include <QIcon>
#include <QPainter>
#include <QPainterPath>

namespace {

struct Look {
    QRgb color;
    const char *glyph;
};

// Indexed by kind; groups share a hue.
const Look looks[] = {
    {0xff3b82f6, "A⇄"},
    {0xff64748b, "T"},
    {0xff0ea5e9, "#"},
    {0xfff59e0b, "@"},
    {0xff22c55e, "✉"},
    {0xff8b5cf6, "⌕"},
    {0xffef4444, "Zh"},
    {0xffdc2626, "¥"},
    {0xff14b8a6, "Aa"},
    {0xff06b6d4, "⇶"},
    {0xffec4899, "⇲"},
    {0xffd946ef, "⇄"},
    {0xffa855f7, "⤡"},
    {0xff6366f1, "OCR"},
    {0xfff43f5e, "⌫"},
    {0xfff97316, "⇪"},
    {0xffeab308, "❀"},
    {0xff06b6d4, "⇶"},
    {0xff0ea5e9, "➜"},
    {0xff3b82f6, "⇉"},
    {0xfff59e0b, "@"},
    {0xff22c55e, "✉"},
    {0xff2563eb, "Q"},
    {0xfff97316, "OSS"},
    {0xff0284c7, "COS"},
    {0xff7c3aed, "UP"},
    {0xffdb2777, "↻"},
    {0xff84cc16, "✎"},
};
static_assert(std::size(looks) == KindCount, "one look per action kind");

} // namespace

QPixmap ActionIconProvider::iconForAction(qint64 catalog, qint64 type, int size, qreal devicePixelRatio)
{
    // Any catalog other than text shows the file and image kinds.
    const ActionCatalog::Entry *kind = ActionCatalog::entry(catalog == 0 ? 0 : 1, type);
    const Look look = kind ? looks[int(kind->kind)] : Look{0xff94a3b8, "?"};

    QPixmap pixmap(QSize(size, size) * devicePixelRatio);
    pixmap.setDevicePixelRatio(devicePixelRatio);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    QPainterPath tile;
    tile.addRoundedRect(QRectF(0, 0, size, size), size * 0.24, size * 0.24);
    QLinearGradient gradient(0, 0, 0, size);
    const QColor base = QColor::fromRgba(look.color);
    gradient.setColorAt(0, base.lighter(118));
    gradient.setColorAt(1, base.darker(108));
    painter.fillPath(tile, gradient);

    const QString glyph = QString::fromUtf8(look.glyph);
    QFont font = painter.font();
    font.setBold(true);
    font.setPixelSize(int(size * (glyph.size() > 2 ? 0.34 : glyph.size() > 1 ? 0.42
                                                                             : 0.56)));
    painter.setFont(font);
    painter.setPen(Qt::white);
    painter.drawText(QRectF(0, 0, size, size), Qt::AlignCenter, glyph);
    return pixmap;
}

QPixmap ActionIconProvider::typeImage(bool text, int size, const QColor &color, qreal devicePixelRatio)
{
    QPixmap pixmap(QSize(size, size) * devicePixelRatio);
    pixmap.setDevicePixelRatio(devicePixelRatio);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    QPen pen(color, size / 14.0);
    pen.setJoinStyle(Qt::RoundJoin);
    pen.setCapStyle(Qt::RoundCap);
    painter.setPen(pen);
    const qreal m = size * 0.16;
    if (text) {
        // Lines of text.
        for (int i = 0; i < 4; ++i) {
            const qreal y = m + i * (size - 2 * m) / 3.0;
            painter.drawLine(QPointF(m, y), QPointF(i == 3 ? size * 0.6 : size - m, y));
        }
    } else {
        // A sheet with a folded corner.
        const qreal fold = size * 0.28;
        QPainterPath sheet;
        sheet.moveTo(m + size * 0.08, m);
        sheet.lineTo(size - m - fold, m);
        sheet.lineTo(size - m, m + fold);
        sheet.lineTo(size - m, size - m);
        sheet.lineTo(m + size * 0.08, size - m);
        sheet.closeSubpath();
        painter.drawPath(sheet);
        painter.drawPolyline(QPolygonF({QPointF(size - m - fold, m), QPointF(size - m - fold, m + fold), QPointF(size - m, m + fold)}));
    }
    return pixmap;
}

QPixmap ActionIconProvider::symbolicImage(const QString &resource, int size, const QColor &color, qreal devicePixelRatio)
{
    QPixmap pixmap = QIcon(resource).pixmap(QSize(size, size), devicePixelRatio);
    QPainter painter(&pixmap);
    painter.setCompositionMode(QPainter::CompositionMode_SourceIn);
    painter.fillRect(QRect(QPoint(), pixmap.deviceIndependentSize().toSize()), color);
    return pixmap;
}
