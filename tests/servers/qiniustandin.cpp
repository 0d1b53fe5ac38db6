#include "qiniustandin.h"

#include <QCryptographicHash>
#include <QDateTime>
#include <QJsonDocument>
#include <QJsonObject>
#include <QMessageAuthenticationCode>

namespace {

StandInResponse qiniuError(int status, const QByteArray &message)
{
    return StandInResponse::json("{\"error\":\"" + message + "\"}", status);
}

} // namespace

StandInResponse QiniuStandIn::handle(const StandInRequest &request)
{
    if (request.method == "GET" && request.path == QLatin1String("/v4/query")) {
        const QString bucket = request.query.queryItemValue(QStringLiteral("bucket"));
        if (!secretKeys.contains(request.query.queryItemValue(QStringLiteral("ak"))) || !regions.contains(bucket))
            return qiniuError(612, "no such bucket");
        return StandInResponse::json(R"({"hosts":[{"region":"z0","ttl":86400,"up":{"domains":[")" + regions.value(bucket).toUtf8()
                                     + R"(","up.example.com"]},"io":{"domains":["io.example.com"]}}]})");
    }
    if (request.method != "POST" || request.path != QLatin1String("/")) {
        problem(QStringLiteral("%1 %2").arg(QString::fromLatin1(request.method), request.path));
        return qiniuError(405, "method not allowed");
    }
    QList<StandInPart> parts;
    QString error;
    if (!parseMultipart(request, &parts, &error)) {
        problem(QStringLiteral("multipart: ") + error);
        return qiniuError(400, "invalid multipart format");
    }
    QHash<QString, StandInPart> fields;
    for (const StandInPart &part : parts)
        fields.insert(part.name, part);
    if (!fields.contains(QStringLiteral("token")) || !fields.contains(QStringLiteral("file"))) {
        problem(QStringLiteral("no token or no file part"));
        return qiniuError(400, "token not specified");
    }
    if (!fields.value(QStringLiteral("file")).hasFileName)
        problem(QStringLiteral("the file part has no file name"));

    // "AK:SIGN:POLICY", SIGN being URL-safe Base64 of HMAC-SHA1(secret, POLICY as sent).
    const QByteArray token = fields.value(QStringLiteral("token")).data;
    const QList<QByteArray> pieces = token.split(':');
    if (pieces.size() != 3)
        return qiniuError(401, "bad token");
    const QString accessKey = QString::fromUtf8(pieces[0]);
    if (!secretKeys.contains(accessKey))
        return qiniuError(401, "app/accesskey is not found");
    const QByteArray sign = QMessageAuthenticationCode::hash(pieces[2], secretKeys.value(accessKey).toUtf8(),
                                                             QCryptographicHash::Sha1)
                                .toBase64(QByteArray::Base64UrlEncoding);
    if (sign != pieces[1])
        return qiniuError(401, "bad token");
    const QJsonObject policy = QJsonDocument::fromJson(QByteArray::fromBase64(pieces[2], QByteArray::Base64UrlEncoding)).object();
    const QString scope = policy.value(QStringLiteral("scope")).toString();
    const QString bucket = scope.section(QLatin1Char(':'), 0, 0);
    if (policy.value(QStringLiteral("deadline")).toDouble() < double(QDateTime::currentSecsSinceEpoch()))
        return qiniuError(401, "token out of date");
    if (!buckets.contains(bucket))
        return qiniuError(631, "no such bucket");

    const QString key = fields.contains(QStringLiteral("key")) ? QString::fromUtf8(fields.value(QStringLiteral("key")).data)
                                                               : QString();
    attempts.append(key);
    if (key.isEmpty())
        problem(QStringLiteral("an upload without a key"));
    if (failingKeys.contains(key))
        return qiniuError(599, "server error");
    const QString object = bucket + QLatin1Char('/') + key;
    if (objects.contains(object))
        return qiniuError(614, "file exists");
    const QByteArray bytes = fields.value(QStringLiteral("file")).data;
    objects.insert(object, bytes);
    QJsonObject answer{{QStringLiteral("hash"), QString::fromLatin1(QCryptographicHash::hash(bytes, QCryptographicHash::Sha1).toHex())},
                       {QStringLiteral("key"), key}};
    return StandInResponse::json(answer);
}
