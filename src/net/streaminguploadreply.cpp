#include "streaminguploadreply.h"

#include <QMetaObject>
#include <QNetworkAccessManager>
#include <QNetworkCookie>
#include <QNetworkCookieJar>
#include <QSslSocket>
#include <QTcpSocket>

#include <algorithm>
#include <cstring>

namespace {

// Blocks as large as the kernel takes in one go, and a few of them queued, so that the
// socket never waits for the next read of the file.
constexpr qint64 blockSize = 256 * 1024;
constexpr qint64 queuedBytes = 1024 * 1024;
// The stores answer an upload in a few hundred bytes; anything near this is no answer of theirs.
constexpr qint64 maximumAnswer = 64 * 1024 * 1024;

QNetworkReply::NetworkError statusError(int status)
{
    switch (status) {
    case 400: return QNetworkReply::ProtocolInvalidOperationError;
    case 401: return QNetworkReply::AuthenticationRequiredError;
    case 403: return QNetworkReply::ContentAccessDenied;
    case 404: return QNetworkReply::ContentNotFoundError;
    case 405: return QNetworkReply::ContentOperationNotPermittedError;
    case 407: return QNetworkReply::ProxyAuthenticationRequiredError;
    case 409: return QNetworkReply::ContentConflictError;
    case 410: return QNetworkReply::ContentGoneError;
    case 418: return QNetworkReply::ProtocolInvalidOperationError;
    case 500: return QNetworkReply::InternalServerError;
    case 501: return QNetworkReply::OperationNotImplementedError;
    case 503: return QNetworkReply::ServiceUnavailableError;
    default:
        if (status >= 500)
            return QNetworkReply::UnknownServerError;
        if (status >= 400)
            return QNetworkReply::UnknownContentError;
        return QNetworkReply::NoError;
    }
}

QNetworkReply::NetworkError socketError(QAbstractSocket::SocketError error)
{
    switch (error) {
    case QAbstractSocket::ConnectionRefusedError: return QNetworkReply::ConnectionRefusedError;
    case QAbstractSocket::RemoteHostClosedError: return QNetworkReply::RemoteHostClosedError;
    case QAbstractSocket::HostNotFoundError: return QNetworkReply::HostNotFoundError;
    case QAbstractSocket::SocketTimeoutError: return QNetworkReply::TimeoutError;
    case QAbstractSocket::SslHandshakeFailedError: return QNetworkReply::SslHandshakeFailedError;
    case QAbstractSocket::ProxyConnectionRefusedError: return QNetworkReply::ProxyConnectionRefusedError;
    case QAbstractSocket::ProxyNotFoundError: return QNetworkReply::ProxyNotFoundError;
    case QAbstractSocket::ProxyAuthenticationRequiredError: return QNetworkReply::ProxyAuthenticationRequiredError;
    default: return QNetworkReply::UnknownNetworkError;
    }
}

} // namespace

StreamingUploadReply *StreamingUploadReply::send(const QByteArray &verb, const QNetworkRequest &request, QIODevice *body,
                                                 QObject *parent, QNetworkCookieJar *cookieJar)
{
    auto *reply = new StreamingUploadReply(verb, request, body, parent, cookieJar);
    // Started from the event loop, so that nothing it reports can come before the caller has
    // connected to it.
    QMetaObject::invokeMethod(reply, &StreamingUploadReply::start, Qt::QueuedConnection);
    return reply;
}

StreamingUploadReply::StreamingUploadReply(const QByteArray &verb, const QNetworkRequest &request, QIODevice *body,
                                           QObject *parent, QNetworkCookieJar *cookieJar)
    : QNetworkReply(parent)
    , m_verb(verb)
    , m_body(body)
    , m_cookieJar(cookieJar)
    , m_bodySize(body ? body->size() : 0)
{
    setRequest(request);
    setUrl(request.url());
    setOperation(verb == "PUT" ? QNetworkAccessManager::PutOperation : QNetworkAccessManager::PostOperation);
    QIODevice::open(QIODevice::ReadOnly);
    m_stall.setSingleShot(true);
    m_stall.setInterval(request.transferTimeout() > 0 ? request.transferTimeout() : 30000);
    connect(&m_stall, &QTimer::timeout, this, [this] { fail(TimeoutError, QStringLiteral("the transfer stalled")); });
}

