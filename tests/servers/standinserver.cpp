#include "standinserver.h"

#include <QJsonDocument>
#include <QTcpSocket>
#include <QTimer>

#include <algorithm>

bool StandInRequest::hasHeader(const QByteArray &name) const
{
    return std::any_of(headers.cbegin(), headers.cend(), [&name](const auto &pair) { return pair.first.compare(name, Qt::CaseInsensitive) == 0; });
}

QByteArray StandInRequest::header(const QByteArray &name) const
{
    for (const auto &[key, value] : headers) {
        if (key.compare(name, Qt::CaseInsensitive) == 0)
            return value;
    }
    return QByteArray();
}

QHash<QString, QString> StandInRequest::formFields() const
{
    QHash<QString, QString> fields;
    for (const QByteArray &pair : body.split('&')) {
        if (pair.isEmpty())
            continue;
        const qsizetype eq = pair.indexOf('=');
        const QByteArray key = eq < 0 ? pair : pair.left(eq);
        const QByteArray value = eq < 0 ? QByteArray() : pair.mid(eq + 1);
        fields.insert(QString::fromUtf8(QByteArray::fromPercentEncoding(key)),
                      QString::fromUtf8(QByteArray::fromPercentEncoding(value)));
    }
    return fields;
}

bool parseMultipart(const StandInRequest &request, QList<StandInPart> *parts, QString *error, QByteArray *boundaryOut)
{
    const QByteArray type = request.header("Content-Type");
    const QByteArray prefix = "multipart/form-data; boundary=";
    if (!type.startsWith(prefix)) {
        *error = QStringLiteral("Content-Type is \"%1\", not multipart/form-data with a boundary").arg(QString::fromLatin1(type));
        return false;
    }
    const QByteArray boundary = type.mid(prefix.size());
    if (boundaryOut)
        *boundaryOut = boundary;
    const QByteArray dashes = "--" + boundary;
    const QByteArray &body = request.body;
    if (!body.startsWith(dashes + "\r\n")) {
        *error = QStringLiteral("the body does not start with the boundary of the Content-Type");
        return false;
    }
    if (!body.endsWith("\r\n" + dashes + "--\r\n")) {
        *error = QStringLiteral("the body does not end with the closing boundary");
        return false;
    }
    qsizetype at = dashes.size() + 2;
    const QByteArray separator = "\r\n" + dashes;
    while (true) {
        const qsizetype end = body.indexOf(separator, at);
        if (end < 0) {
            *error = QStringLiteral("a part is not closed by the boundary");
            return false;
        }
        const QByteArray chunk = body.mid(at, end - at);
        const qsizetype headerEnd = chunk.indexOf("\r\n\r\n");
        if (headerEnd < 0) {
            *error = QStringLiteral("a part has no header end");
            return false;
        }
        StandInPart part;
        for (const QByteArray &line : chunk.left(headerEnd).split('\n')) {
            const QByteArray trimmed = line.trimmed();
            if (trimmed.toLower().startsWith("content-disposition:")) {
                part.disposition = trimmed.mid(20).trimmed();
                for (const QByteArray &piece : part.disposition.split(';')) {
                    const QByteArray p = piece.trimmed();
                    if (p.startsWith("name=\""))
                        part.name = QString::fromUtf8(p.mid(6, p.size() - 7));
                    else if (p.startsWith("filename=\"")) {
                        part.fileName = QString::fromUtf8(p.mid(10, p.size() - 11));
                        part.hasFileName = true;
                    }
                }
            } else if (trimmed.toLower().startsWith("content-type:")) {
                part.contentType = trimmed.mid(13).trimmed();
                part.hasContentType = true;
            }
        }
        part.data = chunk.mid(headerEnd + 4);
        parts->append(part);
        at = end + separator.size();
        if (body.mid(at, 2) == "--")
            return true;
        if (body.mid(at, 2) != "\r\n") {
            *error = QStringLiteral("a boundary is not followed by a line end");
            return false;
        }
        at += 2;
    }
}

