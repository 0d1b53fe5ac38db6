#pragma once

#include "net/apiclient.h"
#include "net/qiniu/qiniuuploadmanager.h"
#include "net/uploadcallbacks.h"

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <QVariant>

#include <functional>

class SettingsBackend;

// What the network plug-in hands to the actions: every request they make and the few helpers
// they need from the same code, each with the signature of the function it stands for. Qt
// Network and the libraries it brings (Kerberos, libproxy, Brotli) take about 2 MiB in every
// process that loads them; in the plug-in only the actions that reach a server pay for them.
// Both sides are built from the same headers, so the table is their whole contract.
struct NetworkOperations {
    QStringList (*translateLanguages)();
    ApiClient::TranslationService (*translationService)();
    void (*translate)(const QString &text, const QString &target, const ApiClient::ResultCompletion &completion);
    void (*libreTranslate)(const QString &text, const QString &target, const ApiClient::ResultCompletion &completion);

    // ServiceHosts::service(): empty when the product's own service is not configured.
    QString (*serviceHost)();
    void (*getOcrToken)(const ApiClient::ResultCompletion &completion);
    void (*parseHandwriting)(const QString &token, const QString &file, const QByteArray &data,
                             const ApiClient::ResultCompletion &completion);

    QString (*queryEncodedPath)(const QString &path);

    QString (*cosSign)(const QString &secretKey, const QString &accessKey, const QString &method, const QString &uri);
    void (*cosBucketDetail)(const QString &secretKey, const QString &accessKey, const QString &bucket,
                            const ApiClient::ResultCompletion &completion);
    // A PUT of the bytes with the authorization; done tells whether the store took them.
    void (*cosPutData)(const QString &url, const QString &authorization, const QByteArray &data,
                       const std::function<void(bool stored)> &done);
    void (*cosPutFile)(const QString &secretKey, const QString &accessKey, const QString &host, const QString &path,
                       const QString &key, const UploadCallbacks &callbacks);

    QString (*qiniuToken)(const QString &accessKey, const QString &secretKey, const QString &bucket);
    void (*qiniuUploadHost)(const QString &accessKey, const QString &bucket,
                            const QiniuUploadManager::HostCompletion &done);
    // The file at path, or data when path is empty.
    void (*qiniuPut)(const QString &host, const QString &path, const QByteArray &data, const QString &key,
                     const QString &token, const UploadCallbacks &callbacks);

    QString (*ossEndpoint)();
    QString (*withSchemeOf)(const QString &baseUrl, const QString &bareHost);
    void (*ossPut)(const QString &endpoint, const QString &accessKey, const QString &secretKey, const QString &bucket,
                   const QString &key, const QString &path, const QByteArray &data, const UploadCallbacks &callbacks);

    // fileData: the bytes (QByteArray) or a file's path (QString).
    void (*upyunPut)(const QString &bucket, const QString &operatorName, const QString &password,
                     const QVariant &fileData, const QString &saveKey, const UploadCallbacks &callbacks);

    void (*weiboLogin)(const QString &account, const QString &password, const ApiClient::FlagCompletion &completion);
    void (*weiboUpload)(const QByteArray &base64, const UploadCallbacks &callbacks);
};

// The plug-in's one exported function, returning its table. The plug-in reads the user
// defaults through the store the program's own code uses, found by calling settings.
using NetworkEntry = const NetworkOperations *(*)(SettingsBackend *(*settings)());
inline constexpr char korvaneNetworkEntry[] = "korvaneNetworkOperations";
