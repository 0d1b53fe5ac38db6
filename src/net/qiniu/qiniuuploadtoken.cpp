#include "net/qiniu/qiniuuploadtoken.h"

#include "net/signing.h"

#include <QCryptographicHash>
#include <QDateTime>

QString QiniuUploadToken::createToken(const QString &ak, const QString &sk, const QString &scopeName) const
{
    return createToken(ak, sk, scopeName, QDateTime::currentSecsSinceEpoch());
}

QString QiniuUploadToken::createToken(const QString &ak, const QString &sk, const QString &scopeName, qint64 now) const
{
    const qint64 deadline = now + 3600;
    const QString encodedPolicy = urlSafeBase64Encode(putPolicy(scopeName, deadline));
    const QString signature = sign(sk, encodedPolicy);
    return QStringLiteral("%1:%2:%3").arg(ak, signature, encodedPolicy);
}

QByteArray QiniuUploadToken::putPolicy(const QString &scopeName, qint64 deadline)
{
    return Signing::prettyJsonObject({{QStringLiteral("scope"), scopeName}, {QStringLiteral("deadline"), deadline}});
}

QString QiniuUploadToken::sign(const QString &key, const QString &text)
{
    return urlSafeBase64Encode(Signing::hmacSha1(key, text));
}

QString QiniuUploadToken::urlSafeBase64Encode(const QByteArray &data)
{
    return QString::fromLatin1(data.toBase64(QByteArray::Base64UrlEncoding));
}
