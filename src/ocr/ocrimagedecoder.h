#pragma once

#include <QByteArray>
#include <QImage>
#include <QString>

// Turns what was dropped into the picture Tesseract reads, inside the plug-in: the program
// itself links no image toolkit.
class OcrImageDecoder final
{
public:
    OcrImageDecoder() = delete;

    // Images larger than this are refused from their header: Tesseract would take minutes
    // and gigabytes on them. An 8K screen (7680 × 4320) still fits, and so it does under
    // QImageReader's own 128 MB limit.
    static constexpr qint64 maxPixels = qint64(1) << 25;
    // Tesseract's own limit on either side.
    static constexpr int maxSide = 32767;

    // The image in file, or in data when file is empty, honouring its orientation, after its
    // header has shown a size within the limits. A null image, and why, otherwise.
    static QImage decode(const QString &file, const QByteArray &data, QString *why);
};
