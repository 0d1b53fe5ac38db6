#include "aliossclient.h"

#include "korvanehosts.h"
#include "korvanenetworkclient.h"
#include "streaminguploadreply.h"

#include <QBuffer>
#include <QCryptographicHash>
#include <QDateTime>
#include <QFile>
#include <QLocale>
#include <QLoggingCategory>
#include <QMessageAuthenticationCode>
#include <QMimeDatabase>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QRegularExpression>
#include <QTimer>
#include <QUrl>

namespace {

Q_LOGGING_CATEGORY(lcOss, "korvane.net.oss", QtWarningMsg)

QString xmlElement(const QByteArray &xml, const QString &name)
{
    const QRegularExpression pattern(QStringLiteral("<%1>([^<]*)</%1>").arg(name));
    return pattern.match(QString::fromUtf8(xml)).captured(1).trimmed();
}

} // namespace

AliOssClient::AliOssClient(const QString &endpoint, const QString &accessKey, const QString &secretKey, QObject *parent)
    : QObject(parent)
    , m_endpoint(endpoint)
    , m_accessKey(accessKey)
    , m_secretKey(secretKey)
{
}

QString AliOssClient::signature(const QString &secretKey, const QString &verb, const QString &contentMd5,
                                const QString &contentType, const QString &date, const QString &resource)
{
    const QString text = QStringList{verb, contentMd5, contentType, date, resource}.join(QLatin1Char('\n'));
    return QString::fromLatin1(
        QMessageAuthenticationCode::hash(text.toUtf8(), secretKey.toUtf8(), QCryptographicHash::Sha1).toBase64());
}

void AliOssClient::putObject(const QString &bucketName, const QString &objectKey, const QString &uploadingFile,
                             const QByteArray &uploadingData, const Completion &completion, const Progress &progress)
{
    QIODevice *body = nullptr;
    if (!uploadingFile.isEmpty()) {
        auto *file = new QFile(uploadingFile, this);
        if (!file->open(QIODevice::ReadOnly)) {
            delete file;
            QTimer::singleShot(0, this, [completion] { completion(-1, QString(), QStringLiteral("the file cannot be read")); });
            return;
        }
        body = file;
    } else {
        auto *buffer = new QBuffer(this);
        buffer->setData(uploadingData);
        buffer->open(QIODevice::ReadOnly);
        body = buffer;
    }
    // One pass over the file for its digest; it is read again as it is sent.
    QCryptographicHash md5(QCryptographicHash::Md5);
    md5.addData(body);
    body->seek(0);
    const QString contentMd5 = QString::fromLatin1(md5.result().toBase64());
    const QString contentType = QMimeDatabase().mimeTypeForFile(objectKey, QMimeDatabase::MatchExtension).name();
    const QString date = QLocale(QLocale::English).toString(QDateTime::currentDateTimeUtc(),
                                                            QStringLiteral("ddd, dd MMM yyyy HH:mm:ss 'GMT'"));
    const QString resource = QStringLiteral("/%1/%2").arg(bucketName, objectKey);

    QUrl url(KorvaneHosts::bucketBaseUrl(m_endpoint, bucketName, bucketName));
    url.setPath(url.path() + QLatin1Char('/') + objectKey);
    QNetworkRequest request(url);
    request.setRawHeader("Date", date.toLatin1());
    request.setRawHeader("Content-MD5", contentMd5.toLatin1());
    request.setHeader(QNetworkRequest::ContentTypeHeader, contentType.toLatin1());
    request.setHeader(QNetworkRequest::ContentLengthHeader, body->size());
    request.setRawHeader("Authorization", QStringLiteral("OSS %1:%2")
                                              .arg(m_accessKey, signature(m_secretKey, QStringLiteral("PUT"), contentMd5,
                                                                          contentType, date, resource))
                                              .toUtf8());
    request.setTransferTimeout(KorvaneNetWorkClient::transferTimeout());
    QNetworkReply *reply = StreamingUploadReply::send("PUT", request, body, this);
    body->setParent(reply);
    if (progress)
        connect(reply, &QNetworkReply::uploadProgress, this, progress);
    connect(reply, &QNetworkReply::finished, this, [reply, completion] {
        reply->deleteLater();
        const int status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
        const QByteArray answer = reply->readAll();
        if (reply->error() == QNetworkReply::NoError && status >= 200 && status < 300) {
            completion(0, QString(), QString());
            return;
        }
        // A refused answer (over its cap, malformed, late) carries no status: it is no answer.
        if (status == 0) {
            completion(-int(reply->error()) - 1000, QString(), reply->errorString());
            return;
        }
        const QString endpoint = xmlElement(answer, QStringLiteral("Endpoint"));
        const QString code = xmlElement(answer, QStringLiteral("Code"));
        qCInfo(lcOss, "PutObject refused: status %d, %s", status, qUtf8Printable(code));
        if (status == 403 && !endpoint.isEmpty()) {
            completion(wrongEndpointCode, endpoint, code);
            return;
        }
        completion(status, QString(), code.isEmpty() ? QStringLiteral("HTTP %1").arg(status) : code);
    });
}
