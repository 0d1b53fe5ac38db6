#include "net/networkclient.h"

#include "net/contentdecoding.h"
#include "net/servicehosts.h"
#include "net/streaminguploadreply.h"
#include "platform/settings.h"
#include "net/xmlreader.h"
#include "net/netlogging.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QJsonArray>
#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLoggingCategory>
#include <QMetaEnum>
#include <QNetworkAccessManager>
#include <QNetworkCookie>
#include <QNetworkCookieJar>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QThread>
#include <QThreadPool>
#include <QTimer>
#include <QUrl>

#include <atomic>
#include <memory>
#include <cstring>

namespace {

// 0: not set in the process; the setting or the default applies.
std::atomic_int s_transferTimeout{0};
std::atomic_int s_answerTimeout{0};

// Requests are independent: a cookie one answer sets never travels with another request.
class NoCookieJar final : public QNetworkCookieJar
{
public:
    using QNetworkCookieJar::QNetworkCookieJar;
    QList<QNetworkCookie> cookiesForUrl(const QUrl &) const override { return {}; }
    bool setCookiesFromUrl(const QList<QNetworkCookie> &, const QUrl &) override { return false; }
};

bool isUnreserved(char c)
{
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9');
}

QByteArray percentEncoded(const QByteArray &utf8, const char *alsoAllowed)
{
    static const char hex[] = "0123456789ABCDEF";
    QByteArray out;
    out.reserve(utf8.size() * 3);
    for (const char c : utf8) {
        if (isUnreserved(c) || (c != '\0' && std::strchr(alsoAllowed, c))) {
            out.append(c);
        } else {
            const auto byte = static_cast<unsigned char>(c);
            out.append('%');
            out.append(hex[byte >> 4]);
            out.append(hex[byte & 0xf]);
        }
    }
    return out;
}

QString variantText(const QVariant &value)
{
    if (value.typeId() == QMetaType::Bool)
        return value.toBool() ? QStringLiteral("1") : QStringLiteral("0");
    return value.toString();
}

void appendPair(QByteArrayList &pairs, const QString &key, const QVariant &value)
{
    const char *allowed = "-._~/?";
    if (value.typeId() == QMetaType::QVariantMap) {
        const QVariantMap map = value.toMap();
        for (auto it = map.cbegin(); it != map.cend(); ++it)
            appendPair(pairs, key + QLatin1Char('[') + it.key() + QLatin1Char(']'), it.value());
        return;
    }
    if (value.typeId() == QMetaType::QVariantList || value.typeId() == QMetaType::QStringList) {
        for (const QVariant &element : value.toList())
            appendPair(pairs, key + QLatin1String("[]"), element);
        return;
    }
    if (value.isNull() && value.typeId() != QMetaType::QString) {
        pairs.append(percentEncoded(key.toUtf8(), allowed));
        return;
    }
    pairs.append(percentEncoded(key.toUtf8(), allowed) + '=' + percentEncoded(variantText(value).toUtf8(), allowed));
}

QString describe(QNetworkReply::NetworkError error)
{
    const char *name = QMetaEnum::fromType<QNetworkReply::NetworkError>().valueToKey(error);
    return name ? QString::fromLatin1(name) : QStringLiteral("network error %1").arg(int(error));
}

} // namespace

struct NetworkClient::Request {
    Shape shape = Shape::Get;
    QString path;
    QVariantMap parameters;
    QVariantMap headers;
    QString token;
    QByteArray body;
    QString bodyFile;
    QList<FormPart> parts;
    qint64 maximumAnswer = AnswerLimits::apiAnswer;
    SuccessBlock success;
    StatusBlock status;
    FailureBlock failure;
    ProgressBlock progress;
};

FormPart FormPart::field(const QString &name, const QString &value)
{
    return FormPart{name, value.toUtf8(), QString(), QString()};
}

FormPart FormPart::fileData(const QString &name, const QByteArray &data, const QString &fileName,
                            const QString &contentType)
{
    return FormPart{name, data, fileName, contentType};
}

NetworkClient::NetworkClient() = default;

NetworkClient *NetworkClient::sharedClient()
{
    // Created once whatever thread asks first; it lives, and its requests run, on the
    // application's main thread.
    static NetworkClient *const client = [] {
        auto *created = new NetworkClient;
        if (QCoreApplication::instance())
            created->moveToThread(QCoreApplication::instance()->thread());
        return created;
    }();
    return client;
}

int NetworkClient::transferTimeout()
{
    const int set = s_transferTimeout.load();
    if (set > 0)
        return set;
    return Korvane::Settings::transferTimeout.read();
}

