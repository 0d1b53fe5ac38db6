#include "korvaneuploadactions.h"

#include "aliossclient.h"
#include "droplistentity.h"
#include "filemanager.h"
#include "fileuploadali.h"
#include "fileuploadqinniu.h"
#include "fileuploadtencent.h"
#include "fileuploadup.h"
#include "imageuploadweibo.h"
#include "genaratetoken.h"
#include "korvaneapiclient.h"
#include "korvanehandledata.h"
#include "korvanehandlepbhelper.h"
#include "korvanehosts.h"
#include "korvanelogtext.h"
#include "korvanenetworkclient.h"
#include "qcloudmanager.h"
#include "qiniuuploadmanager.h"
#include "uploadbatch.h"
#include "upyunformuploader.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QLoggingCategory>
#include <QMimeDatabase>

namespace {

Q_LOGGING_CATEGORY(lcUpload, "korvane.actions.upload", QtWarningMsg)

using DropPtr = KorvaneUploadActions::DropPtr;

void notify(bool success, const DropListEntity &drop, const QString &body)
{
    KorvaneNotificationContent content = KorvaneHandlePbHelper::defaultNotificationContentSucceed(success, drop);
    content.body = body;
    KorvaneHandlePbHelper::trigeerlocalNotificationWithContent(content);
}

void fail(const DropPtr &drop, const KorvaneCompletion &completion, const KorvaneError &error)
{
    notify(false, *drop, error.localizedDescription());
    finishOnMain(completion, false, error);
}

using BatchPtr = std::shared_ptr<UploadBatch>;

BatchPtr newBatch(const DropPtr &drop, const KorvaneCompletion &completion, UploadBatch::ResultStep step,
                  const QString &store, const QList<UploadBatch::Unit> &units, const KorvaneProgress &progress)
{
    return std::make_shared<UploadBatch>(drop, completion, step, store, units, progress);
}

UploadBatch::Unit fileUnit(const QString &path)
{
    const QFileInfo info(path);
    return {info.fileName(), info.size()};
}

UploadBatch::Unit dataUnit(const QByteArray &data)
{
    return {QString(), data.size()};
}

// Images, other files, videos: folders are never uploaded.
QList<QUrl> droppedUrls()
{
    const KorvaneHandleData &data = *KorvaneHandleData::shareInstance();
    return data.imgFileUrls() + data.otherFileUrls() + data.videoFileUrls();
}

// The paths of the files to send. One that cannot be read as it is named (a FIFO, a device,
// a name that is not UTF-8) refuses the whole upload, reported here, before anything is
// opened or sent.
bool readableFiles(const DropPtr &drop, const KorvaneCompletion &completion, const QList<QUrl> &urls, QStringList *paths)
{
    for (const QUrl &url : urls) {
        KorvaneError error;
        const QString path = FileManager::textPath(url, &error);
        if (path.isEmpty() || !FileManager::isRegularFile(path, &error)) {
            fail(drop, completion, error);
            return false;
        }
        paths->append(path);
    }
    return true;
}

// The failure texts name every file that was not stored after the count.
void result(const DropPtr &drop, qint64 failCount, const KorvaneCompletion &completion, const QStringList &urls,
            const QStringList &failures, int someFailedCode, const QString &someFailedText, int noUrlCode,
            const QString &noUrlText)
{
    if (urls.isEmpty()) {
        fail(drop, completion, KorvaneError(noUrlCode, (QStringList{noUrlText} + failures).join(QLatin1Char(' '))));
        return;
    }
    const QString text = KorvaneUploadActions::getTextFromArray(urls);
    KorvaneHandlePbHelper::pasteTextToPB(text);
    const KorvaneError error = failCount > 0
        ? KorvaneError(someFailedCode, (QStringList{someFailedText} + failures).join(QLatin1Char(' ')))
        : KorvaneError();
    finishOnMain(completion, true, error);
    QString body = text;
    notify(true, *drop, body.replace(QLatin1Char('\n'), QLatin1Char(' ')));
}

// The other stores have no text of their own for missing settings.
void settingsMissing(const DropPtr &drop, const KorvaneCompletion &completion, int code)
{
    fail(drop, completion, KorvaneError(code, qtTrId("PleaseEnterQiniuAccount")));
}

// A store that calls every name taken would otherwise be asked forever.
constexpr qint64 qiniuMaximumRetries = 1000;

QString imageDataKey()
{
    return KorvaneHandlePbHelper::randomKey() + QStringLiteral(".jpg");
}

// COS and UpYun: the base name, then "." and the extension when there is one.
QString dottedKey(const QString &path, qint16 suffixType)
{
    const QString extension = KorvaneUploadActions::fileExtension(path);
    const QString base = KorvaneUploadActions::objectBaseName(path, suffixType, QDateTime::currentDateTime());
    return extension.isEmpty() ? base : QStringLiteral("%1.%2").arg(base, extension);
}

} // namespace

