#pragma once

#include <QString>

// The Tencent COS request signature ("sha1" version of the COS XML API), valid for 120 s, over
// the method and the path only: no parameters and no headers are signed.
class CosClient final
{
public:
    CosClient() = delete;

    // method is "get" or "put", httpURI the object's path as the store sees it ("/" or "/KEY").
    static QString cosSign(const QString &secretKey, const QString &withAccessKey, const QString &withHttpMethod,
                           const QString &withHttpURI);
    // The same at a given Unix time.
    static QString cosSign(const QString &secretKey, const QString &withAccessKey, const QString &withHttpMethod,
                           const QString &withHttpURI, qint64 now);

    // Hex (lower-case) HMAC-SHA1 of the message's UTF-8 bytes under the key's UTF-8 bytes.
    static QString hmacSha1Hex(const QString &key, const QString &data);
    static QString sha1(const QString &text);
};
