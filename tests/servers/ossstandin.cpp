#include "ossstandin.h"

#include <QCryptographicHash>
#include <QDateTime>
#include <QLocale>
#include <QMessageAuthenticationCode>
#include <QTimeZone>

namespace {

StandInResponse ossError(int status, const QString &code, const QString &message, const QString &extra = QString())
{
    const QString xml = QStringLiteral("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<Error>\n  <Code>%1</Code>\n"
                                       "  <Message>%2</Message>\n  <RequestId>5C3D9175B6FC201293AD4890</RequestId>\n"
                                       "  <HostId>oss-cn-shanghai.aliyuncs.com</HostId>\n%3</Error>\n")
                            .arg(code, message, extra);
    return StandInResponse::text("application/xml", xml.toUtf8(), status);
}

} // namespace

StandInResponse OssStandIn::handle(const StandInRequest &request)
{
    const QString path = request.path.mid(1);
    const QString bucket = path.section(QLatin1Char('/'), 0, 0);
    const QString key = path.section(QLatin1Char('/'), 1);
    if (request.method != "PUT" || key.isEmpty()) {
        problem(QStringLiteral("%1 %2").arg(QString::fromLatin1(request.method), request.path));
        return ossError(405, QStringLiteral("MethodNotAllowed"), QStringLiteral("The specified method is not allowed."));
    }
    if (!buckets.contains(bucket))
        return ossError(404, QStringLiteral("NoSuchBucket"), QStringLiteral("The specified bucket does not exist."));
    if (wrongEndpointAnswers > 0) {
        --wrongEndpointAnswers;
        return ossError(403, QStringLiteral("AccessDenied"),
                        QStringLiteral("The bucket you are attempting to access must be addressed using the specified endpoint. "
                                       "Please send all future requests to this endpoint."),
                        QStringLiteral("  <Bucket>%1</Bucket>\n  <Endpoint>%2</Endpoint>\n").arg(bucket, rightEndpoint));
    }

    const QByteArray date = request.header("Date");
    const QDateTime sent = QLocale(QLocale::English).toDateTime(QString::fromLatin1(date), QStringLiteral("ddd, dd MMM yyyy HH:mm:ss 'GMT'"));
    if (!sent.isValid() || qAbs(QDateTime(sent.date(), sent.time(), QTimeZone::utc()).secsTo(QDateTime::currentDateTimeUtc())) > 900)
        return ossError(403, QStringLiteral("RequestTimeTooSkewed"), QStringLiteral("The difference between the request time and the current time is too large."));
    const QByteArray md5 = QCryptographicHash::hash(request.body, QCryptographicHash::Md5).toBase64();
    if (request.header("Content-MD5") != md5)
        return ossError(400, QStringLiteral("InvalidDigest"), QStringLiteral("The Content-MD5 you specified is not valid."));

    const QByteArray authorization = request.header("Authorization");
    if (!authorization.startsWith("OSS ") || !authorization.contains(':'))
        return ossError(403, QStringLiteral("AccessDenied"), QStringLiteral("Authorization header is invalid."));
    const QString accessKey = QString::fromUtf8(authorization.mid(4, authorization.indexOf(':') - 4));
    if (!secretKeys.contains(accessKey))
        return ossError(403, QStringLiteral("InvalidAccessKeyId"), QStringLiteral("The OSS Access Key Id you provided does not exist in our records."));
    const QByteArray stringToSign = "PUT\n" + md5 + '\n' + request.header("Content-Type") + '\n' + date + "\n/" + bucket.toUtf8()
        + '/' + key.toUtf8();
    const QByteArray expected = QMessageAuthenticationCode::hash(stringToSign, secretKeys.value(accessKey).toUtf8(),
                                                                 QCryptographicHash::Sha1)
                                    .toBase64();
    if (authorization.mid(authorization.indexOf(':') + 1) != expected)
        return ossError(403, QStringLiteral("SignatureDoesNotMatch"), QStringLiteral("The request signature we calculated does not match the signature you provided."));
    if (failingKeys.contains(key))
        return ossError(500, QStringLiteral("InternalError"), QStringLiteral("We encountered an internal error. Please try again."));
    objects.insert(bucket + QLatin1Char('/') + key, request.body);
    StandInResponse response;
    response.addHeader("ETag", '"' + QCryptographicHash::hash(request.body, QCryptographicHash::Md5).toHex().toUpper() + '"');
    return response;
}
