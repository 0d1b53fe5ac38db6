#pragma once

#include "korvaneerror.h"

#include <QObject>
#include <QPointer>
#include <QString>
#include <QVariant>
#include <QVariantMap>

#include <functional>

class UpSimpleHttpClient;

// One UpYun form upload: the policy and signature, then a signed multipart POST to the
// bucket on the REST API host. Callbacks run on the main thread.
class UpYunFormUploader final : public QObject
{
    Q_OBJECT

public:
    static QString errorDomain() { return QStringLiteral("NSErrorDomain_UpYunFormUploader"); }

    // (HTTP status, the answer).
    using Success = std::function<void(int statusCode, const QVariantMap &answer)>;
    // (the error, HTTP status or 0, the answer when it parsed).
    using Failure = std::function<void(const KorvaneError &error, int statusCode, const QVariant &answer)>;
    using Progress = std::function<void(qint64 completed, qint64 total)>;

    explicit UpYunFormUploader(QObject *parent = nullptr);

    // fileData: the bytes (QByteArray) or a file's path (QString), whose MD5 and length are
    // computed by reading it once in blocks and which is then streamed as it is sent.
    void uploadWithBucketName(const QString &bucketName, const QString &operatorName, const QString &password,
                              const QVariant &fileData, const QString &fileName, const QString &saveKey,
                              const QVariantMap &otherParameters, const Success &success, const Failure &failure,
                              const Progress &progress);
    void uploadWithOperator(const QString &operatorName, const QString &policy, const QString &signature,
                            const QVariant &fileData, const QString &fileName, const Success &success,
                            const Failure &failure, const Progress &progress);
    void cancel();

    qint64 totalUnitCountToSend() const { return m_totalUnitCountToSend; }

private:
    QPointer<UpSimpleHttpClient> m_httpClient;
    qint64 m_totalUnitCountToSend = 0;
};
