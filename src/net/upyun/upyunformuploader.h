#pragma once

#include "net/uploadcallbacks.h"

#include <QObject>
#include <QPointer>
#include <QString>
#include <QVariant>
#include <QVariantMap>

class UpYunHttpClient;

// One UpYun form upload: the policy and signature, then a signed multipart POST to the
// bucket on the REST API host. Callbacks run on the main thread.
class UpYunFormUploader final : public QObject
{
    Q_OBJECT

public:
    static QString errorDomain() { return QStringLiteral("NSErrorDomain_UpYunFormUploader"); }

    explicit UpYunFormUploader(QObject *parent = nullptr);

    // fileData: the bytes (QByteArray) or a file's path (QString), whose MD5 and length are
    // computed by reading it once in blocks and which is then streamed as it is sent. The
    // outcome's answer is the store's parsed answer; a refusal's message names errorDomain()
    // and the status.
    void uploadWithBucketName(const QString &bucketName, const QString &operatorName, const QString &password,
                              const QVariant &fileData, const QString &fileName, const QString &saveKey,
                              const QVariantMap &otherParameters, const UploadCallbacks &callbacks);
    void uploadWithOperator(const QString &operatorName, const QString &policy, const QString &signature,
                            const QVariant &fileData, const QString &fileName, const UploadCallbacks &callbacks);
    void cancel();

    qint64 totalUnitCountToSend() const { return m_totalUnitCountToSend; }

private:
    QPointer<UpYunHttpClient> m_httpClient;
    qint64 m_totalUnitCountToSend = 0;
};
