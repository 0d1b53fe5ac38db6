#include "korvaneuploadactions.h"

#include "aliossclient.h"
#include "droplistentity.h"
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
#include "korvanenetworkclient.h"
#include "korvanependingwork.h"
#include "qcloudmanager.h"
#include "qiniuuploadmanager.h"
#include "upyunformuploader.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QLoggingCategory>
#include <QMimeDatabase>
#include <QThread>

namespace {

Q_LOGGING_CATEGORY(lcUpload, "korvane.actions.upload", QtWarningMsg)

using DropPtr = KorvaneUploadActions::DropPtr;
using ResultStep = void (*)(const DropPtr &, qint64, const KorvaneCompletion &, const QStringList &);

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

// The counters and links of one run. Every answer is counted here on the main thread, so
// answers arriving together are all counted and the result step runs once.
struct UploadBatch
{
    DropPtr drop;
    KorvaneCompletion completion;
    ResultStep resultStep = nullptr;
    qint64 total = 0;
    qint64 finished = 0;
    qint64 failed = 0;
    QStringList urls;
    // Clients of the run, released once it is complete.
    QList<QObject *> owned;

    // An empty link counts as a failure.
    void answer(const QString &url)
    {
        Q_ASSERT(QThread::currentThread() == QCoreApplication::instance()->thread());
        if (finished >= total) {
            qCWarning(lcUpload, "an answer after the batch was complete is ignored");
            return;
        }
        if (url.isEmpty())
            ++failed;
        else
            urls.append(url);
        if (++finished == total) {
            for (QObject *object : std::as_const(owned))
                object->deleteLater();
            owned.clear();
            resultStep(drop, failed, completion, urls);
        }
    }
};
using BatchPtr = std::shared_ptr<UploadBatch>;

BatchPtr newBatch(const DropPtr &drop, const KorvaneCompletion &completion, ResultStep step, qint64 total)
{
    auto batch = std::make_shared<UploadBatch>();
    batch->drop = drop;
    batch->completion = completion;
    batch->resultStep = step;
    batch->total = total;
    return batch;
}

// Images, other files, videos: folders are never uploaded.
QStringList droppedFiles(const KorvaneHandleData &data)
{
    QStringList paths;
    for (const QList<QUrl> *list : {&data.imgFileUrls(), &data.otherFileUrls(), &data.videoFileUrls()})
        for (const QUrl &url : *list)
            paths.append(url.toLocalFile());
    return paths;
}

void result(const DropPtr &drop, qint64 failCount, const KorvaneCompletion &completion, const QStringList &urls,
            int someFailedCode, const QString &someFailedText, int noUrlCode, const QString &noUrlText)
{
    if (urls.isEmpty()) {
        fail(drop, completion, KorvaneError(noUrlCode, noUrlText));
        return;
    }
    const QString text = KorvaneUploadActions::getTextFromArray(urls);
    KorvaneHandlePbHelper::pasteTextToPB(text);
    const KorvaneError error = failCount > 0 ? KorvaneError(someFailedCode, someFailedText.arg(failCount)) : KorvaneError();
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
                                              const QStringList &urlArray)
{
    result(drop, failCount, succeed, urlArray, 3022, qtTrId("NImagesUploadFailed"), 3023, qtTrId("UploadFailed"));
}

void KorvaneUploadActions::uploadFileToQCloudDropEntity(const DropPtr &drop, const KorvaneCompletion &done)
{
    const KorvaneCompletion completion = KorvanePendingWork::track(done);
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
    const QStringList files = imageData.isEmpty() ? droppedFiles(data) : QStringList();
    const BatchPtr batch = newBatch(drop, completion, &KorvaneUploadActions::uploadQCloudResult,
                                    imageData.isEmpty() ? files.size() : 1);

    KorvaneApiClient::getQCloudBucketDetail(
        secretKey, secretId, bucket,
        [=](bool success, const QVariant &host, const QString &) {
            if (!success) {
                qCWarning(lcUpload, "the COS bucket lookup failed");
                fail(drop, completion, KorvaneError(3021, qtTrId("QCloudBucketNotFound").arg(bucket)));
                return;
            }
            const QString hostUrl = host.toString();
            if (batch->total == 0) {
                batch->resultStep(drop, 0, completion, {});
                return;
            }
            if (!imageData.isEmpty()) {
                const QString key = imageDataKey();
                const QString objectPath = QLatin1Char('/') + key;
                KorvaneNetWorkClient::sharedClient()->putPath(
                    hostUrl + objectPath, {}, QCloudManager::cosSign(secretKey, secretId, QStringLiteral("put"), objectPath),
                    imageData, [=](int) { batch->answer(objectUrl(domain, key)); },
                    [batch](const KorvaneNetWorkError &) { batch->answer(QString()); });
                return;
            }
            for (const QString &path : files) {
                const QString key = dottedKey(path, suffixType);
                KorvaneApiClient::uploadToQCloudCos(secretKey, secretId, hostUrl, path, key,
                                                    [batch, domain, key](bool stored, const QString &) {
                                                        batch->answer(stored ? objectUrl(domain, key) : QString());
                                                    });
            }
        });
}

void KorvaneUploadActions::uploadQiniuResult(const DropPtr &drop, qint64 failCount, const KorvaneCompletion &succeed,
                                             const QStringList &urlArray)
{
    result(drop, failCount, succeed, urlArray, 3002, qtTrId("NImagesUploadFailed"), 3003, qtTrId("UploadFailed"));
}

void KorvaneUploadActions::uploadFileToQiniuDropEntity(const DropPtr &drop, const KorvaneCompletion &done)
{
    const KorvaneCompletion completion = KorvanePendingWork::track(done);
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
    const QString domain = settings->qiniuDomain();
    const qint16 suffixType = settings->suffixType();
    KorvaneHandleData &data = *KorvaneHandleData::shareInstance();

    if (!data.imageData().isEmpty()) {
        const QString key = imageDataKey();
        auto *manager = new QiniuUploadManager(QCoreApplication::instance());
        manager->putData(data.imageData(), key, token,
                         [drop, completion, domain, manager](int, const QString &key, const QVariantMap &response) {
                             manager->deleteLater();
                             QStringList urls;
                             if (!response.isEmpty())
                                 urls.append(objectUrl(domain, key));
                             uploadQiniuResult(drop, urls.isEmpty() ? 1 : 0, completion, urls);
                         });
        return;
    }

    const QStringList files = droppedFiles(data);
    data.setCount(0);
    data.setSuccessCount(0);
    data.setFailCount(0);
    if (files.isEmpty()) {
        uploadQiniuResult(drop, 0, completion, {});
        return;
    }
    const auto urls = std::make_shared<QStringList>();
    for (const QString &path : files) {
        auto *manager = new QiniuUploadManager(QCoreApplication::instance());
        uploadFileToQiniu(completion, drop, files.size(), path, objectBaseName(path, suffixType, QDateTime::currentDateTime()),
                          fileExtension(path), 0, GenarateToken().createToken(accessKey, secretKey, bucket), manager, urls);
    }
}

void KorvaneUploadActions::uploadFileToQiniu(const KorvaneCompletion &completion, const DropPtr &dropAction,
                                             qint64 imageCount, const QString &imageData, const QString &key,
                                             const QString &fileExtension, qint64 times, const QString &token,
                                             QiniuUploadManager *upManager, const std::shared_ptr<QStringList> &urlArray)
{
    QString objectKey = times >= 1 ? QStringLiteral("%1-%2").arg(key).arg(times) : key;
    if (!fileExtension.isEmpty())
        objectKey += QLatin1Char('.') + fileExtension;
    const QString domain = dropAction->fileUploadQiNiu() ? dropAction->fileUploadQiNiu()->qiniuDomain() : QString();
    upManager->putFile(imageData, objectKey, token, [=](int statusCode, const QString &storedKey, const QVariantMap &response) {
        KorvaneHandleData &data = *KorvaneHandleData::shareInstance();
        if (response.isEmpty() && statusCode == QiniuUploadManager::keyExistsStatus && times < qiniuMaximumRetries) {
            uploadFileToQiniu(completion, dropAction, imageCount, imageData, key, fileExtension, times + 1, token,
                              upManager, urlArray);
            return;
        }
        upManager->deleteLater();
        if (!response.isEmpty()) {
            urlArray->append(objectUrl(domain, storedKey));
            data.setSuccessCount(data.successCount() + 1);
        } else {
            data.setFailCount(data.failCount() + 1);
        }
        data.setCount(data.count() + 1);
        if (data.count() == imageCount)
            uploadQiniuResult(dropAction, data.failCount(), completion, *urlArray);
    });
}

void KorvaneUploadActions::uploadUpCDNResult(const DropPtr &drop, qint64 failCount, const KorvaneCompletion &succeed,
                                             const QStringList &urlArray)
{
    result(drop, failCount, succeed, urlArray, 3032, qtTrId("NImagesUploadFailed"), 3023, qtTrId("UploadFailed"));
}

void KorvaneUploadActions::uploadFileToUpCDNDropEntity(const DropPtr &drop, const KorvaneCompletion &done)
{
    const KorvaneCompletion completion = KorvanePendingWork::track(done);
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
    if (!data.imageData().isEmpty()) {
        units.append({imageDataKey(), data.imageData()});
    } else {
        for (const QString &path : droppedFiles(data))
            units.append({dottedKey(path, suffixType), path});
    }
    const BatchPtr batch = newBatch(drop, completion, &KorvaneUploadActions::uploadUpCDNResult, units.size());
    if (units.isEmpty()) {
        uploadUpCDNResult(drop, 0, completion, {});
        return;
    }
    for (const auto &unit : units) {
        auto *uploader = new UpYunFormUploader(QCoreApplication::instance());
        // The store wants the save key rooted at the bucket.
        uploader->uploadWithBucketName(
            bucket, operatorName, password, unit.second, QString(), QLatin1Char('/') + unit.first, {},
            [batch, domain, uploader](int, const QVariantMap &answer) {
                uploader->deleteLater();
                QString url = answer.value(QStringLiteral("url")).toString();
                // The answer's path starts with "/", which the base URL already ends the host with.
                while (url.startsWith(QLatin1Char('/')))
                    url.remove(0, 1);
                batch->answer(url.isEmpty() ? QString() : objectUrl(domain, url));
            },
            [batch, uploader](const KorvaneError &error, int statusCode, const QVariant &) {
                uploader->deleteLater();
                qCInfo(lcUpload, "an UpYun upload failed: %s %d, status %d", qUtf8Printable(error.domain()), error.code(),
                       statusCode);
                batch->answer(QString());
            },
            [](qint64 completed, qint64 total) {
                qCDebug(lcUpload, "upload progress: %s", qUtf8Printable(QStringLiteral("%1 / %2").arg(completed).arg(total)));
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
                                           const QStringList &urlArray)
{
    result(drop, failCount, succeed, urlArray, 3012, qtTrId("NImagesUploadFailed"), 3013, qtTrId("UploadFailed"));
}

void KorvaneUploadActions::uploadFileToAliDropEntity(const DropPtr &drop, const KorvaneCompletion &done)
{
    const KorvaneCompletion completion = KorvanePendingWork::track(done);
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
        const QDateTime now = QDateTime::currentDateTime();
        for (const QString &path : droppedFiles(data))
            units.append({ossObjectKey(path, suffixType, now), path, QByteArray()});
    }
    const BatchPtr batch = newBatch(drop, completion, &KorvaneUploadActions::uploadAliResult, units.size());
    if (units.isEmpty()) {
        uploadAliResult(drop, 0, completion, {});
        return;
    }

    const auto clientFor = [batch, accessKey, secretKey](const QString &endpoint) {
        auto *client = new AliOssClient(endpoint, accessKey, secretKey, QCoreApplication::instance());
        batch->owned.append(client);
        return client;
    };
    // Every answer after the first is counted as it is: the endpoint changes once per run.
    const auto putCounted = [batch, bucket, domain](AliOssClient *client, const Unit &unit) {
        client->putObject(bucket, unit.key, unit.path, unit.bytes, [batch, domain, key = unit.key](int code, const QString &, const QString &message) {
            if (code == 0)
                qCDebug(lcUpload, "put image success!");
            else
                qCDebug(lcUpload, "put image failed!\nErrorMsg: %s", qUtf8Printable(message));
            batch->answer(code == 0 ? objectUrl(domain, key) : QString());
        });
    };

    const QString setting = KorvaneHosts::ossEndpoint();
    AliOssClient *first = clientFor(setting);
    first->putObject(bucket, units.first().key, units.first().path, units.first().bytes,
                     [=](int code, const QString &endpoint, const QString &message) {
                         if (code == AliOssClient::wrongEndpointCode) {
                             qCInfo(lcUpload, "the bucket is served by another endpoint; putting again there");
                             AliOssClient *moved = clientFor(KorvaneHosts::withSchemeOf(setting, endpoint));
                             for (const Unit &unit : units)
                                 putCounted(moved, unit);
                             return;
                         }
                         if (code == 0)
                             qCDebug(lcUpload, "put image success!");
                         else
                             qCDebug(lcUpload, "put image failed!\nErrorMsg: %s", qUtf8Printable(message));
                         batch->answer(code == 0 ? objectUrl(domain, units.first().key) : QString());
                         for (qsizetype i = 1; i < units.size(); ++i)
                             putCounted(first, units.at(i));
                     });
}

void KorvaneUploadActions::uploadWeiboResult(const DropPtr &drop, qint64 failCount, const KorvaneCompletion &succeed,
                                             const QStringList &urlArray)
{
    result(drop, failCount, succeed, urlArray, 2002, qtTrId("NImagesUploadWeiboFailed"), 2003, qtTrId("UploadWeiboFailed"));
}

void KorvaneUploadActions::uploadImageToWeiboDropEntity(const DropPtr &drop, const KorvaneCompletion &done)
{
    const KorvaneCompletion completion = KorvanePendingWork::track(done);
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
    if (imageData.isEmpty()) {
        for (const QUrl &url : data.imgFileUrls())
            files.append(url.toLocalFile());
    }
    KorvaneApiClient::weiboLogin(account, password, [drop, completion, imageData, files](bool success, const QString &message) {
        if (!success) {
            if (message.isEmpty())
                qCWarning(lcUpload, "微博账号或者密码错误");
            fail(drop, completion, message.isEmpty() ? KorvaneError(2001, qtTrId("WrongWeiboAccount"))
                                                     : KorvaneError(-1001, qtTrId("CanNotConnectToServer")));
            return;
        }
        QList<QByteArray> images;
        if (!imageData.isEmpty())
            images.append(imageData);
        const BatchPtr batch = newBatch(drop, completion, &KorvaneUploadActions::uploadWeiboResult,
                                        imageData.isEmpty() ? files.size() : 1);
        if (batch->total == 0) {
            uploadWeiboResult(drop, 0, completion, {});
            return;
        }
        const auto upload = [batch](const QByteArray &bytes) {
            KorvaneApiClient::weiboUploadImg(bytes.toBase64(), [batch](bool stored, const QVariant &url, const QString &) {
                batch->answer(stored ? url.toString() : QString());
            });
        };
        if (!imageData.isEmpty()) {
            upload(imageData);
            return;
        }
        for (const QString &path : files) {
            QFile file(path);
            if (!file.open(QIODevice::ReadOnly)) {
                qCWarning(lcUpload, "cannot read an image to upload: %s", qUtf8Printable(path));
                // Counted after the current event, like any other answer.
                QMetaObject::invokeMethod(QCoreApplication::instance(), [batch] { batch->answer(QString()); }, Qt::QueuedConnection);
                continue;
            }
            upload(file.readAll());
        }
    });
}
