// Feeds arbitrary bytes to the HTTP answer reader in pieces of varying size, as a socket
// would hand them over, and checks what must hold for any input: the body never passes its
// cap, a failed answer keeps no body, and the same bytes give the same outcome however they
// are split.
#include "net/httpanswerparser.h"

#include <QByteArrayView>

#include <cstddef>
#include <cstdint>
#include <cstdlib>

namespace {

constexpr qint64 cap = 64 * 1024;

HttpAnswerParser::State readAll(const uint8_t *data, size_t size, size_t piece, HttpAnswerParser &parser)
{
    for (size_t at = 0; at < size && parser.state() != HttpAnswerParser::State::Failed; at += piece) {
        const size_t take = size - at < piece ? size - at : piece;
        parser.feed(QByteArrayView(reinterpret_cast<const char *>(data) + at, qsizetype(take)));
        if (parser.body().size() > cap)
            std::abort();
    }
    return parser.closed();
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int *, char ***)
{
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    if (size == 0)
        return 0;
    // The first byte chooses how the rest is split.
    const size_t piece = size_t(data[0] % 64) + 1;
    HttpAnswerParser whole(cap);
    HttpAnswerParser split(cap);
    const HttpAnswerParser::State once = readAll(data + 1, size - 1, size, whole);
    const HttpAnswerParser::State pieces = readAll(data + 1, size - 1, piece, split);
    if (once != pieces || whole.body() != split.body() || whole.status() != split.status())
        std::abort();
    if (once == HttpAnswerParser::State::Failed && !whole.body().isEmpty())
        std::abort();
    return 0;
}
