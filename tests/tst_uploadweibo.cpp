#include "servers/weibostandin.h"
#include "uploadtestsupport.h"

#include <QTemporaryDir>

using namespace UploadTestSupport;

// The Weibo image bed through korvane run: the login, the Base64 upload of every image,
// counting and the result step.
class UploadWeiboTest final : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void init();
    void upload_data();
    void upload();
    void imageData();

private:
    std::unique_ptr<WeiboStandIn> m_server;
    QTemporaryDir m_dir;
};

namespace {

const QString account = QStringLiteral("someone@example.com");
const QString password = QStringLiteral("weibo-pass word&9");

} // namespace

void UploadWeiboTest::initTestCase()
{
    QVERIFY(m_dir.isValid());
    QVERIFY(!korvane().isEmpty());
}

void UploadWeiboTest::init()
{
    m_server = std::make_unique<WeiboStandIn>();
    QVERIFY(m_server->start());
    m_server->accounts.insert(account, password);
    setHosts({{QStringLiteral("sinaLogin"), m_server->baseUrl()},
              {QStringLiteral("weiboUpload"), m_server->baseUrl()},
              {QStringLiteral("weiboHome"), m_server->baseUrl()},
              {QStringLiteral("weiboImage"), QStringLiteral("http://img.example")}});
    // Each test's stand-in hands out its own sessions: forget the last one's.
    QSettings settings(QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) + "/korvane/korvane.conf",
                       QSettings::IniFormat);
    settings.remove(QStringLiteral("weiboCookie"));
    settings.remove(QStringLiteral("weiboCookieExpire"));
    settings.sync();
}

void UploadWeiboTest::upload_data()
{
    QTest::addColumn<QStringList>("names");       // ".bad.png": not an image inside
    QTest::addColumn<QString>("secret");
    QTest::addColumn<int>("uploads");            // images the store took
    QTest::addColumn<bool>("success");
    QTest::addColumn<int>("errorCode");

    QTest::newRow("one image") << QStringList{"a.png"} << password << 1 << true << 0;
    QTest::newRow("three, one fails") << QStringList{"a.png", "b.bad.png", "c.png"} << password << 2 << true << 2002;
    QTest::newRow("all fail") << QStringList{"a.bad.png", "b.bad.png"} << password << 0 << false << 2003;
    QTest::newRow("wrong password") << QStringList{"a.png"} << QStringLiteral("not-my-password-3") << 0 << false << 2001;
    QTest::newRow("no password") << QStringList{"a.png"} << QString() << 0 << false << 2000;
}

void UploadWeiboTest::upload()
{
    QFETCH(QStringList, names);
    QFETCH(QString, secret);
    QFETCH(int, uploads);
    QFETCH(bool, success);
    QFETCH(int, errorCode);

    QTemporaryDir dir;
    QStringList files;
    for (int i = 0; i < names.size(); ++i)
        files << writeFile(QDir(dir.path()), names[i], names[i].contains(".bad") ? QByteArray("no picture") : png(i));
    QStringList assignments{"weiboAccount=" + account};
    if (!secret.isEmpty())
        assignments << "weiboPassWord=" + secret;
    const QString id = addAction(5, assignments);
    QVERIFY(!id.isEmpty());

    const RunResult result = run(id, files);
    QVERIFY2(m_server->problems().isEmpty(), qPrintable(m_server->problems().join("; ")));
    QCOMPARE(m_server->uploads, uploads);
    QCOMPARE(result.json.value("success").toBool(), success);
    const QJsonValue error = result.json.value("error");
    QCOMPARE(error.isNull(), errorCode == 0);
    if (errorCode)
        QCOMPARE(error.toObject().value("code").toInt(), errorCode);
    if (errorCode == 2001 || errorCode == 2000) {
        // Neither a failed login nor missing settings upload anything.
        int uploadRequests = 0;
        for (const StandInRequest &request : m_server->requests())
            uploadRequests += request.path.contains("pic_upload") ? 1 : 0;
        QCOMPARE(uploadRequests, 0);
    }
    if (success) {
        const QStringList lines = pasted(result).split('\n');
        QCOMPARE(lines.size(), uploads);
        for (const QString &line : lines)
            QVERIFY2(line.startsWith("http://img.example/") && line.contains(m_server->pid), qPrintable(line));
        QCOMPARE(result.json.value("notification").toObject().value("body").toString(), QString(pasted(result)).replace('\n', ' '));
    } else {
        QVERIFY(result.json.value("pasteboard").isNull());
    }
    if (!secret.isEmpty())
        QVERIFY(!result.output.contains(secret.toUtf8()));
    // Login failures and missing settings end before any upload starts.
    if (errorCode != 2001 && errorCode != 2000) {
        const QString progress = progressProblem(result, batchSize(files));
        QVERIFY2(progress.isEmpty(), qPrintable(progress));
    } else {
        QVERIFY(progressReports(result).isEmpty());
    }
}

// Dropped image data rather than files: the one image goes up as it was dropped, and its
// link is kept in the history without a file name.
void UploadWeiboTest::imageData()
{
    const QByteArray image = png(7);
    const QString file = writeFile(QDir(m_dir.path()), "dropped.png", image);
    const QString id = addAction(5, {"weiboAccount=" + account, "weiboPassWord=" + password});
    QVERIFY(!id.isEmpty());
    QFile::remove(historyFile());

    const RunResult result = run(id, {"--image", file});
    QVERIFY2(m_server->problems().isEmpty(), qPrintable(m_server->problems().join("; ")));
    QVERIFY(result.json.value("success").toBool());
    QVERIFY(result.json.value("error").isNull());
    QCOMPARE(m_server->images, QList<QByteArray>{image});
    const QString link = "http://img.example/large/" + m_server->pid + ".jpg";
    QCOMPARE(pasted(result), link);
    const QJsonArray entries = UploadTestSupport::history();
    QCOMPARE(entries.size(), 1);
    const QJsonObject newest = entries.first().toObject();
    QCOMPARE(newest.value("url").toString(), link);
    QCOMPARE(newest.value("fileName").toString(), QString());
    QCOMPARE(newest.value("store").toString(), QStringLiteral("weibo"));
    const QString progress = progressProblem(result, image.size());
    QVERIFY2(progress.isEmpty(), qPrintable(progress));
    QVERIFY(!result.output.contains(password.toUtf8()));
}

QTEST_GUILESS_MAIN(UploadWeiboTest)
#include "tst_uploadweibo.moc"
