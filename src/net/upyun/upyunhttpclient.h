#pragma once

#include "net/uploadcallbacks.h"

#include <QByteArray>
#include <QList>
#include <QObject>
#include <QPair>
#include <QPointer>
#include <QString>
#include <QVariant>

class QNetworkReply;

// A minimal client for one multipart POST: it writes the form body itself (the file part
// streamed from disk when given a path), reports upload progress and hands back the raw
// answer. Each request has a client of its own, torn down after its completion has run.
class UpYunHttpClient final : public QObject
{
    Q_OBJECT

public:
    static QString boundaryPrefix()
    {
        return QStringLiteral("simpleHttpClientFormBoundaryFriSep25V01|hash3ad538ea94b02b486cc9e4ab6c499f69");
    }

    // file: a QString path, read as the body is sent, or QByteArray bytes; anything else
    // (or an unreadable path) sends no file part. Parameters go in the order given. The client
    // does not read the answer: the outcome's answer is its body (QByteArray), its message the
    // transport error when no answer came, and stored means an answer came with a status
    // below 400.
    static UpYunHttpClient *POST(const QString &url, const QList<QPair<QString, QString>> &parameters,
                                 const QString &formName, const QString &fileName, const QString &mimeType,
                                 const QVariant &file, const UploadCallbacks &callbacks);

    // The body around the file's bytes: everything before them and everything after.
    static QByteArray bodyHead(const QString &boundary, const QList<QPair<QString, QString>> &parameters,
                               const QString &formName, const QString &fileName, const QString &mimeType, bool withFile);
    static QByteArray bodyTail(const QString &boundary, bool withFile);

    void cancel();

private:
    explicit UpYunHttpClient(QObject *parent);
    void finished();

    QPointer<QNetworkReply> m_task;
    UploadCallbacks::Done m_completionHandler;
    UploadCallbacks::Progress m_dataSendProgressHandler;
};
