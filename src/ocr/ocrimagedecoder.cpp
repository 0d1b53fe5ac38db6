#include "ocr/ocrimagedecoder.h"

#include <QBuffer>
#include <QImageReader>
#include <QSize>

QImage OcrImageDecoder::decode(const QString &file, const QByteArray &data, QString *why)
{
    QBuffer buffer;
    QImageReader reader;
    if (file.isEmpty()) {
        buffer.setData(data);
        buffer.open(QIODevice::ReadOnly);
        reader.setDevice(&buffer);
    } else {
        reader.setFileName(file);
    }
    reader.setAutoTransform(true);
    const auto tooLarge = [](const QSize &size) {
        return size.width() > maxSide || size.height() > maxSide || qint64(size.width()) * size.height() > maxPixels;
    };
    const QSize size = reader.size();
    if (size.isValid() && tooLarge(size)) {
        *why = QStringLiteral("refused from its header: %1×%2 pixels is more than recognition takes")
                   .arg(size.width())
                   .arg(size.height());
        return QImage();
    }
    QImage image = reader.read();
    if (image.isNull()) {
        *why = reader.errorString();
        return QImage();
    }
    if (tooLarge(image.size())) {
        *why = QStringLiteral("%1×%2 pixels is more than recognition takes").arg(image.width()).arg(image.height());
        return QImage();
    }
    return image;
}
