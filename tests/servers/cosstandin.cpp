#include "cosstandin.h"

#include <QCryptographicHash>
#include <QDateTime>
#include <QMessageAuthenticationCode>

namespace {

QString hmacHex(const QByteArray &key, const QByteArray &message)
{
    return QString::fromLatin1(QMessageAuthenticationCode::hash(message, key, QCryptographicHash::Sha1).toHex());
}

StandInResponse cosError(int status, const QString &code, const QString &message)
{
    const QString xml = QStringLiteral("<?xml version='1.0' encoding='utf-8' ?>\n<Error>\n\t<Code>%1</Code>\n\t<Message>%2</Message>\n"
                                       "\t<RequestId>NWQ1ZTk0YjJfOTI=</RequestId>\n</Error>")
                            .arg(code, message);
    return StandInResponse::text("application/xml", xml.toUtf8(), status);
}

} // namespace

QString CosStandIn::expectedSignature(const QString &secretKey, const QString &method, const QString &path,
                                      const QString &keyTime)
{
    // Written from the store's documentation, independently of the client's code.
    const QByteArray signKey = hmacHex(secretKey.toUtf8(), keyTime.toUtf8()).toLatin1();
    const QByteArray httpString = method.toUtf8() + '\n' + path.toUtf8() + "\n\n\n";
    const QByteArray stringToSign = "sha1\n" + keyTime.toUtf8() + '\n'
        + QCryptographicHash::hash(httpString, QCryptographicHash::Sha1).toHex() + '\n';
    return hmacHex(signKey, stringToSign);
}

QString CosStandIn::listXml() const
{
    QString xml = QStringLiteral("<?xml version='1.0' encoding='utf-8' ?>\n");
    xml += xmlNamespace.isEmpty() ? QStringLiteral("<ListAllMyBucketsResult>\n")
                                  : QStringLiteral("<ListAllMyBucketsResult xmlns=\"%1\">\n").arg(xmlNamespace);
    xml += QStringLiteral("\t<Owner>\n\t\t<ID>qcs::cam::uin/100000000001:uin/100000000001</ID>\n"
                          "\t\t<DisplayName>100000000001</DisplayName>\n\t</Owner>\n\t<Buckets>\n");
    for (const Bucket &bucket : buckets) {
        xml += QStringLiteral("\t\t<Bucket>\n\t\t\t<Name>%1</Name>\n\t\t\t<Location>%2</Location>\n"
                              "\t\t\t<CreationDate>2019-05-24T11:49:50Z</CreationDate>\n\t\t</Bucket>\n")
                   .arg(bucket.name, bucket.region);
    }
    xml += QStringLiteral("\t</Buckets>\n</ListAllMyBucketsResult>");
    return xml;
}

bool CosStandIn::checkSignature(const StandInRequest &request, const QString &method, const QString &path,
                                StandInResponse *refusal)
{
    const QByteArray authorization = request.header("Authorization");
    if (authorization.isEmpty()) {
        *refusal = cosError(403, QStringLiteral("AccessDenied"), QStringLiteral("Access Denied."));
        problem(QStringLiteral("no Authorization"));
        return false;
    }
    QHash<QString, QString> fields;
    QStringList names;
    for (const QByteArray &pair : authorization.split('&')) {
        names.append(QString::fromLatin1(pair.left(pair.indexOf('='))));
        fields.insert(names.last(), QString::fromLatin1(pair.mid(pair.indexOf('=') + 1)));
    }
    const QStringList order{QStringLiteral("q-sign-algorithm"), QStringLiteral("q-ak"), QStringLiteral("q-sign-time"),
                            QStringLiteral("q-key-time"), QStringLiteral("q-header-list"), QStringLiteral("q-url-param-list"),
                            QStringLiteral("q-signature")};
    if (names != order || fields.value(QStringLiteral("q-sign-algorithm")) != QLatin1String("sha1")
        || !fields.value(QStringLiteral("q-header-list")).isEmpty() || !fields.value(QStringLiteral("q-url-param-list")).isEmpty()) {
        problem(QStringLiteral("malformed Authorization"));
        *refusal = cosError(403, QStringLiteral("AccessDenied"), QStringLiteral("Access Denied."));
        return false;
    }
    const QString id = fields.value(QStringLiteral("q-ak"));
    if (!secretKeys.contains(id)) {
        *refusal = cosError(403, QStringLiteral("InvalidAccessKeyId"), QStringLiteral("The access key Id format you provided is invalid."));
        return false;
    }
    const QString keyTime = fields.value(QStringLiteral("q-key-time"));
    const QStringList times = keyTime.split(QLatin1Char(';'));
    const qint64 clock = QDateTime::currentSecsSinceEpoch();
    if (fields.value(QStringLiteral("q-sign-time")) != keyTime || times.size() != 2 || times[0].toLongLong() > clock
        || times[1].toLongLong() < clock) {
        *refusal = cosError(403, QStringLiteral("RequestTimeTooSkewed"), QStringLiteral("The difference between the request time and the server's time is too large."));
        return false;
    }
    if (fields.value(QStringLiteral("q-signature")) != expectedSignature(secretKeys.value(id), method, path, keyTime)) {
        *refusal = cosError(403, QStringLiteral("SignatureDoesNotMatch"), QStringLiteral("The Signature you specified is invalid."));
        return false;
    }
    return true;
}

StandInResponse CosStandIn::handle(const StandInRequest &request)
{
    StandInResponse refusal;
    if (request.method == "GET" && request.rawPath == "/") {
        if (!checkSignature(request, QStringLiteral("get"), QStringLiteral("/"), &refusal))
            return refusal;
        return StandInResponse::text("application/xml", listXml().toUtf8());
    }
    if (request.method == "PUT") {
        const QString path = request.path.mid(1);
        const QString bucket = path.section(QLatin1Char('/'), 0, 0);
        const QString key = path.section(QLatin1Char('/'), 1);
        const bool known = std::any_of(buckets.cbegin(), buckets.cend(), [&](const Bucket &b) { return b.name == bucket; });
        if (!known || key.isEmpty())
            return cosError(404, QStringLiteral("NoSuchBucket"), QStringLiteral("The specified bucket does not exist."));
        if (!request.hasHeader("Content-Type") || !request.header("Content-Type").isEmpty())
            problem(QStringLiteral("PUT without an empty Content-Type"));
        if (request.header("Origin") != "file://")
            problem(QStringLiteral("PUT with Origin \"%1\"").arg(QString::fromLatin1(request.header("Origin"))));
        if (!checkSignature(request, QStringLiteral("put"), QLatin1Char('/') + key, &refusal))
            return refusal;
        if (failingKeys.contains(key))
            return cosError(500, QStringLiteral("InternalError"), QStringLiteral("We encountered an internal error. Please try again."));
        objects.insert(bucket + QLatin1Char('/') + key, request.body);
        StandInResponse response;
        response.addHeader("ETag", '"' + QCryptographicHash::hash(request.body, QCryptographicHash::Md5).toHex() + '"');
        return response;
    }
    problem(QStringLiteral("%1 %2").arg(QString::fromLatin1(request.method), request.path));
    return cosError(405, QStringLiteral("MethodNotAllowed"), QStringLiteral("The specified method is not allowed."));
}
