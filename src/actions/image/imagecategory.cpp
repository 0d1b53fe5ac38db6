#include "actions/image/imagecategory.h"

#include "actions/image/imagemanager.h"

QByteArray ImageCategory::saveAsImgWithType(const QByteArray &image, ImageCodec::Format type)
{
    return ImageCodec::encode(image, type);
}

bool ImageCategory::saveAsImgWithName(const QByteArray &image, const QString &name, ImageCodec::Format type)
{
    const QByteArray encoded = saveAsImgWithType(image, type);
    return !encoded.isEmpty() && ImageManager::writeFile(name, encoded);
}

QByteArray ImageCategory::resizedImageData(const QByteArray &data, const QSize &pixelSize)
{
    return ImageCodec::thumbnail(data, QString(), qMax(pixelSize.width(), pixelSize.height()));
}

QByteArray ImageCategory::resizedImageUrl(const QUrl &url, const QSize &pixelSize)
{
    return ImageCodec::thumbnail(QByteArray(), url.toLocalFile(), qMax(pixelSize.width(), pixelSize.height()));
}
