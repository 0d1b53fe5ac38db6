#include "servers/ossstandin.h"
#include "support/uploadrun.h"

using namespace KorvaneTest;

// The Aliyun OSS upload through korvane run: signed PutObject, ".jpg" for every image, the
// first file alone first, the endpoint switch once per run, counting and the result step.
class UploadOssTest final : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init();
    void upload_data();
    void upload();
    void fileLost_data();
    void fileLost();
    void missingSettings();

private:
    QString addOss(const QString &secret) const;

    StoreFixture<OssStandIn> m_store;
};

namespace {

const QString accessKey = QStringLiteral("LTAIossAccess0001");
const QString secretKey = QStringLiteral("oss-SECRET-value-abc123");
const QString domain = QStringLiteral("https://bucket.example.com");

QByteArray content(int i, const QString &name)
{
    return name.endsWith(".png", Qt::CaseInsensitive) ? samplePng(i) : QByteArray("plain ") + QByteArray::number(i);
}

} // namespace

void UploadOssTest::init()
{
    QVERIFY(m_store.start({QStringLiteral("ossEndpoint")}));
    m_store.server->secretKeys.insert(accessKey, secretKey);
    m_store.server->buckets.insert(QStringLiteral("box"));
}

QString UploadOssTest::addOss(const QString &secret) const
{
    return addUploadAction(13, {"aliAccessKey=" + accessKey, "aliSecretKey=" + secret, "aliSpaceName=box", "aliDomain=" + domain, "suffixType=0"});
}

void UploadOssTest::upload_data()
{
    QTest::addColumn<QStringList>("names");
    QTest::addColumn<QString>("secret");
    QTest::addColumn<int>("wrongEndpoint"); // PUTs answered with the wrong-endpoint error
    QTest::addColumn<QStringList>("failing");
    QTest::addColumn<QStringList>("keys"); // keys stored
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

    OssStandIn &server = *m_store.server;
    const QStringList files = m_store.files(names, content);
    server.failingKeys = QSet<QString>(failing.cbegin(), failing.cend());
    server.wrongEndpointAnswers = wrongEndpoint;
    const QString id = addOss(secret);
    QVERIFY(!id.isEmpty());

    // Files put again through another endpoint do not send the batch backwards.
    const RunResult result = runUpload(id, files);
    QStringList stored, links;
    for (const QString &key : keys) {
        stored << "box/" + key;
        links << expectedUrl(domain, key);
    }
    checkRun(server, result, files, success, errorCode, links, {secret});
    QCOMPARE(server.requestCount(), requests);
    // The first file goes alone: nothing else is sent before its answer.
    const QString firstKey = names.first().section('.', 0, -2);
    QVERIFY(server.requests().first().path.startsWith("/box/" + (firstKey.isEmpty() ? names.first() : firstKey)));
    QCOMPARE(sorted(server.objects.keys()), sorted(stored));
    if (names == QStringList{"pic.PNG"})
        QCOMPARE(server.objects.value("box/pic.jpg"), samplePng(0));
}

void UploadOssTest::fileLost_data()
{
    QTest::addColumn<QStringList>("deleted"); // while the first file is sent alone
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

    const QStringList names{"a.png", "b.txt", "c.png", "d.txt"};
    const QStringList files = m_store.files(names, content);
    const QDir dir(m_store.dir->path());
    connect(m_store.server.get(), &StandInServer::requestReceived, this, [&] {
        for (const QString &name : std::as_const(deleted))
            QFile::remove(dir.filePath(name));
        for (const QString &name : std::as_const(unreadable))
            QFile::setPermissions(dir.filePath(name), QFileDevice::Permissions());
    });
    const QString id = addOss(secretKey);
    QVERIFY(!id.isEmpty());
    QFile::remove(historyFile());
    const qint64 size = batchSize(files);

    const RunResult result = runUpload(id, files);
    QStringList links;
    for (const QString &name : names) {
        if (!deleted.contains(name) && !unreadable.contains(name))
            links << domain + '/' + name.section('.', 0, 0) + (name.endsWith(".png") ? ".jpg" : ".txt");
    }
    checkRun(*m_store.server, result, files, true, 3012, links, {secretKey}, size);
    QCOMPARE(m_store.server->requestCount(), int(links.size()));
    QCOMPARE(m_store.server->objects.size(), links.size());
    // One result step: the stored links are kept once.
    QCOMPARE(KorvaneTest::history().size(), links.size());
}

void UploadOssTest::missingSettings()
{
    const QString id = addUploadAction(13, {"aliSecretKey=" + secretKey, "aliSpaceName=box"});
    QVERIFY(!id.isEmpty());
    const RunResult result = runUpload(id, {m_store.file("m.png", samplePng(1))});
    QCOMPARE(result.json.value("success").toBool(), false);
    QCOMPARE(result.json.value("error").toObject().value("code").toInt(), 3010);
    QCOMPARE(m_store.server->requestCount(), 0);
}

QTEST_GUILESS_MAIN(UploadOssTest)
#include "tst_uploadoss.moc"
