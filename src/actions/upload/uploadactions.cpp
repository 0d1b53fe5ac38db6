#include "actions/upload/uploadactions.h"

#include "actions/networkservices.h"
#include "net/networkoperations.h"
#include "store/droplistentity.h"
#include "actions/file/filemanager.h"
#include "store/ossuploadsettings.h"
#include "store/qiniuuploadsettings.h"
#include "store/cosuploadsettings.h"
#include "store/upyunuploadsettings.h"
#include "store/weibouploadsettings.h"
#include "intake/droppayload.h"
#include "actions/outputnaming.h"
#include "common/logtext.h"
#include "actions/upload/uploadbatch.h"
#include "actions/actionslogging.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QLoggingCategory>
#include <QMimeDatabase>

namespace {

using DropPtr = UploadActions::DropPtr;
using BatchPtr = std::shared_ptr<UploadBatch>;
using Outcome = UploadCallbacks::Outcome;

void notify(const ActionReply &reply, bool success, const DropListEntity &drop, const QString &body)
{
    Notification content = ActionReply::resultNotification(success, drop);
    content.body = body;
    reply.notify(content);
}

void fail(const DropPtr &drop, const ActionReply &reply, const Korvane::Error &error)
{
    notify(reply, false, *drop, error.localizedDescription());
    Korvane::finishOnMain(reply, false, error);
}

BatchPtr newBatch(const DropPtr &drop, const ActionReply &reply, UploadBatch::ResultStep step,
                  const QString &store, const QList<UploadBatch::Unit> &units, const Korvane::Progress &progress)
{
    return std::make_shared<UploadBatch>(drop, reply, step, store, units, progress);
}

// Images, other files, videos: folders are never uploaded.
QList<QUrl> droppedUrls(const DropPayload &payload)
{
    return payload.imgFileUrls() + payload.otherFileUrls() + payload.videoFileUrls();
}

QString imageDataKey()
{
    return OutputNaming::randomKey() + QStringLiteral(".jpg");
}

// The units of a run: the dropped image data alone, under a random ".jpg" key, when there is
// some; else the files of urls, each named by keyOf when there is one. A file that cannot be
// read as it is named (a FIFO, a device, a name that is not UTF-8) refuses the whole run,
// reported here, before anything is opened or sent.
bool dropUnits(const DropPtr &drop, const ActionReply &reply, const QByteArray &imageData, const QList<QUrl> &urls,
               const std::function<QString(const QString &path)> &keyOf, QList<UploadBatch::Unit> *units)
{
    if (!imageData.isEmpty()) {
        units->append(UploadBatch::Unit::ofData(imageData, imageDataKey()));
        return true;
    }
    QStringList paths;
    for (const QUrl &url : urls) {
        Korvane::Error error;
        const QString path = FileManager::textPath(url, &error);
        if (path.isEmpty() || !FileManager::isRegularFile(path, &error)) {
            fail(drop, reply, error);
            return false;
        }
        paths.append(path);
    }
    for (const QString &path : std::as_const(paths))
        units->append(UploadBatch::Unit::ofFile(path, keyOf ? keyOf(path) : QString()));
    return true;
}

// What the settings of the four file stores have in common; all empty without a record.
struct StoreSettings {
    QString accessKey; // COS: the secret id; UpYun: the operator
    QString secretKey; // UpYun: the operator's password
    QString bucket;
    QString domain;
    qint16 suffixType = 0;
};

template<typename Record>
StoreSettings storeSettings(const std::shared_ptr<Record> &record, QString (Record::*accessKey)() const,
                            QString (Record::*secretKey)() const, QString (Record::*bucket)() const,
                            QString (Record::*domain)() const)
{
    if (!record)
        return {};
    const Record &fields = *record;
    return {(fields.*accessKey)(), (fields.*secretKey)(), (fields.*bucket)(), (fields.*domain)(), fields.suffixType()};
}

// The start of a file store's run: its settings (the other stores have no text of their own
// for missing ones), then its units. False when the run has ended here with its error.
bool startFileRun(const DropPtr &drop, const DropPayload &payload, const ActionReply &reply, const StoreSettings &settings,
                  int settingsMissingCode, const std::function<QString(const QString &path)> &keyOf,
                  QList<UploadBatch::Unit> *units)
{
    if (settings.accessKey.isEmpty() || settings.secretKey.isEmpty() || settings.bucket.isEmpty()) {
        fail(drop, reply, Korvane::Error(settingsMissingCode, qtTrId("PleaseEnterQiniuAccount")));
        return false;
    }
    return dropUnits(drop, reply, payload.imageData(), droppedUrls(payload), keyOf, units);
}

// The network plug-in, or null when it cannot be loaded: the run has then ended here as when
// no server answers.
const NetworkOperations *network(const DropPtr &drop, const ActionReply &reply)
{
    const NetworkOperations *operations = NetworkServices::operations();
    if (!operations)
        fail(drop, reply, Korvane::Error(-1001, qtTrId("CanNotConnectToServer")));
    return operations;
}

// The failure texts name every file that was not stored after the count.
void result(const DropPtr &drop, qint64 failCount, const ActionReply &reply, const QStringList &urls,
            const QStringList &failures, int someFailedCode, const QString &someFailedText, int noUrlCode,
            const QString &noUrlText)
{
    if (urls.isEmpty()) {
        fail(drop, reply, Korvane::Error(noUrlCode, (QStringList{noUrlText} + failures).join(QLatin1Char(' '))));
        return;
    }
    const QString text = UploadActions::getTextFromArray(urls);
    reply.copyText(text);
    const Korvane::Error error = failCount > 0
        ? Korvane::Error(someFailedCode, (QStringList{someFailedText} + failures).join(QLatin1Char(' ')))
        : Korvane::Error();
    Korvane::finishOnMain(reply, true, error);
    QString body = text;
    notify(reply, true, *drop, body.replace(QLatin1Char('\n'), QLatin1Char(' ')));
}

// A store that calls every name taken would otherwise be asked forever.
constexpr qint64 qiniuMaximumRetries = 1000;

// COS and UpYun: the base name, then "." and the extension when there is one.
QString dottedKey(const QString &path, qint16 suffixType)
{
    const QString extension = UploadActions::fileExtension(path);
    const QString base = UploadActions::objectBaseName(path, suffixType, QDateTime::currentDateTime());
    return extension.isEmpty() ? base : QStringLiteral("%1.%2").arg(base, extension);
}

// The link of an object stored under the key.
UploadBatch::Link linkTo(const QString &domain, const QString &key)
{
    return [domain, key](const Outcome &) { return UploadActions::objectUrl(domain, key); };
}

} // namespace

