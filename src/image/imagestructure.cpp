#include "image/imagestructure.h"

#include <QIODevice>
#include <QList>
#include <QtAlgorithms>

#include <zlib.h>

#include <algorithm>
#include <cstring>
#include <utility>

#ifdef __SSE2__
#include <emmintrin.h>
#endif

namespace {

// Readers of the data at an offset the caller has made sure lies within it.
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
// hexadecimal, the text compressed in a zTXt chunk. Whether a text chunk's keyword names one:
bool isRawProfile(QByteArrayView body)
{
    const qsizetype nul = body.indexOf('\0');
    return nul >= 0 && (body.first(nul) == "Raw profile type exif" || body.first(nul) == "Raw profile type APP1");
}

// The block in such a chunk; empty when it holds none.
QByteArray rawProfileExif(QByteArrayView type, QByteArrayView body)
{
    if (!isRawProfile(body))
        return QByteArray();
    const qsizetype nul = body.indexOf('\0');
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
        const int nibble = c >= '0' && c <= '9' ? c - '0' : c >= 'a' && c <= 'f' ? c - 'a' + 10
            : c >= 'A' && c <= 'F'                                               ? c - 'A' + 10
                                                                                 : -1;
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

// The bytes of a file through a window: all of them when they are in memory already, else at
// most ImageStructure::windowSize of them at a time, read from the device as the walk moves on.
// While a part the visitor wants is walked, the bytes moved past go to it, in runs as long as
// the window allows.
class Reader
{
public:
    Reader(QIODevice *device, ImageStructure::Visitor *visitor)
        : m_device(device)
        , m_visitor(visitor)
        , m_window(ImageStructure::windowSize, Qt::Uninitialized)
        , m_data(reinterpret_cast<const uchar *>(m_window.constData()))
    {
    }

    Reader(QByteArrayView data, ImageStructure::Visitor *visitor)
        : m_visitor(visitor)
        , m_data(reinterpret_cast<const uchar *>(data.data()))
        , m_end(data.size())
    {
    }

    // Makes the next n bytes, n at most windowSize, lie in the window; false when the data ends
    // before, with what there was in the window.
    bool need(qsizetype n)
    {
        if (m_end - m_at >= n)
            return true;
        if (!m_device)
            return false;
        handOver();
        // A visitor may still hold the window to write from: what is left of it then moves
        // into one the visitor is done with, or a new one. Windows are reused rather than
        // allocated for each read: fresh memory costs more to read into than reused memory.
        if (m_window.isDetached()) {
            std::memmove(m_window.data(), m_window.constData() + m_at, size_t(m_end - m_at));
        } else {
            const auto spare = std::find_if(m_spares.begin(), m_spares.end(), [](const QByteArray &window) { return window.isDetached(); });
            QByteArray next = spare != m_spares.end() ? std::exchange(*spare, m_window) : QByteArray(ImageStructure::windowSize, Qt::Uninitialized);
            if (spare == m_spares.end())
                m_spares.append(m_window);
            std::memcpy(next.data(), m_window.constData() + m_at, size_t(m_end - m_at));
            m_window = next;
            m_data = reinterpret_cast<const uchar *>(m_window.constData());
        }
        char *window = m_window.data();
        m_end -= m_at;
        m_at = 0;
        m_handedTo = 0;
        while (m_end < n) {
            const qint64 got = m_device->read(window + m_end, m_window.size() - m_end);
            if (got <= 0)
                return false;
            m_end += qsizetype(got);
        }
        return true;
    }

    const uchar *at() const { return m_data + m_at; }
    qsizetype available() const { return m_end - m_at; }
    // Bytes moved past since the walk began.
    qint64 position() const { return m_position; }

    // Moves past n bytes that lie in the window.
    void skip(qsizetype n)
    {
        m_at += n;
        m_position += n;
    }

    // Moves past n bytes, each block of them through inspect(block, size) first.
    template<typename Inspect>
    bool pass(qint64 n, Inspect &&inspect)
    {
        while (n > 0) {
            if (!need(1))
                return false;
            const qsizetype step = qsizetype(std::min<qint64>(n, available()));
            inspect(at(), step);
            skip(step);
            n -= step;
        }
        return true;
    }

    bool pass(qint64 n)
    {
        return pass(n, [](const uchar *, qsizetype) {});
    }

    // The bytes moved past from here on go to the visitor when it wants the part.
    void begin(const ImageStructure::Part &part)
    {
        handOver();
        m_copying = m_visitor && m_visitor->wants(part);
    }

    void end()
    {
        handOver();
        m_copying = false;
    }

private:
    // Gives the visitor the bytes moved past since it was last given any.
    void handOver()
    {
        if (m_copying && m_at > m_handedTo)
            m_visitor->write(QByteArrayView(m_data + m_handedTo, m_at - m_handedTo), m_window);
        m_handedTo = m_at;
    }

    QIODevice *m_device = nullptr;
    ImageStructure::Visitor *m_visitor;
    QByteArray m_window;
    // Windows a visitor held when the walk moved on.
    QList<QByteArray> m_spares;
    const uchar *m_data;
    qsizetype m_at = 0;
    qsizetype m_end = 0;
    qsizetype m_handedTo = 0;
    qint64 m_position = 0;
    bool m_copying = false;
};

bool startsMarker(uchar afterFf)
{
    return afterFf != 0 && !(afterFf >= 0xd0 && afterFf <= 0xd7);
}

#ifdef __SSE2__
// Of the sixteen bytes at p, those that are a 0xff starting a marker, as bits; the byte after
// the last is read.
uint markersIn(const uchar *p)
{
    const __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i *>(p));
    const __m128i after = _mm_loadu_si128(reinterpret_cast<const __m128i *>(p + 1));
    const __m128i ffs = _mm_cmpeq_epi8(bytes, _mm_set1_epi8(char(0xff)));
    const __m128i data = _mm_or_si128(_mm_cmpeq_epi8(after, _mm_setzero_si128()),
                                      _mm_cmpeq_epi8(_mm_and_si128(after, _mm_set1_epi8(char(0xf8))),
                                                     _mm_set1_epi8(char(0xd0))));
    return uint(_mm_movemask_epi8(_mm_andnot_si128(data, ffs)));
}
#endif

// Searches a JPEG's compressed data from at up to last, which is only looked at as the byte
// after a 0xff: a 0xff followed by 0 or a restart marker is data, anything else the next
// marker. Returns the marker, or where the search is to go on. Photo data has a 0xff every
// hundred bytes or so, too often to stop at each: blocks are tested whole.
const uchar *nextMarker(const uchar *at, const uchar *last, bool *found)
{
#ifdef __SSE2__
    for (; last - at >= 32; at += 32) {
        const uint markers = markersIn(at) | markersIn(at + 16) << 16;
        if (markers != 0) {
            *found = true;
            return at + qCountTrailingZeroBits(markers);
        }
    }
#endif
    while (at < last) {
        const auto *next = static_cast<const uchar *>(std::memchr(at, 0xff, size_t(last - at)));
        if (!next)
            return last;
        if (startsMarker(next[1])) {
            *found = true;
            return next;
        }
        at = next + 2;
    }
    return at;
}

QByteArrayView chars(const uchar *at, qsizetype size)
{
    return QByteArrayView(reinterpret_cast<const char *>(at), size);
}

// The segments up to the first scan give the size and the orientation; the scans and the
// segments between them must then lead to an end marker. A second start-of-image marker on the
// way means the image was cut and something else begins.
bool walkJpeg(Reader &in, ImageCodec::Header *header)
{
    in.begin({ImageStructure::PartKind::Start, chars(in.at(), 2), QByteArrayView(), 0});
    in.skip(2);
    in.end();
    bool framed = false;
    bool exifSeen = false;
    bool scanning = false;
    for (;;) {
        if (!in.need(2) || in.at()[0] != 0xff)
            return false;
        const uchar marker = in.at()[1];
        if (marker == 0xff) {
            in.skip(1);
            continue;
        }
        if (isStandalone(marker)) {
            in.skip(2);
            continue;
        }
        if (marker == 0xd8)
            return false;
        if (marker == 0xd9) {
            if (!scanning)
                return false;
            in.skip(2);
            in.end();
            return true;
        }
        if (!in.need(4))
            return false;
        const qsizetype length = be16(in.at() + 2);
        // A segment is at most 64 KiB: it fits in the window whole.
        if (length < 2 || !in.need(2 + length))
            return false;
        const uchar *payload = in.at() + 4;
        const qsizetype payloadSize = length - 2;
        if (!scanning && isFrame(marker)) {
            if (framed || payloadSize < 6 || !sizeFits(header, be16(payload + 3), be16(payload + 1)))
                return false;
            framed = true;
        } else if (!scanning && marker == 0xe1 && !exifSeen && payloadSize >= 6 && std::memcmp(payload, "Exif\0\0", 6) == 0) {
            exifSeen = true;
            header->orientation = ImageStructure::exifOrientation(chars(payload, payloadSize));
        }
        if (!scanning) {
            if (marker == 0xda && !framed)
                return false;
            scanning = marker == 0xda;
            in.begin({scanning ? ImageStructure::PartKind::Image : ImageStructure::PartKind::Segment,
                      chars(in.at() + 1, 1), chars(payload, payloadSize), payloadSize});
        }
        in.skip(2 + length);
        if (!scanning)
            in.end();
        if (marker != 0xda)
            continue;
        // In the compressed data a 0xff byte is followed by 0 or a restart marker; anything else
        // is the next marker. The window is searched whole before the walk moves on.
        for (bool found = false; !found;) {
            if (!in.need(2))
                return false;
            const uchar *start = in.at();
            // A 0xff in the window's last byte waits for the byte after it.
            const uchar *at = nextMarker(start, start + in.available() - 1, &found);
            in.skip(at - start);
        }
    }
}

// Every chunk in place with its checksum right, the header first, image data before the end.
bool walkPng(Reader &in, ImageCodec::Header *header)
{
    in.begin({ImageStructure::PartKind::Start, chars(in.at(), 8), QByteArrayView(), 0});
    in.skip(8);
    in.end();
    bool imageData = false;
    bool exifSeen = false;
    for (bool first = true;; first = false) {
        if (!in.need(12))
            return false;
        const quint32 length = be32(in.at());
        if (length > 0x7fffffffu || !isChunkType(in.at() + 4))
            return false;
        const qsizetype shown = qsizetype(std::min<qint64>(length, ImageStructure::maxExifRead));
        if (!in.need(8 + shown))
            return false;
        char type[4];
        std::memcpy(type, in.at() + 4, 4);
        const QByteArrayView typeView(type, 4);
        const uchar *body = in.at() + 8;
        const bool text = typeView == "tEXt" || typeView == "zTXt";
        bool profile = false;
        if (first) {
            if (typeView != "IHDR" || length != 13 || be32(body) > 0x7fffffffu || be32(body + 4) > 0x7fffffffu
                || !sizeFits(header, be32(body), be32(body + 4)))
                return false;
        } else if (typeView == "IDAT") {
            imageData = true;
        } else if (typeView == "eXIf" && !exifSeen) {
            exifSeen = true;
            header->orientation = ImageStructure::exifOrientation(chars(body, shown));
        } else if (text && !exifSeen && length <= quint32(ImageStructure::maxProfileText)) {
            profile = isRawProfile(chars(body, shown));
        }
        in.begin({ImageStructure::PartKind::Chunk, typeView, chars(body, shown), length});
        uLong crc = crc32(crc32(0, nullptr, 0), in.at() + 4, 4);
        in.skip(8);
        QByteArray profileBody;
        const bool passed = in.pass(length, [&](const uchar *block, qsizetype size) {
            crc = crc32(crc, block, uInt(size));
            if (profile)
                profileBody.append(chars(block, size));
        });
        if (!passed || !in.need(4) || crc != be32(in.at()))
            return false;
        in.skip(4);
        in.end();
        if (profile) {
            const QByteArray exif = rawProfileExif(typeView, profileBody);
            exifSeen = !exif.isEmpty();
            if (exifSeen)
                header->orientation = ImageStructure::exifOrientation(exif);
        }
        if (typeView == "IEND")
            return imageData;
    }
}

// The RIFF container whole and its chunks within it; the size from the frame header of the
// simple formats or from the extended format's canvas.
bool walkWebP(Reader &in, ImageCodec::Header *header)
{
    const qint64 riffEnd = 8 + qint64(le32(in.at() + 4));
    if (riffEnd < 12)
        return false;
    in.begin({ImageStructure::PartKind::Start, chars(in.at(), 12), QByteArrayView(), 0});
    in.skip(12);
    in.end();
    bool sized = false;
    bool image = false;
    bool exifSeen = false;
    while (in.position() < riffEnd) {
        if (in.position() + 8 > riffEnd || !in.need(8))
            return false;
        const quint32 length = le32(in.at() + 4);
        if (length > quint64(riffEnd - in.position() - 8))
            return false;
        const qsizetype shown = qsizetype(std::min<qint64>(length, ImageStructure::maxExifRead));
        if (!in.need(8 + shown))
            return false;
        char type[4];
        std::memcpy(type, in.at(), 4);
        const QByteArrayView typeView(type, 4);
        const uchar *body = in.at() + 8;
        const bool first = in.position() == 12;
        if (first && typeView == "VP8X") {
            if (length < 10 || !sizeFits(header, qint64(le24(body + 4)) + 1, qint64(le24(body + 7)) + 1))
                return false;
            sized = true;
        } else if (typeView == "VP8 ") {
            // A key frame's header: its tag, the start code and two 14-bit sides.
            if (length < 10 || (body[0] & 1) != 0 || std::memcmp(body + 3, "\x9d\x01\x2a", 3) != 0)
                return false;
            if (first && !sizeFits(header, le16(body + 6) & 0x3fff, le16(body + 8) & 0x3fff))
                return false;
            image = true;
        } else if (typeView == "VP8L") {
            // The signature, then the sides less one in 14 bits each.
            if (length < 5 || body[0] != 0x2f)
                return false;
            const quint32 bits = le32(body + 1);
            if (first && !sizeFits(header, qint64(bits & 0x3fff) + 1, qint64((bits >> 14) & 0x3fff) + 1))
                return false;
            image = true;
        } else if (typeView == "ANMF") {
            image = true;
        } else if (typeView == "EXIF" && !exifSeen) {
            exifSeen = true;
            header->orientation = ImageStructure::exifOrientation(chars(body, shown));
        }
        if (first && !image && !sized)
            return false;
        in.begin({ImageStructure::PartKind::Chunk, typeView, chars(body, shown), length, first});
        if (!in.pass(8 + qint64(length)))
            return false;
        in.end();
        // Chunks are padded to an even length; the last one's pad may be missing.
        if ((length & 1) && in.position() < riffEnd) {
            if (!in.need(1))
                return false;
            in.skip(1);
        }
    }
    return image;
}

bool walkReader(Reader &in, ImageCodec::Header *header)
{
    *header = ImageCodec::Header();
    in.need(16);
    header->format = ImageCodec::formatOf(QByteArray::fromRawData(reinterpret_cast<const char *>(in.at()), std::min<qsizetype>(in.available(), 16)));
    switch (header->format) {
    case ImageCodec::Format::Jpeg:
        return walkJpeg(in, header);
    case ImageCodec::Format::Png:
        return walkPng(in, header);
    case ImageCodec::Format::WebP:
        return walkWebP(in, header);
    default:
        return false;
    }
}

} // namespace

