// The service API against the stand-ins: what each request sends, what each answer gives,
// and every row of the failure table.
#include "net/apiclient.h"
#include "net/korvanecardmodels.h"
#include "net/servicehosts.h"
#include "actions/text/translations.h"
#include "support/logcapture.h"
#include "servers/cosstandin.h"
#include "servers/libretranslatestandin.h"
#include "servers/servicestandin.h"
#include "servers/tencentocrstandin.h"
#include "servers/weibostandin.h"

#include <QDateTime>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>
#include <QTest>

#include <tuple>

using namespace KorvaneTest;

Q_DECLARE_METATYPE(StandInResponse)

namespace {

struct Result {
    int calls = 0;
    bool success = false;
    QVariant result;
    QString message;

    ApiClient::ResultCompletion completion()
    {
        return [this](bool s, const QVariant &r, const QString &m) {
            ++calls;
            success = s;
            result = r;
            message = m;
        };
    }
    ApiClient::FlagCompletion flag()
    {
        return [this](bool s, const QString &m) { completion()(s, QVariant(), m); };
    }
    UploadCallbacks upload()
    {
        return {[this](const UploadCallbacks::Outcome &o) { completion()(o.stored, o.answer, o.message); }, nullptr};
    }
};

QString closedPortUrl()
{
    QTcpServer unused;
    unused.listen(QHostAddress::LocalHost, 0);
    const quint16 port = unused.serverPort();
    unused.close();
    return QString("http://127.0.0.1:%1").arg(port);
}

QByteArray pngBytes()
{
    return QByteArray::fromBase64("iVBORw0KGgoAAAANSUhEUgAAAAEAAAABCAYAAAAfFcSJAAAADUlEQVR4nGNgYGD4DwABBAEAwS2OUAAAAABJRU5ErkJggg==");
}

} // namespace