QString KorvaneUploadActions::getTextFromArray(const QStringList &texts)
{
    return texts.isEmpty() ? QString() : texts.join(QLatin1Char('\n'));
}

QString KorvaneUploadActions::objectBaseName(const QString &path, qint16 suffixType, const QDateTime &now)
{
    const QString name = QFileInfo(path).fileName();
    const qsizetype dot = name.lastIndexOf(QLatin1Char('.'));
    const QString base = dot >= 0 ? name.left(dot) : name;
    switch (suffixType) {
    case 1:
        return QStringLiteral("%1_%2").arg(now.toLocalTime().toString(QStringLiteral("yyyyMMdd")), base);
    case 2:
        return KorvaneHandlePbHelper::randomKey();
    default:
        return base;
    }
}

QString KorvaneUploadActions::fileExtension(const QString &path)
{
    const QString name = QFileInfo(path).fileName();
    const qsizetype dot = name.lastIndexOf(QLatin1Char('.'));
    return dot >= 0 ? name.mid(dot + 1) : QString();
}

QString KorvaneUploadActions::objectUrl(const QString &baseUrl, const QString &key)
{
    return QStringLiteral("%1/%2").arg(baseUrl, KorvaneNetWorkClient::queryEncodedPath(key));
}

void KorvaneUploadActions::uploadQCloudResult(const DropPtr &drop, qint64 failCount, const KorvaneCompletion &succeed,
                                              const QStringList &urlArray, const QStringList &failures)
{
    result(drop, failCount, succeed, urlArray, failures, 3022, qtTrId("NImagesUploadFailed", int(failCount)), 3023, qtTrId("UploadFailed"));
}

