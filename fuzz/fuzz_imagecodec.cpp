// Image decoding through the image plug-in, as the image actions call it: a header is read
// only from an image that fits the limits, and whatever the operations make is an image of
// the kind they promise.
//
// The input: a byte choosing the operation and its parameter, then the image's bytes.

#include "fuzzsupport.h"
#include "image/imagecodec.h"

namespace {

ImageCodec::Header headerOf(const QByteArray &image)
{
    ImageCodec::Header header;
    FuzzSupport::require(ImageCodec::readHeader(image, &header), "what an operation makes is readable");
    return header;
}

}

extern "C" int LLVMFuzzerInitialize(int *, char ***)
{
    FuzzSupport::start<QCoreApplication>([] {});
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    FuzzSupport::Input input(data, size);
    const quint8 choice = input.byte();
    const QByteArray image = input.rest();

    ImageCodec::Header header;
    if (!ImageCodec::readHeader(image, &header))
        return 0;
    FuzzSupport::require(header.width > 0 && header.height > 0, "a read image has pixels");
    FuzzSupport::require(qint64(header.width) * header.height <= ImageCodec::maxPixels, "no image beyond the limit is read");
    FuzzSupport::require(header.orientation >= 0 && header.orientation <= 8, "the orientation is one of the eight");
    FuzzSupport::require(header.format == ImageCodec::formatOf(image), "the format is the data's");

    const int parameter = choice >> 2;
    switch (choice & 3) {
    case 0: {
        const int longSide = parameter + 1;
        const QByteArray thumbnail = ImageCodec::thumbnail(image, QString(), longSide);
        if (thumbnail.isEmpty())
            break;
        const ImageCodec::Header scaled = headerOf(thumbnail);
        FuzzSupport::require(scaled.format == ImageCodec::Format::Jpeg, "a thumbnail is a JPEG");
        FuzzSupport::require(qMax(scaled.width, scaled.height) <= longSide, "a thumbnail fits its size");
        break;
    }
    case 1: {
        const auto target = ImageCodec::Format(int(ImageCodec::Format::Jpeg) + parameter % 7);
        const QByteArray encoded = ImageCodec::encode(image, target);
        if (!encoded.isEmpty())
            FuzzSupport::require(headerOf(encoded).format == target, "an image is encoded in the format asked for");
        break;
    }
    case 2: {
        const QByteArray jpeg = ImageCodec::compressToJpeg(image, float(parameter) / 63);
        if (!jpeg.isEmpty())
            FuzzSupport::require(headerOf(jpeg).format == ImageCodec::Format::Jpeg, "a compressed image is a JPEG");
        break;
    }
    default: {
        const int orientation = parameter % 8 + 1;
        const QByteArray rewritten = ImageCodec::rewriteMetadata(image, orientation);
        if (rewritten.isEmpty())
            break;
        const ImageCodec::Header after = headerOf(rewritten);
        FuzzSupport::require(after.format == header.format, "a rewritten image keeps its format");
        if (header.format == ImageCodec::Format::Jpeg || header.format == ImageCodec::Format::Png
            || header.format == ImageCodec::Format::Tiff || header.format == ImageCodec::Format::WebP)
            FuzzSupport::require(after.orientation == orientation, "the orientation asked for is written");
        break;
    }
    }
    return 0;
}
