// The HTTP client against local servers: the request shapes as they arrive, the answers as
// they are parsed, and every way a request can fail.
#include "net/servicehosts.h"
#include "net/networkclient.h"
#include "support/logcapture.h"
#include "servers/hostileanswers.h"
#include "servers/standinserver.h"

#include <QJsonDocument>
#include <QJsonObject>
#include <QRegularExpression>
#include <QThread>
#include <QProcess>
#include <QSslCertificate>
#include <QSslKey>
#include <QSslServer>
#include <QSslSocket>
#include <QTemporaryDir>
#include <QTest>

#include <brotli/encode.h>
#include <zlib.h>

using namespace KorvaneTest;

Q_DECLARE_METATYPE(StandInResponse)

namespace {

// What one request's callbacks did.
struct Outcome {
    int successes = 0;
    int failures = 0;
    QVariant object;
    QVariantMap headers;
    int status = 0;
    HttpError error;

    int calls() const { return successes + failures; }
    NetworkClient::SuccessBlock success()
    {
        return [this](const QVariant &o, const QVariantMap &h) {
            ++successes;
            object = o;
            headers = h;
        };
    }
    NetworkClient::StatusBlock statusBlock()
    {
        return [this](int s) {
            ++successes;
            status = s;
        };
    }
    NetworkClient::FailureBlock failure()
    {
        return [this](const HttpError &e) {
            ++failures;
            error = e;
        };
    }
};

// windowBits as zlib takes them: 15 zlib-wrapped, -15 raw, 31 gzip.
QByteArray compressed(const QByteArray &data, int windowBits)
{
    z_stream stream{};
    deflateInit2(&stream, 9, Z_DEFLATED, windowBits, 8, Z_DEFAULT_STRATEGY);
    QByteArray out(int(deflateBound(&stream, uLong(data.size()))), Qt::Uninitialized);
    stream.next_in = reinterpret_cast<Bytef *>(const_cast<char *>(data.constData()));
    stream.avail_in = uInt(data.size());
    stream.next_out = reinterpret_cast<Bytef *>(out.data());
    stream.avail_out = uInt(out.size());
    deflate(&stream, Z_FINISH);
    out.resize(qsizetype(stream.total_out));
    deflateEnd(&stream);
    return out;
}

QByteArray brotli(const QByteArray &data)
{
    size_t size = BrotliEncoderMaxCompressedSize(size_t(data.size()));
    QByteArray out(qsizetype(size), Qt::Uninitialized);
    BrotliEncoderCompress(BROTLI_DEFAULT_QUALITY, BROTLI_DEFAULT_WINDOW, BROTLI_MODE_TEXT, size_t(data.size()),
                          reinterpret_cast<const uint8_t *>(data.constData()), &size, reinterpret_cast<uint8_t *>(out.data()));
    out.resize(qsizetype(size));
    return out;
}

// Lets late callbacks surface, so that "exactly once" is seen, not assumed.
void settle(int ms = 100)
{
    QTest::qWait(ms);
}

} // namespace

