#pragma once

#include <QByteArray>
#include <QString>

// The one door to the image libraries (libvips for pixels, Exiv2 for metadata): nothing else
// includes them. They live in a plug-in loaded by the first call, so processes that never
// touch an image never pay for them. A JPEG compressed again needs only libjpeg-turbo, which
// JpegRecompressor uses from a plug-in of its own. Every operation may run on any thread and
// reports failure as an empty result, never by an exception.
class ImageCodec final
{
public:
    ImageCodec() = delete;

    enum class Format {
        Unknown,
        Jpeg,
        Png,
        Tiff,
        Bmp,
        Gif,
        WebP,
        Heif,
    };

    struct Header {
        Format format = Format::Unknown;
        int width = 0;
        int height = 0;
        // 1 to 8 as stored; 0 when the image has none or another value, which turns nothing.
        int orientation = 0;
    };

    // Images with more pixels than this are refused from their header, before any decoding:
    // a few bytes of a crafted file must not make us allocate gigabytes.
    static constexpr qint64 maxPixels = qint64(1) << 28;

    static Format formatOf(const QByteArray &data);
    static QString mimeType(Format format);
    static QString suffix(Format format);

    // Reads dimensions and orientation without decoding pixels. False for data that is no
    // image we can read, a JPEG or PNG cut short or dimensions beyond maxPixels.
    static bool readHeader(const QByteArray &data, Header *header);

    // JPEG at quality 0 to 1. Only the colour profile and the orientation value go along, so
    // the photo looks and stands as before.
    static QByteArray compressToJpeg(const QByteArray &data, float quality);

    // A JPEG copy whose longer side is longSide pixels, with the orientation turned into the
    // pixels and written as 1. Big JPEGs are shrunk while they load. Exactly one of data and
    // file is given.
    static QByteArray thumbnail(const QByteArray &data, const QString &file, int longSide);

    // The image in another format at the best quality it allows; transparency goes on white
    // where the format has none.
    static QByteArray encode(const QByteArray &data, Format target);

    // Writes the orientation value as the image's only property beside its colour profile:
    // camera data, location, texts, times, XMP, IPTC and comments all go. The compressed image
    // data stays byte for byte where the format holds metadata beside it (JPEG, PNG, WebP); a
    // TIFF is encoded again without loss, other formats are turned as the value says and
    // encoded again. JPEG, PNG and WebP go through ImageMetadataRewriter without the plug-in.
    static QByteArray rewriteMetadata(const QByteArray &data, int orientation);
};
