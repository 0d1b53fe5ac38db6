#include "net/streaminguploadreply.h"

#include "net/answerlimits.h"
#include "net/networkclient.h"
#include "net/netlogging.h"

#include <QLoggingCategory>
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

QNetworkReply::NetworkError statusError(int status)
{
    switch (status) {
    case 400:
        return QNetworkReply::ProtocolInvalidOperationError;
    case 401:
        return QNetworkReply::AuthenticationRequiredError;
    case 403:
        return QNetworkReply::ContentAccessDenied;
    case 404:
        return QNetworkReply::ContentNotFoundError;
    case 405:
        return QNetworkReply::ContentOperationNotPermittedError;
    case 407:
        return QNetworkReply::ProxyAuthenticationRequiredError;
    case 409:
        return QNetworkReply::ContentConflictError;
    case 410:
        return QNetworkReply::ContentGoneError;
    case 418:
        return QNetworkReply::ProtocolInvalidOperationError;
    case 500:
        return QNetworkReply::InternalServerError;
    case 501:
        return QNetworkReply::OperationNotImplementedError;
    case 503:
        return QNetworkReply::ServiceUnavailableError;
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
    case QAbstractSocket::ConnectionRefusedError:
        return QNetworkReply::ConnectionRefusedError;
    case QAbstractSocket::RemoteHostClosedError:
        return QNetworkReply::RemoteHostClosedError;
    case QAbstractSocket::HostNotFoundError:
        return QNetworkReply::HostNotFoundError;
    case QAbstractSocket::SocketTimeoutError:
        return QNetworkReply::TimeoutError;
    case QAbstractSocket::SslHandshakeFailedError:
        return QNetworkReply::SslHandshakeFailedError;
    case QAbstractSocket::ProxyConnectionRefusedError:
        return QNetworkReply::ProxyConnectionRefusedError;
    case QAbstractSocket::ProxyNotFoundError:
        return QNetworkReply::ProxyNotFoundError;
    case QAbstractSocket::ProxyAuthenticationRequiredError:
        return QNetworkReply::ProxyAuthenticationRequiredError;
    default:
        return QNetworkReply::UnknownNetworkError;
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
    , m_parser(AnswerLimits::apiAnswer)
{
    setRequest(request);
    setUrl(request.url());
    setOperation(verb == "PUT" ? QNetworkAccessManager::PutOperation : QNetworkAccessManager::PostOperation);
    QIODevice::open(QIODevice::ReadOnly);
    m_stall.setSingleShot(true);
    m_stall.setInterval(request.transferTimeout() > 0 ? request.transferTimeout() : 30000);
    connect(&m_stall, &QTimer::timeout, this, [this] {
        fail(TimeoutError, QStringLiteral("no byte moved either way for %1 ms").arg(m_stall.interval()));
    });
    m_answerDeadline.setSingleShot(true);
    m_answerDeadline.setInterval(NetworkClient::answerTimeout());
    connect(&m_answerDeadline, &QTimer::timeout, this, [this] {
        const QString text = QStringLiteral("no complete answer within %1 ms of the request").arg(m_answerDeadline.interval());
        qCWarning(lcUploadReply, "the answer of %s is refused: %s", qUtf8Printable(url().host()), qUtf8Printable(text));
        fail(TimeoutError, text);
    });
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
    // The clock of the answer starts when the request's last byte is out; a body, however
    // large, is never cut by it.
    if (m_headPending == 0 && m_bodySent == m_bodySize && !m_answerDeadline.isActive())
        m_answerDeadline.start();
    pump();
}

void StreamingUploadReply::onReadyRead()
{
    if (m_done)
        return;
    m_stall.start();
    // A store that answers before it has read the whole body has ended the request for itself.
    if (!m_answerDeadline.isActive())
        m_answerDeadline.start();
    // Read in bounded pieces: what the parser refuses never piles up here first.
    char piece[64 * 1024];
    qint64 got = 0;
    while ((got = m_socket->read(piece, sizeof(piece))) > 0) {
        const HttpAnswerParser::State state = m_parser.feed(QByteArrayView(piece, got));
        if (state == HttpAnswerParser::State::Failed) {
            failParser();
            return;
        }
        if (!m_headTaken && m_parser.isHeadComplete())
            takeHead();
        if (state == HttpAnswerParser::State::Complete) {
            complete();
            return;
        }
    }
    if (m_headTaken)
        Q_EMIT downloadProgress(m_parser.body().size(), m_parser.contentLength());
}

void StreamingUploadReply::takeHead()
{
    m_headTaken = true;
    setAttribute(QNetworkRequest::HttpStatusCodeAttribute, m_parser.status());
    setAttribute(QNetworkRequest::HttpReasonPhraseAttribute, QString::fromLatin1(m_parser.reasonPhrase()));
    QList<QPair<QByteArray, QByteArray>> fields;
    for (const auto &received : m_parser.fields()) {
        const QByteArray &name = received.first;
        auto existing = std::find_if(fields.begin(), fields.end(),
                                     [&](const auto &field) { return field.first.compare(name, Qt::CaseInsensitive) == 0; });
        if (existing == fields.end())
            fields.append(received);
        else
            existing->second += (name.compare("set-cookie", Qt::CaseInsensitive) == 0 ? "\n" : ", ") + received.second;
    }
    for (const auto &field : std::as_const(fields))
        setRawHeader(field.first, field.second);
}

void StreamingUploadReply::failParser()
{
    qCWarning(lcUploadReply, "the answer of %s is refused: %s", qUtf8Printable(url().host()),
              qUtf8Printable(m_parser.errorText()));
    fail(m_parser.failure() == HttpAnswerParser::Failure::TooLarge ? UnknownContentError : ProtocolFailure,
         m_parser.errorText());
}

void StreamingUploadReply::onDisconnected()
{
    if (m_done)
        return;
    // Whatever the socket still holds is part of the answer.
    onReadyRead();
    if (m_done)
        return;
    if (m_parser.closed() == HttpAnswerParser::State::Complete) {
        if (!m_headTaken)
            takeHead();
        complete();
        return;
    }
    fail(RemoteHostClosedError, m_parser.errorText());
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
    m_answer = m_parser.takeBody();
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
    setAttribute(QNetworkRequest::HttpStatusCodeAttribute, QVariant());
    setAttribute(QNetworkRequest::HttpReasonPhraseAttribute, QVariant());
    setError(error, text);
    finishReply();
}

void StreamingUploadReply::finishReply()
{
    m_stall.stop();
    m_answerDeadline.stop();
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
