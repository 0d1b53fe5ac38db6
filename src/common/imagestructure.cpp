#include "common/imagestructure.h"

#include <zlib.h>

#include <cstring>

namespace {

// Readers of the data at an offset the caller has checked against its size.
quint32 be16(const uchar *at)
{
    return quint32(at[0]) << 8 | at[1];
}

quint32 be32(const uchar *at)
{
    return quint32(at[0]) << 24 | quint32(at[1]) << 16 | quint32(at[2]) << 8 | at[3];
}

quint32 le16(const uchar *at)
{
    return quint32(at[1]) << 8 | at[0];
}

quint32 le24(const uchar *at)
{
    return quint32(at[2]) << 16 | quint32(at[1]) << 8 | at[0];
}

quint32 le32(const uchar *at)
{
    return quint32(at[3]) << 24 | le24(at);
}

// A size of zero is damage; a size above the pixel cap is judged by read() alone, so that
// isSound() tells a damaged file from a refused one.
bool sizeFits(ImageCodec::Header *header, qint64 width, qint64 height)
{
    if (width <= 0 || height <= 0)
        return false;
    header->width = int(width);
    header->height = int(height);
    return true;
}

// Start-of-frame markers carry the image's size; 0xc4, 0xc8 and 0xcc share their range but
// are tables and a reserved code.
bool isFrame(uchar marker)
{
    return marker >= 0xc0 && marker <= 0xcf && marker != 0xc4 && marker != 0xc8 && marker != 0xcc;
}

bool isStandalone(uchar marker)
{
    return marker == 0x01 || (marker >= 0xd0 && marker <= 0xd7);
}

// The segments up to the first scan give the size and the orientation; the scans and the
// segments between them must then lead to an end marker. A second start-of-image marker on the
// way means the image was cut and something else begins.
bool readJpeg(const QByteArray &bytes, ImageStructure::Layout *layout)
{
    const auto *data = reinterpret_cast<const uchar *>(bytes.constData());
    const qsizetype size = bytes.size();
    bool framed = false;
    bool exifSeen = false;
    bool scanning = false;
    qsizetype at = 2;
    for (;;) {
        if (at + 2 > size || data[at] != 0xff)
            return false;
        const uchar marker = data[at + 1];
        if (marker == 0xff) {
            ++at;
            continue;
        }
        if (isStandalone(marker)) {
            at += 2;
            continue;
        }
        if (marker == 0xd8)
            return false;
        if (marker == 0xd9) {
            if (!scanning)
                return false;
            layout->imageEnd = at + 2;
            return true;
        }
        if (at + 4 > size)
            return false;
        const qsizetype length = be16(data + at + 2);
        if (length < 2 || length > size - at - 2)
            return false;
        const uchar *payload = data + at + 4;
        const qsizetype payloadSize = length - 2;
        if (!scanning && isFrame(marker)) {
            if (framed || payloadSize < 6 || !sizeFits(&layout->header, be16(payload + 3), be16(payload + 1)))
                return false;
            framed = true;
        } else if (!scanning && marker == 0xe1 && !exifSeen && payloadSize >= 6 && std::memcmp(payload, "Exif\0\0", 6) == 0) {
            exifSeen = true;
            layout->header.orientation = ImageStructure::exifOrientation(
                QByteArrayView(reinterpret_cast<const char *>(payload), payloadSize));
        }
        if (marker == 0xda && !scanning) {
            if (!framed)
                return false;
            scanning = true;
            layout->scanStart = at;
        }
        at += 2 + length;
        if (marker != 0xda)
            continue;
        // In the compressed data a 0xff byte is followed by 0 or a restart marker; anything else
        // is the next marker.
        for (;;) {
            const void *found = at < size ? std::memchr(data + at, 0xff, size_t(size - at)) : nullptr;
            if (!found)
                return false;
            at = static_cast<const uchar *>(found) - data;
            if (at + 1 >= size)
                return false;
            const uchar next = data[at + 1];
            if (next != 0 && !(next >= 0xd0 && next <= 0xd7))
                break;
            at += 2;
        }
    }
}

bool isChunkType(const uchar *type)
{
    for (int i = 0; i < 4; ++i) {
        const uchar c = type[i] & ~0x20;
        if (c < 'A' || c > 'Z')
            return false;
    }
    return true;
}

// The EXIF block some writers (Exiv2, ImageMagick) keep in a PNG text chunk named "Raw profile
// type exif" or "...APP1": a line with the block's name, its length in decimal, then the bytes in
// hexadecimal, the text compressed in a zTXt chunk. Empty when the chunk holds none.
QByteArray rawProfileExif(QByteArrayView type, QByteArrayView body)
{
    const qsizetype nul = body.indexOf('\0');
    if (nul < 0)
        return QByteArray();
    const QByteArrayView keyword = body.first(nul);
    if (keyword != "Raw profile type exif" && keyword != "Raw profile type APP1")
        return QByteArray();
    QByteArray text;
    if (type == "tEXt") {
        text = body.sliced(nul + 1).toByteArray();
    } else if (type == "zTXt" && body.size() > nul + 2 && body[nul + 1] == 0) {
        const QByteArrayView packed = body.sliced(nul + 2);
        text.resize(ImageStructure::maxProfileText);
        uLongf unpacked = uLongf(text.size());
        const int status = uncompress(reinterpret_cast<Bytef *>(text.data()), &unpacked,
                                      reinterpret_cast<const Bytef *>(packed.data()), uLong(packed.size()));
        if (status != Z_OK)
            return QByteArray();
        text.truncate(qsizetype(unpacked));
    } else {
        return QByteArray();
    }
    qsizetype at = 0;
    while (at < text.size() && text[at] == '\n')
        ++at;
    while (at < text.size() && text[at] != '\n')
        ++at;
    while (at < text.size() && (text[at] == '\n' || text[at] == ' '))
        ++at;
    qint64 length = 0;
    while (at < text.size() && text[at] >= '0' && text[at] <= '9' && length <= ImageStructure::maxProfileText)
        length = length * 10 + (text[at++] - '0');
    if (length > text.size() / 2)
        return QByteArray();
    QByteArray exif;
    exif.reserve(length);
    int high = -1;
    for (; at < text.size() && exif.size() < length; ++at) {
        const char c = text[at];
        const int nibble = c >= '0' && c <= '9' ? c - '0' : c >= 'a' && c <= 'f' ? c - 'a' + 10 : c >= 'A' && c <= 'F' ? c - 'A' + 10 : -1;
        if (nibble < 0)
            continue;
        if (high < 0) {
            high = nibble;
        } else {
            exif.append(char(high << 4 | nibble));
            high = -1;
        }
    }
    return exif;
}

// Every chunk in place with its checksum right, the header first, image data before the end.
bool readPng(const QByteArray &bytes, ImageStructure::Layout *layout)
{
    const auto *data = reinterpret_cast<const uchar *>(bytes.constData());
    const qsizetype size = bytes.size();
    bool imageData = false;
    bool exifSeen = false;
    qsizetype at = 8;
    while (at + 12 <= size) {
        const quint32 length = be32(data + at);
        const uchar *type = data + at + 4;
        if (length > quint32(size - at - 12) || !isChunkType(type))
            return false;
        const qsizetype end = at + 8 + qsizetype(length);
        if (crc32(crc32(0, nullptr, 0), type, uInt(length + 4)) != be32(data + end))
            return false;
        const uchar *body = data + at + 8;
        if (at == 8) {
            if (std::memcmp(type, "IHDR", 4) != 0 || length != 13 || be32(body) > 0x7fffffffu || be32(body + 4) > 0x7fffffffu
                || !sizeFits(&layout->header, be32(body), be32(body + 4)))
                return false;
        } else if (std::memcmp(type, "IDAT", 4) == 0) {
            imageData = true;
        } else if (std::memcmp(type, "eXIf", 4) == 0 && !exifSeen) {
            exifSeen = true;
            layout->header.orientation =
                ImageStructure::exifOrientation(QByteArrayView(reinterpret_cast<const char *>(body), qsizetype(length)));
        } else if ((std::memcmp(type, "tEXt", 4) == 0 || std::memcmp(type, "zTXt", 4) == 0) && !exifSeen) {
            const QByteArray exif = rawProfileExif(QByteArrayView(reinterpret_cast<const char *>(type), 4),
                                                   QByteArrayView(reinterpret_cast<const char *>(body), qsizetype(length)));
            exifSeen = !exif.isEmpty();
            if (exifSeen)
                layout->header.orientation = ImageStructure::exifOrientation(exif);
        } else if (std::memcmp(type, "IEND", 4) == 0) {
            return imageData;
        }
        at = end + 4;
    }
    return false;
}

// The RIFF container whole and its chunks within it; the size from the frame header of the
// simple formats or from the extended format's canvas.
bool readWebP(const QByteArray &bytes, ImageStructure::Layout *layout)
{
    const auto *data = reinterpret_cast<const uchar *>(bytes.constData());
    const qsizetype size = bytes.size();
    if (size < 12)
        return false;
    const qint64 riffEnd = 8 + qint64(le32(data + 4));
    if (riffEnd > size || riffEnd < 12)
        return false;
    bool sized = false;
    bool image = false;
    bool exifSeen = false;
    qsizetype at = 12;
    while (at < riffEnd) {
        if (at + 8 > riffEnd)
            return false;
        const quint32 length = le32(data + at + 4);
        if (length > quint64(riffEnd - at - 8))
            return false;
        const char *type = bytes.constData() + at;
        const uchar *body = data + at + 8;
        const bool first = at == 12;
        if (first && std::memcmp(type, "VP8X", 4) == 0) {
            if (length < 10 || !sizeFits(&layout->header, qint64(le24(body + 4)) + 1, qint64(le24(body + 7)) + 1))
                return false;
            sized = true;
        } else if (std::memcmp(type, "VP8 ", 4) == 0) {
            // A key frame's header: its tag, the start code and two 14-bit sides.
            if (length < 10 || (body[0] & 1) != 0 || std::memcmp(body + 3, "\x9d\x01\x2a", 3) != 0)
                return false;
            if (first && !sizeFits(&layout->header, le16(body + 6) & 0x3fff, le16(body + 8) & 0x3fff))
                return false;
            image = true;
        } else if (std::memcmp(type, "VP8L", 4) == 0) {
            // The signature, then the sides less one in 14 bits each.
            if (length < 5 || body[0] != 0x2f)
                return false;
            const quint32 bits = le32(body + 1);
            if (first && !sizeFits(&layout->header, qint64(bits & 0x3fff) + 1, qint64((bits >> 14) & 0x3fff) + 1))
                return false;
            image = true;
        } else if (std::memcmp(type, "ANMF", 4) == 0) {
            image = true;
        } else if (std::memcmp(type, "EXIF", 4) == 0 && !exifSeen) {
            exifSeen = true;
            layout->header.orientation =
                ImageStructure::exifOrientation(QByteArrayView(reinterpret_cast<const char *>(body), qsizetype(length)));
        }
        if (first && !image && !sized)
            return false;
        // Chunks are padded to an even length; the last one's pad may be missing.
        at += 8 + qsizetype(length) + (length & 1);
    }
    return image;
}

} // namespace

