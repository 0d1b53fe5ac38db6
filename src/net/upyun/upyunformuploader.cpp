#include "net/upyun/upyunformuploader.h"

#include "net/servicehosts.h"
#include "common/logtext.h"
#include "net/upyun/upyunsignature.h"
#include "net/upyun/upyunhttpclient.h"
#include "net/netlogging.h"

#include <QCryptographicHash>
#include <QDateTime>
#include <QFile>
#include <QJsonDocument>
#include <QJsonParseError>
#include <QLoggingCategory>
#include <QTimer>

namespace {

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

// The outcome of the form as the store answered it: stored when the answer is JSON and its
// status below 400.
UploadCallbacks::Outcome readAnswer(const UploadCallbacks::Outcome &sent)
{
    UploadCallbacks::Outcome outcome = UploadCallbacks::Outcome::notStored(sent.message, sent.status);
    if (!sent.message.isEmpty())
        return outcome;
    const QByteArray body = sent.answer.toByteArray();
    QJsonParseError parseError;
    const QJsonDocument document = QJsonDocument::fromJson(body, &parseError);
    if (parseError.error != QJsonParseError::NoError) {
        qCWarning(lcUpYun, "NSErrorDomain_UpYunFormUploader json parse failed %s", qUtf8Printable(parseError.errorString()));
        qCWarning(lcUpYun, "NSErrorDomain_UpYunFormUploader res.body content %s",
                  qUtf8Printable(LogText::summary(body.left(1024), lcUpYun())));
        outcome.message = parseError.errorString();
        return outcome;
    }
    outcome.answer = document.toVariant();
    if (outcome.status >= 400)
        outcome.message = QStringLiteral("%1 %2").arg(UpYunFormUploader::errorDomain()).arg(outcome.status);
    outcome.stored = outcome.message.isEmpty();
    return outcome;
}

} // namespace

UpYunFormUploader::UpYunFormUploader(QObject *parent)
    : QObject(parent)
{
}

void UpYunFormUploader::uploadWithBucketName(const QString &bucketName, const QString &operatorName,
                                             const QString &password, const QVariant &fileData, const QString &fileName,
                                             const QString &saveKey, const QVariantMap &otherParameters,
                                             const UploadCallbacks &callbacks)
{
    const QDateTime now = QDateTime::currentDateTimeUtc();
    QVariantMap parameters = UpYunSignature::policyParameters(bucketName, saveKey, fileData.toByteArray(), {}, now);
    if (fileData.typeId() == QMetaType::QString) {
        QString md5;
        qint64 length = 0;
        if (!digestFile(fileData.toString(), &md5, &length)) {
            QTimer::singleShot(0, this, [done = callbacks.done] {
                if (done)
                    done(UploadCallbacks::Outcome::notStored(QStringLiteral("the file cannot be read")));
            });
            return;
        }
        parameters.insert(QStringLiteral("content-md5"), md5);
        parameters.insert(QStringLiteral("content-length"), QString::number(length));
    }
    for (auto it = otherParameters.cbegin(); it != otherParameters.cend(); ++it)
        parameters.insert(it.key(), it.value());
    const QString policy = UpYunSignature::getPolicyWithParameters(parameters);
    const QString signature = UpYunSignature::formSignature(password, bucketName, parameters.value(QStringLiteral("date")).toString(),
                                                            policy, parameters.value(QStringLiteral("content-md5")).toString());
    uploadWithOperator(operatorName, policy, signature, fileData, fileName, callbacks);
}

void UpYunFormUploader::uploadWithOperator(const QString &operatorName, const QString &policy, const QString &signature,
                                           const QVariant &fileData, const QString &fileName,
                                           const UploadCallbacks &callbacks)
{
    const QList<QPair<QString, QString>> parameters{{QStringLiteral("policy"), policy},
                                                    {QStringLiteral("authorization"), UpYunSignature::authorization(operatorName, signature)}};
    const QString name = fileName.isEmpty() ? QStringLiteral("fileName") : fileName;
    const QString bucket = UpYunSignature::getDictFromPolicyString(policy).toMap().value(QStringLiteral("bucket")).toString();
    const QString url = QStringLiteral("%1/%2").arg(ServiceHosts::upyun(), bucket);
    QPointer<UpYunFormUploader> self(this);
    UploadCallbacks sending;
    sending.done = [self, callbacks](const UploadCallbacks::Outcome &sent) {
        const UploadCallbacks::Outcome outcome = readAnswer(sent);
        if (!outcome.stored)
            qCInfo(lcUpYun, "the upload failed: %s, status %d", qUtf8Printable(outcome.message), outcome.status);
        const qint64 total = self ? self->m_totalUnitCountToSend : 0;
        if (outcome.stored && callbacks.progress)
            callbacks.progress(total, total);
        if (callbacks.done)
            callbacks.done(outcome);
    };
    sending.progress = [self, progress = callbacks.progress](qint64 completed, qint64 total) {
        if (self)
            self->m_totalUnitCountToSend = total;
        if (progress)
            progress(completed, total);
    };
    m_httpClient = UpYunHttpClient::POST(url, parameters, QStringLiteral("file"), name, QString(), fileData, sending);
}

void UpYunFormUploader::cancel()
{
    if (m_httpClient)
        m_httpClient->cancel();
}
