#include "servers/cosstandin.h"
#include "support/uploadrun.h"

#include <QDate>
#include <QRegularExpression>

using namespace KorvaneTest;

// The Tencent COS upload through korvane run: bucket lookup, PUTs signed per object,
// object naming, counting and the result step.
class UploadCosTest final : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init();
    void upload_data();
    void upload();
    void missingSettings_data();
    void missingSettings();
    void bucketNotFound_data();
    void bucketNotFound();
    void randomNames();
    void fileLost_data();
    void fileLost();

private:
    QString addCos(int suffixType, const QString &bucket = QStringLiteral("photos"), const QString &secret = secretKey);

    static const QString secretKey;
    StoreFixture<CosStandIn> m_store;
};

const QString UploadCosTest::secretKey = QStringLiteral("cos-secret-KEY-9f8e");

namespace {

const QString secretId = QStringLiteral("AKIDcosSecretId4711");
const QString domain = QStringLiteral("https://cdn.example.com");
const QString bucketKey = QStringLiteral("photos-1250000000/");

QByteArray content(int i, const QString &name)
{
    return name.endsWith(".png") ? samplePng(i) : QByteArray("text ") + QByteArray::number(i);
}

} // namespace

void UploadCosTest::init()
{
    QVERIFY(m_store.start({QStringLiteral("cosService"), QStringLiteral("cosDomain")}));
    m_store.server->secretKeys.insert(secretId, secretKey);
    // A bucket whose name starts like the wanted one comes first: the lookup must not take it.
    m_store.server->buckets = {{QStringLiteral("photosarchive-1250000000"), QStringLiteral("ap-beijing")},
                               {QStringLiteral("photos-1250000000"), QStringLiteral("ap-shanghai")}};
}

QString UploadCosTest::addCos(int suffixType, const QString &bucket, const QString &secret)
{
    return addUploadAction(14, {"tencentAccessKey=" + secretId, "tencentSecretKey=" + secret, "tencentSpaceName=" + bucket, "tencentDomain=" + domain, QStringLiteral("suffixType=%1").arg(suffixType)});
}

void UploadCosTest::upload_data()
{
    QTest::addColumn<QStringList>("names");
    QTest::addColumn<int>("suffixType");
    QTest::addColumn<QStringList>("failing"); // keys the store refuses
    QTest::addColumn<QStringList>("keys"); // keys stored, in any order
    QTest::addColumn<bool>("success");
    QTest::addColumn<int>("errorCode"); // 0: no error

    const QString today = QDate::currentDate().toString(QStringLiteral("yyyyMMdd"));
    QTest::newRow("date prefix keeps inner dots") << QStringList{"photo.final.png"} << 1 << QStringList{}
                                                  << QStringList{today + "_photo.final.png"} << true << 0;
    QTest::newRow("no extension") << QStringList{"README"} << 0 << QStringList{} << QStringList{"README"} << true << 0;
    QTest::newRow("awkward name") << QStringList{QString::fromUtf8("my shot #1 100%+\xe5\x9b\xbe.png")} << 0 << QStringList{}
                                  << QStringList{QString::fromUtf8("my shot #1 100%+\xe5\x9b\xbe.png")} << true << 0;
    QTest::newRow("255-byte name") << QStringList{longName("png")} << 0 << QStringList{} << QStringList{longName("png")}
                                   << true << 0;
    QTest::newRow("three, one fails") << QStringList{"a.png", "b.txt", "c.png"} << 0 << QStringList{"b.txt"}
                                      << QStringList{"a.png", "c.png"} << true << 3022;
    QTest::newRow("all fail") << QStringList{"a.png", "b.txt"} << 0 << QStringList{"a.png", "b.txt"} << QStringList{}
                              << false << 3023;
}

void UploadCosTest::upload()
{
    QFETCH(QStringList, names);
    QFETCH(int, suffixType);
    QFETCH(QStringList, failing);
    QFETCH(QStringList, keys);
    QFETCH(bool, success);
    QFETCH(int, errorCode);

    const QStringList files = m_store.files(names, content);
    m_store.server->failingKeys = QSet<QString>(failing.cbegin(), failing.cend());
    const RunResult result = runUpload(addCos(suffixType), files);
    QStringList stored, links;
    for (const QString &key : keys) {
        stored << bucketKey + key;
        links << expectedUrl(domain, key);
    }
    checkRun(*m_store.server, result, files, success, errorCode, links, {secretKey});
    QCOMPARE(sorted(m_store.server->objects.keys()), sorted(stored));
    for (int i = 0; i < names.size(); ++i) {
        if (keys.contains(names[i]))
            QCOMPARE(m_store.server->objects.value(bucketKey + names[i]), content(i, names[i]));
    }
    if (!success)
        QCOMPARE(result.json.value("notification").toObject().value("body").toString(),
                 result.json.value("error").toObject().value("message").toString());
}

