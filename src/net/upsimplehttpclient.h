#pragma once

#include <QByteArray>
#include <QList>
#include <QObject>
#include <QPair>
#include <QPointer>
#include <QString>
#include <QVariant>

#include <functional>

class QNetworkReply;

// A minimal client for one multipart POST: it writes the form body itself (the file part
// streamed from disk when given a path), reports upload progress and hands back the raw
// answer. Each request has a client of its own, torn down after its completion has run.
class UpSimpleHttpClient final : public QObject
{
    Q_OBJECT

public:
    // (transport error text, empty when an answer came; HTTP status; the answer's body).
    using CompletionHandler = std::function<void(const QString &error, int statusCode, const QByteArray &body)>;
    using SendProgressBlock = std::function<void(qint64 completed, qint64 total)>;

    static QString boundaryPrefix()
    {
        return QStringLiteral("simpleHttpClientFormBoundaryFriSep25V01|hash3ad538ea94b02b486cc9e4ab6c499f69");
    }

    // file: a QString path, read as the body is sent, or QByteArray bytes; anything else
    // (or an unreadable path) sends no file part. Parameters go in the order given.
    static UpSimpleHttpClient *POST(const QString &url, const QList<QPair<QString, QString>> &parameters,
                                    const QString &formName, const QString &fileName, const QString &mimeType,
                                    const QVariant &file, const SendProgressBlock &sendProgressBlock,
                                    const CompletionHandler &completionHandler);

    // The body around the file's bytes: everything before them and everything after.
    static QByteArray bodyHead(const QString &boundary, const QList<QPair<QString, QString>> &parameters,
                               const QString &formName, const QString &fileName, const QString &mimeType, bool withFile);
    static QByteArray bodyTail(const QString &boundary, bool withFile);

    void cancel();

private:
    explicit UpSimpleHttpClient(QObject *parent);
    void finished();

    QPointer<QNetworkReply> m_task;
    CompletionHandler m_completionHandler;
    SendProgressBlock m_dataSendProgressHandler;
};
