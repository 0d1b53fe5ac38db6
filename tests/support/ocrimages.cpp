#include "support/ocrimages.h"

#include <QBuffer>
#include <QColorSpace>
#include <QFont>
#include <QFontDatabase>
#include <QFontMetrics>
#include <QPainter>
#include <QtEndian>

#include <algorithm>

#include <zlib.h>

namespace KorvaneTest {

QString latinFamily()
{
    return QStringLiteral("DejaVu Sans");
}

QString chineseFamily()
{
    return QStringLiteral("WenQuanYi Micro Hei");
}

bool hasFamily(const QString &family)
{
    return QFontDatabase::families().contains(family);
}

QImage render(const QStringList &lines, const QString &family, int pixelSize, bool dark)
{
    QFont font(family);
    font.setPixelSize(pixelSize);
    font.setStyleStrategy(QFont::PreferAntialias);
    const QFontMetrics metrics(font);
    int width = 0;
    for (const QString &line : lines)
        width = std::max(width, metrics.horizontalAdvance(line));
    const int margin = pixelSize;
    const int lineHeight = metrics.lineSpacing() + pixelSize / 3;
    QImage image(width + 2 * margin, int(lines.size()) * lineHeight + 2 * margin, QImage::Format_RGB32);
    image.fill(dark ? QColor(40, 42, 54) : QColor(Qt::white));
    QPainter painter(&image);
    painter.setFont(font);
    painter.setPen(dark ? QColor(235, 235, 235) : QColor(Qt::black));
    for (int i = 0; i < lines.size(); ++i)
        painter.drawText(margin, margin + i * lineHeight + metrics.ascent(), lines.at(i));
    return image;
}

QByteArray encoded(QImage image, const char *format, bool withProfile, int quality)
{
    if (withProfile)
        image.setColorSpace(QColorSpace::DisplayP3);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, format, quality);
    return bytes;
}

QByteArray pngChunk(const QByteArray &type, const QByteArray &body)
{
    QByteArray out(4, '\0');
    qToBigEndian<quint32>(quint32(body.size()), out.data());
    const QByteArray typed = type + body;
    QByteArray crc(4, '\0');
    qToBigEndian<quint32>(quint32(crc32(0, reinterpret_cast<const Bytef *>(typed.constData()), uInt(typed.size()))), crc.data());
    return out + typed + crc;
}

QByteArray pngClaiming(quint32 width, quint32 height, bool complete, bool oneBit)
{
    QByteArray header(13, '\0');
    qToBigEndian<quint32>(width, header.data());
    qToBigEndian<quint32>(height, header.data() + 4);
    header[8] = oneBit ? 1 : 8;
    header[9] = oneBit ? 0 : 2;
    const qsizetype pixels = complete ? width : 16;
    QByteArray row(1 + (oneBit ? (pixels + 7) / 8 : 3 * pixels), oneBit ? '\0' : '\x80');
    row[0] = '\0';
    QByteArray packed(1 << 20, '\0');
    z_stream stream{};
    deflateInit(&stream, 9);
    stream.next_out = reinterpret_cast<Bytef *>(packed.data());
    for (quint32 y = 0; y < (complete ? height : 1); ++y) {
        const qsizetype used = reinterpret_cast<char *>(stream.next_out) - packed.data();
        if (packed.size() - used < 65536)
            packed.resize(packed.size() * 2);
        stream.next_out = reinterpret_cast<Bytef *>(packed.data()) + used;
        stream.avail_out = uInt(packed.size() - used);
        stream.next_in = reinterpret_cast<Bytef *>(row.data());
        stream.avail_in = uInt(row.size());
        deflate(&stream, y + 1 == (complete ? height : 1) ? Z_FINISH : Z_NO_FLUSH);
    }
    packed.resize(qsizetype(stream.total_out));
    deflateEnd(&stream);
    return QByteArray("\x89PNG\r\n\x1a\n") + pngChunk("IHDR", header) + pngChunk("IDAT", packed) + pngChunk("IEND", QByteArray());
}

} // namespace KorvaneTest
