#include "image/imagecodec.h"
#include "image/imagecodecoperations.h"
#include "image/imagemetadatarewriter.h"
#include "image/imagestructure.h"

#include <QFile>
#include <QImage>
#include <QLoggingCategory>
#include <QtGlobal>

#include <exiv2/exiv2.hpp>
#include <gmodule.h>
#include <vips/vips8>

#include <limits>
#include <memory>
#include <mutex>

namespace {

Q_LOGGING_CATEGORY(lcImage, "korvane.image", QtWarningMsg)

using vips::VImage;

// Scaled copies are new pictures: high quality, but no point keeping every bit of noise.
constexpr int resizeQuality = 90;

void startLibraries()
{
    static std::once_flag once;
    std::call_once(once, [] {
        // libvips loads every plug-in module it finds at start (ImageMagick, poppler, OpenSlide,
        // ...), which costs tens of milliseconds and brings nothing for the formats we need.
        // Pointing VIPSHOME elsewhere for the start skips them; HEIF's module is opened on its
        // own when a HEIF image arrives.
        const bool ownHome = !qEnvironmentVariableIsSet("VIPSHOME");
        if (ownHome)
            qputenv("VIPSHOME", QByteArrayLiteral("/nonexistent/korvane-no-vips-modules"));
        if (VIPS_INIT("korvane") != 0)
            qCWarning(lcImage, "libvips did not start: %s", vips_error_buffer());
        if (ownHome)
            qunsetenv("VIPSHOME");
        // Every operation runs once on its own data: the operation cache would only hold memory.
        vips_cache_set_max(0);
        vips_cache_set_max_mem(0);
        Exiv2::LogMsg::setLevel(Exiv2::LogMsg::mute);
        // The XMP toolkit's one-time set-up is not thread-safe; everything after it is.
        Exiv2::XmpParser::initialize();
    });
}

void openHeifModule()
{
    static std::once_flag once;
    std::call_once(once, [] {
        const QByteArray path = QByteArrayLiteral(KORVANE_VIPS_MODULE_DIR "/vips-heif.so");
        // Opening runs the module's own registration of its loaders and savers; it stays open.
        if (!g_module_open(path.constData(), G_MODULE_BIND_LAZY))
            qCInfo(lcImage, "no HEIF support: %s", g_module_error());
    });
}

VipsBlob *blobOf(const QByteArray &data)
{
    return vips_blob_new(nullptr, data.constData(), size_t(data.size()));
}

QByteArray takeBlob(VipsBlob *blob)
{
    size_t size = 0;
    const void *bytes = vips_blob_get(blob, &size);
    QByteArray result(static_cast<const char *>(bytes), qsizetype(size));
    vips_area_unref(VIPS_AREA(blob));
    return result;
}

VImage fromQImage(QImage image)
{
    image = image.convertToFormat(image.hasAlphaChannel() ? QImage::Format_RGBA8888 : QImage::Format_RGB888);
    const int bands = image.hasAlphaChannel() ? 4 : 3;
    VImage packed = VImage(vips_image_new_from_memory_copy(image.constBits(), size_t(image.sizeInBytes()),
                                                           image.bytesPerLine() / bands, image.height(), bands,
                                                           VIPS_FORMAT_UCHAR));
    packed = packed.copy(VImage::option()->set("interpretation", VIPS_INTERPRETATION_sRGB));
    return image.bytesPerLine() / bands == image.width() ? packed : packed.extract_area(0, 0, image.width(), image.height());
}

// A lazy image over the bytes, which must outlive it. Formats libvips reads only through a
// plug-in we do not load (BMP) go through Qt's reader instead.
VImage load(const QByteArray &data, ImageCodec::Format format, bool sequential)
{
    if (format == ImageCodec::Format::Heif)
        openHeifModule();
    if (format == ImageCodec::Format::Bmp) {
        const QImage image = QImage::fromData(data);
        if (image.isNull())
            throw vips::VError("undecodable BMP");
        return fromQImage(image);
    }
    VImage image = VImage::new_from_buffer(data.constData(), size_t(data.size()), "",
                                           VImage::option()
                                               ->set("access", sequential ? VIPS_ACCESS_SEQUENTIAL : VIPS_ACCESS_RANDOM)
                                               ->set("fail_on", VIPS_FAIL_ON_TRUNCATED));
    if (qint64(image.width()) * image.height() > ImageCodec::maxPixels)
        throw vips::VError("image too large");
    return image;
}

// Eight bits per sample in the image's own colour family, alpha flattened on white when the
// target has no alpha.
VImage saveable(VImage image, bool keepAlpha)
{
    if (image.format() != VIPS_FORMAT_UCHAR) {
        const bool colour = image.bands() >= 3 && image.interpretation() != VIPS_INTERPRETATION_CMYK;
        if (colour || image.bands() <= 2)
            image = image.colourspace(colour ? VIPS_INTERPRETATION_sRGB : VIPS_INTERPRETATION_B_W);
        else
            image = image.cast(VIPS_FORMAT_UCHAR);
    }
    if (!keepAlpha && image.has_alpha())
        image = image.flatten(VImage::option()->set("background", std::vector<double>{255.0}));
    return image;
}

// Drops every property but the colour profile. The savers rebuild EXIF from the "exif-ifd"
// fields as well as from the EXIF block, so all of them go.
void removeMetadataFields(VImage &image)
{
    gchar **fields = vips_image_get_fields(image.get_image());
    for (gchar **field = fields; *field; ++field) {
        if (qstrcmp(*field, VIPS_META_ICC_NAME) != 0)
            vips_image_remove(image.get_image(), *field);
    }
    g_strfreev(fields);
}

QByteArray jpegBytes(const VImage &image, int quality)
{
    return takeBlob(image.jpegsave_buffer(VImage::option()->set("Q", quality)));
}

void putLittleEndian(uchar *at, quint32 value, int bytes)
{
    for (int i = 0; i < bytes; ++i)
        at[i] = uchar(value >> (8 * i));
}

// A 24-bit BMP written straight into a buffer of its final size, a band of rows at a time
// as the decoder delivers them: the pixels are never held a second time, nor the file grown
// by copies. Few BMP readers honour alpha, so transparency goes on white as for JPEG.
QByteArray bmpBytes(const VImage &image)
{
    VImage rgb = saveable(image, false);
    if (rgb.bands() < 3 || rgb.interpretation() == VIPS_INTERPRETATION_CMYK)
        rgb = rgb.colourspace(VIPS_INTERPRETATION_sRGB);
    if (rgb.bands() > 3)
        rgb = rgb.extract_band(0, VImage::option()->set("n", 3));
    if (rgb.format() != VIPS_FORMAT_UCHAR)
        rgb = rgb.cast(VIPS_FORMAT_UCHAR);
    const qint64 width = rgb.width();
    const qint64 height = rgb.height();
    const qint64 stride = (width * 3 + 3) & ~qint64(3);
    constexpr qint64 headerSize = 54;
    const qint64 size = headerSize + stride * height;
    if (size > qint64(std::numeric_limits<qint32>::max()))
        return QByteArray();
    QByteArray result(size, '\0');
    auto *out = reinterpret_cast<uchar *>(result.data());
    out[0] = 'B';
    out[1] = 'M';
    putLittleEndian(out + 2, quint32(size), 4);
    putLittleEndian(out + 10, quint32(headerSize), 4);
    putLittleEndian(out + 14, 40, 4);
    putLittleEndian(out + 18, quint32(width), 4);
    putLittleEndian(out + 22, quint32(height), 4);
    putLittleEndian(out + 26, 1, 2);
    putLittleEndian(out + 28, 24, 2);
    putLittleEndian(out + 34, quint32(stride * height), 4);
    putLittleEndian(out + 38, 2835, 4);
    putLittleEndian(out + 42, 2835, 4);

    std::unique_ptr<VipsRegion, decltype(&g_object_unref)> region(vips_region_new(rgb.get_image()), &g_object_unref);
    constexpr int bandRows = 64;
    for (int top = 0; top < height; top += bandRows) {
        VipsRect rect{0, top, int(width), int(qMin<qint64>(bandRows, height - top))};
        if (vips_region_prepare(region.get(), &rect) != 0)
            throw vips::VError();
        for (int y = rect.top; y < rect.top + rect.height; ++y) {
            const auto *row = reinterpret_cast<const uchar *>(VIPS_REGION_ADDR(region.get(), 0, y));
            // Rows go bottom up, each pixel as blue, green, red.
            uchar *line = out + headerSize + (height - 1 - y) * stride;
            for (qint64 x = 0; x < width; ++x) {
                line[3 * x] = row[3 * x + 2];
                line[3 * x + 1] = row[3 * x + 1];
                line[3 * x + 2] = row[3 * x];
            }
        }
    }
    return result;
}

QByteArray encodeImage(const VImage &image, ImageCodec::Format target)
{
    switch (target) {
    case ImageCodec::Format::Jpeg:
        return jpegBytes(saveable(image, false), 100);
    case ImageCodec::Format::Png:
        return takeBlob(saveable(image, true).pngsave_buffer());
    case ImageCodec::Format::Tiff:
        return takeBlob(image.tiffsave_buffer(VImage::option()->set("compression", VIPS_FOREIGN_TIFF_COMPRESSION_DEFLATE)));
    case ImageCodec::Format::Bmp:
        return bmpBytes(image);
    case ImageCodec::Format::Gif:
        return takeBlob(saveable(image, true).gifsave_buffer());
    case ImageCodec::Format::WebP:
        return takeBlob(image.webpsave_buffer(VImage::option()->set("lossless", true)));
    case ImageCodec::Format::Heif:
        return takeBlob(image.heifsave_buffer(VImage::option()->set("lossless", true)));
    case ImageCodec::Format::Unknown:
        break;
    }
    return QByteArray();
}

int exivOrientation(const QByteArray &data)
{
    auto image = Exiv2::ImageFactory::open(reinterpret_cast<const Exiv2::byte *>(data.constData()), long(data.size()));
    image->readMetadata();
    const Exiv2::ExifData &exif = image->exifData();
    const auto it = exif.findKey(Exiv2::ExifKey("Exif.Image.Orientation"));
    if (it == exif.end() || it->count() == 0)
        return 0;
        // Exiv2 0.28 calls the integer reader toInt64; 0.27 (Debian 12) only has toLong.
#if EXIV2_TEST_VERSION(0, 28, 0)
    const qint64 value = it->toInt64();
#else
    const qint64 value = it->toLong();
#endif
    return value >= 1 && value <= 8 ? int(value) : 0;
}

} // namespace