class NetWorkClientTest final : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase()
    {
        QVERIFY(m_server.start());
    }

    void init()
    {
        m_server.clearRequests();
        m_server.clearOverride();
        m_server.setHandler([](const StandInRequest &) { return StandInResponse::json(R"({"ok":true})"); });
        NetworkClient::setTransferTimeout(30000);
        NetworkClient::setAnswerTimeout(30000);
    }

    void getSendsTheTokenVerbatimAndOnlyWhenThereAndItsParametersInTheQuery()
    {
        Outcome outcome;
        NetworkClient::sharedClient()->getPath(m_server.baseUrl() + "/a", {}, QString(), outcome.success(), outcome.failure());
        QTRY_COMPARE(outcome.calls(), 1);
        QVERIFY(!m_server.requests().last().hasHeader("Authorization"));
        QCOMPARE(outcome.object.toMap().value("ok").toBool(), true);
        QVERIFY(outcome.headers.isEmpty());
        NetworkClient::sharedClient()->getPath(m_server.baseUrl() + "/a", {{"version", "1.2 beta"}, {"identifier", "com.x"}},
                                               "q-sign-algorithm=sha1&q-ak=X", outcome.success(), outcome.failure());
        QTRY_COMPARE(outcome.calls(), 2);
        QCOMPARE(m_server.requests().last().header("Authorization"), QByteArray("q-sign-algorithm=sha1&q-ak=X"));
        QCOMPARE(m_server.requests().last().rawQuery, QByteArray("identifier=com.x&version=1.2%20beta"));
    }

    void callbacksArriveOnTheMainThreadFromAnyThread()
    {
        Outcome outcome;
        QThread *callbackThread = nullptr;
        QThread *worker = QThread::create([&] {
            NetworkClient::sharedClient()->getPath(
                m_server.baseUrl() + "/a", {}, QString(),
                [&](const QVariant &, const QVariantMap &) {
                    callbackThread = QThread::currentThread();
                    ++outcome.successes;
                },
                outcome.failure());
        });
        worker->start();
        QVERIFY(worker->wait(5000));
        delete worker;
        QTRY_COMPARE(outcome.calls(), 1);
        QCOMPARE(callbackThread, QCoreApplication::instance()->thread());
    }

    void putEncodesThePathAndSetsItsHeaders()
    {
        Outcome outcome;
        NetworkClient::sharedClient()->putPath(m_server.baseUrl() + "/bucket/my photo 100%#1.png", {{"ignored", "1"}},
                                               "sig", QByteArray("bytes"), outcome.statusBlock(), outcome.failure());
        QTRY_COMPARE(outcome.calls(), 1);
        QCOMPARE(outcome.successes, 1);
        QCOMPARE(outcome.status, 200);
        const StandInRequest &request = m_server.requests().last();
        QCOMPARE(request.method, QByteArray("PUT"));
        QCOMPARE(request.target, QByteArray("/bucket/my%20photo%20100%25%231.png"));
        QVERIFY(request.hasHeader("Content-Type"));
        QCOMPARE(request.header("Content-Type"), QByteArray());
        QCOMPARE(request.header("Origin"), QByteArray("file://"));
        QCOMPARE(request.header("Authorization"), QByteArray("sig"));
        QCOMPARE(request.body, QByteArray("bytes"));
    }

    void putTakesAnEmptyOrJsonAnswerOnly()
    {
        Outcome empty;
        m_server.setOverride(StandInResponse::text("text/plain", QByteArray(), 201));
        NetworkClient::sharedClient()->putPath(m_server.baseUrl() + "/k", {}, QString(), "x", empty.statusBlock(), empty.failure());
        QTRY_COMPARE(empty.calls(), 1);
        QCOMPARE(empty.status, 201);

        Outcome html;
        m_server.setOverride(StandInResponse::text("text/html", "<html>stored</html>"));
        NetworkClient::sharedClient()->putPath(m_server.baseUrl() + "/k", {}, QString(), "x", html.statusBlock(), html.failure());
        QTRY_COMPARE(html.calls(), 1);
        QCOMPARE(html.failures, 1);
        QCOMPARE(html.error.kind, HttpError::Rejected);
    }

    void formPostEncodesTheBodyAndPassesTheHeaders()
    {
        Outcome outcome;
        StandInResponse answer = StandInResponse::json(R"({"retcode":"0"})");
        answer.addHeader("Set-Cookie", "A=1; path=/; Httponly");
        answer.addHeader("Set-Cookie", "SUB=xyz; path=/");
        m_server.setOverride(answer);
        NetworkClient::sharedClient()->postPath(m_server.baseUrl() + "/sso/login.php", {{"Referer", "https://r/"}},
                                                {{"sr", "1024*768"}, {"su", "a+b=="}, {"sp", "p w&d"}},
                                                outcome.success(), outcome.failure());
        QTRY_COMPARE(outcome.calls(), 1);
        const StandInRequest &request = m_server.requests().last();
        QCOMPARE(request.header("Content-Type"), QByteArray("application/x-www-form-urlencoded"));
        QCOMPARE(request.header("Referer"), QByteArray("https://r/"));
        QCOMPARE(request.body, QByteArray("sp=p%20w%26d&sr=1024%2A768&su=a%2Bb%3D%3D"));
        QCOMPARE(outcome.object.toMap().value("retcode").toString(), QString("0"));
        // Repeated fields are joined as one, the way the login's cookie reading expects.
        QCOMPARE(NetworkClient::headerValue(outcome.headers, "set-cookie"), QString("A=1; path=/; Httponly, SUB=xyz; path=/"));
    }

    void jsonPostSendsOneObject()
    {
        Outcome outcome;
        NetworkClient::sharedClient()->postJson(m_server.baseUrl() + "/ocr/general", {{"Content-Type", "application/json"}, {"Authorization", "t"}},
                                                {{"appid", "1"}, {"url_list", QStringList{"a", "b"}}, {"card_type", 1}},
                                                outcome.success(), outcome.failure());
        QTRY_COMPARE(outcome.calls(), 1);
        const StandInRequest &request = m_server.requests().last();
        QCOMPARE(request.header("Content-Type"), QByteArray("application/json"));
        const QVariantMap body = QJsonDocument::fromJson(request.body).object().toVariantMap();
        QCOMPARE(body.value("url_list").toStringList(), QStringList({"a", "b"}));
        QCOMPARE(body.value("card_type").toInt(), 1);
        QVERIFY(outcome.headers.isEmpty());
    }

    void multipartCarriesOnePartAndTheSameBoundaryInBothPlaces()
    {
        Outcome outcome;
        m_server.setOverride(StandInResponse::text("text/html", "<meta/><script>document.domain=\"x\";</script>{\"code\":\"A00006\"}"));
        NetworkClient::sharedClient()->postMultiPart(m_server.baseUrl() + "/interface/pic_upload.php?ori=1", {{"Cookie", " SUB=1"}},
                                                     "aGVsbG8=", outcome.success(), outcome.failure());
        QTRY_COMPARE(outcome.calls(), 1);
        const StandInRequest &request = m_server.requests().last();
        QList<StandInPart> parts;
        QString error;
        QByteArray boundary;
        QVERIFY2(parseMultipart(request, &parts, &error, &boundary), qPrintable(error));
        QVERIFY(QRegularExpression("^===[0-9]+000===$").match(QString::fromLatin1(boundary)).hasMatch());
        QCOMPARE(parts.size(), 1);
        QCOMPARE(parts[0].name, QString("b64_data"));
        QVERIFY(!parts[0].hasFileName);
        QCOMPARE(parts[0].data, QByteArray("aGVsbG8="));
        QCOMPARE(request.header("Cookie"), QByteArray("SUB=1"));
        QCOMPARE(outcome.object.toMap().value("code").toString(), QString("A00006"));
        QVERIFY(!outcome.headers.isEmpty());
    }

    void multipartWithoutScriptEndGivesNull()
    {
        Outcome outcome;
        m_server.setOverride(StandInResponse::text("text/html", "<html>{\"code\":\"A00006\"}</html>"));
        NetworkClient::sharedClient()->postMultiPart(m_server.baseUrl() + "/u", {}, "x", outcome.success(), outcome.failure());
        QTRY_COMPARE(outcome.calls(), 1);
        QCOMPARE(outcome.successes, 1);
        QVERIFY(outcome.object.isNull());
        QVERIFY(outcome.headers.isEmpty());
    }

    void jsonAfterScriptUsesTheFirstScriptEnd()
    {
        QCOMPARE(NetworkClient::jsonAfterScript("a</script>{\"n\":1}").toMap().value("n").toInt(), 1);
        QVERIFY(NetworkClient::jsonAfterScript("a</script>x</script>{\"n\":1}").isNull());
        QCOMPARE(NetworkClient::jsonAfterScript("中文</script>[1,2]").toList().size(), 2);
        QVERIFY(NetworkClient::jsonAfterScript("</script>[" + QByteArray("1,").repeated(AnswerLimits::documentNodes) + "1]").isNull());
    }

    void generalMultipartFormKeepsPartOrderAndFileNames()
    {
        Outcome outcome;
        NetworkClient::sharedClient()->postMultiPartForm(
            m_server.baseUrl() + "/ocr/idcard", {{"Authorization", "t"}},
            {FormPart::field("appid", "123"), FormPart::field("card_type", "1"),
             FormPart::fileData("image", "PNGDATA", "a b.png", "image/png"),
             FormPart::fileData("image", "RAW", QString(), QString())},
            outcome.success(), outcome.failure());
        QTRY_COMPARE(outcome.calls(), 1);
        QList<StandInPart> parts;
        QString error;
        QVERIFY2(parseMultipart(m_server.requests().last(), &parts, &error), qPrintable(error));
        QCOMPARE(parts.size(), 4);
        QCOMPARE(parts[0].name, QString("appid"));
        QCOMPARE(parts[0].data, QByteArray("123"));
        QCOMPARE(parts[2].fileName, QString("a b.png"));
        QCOMPARE(parts[2].contentType, QByteArray("image/png"));
        QVERIFY(!parts[3].hasFileName);
        QVERIFY(!parts[3].hasContentType);
        QVERIFY(!outcome.headers.isEmpty());
    }

    void theCosBucketListIsReadAsXml()
    {
        setDefault(Korvane::Settings::cosServiceHost, m_server.baseUrl());
        m_server.setOverride(StandInResponse::text("application/xml",
                                                   "<ListAllMyBucketsResult><Buckets><Bucket><Name>a-1</Name></Bucket></Buckets></ListAllMyBucketsResult>"));
        Outcome outcome;
        NetworkClient::sharedClient()->getPath(ServiceHosts::cosServiceUrl(), {}, "sig", outcome.success(), outcome.failure());
        QTRY_COMPARE(outcome.calls(), 1);
        const QVariantMap bucket = outcome.object.toMap().value("ListAllMyBucketsResult").toMap().value("Buckets").toMap().value("Bucket").toMap();
        QCOMPARE(bucket.value("Name").toMap().value("text").toString(), QString("a-1"));

        // Another address is JSON, even with the same XML answer.
        Outcome other;
        m_server.setOverride(StandInResponse::text("application/xml", "<a/>"));
        NetworkClient::sharedClient()->getPath(m_server.baseUrl() + "/other", {}, QString(), other.success(), other.failure());
        QTRY_COMPARE(other.calls(), 1);
        QCOMPARE(other.successes, 1);
        QVERIFY(other.object.isNull());
        setDefault(Korvane::Settings::cosServiceHost, QVariant());
    }

    // An answer that is no answer, or not a good one, fails once and says why.
    void aBadAnswerFails_data()
    {
        QTest::addColumn<StandInResponse>("answer");
        QTest::addColumn<bool>("ownEncoding"); // the request names its Accept-Encoding, so Qt undoes nothing
        QTest::addColumn<int>("kind");
        QTest::addColumn<QString>("why");
        const auto behaving = [](StandInResponse::Behaviour behaviour, const QByteArray &body = "{}") {
            StandInResponse response = StandInResponse::json(body);
            response.behaviour = behaviour;
            response.streamSize = 100LL * 1024 * 1024;
            return response;
        };
        const auto encoded = [](const QByteArray &encoding, const QByteArray &body) {
            StandInResponse response = StandInResponse::json(body);
            response.addHeader("Content-Encoding", encoding);
            return response;
        };
        const int transport = HttpError::Transport;
        const int rejected = HttpError::Rejected;
        for (const int status : {404, 500, 302}) {
            QTest::addRow("status %d", status) << StandInResponse::json(R"({"error":"no"})", status) << false
                                               << int(HttpError::HttpStatus) << QString("HTTP status %1").arg(status);
        }
        QTest::newRow("closed") << behaving(StandInResponse::Behaviour::Close) << false << transport << "RemoteHostClosedError";
        QTest::newRow("stalled") << behaving(StandInResponse::Behaviour::Stall) << false << transport << "OperationCanceledError";
        QTest::newRow("truncated") << behaving(StandInResponse::Behaviour::Truncate, R"({"code":200,"data":{"t":"hal)") << false
                                   << transport << "RemoteHostClosedError";
        QTest::newRow("a byte every 100 ms") << HostileAnswers::named("drip", 100) << false << transport << "within 1500 ms";
        QTest::newRow("100 Continue every 100 ms") << HostileAnswers::named("continueflood", 100) << false << transport << "within 1500 ms";
        QTest::newRow("endless chunks") << HostileAnswers::named("endlesschunks") << false << rejected << "larger than 1048576 bytes";
        QTest::newRow("100 MB announced") << behaving(StandInResponse::Behaviour::Stream) << false << rejected << "larger than 1048576 bytes";
        QTest::newRow("gzip undone by Qt") << encoded("gzip", compressed(QByteArray(2 * 1024 * 1024, ' '), 31)) << false << rejected
                                           << "larger than 1048576 bytes";
        QTest::newRow("deflate bomb") << encoded("deflate", compressed(QByteArray(100 * 1024 * 1024, ' '), 15)) << true << rejected
                                      << "larger than 1048576 bytes";
    }
    void aBadAnswerFails()
    {
        QFETCH(StandInResponse, answer);
        QFETCH(bool, ownEncoding);
        QFETCH(QString, why);
        // Short clocks only where a row is about them; a drip is never a stall, only late.
        const bool clocked = why.startsWith("within");
        NetworkClient::setTransferTimeout(clocked || QByteArray(QTest::currentDataTag()) == "stalled" ? 500 : 30000);
        NetworkClient::setAnswerTimeout(clocked ? 1500 : 30000);
        // Every time: Qt sends a request again, once, when a kept-alive connection closes early.
        m_server.setOverride(answer, false);
        Outcome outcome;
        NetworkClient::sharedClient()->postPath(m_server.baseUrl() + "/x", ownEncoding ? QVariantMap{{"Accept-Encoding", "deflate"}} : QVariantMap(),
                                                {}, outcome.success(), outcome.failure());
        QTRY_COMPARE_WITH_TIMEOUT(outcome.calls(), 1, 20000);
        settle();
        QCOMPARE(outcome.failures, 1);
        QTEST(int(outcome.error.kind), "kind");
        QVERIFY2(outcome.error.description.contains(why), qPrintable(outcome.error.description));
    }

    void aRedirectToAnotherHostFails()
    {
        StandInServer other;
        QVERIFY(other.start());
        other.setHandler([](const StandInRequest &) { return StandInResponse::json(R"({"code":200})"); });
        StandInResponse redirect = StandInResponse::text("text/html", "moved", 302);
        redirect.reason = "Found";
        redirect.addHeader("Location", QString("http://localhost:%1/elsewhere").arg(other.port()).toLatin1());
        m_server.setOverride(redirect);
        Outcome outcome;
        NetworkClient::sharedClient()->getPath(m_server.baseUrl() + "/x", {}, "secret-token", outcome.success(), outcome.failure());
        QTRY_COMPARE(outcome.calls(), 1);
        settle();
        QCOMPARE(outcome.failures, 1);
        QCOMPARE(other.requestCount(), 0);
    }

    void aRedirectOnTheSameOriginIsFollowed()
    {
        StandInResponse redirect = StandInResponse::text("text/html", "moved", 301);
        redirect.addHeader("Location", (m_server.baseUrl() + "/moved").toLatin1());
        m_server.setOverride(redirect);
        Outcome outcome;
        NetworkClient::sharedClient()->getPath(m_server.baseUrl() + "/x", {}, QString(), outcome.success(), outcome.failure());
        QTRY_COMPARE(outcome.calls(), 1);
        QCOMPARE(outcome.successes, 1);
        QCOMPARE(m_server.requests().last().path, QString("/moved"));
    }

    void anUntrustedCertificateFails()
    {
        if (!QSslSocket::supportsSsl())
            QSKIP("no TLS backend");
        QTemporaryDir dir;
        QProcess openssl;
        openssl.start("openssl", {"req", "-x509", "-newkey", "rsa:2048", "-nodes", "-days", "1", "-subj", "/CN=127.0.0.1", "-keyout", dir.filePath("key.pem"), "-out", dir.filePath("cert.pem")});
        if (!openssl.waitForFinished(30000) || openssl.exitCode() != 0)
            QSKIP("openssl cannot make a certificate here");
        QFile certFile(dir.filePath("cert.pem"));
        QFile keyFile(dir.filePath("key.pem"));
        QVERIFY(certFile.open(QIODevice::ReadOnly) && keyFile.open(QIODevice::ReadOnly));
        QSslConfiguration configuration = QSslConfiguration::defaultConfiguration();
        configuration.setLocalCertificate(QSslCertificate(&certFile));
        configuration.setPrivateKey(QSslKey(&keyFile, QSsl::Rsa));
        QSslServer tls;
        tls.setSslConfiguration(configuration);
        int connections = 0;
        connect(&tls, &QSslServer::pendingConnectionAvailable, this, [&] {
            while (QTcpSocket *s = tls.nextPendingConnection()) {
                ++connections;
                connect(s, &QTcpSocket::readyRead, s, [s] { s->write("HTTP/1.1 200 OK\r\nContent-Length: 2\r\n\r\n{}"); });
            }
        });
        QVERIFY(tls.listen(QHostAddress::LocalHost, 0));
        Outcome outcome;
        NetworkClient::sharedClient()->getPath(QString("https://127.0.0.1:%1/x").arg(tls.serverPort()), {}, QString(),
                                               outcome.success(), outcome.failure());
        QTRY_COMPARE_WITH_TIMEOUT(outcome.calls(), 1, 10000);
        settle();
        QCOMPARE(outcome.failures, 1);
        QCOMPARE(outcome.error.kind, HttpError::Transport);
        QVERIFY(outcome.error.description.contains("Ssl"));
    }

    void noCookieTravelsBetweenRequests()
    {
        StandInResponse withCookie = StandInResponse::json("{}");
        withCookie.addHeader("Set-Cookie", "SUB=abc; path=/");
        m_server.setOverride(withCookie);
        Outcome first;
        NetworkClient::sharedClient()->postPath(m_server.baseUrl() + "/login", {}, {}, first.success(), first.failure());
        QTRY_COMPARE(first.calls(), 1);
        Outcome second;
        NetworkClient::sharedClient()->getPath(m_server.baseUrl() + "/next", {}, QString(), second.success(), second.failure());
        QTRY_COMPARE(second.calls(), 1);
        QVERIFY(!m_server.requests().last().hasHeader("Cookie"));
    }

    void nullCallbacksAreSkipped()
    {
        NetworkClient::sharedClient()->getPath(m_server.baseUrl() + "/x", {}, QString(), nullptr, nullptr);
        NetworkClient::sharedClient()->putPath(m_server.baseUrl() + "/x", {}, QString(), QByteArray(), nullptr, nullptr);
        QTRY_COMPARE(m_server.requestCount(), 2);
        settle();
    }

    // As the request asked: zlib-wrapped or raw deflate, gzip, Brotli, or none.
    void answersCompressedAsTheRequestAskedAreUndone()
    {
        const QByteArray json = R"({"retcode":"0","nick":"压缩"})";
        const std::pair<QByteArray, QByteArray> answers[] = {
            {"deflate", compressed(json, 15)}, {"deflate", compressed(json, -15)}, {"gzip", compressed(json, 31)}, {"br", brotli(json)}, {"", json}};
        for (const auto &[encoding, body] : answers) {
            StandInResponse answer = StandInResponse::json(body);
            if (!encoding.isEmpty())
                answer.addHeader("Content-Encoding", encoding);
            m_server.setOverride(answer);
            Outcome outcome;
            NetworkClient::sharedClient()->postPath(m_server.baseUrl() + "/sso/login.php", {{"Accept-Encoding", "deflate, br"}},
                                                    {{"a", "1"}}, outcome.success(), outcome.failure());
            QTRY_COMPARE(outcome.calls(), 1);
            QCOMPARE(m_server.requests().last().header("Accept-Encoding"), QByteArray("deflate, br"));
            QCOMPARE(outcome.object.toMap().value("nick").toString(), QString("压缩"));
        }
    }

    void queryEncodingKeepsOnlyTheQueryCharacters()
    {
        QCOMPARE(NetworkClient::queryEncodedPath("http://h:1/a b/ü?x=1&y=[2]"),
                 QString("http://h:1/a%20b/%C3%BC?x=1&y=%5B2%5D"));
        QCOMPARE(QString::fromLatin1(NetworkClient::queryString({{"b", "1"}, {"a", QStringList{"x", "y"}}})),
                 QString("a%5B%5D=x&a%5B%5D=y&b=1"));
    }

private:
    StandInServer m_server;
};

QTEST_GUILESS_MAIN(NetWorkClientTest)
#include "tst_netclient.moc"