QString UploadActions::getTextFromArray(const QStringList &texts)
{
    return texts.isEmpty() ? QString() : texts.join(QLatin1Char('\n'));
}

QString UploadActions::objectBaseName(const QString &path, qint16 suffixType, const QDateTime &now)
{
    const QString name = QFileInfo(path).fileName();
    const qsizetype dot = name.lastIndexOf(QLatin1Char('.'));
    const QString base = dot >= 0 ? name.left(dot) : name;
    switch (suffixType) {
    case 1:
        return QStringLiteral("%1_%2").arg(now.toLocalTime().toString(QStringLiteral("yyyyMMdd")), base);
    case 2:
        return OutputNaming::randomKey();
    default:
        return base;
    }
}

QString UploadActions::fileExtension(const QString &path)
{
    const QString name = QFileInfo(path).fileName();
    const qsizetype dot = name.lastIndexOf(QLatin1Char('.'));
    return dot >= 0 ? name.mid(dot + 1) : QString();
}

QString UploadActions::objectUrl(const QString &baseUrl, const QString &key)
{
    // Links are made of what a store answered: the plug-in is loaded by then.
    return QStringLiteral("%1/%2").arg(baseUrl, NetworkServices::operations()->queryEncodedPath(key));
}

void UploadActions::uploadCosResult(const DropPtr &drop, qint64 failCount, const ActionReply &reply,
                                    const QStringList &urlArray, const QStringList &failures)
{
    result(drop, failCount, reply, urlArray, failures, 3022, qtTrId("NImagesUploadFailed", int(failCount)), 3023, qtTrId("UploadFailed"));
}