bool ImageStructure::handles(ImageCodec::Format format)
{
    return format == ImageCodec::Format::Jpeg || format == ImageCodec::Format::Png || format == ImageCodec::Format::WebP;
}

bool ImageStructure::read(const QByteArray &data, Layout *layout)
{
    return readStructure(data, layout) && qint64(layout->header.width) * layout->header.height <= ImageCodec::maxPixels;
}

bool ImageStructure::readStructure(const QByteArray &data, Layout *layout)
{
    *layout = Layout();
    layout->header.format = ImageCodec::formatOf(data);
    switch (layout->header.format) {
    case ImageCodec::Format::Jpeg:
        return readJpeg(data, layout);
    case ImageCodec::Format::Png:
        return readPng(data, layout);
    case ImageCodec::Format::WebP:
        return readWebP(data, layout);
    default:
        return false;
    }
}

bool ImageStructure::isSound(const QByteArray &data)
{
    Layout layout;
    return !handles(ImageCodec::formatOf(data)) || readStructure(data, &layout);
}

int ImageStructure::exifOrientation(QByteArrayView exif)
{
    if (exif.startsWith(QByteArrayView("Exif\0\0", 6)))
        exif = exif.sliced(6);
    const auto *tiff = reinterpret_cast<const uchar *>(exif.data());
    const qint64 size = exif.size();
    if (size < 8)
        return 0;
    const bool little = tiff[0] == 'I' && tiff[1] == 'I';
    if (!little && !(tiff[0] == 'M' && tiff[1] == 'M'))
        return 0;
    const auto u16 = [&](qint64 at) { return little ? le16(tiff + at) : be16(tiff + at); };
    const auto u32 = [&](qint64 at) { return little ? le32(tiff + at) : be32(tiff + at); };
    if (u16(2) != 42)
        return 0;
    const qint64 directory = u32(4);
    if (directory > size - 2)
        return 0;
    const qint64 entries = u16(directory);
    if (entries > maxDirectoryEntries || directory + 2 + 12 * entries > size)
        return 0;
    for (qint64 i = 0; i < entries; ++i) {
        const qint64 entry = directory + 2 + 12 * i;
        if (u16(entry) != 0x0112)
            continue;
        const quint32 type = u16(entry + 2);
        const quint32 count = u32(entry + 4);
        // BYTE, SHORT or LONG; the value is written back as a SHORT, so a larger one is none.
        const int width = type == 1 ? 1 : type == 3 ? 2 : type == 4 ? 4 : 0;
        if (width == 0 || count == 0)
            return 0;
        // Values of up to four bytes stand in the entry, longer ones where it points.
        const qint64 value = quint64(count) * width <= 4 ? entry + 8 : qint64(u32(entry + 8));
        if (value > size - width)
            return 0;
        const quint32 orientation = width == 1 ? tiff[value] : width == 2 ? u16(value) : u32(value);
        return orientation <= 0xffff ? int(orientation) : 0;
    }
    return 0;
}
