#include "servers/cosstandin.h"
#include "uploadtestsupport.h"

#include <QDate>
#include <QJsonArray>
#include <QRegularExpression>
#include <QTemporaryDir>

using namespace UploadTestSupport;

// The Tencent COS upload through korvane run: bucket lookup, PUTs signed per object,
// object naming, counting and the result step.
class UploadCosTest final : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
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
    QString addCos(int suffixType, const QString &bucket = QStringLiteral("photos"),
                   const QString &secretKey = QStringLiteral("cos-secret-KEY-9f8e"));

    std::unique_ptr<CosStandIn> m_server;
    QTemporaryDir m_dir;
};

namespace {

const QString secretId = QStringLiteral("AKIDcosSecretId4711");
const QString domain = QStringLiteral("https://cdn.example.com");

} // namespace

void UploadCosTest::initTestCase()
{
    QVERIFY(m_dir.isValid());
    QVERIFY(!korvane().isEmpty());
}

void UploadCosTest::init()
{
    m_server = std::make_unique<CosStandIn>();
    QVERIFY(m_server->start());
    m_server->secretKeys.insert(secretId, QStringLiteral("cos-secret-KEY-9f8e"));
    // A bucket whose name starts like the wanted one comes first: the lookup must not take it.
    m_server->buckets = {{QStringLiteral("photosarchive-1250000000"), QStringLiteral("ap-beijing")},
                         {QStringLiteral("photos-1250000000"), QStringLiteral("ap-shanghai")}};
    setHosts({{QStringLiteral("cosService"), m_server->baseUrl()}, {QStringLiteral("cosDomain"), m_server->baseUrl()}});
}

QString UploadCosTest::addCos(int suffixType, const QString &bucket, const QString &secretKey)
{
    return addAction(14, {QStringLiteral("tencentAccessKey=") + secretId, QStringLiteral("tencentSecretKey=") + secretKey,
                          QStringLiteral("tencentSpaceName=") + bucket, QStringLiteral("tencentDomain=") + domain,
                          QStringLiteral("suffixType=%1").arg(suffixType)});
}

void UploadCosTest::upload_data()
{
    QTest::addColumn<QStringList>("names");
    QTest::addColumn<int>("suffixType");
    QTest::addColumn<QStringList>("failing");   // keys the store refuses
    QTest::addColumn<QStringList>("keys");      // keys stored, in any order
    QTest::addColumn<bool>("success");
    QTest::addColumn<int>("errorCode");         // 0: no error

    const QString today = QDate::currentDate().toString(QStringLiteral("yyyyMMdd"));
    QTest::newRow("one image") << QStringList{"a.png"} << 0 << QStringList{} << QStringList{"a.png"} << true << 0;
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

    QTemporaryDir dir;
    QStringList files;
    QHash<QString, QByteArray> contents;
    for (int i = 0; i < names.size(); ++i) {
        const QByteArray bytes = names[i].endsWith(".png") ? png(i) : QByteArray("text ") + QByteArray::number(i);
        files << writeFile(QDir(dir.path()), names[i], bytes);
        contents.insert(names[i], bytes);
    }
    m_server->failingKeys = QSet<QString>(failing.cbegin(), failing.cend());
    const QString id = addCos(suffixType);
    QVERIFY(!id.isEmpty());

    const RunResult result = run(id, files);
    QVERIFY2(m_server->problems().isEmpty(), qPrintable(m_server->problems().join("; ")));
    QCOMPARE(result.json.value("success").toBool(), success);
    QCOMPARE(result.exitCode, success ? 0 : 1);
    const QJsonValue error = result.json.value("error");
    QCOMPARE(error.isNull(), errorCode == 0);
    if (errorCode) {
        QCOMPARE(error.toObject().value("code").toInt(), errorCode);
        QCOMPARE(error.toObject().value("domain").toString(), QString("com.tarnwel.korvane.ErrorDomain"));
        if (success)
            QVERIFY2(error.toObject().value("message").toString().contains(QString::number(failing.size())),
                     qPrintable(error.toObject().value("message").toString()));
    }

    QStringList stored = m_server->objects.keys();
    stored.sort();
    QStringList expected;
    for (const QString &key : keys)
        expected << "photos-1250000000/" + key;
    expected.sort();
    QCOMPARE(stored, expected);
    for (int i = 0; i < names.size(); ++i) {
        if (keys.contains(names[i]))
            QCOMPARE(m_server->objects.value("photos-1250000000/" + names[i]), contents.value(names[i]));
    }

    if (!success) {
        QVERIFY(result.json.value("pasteboard").isNull());
        QCOMPARE(result.json.value("notification").toObject().value("body").toString(),
                 error.toObject().value("message").toString());
    } else {
        QStringList lines = pasted(result).split('\n');
        QCOMPARE(lines.size(), keys.size());
        QStringList urls;
        for (const QString &key : keys)
            urls << domain + '/' + QString::fromLatin1(QUrl::toPercentEncoding(key, "!$&'()*+,;=:@/?"));
        std::sort(lines.begin(), lines.end());
        std::sort(urls.begin(), urls.end());
        QCOMPARE(lines, urls);
        QCOMPARE(result.json.value("notification").toObject().value("body").toString(), QString(pasted(result)).replace('\n', ' '));
    }
    QVERIFY(!result.output.contains("cos-secret-KEY-9f8e"));
    const QString progress = progressProblem(result, batchSize(files));
    QVERIFY2(progress.isEmpty(), qPrintable(progress));
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
    const QString id = addAction(14, assignments);
    QVERIFY(!id.isEmpty());
    const RunResult result = run(id, {writeFile(QDir(m_dir.path()), "m.png", png(1))});
    QCOMPARE(result.json.value("success").toBool(), false);
    QCOMPARE(result.json.value("error").toObject().value("code").toInt(), 3020);
    QCOMPARE(m_server->requestCount(), 0);
    QVERIFY(result.json.value("pasteboard").isNull());
}