void StreamingUploadReply::start()
{
    const QUrl address = url();
    const bool tls = address.scheme() == QLatin1String("https");
    if ((!tls && address.scheme() != QLatin1String("http")) || (tls && !QSslSocket::supportsSsl())) {
        fail(ProtocolUnknownError, QStringLiteral("unsupported scheme"));
        return;
    }
    if (tls) {
        auto *ssl = new QSslSocket(this);
        m_socket = ssl;
        connect(ssl, &QSslSocket::encrypted, this, &StreamingUploadReply::writeHead);
        ssl->connectToHostEncrypted(address.host(), quint16(address.port(443)));
    } else {
        m_socket = new QTcpSocket(this);
        connect(m_socket, &QTcpSocket::connected, this, &StreamingUploadReply::writeHead);
        m_socket->connectToHost(address.host(), quint16(address.port(80)));
    }
    connect(m_socket, &QTcpSocket::bytesWritten, this, &StreamingUploadReply::onBytesWritten);
    connect(m_socket, &QTcpSocket::readyRead, this, &StreamingUploadReply::onReadyRead);
    connect(m_socket, &QTcpSocket::disconnected, this, &StreamingUploadReply::onDisconnected);
    connect(m_socket, &QTcpSocket::errorOccurred, this, [this](QAbstractSocket::SocketError error) {
        if (error == QAbstractSocket::RemoteHostClosedError)
            onDisconnected();
        else
            fail(socketError(error), m_socket->errorString());
    });
    m_stall.start();
}

void StreamingUploadReply::writeHead()
{
    const QUrl address = url();
    QByteArray target = address.toEncoded(QUrl::RemoveScheme | QUrl::RemoveAuthority | QUrl::RemoveFragment);
    if (target.isEmpty())
        target = "/";
    QByteArray head = m_verb + ' ' + target + " HTTP/1.1\r\n";
    head += "Host: " + address.adjusted(QUrl::RemoveUserInfo).authority(QUrl::FullyEncoded).toLatin1() + "\r\n";
    bool hasAgent = false;
    for (const QByteArray &name : request().rawHeaderList()) {
        const QByteArray lower = name.toLower();
        if (lower == "host" || lower == "content-length" || lower == "connection" || lower == "transfer-encoding")
            continue;
        hasAgent = hasAgent || lower == "user-agent";
        head += name + ": " + request().rawHeader(name) + "\r\n";
    }
    if (!hasAgent)
        head += "User-Agent: Mozilla/5.0\r\n";
    if (m_cookieJar) {
        QByteArrayList cookies;
        for (const QNetworkCookie &cookie : m_cookieJar->cookiesForUrl(address))
            cookies.append(cookie.toRawForm(QNetworkCookie::NameAndValueOnly));
        if (!cookies.isEmpty())
            head += "Cookie: " + cookies.join("; ") + "\r\n";
    }
    head += "Content-Length: " + QByteArray::number(m_bodySize) + "\r\nConnection: close\r\n\r\n";
    m_headPending = head.size();
    m_socket->write(head);
    m_stall.start();
    pump();
}

void StreamingUploadReply::pump()
{
    auto *ssl = qobject_cast<QSslSocket *>(m_socket);
    while (!m_done && m_bodyQueued < m_bodySize
           && m_socket->bytesToWrite() + (ssl ? ssl->encryptedBytesToWrite() : 0) < queuedBytes) {
        QByteArray block(std::min(blockSize, m_bodySize - m_bodyQueued), Qt::Uninitialized);
        const qint64 got = m_body->read(block.data(), block.size());
        if (got <= 0) {
            fail(UnknownNetworkError, QStringLiteral("the body ended before its announced size"));
            return;
        }
        block.truncate(got);
        m_bodyQueued += got;
        m_socket->write(block);
    }
}

void StreamingUploadReply::onBytesWritten(qint64 bytes)
{
    const qint64 ofHead = std::min(bytes, m_headPending);
    m_headPending -= ofHead;
    if (bytes > ofHead) {
        m_bodySent += bytes - ofHead;
        Q_EMIT uploadProgress(m_bodySent, m_bodySize);
    }
    m_stall.start();
    pump();
}

void StreamingUploadReply::onReadyRead()
{
    if (m_done)
        return;
    m_in += m_socket->readAll();
    m_stall.start();
    if (m_in.size() > maximumAnswer) {
        fail(UnknownContentError, QStringLiteral("the answer is too large"));
        return;
    }
    if (!m_headParsed && !parseHead())
        return;
    Q_EMIT downloadProgress(m_in.size(), m_contentLength);
    if (parseBody())
        complete();
}