void KorvaneUploadActions::uploadFileToQCloudDropEntity(const DropPtr &drop, const KorvaneCompletion &completion,
                                                        const KorvaneProgress &progress)
{
    const auto settings = drop->fileUploadTencent();
    const QString secretId = settings ? settings->tencentAccessKey() : QString();
    const QString secretKey = settings ? settings->tencentSecretKey() : QString();
    const QString bucket = settings ? settings->tencentSpaceName() : QString();
    if (secretId.isEmpty() || secretKey.isEmpty() || bucket.isEmpty()) {
        settingsMissing(drop, completion, 3020);
        return;
    }
    const QString domain = settings->tencentDomain();
    const qint16 suffixType = settings->suffixType();
    const KorvaneHandleData &data = *KorvaneHandleData::shareInstance();
    const QByteArray imageData = data.imageData();
    QStringList files;
    if (imageData.isEmpty() && !readableFiles(drop, completion, droppedUrls(), &files))
        return;
    QList<UploadBatch::Unit> units;
    if (!imageData.isEmpty())
        units.append(dataUnit(imageData));
    for (const QString &path : files)
        units.append(fileUnit(path));
    const BatchPtr batch = newBatch(drop, completion, &KorvaneUploadActions::uploadQCloudResult, QStringLiteral("cos"),
                                    units, progress);

    KorvaneApiClient::getQCloudBucketDetail(
        secretKey, secretId, bucket,
        [=](bool success, const QVariant &host, const QString &message) {
            // A message comes only with a lookup that got no answer or a server error: the bucket may
            // well exist.
            if (!success && !message.isEmpty()) {
                qCWarning(lcUpload, "the COS bucket lookup got no answer");
                fail(drop, completion, KorvaneError(3023, qtTrId("UploadFailed") + QLatin1Char(' ') + message));
                return;
            }
            if (!success) {
                qCWarning(lcUpload, "the COS bucket lookup failed");
                fail(drop, completion, KorvaneError(3021, qtTrId("QCloudBucketNotFound").arg(bucket)));
                return;
            }
            const QString hostUrl = host.toString();
            if (batch->total() == 0) {
                uploadQCloudResult(drop, 0, completion, {});
                return;
            }
            if (!imageData.isEmpty()) {
                const QString key = imageDataKey();
                const QString objectPath = QLatin1Char('/') + key;
                KorvaneNetWorkClient::sharedClient()->putPath(
                    hostUrl + objectPath, {}, QCloudManager::cosSign(secretKey, secretId, QStringLiteral("put"), objectPath),
                    imageData, [=](int) { batch->answer(0, objectUrl(domain, key)); },
                    [batch](const KorvaneNetWorkError &) { batch->answer(0, QString()); });
                return;
            }
            for (qsizetype unit = 0; unit < files.size(); ++unit) {
                const QString key = dottedKey(files.at(unit), suffixType);
                batch->start(unit, [=] {
                    KorvaneApiClient::uploadToQCloudCos(
                        secretKey, secretId, hostUrl, files.at(unit), key,
                        [batch, domain, key, unit](bool stored, const QString &) {
                            batch->answer(unit, stored ? objectUrl(domain, key) : QString());
                        },
                        [batch, unit](qint64 sent, qint64 total) { batch->unitSent(unit, sent, total); });
                });
            }
        });
}

void KorvaneUploadActions::uploadQiniuResult(const DropPtr &drop, qint64 failCount, const KorvaneCompletion &succeed,
                                             const QStringList &urlArray, const QStringList &failures)
{
    result(drop, failCount, succeed, urlArray, failures, 3002, qtTrId("NImagesUploadFailed", int(failCount)), 3003, qtTrId("UploadFailed"));
}

void KorvaneUploadActions::uploadFileToQiniuDropEntity(const DropPtr &drop, const KorvaneCompletion &completion,
                                                       const KorvaneProgress &progress)
{
    const auto settings = drop->fileUploadQiNiu();
    const QString accessKey = settings ? settings->qiniuAccessKey() : QString();
    const QString secretKey = settings ? settings->qiniuSecretKey() : QString();
    const QString bucket = settings ? settings->qiniuSpaceName() : QString();
    if (accessKey.isEmpty() || secretKey.isEmpty() || bucket.isEmpty()) {
        settingsMissing(drop, completion, 3000);
        return;
    }
    const QString token = GenarateToken().createToken(accessKey, secretKey, bucket);
    if (token.isEmpty()) {
        fail(drop, completion, KorvaneError(3001, qtTrId("WrongQiniuAccount")));
        return;
    }
    const KorvaneHandleData &data = *KorvaneHandleData::shareInstance();
    const QByteArray imageData = data.imageData();
    QStringList files;
    if (imageData.isEmpty() && !readableFiles(drop, completion, droppedUrls(), &files))
        return;
    if (imageData.isEmpty() && files.isEmpty()) {
        uploadQiniuResult(drop, 0, completion, {});
        return;
    }

    QiniuUploadManager::findUploadHost(accessKey, bucket, [=](const QString &host, const QString &error) {
        if (host.isEmpty()) {
            fail(drop, completion, KorvaneError(3004, qtTrId("qiniuRegionFailed").arg(bucket, error)));
            return;
        }
        uploadToQiniuHost(drop, completion, progress, host, token, imageData, files);
    });
}