void UploadCosTest::bucketNotFound_data()
{
    QTest::addColumn<QString>("bucket");
    QTest::addColumn<QString>("secretKey");
    QTest::addColumn<bool>("reachable");
    QTest::addColumn<int>("code");
    QTest::addColumn<QString>("body");
    QTest::newRow("unknown bucket") << "videos" << "cos-secret-KEY-9f8e" << true << 3021 << "videos";
    // A wrong secret key fails the lookup the same way, and the key stays out of the output.
    QTest::newRow("wrong secret key") << "photos" << "wrong-secret-0000" << true << 3021 << "photos";
    QTest::newRow("store unreachable") << "photos" << "cos-secret-KEY-9f8e" << false << 3023 << "Cannot connect";
}

void UploadCosTest::bucketNotFound()
{
    QFETCH(QString, bucket);
    QFETCH(QString, secretKey);
    QFETCH(bool, reachable);
    QFETCH(int, code);
    QFETCH(QString, body);
    if (!reachable)
        setHosts({{QStringLiteral("cosService"), QStringLiteral("http://127.0.0.1:1")}});
    const RunResult result = run(addCos(0, bucket, secretKey), {writeFile(QDir(m_dir.path()), "v.png", png(2))});
    QCOMPARE(result.json.value("success").toBool(), false);
    QCOMPARE(result.json.value("error").toObject().value("code").toInt(), code);
    const QString shown = result.json.value("notification").toObject().value("body").toString();
    QVERIFY2(shown.contains(body) && (reachable || !shown.contains("not found")), qPrintable(shown));
    QVERIFY(!result.output.contains(secretKey.toUtf8()));
    QCOMPARE(m_server->objects.size(), 0);
}

void UploadCosTest::randomNames()
{
    const QString id = addCos(2);
    const RunResult result = run(id, {writeFile(QDir(m_dir.path()), "r.png", png(4)),
                                      writeFile(QDir(m_dir.path()), "r2.txt", "x")});
    QVERIFY(result.json.value("success").toBool());
    const QStringList stored = m_server->objects.keys();
    QCOMPARE(stored.size(), 2);
    static const QRegularExpression pattern(QStringLiteral("^photos-1250000000/[0-9a-z]{5}\\.(png|txt)$"));
    for (const QString &key : stored)
        QVERIFY2(pattern.match(key).hasMatch(), qPrintable(key));
    QCOMPARE(pasted(result).split('\n').size(), 2);
}

void UploadCosTest::fileLost_data()
{
    QTest::addColumn<QStringList>("deleted");     // while the bucket is looked up
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

    QTemporaryDir dir;
    const QStringList names{"a.png", "b.txt", "c.png"};
    QStringList files;
    for (int i = 0; i < names.size(); ++i)
        files << writeFile(QDir(dir.path()), names[i], names[i].endsWith(".png") ? png(i) : QByteArray("text"));
    connect(m_server.get(), &StandInServer::requestReceived, this, [&] {
        for (const QString &name : std::as_const(deleted))
            QFile::remove(dir.filePath(name));
        for (const QString &name : std::as_const(unreadable))
            QFile::setPermissions(dir.filePath(name), QFileDevice::Permissions());
    });
    const QString id = addCos(0);
    QVERIFY(!id.isEmpty());
    QFile::remove(historyFile());
    const qint64 size = batchSize(files);

    const RunResult result = run(id, files);
    QVERIFY2(m_server->problems().isEmpty(), qPrintable(m_server->problems().join("; ")));
    const qsizetype lost = deleted.size() + unreadable.size();
    QCOMPARE(m_server->requestCount(), int(1 + names.size() - lost));
    QVERIFY(result.json.value("success").toBool());
    QCOMPARE(result.json.value("error").toObject().value("code").toInt(), 3022);
    QVERIFY(result.json.value("error").toObject().value("message").toString().contains(QString::number(lost)));
    QStringList expected;
    for (const QString &name : names) {
        if (!deleted.contains(name) && !unreadable.contains(name))
            expected << domain + '/' + name;
    }
    QStringList lines = pasted(result).split('\n');
    std::sort(lines.begin(), lines.end());
    QCOMPARE(lines, expected);
    QCOMPARE(m_server->objects.size(), expected.size());
    QCOMPARE(UploadTestSupport::history().size(), expected.size());
    const QString progress = progressProblem(result, size);
    QVERIFY2(progress.isEmpty(), qPrintable(progress));
    for (const QString &name : std::as_const(unreadable))
        QFile::setPermissions(dir.filePath(name), QFileDevice::ReadOwner | QFileDevice::WriteOwner);
}

QTEST_GUILESS_MAIN(UploadCosTest)
#include "tst_uploadcos.moc"
