#pragma once

#include <QByteArray>
#include <QString>

// The Qiniu upload token: "ACCESS_KEY:SIGN:POLICY", with the put policy (scope and a deadline
// one hour ahead) in URL-safe Base64 and SIGN the URL-safe Base64 of its HMAC-SHA1 under the
// secret key.
class QiniuUploadToken final
{
public:
    QString createToken(const QString &ak, const QString &sk, const QString &scopeName) const;
    // The same at a given Unix time, for reproducible tokens.
    QString createToken(const QString &ak, const QString &sk, const QString &scopeName, qint64 now) const;

    // The put policy as sent: pretty-printed, "scope" then "deadline".
    static QByteArray putPolicy(const QString &scopeName, qint64 deadline);
    static QString sign(const QString &key, const QString &text);
    // Standard Base64 with its "=" padding, "+" written "-" and "/" written "_".
    static QString urlSafeBase64Encode(const QByteArray &data);
};