void KorvaneUploadActions::uploadToQiniuHost(const DropPtr &drop, const KorvaneCompletion &completion,
                                             const KorvaneProgress &progress, const QString &host, const QString &token,
                                             const QByteArray &imageData, const QStringList &files)
{
    const auto settings = drop->fileUploadQiNiu();
    const QString domain = settings->qiniuDomain();
    const qint16 suffixType = settings->suffixType();
    const QString accessKey = settings->qiniuAccessKey();
    const QString secretKey = settings->qiniuSecretKey();
    const QString bucket = settings->qiniuSpaceName();
    if (!imageData.isEmpty()) {
        const QString key = imageDataKey();
        const BatchPtr batch = newBatch(drop, completion, &KorvaneUploadActions::uploadQiniuResult, QStringLiteral("qiniu"),
                                        {dataUnit(imageData)}, progress);
        auto *manager = new QiniuUploadManager(host, QCoreApplication::instance());
        batch->own(manager);
        manager->putData(
            imageData, key, token,
            [batch, domain](int, const QString &key, const QVariantMap &response) {
                batch->answer(0, response.isEmpty() ? QString() : objectUrl(domain, key));
            },
            [batch](qint64 sent, qint64 total) { batch->unitSent(0, sent, total); });
        return;
    }

    KorvaneHandleData &data = *KorvaneHandleData::shareInstance();
    data.setCount(0);
    data.setSuccessCount(0);
    data.setFailCount(0);
    QList<UploadBatch::Unit> units;
    for (const QString &path : files)
        units.append(fileUnit(path));
    const BatchPtr batch = newBatch(drop, completion, &KorvaneUploadActions::uploadQiniuResult, QStringLiteral("qiniu"),
                                    units, progress);
    const auto urls = std::make_shared<QStringList>();
    for (qsizetype unit = 0; unit < files.size(); ++unit) {
        const QString path = files.at(unit);
        const qsizetype count = files.size();
        batch->start(unit, [=] {
            auto *manager = new QiniuUploadManager(host, QCoreApplication::instance());
            uploadFileToQiniu(completion, drop, count, path, objectBaseName(path, suffixType, QDateTime::currentDateTime()),
                              fileExtension(path), 0, GenarateToken().createToken(accessKey, secretKey, bucket), manager, urls,
                              batch, unit);
        });
    }
}

void KorvaneUploadActions::uploadFileToQiniu(const KorvaneCompletion &completion, const DropPtr &dropAction,
                                             qint64 imageCount, const QString &imageData, const QString &key,
                                             const QString &fileExtension, qint64 times, const QString &token,
                                             QiniuUploadManager *upManager, const std::shared_ptr<QStringList> &urlArray,
                                             const std::shared_ptr<UploadBatch> &batch, qsizetype unit)
{
    QString objectKey = times >= 1 ? QStringLiteral("%1-%2").arg(key).arg(times) : key;
    if (!fileExtension.isEmpty())
        objectKey += QLatin1Char('.') + fileExtension;
    const QString domain = dropAction->fileUploadQiNiu() ? dropAction->fileUploadQiNiu()->qiniuDomain() : QString();
    const auto answered = [=](int statusCode, const QString &storedKey, const QVariantMap &response) {
        KorvaneHandleData &data = *KorvaneHandleData::shareInstance();
        if (response.isEmpty() && statusCode == QiniuUploadManager::keyExistsStatus && times < qiniuMaximumRetries) {
            uploadFileToQiniu(completion, dropAction, imageCount, imageData, key, fileExtension, times + 1, token,
                              upManager, urlArray, batch, unit);
            return;
        }
        upManager->deleteLater();
        const QString url = response.isEmpty() ? QString() : objectUrl(domain, storedKey);
        if (!url.isEmpty()) {
            urlArray->append(url);
            data.setSuccessCount(data.successCount() + 1);
        } else {
            data.setFailCount(data.failCount() + 1);
        }
        data.setCount(data.count() + 1);
        batch->unitAnswered(unit, url);
        if (data.count() == imageCount)
            batch->complete(data.failCount(), *urlArray);
    };
    upManager->putFile(imageData, objectKey, token, answered,
                       [batch, unit](qint64 sent, qint64 total) { batch->unitSent(unit, sent, total); });
}

