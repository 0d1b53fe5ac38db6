#pragma once

#include "net/httpanswerparser.h"

#include <QByteArray>
#include <QList>
#include <QNetworkReply>
#include <QPointer>
#include <QTimer>

class QNetworkCookieJar;
class QTcpSocket;

// One HTTP/1.1 request whose body is streamed from a device straight into the socket, in
// large blocks, on the thread that sends it. QNetworkAccessManager hands an upload body to
// its own thread 16 KiB at a time, one round trip per block; a 1 GiB file then crawls at
// about a quarter of what the link takes. The answer is read whole, up to the cap of an API
// answer, and offered through the QNetworkReply interface, with the status, reason and header
// attributes and the errors QNetworkAccessManager would give, so that callers treat both alike.
// An answer that is refused (too large, malformed, late) leaves no status behind: callers see
// no answer, never a success.
//
// What it leaves out: redirects are not followed (the answer to the upload is the store's),
// the connection is closed after the answer, and no compression is asked for. The request's
// transferTimeout() is the longest the transfer may move no byte either way; the answer must
// be complete within NetworkClient::answerTimeout() of the request's last byte.
class StreamingUploadReply final : public QNetworkReply
{
    Q_OBJECT

public:
    // verb: "PUT" or "POST". body: open for reading, with its size known; it must outlive the
    // reply (a child of it is fine). Cookies for the URL are sent from the jar, and the ones the
    // answer sets are kept there, when a jar is given.
    static StreamingUploadReply *send(const QByteArray &verb, const QNetworkRequest &request, QIODevice *body,
                                      QObject *parent, QNetworkCookieJar *cookieJar = nullptr);

    void abort() override;
    qint64 bytesAvailable() const override;
    bool isSequential() const override { return true; }

protected:
    qint64 readData(char *data, qint64 maxSize) override;

private:
    StreamingUploadReply(const QByteArray &verb, const QNetworkRequest &request, QIODevice *body, QObject *parent,
                         QNetworkCookieJar *cookieJar);

    void start();
    void writeHead();
    void pump();
    void onBytesWritten(qint64 bytes);
    void onReadyRead();
    void onDisconnected();
    void takeHead();
    void failParser();
    void fail(NetworkError error, const QString &text);
    void complete();
    void finishReply();

    QByteArray m_verb;
    QIODevice *m_body = nullptr;
    QPointer<QNetworkCookieJar> m_cookieJar;
    QTcpSocket *m_socket = nullptr;
    QTimer m_stall;
    QTimer m_answerDeadline;
    qint64 m_bodySize = 0;
    qint64 m_bodyQueued = 0;
    qint64 m_headPending = 0; // bytes of the request head not yet written to the kernel
    qint64 m_bodySent = 0;
    HttpAnswerParser m_parser;
    bool m_headTaken = false;
    QByteArray m_answer;
    qint64 m_answerRead = 0;
    bool m_done = false;
};
