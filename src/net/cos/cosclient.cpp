#include "net/cos/cosclient.h"

#include "net/signing.h"
#include "net/netlogging.h"

#include <QCryptographicHash>
#include <QDateTime>
#include <QLoggingCategory>

QString CosClient::cosSign(const QString &secretKey, const QString &withAccessKey, const QString &withHttpMethod,
                           const QString &withHttpURI)
{
    return cosSign(secretKey, withAccessKey, withHttpMethod, withHttpURI, QDateTime::currentSecsSinceEpoch());
}

QString CosClient::cosSign(const QString &secretKey, const QString &withAccessKey, const QString &withHttpMethod,
                           const QString &withHttpURI, qint64 now)
{
    const QString keyTime = QStringLiteral("%1;%2").arg(now).arg(now + 120);
    const QString signKey = hmacSha1Hex(secretKey, keyTime);
    const QString httpString = QStringLiteral("%1\n%2\n%3\n%4\n").arg(withHttpMethod, withHttpURI, QString(), QString());
    const QString stringToSign = QStringLiteral("sha1\n%1\n%2\n").arg(keyTime, sha1(httpString));
    const QString signature = hmacSha1Hex(signKey, stringToSign);
    return QStringLiteral("q-sign-algorithm=sha1&q-ak=%1&q-sign-time=%2&q-key-time=%3&q-header-list=&q-url-param-list=&q-signature=%4")
        .arg(withAccessKey, keyTime, keyTime, signature);
}

QString CosClient::hmacSha1Hex(const QString &key, const QString &data)
{
    // The keyed hashes are credentials: the log names the step, never the value.
    qCInfo(lcCosSign, "hash:<redacted>");
    return QString::fromLatin1(Signing::hmacSha1(key, data).toHex());
}

QString CosClient::sha1(const QString &text)
{
    return QString::fromLatin1(QCryptographicHash::hash(text.toUtf8(), QCryptographicHash::Sha1).toHex());
}
