#include "image/imagemetadatarewriter.h"

#include "image/imagecodec.h"
#include "image/backgroundwriter.h"
#include "image/imagestructure.h"

#include <QBuffer>
#include <QFileDevice>
#include <QtEndian>

#include <zlib.h>

#include <algorithm>
#include <array>
#include <memory>
#include <utility>

namespace {

using Part = ImageStructure::Part;
using PartKind = ImageStructure::PartKind;

// The target. The walk hands over the source's bytes in long runs, which are written as they
// come; the parts made here are short and gathered first. A file target is written on another
// thread when one is free, beside the walk, straight from the walk's window.
class Output
{
public:
    Output(QIODevice *device, std::unique_ptr<BackgroundWriter> writer = nullptr)
        : m_device(device)
        , m_writer(std::move(writer))
    {
    }

    void append(QByteArrayView bytes)
    {
        m_position += bytes.size();
        if (m_buffer.size() + bytes.size() > gathered)
            flush();
        if (bytes.size() >= gathered) {
            put(bytes);
        } else {
            m_buffer.reserve(gathered);
            m_buffer.append(bytes);
        }
    }

    // The source's bytes, which window holds when it is not null.
    void copy(QByteArrayView bytes, const QByteArray &window)
    {
        if (!m_writer || window.isNull() || bytes.size() < gathered) {
            append(bytes);
            return;
        }
        flush();
        m_position += bytes.size();
        m_writer->write(window, bytes.data() - window.constData(), bytes.size());
    }

    qint64 position() const { return m_position; }

    // Writes the bytes over those appended at the offset; the last thing done.
    void patch(qint64 offset, QByteArrayView bytes)
    {
        flush();
        if (m_writer) {
            m_writer->patch(offset, bytes);
            return;
        }
        m_ok = m_ok && m_device->seek(offset);
        put(bytes);
    }

    bool finish()
    {
        flush();
        return m_writer ? m_writer->finish() && m_ok : m_ok;
    }

private:
    static constexpr qsizetype gathered = 16 * 1024;

    void flush()
    {
        if (m_buffer.isEmpty())
            return;
        if (m_writer) {
            const qsizetype size = m_buffer.size();
            m_writer->write(std::exchange(m_buffer, QByteArray()), 0, size);
        } else {
            put(m_buffer);
            m_buffer.resize(0);
        }
    }

    void put(QByteArrayView bytes)
    {
        if (m_writer)
            m_writer->write(bytes.toByteArray(), 0, bytes.size());
        else
            m_ok = m_ok && (bytes.isEmpty() || m_device->write(bytes.data(), bytes.size()) == bytes.size());
    }

    QIODevice *m_device;
    std::unique_ptr<BackgroundWriter> m_writer;
    QByteArray m_buffer;
    qint64 m_position = 0;
    bool m_ok = true;
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

// Copies the parts the format's decoders need and writes the orientation block in its place.
// The source's orientation is known only once the walk is over, so the block is written with
// none and set when the walk has ended.
class Rewriter : public ImageStructure::Visitor
{
public:
    explicit Rewriter(Output &out)
        : m_out(out)
    {
    }

    void write(QByteArrayView bytes, const QByteArray &window) override { m_out.copy(bytes, window); }

    bool finish(const ImageCodec::Header &header, int orientation)
    {
        end(header, orientation);
        return m_out.finish();
    }

protected:
    virtual void end(const ImageCodec::Header &header, int orientation) = 0;

    Output &m_out;
};

// Of the segments before the first scan, those decoding needs: tables, frame, the JFIF and
// Adobe markers and the colour profile, with the new EXIF block after the JFIF marker.
class JpegRewriter final : public Rewriter
{
public:
    using Rewriter::Rewriter;