bool ImageStructure::handles(ImageCodec::Format format)
{
    return format == ImageCodec::Format::Jpeg || format == ImageCodec::Format::Png || format == ImageCodec::Format::WebP;
}

bool ImageStructure::walk(QIODevice *device, ImageCodec::Header *header, Visitor *visitor)
{
    Reader in(device, visitor);
    return walkReader(in, header);
}

bool ImageStructure::walk(QByteArrayView data, ImageCodec::Header *header, Visitor *visitor)
{
    Reader in(data, visitor);
    return walkReader(in, header);
}

bool ImageStructure::read(QByteArrayView data, ImageCodec::Header *header)
{
    return walk(data, header) && qint64(header->width) * header->height <= ImageCodec::maxPixels;
}

bool ImageStructure::isSound(QByteArrayView data)
{
    ImageCodec::Header header;
    return !handles(ImageCodec::formatOf(QByteArray::fromRawData(data.data(), std::min<qsizetype>(data.size(), 16))))
        || walk(data, &header);
}

bool ImageStructure::isSound(QIODevice *device)
{
    ImageCodec::Header header;
    Reader in(device, nullptr);
    return walkReader(in, &header) || !handles(header.format);
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
        // BYTE, SHORT or LONG, as writers differ.
        const int width = type == 1 ? 1 : type == 3 ? 2
            : type == 4                             ? 4
                                                    : 0;
        if (width == 0 || count == 0)
            return 0;
        // Values of up to four bytes stand in the entry, longer ones where it points.
        const qint64 value = quint64(count) * width <= 4 ? entry + 8 : qint64(u32(entry + 8));
        if (value > size - width)
            return 0;
        const quint32 orientation = width == 1 ? tiff[value] : width == 2 ? u16(value)
                                                                          : u32(value);
        return orientation >= 1 && orientation <= 8 ? int(orientation) : 0;
    }
    return 0;
}