bool StreamingUploadReply::parseHead()
{
    while (true) {
        const qsizetype end = m_in.indexOf("\r\n\r\n");
        if (end < 0)
            return false;
        const QList<QByteArray> lines = m_in.left(end).split('\n');
        m_in.remove(0, end + 4);
        const QList<QByteArray> statusLine = lines.first().trimmed().split(' ');
        bool ok = false;
        const int status = statusLine.value(1).toInt(&ok);
        if (!statusLine.value(0).startsWith("HTTP/") || !ok) {
            fail(ProtocolFailure, QStringLiteral("not an HTTP answer"));
            return false;
        }
        // An interim answer ("100 Continue") comes before the real one.
        if (status >= 100 && status < 200)
            continue;
        setAttribute(QNetworkRequest::HttpStatusCodeAttribute, status);
        setAttribute(QNetworkRequest::HttpReasonPhraseAttribute,
                     QString::fromLatin1(lines.first().trimmed().split(' ').mid(2).join(' ')));
        QList<QPair<QByteArray, QByteArray>> fields;
        for (qsizetype i = 1; i < lines.size(); ++i) {
            const qsizetype colon = lines[i].indexOf(':');
            if (colon <= 0)
                continue;
            const QByteArray name = lines[i].left(colon).trimmed();
            const QByteArray value = lines[i].mid(colon + 1).trimmed();
            const QByteArray lower = name.toLower();
            if (lower == "content-length")
                m_contentLength = value.toLongLong();
            else if (lower == "transfer-encoding" && value.toLower().contains("chunked"))
                m_chunked = true;
            auto existing = std::find_if(fields.begin(), fields.end(),
                                         [&](const auto &field) { return field.first.compare(name, Qt::CaseInsensitive) == 0; });
            if (existing == fields.end())
                fields.append({name, value});
            else
                existing->second += (lower == "set-cookie" ? "\n" : ", ") + value;
        }
        for (const auto &field : std::as_const(fields))
            setRawHeader(field.first, field.second);
        if (status == 204 || status == 304)
            m_contentLength = 0;
        m_headParsed = true;
        return true;
    }
}

bool StreamingUploadReply::parseBody()
{
    if (m_chunked) {
        while (true) {
            const qsizetype lineEnd = m_in.indexOf("\r\n");
            if (lineEnd < 0)
                return false;
            bool ok = false;
            const qint64 size = m_in.left(lineEnd).split(';').first().trimmed().toLongLong(&ok, 16);
            if (!ok) {
                fail(ProtocolFailure, QStringLiteral("a malformed chunk"));
                return false;
            }
            if (size == 0)
                return m_in.indexOf("\r\n\r\n", lineEnd) >= 0 || m_in.mid(lineEnd) == "\r\n\r\n";
            if (m_in.size() < lineEnd + 2 + size + 2)
                return false;
            m_answer += m_in.mid(lineEnd + 2, size);
            m_in.remove(0, lineEnd + 2 + size + 2);
        }
    }
    if (m_contentLength < 0)
        return false;
    if (m_in.size() < m_contentLength)
        return false;
    m_answer = m_in.left(m_contentLength);
    return true;
}

void StreamingUploadReply::onDisconnected()
{
    if (m_done)
        return;
    if (m_headParsed && !m_chunked && m_contentLength < 0) {
        m_answer = m_in;
        complete();
        return;
    }
    fail(RemoteHostClosedError, QStringLiteral("the connection was closed before the answer"));
}

void StreamingUploadReply::complete()
{
    if (m_done)
        return;
    m_done = true;
    if (m_cookieJar) {
        QList<QNetworkCookie> cookies;
        for (const QByteArray &line : rawHeader("Set-Cookie").split('\n'))
            cookies += QNetworkCookie::parseCookies(line);
        if (!cookies.isEmpty())
            m_cookieJar->setCookiesFromUrl(cookies, url());
    }
    const int status = attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
    const NetworkError error = statusError(status);
    if (error != NoError)
        setError(error, attribute(QNetworkRequest::HttpReasonPhraseAttribute).toString());
    finishReply();
}

void StreamingUploadReply::fail(NetworkError error, const QString &text)
{
    if (m_done)
        return;
    m_done = true;
    m_answer.clear();
    setError(error, text);
    finishReply();
}

void StreamingUploadReply::finishReply()
{
    m_stall.stop();
    if (m_socket) {
        m_socket->disconnect(this);
        m_socket->abort();
    }
    setFinished(true);
    if (error() != NoError)
        Q_EMIT errorOccurred(error());
    Q_EMIT finished();
}

void StreamingUploadReply::abort()
{
    fail(OperationCanceledError, QStringLiteral("aborted"));
}

qint64 StreamingUploadReply::bytesAvailable() const
{
    return m_answer.size() - m_answerRead + QIODevice::bytesAvailable();
}

qint64 StreamingUploadReply::readData(char *data, qint64 maxSize)
{
    const qint64 count = std::min(maxSize, qint64(m_answer.size()) - m_answerRead);
    if (count <= 0)
        return m_done ? -1 : 0;
    std::memcpy(data, m_answer.constData() + m_answerRead, size_t(count));
    m_answerRead += count;
    return count;
}