    bool wants(const Part &part) override
    {
        if (part.kind == PartKind::Start)
            return true;
        if (part.kind == PartKind::Image) {
            placeExif();
            return true;
        }
        const uchar marker = uchar(part.type[0]);
        const bool jfif = marker == 0xe0 && part.body.startsWith(QByteArrayView("JFIF\0", 5));
        if (!jfif)
            placeExif();
        const bool application = (marker >= 0xe0 && marker <= 0xef) || marker == 0xfe;
        return !application || jfif || (marker == 0xe2 && part.body.startsWith(QByteArrayView("ICC_PROFILE\0", 12)))
            || (marker == 0xee && part.body.startsWith("Adobe"));
    }

protected:
    void end(const ImageCodec::Header &, int orientation) override { m_out.patch(m_exifAt, segment(orientation)); }

private:
    static QByteArray segment(int orientation)
    {
        const QByteArray exif = QByteArrayLiteral("Exif\0\0") + orientationExif(orientation);
        QByteArray app1("\xff\xe1\0\0", 4);
        qToBigEndian(quint16(exif.size() + 2), app1.data() + 2);
        return app1 + exif;
    }

    void placeExif()
    {
        if (m_exifAt >= 0)
            return;
        m_exifAt = m_out.position();
        m_out.append(segment(0));
    }

    qint64 m_exifAt = -1;
};

QByteArray pngChunk(QByteArrayView type, const QByteArray &body)
{
    QByteArray chunk(4, '\0');
    qToBigEndian(quint32(body.size()), chunk.data());
    chunk += type.toByteArray() + body;
    QByteArray crc(4, '\0');
    qToBigEndian(quint32(crc32(0, reinterpret_cast<const Bytef *>(chunk.constData() + 4), uInt(chunk.size() - 4))), crc.data());
    return chunk + crc;
}

// An eXIf chunk before the image data, and of the ancillary chunks only those that say how the
// pixels look or move: texts, times, EXIF, XMP and anything unknown go.
class PngRewriter final : public Rewriter
{
public:
    using Rewriter::Rewriter;

    bool wants(const Part &part) override
    {
        static constexpr std::array<QByteArrayView, 16> pictureChunks{"tRNS", "cHRM", "gAMA", "iCCP", "sBIT", "sRGB",
                                                                      "cICP", "mDCV", "cLLI", "bKGD", "hIST", "pHYs",
                                                                      "sPLT", "acTL", "fcTL", "fdAT"};
        if (part.kind == PartKind::Start)
            return true;
        if (m_exifAt < 0 && (part.type == "IDAT" || part.type == "IEND")) {
            m_exifAt = m_out.position();
            m_out.append(chunk(0));
        }
        // An upper-case first letter marks a chunk a decoder cannot do without.
        return (part.type[0] >= 'A' && part.type[0] <= 'Z')
            || std::find(pictureChunks.begin(), pictureChunks.end(), part.type) != pictureChunks.end();
    }

protected:
    void end(const ImageCodec::Header &, int orientation) override { m_out.patch(m_exifAt, chunk(orientation)); }

private:
    static QByteArray chunk(int orientation) { return pngChunk("eXIf", orientationExif(orientation)); }

    qint64 m_exifAt = -1;
};

// The extended format's header first (made from the frame's size for a simple file), then the
// colour profile, animation and image chunks as they were, then the EXIF chunk; XMP, EXIF and
// unknown chunks go. The header's flags and the container's size are set at the end.
class WebPRewriter final : public Rewriter
{
public:
    using Rewriter::Rewriter;

