#pragma once

#include "image/imagecodec.h"

#include <QByteArray>
#include <QSize>
#include <QString>
#include <QUrl>

// Encoding and scaling of a whole image, on the image's bytes.
class ImageCategory final
{
public:
    ImageCategory() = delete;

    // The image in the given format at its best quality; nothing when it cannot be decoded.
    static QByteArray saveAsImgWithType(const QByteArray &image, ImageCodec::Format type);
    static bool saveAsImgWithName(const QByteArray &image, const QString &name, ImageCodec::Format type);

    // A JPEG copy whose longer side is the larger of the size's sides, upright.
    static QByteArray resizedImageData(const QByteArray &data, const QSize &pixelSize);
    static QByteArray resizedImageUrl(const QUrl &url, const QSize &pixelSize);
};