void NetworkClient::setTransferTimeout(int milliseconds)
{
    s_transferTimeout = milliseconds;
}

int NetworkClient::answerTimeout()
{
    const int set = s_answerTimeout.load();
    if (set > 0)
        return set;
    return Korvane::Settings::answerTimeout.read();
}

void NetworkClient::setAnswerTimeout(int milliseconds)
{
    s_answerTimeout = milliseconds;
}

QString NetworkClient::multipartBoundary()
{
    const qint64 seconds = QDateTime::currentSecsSinceEpoch();
    return QStringLiteral("===%1===").arg(seconds * 1000);
}

QByteArray NetworkClient::multipartBody(const QString &boundary, const QList<FormPart> &parts)
{
    const QByteArray dashes = "--" + boundary.toUtf8();
    QByteArray body;
    for (const FormPart &part : parts) {
        body += dashes + "\r\n";
        body += "Content-Disposition: form-data; name=\"" + part.name.toUtf8() + '"';
        if (!part.fileName.isEmpty())
            body += "; filename=\"" + part.fileName.toUtf8() + '"';
        body += "\r\n";
        if (!part.contentType.isEmpty())
            body += "Content-Type: " + part.contentType.toUtf8() + "\r\n";
        body += "\r\n";
        body += part.data;
        body += "\r\n";
    }
    body += dashes + "--\r\n";
    return body;
}

QByteArray NetworkClient::queryString(const QVariantMap &parameters)
{
    QByteArrayList pairs;
    // QVariantMap iterates its keys in ascending order.
    for (auto it = parameters.cbegin(); it != parameters.cend(); ++it)
        appendPair(pairs, it.key(), it.value());
    return pairs.join('&');
}

QString NetworkClient::queryEncodedPath(const QString &path)
{
    return QString::fromLatin1(percentEncoded(path.toUtf8(), "!$&'()*+,-./:;=?@_~"));
}

QVariant NetworkClient::jsonObject(const QByteArray &body)
{
    const QString overLimit = jsonOverLimit(body);
    if (!overLimit.isEmpty()) {
        qCWarning(lcNetwork, "the answer is refused: %s", qUtf8Printable(overLimit));
        return QVariant();
    }
    QJsonParseError error{};
    const QJsonDocument document = QJsonDocument::fromJson(body, &error);
    if (error.error != QJsonParseError::NoError || document.isNull()) {
        if (!body.trimmed().isEmpty())
            qCInfo(lcNetwork, "the answer is not JSON: %s", qUtf8Printable(error.errorString()));
        return QVariant();
    }
    return document.isArray() ? QVariant(document.array().toVariantList()) : QVariant(document.object().toVariantMap());
}

QString NetworkClient::jsonOverLimit(const QByteArray &body)
{
    int depth = 0;
    int values = 1;
    qsizetype stringStart = -1;
    bool escaped = false;
    for (qsizetype at = 0; at < body.size(); ++at) {
        const char c = body.at(at);
        if (stringStart >= 0) {
            if (at - stringStart > AnswerLimits::documentText)
                return QStringLiteral("a string is longer than %1 bytes").arg(AnswerLimits::documentText);
            if (escaped)
                escaped = false;
            else if (c == '\\')
                escaped = true;
            else if (c == '"')
                stringStart = -1;
        } else if (c == '"') {
            stringStart = at;
        } else if (c == '{' || c == '[') {
            if (++depth > AnswerLimits::documentDepth)
                return QStringLiteral("the document nests deeper than %1 levels").arg(AnswerLimits::documentDepth);
        } else if (c == ',') {
            // Each comma starts one more value; the time to read them grows with their number.
            if (++values > AnswerLimits::documentNodes)
                return QStringLiteral("the document has more than %1 values").arg(AnswerLimits::documentNodes);
        } else if (c == '}' || c == ']') {
            --depth;
        }
    }
    return QString();
}

QVariant NetworkClient::jsonAfterScript(const QByteArray &body)
{
    const QString text = QString::fromUtf8(body);
    const QString marker = QStringLiteral("</script>");
    const qsizetype at = text.indexOf(marker);
    if (at < 0)
        return QVariant();
    return jsonObject(text.mid(at + marker.size()).toUtf8());
}

QString NetworkClient::headerValue(const QVariantMap &headers, const QString &name)
{
    for (auto it = headers.cbegin(); it != headers.cend(); ++it) {
        if (it.key().compare(name, Qt::CaseInsensitive) == 0)
            return it.value().toString();
    }
    return QString();
}

