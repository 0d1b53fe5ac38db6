#include "image/imagecodec.h"

#include "image/imagecodecoperations.h"
#include "image/imagemetadatarewriter.h"
#include "image/imagestructure.h"
#include "image/jpegrecompressor.h"
#include "actions/pluginloader.h"

namespace {

// libvips and Exiv2 bring about sixty libraries. They live in a plug-in that the first image
// operation loads, so starting the tray or running a text action never pays for them. Without
// the plug-in every operation fails as it does on data it cannot read.
const ImageCodecOperations *operations()
{
    static const ImageCodecOperations *const loaded = [] {
        const auto entry = reinterpret_cast<ImageCodecEntry>(
            PluginLoader::resolve(QStringLiteral("korvane-image.so"), korvaneImageCodecEntry));
        return entry ? entry() : nullptr;
    }();
    return loaded;
}

JpegRecompress recompressJpeg()
{
    static const JpegRecompress loaded = [] {
        const auto entry = reinterpret_cast<JpegRecompressEntry>(
            PluginLoader::resolve(QStringLiteral("korvane-jpeg.so"), korvaneJpegRecompressEntry));
        return entry ? entry() : nullptr;
    }();
    return loaded;
}

}

// A damaged JPEG, PNG or WebP is refused here, before the plug-in is loaded for it.
bool ImageCodec::readHeader(const QByteArray &data, Header *header)
{
    if (!ImageStructure::isSound(data))
        return false;
    const ImageCodecOperations *codec = operations();
    return codec && codec->readHeader(data, header);
}

QByteArray ImageCodec::compressToJpeg(const QByteArray &data, float quality)
{
    // Most of what comes is a JPEG, for which libjpeg-turbo alone does and the image plug-in
    // stays unloaded; only the orientation goes along besides what the recompressor keeps.
    Header header;
    const JpegRecompress recompress = formatOf(data) == Format::Jpeg ? recompressJpeg() : nullptr;
    if (recompress && ImageStructure::read(data, &header)) {
        const QByteArray jpeg = recompress(data, qBound(1, qRound(quality * 100), 100));
        if (!jpeg.isEmpty())
            return header.orientation <= 1 ? jpeg : ImageMetadataRewriter::rewrite(jpeg, header.orientation);
    }
    const ImageCodecOperations *codec = operations();
    return codec ? codec->compressToJpeg(data, quality) : QByteArray();
}

QByteArray ImageCodec::thumbnail(const QByteArray &data, const QString &file, int longSide)
{
    const ImageCodecOperations *codec = operations();
    return codec ? codec->thumbnail(data, file, longSide) : QByteArray();
}

QByteArray ImageCodec::encode(const QByteArray &data, Format target)
{
    const ImageCodecOperations *codec = operations();
    return codec ? codec->encode(data, target) : QByteArray();
}

QByteArray ImageCodec::rewriteMetadata(const QByteArray &data, int orientation)
{
    if (ImageStructure::handles(formatOf(data)))
        return ImageMetadataRewriter::rewrite(data, orientation);
    const ImageCodecOperations *codec = operations();
    return codec ? codec->rewriteMetadata(data, orientation) : QByteArray();
}
