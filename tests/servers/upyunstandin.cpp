#include "upyunstandin.h"

#include <QCryptographicHash>
#include <QDateTime>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLocale>
#include <QMessageAuthenticationCode>
#include <QTimeZone>

namespace {

StandInResponse upError(int status, int code, const QString &message)
{
    return StandInResponse::json(QJsonObject{{QStringLiteral("code"), code}, {QStringLiteral("msg"), message}, {QStringLiteral("id"), QStringLiteral("0c56f4b0b8c4e1c2")}}, status);
}

} // namespace

StandInResponse UpYunStandIn::handle(const StandInRequest &request)
{
    const QString bucket = request.path.mid(1);
    if (request.method != "POST" || !buckets.contains(bucket)) {
        problem(QStringLiteral("%1 %2").arg(QString::fromLatin1(request.method), request.path));
        return upError(404, 40400001, QStringLiteral("bucket not found"));
    }
    if (request.header("Accept") != "application/json")
        problem(QStringLiteral("Accept is not application/json"));
    QList<StandInPart> parts;
    QString error;
    QByteArray boundary;
    if (!parseMultipart(request, &parts, &error, &boundary)) {
        problem(QStringLiteral("multipart: ") + error);
        return upError(400, 40000001, QStringLiteral("invalid multipart"));
    }
    const QByteArray prefix = "simpleHttpClientFormBoundaryFriSep25V01|hash3ad538ea94b02b486cc9e4ab6c499f69";
    bool numberOk = false;
    const qulonglong number = boundary.mid(prefix.size()).toULongLong(&numberOk);
    if (!boundary.startsWith(prefix) || !numberOk || number > 2147483647ull)
        problem(QStringLiteral("unexpected boundary ") + QString::fromLatin1(boundary));
    if (parts.size() != 3 || parts[0].name != QLatin1String("policy") || parts[1].name != QLatin1String("authorization")
        || parts[2].name != QLatin1String("file")) {
        problem(QStringLiteral("the form's parts are not policy, authorization and file"));
        return upError(400, 40000002, QStringLiteral("form parts"));
    }
    const QByteArray policy = parts[0].data;
    const QByteArray authorization = parts[1].data;
    const StandInPart &file = parts[2];
    // The upload action names no file, so the form client's stand-in name goes out.
    if (file.fileName != QLatin1String("fileName"))
        problem(QStringLiteral("file name \"%1\"").arg(file.fileName));

    // The body exactly as the form client writes it.
    QByteArray expected;
    for (int i = 0; i < 2; ++i)
        expected += "--" + boundary + "\r\nContent-Disposition: form-data; name=\"" + parts[i].name.toUtf8() + "\"\r\n\r\n"
            + parts[i].data + "\r\n";
    expected += "--" + boundary + "\r\nContent-Disposition: form-data; name=\"file\"; filename=\"" + file.fileName.toUtf8()
        + "\"\r\nContent-Type: \r\n\r\n" + file.data + "\r\n--" + boundary + "--\r\n";
    if (expected != request.body)
        problem(QStringLiteral("the body differs from the form layout"));
    if (request.header("Content-Type") != "multipart/form-data; boundary=" + boundary)
        problem(QStringLiteral("Content-Type ") + QString::fromLatin1(request.header("Content-Type")));

    const QJsonObject fields = QJsonDocument::fromJson(QByteArray::fromBase64(policy)).object();
    const QString saveKey = fields.value(QStringLiteral("save-key")).toString();
    const QString md5 = QString::fromLatin1(QCryptographicHash::hash(file.data, QCryptographicHash::Md5).toHex());
    if (fields.value(QStringLiteral("bucket")).toString() != bucket)
        return upError(401, 40100006, QStringLiteral("bucket in policy mismatch"));
    if (fields.value(QStringLiteral("content-md5")).toString() != md5)
        return upError(400, 40000008, QStringLiteral("content-md5 mismatch"));
    if (fields.value(QStringLiteral("content-length")).toString() != QString::number(file.data.size()))
        return upError(400, 40000009, QStringLiteral("content-length mismatch"));
    if (fields.value(QStringLiteral("expiration")).toString().toLongLong() < QDateTime::currentSecsSinceEpoch())
        return upError(401, 40100004, QStringLiteral("policy expired"));
    const QString date = fields.value(QStringLiteral("date")).toString();
    const QDateTime sent = QLocale(QLocale::English).toDateTime(date, QStringLiteral("ddd, dd MMM yyyy HH:mm:ss 'GMT'"));
    if (!sent.isValid() || qAbs(QDateTime(sent.date(), sent.time(), QTimeZone::utc()).secsTo(QDateTime::currentDateTimeUtc())) > 1800)
        return upError(401, 40100005, QStringLiteral("date offset error"));
    if (!saveKey.startsWith(QLatin1Char('/')))
        return upError(400, 40000010, QStringLiteral("save-key must start with /"));

    // "UPYUN operator:signature", the signature over POST, /BUCKET, date, policy and MD5.
    if (!authorization.startsWith("UPYUN "))
        return upError(401, 40100001, QStringLiteral("need authorization"));
    const QByteArray credentials = authorization.mid(6);
    const QString operatorName = QString::fromUtf8(credentials.left(credentials.indexOf(':')));
    if (!passwords.contains(operatorName))
        return upError(401, 40100012, QStringLiteral("operator not exists"));
    const QByteArray key = QCryptographicHash::hash(passwords.value(operatorName).toUtf8(), QCryptographicHash::Md5).toHex();
    const QByteArray message = "POST&/" + bucket.toUtf8() + '&' + date.toUtf8() + '&' + policy + '&' + md5.toLatin1();
    const QByteArray signature = QMessageAuthenticationCode::hash(message, key, QCryptographicHash::Sha1).toBase64();
    if (credentials.mid(credentials.indexOf(':') + 1) != signature)
        return upError(401, 40100017, QStringLiteral("signature error"));

    if (failingKeys.contains(saveKey))
        return upError(500, 50000000, QStringLiteral("internal error"));
    objects.insert(bucket + saveKey, file.data);
    return StandInResponse::json(QJsonObject{{QStringLiteral("code"), 200}, {QStringLiteral("message"), QStringLiteral("ok")}, {QStringLiteral("url"), saveKey}, {QStringLiteral("time"), QDateTime::currentSecsSinceEpoch()}});
}