void UploadActions::uploadToCos(const DropPtr &drop, const DropPayload &payload, const ActionReply &reply,
                                const Korvane::Progress &progress)
{
    const StoreSettings settings =
        storeSettings(drop->cosUploadSettings(), &CosUploadSettings::tencentAccessKey, &CosUploadSettings::tencentSecretKey,
                      &CosUploadSettings::tencentSpaceName, &CosUploadSettings::tencentDomain);
    QList<UploadBatch::Unit> units;
    const auto keyOf = [&settings](const QString &path) { return dottedKey(path, settings.suffixType); };
    if (!startFileRun(drop, payload, reply, settings, 3020, keyOf, &units))
        return;
    const NetworkOperations *net = network(drop, reply);
    if (!net)
        return;
    const BatchPtr batch = newBatch(drop, reply, &UploadActions::uploadCosResult, QStringLiteral("cos"),
                                    units, progress);

    net->cosBucketDetail(
        settings.secretKey, settings.accessKey, settings.bucket,
        [=](bool success, const QVariant &host, const QString &message) {
            // A message comes only with a lookup that got no answer or a server error: the bucket may
            // well exist.
            if (!success && !message.isEmpty()) {
                qCWarning(lcUpload, "the COS bucket lookup got no answer");
                fail(drop, reply, Korvane::Error(3023, qtTrId("UploadFailed") + QLatin1Char(' ') + message));
                return;
            }
            if (!success) {
                qCWarning(lcUpload, "the COS bucket lookup failed");
                fail(drop, reply, Korvane::Error(3021, qtTrId("QCloudBucketNotFound").arg(settings.bucket)));
                return;
            }
            if (batch->completeIfEmpty())
                return;
            const QString hostUrl = host.toString();
            const UploadBatch::Unit image = batch->unit(0);
            if (image.path.isEmpty()) {
                const QString objectPath = QLatin1Char('/') + image.key;
                net->cosPutData(hostUrl + objectPath,
                                net->cosSign(settings.secretKey, settings.accessKey, QStringLiteral("put"), objectPath),
                                image.bytes, [=](bool stored) {
                                    batch->answer(0, stored ? objectUrl(settings.domain, image.key) : QString());
                                });
                return;
            }
            batch->startEach(0, [=](qsizetype index) {
                const UploadBatch::Unit &unit = batch->unit(index);
                net->cosPutFile(settings.secretKey, settings.accessKey, hostUrl, unit.path, unit.key,
                                batch->callbacks(index, linkTo(settings.domain, unit.key)));
            });
        });
}

void UploadActions::uploadQiniuResult(const DropPtr &drop, qint64 failCount, const ActionReply &reply,
                                      const QStringList &urlArray, const QStringList &failures)
{
    result(drop, failCount, reply, urlArray, failures, 3002, qtTrId("NImagesUploadFailed", int(failCount)), 3003, qtTrId("UploadFailed"));
}