void UploadCosTest::missingSettings_data()
{
    QTest::addColumn<QStringList>("assignments");
    QTest::newRow("no secret key") << QStringList{"tencentAccessKey=" + secretId, "tencentSpaceName=photos"};
    QTest::newRow("no secret id") << QStringList{"tencentSecretKey=x", "tencentSpaceName=photos"};
    QTest::newRow("no bucket") << QStringList{"tencentAccessKey=" + secretId, "tencentSecretKey=x"};
}

void UploadCosTest::missingSettings()
{
    QFETCH(QStringList, assignments);
    const RunResult result = runUpload(addUploadAction(14, assignments), {m_store.file("m.png", samplePng(1))});
    checkRun(*m_store.server, result, {}, false, 3020, {}, {}, 0);
    QCOMPARE(m_store.server->requestCount(), 0);
}

void UploadCosTest::bucketNotFound_data()
{
    QTest::addColumn<QString>("bucket");
    QTest::addColumn<QString>("secret");
    QTest::addColumn<bool>("reachable");
    QTest::addColumn<int>("code");
    QTest::addColumn<QString>("body");
    QTest::newRow("unknown bucket") << "videos" << secretKey << true << 3021 << "videos";
    // A wrong secret key fails the lookup the same way, and the key stays out of the output.
    QTest::newRow("wrong secret key") << "photos"
                                      << "wrong-secret-0000" << true << 3021 << "photos";
    QTest::newRow("store unreachable") << "photos" << secretKey << false << 3023 << "Cannot connect";
}

void UploadCosTest::bucketNotFound()
{
    QFETCH(QString, bucket);
    QFETCH(QString, secret);
    QFETCH(bool, reachable);
    QFETCH(int, code);
    QFETCH(QString, body);
    if (!reachable)
        setHosts({{QStringLiteral("cosService"), QStringLiteral("http://127.0.0.1:1")}});
    const RunResult result = runUpload(addCos(0, bucket, secret), {m_store.file("v.png", samplePng(2))});
    checkRun(*m_store.server, result, {}, false, code, {}, {secret}, 0);
    const QString shown = result.json.value("notification").toObject().value("body").toString();
    QVERIFY2(shown.contains(body) && (reachable || !shown.contains("not found")), qPrintable(shown));
    QCOMPARE(m_store.server->objects.size(), 0);
}

void UploadCosTest::randomNames()
{
    const RunResult result = runUpload(addCos(2), {m_store.file("r.png", samplePng(4)), m_store.file("r2.txt", "x")});
    QVERIFY(result.json.value("success").toBool());
    const QStringList stored = m_store.server->objects.keys();
    QCOMPARE(stored.size(), 2);
    static const QRegularExpression pattern(QStringLiteral("^photos-1250000000/[0-9a-z]{5}\\.(png|txt)$"));
    for (const QString &key : stored)
        QVERIFY2(pattern.match(key).hasMatch(), qPrintable(key));
    QCOMPARE(pasted(result).split('\n').size(), 2);
}

void UploadCosTest::fileLost_data()
{
    QTest::addColumn<QStringList>("deleted"); // while the bucket is looked up
    QTest::addColumn<QStringList>("unreadable");
    QTest::newRow("deleted") << QStringList{"b.txt"} << QStringList{};
    QTest::newRow("unreadable") << QStringList{} << QStringList{"a.png"};
    QTest::newRow("one deleted, one unreadable") << QStringList{"c.png"} << QStringList{"b.txt"};
}

// Files that go away or become unreadable after the run has started are counted as failed;
// the others are stored, and the result step reports them once.
void UploadCosTest::fileLost()
{
    QFETCH(QStringList, deleted);
    QFETCH(QStringList, unreadable);

    const QStringList names{"a.png", "b.txt", "c.png"};
    const QStringList files = m_store.files(names, content);
    const QDir dir(m_store.dir->path());
    connect(m_store.server.get(), &StandInServer::requestReceived, this, [&] {
        for (const QString &name : std::as_const(deleted))
            QFile::remove(dir.filePath(name));
        for (const QString &name : std::as_const(unreadable))
            QFile::setPermissions(dir.filePath(name), QFileDevice::Permissions());
    });
    const QString id = addCos(0);
    QVERIFY(!id.isEmpty());
    QFile::remove(historyFile());
    const qint64 size = batchSize(files);

    const RunResult result = runUpload(id, files);
    QStringList links;
    for (const QString &name : names) {
        if (!deleted.contains(name) && !unreadable.contains(name))
            links << domain + '/' + name;
    }
    checkRun(*m_store.server, result, files, true, 3022, links, {secretKey}, size);
    QCOMPARE(m_store.server->requestCount(), int(1 + links.size()));
    QCOMPARE(m_store.server->objects.size(), links.size());
    QCOMPARE(KorvaneTest::history().size(), links.size());
    for (const QString &name : std::as_const(unreadable))
        QFile::setPermissions(dir.filePath(name), QFileDevice::ReadOwner | QFileDevice::WriteOwner);
}

QTEST_GUILESS_MAIN(UploadCosTest)
#include "tst_uploadcos.moc"
