#include "net/oss/ossclient.h"

#include "net/signing.h"
#include "net/servicehosts.h"
#include "net/networkclient.h"
#include "net/streaminguploadreply.h"
#include "net/xmlreader.h"
#include "net/netlogging.h"

#include <QBuffer>
#include <QCryptographicHash>
#include <QDateTime>
#include <QFile>
#include <QLocale>
#include <QLoggingCategory>
#include <QMimeDatabase>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QTimer>
#include <QUrl>

namespace {

// A field of the store's error answer, <Error><NAME>text</NAME>...</Error>; empty when the
// answer is no such document.
QString errorField(const QVariant &answer, const QString &name)
{
    return answer.toMap().value(QStringLiteral("Error")).toMap().value(name).toMap().value(QStringLiteral("text")).toString();
}

UploadCallbacks::Outcome outcomeOf(QNetworkReply *reply)
{
    UploadCallbacks::Outcome outcome;
    outcome.status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
    outcome.stored = reply->error() == QNetworkReply::NoError && outcome.status >= 200 && outcome.status < 300;
    // A refused answer (over its cap, malformed, late) carries no status: it is no answer.
    if (outcome.stored || outcome.status == 0) {
        outcome.message = outcome.stored ? QString() : reply->errorString();
        return outcome;
    }
    outcome.answer = XmlReader::dictionaryForXMLData(reply->readAll());
    const QString code = errorField(outcome.answer, QStringLiteral("Code"));
    qCInfo(lcOss, "PutObject refused: status %d, %s", outcome.status, qUtf8Printable(code));
    if (outcome.status == 403)
        outcome.endpoint = errorField(outcome.answer, QStringLiteral("Endpoint"));
    outcome.message = code.isEmpty() ? QStringLiteral("HTTP %1").arg(outcome.status) : code;
    return outcome;
}

} // namespace

OssClient::OssClient(const QString &endpoint, const QString &accessKey, const QString &secretKey, QObject *parent)
    : QObject(parent)
    , m_endpoint(endpoint)
    , m_accessKey(accessKey)
    , m_secretKey(secretKey)
{
}

QString OssClient::signature(const QString &secretKey, const QString &verb, const QString &contentMd5,
                             const QString &contentType, const QString &date, const QString &resource)
{
    const QString text = QStringList{verb, contentMd5, contentType, date, resource}.join(QLatin1Char('\n'));
    return QString::fromLatin1(Signing::hmacSha1(secretKey, text).toBase64());
}

void OssClient::putObject(const QString &bucketName, const QString &objectKey, const QString &uploadingFile,
                          const QByteArray &uploadingData, const UploadCallbacks &callbacks)
{
    const auto done = callbacks.done;
    QIODevice *body = nullptr;
    if (!uploadingFile.isEmpty()) {
        auto *file = new QFile(uploadingFile, this);
        if (!file->open(QIODevice::ReadOnly)) {
            delete file;
            QTimer::singleShot(0, this, [done] { done(UploadCallbacks::Outcome::notStored(QStringLiteral("the file cannot be read"))); });
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
    const QString date = QLocale(QLocale::English).toString(QDateTime::currentDateTimeUtc(), QStringLiteral("ddd, dd MMM yyyy HH:mm:ss 'GMT'"));
    const QString resource = QStringLiteral("/%1/%2").arg(bucketName, objectKey);

    QUrl url(ServiceHosts::bucketBaseUrl(m_endpoint, bucketName, bucketName));
    url.setPath(url.path() + QLatin1Char('/') + objectKey);
    QNetworkRequest request(url);
    request.setRawHeader("Date", date.toLatin1());
    request.setRawHeader("Content-MD5", contentMd5.toLatin1());
    request.setHeader(QNetworkRequest::ContentTypeHeader, contentType.toLatin1());
    request.setHeader(QNetworkRequest::ContentLengthHeader, body->size());
    request.setRawHeader("Authorization", QStringLiteral("OSS %1:%2").arg(m_accessKey, signature(m_secretKey, QStringLiteral("PUT"), contentMd5, contentType, date, resource)).toUtf8());
    request.setTransferTimeout(NetworkClient::transferTimeout());
    QNetworkReply *reply = StreamingUploadReply::send("PUT", request, body, this);
    body->setParent(reply);
    if (callbacks.progress)
        connect(reply, &QNetworkReply::uploadProgress, this, callbacks.progress);
    connect(reply, &QNetworkReply::finished, this, [reply, done] {
        reply->deleteLater();
        const UploadCallbacks::Outcome outcome = outcomeOf(reply);
        if (outcome.stored)
            qCDebug(lcOss, "put image success!");
        else
            qCDebug(lcOss, "put image failed!\nErrorMsg: %s", qUtf8Printable(outcome.message));
        done(outcome);
    });
}
