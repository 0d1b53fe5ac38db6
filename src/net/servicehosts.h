#pragma once

#include <QString>
#include <QUrl>

namespace Korvane {
template<typename T>
class Setting;
}

// Where every outside service is reached. Each host is a base URL ("scheme://host[:port]")
// kept in a user default (Korvane::Settings::serviceHost and its neighbours), defaulting to the
// real service's public host, so that users and tests can point Korvane elsewhere.
class ServiceHosts final
{
public:
    ServiceHosts() = delete;

    // The product's own API (translation, OCR token, version). Empty by default: there is no
    // public instance, and requests to it are then not made at all.
    static QString service();
    static QString ocr();
    static QString cosService();
    static QString cosDomain();
    static QString qiniuUpload();
    // Qiniu's region query, which names each bucket's upload host.
    static QString qiniuUc();
    static QString ossEndpoint();
    static QString upyun();
    static QString sinaLogin();
    static QString weiboUpload();
    static QString weiboImage();
    static QString weiboHome();

    // The setting's base URL, without a trailing slash.
    static QString value(const Korvane::Setting<QString> &host);

    // The address that lists every COS bucket of an account: the COS service host's root.
    static QString cosServiceUrl();

    // Whether a host is addressed path-style: an IP address or "localhost", where a bucket
    // cannot be a sub-domain, so one local server can stand in for every bucket.
    static bool isPathStyleHost(const QString &host);

    // The base URL of a bucket whose host name is "PREFIX.HOST" under the base URL, for
    // example "photos-125.cos.ap-shanghai" under "http://myqcloud.com". On a path-style host
    // the bucket becomes the first path segment instead: "http://127.0.0.1:PORT/BUCKET".
    // A scheme given to scheme overrides the base URL's.
    // A bare host a store names later (OSS's region endpoint in an answer), as a base URL with
    // the scheme and port of the setting it replaces; on a path-style host the setting's own
    // host is kept, so the local stand-in stays the one addressed.
    static QString withSchemeOf(const QString &baseUrl, const QString &bareHost);
    static QString bucketBaseUrl(const QString &baseUrl, const QString &hostPrefix, const QString &bucket,
                                 const QString &scheme = QString());
};
