#include "qiniuuploadmanager.h"

#include "korvanehosts.h"
#include "korvanenetworkclient.h"

#include <QBuffer>
#include <QFile>
#include <QHttpMultiPart>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLoggingCategory>
#include <QMetaObject>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QRandomGenerator>
#include <QUrl>

namespace {

Q_LOGGING_CATEGORY(lcQiniu, "korvane.net.qiniu", QtWarningMsg)

QHttpPart textPart(const QByteArray &name, const QByteArray &value)
{
    QHttpPart part;
    part.setHeader(QNetworkRequest::ContentDispositionHeader, QByteArray("form-data; name=\"") + name + '"');
    part.setBody(value);
    return part;
}

} // namespace

QiniuUploadManager::QiniuUploadManager(QObject *parent)
    : QObject(parent)
    , m_manager(new QNetworkAccessManager(this))
{
}

void QiniuUploadManager::putFile(const QString &path, const QString &key, const QString &token, const Completion &complete,
                                 const Progress &progress)
{
    auto *file = new QFile(path);
    if (!file->open(QIODevice::ReadOnly)) {
        qCWarning(lcQiniu, "cannot read a file to upload: %s", qUtf8Printable(path));
        delete file;
        QMetaObject::invokeMethod(this, [complete, key] { complete(0, key, QVariantMap()); }, Qt::QueuedConnection);
        return;
    }
    post(file, key, token, complete, progress);
}

void QiniuUploadManager::putData(const QByteArray &data, const QString &key, const QString &token, const Completion &complete,
                                 const Progress &progress)
{
    auto *buffer = new QBuffer;
    buffer->setData(data);
    buffer->open(QIODevice::ReadOnly);
    post(buffer, key, token, complete, progress);
}

void QiniuUploadManager::post(QIODevice *body, const QString &key, const QString &token, const Completion &complete,
                              const Progress &progress)
{
    auto *multiPart = new QHttpMultiPart(QHttpMultiPart::FormDataType);
    multiPart->append(textPart("token", token.toUtf8()));
    multiPart->append(textPart("key", key.toUtf8()));
    QHttpPart filePart;
    // Quotes would end the file name early; the store takes the name from the key anyway.
    QByteArray fileName = key.toUtf8();
    fileName.replace('"', "%22");
    filePart.setHeader(QNetworkRequest::ContentDispositionHeader,
                       QByteArray("form-data; name=\"file\"; filename=\"") + fileName + '"');
    filePart.setHeader(QNetworkRequest::ContentTypeHeader, QByteArray("application/octet-stream"));
    filePart.setBodyDevice(body);
    body->setParent(multiPart);
    multiPart->append(filePart);

    // Qt quotes its own boundary in the Content-Type; not every form parser takes that.
    const QByteArray boundary = "KorvaneQiniu" + QByteArray::number(QRandomGenerator::system()->generate64(), 16);
    multiPart->setBoundary(boundary);
    QNetworkRequest request(QUrl(KorvaneHosts::qiniuUpload() + QLatin1Char('/')));
    request.setHeader(QNetworkRequest::ContentTypeHeader, QByteArray("multipart/form-data; boundary=") + boundary);
    request.setTransferTimeout(KorvaneNetWorkClient::transferTimeout());
    QNetworkReply *reply = m_manager->post(request, multiPart);
    multiPart->setParent(reply);
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
            qCInfo(lcQiniu, "the upload was refused: status %d, network error %d", status, int(reply->error()));
        }
        complete(status, key, response);
    });
}