void UploadActions::uploadToQiniu(const DropPtr &drop, const DropPayload &payload, const ActionReply &reply,
                                  const Korvane::Progress &progress)
{
    const StoreSettings settings =
        storeSettings(drop->qiniuUploadSettings(), &QiniuUploadSettings::qiniuAccessKey, &QiniuUploadSettings::qiniuSecretKey,
                      &QiniuUploadSettings::qiniuSpaceName, &QiniuUploadSettings::qiniuDomain);
    // The extension follows the key only in the per-file upload, after its retry number.
    const QDateTime now = QDateTime::currentDateTime();
    QList<UploadBatch::Unit> units;
    const auto keyOf = [&settings, &now](const QString &path) { return objectBaseName(path, settings.suffixType, now); };
    if (!startFileRun(drop, payload, reply, settings, 3000, keyOf, &units))
        return;
    const NetworkOperations *net = network(drop, reply);
    if (!net)
        return;
    const QString token = net->qiniuToken(settings.accessKey, settings.secretKey, settings.bucket);
    if (token.isEmpty()) {
        fail(drop, reply, Korvane::Error(3001, qtTrId("WrongQiniuAccount")));
        return;
    }
    const BatchPtr batch = newBatch(drop, reply, &UploadActions::uploadQiniuResult, QStringLiteral("qiniu"),
                                    units, progress);
    if (batch->completeIfEmpty())
        return;

    net->qiniuUploadHost(settings.accessKey, settings.bucket, [=](const QString &host, const QString &error) {
        if (host.isEmpty()) {
            fail(drop, reply, Korvane::Error(3004, qtTrId("qiniuRegionFailed").arg(settings.bucket, error)));
            return;
        }
        const UploadBatch::Unit &image = batch->unit(0);
        if (image.path.isEmpty()) {
            net->qiniuPut(host, QString(), image.bytes, image.key, token,
                          batch->callbacks(0, linkTo(settings.domain, image.key)));
            return;
        }
        batch->startEach(0, [=](qsizetype index) {
            const QString path = batch->unit(index).path;
            uploadFileToQiniu(drop, path, batch->unit(index).key, fileExtension(path), 0,
                              net->qiniuToken(settings.accessKey, settings.secretKey, settings.bucket), host, batch,
                              index);
        });
    });
}

void UploadActions::uploadFileToQiniu(const DropPtr &dropAction, const QString &imageData, const QString &key,
                                      const QString &fileExtension, qint64 times, const QString &token,
                                      const QString &host, const std::shared_ptr<UploadBatch> &batch, qsizetype unit)
{
    QString objectKey = times >= 1 ? QStringLiteral("%1-%2").arg(key).arg(times) : key;
    if (!fileExtension.isEmpty())
        objectKey += QLatin1Char('.') + fileExtension;
    const QString domain = dropAction->qiniuUploadSettings() ? dropAction->qiniuUploadSettings()->qiniuDomain() : QString();
    const auto answered = [=](const Outcome &outcome) {
        if (!outcome.stored && outcome.status == QiniuUploadManager::keyExistsStatus && times < qiniuMaximumRetries) {
            uploadFileToQiniu(dropAction, imageData, key, fileExtension, times + 1, token, host, batch, unit);
            return;
        }
        batch->answer(unit, outcome.stored ? objectUrl(domain, objectKey) : QString());
    };
    NetworkServices::operations()->qiniuPut(
        host, imageData, QByteArray(), objectKey, token,
        {answered, [batch, unit](qint64 sent, qint64 total) { batch->unitSent(unit, sent, total); }});
}

void UploadActions::uploadUpCDNResult(const DropPtr &drop, qint64 failCount, const ActionReply &reply,
                                      const QStringList &urlArray, const QStringList &failures)
{
    result(drop, failCount, reply, urlArray, failures, 3032, qtTrId("NImagesUploadFailed", int(failCount)), 3023, qtTrId("UploadFailed"));
}