    bool wants(const Part &part) override
    {
        static constexpr std::array<QByteArrayView, 6> kept{"ICCP", "ANIM", "ANMF", "ALPH", "VP8 ", "VP8L"};
        if (part.kind == PartKind::Start) {
            m_out.append(QByteArrayView("RIFF\0\0\0\0WEBP", 12));
            m_out.append(chunkHeader("VP8X", 10));
            m_out.append(m_extended);
            return false;
        }
        padPrevious();
        if (part.first && part.type == "VP8X") {
            m_extended = part.body.first(10).toByteArray();
            m_sized = true;
            return false;
        }
        if (std::find(kept.begin(), kept.end(), part.type) == kept.end())
            return false;
        m_hasProfile = m_hasProfile || part.type == "ICCP";
        // A lossless frame says in its header whether it uses alpha.
        if (part.first && part.type == "VP8L" && (uchar(part.body[4]) & 0x10))
            m_extended[0] = char(alphaFlag);
        m_pad = part.size & 1;
        return true;
    }

protected:
    void end(const ImageCodec::Header &header, int orientation) override
    {
        padPrevious();
        const QByteArray exif = orientationExif(orientation);
        m_out.append(chunkHeader("EXIF", exif.size()));
        m_out.append(exif);
        if (!m_sized) {
            qToLittleEndian(quint32(header.width - 1), m_extended.data() + 4);
            qToLittleEndian(quint32(header.height - 1), m_extended.data() + 7);
        }
        m_extended[0] = char((uchar(m_extended[0]) & ~(iccFlag | xmpFlag)) | exifFlag | (m_hasProfile ? iccFlag : 0));
        QByteArray head("RIFF\0\0\0\0WEBP", 12);
        qToLittleEndian(quint32(m_out.position() - 8), head.data() + 4);
        m_out.patch(0, head + chunkHeader("VP8X", 10) + m_extended);
    }

private:
    static constexpr uchar iccFlag = 0x20;
    static constexpr uchar alphaFlag = 0x10;
    static constexpr uchar exifFlag = 0x08;
    static constexpr uchar xmpFlag = 0x04;

    static QByteArray chunkHeader(QByteArrayView type, qsizetype size)
    {
        QByteArray header = type.toByteArray() + QByteArray(4, '\0');
        qToLittleEndian(quint32(size), header.data() + 4);
        return header;
    }

    void padPrevious()
    {
        if (m_pad)
            m_out.append(QByteArrayView("\0", 1));
        m_pad = false;
    }

    QByteArray m_extended = QByteArray(10, '\0');
    bool m_sized = false;
    bool m_hasProfile = false;
    bool m_pad = false;
};

std::unique_ptr<Rewriter> rewriterFor(ImageCodec::Format format, Output &out)
{
    switch (format) {
    case ImageCodec::Format::Jpeg:
        return std::make_unique<JpegRewriter>(out);
    case ImageCodec::Format::Png:
        return std::make_unique<PngRewriter>(out);
    case ImageCodec::Format::WebP:
        return std::make_unique<WebPRewriter>(out);
    default:
        return nullptr;
    }
}

template<typename Source>
ImageMetadataRewriter::Result rewritten(ImageCodec::Format format, Source source, Output &out,
                                        const ImageMetadataRewriter::NewOrientation &orientation)
{
    const std::unique_ptr<Rewriter> rewriter = rewriterFor(format, out);
    ImageCodec::Header header;
    if (!rewriter || !ImageStructure::walk(source, &header, rewriter.get()))
        return ImageMetadataRewriter::Result::Damaged;
    if (qint64(header.width) * header.height > ImageCodec::maxPixels)
        return ImageMetadataRewriter::Result::Failed;
    return rewriter->finish(header, orientation(header.orientation)) ? ImageMetadataRewriter::Result::Written
                                                                     : ImageMetadataRewriter::Result::Failed;
}

} // namespace

QByteArray ImageMetadataRewriter::rewrite(const QByteArray &data, int orientation)
{
    QByteArray result;
    QBuffer target(&result);
    target.open(QIODevice::WriteOnly);
    Output out(&target);
    const Result written = rewritten(ImageCodec::formatOf(data), QByteArrayView(data), out, [=](int) { return orientation; });
    return written == Result::Written ? result : QByteArray();
}

ImageMetadataRewriter::Result ImageMetadataRewriter::rewrite(QIODevice *source, QIODevice *target, const NewOrientation &orientation)
{
    const ImageCodec::Format format = ImageCodec::formatOf(source->peek(16));
    if (!ImageStructure::handles(format))
        return Result::Damaged;
    // A file is written through its descriptor: what the device holds back must be out first.
    auto *file = qobject_cast<QFileDevice *>(target);
    Output out(target, file && file->handle() >= 0 && file->flush() ? BackgroundWriter::start(file->handle()) : nullptr);
    return rewritten(format, source, out, orientation);
}
