#pragma once

#include "actions/actionreply.h"

#include <QDateTime>
#include <QString>
#include <QStringList>

#include <memory>

class DropListEntity;
class DropPayload;
class UploadBatch;

// The actions that upload the dropped files (or image data) to an object store and copy the
// links of what was stored: Qiniu, Aliyun OSS, Tencent COS, UpYun and the Weibo image bed.
// Each reports the bytes sent over its whole batch to its progress callback and keeps the
// links in the upload history.
class UploadActions final
{
public:
    using DropPtr = std::shared_ptr<DropListEntity>;

    UploadActions() = delete;

    static void uploadToWeibo(const DropPtr &drop, const DropPayload &payload, const ActionReply &reply,
                              const Korvane::Progress &progress = nullptr);
    static void uploadToQiniu(const DropPtr &drop, const DropPayload &payload, const ActionReply &reply,
                              const Korvane::Progress &progress = nullptr);
    static void uploadToOss(const DropPtr &drop, const DropPayload &payload, const ActionReply &reply,
                            const Korvane::Progress &progress = nullptr);
    static void uploadToCos(const DropPtr &drop, const DropPayload &payload, const ActionReply &reply,
                            const Korvane::Progress &progress = nullptr);
    static void uploadToUpYun(const DropPtr &drop, const DropPayload &payload, const ActionReply &reply,
                              const Korvane::Progress &progress = nullptr);

    // One Qiniu file upload, retried under "KEY-1", "KEY-2", ... while the store says the key
    // is taken. imageData is the file the bytes are streamed from, host the bucket's upload
    // host. The batch follows the unit's bytes, counts its answer and runs the result step
    // after the last one.
    static void uploadFileToQiniu(const DropPtr &dropAction, const QString &imageData, const QString &key,
                                  const QString &fileExtension, qint64 times, const QString &token, const QString &host,
                                  const std::shared_ptr<UploadBatch> &batch, qsizetype unit);

    // The result steps of the stores; failures names the files that were not stored.
    static void uploadQiniuResult(const DropPtr &drop, qint64 failCount, const ActionReply &reply,
                                  const QStringList &urlArray, const QStringList &failures = {});
    static void uploadCosResult(const DropPtr &drop, qint64 failCount, const ActionReply &reply,
                                const QStringList &urlArray, const QStringList &failures = {});

    static void uploadWeiboResult(const DropPtr &drop, qint64 failCount, const ActionReply &reply,
                                  const QStringList &urlArray, const QStringList &failures = {});
    static void uploadAliResult(const DropPtr &drop, qint64 failCount, const ActionReply &reply,
                                const QStringList &urlArray, const QStringList &failures = {});
    static void uploadUpCDNResult(const DropPtr &drop, qint64 failCount, const ActionReply &reply,
                                  const QStringList &urlArray, const QStringList &failures = {});

    // The texts with a line feed between them; null for none.
    static QString getTextFromArray(const QStringList &texts);

    // The object name of a file before its extension, by the settings' naming rule: 0 the
    // file's own name, 1 the local date "yyyyMMdd_" in front of it, 2 a random key.
    static QString objectBaseName(const QString &path, qint16 suffixType, const QDateTime &now);
    // The OSS object name: the base name, then ".jpg" for any image (whatever its format),
    // else "." and the extension when there is one.
    static QString ossObjectKey(const QString &path, qint16 suffixType, const QDateTime &now);
    // The extension of the file's name, after its last "."; empty for none.
    static QString fileExtension(const QString &path);
    // "BASE/KEY" with the key percent-encoded as in a URL query.
    static QString objectUrl(const QString &baseUrl, const QString &key);
};
