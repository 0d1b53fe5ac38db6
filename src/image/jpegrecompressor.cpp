#include "image/jpegrecompressor.h"

#include "image/imagecodec.h"

#include <QMutex>
#include <QThreadPool>
#include <QWaitCondition>

#include <algorithm>
#include <csetjmp>
#include <cstdio>
#include <cstdlib>
#include <jpeglib.h>
#include <new>
#include <vector>

namespace {

constexpr int bandRows = JpegRecompressor::bandRows;
constexpr int bandCount = JpegRecompressor::bandCount;

struct ErrorManager {
    jpeg_error_mgr manager;
    std::jmp_buf jump;
};

// libjpeg reports errors by calling back and expects no return. Every function below that
// calls into it sets its jump point first and holds nothing that needs destroying.
[[noreturn]] void leave(j_common_ptr info)
{
    std::longjmp(reinterpret_cast<ErrorManager *>(info->err)->jump, 1);
}

// A warning means damaged data: the general way decides what becomes of it.
void leaveOnWarning(j_common_ptr info, int level)
{
    if (level < 0)
        leave(info);
}

void keepQuiet(j_common_ptr)
{
}

jpeg_error_mgr *errorsOf(ErrorManager *errors)
{
    jpeg_std_error(&errors->manager);
    errors->manager.error_exit = leave;
    errors->manager.emit_message = leaveOnWarning;
    errors->manager.output_message = keepQuiet;
    return &errors->manager;
}

class Recompression final
{
public:
    explicit Recompression(const QByteArray &jpeg)
        : m_source(jpeg)
    {
    }

    ~Recompression()
    {
        jpeg_destroy_decompress(&m_decoder);
        jpeg_destroy_compress(&m_encoder);
        std::free(m_profile);
    }

    Q_DISABLE_COPY_MOVE(Recompression)

    QByteArray run(int quality);

private:
    bool startDecoding();
    bool startEncoding(int quality);
    bool decodeBand(int slot, int *rows);
    bool encodeBand(int slot, int rows);
    bool finishBoth();
    void encodeAll();
    JSAMPROW rowOf(int slot, int row);

    static Recompression *of(j_compress_ptr info) { return static_cast<Recompression *>(info->client_data); }
    static void startResult(j_compress_ptr info);
    static boolean growResult(j_compress_ptr info);
    static void endResult(j_compress_ptr info);

    const QByteArray m_source;
    QByteArray m_result;
    jpeg_decompress_struct m_decoder = {};
    jpeg_compress_struct m_encoder = {};
    ErrorManager m_decoderErrors = {};
    ErrorManager m_encoderErrors = {};
    jpeg_destination_mgr m_destination = {};
    JOCTET *m_profile = nullptr;
    unsigned int m_profileSize = 0;
    qsizetype m_stride = 0;
    std::vector<JSAMPLE> m_bands;

