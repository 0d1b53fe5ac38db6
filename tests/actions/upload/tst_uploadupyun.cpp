#include "servers/upyunstandin.h"
#include "support/uploadrun.h"

#include <sys/stat.h>
#include <unistd.h>

using namespace KorvaneTest;

// The UpYun upload through korvane run: the form uploader's policy, signature and body, the
// links from the store's answers, counting and the result step.
class UploadUpYunTest final : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init();
    void upload_data();
    void upload();
    void missingSettings();
    void refusedFiles_data();
    void refusedFiles();
    void manyFilesFewDescriptors();

private:
    StoreFixture<UpYunStandIn> m_store;
};

namespace {

const QString password = QStringLiteral("upyun-operator-PASSWORD-55");
const QString domain = QStringLiteral("https://img.example.net");
const QStringList settings{"admin=ops", "secretCode=" + password, "bucketName=pics", "upDomain=" + domain};

} // namespace

void UploadUpYunTest::init()
{
    QVERIFY(m_store.start({QStringLiteral("upyun")}));
    m_store.server->passwords.insert(QStringLiteral("ops"), password);
    m_store.server->buckets.insert(QStringLiteral("pics"));
}

void UploadUpYunTest::upload_data()
{
    QTest::addColumn<QStringList>("names");
    QTest::addColumn<QString>("secret");
    QTest::addColumn<QStringList>("failing"); // save keys the store refuses
    QTest::addColumn<QStringList>("keys"); // save keys stored
    QTest::addColumn<bool>("success");
    QTest::addColumn<int>("errorCode");

    QTest::newRow("empty file") << QStringList{"empty.txt"} << password << QStringList{} << QStringList{"/empty.txt"}
                                << true << 0;
    QTest::newRow("awkward name") << QStringList{QString::fromUtf8("shot #2 50%+\xe7\x85\xa7.png")} << password
                                  << QStringList{} << QStringList{QString::fromUtf8("/shot #2 50%+\xe7\x85\xa7.png")} << true << 0;
    QTest::newRow("255-byte name") << QStringList{longName("png")} << password << QStringList{}
                                   << QStringList{"/" + longName("png")} << true << 0;
    QTest::newRow("three, one fails") << QStringList{"a.png", "b.txt", "c.png"} << password << QStringList{"/b.txt"}
                                      << QStringList{"/a.png", "/c.png"} << true << 3032;
    QTest::newRow("all fail") << QStringList{"a.png", "b.txt"} << password << QStringList{"/a.png", "/b.txt"}
                              << QStringList{} << false << 3023;
    QTest::newRow("wrong password") << QStringList{"a.png"} << QStringLiteral("not-the-password-1") << QStringList{}
                                    << QStringList{} << false << 3023;
}

void UploadUpYunTest::upload()
{
    QFETCH(QStringList, names);
    QFETCH(QString, secret);
    QFETCH(QStringList, failing);
    QFETCH(QStringList, keys);
    QFETCH(bool, success);
    QFETCH(int, errorCode);

    UpYunStandIn &server = *m_store.server;
    const auto content = [](int i, const QString &name) {
        return name.endsWith(".png") ? samplePng(i) : name.startsWith("empty") ? QByteArray()
                                                                               : QByteArray("text\r\n--") + QByteArray::number(i);
    };
    const QStringList files = m_store.files(names, content);
    server.failingKeys = QSet<QString>(failing.cbegin(), failing.cend());
    const QString id = addUploadAction(15, {"admin=ops", "secretCode=" + secret, "bucketName=pics", "upDomain=" + domain});
    QVERIFY(!id.isEmpty());

    const RunResult result = runUpload(id, files);
    QStringList stored, links;
    for (const QString &key : keys) {
        stored << "pics" + key;
        links << expectedUrl(domain, key.mid(1));
    }
    checkRun(server, result, files, success, errorCode, links, {secret});
    QCOMPARE(server.requestCount(), int(names.size()));
    QCOMPARE(sorted(server.objects.keys()), sorted(stored));
    if (names.size() == 1 && success)
        QCOMPARE(server.objects.value(stored.first()), content(0, names.first()));
}

void UploadUpYunTest::missingSettings()
{
    const QString id = addUploadAction(15, {"admin=ops", "bucketName=pics"});
    QVERIFY(!id.isEmpty());
    const RunResult result = runUpload(id, {m_store.file("m.png", samplePng(1))});
    QCOMPARE(result.json.value("success").toBool(), false);
    QCOMPARE(result.json.value("error").toObject().value("code").toInt(), 3030);
    QCOMPARE(m_store.server->requestCount(), 0);
}

// A file that cannot be read as it is named refuses the upload before any file is opened: a
// FIFO would block it, /dev/zero would send nothing, and "a\xff.png" would turn into its
// look-alike "a\uFFFD.png" beside it. Nothing reaches the store; the error names the file.
void UploadUpYunTest::refusedFiles_data()
{
    QTest::addColumn<QByteArray>("name");
    QTest::addColumn<QString>("shown");
    QTest::addColumn<int>("code");
    QTest::newRow("FIFO") << QByteArray("pipe.png") << "pipe.png" << 8004;
    QTest::newRow("/dev/zero") << QByteArray("zero.bin") << "zero.bin" << 8004;
    QTest::newRow("name not UTF-8") << QByteArray("a\xff.png") << "a\\xFF.png" << 8005;
}

void UploadUpYunTest::refusedFiles()
{
    QFETCH(QByteArray, name);
    QFETCH(QString, shown);
    const QDir dir(m_store.dir->path());
    const QByteArray path = QFile::encodeName(dir.path()) + '/' + name;
    m_store.file(QString::fromUtf8(name), samplePng(1));
    if (name != "a\xff.png")
        QVERIFY(QFile::remove(QFile::decodeName(path)));
    QVERIFY(name == "pipe.png" ? ::mkfifo(path.constData(), 0600) == 0
                               : ::symlink(name == "zero.bin" ? "/dev/zero" : "good.png", path.constData()) == 0);
    const RunResult result = runUpload(addUploadAction(15, settings), {m_store.file("good.png", samplePng(2))}, {}, path);
    QCOMPARE(result.exitCode, 1);
    const QJsonObject error = result.json.value("error").toObject();
    QTEST(error.value("code").toInt(), "code");
    QVERIFY2(error.value("message").toString().contains(dir.path() + '/' + shown), qPrintable(error.value("message").toString()));
    QCOMPARE(m_store.server->requestCount(), 0);
}

// 1,500 files under a limit of 1,024 descriptors: the uploads run a few at a time, each file
// opened when its turn comes, and every file arrives.
void UploadUpYunTest::manyFilesFewDescriptors()
{
    QStringList files;
    for (int i = 0; i < 1500; ++i)
        files << m_store.file(QStringLiteral("f%1.txt").arg(i), QByteArray::number(i));
    const RunResult result = runUpload(addUploadAction(15, settings), files, {QStringLiteral("prlimit"), QStringLiteral("--nofile=1024")});
    QCOMPARE(result.exitCode, 0);
    QVERIFY2(result.json.value("error").isNull(), result.output.right(500).constData());
    QCOMPARE(m_store.server->objects.size(), 1500);
}

QTEST_GUILESS_MAIN(UploadUpYunTest)
#include "tst_uploadupyun.moc"
