#include "qiniuuploadmanager.h"

#include "korvanehosts.h"
#include "chainedbodydevice.h"
#include "korvanelogtext.h"
#include "korvanenetworkclient.h"
#include "streaminguploadreply.h"

#include <QJsonDocument>
#include <QJsonObject>
#include <QLoggingCategory>
#include <QMetaObject>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QRandomGenerator>
#include <QUrl>

namespace {

Q_LOGGING_CATEGORY(lcQiniu, "korvane.net.qiniu", QtWarningMsg)

QByteArray textPart(const QByteArray &boundary, const QByteArray &name, const QByteArray &value)
{
    return "--" + boundary + "\r\nContent-Disposition: form-data; name=\"" + name + "\"\r\n\r\n" + value + "\r\n";
}

} // namespace

QiniuUploadManager::QiniuUploadManager(QObject *parent)
    : QObject(parent)
{
}

void QiniuUploadManager::putFile(const QString &path, const QString &key, const QString &token, const Completion &complete,
                                 const Progress &progress)
{
    post(path, QByteArray(), key, token, complete, progress);
}

void QiniuUploadManager::putData(const QByteArray &data, const QString &key, const QString &token, const Completion &complete,
                                 const Progress &progress)
{
    post(QString(), data, key, token, complete, progress);
}

void QiniuUploadManager::post(const QString &path, const QByteArray &data, const QString &key, const QString &token,
                              const Completion &complete, const Progress &progress)
{
    // Qt quotes its own boundary in the Content-Type; not every form parser takes that.
    const QByteArray boundary = "KorvaneQiniu" + QByteArray::number(QRandomGenerator::system()->generate64(), 16);
    // Quotes would end the file name early; the store takes the name from the key anyway.
    QByteArray fileName = key.toUtf8();
    fileName.replace('"', "%22");
    const QByteArray head = textPart(boundary, "token", token.toUtf8()) + textPart(boundary, "key", key.toUtf8()) + "--"
                          + boundary + "\r\nContent-Disposition: form-data; name=\"file\"; filename=\"" + fileName
                          + "\"\r\nContent-Type: application/octet-stream\r\n\r\n";
    const QByteArray tail = "\r\n--" + boundary + "--\r\n";
    ChainedBodyDevice *body = ChainedBodyDevice::create(path.isEmpty() ? head + data : head, path, tail, this);
    if (!body) {
        qCWarning(lcQiniu, "cannot read a file to upload: %s", qUtf8Printable(KorvaneLogText::summary(path, lcQiniu())));
        QMetaObject::invokeMethod(this, [complete, key] { complete(0, key, QVariantMap()); }, Qt::QueuedConnection);
        return;
    }

    QNetworkRequest request(QUrl(KorvaneHosts::qiniuUpload() + QLatin1Char('/')));
    request.setHeader(QNetworkRequest::ContentTypeHeader, QByteArray("multipart/form-data; boundary=") + boundary);
    request.setTransferTimeout(KorvaneNetWorkClient::transferTimeout());
    QNetworkReply *reply = StreamingUploadReply::send("POST", request, body, this);
    body->setParent(reply);
    if (progress)
        connect(reply, &QNetworkReply::uploadProgress, this, progress);
    connect(reply, &QNetworkReply::finished, this, [reply, key, complete] {
        reply->deleteLater();
        const int status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
        const QByteArray answer = reply->readAll();
        QVariantMap response;
        if (reply->error() == QNetworkReply::NoError && status >= 200 && status < 300) {
            const QJsonDocument document = QJsonDocument::fromJson(answer);
            if (document.isObject())
                response = document.object().toVariantMap();
        } else {
            qCInfo(lcQiniu, "the upload was refused: status %d, %s", status, qUtf8Printable(reply->errorString()));
        }
        complete(status, key, response);
    });
}
