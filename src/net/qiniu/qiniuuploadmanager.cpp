#include "net/qiniu/qiniuuploadmanager.h"

#include "net/servicehosts.h"
#include "net/chainedbodydevice.h"
#include "net/answerlimits.h"
#include "common/logtext.h"
#include "net/networkclient.h"
#include "platform/settings.h"
#include "net/streaminguploadreply.h"
#include "net/netlogging.h"

#include <QCoreApplication>
#include <QHash>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLoggingCategory>
#include <QMetaObject>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QRandomGenerator>
#include <QUrl>

namespace {

QByteArray textPart(const QByteArray &boundary, const QByteArray &name, const QByteArray &value)
{
    return "--" + boundary + "\r\nContent-Disposition: form-data; name=\"" + name + "\"\r\n\r\n" + value + "\r\n";
}

// The hosts found so far, by access key and bucket; main thread only.
QHash<QPair<QString, QString>, QString> &foundHosts()
{
    static QHash<QPair<QString, QString>, QString> hosts;
    return hosts;
}

// The first upload domain of the first region in a region query's answer, as a base URL; empty
// when the answer holds none that is a bare host. A query host on this machine (a stand-in)
// keeps its own scheme, as it serves no TLS.
QString uploadHostIn(const QVariant &answer, const QString &queryHost)
{
    const QVariantList hosts = answer.toMap().value(QStringLiteral("hosts")).toList();
    const QVariantList domains = hosts.isEmpty() ? QVariantList()
                                                 : hosts.first().toMap().value(QStringLiteral("up")).toMap().value(QStringLiteral("domains")).toList();
    if (domains.isEmpty() || domains.first().typeId() != QMetaType::QString)
        return QString();
    const QUrl query(queryHost);
    const QString scheme = ServiceHosts::isPathStyleHost(query.host()) ? query.scheme() : QStringLiteral("https");
    const QUrl url(scheme + QStringLiteral("://") + domains.first().toString(), QUrl::StrictMode);
    if (!url.isValid() || url.host().isEmpty() || !url.userInfo().isEmpty() || !url.path().isEmpty() || url.hasQuery()
        || url.hasFragment())
        return QString();
    return url.toString(QUrl::FullyEncoded);
}

} // namespace

void QiniuUploadManager::findUploadHost(const QString &accessKey, const QString &bucket, const HostCompletion &done)
{
    const auto answer = [done](const QString &host, const QString &error) {
        QMetaObject::invokeMethod(
            QCoreApplication::instance(), [done, host, error] { done(host, error); }, Qt::QueuedConnection);
    };
    if (Korvane::Settings::qiniuUploadHost.isSet()) {
        answer(ServiceHosts::qiniuUpload(), QString());
        return;
    }
    const QPair<QString, QString> id(accessKey, bucket);
    if (foundHosts().contains(id)) {
        answer(foundHosts().value(id), QString());
        return;
    }
    const QString queryHost = ServiceHosts::qiniuUc();
    NetworkClient::sharedClient()->getPath(
        queryHost + QStringLiteral("/v4/query"), {{QStringLiteral("ak"), accessKey}, {QStringLiteral("bucket"), bucket}},
        QString(),
        [done, id, queryHost](const QVariant &object, const QVariantMap &) {
            const QString host = uploadHostIn(object, queryHost);
            if (host.isEmpty()) {
                qCWarning(lcQiniu, "the region query answered without an upload host");
                done(QString(), qtTrId("qiniuRegionAnswerUnknown"));
                return;
            }
            foundHosts().insert(id, host);
            done(host, QString());
        },
        [done](const HttpError &error) {
            qCWarning(lcQiniu, "the region query failed: status %d, %s", error.httpStatus, qUtf8Printable(error.description));
            if (error.kind == HttpError::Transport)
                done(QString(), qtTrId("Can not connect to the server"));
            else if (error.kind == HttpError::HttpStatus)
                done(QString(), qtTrId("qiniuRegionRefused").arg(error.httpStatus));
            else
                done(QString(), qtTrId("qiniuRegionAnswerUnknown"));
        },
        AnswerLimits::apiAnswer);
}

QiniuUploadManager::QiniuUploadManager(const QString &uploadHost, QObject *parent)
    : QObject(parent)
    , m_uploadHost(uploadHost)
{
}

void QiniuUploadManager::putFile(const QString &path, const QString &key, const QString &token,
                                 const UploadCallbacks &callbacks)
{
    post(path, QByteArray(), key, token, callbacks);
}

void QiniuUploadManager::putData(const QByteArray &data, const QString &key, const QString &token,
                                 const UploadCallbacks &callbacks)
{
    post(QString(), data, key, token, callbacks);
}

void QiniuUploadManager::post(const QString &path, const QByteArray &data, const QString &key, const QString &token,
                              const UploadCallbacks &callbacks)
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
        qCWarning(lcQiniu, "cannot read a file to upload: %s", qUtf8Printable(LogText::summary(path, lcQiniu())));
        const auto done = callbacks.done;
        QMetaObject::invokeMethod(
            this, [done] { done(UploadCallbacks::Outcome::notStored(QStringLiteral("the file cannot be read"))); }, Qt::QueuedConnection);
        return;
    }

    QNetworkRequest request(QUrl(m_uploadHost + QLatin1Char('/')));
    request.setHeader(QNetworkRequest::ContentTypeHeader, QByteArray("multipart/form-data; boundary=") + boundary);
    request.setTransferTimeout(NetworkClient::transferTimeout());
    QNetworkReply *reply = StreamingUploadReply::send("POST", request, body, this);
    body->setParent(reply);
    if (callbacks.progress)
        connect(reply, &QNetworkReply::uploadProgress, this, callbacks.progress);
    connect(reply, &QNetworkReply::finished, this, [reply, done = callbacks.done] {
        reply->deleteLater();
        UploadCallbacks::Outcome outcome;
        outcome.status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
        const QByteArray answer = reply->readAll();
        if (reply->error() == QNetworkReply::NoError && outcome.status >= 200 && outcome.status < 300) {
            const QJsonDocument document = QJsonDocument::fromJson(answer);
            if (document.isObject())
                outcome.answer = document.object().toVariantMap();
            // An answer that is no object, or an empty one, names nothing stored.
            outcome.stored = !outcome.answer.toMap().isEmpty();
            if (!outcome.stored)
                outcome.message = QStringLiteral("the answer names no stored object");
        } else {
            outcome.message = reply->errorString();
            qCInfo(lcQiniu, "the upload was refused: status %d, %s", outcome.status, qUtf8Printable(outcome.message));
        }
        done(outcome);
    });
}
