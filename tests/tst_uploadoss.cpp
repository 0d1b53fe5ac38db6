#include "servers/ossstandin.h"
#include "uploadtestsupport.h"

#include <QTemporaryDir>

using namespace UploadTestSupport;

// The Aliyun OSS upload through korvane run: signed PutObject, ".jpg" for every image, the
// first file alone first, the endpoint switch once per run, counting and the result step.
class UploadOssTest final : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void init();
    void upload_data();
    void upload();
    void missingSettings();

private:
    std::unique_ptr<OssStandIn> m_server;
    QTemporaryDir m_dir;
};

namespace {

const QString accessKey = QStringLiteral("LTAIossAccess0001");
const QString secretKey = QStringLiteral("oss-SECRET-value-abc123");
const QString domain = QStringLiteral("https://bucket.example.com");

} // namespace

void UploadOssTest::initTestCase()
{
    QVERIFY(m_dir.isValid());
    QVERIFY(!korvane().isEmpty());
}

void UploadOssTest::init()
{
    m_server = std::make_unique<OssStandIn>();
    QVERIFY(m_server->start());
    m_server->secretKeys.insert(accessKey, secretKey);
    m_server->buckets.insert(QStringLiteral("box"));
    setHosts({{QStringLiteral("ossEndpoint"), m_server->baseUrl()}});
}

void UploadOssTest::upload_data()
{
    QTest::addColumn<QStringList>("names");
    QTest::addColumn<QString>("secret");
    QTest::addColumn<int>("wrongEndpoint");    // PUTs answered with the wrong-endpoint error
    QTest::addColumn<QStringList>("failing");
    QTest::addColumn<QStringList>("keys");     // keys stored
    QTest::addColumn<int>("requests");
    QTest::addColumn<bool>("success");
    QTest::addColumn<int>("errorCode");

    QTest::newRow("PNG stored as jpg") << QStringList{"pic.PNG"} << secretKey << 0 << QStringList{} << QStringList{"pic.jpg"}
                                       << 1 << true << 0;
    QTest::newRow("other files keep their extension") << QStringList{"a.png", "notes.txt", "README"} << secretKey << 0
                                                      << QStringList{} << QStringList{"a.jpg", "notes.txt", "README"} << 3
                                                      << true << 0;
    QTest::newRow("endpoint switch") << QStringList{"a.png", "b.txt", "c.png"} << secretKey << 1 << QStringList{}
                                     << QStringList{"a.jpg", "b.txt", "c.jpg"} << 4 << true << 0;
    QTest::newRow("endpoint switch only once") << QStringList{"a.png"} << secretKey << 2 << QStringList{}
                                               << QStringList{} << 2 << false << 3013;
    QTest::newRow("three, one fails") << QStringList{"a.png", "b.txt", "c.png"} << secretKey << 0 << QStringList{"b.txt"}
                                      << QStringList{"a.jpg", "c.jpg"} << 3 << true << 3012;
    QTest::newRow("all fail") << QStringList{"a.png", "b.txt"} << secretKey << 0 << QStringList{"a.jpg", "b.txt"}
                              << QStringList{} << 2 << false << 3013;
    QTest::newRow("wrong secret key") << QStringList{"a.png", "b.txt"} << QStringLiteral("wrong-oss-secret-77") << 0
                                      << QStringList{} << QStringList{} << 2 << false << 3013;
}

void UploadOssTest::upload()
{
    QFETCH(QStringList, names);
    QFETCH(QString, secret);
    QFETCH(int, wrongEndpoint);
    QFETCH(QStringList, failing);
    QFETCH(QStringList, keys);
    QFETCH(int, requests);
    QFETCH(bool, success);
    QFETCH(int, errorCode);

    QTemporaryDir dir;
    QStringList files;
    QList<QByteArray> contents;
    for (int i = 0; i < names.size(); ++i) {
        contents << (names[i].endsWith(".png", Qt::CaseInsensitive) ? png(i) : QByteArray("plain ") + QByteArray::number(i));
        files << writeFile(QDir(dir.path()), names[i], contents.last());
    }
    m_server->failingKeys = QSet<QString>(failing.cbegin(), failing.cend());
    m_server->wrongEndpointAnswers = wrongEndpoint;
    const QString id = addAction(13, {"aliAccessKey=" + accessKey, "aliSecretKey=" + secret, "aliSpaceName=box",
                                      "aliDomain=" + domain, "suffixType=0"});
    QVERIFY(!id.isEmpty());

    const RunResult result = run(id, files);
    QVERIFY2(m_server->problems().isEmpty(), qPrintable(m_server->problems().join("; ")));
    QCOMPARE(m_server->requestCount(), requests);
    // The first file goes alone: nothing else is sent before its answer.
    QString firstKey = names.first().section('.', 0, -2);
    QVERIFY(m_server->requests().first().path.startsWith("/box/" + (firstKey.isEmpty() ? names.first() : firstKey)));
    QCOMPARE(result.json.value("success").toBool(), success);
    const QJsonValue error = result.json.value("error");
    QCOMPARE(error.isNull(), errorCode == 0);
    if (errorCode)
        QCOMPARE(error.toObject().value("code").toInt(), errorCode);

    QStringList stored = m_server->objects.keys();
    stored.sort();
    QStringList expected;
    for (const QString &key : keys)
        expected << "box/" + key;
    expected.sort();
    QCOMPARE(stored, expected);
    if (names == QStringList{"pic.PNG"}) {
        QCOMPARE(m_server->objects.value("box/pic.jpg"), contents.first());
        QVERIFY(contents.first().startsWith("\x89PNG"));
    }

    if (success) {
        QStringList lines = pasted(result).split('\n');
        QStringList urls;
        for (const QString &key : keys)
            urls << domain + '/' + key;
        std::sort(lines.begin(), lines.end());
        std::sort(urls.begin(), urls.end());
        QCOMPARE(lines, urls);
        QCOMPARE(result.json.value("notification").toObject().value("body").toString(), QString(pasted(result)).replace('\n', ' '));
    } else {
        QVERIFY(result.json.value("pasteboard").isNull());
    }
    QVERIFY(!result.output.contains(secret.toUtf8()));
}

void UploadOssTest::missingSettings()
{
    const QString id = addAction(13, {"aliSecretKey=" + secretKey, "aliSpaceName=box"});
    QVERIFY(!id.isEmpty());
    const RunResult result = run(id, {writeFile(QDir(m_dir.path()), "m.png", png(1))});
    QCOMPARE(result.json.value("success").toBool(), false);
    QCOMPARE(result.json.value("error").toObject().value("code").toInt(), 3010);
    QCOMPARE(m_server->requestCount(), 0);
}

QTEST_GUILESS_MAIN(UploadOssTest)
#include "tst_uploadoss.moc"
