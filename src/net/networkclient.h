#pragma once

#include "net/answerlimits.h"

#include <QByteArray>
#include <QList>
#include <QObject>
#include <QString>
#include <QVariant>
#include <QVariantMap>

#include <functional>

class QNetworkAccessManager;
class QNetworkReply;
class QNetworkRequest;

// Why a request failed: a transport error, a status outside 200 to 299, or an answer the
// client refused (too large, or a PUT answer that is neither empty nor JSON). The text names
// the kind of failure only: it never holds a URL, a header or a body.
struct HttpError {
    enum Kind {
        Transport, // no answer: refused, closed, TLS, timeout, stalled, redirected away
        HttpStatus, // an answer with a status outside 200 to 299
        Rejected, // an answer the client does not take
    };
    Kind kind = Transport;
    int networkError = 0; // QNetworkReply::NetworkError
    int httpStatus = 0; // 0 when no answer came
    QString description;
    QByteArray body; // the failed answer's body (at most 64 KiB), for callers that read an error text
};

// One part of a multipart form: a text field, or a data part with an optional file name and
// content type.
struct FormPart {
    QString name;
    QByteArray data;
    QString fileName; // empty: no "filename" in the part's disposition
    QString contentType; // empty: no "Content-Type" line in the part

    static FormPart field(const QString &name, const QString &value);
    static FormPart fileData(const QString &name, const QByteArray &data, const QString &fileName,
                             const QString &contentType);
};

// The one HTTP client of the network services. Every request is independent (no base URL,
// no cookies, no headers kept between requests), and calls exactly one of its two callbacks,
// on the main thread, never from inside the call that started it. A null callback is
// skipped. Requests may be started from any thread.
//
// Beyond the request shapes: TLS uses the system's certificates and is never relaxed; a
// redirect is followed only to the same origin; a transfer that moves no byte either way for
// transferTimeout(), or whose answer is not complete within answerTimeout() of the request's
// last byte, fails like a transport failure; an answer over its cap (AnswerLimits,
// counted as decoded) is refused. Answers are parsed on the thread pool, so a large one never
// holds the interface.
class NetworkClient final : public QObject
{
    Q_OBJECT

public:
    // (response object, response header fields). The object is a QVariantMap or QVariantList
    // made from the body, or null when the body does not parse. The header fields are empty
    // where the request shape passes none. Header names are as the server sent them; repeated
    // fields are joined with ", ". Use headerValue() to read one regardless of case.
    using SuccessBlock = std::function<void(const QVariant &responseObject, const QVariantMap &responseHeaders)>;
    using StatusBlock = std::function<void(int statusCode)>;
    using FailureBlock = std::function<void(const HttpError &error)>;
    // (body bytes sent, body size) while a request body is sent.
    using ProgressBlock = std::function<void(qint64 sent, qint64 total)>;

    static NetworkClient *sharedClient();

    // GET with the parameters in the query string and "Authorization" = token verbatim when
    // the token is non-empty. The body of the COS bucket-list address is read as XML, every
    // other as JSON; the success callback gets no header fields.
    // maximumAnswer: the cap on the decoded answer, an API answer's unless the caller reads a
    // result that grows with what it sent.
    void getPath(const QString &path, const QVariantMap &parameters, const QString &token,
                 const SuccessBlock &success, const FailureBlock &failure,
                 qint64 maximumAnswer = AnswerLimits::apiAnswer);
    // PUT of raw bytes (none when withBody is null) to the path percent-encoded with the
    // URL-query character set; "Content-Type" empty, "Origin" "file://". Parameters are not
    // used. Success gets the status code (200 to 299).
    void putPath(const QString &path, const QVariantMap &parameters, const QString &token, const QByteArray &withBody,
                 const StatusBlock &success, const FailureBlock &failure);
    // The same PUT with the body streamed from a file; a file that cannot be opened fails
    // the request without sending it.
    void putFile(const QString &path, const QString &token, const QString &withFilePath, const StatusBlock &success,
                 const FailureBlock &failure, const ProgressBlock &progress = nullptr);
    // POST of the body parameters form-URL-encoded; JSON answer and all header fields.
    void postPath(const QString &path, const QVariantMap &headerParameters, const QVariantMap &bodyParameters,
                  const SuccessBlock &success, const FailureBlock &failure,
                  qint64 maximumAnswer = AnswerLimits::apiAnswer);
    // POST of the body parameters as one JSON object; JSON answer, no header fields.
    void postJson(const QString &path, const QVariantMap &headerParameters, const QVariantMap &bodyParameters,
                  const SuccessBlock &success, const FailureBlock &failure,
                  qint64 maximumAnswer = AnswerLimits::apiAnswer);
    // POST multipart/form-data with one data part "b64_data"; the answer's JSON is what follows
    // its first "</script>" (null object and no header fields when there is none).
    void postMultiPart(const QString &path, const QVariantMap &headerParameters, const QByteArray &withContent,
                       const SuccessBlock &success, const FailureBlock &failure);
    // POST multipart/form-data of the given parts in order, same boundary rule; JSON answer and
    // all header fields. The image-recognition uploads go this way.
    void postMultiPartForm(const QString &path, const QVariantMap &headerParameters, const QList<FormPart> &parts,
                           const SuccessBlock &success, const FailureBlock &failure,
                           qint64 maximumAnswer = AnswerLimits::apiAnswer);

    // "===N===" with N the current whole seconds since 1970 times 1000.
    static QString multipartBoundary();
    static QByteArray multipartBody(const QString &boundary, const QList<FormPart> &parts);
    // Form-URL-encoding: keys in ascending order, everything outside letters, digits and
    // "-._~/?" percent-encoded (a space is "%20"); list values as "key[]=v" per element.
    static QByteArray queryString(const QVariantMap &parameters);
    // The path percent-encoded with the URL-query character set.
    static QString queryEncodedPath(const QString &path);
    // The text after the first "</script>" parsed as JSON, or null.
    static QVariant jsonAfterScript(const QByteArray &body);
    // The body parsed as JSON into a map or list, or null; null too when it nests deeper, holds
    // a longer string or more values than AnswerLimits allows.
    static QVariant jsonObject(const QByteArray &body);
    // What in the body goes over the readers' limits, or an empty text; one linear pass.
    static QString jsonOverLimit(const QByteArray &body);
    static QString headerValue(const QVariantMap &headers, const QString &name);

    // How long a transfer may move no byte before it fails, in milliseconds: the value set in
    // the process, else Korvane::Settings::transferTimeout. A slow link can be given more; tests
    // of a stalled store give less.
    static int transferTimeout();
    static void setTransferTimeout(int milliseconds);
    // How long after the request's last byte its answer must be complete, in milliseconds,
    // however it trickles in: the value set in the process, else Korvane::Settings::answerTimeout.
    static int answerTimeout();
    static void setAnswerTimeout(int milliseconds);

private:
    enum class Shape { Get,
                       Put,
                       Form,
                       Json,
                       MultiPart,
                       MultiPartForm };
    struct Request;

    NetworkClient();
    void send(Request request);
    void start(const Request &request);
    void finish(QNetworkReply *reply, const Request &request, const QByteArray &received);
    void deliver(const Request &request, const QByteArray &body, const QVariantMap &headers, bool xml);

    QNetworkAccessManager *m_manager = nullptr;
};
