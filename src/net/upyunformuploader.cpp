#include "upyunformuploader.h"

#include "korvanehosts.h"
#include "korvanelogtext.h"
#include "upapiutils.h"
#include "upsimplehttpclient.h"

#include <QCryptographicHash>
#include <QDateTime>
#include <QFile>
#include <QJsonDocument>
#include <QJsonParseError>
#include <QLoggingCategory>
#include <QTimer>

namespace {

Q_LOGGING_CATEGORY(lcUpYun, "korvane.net.upyun", QtWarningMsg)

// MD5 hex and length of a file read once in blocks; false when it cannot be read.
bool digestFile(const QString &path, QString *md5, qint64 *length)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    QCryptographicHash hash(QCryptographicHash::Md5);
    if (!hash.addData(&file))
        return false;
    *md5 = QString::fromLatin1(hash.result().toHex());
    *length = file.size();
    return true;
}

} // namespace

UpYunFormUploader::UpYunFormUploader(QObject *parent)
    : QObject(parent)
{
}

void UpYunFormUploader::uploadWithBucketName(const QString &bucketName, const QString &operatorName,
                                             const QString &password, const QVariant &fileData, const QString &fileName,
                                             const QString &saveKey, const QVariantMap &otherParameters,
                                             const Success &success, const Failure &failure, const Progress &progress)
{
    const QDateTime now = QDateTime::currentDateTimeUtc();
    QVariantMap parameters = UpApiUtils::policyParameters(bucketName, saveKey, fileData.toByteArray(), {}, now);
    if (fileData.typeId() == QMetaType::QString) {
        QString md5;
        qint64 length = 0;
        if (!digestFile(fileData.toString(), &md5, &length)) {
            QTimer::singleShot(0, this, [failure] {
                if (failure)
                    failure(KorvaneError(0, QStringLiteral("the file cannot be read"), errorDomain()), 0, QVariant());
            });
            return;
        }
        parameters.insert(QStringLiteral("content-md5"), md5);
        parameters.insert(QStringLiteral("content-length"), QString::number(length));
    }
    for (auto it = otherParameters.cbegin(); it != otherParameters.cend(); ++it)
        parameters.insert(it.key(), it.value());
    const QString policy = UpApiUtils::getPolicyWithParameters(parameters);
    const QString signature = UpApiUtils::formSignature(password, bucketName, parameters.value(QStringLiteral("date")).toString(),
                                                        policy, parameters.value(QStringLiteral("content-md5")).toString());
    uploadWithOperator(operatorName, policy, signature, fileData, fileName, success, failure, progress);
}

void UpYunFormUploader::uploadWithOperator(const QString &operatorName, const QString &policy, const QString &signature,
                                           const QVariant &fileData, const QString &fileName, const Success &success,
                                           const Failure &failure, const Progress &progress)
{
    const QList<QPair<QString, QString>> parameters{{QStringLiteral("policy"), policy},
                                                    {QStringLiteral("authorization"), UpApiUtils::authorization(operatorName, signature)}};
    const QString name = fileName.isEmpty() ? QStringLiteral("fileName") : fileName;
    const QString bucket = UpApiUtils::getDictFromPolicyString(policy).toMap().value(QStringLiteral("bucket")).toString();
    const QString url = QStringLiteral("%1/%2").arg(KorvaneHosts::upyun(), bucket);
    QPointer<UpYunFormUploader> self(this);
    m_httpClient = UpSimpleHttpClient::POST(
        url, parameters, QStringLiteral("file"), name, QString(), fileData,
        [self, progress](qint64 completed, qint64 total) {
            if (self)
                self->m_totalUnitCountToSend = total;
            if (progress)
                progress(completed, total);
        },
        [self, success, failure, progress](const QString &error, int statusCode, const QByteArray &body) {
            if (!error.isEmpty()) {
                if (failure)
                    failure(KorvaneError(0, error, QStringLiteral("QNetworkReply")), statusCode, QVariant());
                return;
            }
            QJsonParseError parseError;
            const QJsonDocument document = QJsonDocument::fromJson(body, &parseError);
            if (parseError.error != QJsonParseError::NoError) {
                qCWarning(lcUpYun, "NSErrorDomain_UpYunFormUploader json parse failed %s", qUtf8Printable(parseError.errorString()));
                qCWarning(lcUpYun, "NSErrorDomain_UpYunFormUploader res.body content %s",
                          qUtf8Printable(KorvaneLogText::summary(body.left(1024), lcUpYun())));
                if (failure)
                    failure(KorvaneError(parseError.error, parseError.errorString(), QStringLiteral("NSCocoaErrorDomain")), statusCode,
                            QVariant());
                return;
            }
            const QVariant answer = document.toVariant();
            if (statusCode >= 400) {
                if (failure)
                    failure(KorvaneError(statusCode, QStringLiteral("HTTP %1").arg(statusCode), errorDomain()), statusCode, answer);
                return;
            }
            const qint64 total = self ? self->m_totalUnitCountToSend : 0;
            if (progress)
                progress(total, total);
            if (success)
                success(statusCode, answer.toMap());
        });
}

void UpYunFormUploader::cancel()
{
    if (m_httpClient)
        m_httpClient->cancel();
}
