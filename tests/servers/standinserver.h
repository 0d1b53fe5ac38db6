#pragma once

#include <QByteArray>
#include <QHash>
#include <QJsonObject>
#include <QList>
#include <QObject>
#include <QPair>
#include <QSet>
#include <QString>
#include <QStringList>
#include <QTcpServer>
#include <QUrlQuery>

#include <chrono>
#include <functional>

class QTcpSocket;

// One HTTP request as a stand-in received it.
struct StandInRequest {
    QByteArray method;
    QByteArray target; // as sent: path and query, still percent-encoded
    QByteArray rawPath; // the target's path, still percent-encoded
    QString path; // the path decoded
    QUrlQuery query;
    QByteArray rawQuery;
    QList<QPair<QByteArray, QByteArray>> headers;
    QByteArray body;

    bool hasHeader(const QByteArray &name) const;
    QByteArray header(const QByteArray &name) const;
    // The body's form-URL-encoded fields, decoded ("+" stays "+", as the senders encode spaces
    // as "%20").
    QHash<QString, QString> formFields() const;
};

// One part of a multipart body.
struct StandInPart {
    QByteArray disposition;
    QString name;
    QString fileName;
    bool hasFileName = false;
    QByteArray contentType;
    bool hasContentType = false;
    QByteArray data;
};

// A multipart body split at the boundary its Content-Type names; false (and why, in error)
// when the two do not agree or the body is malformed.
bool parseMultipart(const StandInRequest &request, QList<StandInPart> *parts, QString *error, QByteArray *boundary = nullptr);

struct StandInResponse {
    enum class Behaviour {
        Answer, // the answer as given
        Close, // close the connection without an answer
        Stall, // the status line and headers, then silence with the connection open
        Truncate, // a Content-Length larger than the body sent, then close
        Stream, // streamSize bytes of body, sent as the client reads
        Slow, // the answer after delayMs
        Script, // script as it is, then repeat for ever: every intervalMs, or as the client reads
    };
    int status = 200;
    QByteArray reason = "OK";
    QList<QPair<QByteArray, QByteArray>> headers;
    QByteArray body;
    Behaviour behaviour = Behaviour::Answer;
    qint64 streamSize = 0;
    int delayMs = 0;
    QByteArray script;
    QByteArray repeat;
    int intervalMs = 0;

    void addHeader(const QByteArray &name, const QByteArray &value) { headers.append(qMakePair(name, value)); }

    static StandInResponse json(const QByteArray &body, int status = 200);
    static StandInResponse json(const QJsonObject &object, int status = 200);
    static StandInResponse text(const QByteArray &contentType, const QByteArray &body, int status = 200);
};

// A small HTTP/1.1 server on 127.0.0.1 and a free port. Each stand-in checks what it
// recipients as the real service would; whatever does not fit is recorded in problems() and
// answered as the real service answers a bad request.
class StandInServer : public QObject
{
    Q_OBJECT

public:
    using Handler = std::function<StandInResponse(const StandInRequest &request)>;

    explicit StandInServer(QObject *parent = nullptr);
    ~StandInServer() override;

    bool start();
    quint16 port() const;
    QString baseUrl() const;

    void setHandler(const Handler &handler) { m_handler = handler; }
    // Answers every following request with this one instead of the handler's, once or always.
    void setOverride(const StandInResponse &response, bool once = true);
    void clearOverride() { m_hasOverride = false; }
    // Connections accepted from now on are never read past the first few kilobytes nor
    // answered, and stay open: a store that stalls in the middle of an upload.
    void setStopReading(bool stop) { m_stopReading = stop; }
    int stoppedConnections() const { return m_stoppedConnections; }

    const QList<StandInRequest> &requests() const { return m_requests; }
    int requestCount() const { return int(m_requests.size()); }
    void clearRequests() { m_requests.clear(); }
    const QStringList &problems() const { return m_problems; }
    void clearProblems() { m_problems.clear(); }
    void problem(const QString &text) { m_problems.append(text); }

    // When the last byte of the last answer left the server.
    std::chrono::steady_clock::time_point lastAnswerSent() const { return m_lastAnswerSent; }

Q_SIGNALS:
    void requestReceived();

protected:
    // The answer to a request, checked as the service would check it: the handler's, unless a
    // stand-in plays a service.
    virtual StandInResponse handle(const StandInRequest &request);

private:
    void onNewConnection();
    void onReadyRead(QTcpSocket *socket);
    void answer(QTcpSocket *socket, const StandInResponse &response);

    QTcpServer m_server;
    Handler m_handler;
    StandInResponse m_override;
    bool m_hasOverride = false;
    bool m_overrideOnce = true;
    bool m_stopReading = false;
    int m_stoppedConnections = 0;
    QHash<QTcpSocket *, QByteArray> m_buffers;
    QList<StandInRequest> m_requests;
    QStringList m_problems;
    std::chrono::steady_clock::time_point m_lastAnswerSent;
};

// A store: the objects it holds, by "BUCKET/KEY", and the keys whose upload it answers with an
// internal error, as a store in trouble does.
class StoreStandIn : public StandInServer
{
public:
    using StandInServer::StandInServer;

    QHash<QString, QByteArray> objects;
    QSet<QString> failingKeys;
};