bool ImageCodec::readHeader(const QByteArray &data, Header *header)
{
    const Format format = formatOf(data);
    Header structure;
    const bool structured = ImageStructure::handles(format);
    if (format == Format::Unknown || (structured && !ImageStructure::read(data, &structure)))
        return false;
    startLibraries();
    try {
        if (format == Format::Bmp) {
            // The BMP header: width and height as signed 32-bit little-endian values; a
            // negative height marks rows stored top-down.
            if (data.size() < 26)
                return false;
            const auto le32 = [&](int at) {
                return qint32(quint32(uchar(data[at])) | quint32(uchar(data[at + 1])) << 8
                              | quint32(uchar(data[at + 2])) << 16 | quint32(uchar(data[at + 3])) << 24);
            };
            header->width = le32(18);
            header->height = qAbs(le32(22));
        } else {
            const VImage image = load(data, format, true);
            header->width = image.width();
            header->height = image.height();
        }
        if (header->width <= 0 || header->height <= 0 || qint64(header->width) * header->height > maxPixels)
            return false;
        header->format = format;
        header->orientation = structure.orientation;
        if (!structured && format != Format::Bmp && format != Format::Gif) {
            try {
                header->orientation = exivOrientation(data);
            } catch (const std::exception &) {
                // Metadata we cannot parse leaves the image upright.
            }
        }
        return true;
    } catch (const std::exception &e) {
        qCInfo(lcImage, "cannot read the image: %s", e.what());
        vips_error_clear();
        return false;
    }
}

