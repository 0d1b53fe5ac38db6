#include "net/contentdecoding.h"

#include <brotli/decode.h>
#include <zlib.h>

namespace ContentDecoding {

namespace {

// windowBits: 15 + 32 detects gzip or zlib headers, -15 reads raw deflate.
Result inflateBody(const QByteArray &body, int windowBits, qint64 maximumSize, QByteArray *decoded)
{
    z_stream stream{};
    if (inflateInit2(&stream, windowBits) != Z_OK)
        return Result::Corrupt;
    stream.next_in = reinterpret_cast<Bytef *>(const_cast<char *>(body.constData()));
    stream.avail_in = uInt(body.size());
    QByteArray out;
    char chunk[64 * 1024];
    int status = Z_OK;
    while (status != Z_STREAM_END) {
        stream.next_out = reinterpret_cast<Bytef *>(chunk);
        stream.avail_out = sizeof(chunk);
        status = inflate(&stream, Z_NO_FLUSH);
        if (status != Z_OK && status != Z_STREAM_END) {
            inflateEnd(&stream);
            return Result::Corrupt;
        }
        out.append(chunk, qsizetype(sizeof(chunk) - stream.avail_out));
        if (out.size() > maximumSize) {
            inflateEnd(&stream);
            return Result::TooLarge;
        }
        if (status == Z_OK && stream.avail_in == 0 && stream.avail_out != 0) {
            inflateEnd(&stream);
            return Result::Corrupt;
        }
    }
    inflateEnd(&stream);
    *decoded = out;
    return Result::Decoded;
}

Result brotliBody(const QByteArray &body, qint64 maximumSize, QByteArray *decoded)
{
    BrotliDecoderState *state = BrotliDecoderCreateInstance(nullptr, nullptr, nullptr);
    if (!state)
        return Result::Corrupt;
    size_t availableIn = size_t(body.size());
    const auto *nextIn = reinterpret_cast<const uint8_t *>(body.constData());
    QByteArray out;
    uint8_t chunk[64 * 1024];
    BrotliDecoderResult status = BROTLI_DECODER_RESULT_NEEDS_MORE_OUTPUT;
    while (status == BROTLI_DECODER_RESULT_NEEDS_MORE_OUTPUT) {
        size_t availableOut = sizeof(chunk);
        uint8_t *nextOut = chunk;
        status = BrotliDecoderDecompressStream(state, &availableIn, &nextIn, &availableOut, &nextOut, nullptr);
        out.append(reinterpret_cast<const char *>(chunk), qsizetype(sizeof(chunk) - availableOut));
        if (out.size() > maximumSize) {
            BrotliDecoderDestroyInstance(state);
            return Result::TooLarge;
        }
    }
    BrotliDecoderDestroyInstance(state);
    if (status != BROTLI_DECODER_RESULT_SUCCESS)
        return Result::Corrupt;
    *decoded = out;
    return Result::Decoded;
}

} // namespace

Result decode(const QByteArray &contentEncoding, const QByteArray &body, qint64 maximumSize, QByteArray *decoded)
{
    const QByteArray encoding = contentEncoding.trimmed().toLower();
    if (encoding.isEmpty() || encoding == "identity") {
        *decoded = body;
        return Result::Decoded;
    }
    if (encoding == "gzip" || encoding == "x-gzip")
        return inflateBody(body, 15 + 32, maximumSize, decoded);
    if (encoding == "deflate") {
        // Servers send "deflate" both with the zlib wrapper the name promises and without it.
        const Result wrapped = inflateBody(body, 15 + 32, maximumSize, decoded);
        return wrapped == Result::Corrupt ? inflateBody(body, -15, maximumSize, decoded) : wrapped;
    }
    if (encoding == "br")
        return brotliBody(body, maximumSize, decoded);
    return Result::Unsupported;
}

} // namespace ContentDecoding
