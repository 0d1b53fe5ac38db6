#pragma once

#include "net/uploadcallbacks.h"

#include <QByteArray>
#include <QObject>
#include <QString>

#include <functional>

// A small client for the Qiniu form upload: one multipart POST of the upload token, the key
// and the file to the upload host. Files are streamed from disk.
class QiniuUploadManager final : public QObject
{
    Q_OBJECT

public:
    // The status with which the store refuses a key that is already taken.
    static constexpr int keyExistsStatus = 614;

    // (the upload host as a base URL, or empty with the reason in error). On the main thread,
    // never from inside the starting call.
    using HostCompletion = std::function<void(const QString &uploadHost, const QString &error)>;

    // Each bucket lives in one region and takes uploads only on that region's hosts. Gives
    // hosts/qiniuUpload when the user set it, else the first upload domain Qiniu's region
    // query names for the bucket, asked once per bucket for the life of the process.
    static void findUploadHost(const QString &accessKey, const QString &bucket, const HostCompletion &done);

    explicit QiniuUploadManager(const QString &uploadHost, QObject *parent = nullptr);

    // Stored means the store answered with a JSON object, which is the outcome's answer.
    void putFile(const QString &path, const QString &key, const QString &token, const UploadCallbacks &callbacks);
    void putData(const QByteArray &data, const QString &key, const QString &token, const UploadCallbacks &callbacks);

private:
    // The form with the file at path streamed from disk, or with data when path is empty.
    void post(const QString &path, const QByteArray &data, const QString &key, const QString &token,
              const UploadCallbacks &callbacks);

    QString m_uploadHost;
};
