#include "image/imagecodec.h"

ImageCodec::Format ImageCodec::formatOf(const QByteArray &data)
{
    if (data.startsWith("\xff\xd8\xff"))
        return Format::Jpeg;
    if (data.startsWith("\x89PNG\r\n\x1a\n"))
        return Format::Png;
    if (data.startsWith("II*") || data.startsWith(QByteArrayLiteral("MM\0*")))
        return Format::Tiff;
    if (data.startsWith("BM"))
        return Format::Bmp;
    if (data.startsWith("GIF87a") || data.startsWith("GIF89a"))
        return Format::Gif;
    if (data.startsWith("RIFF") && data.mid(8, 4) == "WEBP")
        return Format::WebP;
    if (data.mid(4, 4) == "ftyp") {
        const QByteArray brand = data.mid(8, 4);
        if (brand == "heic" || brand == "heix" || brand == "mif1" || brand == "msf1" || brand == "heim" || brand == "avif")
            return Format::Heif;
    }
    return Format::Unknown;
}

QString ImageCodec::mimeType(Format format)
{
    switch (format) {
    case Format::Jpeg:
        return QStringLiteral("image/jpeg");
    case Format::Png:
        return QStringLiteral("image/png");
    case Format::Tiff:
        return QStringLiteral("image/tiff");
    case Format::Bmp:
        return QStringLiteral("image/bmp");
    case Format::Gif:
        return QStringLiteral("image/gif");
    case Format::WebP:
        return QStringLiteral("image/webp");
    case Format::Heif:
        return QStringLiteral("image/heif");
    case Format::Unknown:
        break;
    }
    return QStringLiteral("application/octet-stream");
}

QString ImageCodec::suffix(Format format)
{
    switch (format) {
    case Format::Jpeg:
        return QStringLiteral(".jpg");
    case Format::Png:
        return QStringLiteral(".png");
    case Format::Tiff:
        return QStringLiteral(".tiff");
    case Format::Bmp:
        return QStringLiteral(".bmp");
    case Format::Gif:
        return QStringLiteral(".gif");
    case Format::WebP:
        return QStringLiteral(".webp");
    case Format::Heif:
        return QStringLiteral(".heic");
    case Format::Unknown:
        break;
    }
    return QString();
}