QByteArray ImageCodec::compressToJpeg(const QByteArray &data, float quality)
{
    Header header;
    if (!readHeader(data, &header))
        return QByteArray();
    try {
        VImage image = saveable(load(data, header.format, true), false).copy();
        removeMetadataFields(image);
        const QByteArray jpeg = jpegBytes(image, qBound(1, qRound(quality * 100), 100));
        if (header.orientation <= 1 || jpeg.isEmpty())
            return jpeg;
        return ImageMetadataRewriter::rewrite(jpeg, header.orientation);
    } catch (const std::exception &e) {
        qCInfo(lcImage, "cannot compress the image: %s", e.what());
        vips_error_clear();
        return QByteArray();
    }
}

QByteArray ImageCodec::thumbnail(const QByteArray &data, const QString &file, int longSide)
{
    startLibraries();
    try {
        const auto scaleOptions = [longSide] {
            return VImage::option()->set("height", longSide)->set("fail_on", VIPS_FAIL_ON_TRUNCATED);
        };
        VImage scaled;
        if (file.isEmpty()) {
            Header header;
            if (!readHeader(data, &header))
                return QByteArray();
            if (header.format == Format::Bmp) {
                scaled = load(data, header.format, false).thumbnail_image(longSide, VImage::option()->set("height", longSide));
            } else {
                VipsBlob *blob = blobOf(data);
                std::unique_ptr<VipsArea, decltype(&vips_area_unref)> owner(VIPS_AREA(blob), &vips_area_unref);
                scaled = VImage::thumbnail_buffer(blob, longSide, scaleOptions());
            }
        } else {
            QFile source(file);
            if (!source.open(QIODevice::ReadOnly))
                return QByteArray();
            const Format format = formatOf(source.peek(16));
            if (format == Format::Bmp)
                return thumbnail(source.readAll(), QString(), longSide);
            if (format == Format::Heif)
                openHeifModule();
            source.close();
            const QByteArray name = QFile::encodeName(file);
            // The header decides before the scaler decodes a single pixel.
            const VImage probe = VImage::new_from_file(name.constData(), VImage::option()->set("access", VIPS_ACCESS_SEQUENTIAL));
            if (qint64(probe.width()) * probe.height() > maxPixels)
                return QByteArray();
            scaled = VImage::thumbnail(name.constData(), longSide, scaleOptions());
        }
        VImage out = saveable(scaled, false).copy();
        // The pixels now stand as the orientation said; a viewer must not turn them again.
        out.set(VIPS_META_ORIENTATION, 1);
        return jpegBytes(out, resizeQuality);
    } catch (const std::exception &e) {
        qCInfo(lcImage, "cannot scale the image: %s", e.what());
        vips_error_clear();
        return QByteArray();
    }
}

