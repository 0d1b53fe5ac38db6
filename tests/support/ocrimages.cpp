#include "support/ocrimages.h"

#include <QBuffer>
#include <QFont>
#include <QFontDatabase>
#include <QFontMetrics>
#include <QPainter>

#include <algorithm>
#include <vector>

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

QByteArray png(const QImage &image)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    return bytes;
}

QByteArray hugePng(quint32 width, quint32 height)
{
    const auto chunk = [](const char *type, const QByteArray &data) {
        QByteArray bytes;
        const quint32 length = quint32(data.size());
        for (int shift = 24; shift >= 0; shift -= 8)
            bytes.append(char((length >> shift) & 0xff));
        const QByteArray body = QByteArray(type, 4) + data;
        bytes += body;
        const quint32 crc = quint32(crc32(0, reinterpret_cast<const Bytef *>(body.constData()), uInt(body.size())));
        for (int shift = 24; shift >= 0; shift -= 8)
            bytes.append(char((crc >> shift) & 0xff));
        return bytes;
    };
    QByteArray header;
    for (quint32 value : {width, height})
        for (int shift = 24; shift >= 0; shift -= 8)
            header.append(char((value >> shift) & 0xff));
    header.append(char(1)).append(char(0)).append(char(0)).append(char(0)).append(char(0));

    const qsizetype rowBytes = 1 + (width + 7) / 8;
    z_stream stream{};
    deflateInit(&stream, 9);
    const QByteArray row(rowBytes, '\0');
    QByteArray compressed;
    std::vector<char> out(1 << 16);
    for (quint32 y = 0; y <= height; ++y) {
        const bool last = y == height;
        stream.next_in = reinterpret_cast<Bytef *>(const_cast<char *>(row.constData()));
        stream.avail_in = last ? 0 : uInt(row.size());
        do {
            stream.next_out = reinterpret_cast<Bytef *>(out.data());
            stream.avail_out = uInt(out.size());
            deflate(&stream, last ? Z_FINISH : Z_NO_FLUSH);
            compressed.append(out.data(), qsizetype(out.size() - stream.avail_out));
        } while (stream.avail_out == 0);
    }
    deflateEnd(&stream);
    return QByteArray("\x89PNG\r\n\x1a\n", 8) + chunk("IHDR", header) + chunk("IDAT", compressed) + chunk("IEND", {});
}

} // namespace KorvaneTest
