#pragma once

#include <QObject>
#include <QString>

#include <functional>


// A small Aliyun OSS client for PutObject: the object is sent with the store's header
// signature ("OSS" access key and an HMAC-SHA1 over verb, Content-MD5, Content-Type, Date
// and the canonical resource). Files are streamed from disk.
class AliOssClient final : public QObject
{
    Q_OBJECT

public:
    // The code of the store's answer that the bucket lives behind another endpoint.
    static constexpr int wrongEndpointCode = -403;

    // (0 when stored, wrongEndpointCode with the endpoint host the store named, else the HTTP
    // status or the negated network error; a short text for the log, without secrets).
    using Completion = std::function<void(int code, const QString &endpoint, const QString &message)>;
    // (body bytes sent, body size), on the main thread while the object is sent.
    using Progress = std::function<void(qint64 sent, qint64 total)>;

    AliOssClient(const QString &endpoint, const QString &accessKey, const QString &secretKey, QObject *parent = nullptr);

    void putObject(const QString &bucketName, const QString &objectKey, const QString &uploadingFile,
                   const QByteArray &uploadingData, const Completion &completion, const Progress &progress = nullptr);

    static QString signature(const QString &secretKey, const QString &verb, const QString &contentMd5,
                             const QString &contentType, const QString &date, const QString &resource);

private:
    QString m_endpoint;
    QString m_accessKey;
    QString m_secretKey;
};