void NetworkClient::getPath(const QString &path, const QVariantMap &parameters, const QString &token,
                            const SuccessBlock &success, const FailureBlock &failure, qint64 maximumAnswer)
{
    Request request;
    request.shape = Shape::Get;
    request.path = path;
    request.parameters = parameters;
    request.token = token;
    request.success = success;
    request.failure = failure;
    request.maximumAnswer = maximumAnswer;
    send(std::move(request));
}

void NetworkClient::putPath(const QString &path, const QVariantMap &parameters, const QString &token,
                            const QByteArray &withBody, const StatusBlock &success, const FailureBlock &failure)
{
    Request request;
    request.shape = Shape::Put;
    request.path = path;
    request.parameters = parameters;
    request.token = token;
    request.body = withBody;
    request.status = success;
    request.failure = failure;
    send(std::move(request));
}

void NetworkClient::putFile(const QString &path, const QString &token, const QString &withFilePath,
                            const StatusBlock &success, const FailureBlock &failure, const ProgressBlock &progress)
{
    Request request;
    request.shape = Shape::Put;
    request.path = path;
    request.token = token;
    request.bodyFile = withFilePath;
    request.status = success;
    request.failure = failure;
    request.progress = progress;
    send(std::move(request));
}

void NetworkClient::postPath(const QString &path, const QVariantMap &headerParameters,
                             const QVariantMap &bodyParameters, const SuccessBlock &success,
                             const FailureBlock &failure, qint64 maximumAnswer)
{
    Request request;
    request.shape = Shape::Form;
    request.path = path;
    request.headers = headerParameters;
    request.parameters = bodyParameters;
    request.success = success;
    request.failure = failure;
    request.maximumAnswer = maximumAnswer;
    send(std::move(request));
}

void NetworkClient::postJson(const QString &path, const QVariantMap &headerParameters,
                             const QVariantMap &bodyParameters, const SuccessBlock &success,
                             const FailureBlock &failure, qint64 maximumAnswer)
{
    Request request;
    request.shape = Shape::Json;
    request.path = path;
    request.headers = headerParameters;
    request.parameters = bodyParameters;
    request.success = success;
    request.failure = failure;
    request.maximumAnswer = maximumAnswer;
    send(std::move(request));
}

void NetworkClient::postMultiPart(const QString &path, const QVariantMap &headerParameters,
                                  const QByteArray &withContent, const SuccessBlock &success,
                                  const FailureBlock &failure)
{
    Request request;
    request.shape = Shape::MultiPart;
    request.path = path;
    request.headers = headerParameters;
    request.parts = {FormPart{QStringLiteral("b64_data"), withContent, QString(), QString()}};
    request.success = success;
    request.failure = failure;
    send(std::move(request));
}

void NetworkClient::postMultiPartForm(const QString &path, const QVariantMap &headerParameters,
                                      const QList<FormPart> &parts, const SuccessBlock &success,
                                      const FailureBlock &failure, qint64 maximumAnswer)
{
    Request request;
    request.shape = Shape::MultiPartForm;
    request.path = path;
    request.headers = headerParameters;
    request.parts = parts;
    request.success = success;
    request.failure = failure;
    request.maximumAnswer = maximumAnswer;
    send(std::move(request));
}

void NetworkClient::send(Request request)
{
    // Always through the event loop of the main thread: the callbacks run there, and never
    // inside the caller's own call.
    QMetaObject::invokeMethod(
        this, [this, request = std::move(request)] { start(request); }, Qt::QueuedConnection);
}

