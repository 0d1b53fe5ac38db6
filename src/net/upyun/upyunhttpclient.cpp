#include "net/upyun/upyunhttpclient.h"

#include "net/chainedbodydevice.h"
#include "net/networkclient.h"
#include "net/streaminguploadreply.h"
#include "net/netlogging.h"

#include <QBuffer>
#include <QCoreApplication>
#include <QLoggingCategory>
#include <QNetworkCookieJar>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QRandomGenerator>
#include <QUrl>

namespace {

// Cookies a store sets are kept for the process and sent back by every later client.
QNetworkCookieJar *sharedCookieJar()
{
    static QNetworkCookieJar *jar = new QNetworkCookieJar(QCoreApplication::instance());
    return jar;
}

} // namespace

UpYunHttpClient::UpYunHttpClient(QObject *parent)
    : QObject(parent)
{
}

QByteArray UpYunHttpClient::bodyHead(const QString &boundary, const QList<QPair<QString, QString>> &parameters,
                                     const QString &formName, const QString &fileName, const QString &mimeType,
                                     bool withFile)
{
    QByteArray body;
    for (const auto &parameter : parameters) {
        body += QStringLiteral("--%1\r\n").arg(boundary).toUtf8();
        body += QStringLiteral("Content-Disposition: form-data; name=\"%1\"\r\n\r\n").arg(parameter.first).toUtf8();
        body += QStringLiteral("%1\r\n").arg(parameter.second).toUtf8();
    }
    if (withFile) {
        body += QStringLiteral("--%1\r\n").arg(boundary).toUtf8();
        body += QStringLiteral("Content-Disposition: form-data; name=\"%1\"; filename=\"%2\"\r\n").arg(formName, fileName).toUtf8();
        body += QStringLiteral("Content-Type: %1\r\n\r\n").arg(mimeType).toUtf8();
    }
    return body;
}

QByteArray UpYunHttpClient::bodyTail(const QString &boundary, bool withFile)
{
    return (withFile ? QByteArray("\r\n") : QByteArray()) + QStringLiteral("--%1--\r\n").arg(boundary).toUtf8();
}

UpYunHttpClient *UpYunHttpClient::POST(const QString &url, const QList<QPair<QString, QString>> &parameters,
                                       const QString &formName, const QString &fileName, const QString &mimeType,
                                       const QVariant &file, const UploadCallbacks &callbacks)
{
    auto *client = new UpYunHttpClient(QCoreApplication::instance());
    client->m_completionHandler = callbacks.done;
    client->m_dataSendProgressHandler = callbacks.progress;

    const QString boundary = QStringLiteral("%1%2").arg(boundaryPrefix()).arg(QRandomGenerator::global()->bounded(2147483648u));
    QIODevice *body = nullptr;
    if (file.typeId() == QMetaType::QString)
        body = ChainedBodyDevice::create(bodyHead(boundary, parameters, formName, fileName, mimeType, true), file.toString(),
                                         bodyTail(boundary, true), client);
    else if (file.typeId() == QMetaType::QByteArray)
        body = ChainedBodyDevice::create(bodyHead(boundary, parameters, formName, fileName, mimeType, true) + file.toByteArray(),
                                         QString(), bodyTail(boundary, true), client);
    if (!body) {
        if (file.typeId() == QMetaType::QString)
            qCWarning(lcUpClient, "cannot read the file to upload; the form goes without it");
        body = ChainedBodyDevice::create(bodyHead(boundary, parameters, formName, fileName, mimeType, false), QString(),
                                         bodyTail(boundary, false), client);
    }

    QNetworkRequest request{QUrl(url)};
    request.setRawHeader("Accept", "application/json");
    request.setHeader(QNetworkRequest::ContentTypeHeader, QStringLiteral("multipart/form-data; boundary=%1").arg(boundary).toUtf8());
    request.setHeader(QNetworkRequest::ContentLengthHeader, body->size());
    request.setTransferTimeout(NetworkClient::transferTimeout());
    QNetworkReply *reply = StreamingUploadReply::send("POST", request, body, client, sharedCookieJar());
    client->m_task = reply;
    connect(reply, &QNetworkReply::uploadProgress, client, [client](qint64 sent, qint64 total) {
        if (client->m_dataSendProgressHandler && total > 0)
            client->m_dataSendProgressHandler(sent, total);
    });
    connect(reply, &QNetworkReply::finished, client, &UpYunHttpClient::finished);
    return client;
}

void UpYunHttpClient::finished()
{
    QNetworkReply *reply = m_task;
    if (!reply)
        return;
    reply->deleteLater();
    const int status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
    // An error status still brings an answer; only a missing answer is a transport error.
    const bool answered = status > 0 && reply->error() != QNetworkReply::OperationCanceledError
        && reply->error() != QNetworkReply::TimeoutError;
    UploadCallbacks::Outcome outcome;
    outcome.stored = answered && status < 400;
    outcome.status = status;
    outcome.message = answered ? QString() : reply->errorString();
    outcome.answer = reply->readAll();
    const UploadCallbacks::Done completion = std::move(m_completionHandler);
    m_completionHandler = nullptr;
    m_dataSendProgressHandler = nullptr;
    if (completion)
        completion(outcome);
    deleteLater();
}

void UpYunHttpClient::cancel()
{
    if (m_task)
        m_task->abort();
}
