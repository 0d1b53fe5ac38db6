#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QString>
#include <QStringList>
#include <QVariant>
#include <QVariantMap>

// The UpYun form-upload policy and signature.
class UpYunSignature final
{
public:
    UpYunSignature() = delete;

    // Standard Base64 (no line breaks) of the parameters written as pretty-printed JSON, or ""
    // when they are not a JSON object.
    static QString getPolicyWithParameters(const QVariantMap &parameters);
    // Back from a policy: Base64, UTF-8, JSON; null when the text is none of these.
    static QVariant getDictFromPolicyString(const QString &policy);
    // Standard Base64 of HMAC-SHA1 over the texts joined with "&", keyed by the MD5 hex of the
    // password; "" when there is nothing to sign.
    static QString getSignatureWithPassword(const QString &password, const QStringList &parameters);
    static QString getMD5HashFromData(const QByteArray &data);
    static QString hmacSha1Base64(const QString &key, const QString &string);
    static QString base64EncodeFromString(const QString &string);
    static QString base64DecodeFromString(const QString &string);

    // The date as sent: "EEE, dd MMM y HH:mm:ss zzz" in English and GMT, whatever the locale
    // and time zone ("Fri, 04 Dec 2026 06:10:00 GMT").
    static QString gmtDateString(const QDateTime &time);

    // The policy parameters of one form upload at a time: bucket, save-key, expiration (30
    // minutes ahead, "%.0f"), date, content-md5, content-length, then the extra ones, which
    // replace computed entries of the same name.
    static QVariantMap policyParameters(const QString &bucket, const QString &saveKey, const QByteArray &fileData,
                                        const QVariantMap &extraParameters, const QDateTime &now);
    // The signature of a form upload: over "POST", "/BUCKET", date, policy and MD5.
    static QString formSignature(const QString &password, const QString &bucket, const QString &date,
                                 const QString &policy, const QString &md5);
    // The value of the "authorization" field: "UPYUN OPERATOR:SIGNATURE".
    static QString authorization(const QString &operatorName, const QString &signature);
};