void NetworkClient::start(const Request &request)
{
    if (!m_manager) {
        m_manager = new QNetworkAccessManager(this);
        m_manager->setCookieJar(new NoCookieJar(m_manager));
        m_manager->setRedirectPolicy(QNetworkRequest::SameOriginRedirectPolicy);
    }

    QString address = request.shape == Shape::Put ? queryEncodedPath(request.path) : request.path;
    if (request.shape == Shape::Get && !request.parameters.isEmpty()) {
        address += address.contains(QLatin1Char('?')) ? QLatin1Char('&') : QLatin1Char('?');
        address += QString::fromLatin1(queryString(request.parameters));
    }
    const QUrl url = QUrl::fromEncoded(address.toUtf8(), QUrl::TolerantMode);

    QNetworkRequest http(url);
    http.setTransferTimeout(transferTimeout());
    http.setAttribute(QNetworkRequest::RedirectPolicyAttribute, QNetworkRequest::SameOriginRedirectPolicy);
    http.setRawHeader("User-Agent", "Korvane/" + QCoreApplication::applicationVersion().toUtf8());
    if ((request.shape == Shape::Get || request.shape == Shape::Put) && !request.token.isEmpty())
        http.setRawHeader("Authorization", request.token.toUtf8());
    for (auto it = request.headers.cbegin(); it != request.headers.cend(); ++it)
        http.setRawHeader(it.key().toUtf8(), variantText(it.value()).toUtf8());

    QNetworkReply *reply = nullptr;
    switch (request.shape) {
    case Shape::Get:
        reply = m_manager->get(http);
        break;
    case Shape::Put:
        // An empty value, not a missing header: the store then takes the bytes as they are.
        http.setRawHeader("Content-Type", QByteArray(""));
        http.setRawHeader("Origin", "file://");
        if (!request.bodyFile.isEmpty()) {
            auto *file = new QFile(request.bodyFile);
            if (!file->open(QIODevice::ReadOnly)) {
                delete file;
                if (request.failure)
                    request.failure(HttpError{HttpError::Rejected, 0, 0,
                                              QStringLiteral("the file to send cannot be read"), QByteArray()});
                return;
            }
            reply = StreamingUploadReply::send("PUT", http, file, this);
            file->setParent(reply);
        } else {
            reply = m_manager->put(http, request.body);
        }
        break;
    case Shape::Form:
        if (!http.hasRawHeader("Content-Type"))
            http.setRawHeader("Content-Type", "application/x-www-form-urlencoded");
        reply = m_manager->post(http, queryString(request.parameters));
        break;
    case Shape::Json:
        if (!http.hasRawHeader("Content-Type"))
            http.setRawHeader("Content-Type", "application/json");
        reply = m_manager->post(http, QJsonDocument::fromVariant(request.parameters).toJson(QJsonDocument::Compact));
        break;
    case Shape::MultiPart:
    case Shape::MultiPartForm: {
        const QString boundary = multipartBoundary();
        http.setRawHeader("Content-Type", QStringLiteral("multipart/form-data; boundary=%1").arg(boundary).toUtf8());
        reply = m_manager->post(http, multipartBody(boundary, request.parts));
        break;
    }
    }

    // The answer is taken as it arrives, after Qt has undone the compression it asked for,
    // so the cap counts what would be kept, not what travelled.
    auto received = std::make_shared<QByteArray>();
    const qint64 cap = request.maximumAnswer;
    const auto refuse = [reply](const char *why) {
        if (reply->property(why).toBool() || reply->isFinished())
            return;
        reply->setProperty(why, true);
        reply->abort();
    };
    connect(reply, &QNetworkReply::downloadProgress, this, [cap, refuse](qint64, qint64 total) {
        if (total > cap)
            refuse("korvaneTooLarge");
    });
    connect(reply, &QNetworkReply::readyRead, this, [reply, received, cap, refuse] {
        while (!reply->isFinished() && reply->bytesAvailable() > 0) {
            const QByteArray piece = reply->read(64 * 1024);
            if (received->size() + piece.size() > cap) {
                refuse("korvaneTooLarge");
                return;
            }
            received->append(piece);
        }
    });
    // The answer's clock runs from the request's last byte (Qt says when it is out), so
    // neither a slow connection nor a long upload counts against it; an answer that comes
    // before that starts it too.
    auto *deadline = new QTimer(reply);
    deadline->setSingleShot(true);
    deadline->setInterval(answerTimeout());
    connect(deadline, &QTimer::timeout, this, [refuse] { refuse("korvaneLate"); });
    connect(reply, &QNetworkReply::requestSent, deadline, qOverload<>(&QTimer::start));
    connect(reply, &QNetworkReply::metaDataChanged, deadline, [deadline] {
        if (!deadline->isActive())
            deadline->start();
    });
    if (request.progress)
        connect(reply, &QNetworkReply::uploadProgress, this, request.progress);
    connect(reply, &QNetworkReply::finished, this, [this, reply, request, received] { finish(reply, request, *received); });
}