class ApiClientTest final : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase()
    {
        Translations::install({QStringLiteral("en-US")});
        QVERIFY(m_service.start());
        QVERIFY(m_ocr.start());
        QVERIFY(m_cos.start());
        QVERIFY(m_weibo.start());
        QVERIFY(m_libre.start());
        m_cos.secretKeys.insert("AKIDexample", "secret-key-of-example");
        m_weibo.accounts.insert("user@example.com", "p@ss word&1");
        QVERIFY(m_dir.isValid());
    }

    void init()
    {
        setDefault(Korvane::Settings::serviceHost, m_service.baseUrl());
        setDefault(Korvane::Settings::ocrHost, m_ocr.baseUrl());
        setDefault(Korvane::Settings::cosServiceHost, m_cos.baseUrl());
        setDefault(Korvane::Settings::cosDomainHost, m_cos.baseUrl());
        setDefault(Korvane::Settings::sinaLoginHost, m_weibo.baseUrl());
        setDefault(Korvane::Settings::weiboUploadHost, m_weibo.baseUrl());
        setDefault(Korvane::Settings::weiboHomeHost, m_weibo.baseUrl());
        setDefault(Korvane::Settings::weiboImageHost, "http://img.example");
        setDefault(Korvane::Settings::libreTranslateUrl, m_libre.baseUrl());
        setDefault(Korvane::Settings::weiboCookie, QVariant());
        setDefault(Korvane::Settings::weiboCookieExpire, QVariant());
        for (StandInServer *server : std::initializer_list<StandInServer *>{&m_service, &m_ocr, &m_cos, &m_weibo, &m_libre}) {
            server->clearRequests();
            server->clearOverride();
        }
    }

    void cleanup()
    {
        for (StandInServer *server : std::initializer_list<StandInServer *>{&m_service, &m_ocr, &m_cos, &m_weibo, &m_libre}) {
            QVERIFY2(server->problems().isEmpty(), qPrintable(server->problems().join("; ")));
            server->clearProblems();
        }
    }

    // The product's service.

    // The service's answers: only code 200, as a number or as numeric text, gives the text; any
    // other answer fails without a message, no answer at all with the one to show.
    void serviceAnswers_data()
    {
        QTest::addColumn<StandInResponse>("answer"); // status 0: nothing listens
        QTest::addColumn<bool>("success");
        QTest::addColumn<bool>("message");
        StandInResponse close;
        close.behaviour = StandInResponse::Behaviour::Close;
        StandInResponse refused;
        refused.status = 0;
        QTest::newRow("code 200 as text") << StandInResponse::json(R"({"code":"200","data":{"targetText":"Hallo"}})") << true << false;
        QTest::newRow("code 500") << StandInResponse::json(R"({"code":500,"message":"busy"})") << false << false;
        QTest::newRow("code as other text") << StandInResponse::json(R"({"code":"401"})") << false << false;
        QTest::newRow("html") << StandInResponse::json("<html>maintenance</html>") << false << false;
        QTest::newRow("no code") << StandInResponse::json(R"({"data":{"targetText":"x"}})") << false << false;
        QTest::newRow("refused") << refused << false << true;
        QTest::newRow("closed") << close << false << true;
        QTest::newRow("status 502") << StandInResponse::text("text/html", "bad gateway", 502) << false << true;
    }
    void serviceAnswers()
    {
        QFETCH(StandInResponse, answer);
        QFETCH(bool, success);
        QFETCH(bool, message);
        if (answer.status == 0)
            setDefault(Korvane::Settings::serviceHost, closedPortUrl());
        else
            m_service.setOverride(answer, false);
        Result r;
        ApiClient::translate("Hello", "de", r.completion());
        QCOMPARE(r.calls, 0);
        QTRY_COMPARE(r.calls, 1);
        QCOMPARE(r.success, success);
        if (success)
            QCOMPARE(r.result.toString(), QString("Hallo"));
        QCOMPARE(r.message, message ? ApiClient::cannotConnectMessage() : QString());
        QVERIFY(!message || !r.message.isEmpty());
    }

    void noServiceMeansNoRequest()
    {
        setDefault(Korvane::Settings::serviceHost, "");
        Result version, token, translate;
        ApiClient::getAppVersion(version.completion());
        ApiClient::getOCRToken(token.completion());
        ApiClient::translate("x", "en", translate.completion());
        QCOMPARE(version.calls + token.calls + translate.calls, 0);
        QTRY_COMPARE(version.calls + token.calls + translate.calls, 3);
        QVERIFY(!version.success && !token.success && !translate.success);
        QVERIFY(!version.message.isEmpty());
        QCOMPARE(m_service.requestCount(), 0);
    }

    void ocrTokenAndVersion()
    {
        Result token, version;
        ApiClient::getOCRToken(token.completion());
        ApiClient::getAppVersion(version.completion());
        QTRY_COMPARE(token.calls + version.calls, 2);
        QCOMPARE(token.result.toString(), m_service.token);
        QCOMPARE(version.result.toString(), m_service.version);
        bool sawVersion = false;
        for (const StandInRequest &request : m_service.requests()) {
            if (request.path.endsWith("/app/get")) {
                sawVersion = true;
                QCOMPARE(request.query.queryItemValue("identifier"), ApiClient::bundleIdentifier());
                QCOMPARE(request.query.queryItemValue("version"), ApiClient::currentVersion());
            }
        }
        QVERIFY(sawVersion);
    }

    // Image recognition.

    // A file goes as a part named after it; bytes go without a name; with neither, only the
    // app id goes, and the recogniser answers a request without an image with a non-zero code.
    void handwriting_data()
    {
        QTest::addColumn<QString>("fileName");
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<bool>("image");
        QTest::newRow("a path sends the file") << "scan one.png" << QByteArray("ignored") << true;
        QTest::newRow("bytes send one data part") << QString() << pngBytes() << true;
        QTest::newRow("neither sends only the app id") << QString() << QByteArray() << false;
    }
    void handwriting()
    {
        QFETCH(QString, fileName);
        QFETCH(QByteArray, bytes);
        QFETCH(bool, image);
        Result r;
        ApiClient::parseHandwriting(m_ocr.token, fileName.isEmpty() ? QString() : pngFile(fileName), bytes, r.completion());
        QTRY_COMPARE(r.calls, 1);
        QCOMPARE(r.success, image);
        QCOMPARE(r.result.toStringList(), image ? m_ocr.lines : QStringList());
        QVERIFY(r.message.isNull());
        QCOMPARE(m_ocr.requests().last().header("Authorization"), m_ocr.token.toUtf8());
        QCOMPARE(m_ocr.lastParts.size(), image ? 2 : 1);
        QCOMPARE(m_ocr.lastParts[0].name, QString("appid"));
        QCOMPARE(QString::fromUtf8(m_ocr.lastParts[0].data), ApiClient::ocrAppId());
        if (!image)
            return;
        QCOMPARE(m_ocr.lastParts[1].name, QString("image"));
        QCOMPARE(m_ocr.lastParts[1].hasFileName, !fileName.isEmpty());
        QCOMPARE(m_ocr.lastParts[1].fileName, fileName);
        QCOMPARE(m_ocr.lastParts[1].data, pngBytes());
        if (!fileName.isEmpty())
            QCOMPARE(m_ocr.lastParts[1].contentType, QByteArray("image/png"));
    }

    // General recognition by URL: no items is a success with nothing; a stale token fails with
    // the message to show, a non-zero code without one.
    void recognition_data()
    {
        QTest::addColumn<QString>("token");
        QTest::addColumn<QByteArray>("answer"); // empty: the stand-in's, with no lines
        QTest::addColumn<bool>("success");
        QTest::addColumn<bool>("message");
        QTest::newRow("no items") << "ocr-token-7f3a" << QByteArray() << true << false;
        QTest::newRow("stale token") << "stale-token" << QByteArray() << false << true;
        QTest::newRow("non-zero code") << "ocr-token-7f3a" << QByteArray(R"({"code":-1102,"message":"image decode failed"})") << false << false;
    }
    void recognition()
    {
        QFETCH(QString, token);
        QFETCH(QByteArray, answer);
        QFETCH(bool, message);
        m_ocr.lines.clear();
        if (!answer.isEmpty())
            m_ocr.setOverride(StandInResponse::json(answer));
        Result r;
        ApiClient::parseGeneral(token, QUrl("http://img.example/a.png"), r.completion());
        QTRY_COMPARE(r.calls, 1);
        m_ocr.lines = QStringList{"Hello Korvane", "第二行"};
        QTEST(r.success, "success");
        QVERIFY(r.result.isNull());
        QCOMPARE(r.message, message ? ApiClient::cannotConnectMessage() : QString());
        QCOMPARE(m_ocr.requests().last().header("Content-Type"), QByteArray("application/json"));
        QCOMPARE(QJsonDocument::fromJson(m_ocr.requests().last().body)["url"].toString(), QString("http://img.example/a.png"));
    }

    void bankCardAndLicenceRecords()
    {
        m_ocr.cardItems = {{"卡号", "6222 0000 1111 2222"}, {"卡类型", "借记卡"}, {"银行信息", "工商银行"}, {"未知", "x"}};
        Result card;
        ApiClient::parseBankCard(m_ocr.token, QUrl("http://img.example/c.png"), card.completion());
        QTRY_COMPARE(card.calls, 1);
        QVERIFY(card.success);
        const BankCardModel bank = card.result.value<BankCardModel>();
        QCOMPARE(bank.number, QString("6222 0000 1111 2222"));
        QCOMPARE(bank.type, QString("借记卡"));
        QCOMPARE(bank.bankName, QString("工商银行"));
        QVERIFY(bank.expire.isNull());

        m_ocr.cardItems = {{"注册号", "91310000"}, {"公司名称", "Korvane"}, {"组成形式", "个人经营"}};
        Result byUrl, byFile;
        ApiClient::parseBizlicense(m_ocr.token, QUrl("http://img.example/l.png"), byUrl.completion());
        const QString path = pngFile("licence.png");
        ApiClient::parseBizlicense(m_ocr.token, path, byFile.completion());
        QTRY_COMPARE(byUrl.calls + byFile.calls, 2);
        QCOMPARE(byUrl.result.value<BusinessLicenseModel>().constitute, QString("个人经营"));
        QCOMPARE(byUrl.result.value<BusinessLicenseModel>().company, QString("Korvane"));
        QVERIFY(byFile.result.value<BusinessLicenseModel>().constitute.isNull());
        QCOMPARE(byFile.result.value<BusinessLicenseModel>().number, QString("91310000"));
        m_ocr.cardItems.clear();
    }

    void idCardsAndBusinessCards()
    {
        m_ocr.cardItems = {{"name", "张三"}, {"sex", "男"}, {"id", "110101199001011234"}, {"authority", "北京"}};
        Result front, back;
        ApiClient::parseIdCard(m_ocr.token, QList<QUrl>{QUrl("http://img.example/1.png"), QUrl("http://img.example/2.png")}, 0,
                               front.completion());
        QTRY_COMPARE(front.calls, 1);
        QCOMPARE(m_ocr.lastJson.value("card_type").toInt(), 0);
        const QVariantList fronts = front.result.toList();
        QCOMPARE(fronts.size(), 2);
        QCOMPARE(fronts[0].value<IdCardFrontModel>().name, QString("张三"));
        QCOMPARE(fronts[1].value<IdCardFrontModel>().cardId, QString("110101199001011234"));
        QCOMPARE(fronts[1].value<IdCardFrontModel>().url, QString("http://img.example/2.png"));

        const QString path = pngFile("back.png");
        ApiClient::parseIdCard(m_ocr.token, QStringList{path}, 1, back.completion());
        QTRY_COMPARE(back.calls, 1);
        QCOMPARE(m_ocr.lastParts.size(), 3);
        QCOMPARE(m_ocr.lastParts[1].name, QString("card_type"));
        QCOMPARE(m_ocr.lastParts[1].data, QByteArray("1"));
        QCOMPARE(back.result.toList().value(0).value<IdCardBackModel>().authority, QString("北京"));
        QCOMPARE(back.result.toList().value(0).value<IdCardBackModel>().fileName, QString("back.png"));

        m_ocr.cardItems = {{"姓名", "李四"}, {"职位", "工程师"}, {"QQ", "10001"}};
        Result business;
        ApiClient::parseBusinessCard(m_ocr.token, QList<QUrl>{QUrl("http://img.example/b.png")}, business.completion());
        QTRY_COMPARE(business.calls, 1);
        const BusinessCardModel card = business.result.toList().value(0).value<BusinessCardModel>();
        QCOMPARE(card.realNameZh, QString("李四"));
        QCOMPARE(card.positionZh, QString("工程师"));
        QCOMPARE(card.qq, QString("10001"));

        m_ocr.setOverride(StandInResponse::json(R"({"result_list":[]})"));
        Result empty;
        ApiClient::parseBusinessCard(m_ocr.token, QList<QUrl>{QUrl("http://img.example/b.png")}, empty.completion());
        QTRY_COMPARE(empty.calls, 1);
        QVERIFY(!empty.success);
        QVERIFY(empty.message.isNull());
        m_ocr.cardItems.clear();
    }

    void aMissingImageFileFailsWithoutARequest()
    {
        Result r;
        ApiClient::parseGeneral(m_ocr.token, m_dir.filePath("missing.png"), r.completion());
        QCOMPARE(r.calls, 0);
        QTRY_COMPARE(r.calls, 1);
        QVERIFY(!r.success);
        QCOMPARE(m_ocr.requestCount(), 0);
    }

    // Tencent COS.

    void bucketLookup_data()
    {
        QTest::addColumn<QStringList>("names");
        QTest::addColumn<QString>("wanted");
        QTest::addColumn<QString>("found");
        QTest::addColumn<QString>("xmlNamespace");
        QTest::addColumn<QByteArray>("answer"); // empty: the list of the buckets
        const std::tuple<const char *, QStringList, QString, QString, QByteArray> rows[] = {
            {"prefix of another", {"photos2-1250000000", "photos-1250000000"}, "photos-1250000000", "", ""},
            {"namespaced list", {"photos-1250000000"}, "photos-1250000000", "http://doc.s3.amazonaws.com/2006-03-01", ""},
            {"only the longer name", {"photos2-1250000000"}, "", "", ""},
            {"none", {}, "", "", ""},
            {"no list in the answer", {"photos-1250000000"}, "", "", "<Error><Code>Other</Code></Error>"},
        };
        for (const auto &[tag, names, found, xmlNamespace, answer] : rows)
            QTest::newRow(tag) << names << QString("photos") << found << xmlNamespace << answer;
    }
    void bucketLookup()
    {
        QFETCH(QStringList, names);
        QFETCH(QString, wanted);
        QFETCH(QString, found);
        QFETCH(QString, xmlNamespace);
        QFETCH(QByteArray, answer);
        m_cos.xmlNamespace = xmlNamespace;
        if (!answer.isEmpty())
            m_cos.setOverride(StandInResponse::text("application/xml", answer));
        m_cos.buckets.clear();
        for (const QString &name : names)
            m_cos.buckets.append({name, "ap-shanghai"});
        Result r;
        ApiClient::getQCloudBucketDetail("secret-key-of-example", "AKIDexample", wanted, r.completion());
        QTRY_COMPARE(r.calls, 1);
        m_cos.xmlNamespace.clear();
        QCOMPARE(r.success, !found.isEmpty());
        QVERIFY(r.message.isNull());
        if (!found.isEmpty())
            QCOMPARE(r.result.toString(), m_cos.baseUrl() + "/" + found);
    }

    void bucketLookupOnARealDomainIsVirtualHosted()
    {
        QCOMPARE(ServiceHosts::bucketBaseUrl("http://myqcloud.com", "photos-125.cos.ap-shanghai", "photos-125", "http"),
                 QString("http://photos-125.cos.ap-shanghai.myqcloud.com"));
        QCOMPARE(ServiceHosts::bucketBaseUrl("https://localhost:8443", "b.cos.r", "b", "http"), QString("http://localhost:8443/b"));
        QCOMPARE(ServiceHosts::bucketBaseUrl("http://[::1]:9000", "b.oss", "b"), QString("http://[::1]:9000/b"));
        QCOMPARE(ServiceHosts::withSchemeOf("https://oss-cn-shanghai.aliyuncs.com", "oss-cn-beijing.aliyuncs.com"),
                 QString("https://oss-cn-beijing.aliyuncs.com"));
        QCOMPARE(ServiceHosts::withSchemeOf("http://127.0.0.1:9000", "oss-cn-beijing.aliyuncs.com"), QString("http://127.0.0.1:9000"));
        setDefault(Korvane::Settings::upyunHost, "http://127.0.0.1:1/");
        QCOMPARE(ServiceHosts::upyun(), QString("http://127.0.0.1:1"));
        setDefault(Korvane::Settings::upyunHost, QVariant());
    }

    // A store that answers 204 stored nothing, and says nothing; a refusal says why.
    void uploadStatusRules()
    {
        m_cos.buckets = {{"photos-1250000000", "ap-shanghai"}};
        const QString path = pngFile("upload.png");
        for (const int status : {204, 403}) {
            m_cos.setOverride(StandInResponse::text("application/xml", QByteArray(), status));
            Result r;
            ApiClient::uploadToQCloudCos("secret-key-of-example", "AKIDexample", m_cos.baseUrl() + "/photos-1250000000", path, "k.png", r.upload());
            QTRY_COMPARE(r.calls, 1);
            QVERIFY(!r.success);
            QCOMPARE(r.message.isNull(), status == 204);
        }
    }

    // The Weibo image bed.

    void loginStoresTheSessionAndReusesIt()
    {
        Result first;
        ApiClient::weiboLogin("user@example.com", "p@ss word&1", first.flag());
        QTRY_COMPARE(first.calls, 1);
        QVERIFY(first.success);
        QCOMPARE(m_weibo.requestCount(), 1);
        const QString cookie = Korvane::Settings::weiboCookie.read();
        QCOMPARE(cookie, " SUB=" + m_weibo.lastSub);
        const QDateTime expire = Korvane::Settings::weiboCookieExpire.read();
        QVERIFY(qAbs(QDateTime::currentDateTime().secsTo(expire) - 300) <= 2);

        Result again;
        ApiClient::weiboLogin("user@example.com", "p@ss word&1", again.flag());
        QCOMPARE(again.calls, 0);
        QTRY_COMPARE(again.calls, 1);
        QVERIFY(again.success);
        QTest::qWait(100);
        QCOMPARE(m_weibo.requestCount(), 1);

        // Past its five minutes the session is made again.
        setDefault(Korvane::Settings::weiboCookieExpire, QDateTime::currentDateTime().addSecs(-1));
        Result later;
        ApiClient::weiboLogin("user@example.com", "p@ss word&1", later.flag());
        QTRY_COMPARE(later.calls, 1);
        QCOMPARE(m_weibo.requestCount(), 2);
    }

    void loginWithoutSubSucceedsAndKeepsTheCookie()
    {
        setDefault(Korvane::Settings::weiboCookie, " SUB=older");
        setDefault(Korvane::Settings::weiboCookieExpire, QDateTime::currentDateTime().addSecs(-10));
        m_weibo.sendSub = false;
        Result r;
        ApiClient::weiboLogin("user@example.com", "p@ss word&1", r.flag());
        QTRY_COMPARE(r.calls, 1);
        QVERIFY(r.success);
        QCOMPARE(Korvane::Settings::weiboCookie.read(), QString(" SUB=older"));
        m_weibo.sendSub = true;
    }

    void noStoredCookieSendsNoCookieHeader()
    {
        Result r;
        ApiClient::weiboUploadImg(pngBytes().toBase64(), r.upload());
        QTRY_COMPARE(r.calls, 1);
        QVERIFY(!m_weibo.requests().last().hasHeader("Cookie"));
        QCOMPARE(r.message, QString("cookie失效"));
    }

    void weiboTransportFailures()
    {
        setDefault(Korvane::Settings::sinaLoginHost, closedPortUrl());
        setDefault(Korvane::Settings::weiboUploadHost, closedPortUrl());
        Result login, upload;
        ApiClient::weiboLogin("user@example.com", "p", login.flag());
        ApiClient::weiboUploadImg("eA==", upload.upload());
        QTRY_COMPARE(login.calls + upload.calls, 2);
        QCOMPARE(login.message, ApiClient::cannotConnectMessage());
        QCOMPARE(upload.message, ApiClient::cannotConnectMessage());
    }

    // LibreTranslate.

    // The action's language codes as LibreTranslate names them; one the server does not
    // offer is refused with its answer.
    void libreTranslateLanguageCodes()
    {
        for (const auto &[code, sent] : {std::pair{"jp", "ja"}, std::pair{"kr", "ko"}, std::pair{"fr", "fr"}}) {
            Result r;
            ApiClient::libreTranslate("Hello", code, r.completion());
            QTRY_COMPARE(r.calls, 1);
            QVERIFY(r.success);
            QCOMPARE(r.result.toString(), QString("<%1> Hello").arg(sent));
            const QVariantMap body = QJsonDocument::fromJson(m_libre.requests().last().body).object().toVariantMap();
            QCOMPARE(body.value("target").toString(), QString(sent));
            QCOMPARE(body.value("source").toString(), QString("auto"));
            QCOMPARE(body.value("format").toString(), QString("text"));
            QVERIFY(!body.contains("api_key"));
        }
        m_libre.languages.removeAll("ko");
        Result unsupported;
        ApiClient::libreTranslate("Hello", "kr", unsupported.completion());
        QTRY_COMPARE(unsupported.calls, 1);
        m_libre.languages.append("ko");
        QVERIFY(unsupported.message.contains("ko is not supported"));
    }

    void translationServiceFollowsTheSettings()
    {
        QCOMPARE(ApiClient::translationService(), ApiClient::TranslationService::LibreTranslate);
        setDefault(Korvane::Settings::libreTranslateUrl, QVariant());
        QCOMPARE(ApiClient::translationService(), ApiClient::TranslationService::Service);
        QVERIFY(ApiClient::translationServiceDescription().contains(m_service.baseUrl()));
        setDefault(Korvane::Settings::serviceHost, QVariant());
        QCOMPARE(ApiClient::translationService(), ApiClient::TranslationService::None);
        QVERIFY(ApiClient::translationServiceDescription().contains("LibreTranslate server"));
    }

    // Secrets stay out of the log.

    void secretsAreNeverLogged()
    {
        LogCapture log;
        m_cos.buckets = {{"photos-1250000000", "ap-shanghai"}};
        Result bucket, login, upload, fail;
        ApiClient::getQCloudBucketDetail("secret-key-of-example", "AKIDexample", "photos", bucket.completion());
        ApiClient::weiboLogin("user@example.com", "p@ss word&1", login.flag());
        QTRY_COMPARE(bucket.calls + login.calls, 2);
        ApiClient::weiboUploadImg(pngBytes().toBase64(), upload.upload());
        setDefault(Korvane::Settings::libreTranslateKey, "lt-key-123");
        ApiClient::libreTranslate("Hello", "de", fail.completion());
        QTRY_COMPARE(upload.calls + fail.calls, 2);
        setDefault(Korvane::Settings::libreTranslateKey, QVariant());
        const QString text = log.text();
        QVERIFY(text.contains("hash:<redacted>"));
        QVERIFY(text.contains("SUB=<redacted>"));
        for (const QString &secret : {QString("secret-key-of-example"), QString("p@ss word&1"), m_weibo.lastSub, QString("lt-key-123"),
                                      QString("q-signature")}) {
            QVERIFY2(!text.contains(secret), qPrintable(secret));
        }
    }

    void redactedCookieKeepsTheAttributes()
    {
        QCOMPARE(ApiClient::redactedCookie(" Httponly, SUB=_2A25abc"), QString(" Httponly, SUB=<redacted>"));
        QCOMPARE(ApiClient::redactedCookie(" path=/"), QString(" path=/"));
        QCOMPARE(ApiClient::redactedCookie(" expires=Sat, 29-Jan-2033 06:51:39 GMT"), QString(" expires=Sat, 29-Jan-2033 06:51:39 GMT"));
        QCOMPARE(ApiClient::redactedCookie("SCF=AjsE,rest-of-it, path=/"), QString("SCF=<redacted>"));
    }

private:
    QString pngFile(const QString &name) const
    {
        QFile file(m_dir.filePath(name));
        return file.open(QIODevice::WriteOnly) && file.write(pngBytes()) > 0 ? file.fileName() : QString();
    }

    ServiceStandIn m_service;
    TencentOcrStandIn m_ocr;
    CosStandIn m_cos;
    WeiboStandIn m_weibo;
    LibreTranslateStandIn m_libre;
    QTemporaryDir m_dir;
};

QTEST_GUILESS_MAIN(ApiClientTest)
#include "tst_apiclient.moc"
