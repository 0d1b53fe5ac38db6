#include "net/upyun/upyunsignature.h"

#include "net/signing.h"
#include "net/netlogging.h"

#include <QCryptographicHash>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLocale>
#include <QLoggingCategory>
#include <QTimeZone>

QString UpYunSignature::getPolicyWithParameters(const QVariantMap &parameters)
{
    if (!Signing::isJsonValue(parameters))
        return QString(QLatin1String(""));
    QList<QPair<QString, QVariant>> members;
    // The well-known members first, in the order a reader expects them; the rest by name.
    const QStringList order{QStringLiteral("bucket"), QStringLiteral("save-key"), QStringLiteral("expiration"),
                            QStringLiteral("date"), QStringLiteral("content-md5"), QStringLiteral("content-length")};
    for (const QString &name : order) {
        if (parameters.contains(name))
            members.append({name, parameters.value(name)});
    }
    for (auto it = parameters.cbegin(); it != parameters.cend(); ++it) {
        if (!order.contains(it.key()))
            members.append({it.key(), it.value()});
    }
    return base64EncodeFromString(QString::fromUtf8(Signing::prettyJsonObject(members)));
}

QVariant UpYunSignature::getDictFromPolicyString(const QString &policy)
{
    const auto decoded = QByteArray::fromBase64Encoding(policy.toLatin1(), QByteArray::AbortOnBase64DecodingErrors);
    QJsonParseError error{};
    const QJsonDocument document = decoded ? QJsonDocument::fromJson(*decoded, &error) : QJsonDocument();
    if (!decoded || error.error != QJsonParseError::NoError || !document.isObject()) {
        qCWarning(lcUpYun, "error %s", decoded ? qUtf8Printable(error.errorString()) : "the policy is not Base64");
        return QVariant();
    }
    return document.object().toVariantMap();
}

QString UpYunSignature::getSignatureWithPassword(const QString &password, const QStringList &parameters)
{
    const QString joined = parameters.join(QLatin1Char('&'));
    if (joined.isEmpty())
        return QString(QLatin1String(""));
    const QString key = getMD5HashFromData(password.toUtf8());
    return hmacSha1Base64(key, joined);
}

QString UpYunSignature::getMD5HashFromData(const QByteArray &data)
{
    return QString::fromLatin1(QCryptographicHash::hash(data, QCryptographicHash::Md5).toHex());
}

QString UpYunSignature::hmacSha1Base64(const QString &key, const QString &string)
{
    return QString::fromLatin1(Signing::hmacSha1(key, string).toBase64());
}

QString UpYunSignature::base64EncodeFromString(const QString &string)
{
    return QString::fromLatin1(string.toUtf8().toBase64());
}

QString UpYunSignature::base64DecodeFromString(const QString &string)
{
    return QString::fromUtf8(QByteArray::fromBase64(string.toLatin1()));
}

QString UpYunSignature::gmtDateString(const QDateTime &time)
{
    const QLocale english(QLocale::English, QLocale::UnitedStates);
    return english.toString(time.toTimeZone(QTimeZone::utc()), QStringLiteral("ddd, dd MMM yyyy HH:mm:ss"))
        + QLatin1String(" GMT");
}

QVariantMap UpYunSignature::policyParameters(const QString &bucket, const QString &saveKey, const QByteArray &fileData,
                                             const QVariantMap &extraParameters, const QDateTime &now)
{
    const double expiration = double(now.toMSecsSinceEpoch()) / 1000.0 + 1800.0;
    QVariantMap parameters{
        {QStringLiteral("bucket"), bucket},
        {QStringLiteral("save-key"), saveKey},
        {QStringLiteral("expiration"), QString::asprintf("%.0f", expiration)},
        {QStringLiteral("date"), gmtDateString(now)},
        {QStringLiteral("content-md5"), getMD5HashFromData(fileData)},
        {QStringLiteral("content-length"), QString::number(fileData.size())},
    };
    for (auto it = extraParameters.cbegin(); it != extraParameters.cend(); ++it)
        parameters.insert(it.key(), it.value());
    return parameters;
}

QString UpYunSignature::formSignature(const QString &password, const QString &bucket, const QString &date,
                                      const QString &policy, const QString &md5)
{
    return getSignatureWithPassword(password, {QStringLiteral("POST"), QStringLiteral("/%1").arg(bucket), date, policy, md5});
}

QString UpYunSignature::authorization(const QString &operatorName, const QString &signature)
{
    return QStringLiteral("UPYUN %1:%2").arg(operatorName, signature);
}