void NetworkClient::finish(QNetworkReply *reply, const Request &request, const QByteArray &received)
{
    reply->deleteLater();

    const int status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
    const auto fail = [&](HttpError::Kind kind, const QString &description, const QByteArray &body = {}) {
        qCInfo(lcNetwork, "request failed: %s", qUtf8Printable(description));
        if (request.failure)
            request.failure(HttpError{kind, int(reply->error()), status, description, body.left(64 * 1024)});
    };
    // A limit that ends a request is worth a line without the debug log: it names the host
    // and the limit, never the address, which may carry a key.
    const auto refuse = [&](HttpError::Kind kind, const QString &description) {
        qCWarning(lcNetwork, "the answer of %s is refused: %s", qUtf8Printable(reply->url().host()),
                  qUtf8Printable(description));
        fail(kind, description);
    };
    const QString tooLarge = QStringLiteral("the answer is larger than %1 bytes").arg(request.maximumAnswer);

    if (reply->property("korvaneTooLarge").toBool()) {
        refuse(HttpError::Rejected, tooLarge);
        return;
    }
    if (reply->property("korvaneLate").toBool()) {
        refuse(HttpError::Transport,
               QStringLiteral("no complete answer within %1 ms of the request").arg(answerTimeout()));
        return;
    }
    QByteArray body = received;
    if (body.size() + reply->bytesAvailable() > request.maximumAnswer) {
        refuse(HttpError::Rejected, tooLarge);
        return;
    }
    body += reply->readAll();
    // Qt undoes the compression it asked for; a request that named its own Accept-Encoding
    // gets the body as the server compressed it.
    const QByteArray encoding = reply->rawHeader("Content-Encoding");
    if (!headerValue(request.headers, QStringLiteral("Accept-Encoding")).isEmpty() && !encoding.isEmpty()) {
        QByteArray decoded;
        switch (ContentDecoding::decode(encoding, body, request.maximumAnswer, &decoded)) {
        case ContentDecoding::Result::Decoded:
            body = decoded;
            break;
        case ContentDecoding::Result::TooLarge:
            refuse(HttpError::Rejected, tooLarge);
            return;
        case ContentDecoding::Result::Unsupported:
        case ContentDecoding::Result::Corrupt:
            qCInfo(lcNetwork, "the answer's %s encoding cannot be undone", encoding.constData());
            body.clear();
            break;
        }
    }
    if (status != 0 && (status < 200 || status > 299)) {
        fail(HttpError::HttpStatus, QStringLiteral("HTTP status %1").arg(status), body);
        return;
    }
    if (reply->error() != QNetworkReply::NoError) {
        // Our own upload reply words its errors itself, without the address; Qt's name the URL.
        fail(HttpError::Transport,
             qobject_cast<StreamingUploadReply *>(reply) ? reply->errorString() : describe(reply->error()));
        return;
    }
    if (status == 0) {
        fail(HttpError::Transport, QStringLiteral("no HTTP answer"));
        return;
    }

    QVariantMap headers;
    for (const QNetworkReply::RawHeaderPair &pair : reply->rawHeaderPairs()) {
        const QString name = QString::fromLatin1(pair.first);
        // Qt keeps repeated Set-Cookie fields on separate lines; the readers expect them
        // joined like every other repeated field.
        QString value = QString::fromLatin1(pair.second);
        value.replace(QLatin1Char('\n'), QLatin1String(", "));
        const QString existing = headerValue(headers, name);
        headers.insert(name, existing.isEmpty() ? value : existing + QLatin1String(", ") + value);
    }

    if (request.shape == Shape::Put) {
        const QString type = headerValue(headers, QStringLiteral("Content-Type")).section(QLatin1Char(';'), 0, 0).trimmed();
        const bool json = type.isEmpty() || type == QLatin1String("application/json")
            || type == QLatin1String("text/json") || type == QLatin1String("text/javascript");
        if (!body.trimmed().isEmpty() && !json) {
            fail(HttpError::Rejected, QStringLiteral("the PUT answer has an unexpected content type"), body);
            return;
        }
        if (request.status)
            request.status(status);
        return;
    }
    // Parsing an answer near its cap takes longer than a frame: it runs on the pool, and the
    // callback comes back to this thread.
    const bool xml = request.shape == Shape::Get && request.path == ServiceHosts::cosServiceUrl();
    QThreadPool::globalInstance()->start([this, request, body, headers, xml] { deliver(request, body, headers, xml); });
}

void NetworkClient::deliver(const Request &request, const QByteArray &body, const QVariantMap &headers, bool xml)
{
    QVariant object;
    QVariantMap passed;
    switch (request.shape) {
    case Shape::Get:
        if (xml) {
            QString error;
            object = XmlReader::dictionaryForXMLData(body, XmlReader::ProcessNamespaces, &error);
            if (object.isNull())
                qCWarning(lcNetwork, "the XML answer is refused: %s", qUtf8Printable(error));
        } else {
            object = jsonObject(body);
        }
        break;
    case Shape::Form:
    case Shape::MultiPartForm:
        object = jsonObject(body);
        passed = headers;
        break;
    case Shape::Json:
    case Shape::Put:
        object = jsonObject(body);
        break;
    case Shape::MultiPart:
        object = jsonAfterScript(body);
        if (body.contains("</script>"))
            passed = headers;
        break;
    }
    QMetaObject::invokeMethod(
        this,
        [request, object, passed] {
            if (request.success)
                request.success(object, passed);
        },
        Qt::QueuedConnection);
}
