#include "servers/weibostandin.h"
#include "support/uploadrun.h"

using namespace KorvaneTest;

// The Weibo image bed through korvane run: the login, the Base64 upload of every image,
// counting and the result step.
class UploadWeiboTest final : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init();
    void upload_data();
    void upload();
    void imageData();

private:
    StoreFixture<WeiboStandIn> m_store;
};

namespace {

const QString account = QStringLiteral("someone@example.com");
const QString password = QStringLiteral("weibo-pass word&9");

} // namespace

void UploadWeiboTest::init()
{
    QVERIFY(m_store.start({QStringLiteral("sinaLogin"), QStringLiteral("weiboUpload"), QStringLiteral("weiboHome")}));
    m_store.server->accounts.insert(account, password);
    // Each test's stand-in hands out its own sessions: forget the last one's.
    setSettings({{QStringLiteral("hosts/weiboImage"), QStringLiteral("http://img.example")},
                 {QStringLiteral("weiboCookie"), QVariant()},
                 {QStringLiteral("weiboCookieExpire"), QVariant()}});
}

void UploadWeiboTest::upload_data()
{
    QTest::addColumn<QStringList>("names"); // ".bad.png": not an image inside
    QTest::addColumn<QString>("secret");
    QTest::addColumn<int>("uploads"); // images the store took
    QTest::addColumn<bool>("success");
    QTest::addColumn<int>("errorCode");

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

    const QStringList files = m_store.files(names, [](int i, const QString &name) {
        return name.contains(".bad") ? QByteArray("no picture") : samplePng(i);
    });
    QStringList assignments{"weiboAccount=" + account};
    if (!secret.isEmpty())
        assignments << "weiboPassWord=" + secret;
    const QString id = addUploadAction(5, assignments);
    QVERIFY(!id.isEmpty());

    const RunResult result = runUpload(id, files);
    // Neither a failed login nor missing settings upload anything, nor start the progress.
    const bool loggedIn = errorCode != 2001 && errorCode != 2000;
    const QStringList links(uploads, "http://img.example/large/" + m_store.server->pid + ".jpg");
    checkRun(*m_store.server, result, files, success, errorCode, links, {secret}, loggedIn ? -1 : 0);
    QCOMPARE(m_store.server->uploads, uploads);
    if (!loggedIn) {
        for (const StandInRequest &request : m_store.server->requests())
            QVERIFY(!request.path.contains("pic_upload"));
    }
}

// Dropped image data rather than files: the one image goes up as it was dropped, and its
// link is kept in the history without a file name.
void UploadWeiboTest::imageData()
{
    const QByteArray image = samplePng(7);
    const QString file = m_store.file("dropped.png", image);
    const QString id = addUploadAction(5, {"weiboAccount=" + account, "weiboPassWord=" + password});
    QVERIFY(!id.isEmpty());
    QFile::remove(historyFile());

    const RunResult result = runUpload(id, {"--image", file});
    const QString link = "http://img.example/large/" + m_store.server->pid + ".jpg";
    checkRun(*m_store.server, result, {file}, true, 0, {link}, {password});
    QCOMPARE(m_store.server->images, QList<QByteArray>{image});
    const QJsonArray entries = KorvaneTest::history();
    QCOMPARE(entries.size(), 1);
    const QJsonObject newest = entries.first().toObject();
    QCOMPARE(newest.value("url").toString(), link);
    QCOMPARE(newest.value("fileName").toString(), QString());
    QCOMPARE(newest.value("store").toString(), QStringLiteral("weibo"));
}

QTEST_GUILESS_MAIN(UploadWeiboTest)
#include "tst_uploadweibo.moc"
