#include "net/servicehosts.h"

#include "platform/settings.h"

#include <QHostAddress>

QString ServiceHosts::value(const Korvane::Setting<QString> &host)
{
    QString base = host.read().trimmed();
    // A base URL names no path; a trailing slash would double the first one of every request.
    while (base.endsWith(QLatin1Char('/')))
        base.chop(1);
    return base;
}

QString ServiceHosts::service()
{
    return value(Korvane::Settings::serviceHost);
}
QString ServiceHosts::ocr()
{
    return value(Korvane::Settings::ocrHost);
}
QString ServiceHosts::cosService()
{
    return value(Korvane::Settings::cosServiceHost);
}
QString ServiceHosts::cosDomain()
{
    return value(Korvane::Settings::cosDomainHost);
}
QString ServiceHosts::qiniuUpload()
{
    return value(Korvane::Settings::qiniuUploadHost);
}
QString ServiceHosts::qiniuUc()
{
    return value(Korvane::Settings::qiniuUcHost);
}
QString ServiceHosts::ossEndpoint()
{
    return value(Korvane::Settings::ossEndpointHost);
}
QString ServiceHosts::upyun()
{
    return value(Korvane::Settings::upyunHost);
}
QString ServiceHosts::sinaLogin()
{
    return value(Korvane::Settings::sinaLoginHost);
}
QString ServiceHosts::weiboUpload()
{
    return value(Korvane::Settings::weiboUploadHost);
}
QString ServiceHosts::weiboImage()
{
    return value(Korvane::Settings::weiboImageHost);
}
QString ServiceHosts::weiboHome()
{
    return value(Korvane::Settings::weiboHomeHost);
}

QString ServiceHosts::cosServiceUrl()
{
    return cosService() + QLatin1Char('/');
}

bool ServiceHosts::isPathStyleHost(const QString &host)
{
    if (host.compare(QLatin1String("localhost"), Qt::CaseInsensitive) == 0)
        return true;
    QString bare = host;
    if (bare.startsWith(QLatin1Char('[')) && bare.endsWith(QLatin1Char(']')))
        bare = bare.mid(1, bare.size() - 2);
    return !QHostAddress(bare).isNull();
}

QString ServiceHosts::bucketBaseUrl(const QString &baseUrl, const QString &hostPrefix, const QString &bucket,
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

QString ServiceHosts::withSchemeOf(const QString &baseUrl, const QString &bareHost)
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
