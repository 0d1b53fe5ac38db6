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
    void fileLost_data();
    void fileLost();
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
    // Images go first, as the drop lists them.
    QTest::newRow("names with signs") << QStringList{QString::fromUtf8("\xe5\x9b\xbe \xe7\x89\x87.PNG"), "say \"hi\" #1 50%+.txt"}
                                      << secretKey << 0 << QStringList{}
                                      << QStringList{"say \"hi\" #1 50%+.txt", QString::fromUtf8("\xe5\x9b\xbe \xe7\x89\x87.jpg")}
                                      << 2 << true << 0;
    QTest::newRow("255-byte name") << QStringList{longName("txt")} << secretKey << 0 << QStringList{}
                                   << QStringList{longName("txt")} << 1 << true << 0;
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
            urls << expectedUrl(domain, key);
        std::sort(lines.begin(), lines.end());
        std::sort(urls.begin(), urls.end());
        QCOMPARE(lines, urls);
        QCOMPARE(result.json.value("notification").toObject().value("body").toString(), QString(pasted(result)).replace('\n', ' '));
    } else {
        QVERIFY(result.json.value("pasteboard").isNull());
    }
    QVERIFY(!result.output.contains(secret.toUtf8()));
    // Files put again through another endpoint do not send the batch backwards.
    const QString progress = progressProblem(result, batchSize(files));
    QVERIFY2(progress.isEmpty(), qPrintable(progress));
}

void UploadOssTest::fileLost_data()
{
    QTest::addColumn<QStringList>("deleted");     // while the first file is sent alone
    QTest::addColumn<QStringList>("unreadable");
    QTest::newRow("deleted") << QStringList{"b.txt"} << QStringList{};
    QTest::newRow("unreadable") << QStringList{} << QStringList{"c.png"};
    QTest::newRow("one deleted, one unreadable") << QStringList{"d.txt"} << QStringList{"b.txt"};
}

// Files that go away or become unreadable while the batch runs are counted as failed; the
// others are stored, and the result step reports them once.
void UploadOssTest::fileLost()
{
    QFETCH(QStringList, deleted);
    QFETCH(QStringList, unreadable);

    QTemporaryDir dir;
    const QStringList names{"a.png", "b.txt", "c.png", "d.txt"};
    QStringList files;
    for (int i = 0; i < names.size(); ++i)
        files << writeFile(QDir(dir.path()), names[i], names[i].endsWith(".png") ? png(i) : QByteArray("text ") + QByteArray::number(i));
    connect(m_server.get(), &StandInServer::requestReceived, this, [&] {
        for (const QString &name : std::as_const(deleted))
            QFile::remove(dir.filePath(name));
        for (const QString &name : std::as_const(unreadable))
            QFile::setPermissions(dir.filePath(name), QFileDevice::Permissions());
    });
    const QString id = addAction(13, {"aliAccessKey=" + accessKey, "aliSecretKey=" + secretKey, "aliSpaceName=box",
                                      "aliDomain=" + domain, "suffixType=0"});
    QVERIFY(!id.isEmpty());
    QFile::remove(historyFile());
    const qint64 size = batchSize(files);

    const RunResult result = run(id, files);
    QVERIFY2(m_server->problems().isEmpty(), qPrintable(m_server->problems().join("; ")));
    const qsizetype lost = deleted.size() + unreadable.size();
    QCOMPARE(m_server->requestCount(), int(names.size() - lost));
    QCOMPARE(result.json.value("success").toBool(), true);
    QCOMPARE(result.json.value("error").toObject().value("code").toInt(), 3012);
    QVERIFY(result.json.value("error").toObject().value("message").toString().contains(QString::number(lost)));
    QStringList expected;
    for (const QString &name : names) {
        if (!deleted.contains(name) && !unreadable.contains(name))
            expected << domain + '/' + name.section('.', 0, 0) + (name.endsWith(".png") ? ".jpg" : ".txt");
    }
    QStringList lines = pasted(result).split('\n');
    std::sort(lines.begin(), lines.end());
    QCOMPARE(lines, expected);
    QCOMPARE(m_server->objects.size(), expected.size());
    // One result step: the stored links are kept once.
    QCOMPARE(UploadTestSupport::history().size(), expected.size());
    const QString progress = progressProblem(result, size);
    QVERIFY2(progress.isEmpty(), qPrintable(progress));
    for (const QString &name : std::as_const(unreadable))
        QFile::setPermissions(dir.filePath(name), QFileDevice::ReadOwner | QFileDevice::WriteOwner);
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
