#pragma once

#include "net/uploadcallbacks.h"

#include <QObject>
#include <QString>

// A small Aliyun OSS client for PutObject: the object is sent with the store's header
// signature ("OSS" access key and an HMAC-SHA1 over verb, Content-MD5, Content-Type, Date
// and the canonical resource). Files are streamed from disk.
class OssClient final : public QObject
{
    Q_OBJECT

public:
    OssClient(const QString &endpoint, const QString &accessKey, const QString &secretKey, QObject *parent = nullptr);

    // A refusal because the bucket lives behind another endpoint names that endpoint's host in
    // the outcome; the message of a refusal is the store's error code.
    void putObject(const QString &bucketName, const QString &objectKey, const QString &uploadingFile,
                   const QByteArray &uploadingData, const UploadCallbacks &callbacks);

    static QString signature(const QString &secretKey, const QString &verb, const QString &contentMd5,
                             const QString &contentType, const QString &date, const QString &resource);

private:
    QString m_endpoint;
    QString m_accessKey;
    QString m_secretKey;
};