    // The hand-over: bands m_encoded to m_decoded wait for the encoder, slot = number % bandCount.
    QMutex m_mutex;
    QWaitCondition m_changed;
    int m_rowCounts[bandCount] = {};
    qint64 m_decoded = 0;
    qint64 m_encoded = 0;
    bool m_decodingDone = false;
    bool m_encoderRunning = false;
    bool m_encoderFailed = false;
};

QByteArray Recompression::run(int quality)
{
    if (!startDecoding() || !startEncoding(quality))
        return QByteArray();
    m_stride = qsizetype(m_decoder.output_width) * m_decoder.output_components;
    m_bands.resize(size_t(m_stride) * bandRows * bandCount);

    QMutexLocker lock(&m_mutex);
    const bool threaded = QThreadPool::globalInstance()->tryStart([this] { encodeAll(); });
    m_encoderRunning = threaded;
    bool ok = true;
    while (m_decoder.output_scanline < m_decoder.output_height) {
        while (m_decoded - m_encoded == bandCount && !m_encoderFailed)
            m_changed.wait(&m_mutex);
        if (m_encoderFailed)
            break;
        const int slot = int(m_decoded % bandCount);
        lock.unlock();
        int rows = 0;
        ok = decodeBand(slot, &rows) && (threaded || encodeBand(slot, rows));
        lock.relock();
        if (!ok)
            break;
        m_rowCounts[slot] = rows;
        ++m_decoded;
        if (!threaded)
            m_encoded = m_decoded;
        m_changed.wakeAll();
    }
    m_decodingDone = true;
    m_changed.wakeAll();
    while (m_encoderRunning)
        m_changed.wait(&m_mutex);
    if (!ok || m_encoderFailed)
        return QByteArray();
    lock.unlock();
    return finishBoth() ? m_result : QByteArray();
}

// The pool thread's work: bands in order until the decoder is done or the encoder fails.
void Recompression::encodeAll()
{
    QMutexLocker lock(&m_mutex);
    while (!m_encoderFailed) {
        while (m_encoded == m_decoded && !m_decodingDone)
            m_changed.wait(&m_mutex);
        if (m_encoded == m_decoded)
            break;
        const int slot = int(m_encoded % bandCount);
        const int rows = m_rowCounts[slot];
        lock.unlock();
        const bool encoded = encodeBand(slot, rows);
        lock.relock();
        m_encoderFailed = !encoded;
        ++m_encoded;
        m_changed.wakeAll();
    }
    m_encoderRunning = false;
    m_changed.wakeAll();
}

bool Recompression::startDecoding()
{
    m_decoder.err = errorsOf(&m_decoderErrors);
    if (setjmp(m_decoderErrors.jump))
        return false;
    jpeg_create_decompress(&m_decoder);
    jpeg_mem_src(&m_decoder, reinterpret_cast<const unsigned char *>(m_source.constData()),
                 static_cast<unsigned long>(m_source.size()));
    jpeg_save_markers(&m_decoder, JPEG_APP0 + 2, 0xffff);
    jpeg_read_header(&m_decoder, TRUE);
    const J_COLOR_SPACE space = m_decoder.jpeg_color_space;
    if ((space != JCS_GRAYSCALE && space != JCS_YCbCr && space != JCS_RGB)
        || qint64(m_decoder.image_width) * m_decoder.image_height > ImageCodec::maxPixels)
        return false;
    m_decoder.out_color_space = space == JCS_GRAYSCALE ? JCS_GRAYSCALE : JCS_RGB;
    jpeg_read_icc_profile(&m_decoder, &m_profile, &m_profileSize);
    jpeg_start_decompress(&m_decoder);
    return true;
}

bool Recompression::startEncoding(int quality)
{
    m_encoder.err = errorsOf(&m_encoderErrors);
    if (setjmp(m_encoderErrors.jump))
        return false;
    jpeg_create_compress(&m_encoder);
    m_encoder.client_data = this;
    m_destination.init_destination = startResult;
    m_destination.empty_output_buffer = growResult;
    m_destination.term_destination = endResult;
    m_encoder.dest = &m_destination;
    m_encoder.image_width = m_decoder.output_width;
    m_encoder.image_height = m_decoder.output_height;
    m_encoder.input_components = m_decoder.output_components;
    m_encoder.in_color_space = m_decoder.out_color_space;
    jpeg_set_defaults(&m_encoder);
    jpeg_set_quality(&m_encoder, quality, TRUE);
    // At high qualities halving the colour costs more than it saves.
    if (quality >= 90) {
        for (int i = 0; i < m_encoder.num_components; ++i)
            m_encoder.comp_info[i].h_samp_factor = m_encoder.comp_info[i].v_samp_factor = 1;
    }
    if (m_decoder.saw_JFIF_marker) {
        m_encoder.density_unit = m_decoder.density_unit;
        m_encoder.X_density = m_decoder.X_density;
        m_encoder.Y_density = m_decoder.Y_density;
    }
    jpeg_start_compress(&m_encoder, TRUE);
    if (m_profile)
        jpeg_write_icc_profile(&m_encoder, m_profile, m_profileSize);
    return true;
}

JSAMPROW Recompression::rowOf(int slot, int row)
{
    return m_bands.data() + (qsizetype(slot) * bandRows + row) * m_stride;
}

bool Recompression::decodeBand(int slot, int *rows)
{
    JSAMPROW pointers[bandRows];
    for (int row = 0; row < bandRows; ++row)
        pointers[row] = rowOf(slot, row);
    if (setjmp(m_decoderErrors.jump))
        return false;
    while (*rows < bandRows && m_decoder.output_scanline < m_decoder.output_height) {
        const JDIMENSION read = jpeg_read_scanlines(&m_decoder, pointers + *rows, JDIMENSION(bandRows - *rows));
        if (read == 0)
            return false;
        *rows += int(read);
    }
    return true;
}

bool Recompression::encodeBand(int slot, int rows)
{
    JSAMPROW pointers[bandRows];
    for (int row = 0; row < rows; ++row)
        pointers[row] = rowOf(slot, row);
    if (setjmp(m_encoderErrors.jump))
        return false;
    jpeg_write_scanlines(&m_encoder, pointers, JDIMENSION(rows));
    return true;
}

bool Recompression::finishBoth()
{
    if (setjmp(m_encoderErrors.jump))
        return false;
    jpeg_finish_compress(&m_encoder);
    if (setjmp(m_decoderErrors.jump))
        return false;
    // Reads on to the end marker: damage after the last row counts too.
    jpeg_finish_decompress(&m_decoder);
    return true;
}

void Recompression::startResult(j_compress_ptr info)
{
    // Compressing again mostly shrinks: a quarter of the source is a first guess.
    Recompression *self = of(info);
    const qsizetype size = std::max<qsizetype>(self->m_source.size() / 4, 64 * 1024);
    bool grown = true;
    try {
        self->m_result.resize(size);
    } catch (const std::bad_alloc &) {
        grown = false;
    }
    if (!grown)
        leave(reinterpret_cast<j_common_ptr>(info));
    info->dest->next_output_byte = reinterpret_cast<JOCTET *>(self->m_result.data());
    info->dest->free_in_buffer = size_t(size);
}

// Called when what was given is full: the result doubles, the new half to be filled.
boolean Recompression::growResult(j_compress_ptr info)
{
    Recompression *self = of(info);
    const qsizetype full = self->m_result.size();
    bool grown = true;
    try {
        self->m_result.resize(full * 2);
    } catch (const std::bad_alloc &) {
        grown = false;
    }
    if (!grown)
        leave(reinterpret_cast<j_common_ptr>(info));
    info->dest->next_output_byte = reinterpret_cast<JOCTET *>(self->m_result.data()) + full;
    info->dest->free_in_buffer = size_t(full);
    return TRUE;
}

void Recompression::endResult(j_compress_ptr info)
{
    Recompression *self = of(info);
    self->m_result.resize(self->m_result.size() - qsizetype(info->dest->free_in_buffer));
}

} // namespace

QByteArray JpegRecompressor::recompress(const QByteArray &jpeg, int quality)
{
    Recompression recompression(jpeg);
    return recompression.run(quality);
}

extern "C" Q_DECL_EXPORT JpegRecompress korvaneJpegRecompressor()
{
    return &JpegRecompressor::recompress;
}
