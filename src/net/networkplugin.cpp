#include "net/networkoperations.h"

#include "net/apiclient.h"
#include "net/cos/cosclient.h"
#include "net/networkclient.h"
#include "net/oss/ossclient.h"
#include "net/qiniu/qiniuuploadmanager.h"
#include "net/qiniu/qiniuuploadtoken.h"
#include "net/servicehosts.h"
#include "net/upyun/upyunformuploader.h"
#include "platform/platform.h"
#include "platform/settingsbackend.h"

#include <QCoreApplication>
#include <QPointer>

#include <memory>

namespace {

// The program's user defaults, whichever store it has put in place, also when it changes
// stores after the plug-in was loaded (tests do).
class HostSettings final : public SettingsBackend
{
public:
    explicit HostSettings(SettingsBackend *(*host)())
        : m_host(host)
    {
    }

    QVariant value(const QString &key, const QVariant &defaultValue) const override
    {
        return m_host()->value(key, defaultValue);
    }
    void setValue(const QString &key, const QVariant &value) override { m_host()->setValue(key, value); }
    void remove(const QString &key) override { m_host()->remove(key); }

private:
    SettingsBackend *(*m_host)();
};

// The callbacks of one upload made by a client of its own, which goes once the outcome is in.
UploadCallbacks ending(QObject *client, const UploadCallbacks &callbacks)
{
    return {[client = QPointer<QObject>(client), done = callbacks.done](const UploadCallbacks::Outcome &outcome) {
                if (client)
                    client->deleteLater();
                if (done)
                    done(outcome);
            },
            callbacks.progress};
}

void qiniuPut(const QString &host, const QString &path, const QByteArray &data, const QString &key,
              const QString &token, const UploadCallbacks &callbacks)
{
    auto *manager = new QiniuUploadManager(host, QCoreApplication::instance());
    if (path.isEmpty())
        manager->putData(data, key, token, ending(manager, callbacks));
    else
        manager->putFile(path, key, token, ending(manager, callbacks));
}

void ossPut(const QString &endpoint, const QString &accessKey, const QString &secretKey, const QString &bucket,
            const QString &key, const QString &path, const QByteArray &data, const UploadCallbacks &callbacks)
{
    auto *client = new OssClient(endpoint, accessKey, secretKey, QCoreApplication::instance());
    client->putObject(bucket, key, path, data, ending(client, callbacks));
}

void upyunPut(const QString &bucket, const QString &operatorName, const QString &password, const QVariant &fileData,
              const QString &saveKey, const UploadCallbacks &callbacks)
{
    auto *uploader = new UpYunFormUploader(QCoreApplication::instance());
    uploader->uploadWithBucketName(bucket, operatorName, password, fileData, QString(), saveKey, {},
                                   ending(uploader, callbacks));
}

void cosPutData(const QString &url, const QString &authorization, const QByteArray &data,
                const std::function<void(bool stored)> &done)
{
    NetworkClient::sharedClient()->putPath(
        url, {}, authorization, data, [done](int) { done(true); }, [done](const HttpError &) { done(false); });
}

QString qiniuToken(const QString &accessKey, const QString &secretKey, const QString &bucket)
{
    return QiniuUploadToken().createToken(accessKey, secretKey, bucket);
}

} // namespace

extern "C" Q_DECL_EXPORT const NetworkOperations *korvaneNetworkOperations(SettingsBackend *(*settings)())
{
    Platform::setSettingsBackend(std::make_unique<HostSettings>(settings));
    using Parse = void (*)(const QString &, const QString &, const QByteArray &, const ApiClient::ResultCompletion &);
    using Sign = QString (*)(const QString &, const QString &, const QString &, const QString &);
    static const NetworkOperations operations{
        &ApiClient::translateLanguages,
        &ApiClient::translationService,
        &ApiClient::translate,
        &ApiClient::libreTranslate,
        &ServiceHosts::service,
        &ApiClient::getOCRToken,
        static_cast<Parse>(&ApiClient::parseHandwriting),
        &NetworkClient::queryEncodedPath,
        static_cast<Sign>(&CosClient::cosSign),
        &ApiClient::getQCloudBucketDetail,
        &cosPutData,
        &ApiClient::uploadToQCloudCos,
        &qiniuToken,
        &QiniuUploadManager::findUploadHost,
        &qiniuPut,
        &ServiceHosts::ossEndpoint,
        &ServiceHosts::withSchemeOf,
        &ossPut,
        &upyunPut,
        &ApiClient::weiboLogin,
        &ApiClient::weiboUploadImg,
    };
    return &operations;
}
