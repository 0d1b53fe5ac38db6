#include "net/qiniuuploadtoken.h"

#include "net/signingsupport.h"

#include <QCryptographicHash>
#include <QDateTime>
#include <QMessageAuthenticationCode>

QString QiniuUploadToken::createToken(const QString &ak, const QString &sk, const QString &scopeName) const
{
    return createToken(ak, sk, scopeName, QDateTime::currentSecsSinceEpoch());
}

QString QiniuUploadToken::createToken(const QString &ak, const QString &sk, const QString &scopeName, qint64 now) const
{
    const qint64 deadline = now + 3600;
    const QString encodedPolicy = urlSafeBase64Encode(putPolicy(scopeName, deadline));
    const QString sign = HMACSHA1(sk, encodedPolicy);
    return QStringLiteral("%1:%2:%3").arg(ak, sign, encodedPolicy);
}

QByteArray QiniuUploadToken::putPolicy(const QString &scopeName, qint64 deadline)
{
    return KorvaneSigning::prettyJsonObject({{QStringLiteral("scope"), scopeName}, {QStringLiteral("deadline"), deadline}});
}

QString QiniuUploadToken::HMACSHA1(const QString &key, const QString &text)
{
    return urlSafeBase64Encode(
        QMessageAuthenticationCode::hash(text.toUtf8(), key.toUtf8(), QCryptographicHash::Sha1));
}

QString QiniuUploadToken::urlSafeBase64Encode(const QByteArray &data)
{
    return QString::fromLatin1(data.toBase64(QByteArray::Base64UrlEncoding));
}