StandInResponse StandInResponse::json(const QByteArray &body, int status)
{
    return text("application/json;charset=UTF-8", body, status);
}

StandInResponse StandInResponse::json(const QJsonObject &object, int status)
{
    return json(QJsonDocument(object).toJson(QJsonDocument::Compact), status);
}

StandInResponse StandInResponse::text(const QByteArray &contentType, const QByteArray &body, int status)
{
    StandInResponse response;
    response.status = status;
    response.reason = status == 200 ? "OK" : status == 403 ? "Forbidden"
        : status == 400                                    ? "Bad Request"
                                                           : "Status";
    response.addHeader("Content-Type", contentType);
    response.body = body;
    return response;
}

StandInServer::StandInServer(QObject *parent)
    : QObject(parent)
{
    connect(&m_server, &QTcpServer::newConnection, this, &StandInServer::onNewConnection);
}

StandInServer::~StandInServer()
{
    // The connections' handlers use this object's members: end them while those still live.
    for (QTcpSocket *socket : m_server.findChildren<QTcpSocket *>()) {
        socket->disconnect(this);
        delete socket;
    }
}

bool StandInServer::start()
{
    return m_server.listen(QHostAddress::LocalHost, 0);
}

quint16 StandInServer::port() const
{
    return m_server.serverPort();
}

QString StandInServer::baseUrl() const
{
    return QStringLiteral("http://127.0.0.1:%1").arg(port());
}

void StandInServer::setOverride(const StandInResponse &response, bool once)
{
    m_override = response;
    m_hasOverride = true;
    m_overrideOnce = once;
}

StandInResponse StandInServer::handle(const StandInRequest &request)
{
    return m_handler ? m_handler(request) : StandInResponse::text("text/plain", "no handler", 500);
}

void StandInServer::onNewConnection()
{
    while (QTcpSocket *socket = m_server.nextPendingConnection()) {
        if (m_stopReading) {
            // Qt would otherwise keep draining the kernel's buffer into its own; with both
            // full, the client's writes stop.
            socket->setReadBufferSize(4096);
            ++m_stoppedConnections;
            connect(socket, &QTcpSocket::disconnected, socket, &QObject::deleteLater);
            continue;
        }
        m_buffers.insert(socket, QByteArray());
        connect(socket, &QTcpSocket::readyRead, this, [this, socket] { onReadyRead(socket); });
        connect(socket, &QTcpSocket::bytesWritten, this, [this, socket] {
            if (socket->bytesToWrite() == 0)
                m_lastAnswerSent = std::chrono::steady_clock::now();
        });
        connect(socket, &QTcpSocket::disconnected, this, [this, socket] {
            m_buffers.remove(socket);
            socket->deleteLater();
        });
    }
}

void StandInServer::onReadyRead(QTcpSocket *socket)
{
    QByteArray &buffer = m_buffers[socket];
    buffer += socket->readAll();
    while (true) {
        const qsizetype headerEnd = buffer.indexOf("\r\n\r\n");
        if (headerEnd < 0)
            return;
        const QList<QByteArray> lines = buffer.left(headerEnd).split('\n');
        StandInRequest request;
        const QList<QByteArray> requestLine = lines.first().trimmed().split(' ');
        request.method = requestLine.value(0);
        request.target = requestLine.value(1);
        qint64 length = 0;
        for (qsizetype i = 1; i < lines.size(); ++i) {
            const QByteArray line = lines[i];
            const qsizetype colon = line.indexOf(':');
            if (colon < 0)
                continue;
            // A header with an empty value keeps its empty value: the checks need to see it. The
            // white space around a value is not part of it, and clients differ in what they send.
            const QByteArray value = line.mid(colon + 1).trimmed();
            request.headers.append(qMakePair(line.left(colon), value));
            if (line.left(colon).compare("Content-Length", Qt::CaseInsensitive) == 0)
                length = value.trimmed().toLongLong();
        }
        if (buffer.size() < headerEnd + 4 + length)
            return;
        request.body = buffer.mid(headerEnd + 4, length);
        buffer.remove(0, headerEnd + 4 + length);

        const qsizetype question = request.target.indexOf('?');
        request.rawPath = question < 0 ? request.target : request.target.left(question);
        request.rawQuery = question < 0 ? QByteArray() : request.target.mid(question + 1);
        request.path = QString::fromUtf8(QByteArray::fromPercentEncoding(request.rawPath));
        request.query = QUrlQuery(QString::fromUtf8(request.rawQuery));
        m_requests.append(request);

        StandInResponse response = handle(request); // checked as the real service would, even when overridden
        if (m_hasOverride) {
            response = m_override;
            if (m_overrideOnce)
                m_hasOverride = false;
        }
        Q_EMIT requestReceived();
        answer(socket, response);
        if (socket->state() != QAbstractSocket::ConnectedState)
            return;
    }
}

