#pragma once

#include <QByteArray>

// Bodies sent with a Content-Encoding the HTTP layer does not undo itself: when a request
// names its own Accept-Encoding (the Sina login asks for "deflate, br"), the answer arrives
// as the server compressed it.
namespace ContentDecoding {

enum class Result { Decoded,
                    Unsupported,
                    Corrupt,
                    TooLarge };

// Undoes "gzip", "deflate" (zlib-wrapped or raw) and "br"; "identity" and an empty
// encoding give the body back. The decoded body may be at most maximumSize bytes.
Result decode(const QByteArray &contentEncoding, const QByteArray &body, qint64 maximumSize, QByteArray *decoded);

} // namespace ContentDecoding