void UploadActions::uploadToUpYun(const DropPtr &drop, const DropPayload &payload, const ActionReply &reply,
                                  const Korvane::Progress &progress)
{
    const StoreSettings settings = storeSettings(drop->upyunUploadSettings(), &UpyunUploadSettings::admin, &UpyunUploadSettings::secretCode,
                                                 &UpyunUploadSettings::bucketName, &UpyunUploadSettings::upDomain);
    QList<UploadBatch::Unit> units;
    const auto keyOf = [&settings](const QString &path) { return dottedKey(path, settings.suffixType); };
    if (!startFileRun(drop, payload, reply, settings, 3030, keyOf, &units))
        return;
    const NetworkOperations *net = network(drop, reply);
    if (!net)
        return;
    const BatchPtr batch = newBatch(drop, reply, &UploadActions::uploadUpCDNResult, QStringLiteral("upyun"),
                                    units, progress);
    if (batch->completeIfEmpty())
        return;
    // The store answers with the object's path, which starts with the "/" the base URL ends
    // the host with.
    const UploadBatch::Link link = [domain = settings.domain](const Outcome &outcome) {
        QString url = outcome.answer.toMap().value(QStringLiteral("url")).toString();
        while (url.startsWith(QLatin1Char('/')))
            url.remove(0, 1);
        return url.isEmpty() ? QString() : objectUrl(domain, url);
    };
    batch->startEach(0, [=](qsizetype index) {
        const UploadBatch::Unit &unit = batch->unit(index);
        const UploadCallbacks counted = batch->callbacks(index, link);
        const UploadCallbacks callbacks{counted.done, [counted](qint64 completed, qint64 total) {
                                            qCDebug(lcUpload, "upload progress: %s",
                                                    qUtf8Printable(QStringLiteral("%1 / %2").arg(completed).arg(total)));
                                            counted.progress(completed, total);
                                        }};
        // The store wants the save key rooted at the bucket.
        net->upyunPut(settings.bucket, settings.accessKey, settings.secretKey,
                      unit.path.isEmpty() ? QVariant(unit.bytes) : QVariant(unit.path), QLatin1Char('/') + unit.key,
                      callbacks);
    });
}

QString UploadActions::ossObjectKey(const QString &path, qint16 suffixType, const QDateTime &now)
{
    const QString extension = fileExtension(path);
    const QString base = objectBaseName(path, suffixType, now);
    if (extension.isEmpty())
        return base;
    const QMimeType type = QMimeDatabase().mimeTypeForFile(QStringLiteral("x.") + extension, QMimeDatabase::MatchExtension);
    if (type.name().startsWith(QLatin1String("image/")))
        return base + QStringLiteral(".jpg");
    return QStringLiteral("%1.%2").arg(base, extension);
}

void UploadActions::uploadAliResult(const DropPtr &drop, qint64 failCount, const ActionReply &reply,
                                    const QStringList &urlArray, const QStringList &failures)
{
    result(drop, failCount, reply, urlArray, failures, 3012, qtTrId("NImagesUploadFailed", int(failCount)), 3013, qtTrId("UploadFailed"));
}

void UploadActions::uploadToOss(const DropPtr &drop, const DropPayload &payload, const ActionReply &reply,
                                const Korvane::Progress &progress)
{
    const StoreSettings settings = storeSettings(drop->ossUploadSettings(), &OssUploadSettings::aliAccessKey,
                                                 &OssUploadSettings::aliSecretKey, &OssUploadSettings::aliSpaceName,
                                                 &OssUploadSettings::aliDomain);
    const QDateTime now = QDateTime::currentDateTime();
    QList<UploadBatch::Unit> units;
    const auto keyOf = [&settings, &now](const QString &path) { return ossObjectKey(path, settings.suffixType, now); };
    if (!startFileRun(drop, payload, reply, settings, 3010, keyOf, &units))
        return;
    const NetworkOperations *net = network(drop, reply);
    if (!net)
        return;
    const BatchPtr batch = newBatch(drop, reply, &UploadActions::uploadAliResult, QStringLiteral("oss"),
                                    units, progress);
    if (batch->completeIfEmpty())
        return;

    const auto put = [batch, settings, net](const QString &endpoint, qsizetype index, const UploadCallbacks &callbacks) {
        const UploadBatch::Unit &unit = batch->unit(index);
        net->ossPut(endpoint, settings.accessKey, settings.secretKey, settings.bucket, unit.key, unit.path, unit.bytes,
                    callbacks);
    };
    const auto counted = [batch, domain = settings.domain](qsizetype index) {
        return batch->callbacks(index, linkTo(domain, batch->unit(index).key));
    };
    // Every answer after the first is counted as it is: the endpoint changes once per run.
    const auto putCounted = [put, counted](const QString &endpoint) {
        return [put, counted, endpoint](qsizetype index) { put(endpoint, index, counted(index)); };
    };

    const QString setting = net->ossEndpoint();
    UploadCallbacks firstCallbacks = counted(0);
    firstCallbacks.done = [=, answer = firstCallbacks.done](const Outcome &outcome) {
        if (!outcome.endpoint.isEmpty()) {
            qCInfo(lcUpload, "the bucket is served by another endpoint; putting again there");
            batch->startEach(0, putCounted(net->withSchemeOf(setting, outcome.endpoint)));
            return;
        }
        answer(outcome);
        batch->startEach(1, putCounted(setting));
    };
    put(setting, 0, firstCallbacks);
}

