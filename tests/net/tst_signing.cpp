// The Qiniu token, the COS and OSS signatures and the UpYun policy and signature: against
// the vendors' published example where there is one, and against values computed
// independently of the code elsewhere.
#include "net/oss/ossclient.h"
#include "net/qiniu/qiniuuploadtoken.h"
#include "net/cos/cosclient.h"
#include "servers/cosstandin.h"
#include "net/upyun/upyunsignature.h"

#include <QDateTime>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTest>
#include <QTimeZone>

#include <cstdlib>

#include <tuple>

class SigningTest final : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void qiniuSignMatchesThePublishedExample()
    {
        // The example of Qiniu's upload-token documentation.
        const QString encodedPolicy = "eyJzY29wZSI6Im15LWJ1Y2tldDpzdW5mbG93ZXIuanBnIiwiZGVhZGxpbmUiOjE0NTE0OTEyMDAsInJldHVybkJvZHkiOiJ7"
                                      "XCJuYW1lXCI6JChmbmFtZSksXCJzaXplXCI6JChmc2l6ZSksXCJ3XCI6JChpbWFnZUluZm8ud2lkdGgpLFwiaFwiOiQo"
                                      "aW1hZ2VJbmZvLmhlaWdodCksXCJoYXNoXCI6JChldGFnKX0ifQ==";
        QCOMPARE(QiniuUploadToken::sign("MY_SECRET_KEY", encodedPolicy), QString("wQ4ofysef1R7IKnrziqtomqyDvI="));
    }

    void qiniuTokenHasThreeFieldsAndAnHourOfLife()
    {
        const qint64 now = 1764829800;
        const QString token = QiniuUploadToken().createToken("AK", "SK", "bucket", now);
        const QStringList fields = token.split(':');
        QCOMPARE(fields.size(), 3);
        QCOMPARE(fields[0], QString("AK"));
        const QByteArray policy = QByteArray::fromBase64(fields[2].toLatin1(), QByteArray::Base64UrlEncoding);
        const QJsonObject object = QJsonDocument::fromJson(policy).object();
        QCOMPARE(object.size(), 2);
        QCOMPARE(object.value("scope").toString(), QString("bucket"));
        QCOMPARE(qint64(object.value("deadline").toDouble()), now + 3600);
        QCOMPARE(policy, QByteArray("{\n  \"scope\" : \"bucket\",\n  \"deadline\" : 1764833400\n}"));
        QCOMPARE(fields[1], QiniuUploadToken::sign("SK", fields[2]));
        const QString live = QiniuUploadToken().createToken("AK", "SK", "bucket");
        const QJsonObject liveObject = QJsonDocument::fromJson(QByteArray::fromBase64(live.section(':', 2).toLatin1(), QByteArray::Base64UrlEncoding)).object();
        QVERIFY(qAbs(qint64(liveObject.value("deadline").toDouble()) - QDateTime::currentSecsSinceEpoch() - 3600) <= 2);
    }

    void urlSafeBase64KeepsPadding()
    {
        QCOMPARE(QiniuUploadToken::urlSafeBase64Encode(QByteArray("\xfb\xff\xbf", 3)), QString("-_-_"));
        QCOMPARE(QiniuUploadToken::urlSafeBase64Encode("a"), QString("YQ=="));
    }

    // Computed independently (Python's hmac and hashlib) for the key of COS's documentation:
    // the bucket list, an object, and a key with a space.
    void cosSignatureAtAKnownTime()
    {
        const char *rows[][3] = {{"get", "/", "fb1fc3bde345a1bef88958cc9cc1d375991464dd"},
                                 {"put", "/exampleobject", "300babba3d4ee5793889f4568463ae837d0741b4"},
                                 {"put", "/photos/a b.png", "e411d278901622e7b35092bde410011ad317746b"}};
        for (const auto &[method, path, signature] : rows) {
            const QString value = CosClient::cosSign("BQYIM75p8x0iWVFSIgqEKwFprpRSVHlz", "AKIDQjz3ltompVjBni5LitkWHFlFpwkn9U5q", method, path, 1557989151);
            QCOMPARE(value, QString("q-sign-algorithm=sha1&q-ak=AKIDQjz3ltompVjBni5LitkWHFlFpwkn9U5q&q-sign-time=1557989151;1557989271"
                                    "&q-key-time=1557989151;1557989271&q-header-list=&q-url-param-list=&q-signature=%1")
                                .arg(signature));
            QCOMPARE(CosStandIn::expectedSignature("BQYIM75p8x0iWVFSIgqEKwFprpRSVHlz", method, path, "1557989151;1557989271"), QString(signature));
        }
    }

    // Computed independently (openssl dgst -sha1 -hmac SECRET -binary | base64) over the
    // verb, Content-MD5, Content-Type, Date and resource joined by line ends; the store's own
    // headers come before the resource. With a key of signs and no body, and with no digest
    // nor type.
    void ossSignature()
    {
        const QString date = "Sun, 06 Dec 2026 23:30:00 GMT";
        const std::tuple<QString, QStringList, QString> rows[] = {
            {"OtxrzxIsfpFjA7SwPzILwy8Bw21TLhquhboDYROV", {"PUT", "ODBGOERFMDMzQTczRUY3NUE3NzA5QzdFNUYzMDQxNEM=", "text/html", "Thu, 17 Nov 2005 18:49:58 GMT", "x-oss-magic:abracadabra\nx-oss-meta-author:foo@example.com\n/oss-example/nelson"}, "fV5fq7DPwNbrrig7nvUSZIVyruI="},
            {"oss-SECRET-value-abc123", {"PUT", "eWfLpKdU9XyrBtVUr7j3Yg==", "image/jpeg", date, "/box/pic.jpg"}, "SzY1sN/Su9jOgKr85rTM+aH5NDI="},
            {"oss-SECRET-value-abc123", {"PUT", "1B2M2Y8AsgTpgAmY7PhCfg==", "text/plain", date, QString::fromUtf8("/box/\xe5\x9b\xbe \xe7\x89\x87 \"hi\" #1 50%+.txt")}, "bROxFEmGQZrO9pAZ3F9Q+91fnrs="},
            {"oss-SECRET-value-abc123", {"GET", "", "", date, "/box/"}, "+D6YaEFRxDz03mmxfwOWPzXDSbQ="},
        };
        for (const auto &[secret, fields, signature] : rows)
            QCOMPARE(OssClient::signature(secret, fields[0], fields[1], fields[2], fields[3], fields[4]), signature);
    }

    void cosSignatureNowIsValidFor120Seconds()
    {
        const qint64 before = QDateTime::currentSecsSinceEpoch();
        const QString value = CosClient::cosSign("k", "id", "get", "/");
        const QString keyTime = value.section("q-key-time=", 1).section('&', 0, 0);
        const qint64 start = keyTime.section(';', 0, 0).toLongLong();
        QVERIFY(start >= before && start <= before + 2);
        QCOMPARE(keyTime.section(';', 1).toLongLong(), start + 120);
        QCOMPARE(value.section("q-sign-time=", 1).section('&', 0, 0), keyTime);
    }

    void upyunSignatureOverAllPasswordBytes()
    {
        // Computed independently (Python) for a password with Chinese characters.
        QCOMPARE(UpYunSignature::getMD5HashFromData(QString("密码password").toUtf8()), QString("5e81190559286974e3e1976040af48ac"));
        QCOMPARE(UpYunSignature::formSignature("密码password", "bucket", "Fri, 04 Dec 2026 06:10:00 GMT", "cG9saWN5",
                                               "5d41402abc4b2a76b9719d911017c592"),
                 QString("dyKJlHWS5yX64zbl+UNT8VTARgo="));
    }

    void upyunDateIsEnglishAndGmtWhateverTheLocale()
    {
        const QByteArray oldTz = qgetenv("TZ");
        qputenv("TZ", "Asia/Shanghai");
        QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
        const QDateTime time = QDateTime(QDate(2026, 12, 4), QTime(14, 10, 0), QTimeZone("Asia/Shanghai"));
        QCOMPARE(UpYunSignature::gmtDateString(time), QString("Fri, 04 Dec 2026 06:10:00 GMT"));
        QLocale::setDefault(QLocale::c());
        if (oldTz.isNull())
            qunsetenv("TZ");
        else
            qputenv("TZ", oldTz);
    }

    void upyunPolicyRoundTripsAndExtrasOverride()
    {
        const QDateTime now = QDateTime::fromSecsSinceEpoch(1764828600, QTimeZone::utc());
        const QVariantMap parameters = UpYunSignature::policyParameters("bucket", "/a/b.png", "hello",
                                                                        {{"save-key", "/override.png"}, {"x-gmkerl-thumb", "/fw/300"}}, now);
        QCOMPARE(parameters.value("expiration").toString(), QString("1764830400"));
        QCOMPARE(parameters.value("content-length").toString(), QString("5"));
        QCOMPARE(parameters.value("save-key").toString(), QString("/override.png"));
        QCOMPARE(parameters.value("date").toString(), QString("Thu, 04 Dec 2025 06:10:00 GMT"));
        const QString policy = UpYunSignature::getPolicyWithParameters(parameters);
        QVERIFY(!policy.contains('\n'));
        const QByteArray json = QByteArray::fromBase64(policy.toLatin1());
        QVERIFY(json.startsWith("{\n  \"bucket\" : \"bucket\",\n  \"save-key\" : \"/override.png\",\n"));
        QCOMPARE(UpYunSignature::getDictFromPolicyString(policy).toMap(), parameters);
    }

    void aBadPolicyGivesEmptyOrNull()
    {
        QCOMPARE(UpYunSignature::getPolicyWithParameters({{"file", QVariant::fromValue(QDateTime::currentDateTime())}}), QString(""));
        QVERIFY(UpYunSignature::getDictFromPolicyString("not base64 !!").isNull());
        QVERIFY(UpYunSignature::getDictFromPolicyString(UpYunSignature::base64EncodeFromString("[1,2]")).isNull());
    }
};

QTEST_GUILESS_MAIN(SigningTest)
#include "tst_signing.moc"
