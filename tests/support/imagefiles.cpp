#include "support/imagefiles.h"

#include <QBuffer>
#include <QColorSpace>
#include <QImageReader>
#include <QPainter>
#include <QtEndian>

#include <exiv2/exiv2.hpp>
#include <vips/vips8>

namespace KorvaneTest {

QImage quadrants(int width, int height, bool transparent)
{
    QImage image(width, height, transparent ? QImage::Format_ARGB32 : QImage::Format_RGB32);
    image.fill(transparent ? Qt::transparent : Qt::white);
    QPainter painter(&image);
    painter.fillRect(0, 0, width / 2, height / 2, QColor(200, 30, 30));
    painter.fillRect(width / 2, 0, width - width / 2, height / 2, QColor(30, 200, 30));
    painter.fillRect(0, height / 2, width / 2, height - height / 2, QColor(30, 30, 200));
    if (!transparent)
        painter.fillRect(width / 2, height / 2, width - width / 2, height - height / 2, QColor(220, 220, 30));
    return image;
}

QByteArray displayP3Profile()
{
    return QColorSpace(QColorSpace::DisplayP3).iccProfile();
}

QByteArray withMetadata(const QByteArray &data, int orientation, const char *artist)
{
    auto image = Exiv2::ImageFactory::open(reinterpret_cast<const Exiv2::byte *>(data.constData()), long(data.size()));
    image->readMetadata();
    if (orientation > 0)
        image->exifData()["Exif.Image.Orientation"] = uint16_t(orientation);
    image->exifData()["Exif.Image.Artist"] = std::string(artist);
    image->exifData()["Exif.Photo.UserComment"] = std::string("charset=Ascii at the lake");
    image->xmpData()["Xmp.dc.creator"] = std::string(artist);
    image->writeMetadata();
    Exiv2::BasicIo &io = image->io();
    io.seek(0, Exiv2::BasicIo::beg);
    QByteArray result(qsizetype(io.size()), Qt::Uninitialized);
    io.read(reinterpret_cast<Exiv2::byte *>(result.data()), long(result.size()));
    return result;
}

Metadata metadataOf(const QByteArray &data)
{
    Metadata metadata;
    auto image = Exiv2::ImageFactory::open(reinterpret_cast<const Exiv2::byte *>(data.constData()), long(data.size()));
    image->readMetadata();
    const Exiv2::ExifData &exif = image->exifData();
    auto it = exif.findKey(Exiv2::ExifKey("Exif.Image.Orientation"));
    // Exiv2 0.28 renamed the integer reader and gives the profile by reference.
#if EXIV2_TEST_VERSION(0, 28, 0)
    metadata.orientation = it == exif.end() ? 0 : int(it->toInt64());
    if (image->iccProfileDefined())
        metadata.icc = QByteArray(reinterpret_cast<const char *>(image->iccProfile().c_data()), qsizetype(image->iccProfile().size()));
#else
    metadata.orientation = it == exif.end() ? 0 : int(it->toLong());
    if (image->iccProfileDefined())
        metadata.icc = QByteArray(reinterpret_cast<const char *>(image->iccProfile()->pData_), image->iccProfile()->size_);
#endif
    it = exif.findKey(Exiv2::ExifKey("Exif.Image.Artist"));
    if (it != exif.end())
        metadata.artist = QString::fromStdString(it->toString());
    metadata.hasXmp = !image->xmpData().empty();
    return metadata;
}

QByteArray jpegScan(const QByteArray &data)
{
    qsizetype at = 2;
    while (at + 4 <= data.size() && uchar(data[at]) == 0xff) {
        const uchar marker = uchar(data[at + 1]);
        if (marker == 0xda)
            return data.mid(at);
        at += 2 + qFromBigEndian<quint16>(data.constData() + at + 2);
    }
    return QByteArray();
}

QByteArray pngChunks(const QByteArray &data, const QByteArray &type)
{
    QByteArray result;
    qsizetype at = 8;
    while (at + 12 <= data.size()) {
        const quint32 length = qFromBigEndian<quint32>(data.constData() + at);
        if (type.isEmpty())
            result += data.mid(at + 4, 4) + ' ';
        else if (data.mid(at + 4, 4) == type)
            result += data.mid(at + 8, length);
        at += 12 + length;
    }
    return result;
}

QByteArray withPlantedChunks(const QByteArray &png)
{
    const QByteArray exif("MM\0\x2a\0\0\0\x08\0\x02\x01\x12\0\x03\0\0\0\x01\0\x03\0\0"
                          "\x01\x3b\0\x02\0\0\0\x0c\0\0\0\x26\0\0\0\0PlantedExif",
                          50);
    return png.left(33) + pngChunk("tEXt", QByteArray("Comment\0PlantedComment", 22)) + pngChunk("tEXt", QByteArray("Title\0PlantedTitle", 18))
        + pngChunk("tEXt", QByteArray("Make\0PlantedMake", 16)) + pngChunk("zTXt", QByteArray("Description\0\0", 13) + qCompress("Planted").mid(4))
        + pngChunk("iTXt", QByteArray("XML:com.adobe.xmp\0\0\0\0\0<x:xmpmeta>Planted</x:xmpmeta>", 52))
        + pngChunk("tIME", QByteArray("\x07\xe4\x01\x02\x03\x04\x05", 7)) + pngChunk("eXIf", exif) + png.mid(33);
}

QByteArray withPlantedSegments(const QByteArray &jpeg, const QByteArray &preview)
{
    const auto segment = [](char marker, const QByteArray &body) {
        return QByteArray("\xff") + marker + char((body.size() + 2) >> 8) + char(body.size() + 2) + body;
    };
    return jpeg.left(2) + segment('\xfe', "PlantedComment") + segment('\xed', QByteArray("Photoshop 3.0\0"
                                                                                         "8BIM\x04\x04\0\0\0\0\0\x0c\x1c\x02\x78\0\x07"
                                                                                         "Planted",
                                                                                         38))
        + segment('\xec', "Ducky PlantedMaker") + jpeg.mid(2) + preview;
}

QByteArray written(const vips::VImage &image, const char *suffix)
{
    void *bytes = nullptr;
    size_t size = 0;
    image.write_to_buffer(suffix, &bytes, &size);
    const QByteArray result(static_cast<const char *>(bytes), qsizetype(size));
    g_free(bytes);
    return result;
}

QByteArray vipsEncoded(const QByteArray &data, const char *suffix)
{
    static const bool started = VIPS_INIT("imagetests") == 0;
    Q_UNUSED(started);
    return written(vips::VImage::new_from_buffer(data.constData(), size_t(data.size()), ""), suffix);
}

QByteArray cmykJpeg(int width, int height)
{
    static const bool started = VIPS_INIT("imagetests") == 0;
    Q_UNUSED(started);
    const vips::VImage noise = vips::VImage::gaussnoise(width, height, vips::VImage::option()->set("sigma", 20.0)->set("seed", 7));
    vips::VImage cmyk = vips::VImage::bandjoin(std::vector<vips::VImage>{noise, noise, noise, noise})
        + std::vector<double>{-40, 70, 150, -100};
    cmyk = cmyk.cast(VIPS_FORMAT_UCHAR).copy(vips::VImage::option()->set("interpretation", VIPS_INTERPRETATION_CMYK));
    return written(cmyk, ".jpg[Q=98]");
}

QImage grainy(QImage image)
{
    quint32 seed = 12345;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            seed = seed * 1664525u + 1013904223u;
            const int grain = int(seed >> 27) - 16;
            const QColor c = image.pixelColor(x, y);
            image.setPixelColor(x, y, QColor(qBound(0, c.red() + grain, 255), qBound(0, c.green() + grain, 255), qBound(0, c.blue() + grain, 255), c.alpha()));
        }
    }
    return image;
}

QByteArray png16(int width, int height)
{
    return encoded(grainy(quadrants(width, height)).convertToFormat(QImage::Format_RGBX64), "PNG");
}

QImage shown(const QByteArray &data)
{
    QBuffer buffer;
    buffer.setData(data);
    QImageReader reader(&buffer);
    reader.setAutoTransform(true);
    return reader.read().convertToFormat(QImage::Format_RGB32);
}

QSize storedSize(const QByteArray &data)
{
    QBuffer buffer;
    buffer.setData(data);
    return QImageReader(&buffer).size();
}

} // namespace KorvaneTest