void KorvaneUploadActions::uploadUpCDNResult(const DropPtr &drop, qint64 failCount, const KorvaneCompletion &succeed,
                                             const QStringList &urlArray, const QStringList &failures)
{
    result(drop, failCount, succeed, urlArray, failures, 3032, qtTrId("NImagesUploadFailed", int(failCount)), 3023, qtTrId("UploadFailed"));
}

void KorvaneUploadActions::uploadFileToUpCDNDropEntity(const DropPtr &drop, const KorvaneCompletion &completion,
                                                        const KorvaneProgress &progress)
{
    const auto settings = drop->fileUploadUP();
    const QString operatorName = settings ? settings->admin() : QString();
    const QString password = settings ? settings->secretCode() : QString();
    const QString bucket = settings ? settings->bucketName() : QString();
    if (operatorName.isEmpty() || password.isEmpty() || bucket.isEmpty()) {
        settingsMissing(drop, completion, 3030);
        return;
    }
    const QString domain = settings->upDomain();
    const qint16 suffixType = settings->suffixType();
    const KorvaneHandleData &data = *KorvaneHandleData::shareInstance();

    // (save key, what to send: the image bytes or a file's path)
    QList<QPair<QString, QVariant>> units;
    QList<UploadBatch::Unit> batchUnits;
    if (!data.imageData().isEmpty()) {
        units.append({imageDataKey(), data.imageData()});
        batchUnits.append(dataUnit(data.imageData()));
    } else {
        QStringList files;
        if (!readableFiles(drop, completion, droppedUrls(), &files))
            return;
        for (const QString &path : std::as_const(files)) {
            units.append({dottedKey(path, suffixType), path});
            batchUnits.append(fileUnit(path));
        }
    }
    const BatchPtr batch = newBatch(drop, completion, &KorvaneUploadActions::uploadUpCDNResult, QStringLiteral("upyun"),
                                    batchUnits, progress);
    if (units.isEmpty()) {
        uploadUpCDNResult(drop, 0, completion, {});
        return;
    }
    for (qsizetype unit = 0; unit < units.size(); ++unit) {
        batch->start(unit, [=] {
            auto *uploader = new UpYunFormUploader(QCoreApplication::instance());
            // The store wants the save key rooted at the bucket.
            uploader->uploadWithBucketName(
                bucket, operatorName, password, units.at(unit).second, QString(), QLatin1Char('/') + units.at(unit).first, {},
                [batch, domain, uploader, unit](int, const QVariantMap &answer) {
                    uploader->deleteLater();
                    QString url = answer.value(QStringLiteral("url")).toString();
                    // The answer's path starts with "/", which the base URL already ends the host with.
                    while (url.startsWith(QLatin1Char('/')))
                        url.remove(0, 1);
                    batch->answer(unit, url.isEmpty() ? QString() : objectUrl(domain, url));
                },
                [batch, uploader, unit](const KorvaneError &error, int statusCode, const QVariant &) {
                    uploader->deleteLater();
                    qCInfo(lcUpload, "an UpYun upload failed: %s %d, status %d", qUtf8Printable(error.domain()), error.code(),
                           statusCode);
                    batch->answer(unit, QString());
                },
                [batch, unit](qint64 completed, qint64 total) {
                    qCDebug(lcUpload, "upload progress: %s", qUtf8Printable(QStringLiteral("%1 / %2").arg(completed).arg(total)));
                    batch->unitSent(unit, completed, total);
                });
        });
    }
}

