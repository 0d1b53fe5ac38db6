#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QList>
#include <QPair>
#include <QString>

// Reads one HTTP/1.1 answer from the bytes as they arrive, without a socket: the status line,
// the header fields, then a body framed by Content-Length, by chunks or by the end of the
// connection. Everything it keeps is bounded: the head by AnswerLimits, the decoded
// body by the cap it is given, and interim answers by their count. Any byte past a limit, or
// framing it cannot trust, ends the answer as Failed with a text naming the limit.
class HttpAnswerParser final
{
public:
    enum class State { Head,
                       Body,
                       Complete,
                       Failed };
    enum class Failure { None,
                         Protocol,
                         TooLarge };

    explicit HttpAnswerParser(qint64 maximumBody);

    // Takes the next bytes of the connection; bytes after a complete answer are ignored.
    State feed(QByteArrayView bytes);
    // The connection closed: an answer read to its end is complete, any other fails.
    State closed();

    State state() const { return m_state; }
    Failure failure() const { return m_failure; }
    QString errorText() const { return m_error; }
    bool isHeadComplete() const { return m_state != State::Head && m_status > 0; }

    int status() const { return m_status; }
    QByteArray reasonPhrase() const { return m_reason; }
    // In the order sent; names as the server wrote them.
    const QList<QPair<QByteArray, QByteArray>> &fields() const { return m_fields; }
    qint64 contentLength() const { return m_contentLength; }
    const QByteArray &body() const { return m_body; }
    QByteArray takeBody();

private:
    enum class Framing { Length,
                         Chunked,
                         UntilClose };
    enum class ChunkStep { Size,
                           Data,
                           DataEnd,
                           Trailer };

    void readHead(QByteArrayView &bytes);
    bool takeHead(const QByteArray &head);
    void readChunked(QByteArrayView &bytes);
    bool takeChunkSize(const QByteArray &line);
    bool takeLine(QByteArrayView &bytes, QByteArray *line);
    bool appendBody(QByteArrayView bytes);
    void fail(Failure failure, const QString &text);

    qint64 m_maximumBody = 0;
    State m_state = State::Head;
    Failure m_failure = Failure::None;
    QString m_error;

    QByteArray m_head;
    int m_interim = 0;
    int m_status = 0;
    QByteArray m_reason;
    QList<QPair<QByteArray, QByteArray>> m_fields;

    Framing m_framing = Framing::UntilClose;
    qint64 m_contentLength = -1;
    ChunkStep m_chunkStep = ChunkStep::Size;
    qint64 m_chunkLeft = 0;
    QByteArray m_line;
    qint64 m_trailerBytes = 0;
    int m_trailerFields = 0;
    QByteArray m_body;
};
