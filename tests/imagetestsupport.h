#pragma once

#include <QBuffer>
#include <QByteArray>
#include <QColorSpace>
#include <QImage>
#include <QImageReader>
#include <QPainter>
#include <QtEndian>

#include <exiv2/exiv2.hpp>
#include <vips/vips8>

#include <zlib.h>

// Real image files for the image tests: rendered by Qt, with metadata written by Exiv2, and
// the parts of a file that must survive a metadata change read back byte for byte.
namespace ImageTestSupport {

// Four differently coloured quadrants, so that every turn and mirror shows.
inline QImage quadrants(int width, int height, bool transparent = false)
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

inline QByteArray encoded(QImage image, const char *format, bool withProfile = false, int quality = 90)
{
    if (withProfile)
        image.setColorSpace(QColorSpace::DisplayP3);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, format, quality);
    return bytes;
}

inline QByteArray displayP3Profile()
{
    return QColorSpace(QColorSpace::DisplayP3).iccProfile();
}

// Writes the orientation (0: none) and an artist and a comment, as a camera would.
inline QByteArray withMetadata(const QByteArray &data, int orientation, const char *artist = "Camera Owner")
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

struct Metadata {
    int orientation = 0;
    QString artist;
    bool hasXmp = false;
    QByteArray icc;
};

inline Metadata metadataOf(const QByteArray &data)
{
    Metadata metadata;
    auto image = Exiv2::ImageFactory::open(reinterpret_cast<const Exiv2::byte *>(data.constData()), long(data.size()));
    image->readMetadata();
    const Exiv2::ExifData &exif = image->exifData();
    auto it = exif.findKey(Exiv2::ExifKey("Exif.Image.Orientation"));
    if (it != exif.end())
        metadata.orientation = int(it->toLong());
    it = exif.findKey(Exiv2::ExifKey("Exif.Image.Artist"));
    if (it != exif.end())
        metadata.artist = QString::fromStdString(it->toString());
    metadata.hasXmp = !image->xmpData().empty();
    if (image->iccProfileDefined())
        metadata.icc = QByteArray(reinterpret_cast<const char *>(image->iccProfile()->pData_), image->iccProfile()->size_);
    return metadata;
}

// The JPEG's compressed image: from the start-of-scan marker to the end.
inline QByteArray jpegScan(const QByteArray &data)
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

// Every chunk of a PNG by type, data only, in order.
inline QByteArray pngChunks(const QByteArray &data, const QByteArray &type)
{
    QByteArray result;
    qsizetype at = 8;
    while (at + 12 <= data.size()) {
        const quint32 length = qFromBigEndian<quint32>(data.constData() + at);
        if (data.mid(at + 4, 4) == type)
            result += data.mid(at + 8, length);
        at += 12 + length;
    }
    return result;
}

// A PNG whose header claims the size; its one pixel row of data is all there is, or, when
// complete, every row, grey, packed to a few hundred kilobytes however large it decodes.
inline QByteArray pngClaiming(quint32 width, quint32 height, bool complete = false)
{
    const auto chunk = [](const QByteArray &type, const QByteArray &body) {
        QByteArray out(4, '\0');
        qToBigEndian<quint32>(quint32(body.size()), out.data());
        out += type + body;
        const QByteArray typed = type + body;
        QByteArray crc(4, '\0');
        qToBigEndian<quint32>(quint32(crc32(0, reinterpret_cast<const Bytef *>(typed.constData()), uInt(typed.size()))), crc.data());
        return out + crc;
    };
    QByteArray header(13, '\0');
    qToBigEndian<quint32>(width, header.data());
    qToBigEndian<quint32>(height, header.data() + 4);
    header[8] = 8;
    header[9] = 2;
    QByteArray row(1 + 3 * qsizetype(complete ? width : 16), '\x80');
    row[0] = '\0';
    QByteArray packed(1 << 20, '\0');
    z_stream stream{};
    deflateInit(&stream, 9);
    stream.next_out = reinterpret_cast<Bytef *>(packed.data());
    for (quint32 y = 0; y < (complete ? height : 1); ++y) {
        const qsizetype used = reinterpret_cast<char *>(stream.next_out) - packed.data();
        if (packed.size() - used < 65536)
            packed.resize(packed.size() * 2);
        stream.next_out = reinterpret_cast<Bytef *>(packed.data()) + used;
        stream.avail_out = uInt(packed.size() - used);
        stream.next_in = reinterpret_cast<Bytef *>(row.data());
        stream.avail_in = uInt(row.size());
        deflate(&stream, y + 1 == (complete ? height : 1) ? Z_FINISH : Z_NO_FLUSH);
    }
    packed.resize(qsizetype(stream.total_out));
    deflateEnd(&stream);
    return QByteArray("\x89PNG\r\n\x1a\n") + chunk("IHDR", header) + chunk("IDAT", packed) + chunk("IEND", QByteArray());
}

// A CMYK JPEG as print workflows write it: four bands, no colour profile.
inline QByteArray cmykJpeg(int width, int height)
{
    static const bool started = VIPS_INIT("imagetests") == 0;
    Q_UNUSED(started);
    const vips::VImage noise = vips::VImage::gaussnoise(width, height, vips::VImage::option()->set("sigma", 20.0)->set("seed", 7));
    vips::VImage cmyk = vips::VImage::bandjoin(std::vector<vips::VImage>{noise, noise, noise, noise})
        + std::vector<double>{-40, 70, 150, -100};
    cmyk = cmyk.cast(VIPS_FORMAT_UCHAR).copy(vips::VImage::option()->set("interpretation", VIPS_INTERPRETATION_CMYK));
    VipsBlob *blob = cmyk.jpegsave_buffer(vips::VImage::option()->set("Q", 98));
    size_t size = 0;
    const void *bytes = vips_blob_get(blob, &size);
    QByteArray result(static_cast<const char *>(bytes), qsizetype(size));
    vips_area_unref(VIPS_AREA(blob));
    return result;
}

// Camera-like grain over the picture, so that lossy compression has something to save.
inline QImage grainy(QImage image)
{
    quint32 seed = 12345;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            seed = seed * 1664525u + 1013904223u;
            const int grain = int(seed >> 27) - 16;
            const QColor c = image.pixelColor(x, y);
            image.setPixelColor(x, y, QColor(qBound(0, c.red() + grain, 255), qBound(0, c.green() + grain, 255),
                                             qBound(0, c.blue() + grain, 255), c.alpha()));
        }
    }
    return image;
}

// A PNG with 16 bits per sample.
inline QByteArray png16(int width, int height)
{
    return encoded(grainy(quadrants(width, height)).convertToFormat(QImage::Format_RGBX64), "PNG");
}

// What a viewer shows: the pixels turned as the orientation value says.
inline QImage shown(const QByteArray &data)
{
    QBuffer buffer;
    buffer.setData(data);
    QImageReader reader(&buffer);
    reader.setAutoTransform(true);
    return reader.read().convertToFormat(QImage::Format_RGB32);
}

inline QSize storedSize(const QByteArray &data)
{
    QBuffer buffer;
    buffer.setData(data);
    QImageReader reader(&buffer);
    return reader.size();
}

} // namespace ImageTestSupport