QString KorvaneUploadActions::ossObjectKey(const QString &path, qint16 suffixType, const QDateTime &now)
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

void KorvaneUploadActions::uploadAliResult(const DropPtr &drop, qint64 failCount, const KorvaneCompletion &succeed,
                                           const QStringList &urlArray, const QStringList &failures)
{
    result(drop, failCount, succeed, urlArray, failures, 3012, qtTrId("NImagesUploadFailed", int(failCount)), 3013, qtTrId("UploadFailed"));
}

void KorvaneUploadActions::uploadFileToAliDropEntity(const DropPtr &drop, const KorvaneCompletion &completion,
                                                     const KorvaneProgress &progress)
{
    const auto settings = drop->fileUploadAli();
    const QString accessKey = settings ? settings->aliAccessKey() : QString();
    const QString secretKey = settings ? settings->aliSecretKey() : QString();
    const QString bucket = settings ? settings->aliSpaceName() : QString();
    if (accessKey.isEmpty() || secretKey.isEmpty() || bucket.isEmpty()) {
        settingsMissing(drop, completion, 3010);
        return;
    }
    const QString domain = settings->aliDomain();
    const qint16 suffixType = settings->suffixType();
    const KorvaneHandleData &data = *KorvaneHandleData::shareInstance();

    struct Unit {
        QString key;
        QString path;
        QByteArray bytes;
    };
    QList<Unit> units;
    if (!data.imageData().isEmpty()) {
        units.append({imageDataKey(), QString(), data.imageData()});
    } else {
        QStringList files;
        if (!readableFiles(drop, completion, droppedUrls(), &files))
            return;
        const QDateTime now = QDateTime::currentDateTime();
        for (const QString &path : std::as_const(files))
            units.append({ossObjectKey(path, suffixType, now), path, QByteArray()});
    }
    QList<UploadBatch::Unit> batchUnits;
    for (const Unit &unit : std::as_const(units))
        batchUnits.append(unit.path.isEmpty() ? dataUnit(unit.bytes) : fileUnit(unit.path));
    const BatchPtr batch = newBatch(drop, completion, &KorvaneUploadActions::uploadAliResult, QStringLiteral("oss"),
                                    batchUnits, progress);
    if (units.isEmpty()) {
        uploadAliResult(drop, 0, completion, {});
        return;
    }

    const auto clientFor = [batch, accessKey, secretKey](const QString &endpoint) {
        auto *client = new AliOssClient(endpoint, accessKey, secretKey, QCoreApplication::instance());
        batch->own(client);
        return client;
    };
    // Every answer after the first is counted as it is: the endpoint changes once per run.
    const auto sent = [batch](qsizetype unit) {
        return [batch, unit](qint64 bytes, qint64 total) { batch->unitSent(unit, bytes, total); };
    };
    const auto putCounted = [batch, bucket, domain, units, sent](AliOssClient *client, qsizetype index) {
        const Unit &unit = units.at(index);
        batch->start(index, [=] {
            client->putObject(
                bucket, unit.key, unit.path, unit.bytes,
                [batch, domain, key = unit.key, index](int code, const QString &, const QString &message) {
                    if (code == 0)
                        qCDebug(lcUpload, "put image success!");
                    else
                        qCDebug(lcUpload, "put image failed!\nErrorMsg: %s", qUtf8Printable(message));
                    batch->answer(index, code == 0 ? objectUrl(domain, key) : QString());
                },
                sent(index));
        });
    };

    const QString setting = KorvaneHosts::ossEndpoint();
    AliOssClient *first = clientFor(setting);
    first->putObject(bucket, units.first().key, units.first().path, units.first().bytes,
                     [=](int code, const QString &endpoint, const QString &message) {
                         if (code == AliOssClient::wrongEndpointCode) {
                             qCInfo(lcUpload, "the bucket is served by another endpoint; putting again there");
                             AliOssClient *moved = clientFor(KorvaneHosts::withSchemeOf(setting, endpoint));
                             for (qsizetype index = 0; index < units.size(); ++index)
                                 putCounted(moved, index);
                             return;
                         }
                         if (code == 0)
                             qCDebug(lcUpload, "put image success!");
                         else
                             qCDebug(lcUpload, "put image failed!\nErrorMsg: %s", qUtf8Printable(message));
                         batch->answer(0, code == 0 ? objectUrl(domain, units.first().key) : QString());
                         for (qsizetype index = 1; index < units.size(); ++index)
                             putCounted(first, index);
                     },
                     sent(0));
}

