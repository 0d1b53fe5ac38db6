#include "common/imagemetadatarewriter.h"

#include "common/imagestructure.h"

#include <QByteArrayList>
#include <QtEndian>

#include <zlib.h>

#include <utility>

namespace {

// The output in order: new parts gathered in owned buffers, parts of the source as slices of it.
class Pieces
{
public:
    void append(QByteArrayView bytes) { m_small.append(bytes.data(), bytes.size()); }
    void appendSlice(const char *at, qsizetype size)
    {
        flush();
        m_list.append(QByteArray::fromRawData(at, size));
    }
    QByteArrayList take()
    {
        flush();
        return std::move(m_list);
    }

private:
    void flush()
    {
        if (!m_small.isEmpty())
            m_list.append(std::exchange(m_small, QByteArray()));
    }

    QByteArrayList m_list;
    QByteArray m_small;
};

// An EXIF block that says the orientation and nothing else: a big-endian TIFF header and one
// directory with one entry.
QByteArray orientationExif(int orientation)
{
    QByteArray exif("MM\0\x2a\0\0\0\x08\0\x01\x01\x12\0\x03\0\0\0\x01\0\0\0\0\0\0\0\0", 26);
    exif[18] = char(orientation >> 8);
    exif[19] = char(orientation);
    return exif;
}

// Of the segments before the first scan, those decoding needs: tables, frame, the JFIF and
// Adobe markers and the colour profile, with the new EXIF block after the JFIF marker.
QByteArrayList jpegRewritten(const QByteArray &data, const ImageStructure::Layout &layout, int orientation)
{
    const QByteArray exif = QByteArrayLiteral("Exif\0\0") + orientationExif(orientation);
    QByteArray app1("\xff\xe1\0\0", 4);
    app1[2] = char((exif.size() + 2) >> 8);
    app1[3] = char(exif.size() + 2);
    app1 += exif;

    const auto byteAt = [&](qsizetype i) { return uchar(data.at(i)); };
    Pieces result;
    result.append(QByteArrayView(data.constData(), 2));
    bool exifWritten = false;
    qsizetype at = 2;
    // ImageStructure::read has walked these segments: each lies within the data.
    while (at < layout.scanStart) {
        const uchar marker = byteAt(at + 1);
        if (marker == 0xff) {
            ++at;
            continue;
        }
        if (marker == 0x01 || (marker >= 0xd0 && marker <= 0xd7)) {
            at += 2;
            continue;
        }
        const qsizetype length = (qsizetype(byteAt(at + 2)) << 8) | byteAt(at + 3);
        const QByteArrayView payload(data.constData() + at + 4, length - 2);
        const bool jfif = marker == 0xe0 && payload.startsWith(QByteArrayView("JFIF\0", 5));
        const bool application = (marker >= 0xe0 && marker <= 0xef) || marker == 0xfe;
        const bool keep = !application || jfif || (marker == 0xe2 && payload.startsWith(QByteArrayView("ICC_PROFILE\0", 12)))
            || (marker == 0xee && payload.startsWith("Adobe"));
        if (!exifWritten && !jfif) {
            result.append(app1);
            exifWritten = true;
        }
        if (keep)
            result.append(QByteArrayView(data.constData() + at, 2 + length));
        at += 2 + length;
    }
    if (!exifWritten)
        result.append(app1);
    result.appendSlice(data.constData() + layout.scanStart, layout.imageEnd - layout.scanStart);
    return result.take();
}

QByteArray pngChunk(const QByteArray &type, const QByteArray &body)
{
    QByteArray chunk(4, '\0');
    qToBigEndian(quint32(body.size()), chunk.data());
    chunk += type + body;
    QByteArray crc(4, '\0');
    qToBigEndian(quint32(crc32(0, reinterpret_cast<const Bytef *>(chunk.constData() + 4), uInt(chunk.size() - 4))), crc.data());
    return chunk + crc;
}

// An eXIf chunk before the image data, and of the ancillary chunks only those that say how the
// pixels look or move: texts, times, EXIF, XMP and anything unknown go.
QByteArrayList pngRewritten(const QByteArray &data, int orientation)
{
    static const QByteArrayList pictureChunks{"tRNS", "cHRM", "gAMA", "iCCP", "sBIT", "sRGB", "cICP", "mDCV",
                                              "cLLI", "bKGD", "hIST", "pHYs", "sPLT", "acTL", "fcTL", "fdAT"};
    Pieces result;
    result.append(QByteArrayView(data.constData(), 8));
    bool exifWritten = false;
    qsizetype at = 8;
    // ImageStructure::read has walked these chunks up to the end chunk: each lies within the data.
    for (;;) {
        const qsizetype length = qFromBigEndian<quint32>(data.constData() + at);
        const QByteArray type = data.mid(at + 4, 4);
        if (!exifWritten && (type == "IDAT" || type == "IEND")) {
            result.append(pngChunk("eXIf", orientationExif(orientation)));
            exifWritten = true;
        }
        // An upper-case first letter marks a chunk a decoder cannot do without.
        if ((type[0] >= 'A' && type[0] <= 'Z') || pictureChunks.contains(type))
            result.appendSlice(data.constData() + at, 12 + length);
        at += 12 + length;
        if (type == "IEND")
            return result.take();
    }
}

void appendWebPChunk(Pieces *result, QByteArrayView type, QByteArrayView body, bool slice = false)
{
    char length[4];
    qToLittleEndian(quint32(body.size()), length);
    result->append(type.first(4));
    result->append(QByteArrayView(length, 4));
    if (slice)
        result->appendSlice(body.data(), body.size());
    else
        result->append(body);
    if (body.size() & 1)
        result->append(QByteArrayView("\0", 1));
}

// The extended format's header first (made from the frame's size for a simple file), then the
// colour profile, animation and image chunks as they were, then the EXIF chunk; XMP, EXIF and
// unknown chunks go.
QByteArrayList webPRewritten(const QByteArray &data, const ImageStructure::Layout &layout, int orientation)
{
    constexpr uchar iccFlag = 0x20;
    constexpr uchar alphaFlag = 0x10;
    constexpr uchar exifFlag = 0x08;
    constexpr uchar xmpFlag = 0x04;
    static const QByteArrayList kept{"ICCP", "ANIM", "ANMF", "ALPH", "VP8 ", "VP8L"};

    QByteArray extended(10, '\0');
    bool hasProfile = false;
    Pieces chunks;
    const qsizetype riffEnd = 8 + qFromLittleEndian<quint32>(data.constData() + 4);
    qsizetype at = 12;
    // ImageStructure::read has walked these chunks: each lies within the container.
    while (at < riffEnd) {
        const QByteArrayView type(data.constData() + at, 4);
        const qsizetype length = qFromLittleEndian<quint32>(data.constData() + at + 4);
        const QByteArrayView body(data.constData() + at + 8, length);
        if (type == "VP8X") {
            extended = body.first(10).toByteArray();
        } else if (kept.contains(type)) {
            appendWebPChunk(&chunks, type, body, true);
            hasProfile = hasProfile || type == "ICCP";
            // A lossless frame says in its header whether it uses alpha.
            if (at == 12 && type == "VP8L" && (uchar(body[4]) & 0x10))
                extended[0] = char(alphaFlag);
        }
        at += 8 + length + (length & 1);
    }
    if (QByteArrayView(data.constData() + 12, 4) != "VP8X") {
        qToLittleEndian(quint32(layout.header.width - 1), extended.data() + 4);
        qToLittleEndian(quint32(layout.header.height - 1), extended.data() + 7);
    }
    extended[0] = char((uchar(extended[0]) & ~(iccFlag | xmpFlag)) | exifFlag | (hasProfile ? iccFlag : 0));
    appendWebPChunk(&chunks, "EXIF", orientationExif(orientation));

    Pieces head;
    head.append(QByteArrayView("RIFF\0\0\0\0WEBP", 12));
    appendWebPChunk(&head, "VP8X", extended);
    QByteArrayList result = head.take() + chunks.take();
    qsizetype size = 0;
    for (const QByteArray &piece : std::as_const(result))
        size += piece.size();
    qToLittleEndian(quint32(size - 8), result.first().data() + 4);
    return result;
}

} // namespace

QByteArrayList ImageMetadataRewriter::pieces(const QByteArray &data, const ImageStructure::Layout &layout, int orientation)
{
    switch (layout.header.format) {
    case ImageCodec::Format::Jpeg:
        return jpegRewritten(data, layout, orientation);
    case ImageCodec::Format::Png:
        return pngRewritten(data, orientation);
    case ImageCodec::Format::WebP:
        return webPRewritten(data, layout, orientation);
    default:
        return QByteArrayList();
    }
}

QByteArray ImageMetadataRewriter::rewrite(const QByteArray &data, int orientation)
{
    ImageStructure::Layout layout;
    return ImageStructure::read(data, &layout) ? pieces(data, layout, orientation).join() : QByteArray();
}