QByteArray ImageCodec::encode(const QByteArray &data, Format target)
{
    Header header;
    if (!readHeader(data, &header))
        return QByteArray();
    try {
        return encodeImage(load(data, header.format, true), target);
    } catch (const std::exception &e) {
        qCInfo(lcImage, "cannot encode the image: %s", e.what());
        vips_error_clear();
        return QByteArray();
    }
}

QByteArray ImageCodec::rewriteMetadata(const QByteArray &data, int orientation)
{
    if (ImageStructure::handles(formatOf(data)))
        return ImageMetadataRewriter::rewrite(data, orientation);
    Header header;
    if (!readHeader(data, &header))
        return QByteArray();
    // The rest are decoded and encoded again. A TIFF keeps the value in its orientation tag:
    // Exiv2 would keep XMP there as part of the image. The other formats hold no value we can
    // write, so the turn goes into the pixels.
    try {
        VImage image = load(data, header.format, false).copy();
        removeMetadataFields(image);
        image.set(VIPS_META_ORIENTATION, orientation);
        if (header.format != Format::Tiff) {
            image = image.autorot().copy();
            removeMetadataFields(image);
        }
        // Without a profile to keep, the HEIF saver is told to write no metadata at all, not even
        // the EXIF block it otherwise makes up from the image's size and resolution.
        if (header.format == Format::Heif && !image.get_typeof(VIPS_META_ICC_NAME))
            return takeBlob(image.heifsave_buffer(VImage::option()->set("lossless", true)->set("strip", true)));
        return encodeImage(image, header.format);
    } catch (const std::exception &e) {
        qCInfo(lcImage, "cannot turn the image: %s", e.what());
        vips_error_clear();
        return QByteArray();
    }
}

extern "C" Q_DECL_EXPORT const ImageCodecOperations *korvaneImageCodecOperations()
{
    static const ImageCodecOperations operations{
        &ImageCodec::readHeader,
        &ImageCodec::compressToJpeg,
        &ImageCodec::thumbnail,
        &ImageCodec::encode,
        &ImageCodec::rewriteMetadata,
    };
    return &operations;
}