void KorvaneUploadActions::uploadWeiboResult(const DropPtr &drop, qint64 failCount, const KorvaneCompletion &succeed,
                                             const QStringList &urlArray, const QStringList &failures)
{
    result(drop, failCount, succeed, urlArray, failures, 2002, qtTrId("NImagesUploadWeiboFailed", int(failCount)), 2003, qtTrId("UploadWeiboFailed"));
}

void KorvaneUploadActions::uploadImageToWeiboDropEntity(const DropPtr &drop, const KorvaneCompletion &completion,
                                                        const KorvaneProgress &progress)
{
    const auto settings = drop->imageUploadWeiBo();
    const QString account = settings ? settings->weiboAccount() : QString();
    const QString password = settings ? settings->weiboPassWord() : QString();
    if (account.isEmpty() || password.isEmpty()) {
        fail(drop, completion, KorvaneError(2000, qtTrId("PleaseEnterWeiboAccount")));
        return;
    }
    const KorvaneHandleData &data = *KorvaneHandleData::shareInstance();
    const QByteArray imageData = data.imageData();
    QStringList files;
    if (imageData.isEmpty() && !readableFiles(drop, completion, data.imgFileUrls(), &files))
        return;
    KorvaneApiClient::weiboLogin(account, password, [drop, completion, imageData, files, progress](bool success, const QString &message) {
        if (!success) {
            if (message.isEmpty())
                qCWarning(lcUpload, "微博账号或者密码错误");
            fail(drop, completion, message.isEmpty() ? KorvaneError(2001, qtTrId("WrongWeiboAccount"))
                                                     : KorvaneError(-1001, qtTrId("CanNotConnectToServer")));
            return;
        }
        QList<UploadBatch::Unit> units;
        if (!imageData.isEmpty())
            units.append(dataUnit(imageData));
        for (const QString &path : files)
            units.append(fileUnit(path));
        const BatchPtr batch = newBatch(drop, completion, &KorvaneUploadActions::uploadWeiboResult, QStringLiteral("weibo"),
                                        units, progress);
        if (batch->total() == 0) {
            uploadWeiboResult(drop, 0, completion, {});
            return;
        }
        const auto upload = [batch](qsizetype unit, const QByteArray &bytes) {
            KorvaneApiClient::weiboUploadImg(bytes.toBase64(), [batch, unit](bool stored, const QVariant &url, const QString &) {
                batch->answer(unit, stored ? url.toString() : QString());
            });
        };
        if (!imageData.isEmpty()) {
            upload(0, imageData);
            return;
        }
        for (qsizetype unit = 0; unit < files.size(); ++unit) {
            batch->start(unit, [batch, upload, unit, path = files.at(unit)] {
                QFile file(path);
                if (!file.open(QIODevice::ReadOnly)) {
                    qCInfo(lcUpload, "cannot read an image to upload: %s",
                           qUtf8Printable(KorvaneLogText::summary(path, lcUpload())));
                    // Counted after the current event, like any other answer.
                    QMetaObject::invokeMethod(QCoreApplication::instance(), [batch, unit] { batch->answer(unit, QString()); },
                                              Qt::QueuedConnection);
                    return;
                }
                upload(unit, file.readAll());
            });
        }
    });
}