void StandInServer::answer(QTcpSocket *socket, const StandInResponse &response)
{
    using Behaviour = StandInResponse::Behaviour;
    if (response.behaviour == Behaviour::Close) {
        socket->disconnectFromHost();
        return;
    }
    if (response.behaviour == Behaviour::Slow) {
        StandInResponse now = response;
        now.behaviour = Behaviour::Answer;
        QTimer::singleShot(response.delayMs, socket, [this, socket, now] { answer(socket, now); });
        return;
    }
    if (response.behaviour == Behaviour::Script) {
        socket->write(response.script);
        const QByteArray repeat = response.repeat;
        if (repeat.isEmpty())
            return;
        if (response.intervalMs > 0) {
            auto *timer = new QTimer(socket);
            connect(timer, &QTimer::timeout, socket, [socket, repeat] { socket->write(repeat); });
            timer->start(response.intervalMs);
            return;
        }
        // Never more than a few blocks ahead of the client, however long it keeps reading.
        const auto more = [socket, repeat] {
            while (socket->bytesToWrite() < 256 * 1024)
                socket->write(repeat);
        };
        connect(socket, &QTcpSocket::bytesWritten, socket, more);
        more();
        return;
    }
    QByteArray head = "HTTP/1.1 " + QByteArray::number(response.status) + ' ' + response.reason + "\r\n";
    bool hasLength = false;
    for (const auto &[name, value] : response.headers) {
        head += name + ": " + value + "\r\n";
        hasLength = hasLength || name.compare("Content-Length", Qt::CaseInsensitive) == 0;
    }
    qint64 declared = response.body.size();
    if (response.behaviour == Behaviour::Truncate)
        declared = response.body.size() * 2 + 10;
    if (response.behaviour == Behaviour::Stream)
        declared = response.streamSize;
    if (!hasLength && response.behaviour != Behaviour::Stall)
        head += "Content-Length: " + QByteArray::number(declared) + "\r\n";
    head += "\r\n";

    switch (response.behaviour) {
    case Behaviour::Stall:
        // Headers, then nothing at all while the connection stays open.
        socket->write(head);
        return;
    case Behaviour::Truncate:
        socket->write(head + response.body);
        socket->flush();
        socket->disconnectFromHost();
        return;
    case Behaviour::Stream: {
        socket->write(head);
        auto *left = new qint64(response.streamSize);
        const QByteArray block(64 * 1024, 'x');
        const auto more = [socket, left, block] {
            while (*left > 0 && socket->bytesToWrite() < 4 * block.size()) {
                const qint64 n = std::min<qint64>(*left, block.size());
                socket->write(block.constData(), n);
                *left -= n;
            }
        };
        connect(socket, &QTcpSocket::bytesWritten, socket, more);
        connect(socket, &QObject::destroyed, socket, [left] { delete left; });
        more();
        return;
    }
    default:
        break;
    }
    socket->write(head + response.body);
    socket->flush();
    if (socket->bytesToWrite() == 0)
        m_lastAnswerSent = std::chrono::steady_clock::now();
}
