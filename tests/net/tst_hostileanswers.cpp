// Stores that answer badly on purpose, met through korvane run: the OSS upload reads the
// answer to its PUT with Korvane's own HTTP reader, the COS bucket lookup goes through the
// API client. Every bad answer ends the run with exit 1 and a line naming the limit it broke,
// keeps nothing, and stays within the run's time and memory whatever the server sends. The
// reader's limits are also checked on their own, without a socket.
#include "net/httpanswerparser.h"
#include "servers/hostileanswers.h"
#include "support/uploadrun.h"

#include <tuple>

using namespace KorvaneTest;

Q_DECLARE_METATYPE(StandInResponse)

class HostileAnswersTest final : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase()
    {
        QVERIFY(m_store.start({"ossEndpoint", "cosService"}));
        // A drip moves a byte every 200 ms: the stall limit never ends it, only the answer's clock.
        setSettings({{"network/answerTimeout", 4000}, {"network/transferTimeout", 10000}});
        m_oss = addUploadAction(13, {"aliAccessKey=LTAIhostile01", "aliSecretKey=" + m_secret, "aliSpaceName=box", "aliDomain=https://box.example.com"});
        m_cos = addUploadAction(14, {"tencentAccessKey=AKIDhostile01", "tencentSecretKey=" + m_secret, "tencentSpaceName=photos", "tencentDomain=https://cdn.example.com"});
        QVERIFY(!m_oss.isEmpty() && !m_cos.isEmpty());
    }

    void badAnswersEndTheRun_data()
    {
        QTest::addColumn<bool>("upload"); // the OSS upload's answer, else the COS bucket lookup's
        QTest::addColumn<StandInResponse>("answer");
        QTest::addColumn<QByteArray>("limit");
        using HostileAnswers::named;
        QTest::newRow("upload: endless chunks") << true << named("endlesschunks") << QByteArray("over the limit of 1048576 bytes");
        QTest::newRow("upload: negative chunk size") << true << named("negativechunks") << QByteArray("not a hexadecimal number");
        QTest::newRow("upload: chunk of 2^63-1, then silence") << true << named("hugechunk") << QByteArray("over the limit of 1048576 bytes");
        QTest::newRow("upload: endless head") << true << named("endlesshead") << QByteArray("longer than 65536 bytes");
        QTest::newRow("upload: flood of 100 Continue") << true << named("continueflood") << QByteArray("more than 8 interim answers");
        QTest::newRow("upload: a byte every 200 ms") << true << named("drip", 200) << QByteArray("within 4000 ms");
        // Past the cap before the client reads a byte: only the size cap can end it, never the clock.
        QTest::newRow("lookup: chunk of 2 MiB at once") << false << named("bigchunk") << QByteArray("larger than 1048576 bytes");
        // Qt compares each attribute with every one before it: 100,000 of them took half a minute.
        QByteArray attributes;
        for (int i = 0; i < 100000; ++i)
            attributes += " a" + QByteArray::number(i) + "=''";
        QTest::newRow("lookup: 100,000 attributes on one element")
            << false << StandInResponse::text("application/xml", "<ListAllMyBucketsResult" + attributes + "/>")
            << QByteArray("more than 256 attributes");
    }
    void badAnswersEndTheRun()
    {
        QFETCH(bool, upload);
        QFETCH(StandInResponse, answer);
        QFETCH(QByteArray, limit);
        m_store.server->setOverride(answer, false);
        QFile::remove(historyFile());
        const int before = m_store.server->requestCount();

        const RunResult result = runUpload(upload ? m_oss : m_cos, {m_store.file("a.png", samplePng(1))});
        QCOMPARE(result.exitCode, 1);
        QCOMPARE(result.json.value("success").toBool(true), false);
        QCOMPARE(result.json.value("error").toObject().value("code").toInt(), upload ? 3013 : 3021);
        QVERIFY2(result.errors.contains(limit), result.errors.constData());
        QCOMPARE(m_store.server->requestCount(), before + 1);
        QCOMPARE(history().size(), 0);
        QVERIFY(!result.output.contains(m_secret.toUtf8()));
    }

    // The reader alone, fed the exact bytes at once and byte by byte: the body it gives, or
    // (none) what its failure names.
    void readerLimits()
    {
        const QByteArray chunked = "HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked\r\n\r\n";
        const QByteArray interim = "HTTP/1.1 100 Continue\r\n\r\n";
        const std::tuple<const char *, QByteArray, qint64, QByteArray, const char *> rows[] = {
            {"chunks with an extension and a trailer", chunked + "3;x=1\r\nabc\r\n2\r\nde\r\n0\r\nX-Sum: 5\r\n\r\n", qint64(5), QByteArray("abcde"), ""},
            {"length, after 8 interim answers", interim.repeated(8) + "HTTP/1.1 201 Created\r\nContent-Length: 2\r\n\r\n{}junk", qint64(2), QByteArray("{}"), ""},
            {"9 interim answers", interim.repeated(9) + "HTTP/1.1 200 OK\r\nContent-Length: 2\r\n\r\n{}", qint64(2), QByteArray(), "more than 8 interim answers"},
            {"chunks adding up past the cap", chunked + "3\r\nabc\r\n3\r\ndef\r\n", qint64(5), QByteArray(), "a chunk of 3 bytes"},
            {"17 digits", chunked + "00000000000000001\r\nx\r\n0\r\n\r\n", qint64(5), QByteArray(), "more than 16 digits"},
            {"chunk longer than its size", chunked + "1\r\nxy\r\n", qint64(5), QByteArray(), "longer than its size"},
            {"length over the cap", QByteArray("HTTP/1.1 200 OK\r\nContent-Length: 6\r\n\r\n"), qint64(5), QByteArray(), "announces 6 bytes"},
            {"two lengths", QByteArray("HTTP/1.1 200 OK\r\nContent-Length: 1\r\nContent-Length: 2\r\n\r\nxy"), qint64(5), QByteArray(), "not one number"},
            {"until close, past the cap", QByteArray("HTTP/1.0 200 OK\r\n\r\nabcdef"), qint64(5), QByteArray(), "larger than 5 bytes"},
            {"until close", QByteArray("HTTP/1.0 200 OK\r\n\r\nabcde"), qint64(5), QByteArray("abcde"), ""},
            {"101 fields", "HTTP/1.1 200 OK\r\n" + QByteArray("A: b\r\n").repeated(101) + "\r\n", qint64(5), QByteArray(), "more than 100 header fields"},
            {"closed in a chunk", chunked + "5\r\nab", qint64(5), QByteArray(), "closed before the answer ended"},
        };
        for (const auto &[tag, bytes, cap, body, why] : rows) {
            HttpAnswerParser whole(cap);
            HttpAnswerParser single(cap);
            whole.feed(bytes);
            for (const char byte : bytes)
                single.feed(QByteArrayView(&byte, 1));
            for (HttpAnswerParser *parser : {&whole, &single}) {
                QVERIFY2(parser->closed() == (body.isEmpty() ? HttpAnswerParser::State::Failed : HttpAnswerParser::State::Complete), tag);
                QCOMPARE(parser->body(), body);
                QVERIFY2(parser->errorText().contains(QLatin1String(why)), qPrintable(tag + (": " + parser->errorText())));
            }
        }
    }

private:
    StoreFixture<StandInServer> m_store;
    const QString m_secret = QStringLiteral("hostile-SECRET-5150");
    QString m_oss;
    QString m_cos;
};

QTEST_GUILESS_MAIN(HostileAnswersTest)
#include "tst_hostileanswers.moc"
