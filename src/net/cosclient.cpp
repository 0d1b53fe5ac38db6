#include "net/cosclient.h"

#include "common/korvanelogging.h"

#include <QCryptographicHash>
#include <QDateTime>
#include <QLoggingCategory>
#include <QMessageAuthenticationCode>

QString CosClient::cosSign(const QString &secretKey, const QString &withAccessKey, const QString &withHttpMethod,
                               const QString &withHttpURI)
{
    return cosSign(secretKey, withAccessKey, withHttpMethod, withHttpURI, QDateTime::currentSecsSinceEpoch());
}

QString CosClient::cosSign(const QString &secretKey, const QString &withAccessKey, const QString &withHttpMethod,
                               const QString &withHttpURI, qint64 now)
{
    const QString keyTime = QStringLiteral("%1;%2").arg(now).arg(now + 120);
    const QString signKey = HmacSha1(secretKey, keyTime);
    const QString httpString = QStringLiteral("%1\n%2\n%3\n%4\n").arg(withHttpMethod, withHttpURI, QString(), QString());
    const QString stringToSign = QStringLiteral("sha1\n%1\n%2\n").arg(keyTime, sha1(httpString));
    const QString signature = HmacSha1(signKey, stringToSign);
    return QStringLiteral("q-sign-algorithm=sha1&q-ak=%1&q-sign-time=%2&q-key-time=%3&q-header-list=&q-url-param-list=&q-signature=%4")
        .arg(withAccessKey, keyTime, keyTime, signature);
}

QString CosClient::HmacSha1(const QString &key, const QString &data)
{
    const QString hash = QString::fromLatin1(
        QMessageAuthenticationCode::hash(data.toUtf8(), key.toUtf8(), QCryptographicHash::Sha1).toHex());
    // The keyed hashes are credentials: the log names the step, never the value.
    qCInfo(lcCosSign, "hash:<redacted>");
    return hash;
}

QString CosClient::sha1(const QString &text)
{
    return QString::fromLatin1(QCryptographicHash::hash(text.toUtf8(), QCryptographicHash::Sha1).toHex());
}