void UploadActions::uploadWeiboResult(const DropPtr &drop, qint64 failCount, const ActionReply &reply,
                                      const QStringList &urlArray, const QStringList &failures)
{
    result(drop, failCount, reply, urlArray, failures, 2002, qtTrId("NImagesUploadWeiboFailed", int(failCount)), 2003, qtTrId("UploadWeiboFailed"));
}

void UploadActions::uploadToWeibo(const DropPtr &drop, const DropPayload &payload, const ActionReply &reply,
                                  const Korvane::Progress &progress)
{
    const auto settings = drop->weiboUploadSettings();
    const QString account = settings ? settings->weiboAccount() : QString();
    const QString password = settings ? settings->weiboPassword() : QString();
    if (account.isEmpty() || password.isEmpty()) {
        fail(drop, reply, Korvane::Error(2000, qtTrId("PleaseEnterWeiboAccount")));
        return;
    }
    QList<UploadBatch::Unit> units;
    if (!dropUnits(drop, reply, payload.imageData(), payload.imgFileUrls(), nullptr, &units))
        return;
    const NetworkOperations *net = network(drop, reply);
    if (!net)
        return;
    net->weiboLogin(account, password, [drop, reply, units, progress, net](bool success, const QString &message) {
        if (!success) {
            if (message.isEmpty())
                qCWarning(lcUpload, "微博账号或者密码错误");
            fail(drop, reply, message.isEmpty() ? Korvane::Error(2001, qtTrId("WrongWeiboAccount")) : Korvane::Error(-1001, qtTrId("CanNotConnectToServer")));
            return;
        }
        const BatchPtr batch = newBatch(drop, reply, &UploadActions::uploadWeiboResult, QStringLiteral("weibo"),
                                        units, progress);
        if (batch->completeIfEmpty())
            return;
        batch->startEach(0, [batch, net](qsizetype index) {
            const UploadBatch::Unit &unit = batch->unit(index);
            const UploadCallbacks callbacks = batch->callbacks(index, [](const Outcome &outcome) { return outcome.answer.toString(); });
            QByteArray bytes = unit.bytes;
            if (!unit.path.isEmpty()) {
                QFile file(unit.path);
                if (!file.open(QIODevice::ReadOnly)) {
                    qCInfo(lcUpload, "cannot read an image to upload: %s",
                           qUtf8Printable(LogText::summary(unit.path, lcUpload())));
                    // Counted after the current event, like any other answer.
                    QMetaObject::invokeMethod(
                        QCoreApplication::instance(), [done = callbacks.done] { done(Outcome()); },
                        Qt::QueuedConnection);
                    return;
                }
                bytes = file.readAll();
            }
            net->weiboUpload(bytes.toBase64(), callbacks);
        });
    });
}
