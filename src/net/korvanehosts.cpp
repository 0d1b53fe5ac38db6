#include "korvanehosts.h"

#include "korvaneplatform.h"
#include "korvaneuserdefaults.h"

#include <QHash>
#include <QHostAddress>

namespace {

const QHash<QString, QString> &defaults()
{
    static const QHash<QString, QString> table{
        {QStringLiteral("service"), QString()},
        {QStringLiteral("ocr"), QStringLiteral("https://recognition.image.myqcloud.com")},
        {QStringLiteral("cosService"), QStringLiteral("https://service.cos.myqcloud.com")},
        {QStringLiteral("cosDomain"), QStringLiteral("http://myqcloud.com")},
        {QStringLiteral("qiniuUpload"), QStringLiteral("https://upload.qiniup.com")},
        {QStringLiteral("qiniuUc"), QStringLiteral("https://uc.qiniuapi.com")},
        {QStringLiteral("ossEndpoint"), QStringLiteral("https://oss-cn-shanghai.aliyuncs.com")},
        {QStringLiteral("upyun"), QStringLiteral("https://v0.api.upyun.com")},
        {QStringLiteral("sinaLogin"), QStringLiteral("https://login.sina.com.cn")},
        {QStringLiteral("weiboUpload"), QStringLiteral("http://picupload.service.weibo.com")},
        {QStringLiteral("weiboImage"), QStringLiteral("http://ww1.sinaimg.cn")},
        {QStringLiteral("weiboHome"), QStringLiteral("https://weibo.com")},
    };
    return table;
}

} // namespace

QString KorvaneHosts::key(const QString &name)
{
    return QStringLiteral("hosts/") + name;
}

QString KorvaneHosts::defaultValue(const QString &name)
{
    return defaults().value(name);
}

QString KorvaneHosts::value(const QString &name)
{
    const QVariant stored = KorvanePlatform::userDefaults()->value(key(name));
    QString base = stored.isValid() ? stored.toString().trimmed() : defaultValue(name);
    // A base URL names no path; a trailing slash would double the first one of every request.
    while (base.endsWith(QLatin1Char('/')))
        base.chop(1);
    return base;
}

bool KorvaneHosts::isSet(const QString &name)
{
    return KorvanePlatform::userDefaults()->value(key(name)).isValid();
}

QString KorvaneHosts::service() { return value(QStringLiteral("service")); }
QString KorvaneHosts::ocr() { return value(QStringLiteral("ocr")); }
QString KorvaneHosts::cosService() { return value(QStringLiteral("cosService")); }
QString KorvaneHosts::cosDomain() { return value(QStringLiteral("cosDomain")); }
QString KorvaneHosts::qiniuUpload() { return value(QStringLiteral("qiniuUpload")); }
QString KorvaneHosts::qiniuUc() { return value(QStringLiteral("qiniuUc")); }
QString KorvaneHosts::ossEndpoint() { return value(QStringLiteral("ossEndpoint")); }
QString KorvaneHosts::upyun() { return value(QStringLiteral("upyun")); }
QString KorvaneHosts::sinaLogin() { return value(QStringLiteral("sinaLogin")); }
QString KorvaneHosts::weiboUpload() { return value(QStringLiteral("weiboUpload")); }
QString KorvaneHosts::weiboImage() { return value(QStringLiteral("weiboImage")); }
QString KorvaneHosts::weiboHome() { return value(QStringLiteral("weiboHome")); }

QString KorvaneHosts::cosServiceUrl()
{
    return cosService() + QLatin1Char('/');
}

bool KorvaneHosts::isPathStyleHost(const QString &host)
{
    if (host.compare(QLatin1String("localhost"), Qt::CaseInsensitive) == 0)
        return true;
    QString bare = host;
    if (bare.startsWith(QLatin1Char('[')) && bare.endsWith(QLatin1Char(']')))
        bare = bare.mid(1, bare.size() - 2);
    return !QHostAddress(bare).isNull();
}

QString KorvaneHosts::bucketBaseUrl(const QString &baseUrl, const QString &hostPrefix, const QString &bucket,
                                    const QString &scheme)
{
    const QUrl base(baseUrl.contains(QLatin1String("://")) ? baseUrl : QStringLiteral("https://") + baseUrl);
    QUrl url;
    url.setScheme(scheme.isEmpty() ? base.scheme() : scheme);
    url.setPort(base.port());
    if (isPathStyleHost(base.host())) {
        url.setHost(base.host());
        url.setPath(QLatin1Char('/') + bucket);
    } else {
        url.setHost(hostPrefix + QLatin1Char('.') + base.host());
    }
    return url.toString(QUrl::FullyEncoded);
}

QString KorvaneHosts::withSchemeOf(const QString &baseUrl, const QString &bareHost)
{
    const QUrl base(baseUrl);
    QUrl url;
    url.setScheme(base.scheme().isEmpty() ? QStringLiteral("https") : base.scheme());
    if (isPathStyleHost(base.host())) {
        url.setHost(base.host());
        url.setPort(base.port());
    } else {
        url.setHost(bareHost);
    }
    return url.toString(QUrl::FullyEncoded);
}
