#include "servers/cosstandin.h"
#include "servers/ossstandin.h"
#include "servers/qiniustandin.h"
#include "servers/upyunstandin.h"
#include "servers/weibostandin.h"
#include "support/actionrun.h"
#include "support/uploadrun.h"

#include "actions/text/translations.h"
#include "platform/settingsbackend.h"
#include "store/qiniuuploadsettings.h"

#include <QDate>
#include <QRegularExpression>

#include <optional>

#include <sys/stat.h>
#include <unistd.h>

using namespace KorvaneTest;

// The upload actions through korvane run against their stores' stand-ins: the same drops go
// to every store, each signing, naming and addressing them its own way; counting, progress
// and the result step are shared.
class UploadActionsTest final : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init();
    void upload_data();
    void upload();
    void fileLost_data();
    void fileLost();
    void missingSettings_data();
    void missingSettings();
    void cosBucketNotFound_data();
    void cosBucketNotFound();
    void cosRandomNames();
    void qiniuRegions_data();
    void qiniuRegions();
    void qiniuAnswersTogether();
    void qiniuStalled_data();
    void qiniuStalled();
    void qiniuHistory();
    void upyunRefusedFiles_data();
    void upyunRefusedFiles();
    void upyunManyFilesFewDescriptors();
    void weibo_data();
    void weibo();
    void weiboImageData();
    // Last: it opens the store in this process.
    void qiniuImageData();

private:
    StoreStandIn *target(int store) const;
    QStringList files(const QStringList &names) const;

    StoreFixture<QiniuStandIn> m_qiniu;
    StoreFixture<OssStandIn> m_oss;
    StoreFixture<CosStandIn> m_cos;
    StoreFixture<UpYunStandIn> m_upyun;
    StoreFixture<WeiboStandIn> m_weibo;
};

namespace {

enum Store { Qiniu,
             Oss,
             Cos,
             UpYun };

const QString qiniuAccess = QStringLiteral("qiniuAccessKey-7h3k");
const QString qiniuSecret = QStringLiteral("qiniuSecret-Zz9-private");
const QString qiniuDomain = QStringLiteral("http://files.example.org");
const QString ossAccess = QStringLiteral("LTAIossAccess0001");
const QString ossSecret = QStringLiteral("oss-SECRET-value-abc123");
const QString ossDomain = QStringLiteral("https://bucket.example.com");
const QString cosId = QStringLiteral("AKIDcosSecretId4711");
const QString cosSecret = QStringLiteral("cos-secret-KEY-9f8e");
const QString cosDomain = QStringLiteral("https://cdn.example.com");
const QString upyunPassword = QStringLiteral("upyun-operator-PASSWORD-55");
const QString upyunDomain = QStringLiteral("https://img.example.net");
const QString weiboAccount = QStringLiteral("someone@example.com");
const QString weiboPassword = QStringLiteral("weibo-pass word&9");

// What differs from store to store for the shared cases.
struct StoreRow {
    int type;
    QString secret;
    QString domain;
    QString bucket; // the prefix of the stand-in's object keys
};
const StoreRow stores[] = {{12, qiniuSecret, qiniuDomain, "shots/"},
                           {13, ossSecret, ossDomain, "box/"},
                           {14, cosSecret, cosDomain, "photos-1250000000/"},
                           {15, upyunPassword, upyunDomain, "pics/"}};

QString addStore(Store store, const QString &secret, int suffixType = 0, const std::optional<QString> &bucket = {})
{
    switch (store) {
    case Qiniu:
        return addUploadAction(12, {"qiniuAccessKey=" + qiniuAccess, "qiniuSecretKey=" + secret, "qiniuSpaceName=" + bucket.value_or("shots"), "qiniuDomain=" + qiniuDomain, QStringLiteral("suffixType=%1").arg(suffixType)});
    case Oss:
        return addUploadAction(13, {"aliAccessKey=" + ossAccess, "aliSecretKey=" + secret, "aliSpaceName=box", "aliDomain=" + ossDomain, QStringLiteral("suffixType=%1").arg(suffixType)});
    case Cos:
        return addUploadAction(14, {"tencentAccessKey=" + cosId, "tencentSecretKey=" + secret, "tencentSpaceName=" + bucket.value_or("photos"), "tencentDomain=" + cosDomain, QStringLiteral("suffixType=%1").arg(suffixType)});
    case UpYun:
        return addUploadAction(15, {"admin=ops", "secretCode=" + secret, "bucketName=pics", "upDomain=" + upyunDomain});
    }
    return {};
}

// An empty file, text with what looks like a form boundary, and one larger file so that its
// request reports progress before it is answered.
QByteArray content(int i, const QString &name)
{
    if (name.endsWith(".png", Qt::CaseInsensitive))
        return samplePng(i);
    if (name.startsWith("empty"))
        return {};
    return i == 1 ? QByteArray(3 * 1024 * 1024, 't') + "\r\n--" : QByteArray("text\r\n--") + QByteArray::number(i);
}

} // namespace

void UploadActionsTest::init()
{
    QVERIFY(m_qiniu.start({QStringLiteral("qiniuUpload")}));
    m_qiniu.server->secretKeys.insert(qiniuAccess, qiniuSecret);
    m_qiniu.server->buckets.insert(QStringLiteral("shots"));
    QVERIFY(m_oss.start({QStringLiteral("ossEndpoint")}));
    m_oss.server->secretKeys.insert(ossAccess, ossSecret);
    m_oss.server->buckets.insert(QStringLiteral("box"));
    QVERIFY(m_cos.start({QStringLiteral("cosService"), QStringLiteral("cosDomain")}));
    m_cos.server->secretKeys.insert(cosId, cosSecret);
    // A bucket whose name starts like the wanted one comes first: the lookup must not take it.
    m_cos.server->buckets = {{QStringLiteral("photosarchive-1250000000"), QStringLiteral("ap-beijing")},
                             {QStringLiteral("photos-1250000000"), QStringLiteral("ap-shanghai")}};
    QVERIFY(m_upyun.start({QStringLiteral("upyun")}));
    m_upyun.server->passwords.insert(QStringLiteral("ops"), upyunPassword);
    m_upyun.server->buckets.insert(QStringLiteral("pics"));
    QVERIFY(m_weibo.start({QStringLiteral("sinaLogin"), QStringLiteral("weiboUpload"), QStringLiteral("weiboHome")}));
    m_weibo.server->accounts.insert(weiboAccount, weiboPassword);
    // Each test's stand-in hands out its own sessions: forget the last one's.
    setSettings({{QStringLiteral("hosts/weiboImage"), QStringLiteral("http://img.example")},
                 {QStringLiteral("weiboCookie"), QVariant()},
                 {QStringLiteral("weiboCookieExpire"), QVariant()}});
}

namespace {

// A drop and what the store keeps of it. Keys are the stored objects' without the bucket;
// none stored means the run fails. Qiniu asks for every key it stores or is refused, and for
// each existing one it renames; OSS sends the first file alone and, on a wrong endpoint,
// switches once per run; UpYun sends one form per file.
struct UploadCase {
    const char *name;
    Store store;
    QStringList names;
    QStringList keys;
    int errorCode = 0; // 0: no error
    QStringList failing = {}; // keys the store refuses
    QString secret = {}; // a wrong secret; empty: the right one
    int suffixType = 0;
    QStringList existing = {}; // keys the bucket already holds
    int wrongEndpoint = 0; // OSS PUTs answered with the wrong-endpoint error
};

} // namespace

Q_DECLARE_METATYPE(UploadCase)

StoreStandIn *UploadActionsTest::target(int store) const
{
    StoreStandIn *const servers[] = {m_qiniu.server.get(), m_oss.server.get(), m_cos.server.get(), m_upyun.server.get()};
    return servers[store];
}

// The stand-ins read no files: one folder serves them all.
QStringList UploadActionsTest::files(const QStringList &names) const
{
    return m_cos.files(names, content);
}

void UploadActionsTest::upload_data()
{
    const QString today = QDate::currentDate().toString(QStringLiteral("yyyyMMdd"));
    const QString signs = QString::fromUtf8("say \"hi\" #1 50%+ 'x' \xe5\x9b\xbe");
    const UploadCase cases[] = {
        {"qiniu: 614 once", Qiniu, {"a.png"}, {"a-1.png"}, 0, {}, {}, 0, {"a.png"}},
        {"qiniu: 614 without extension", Qiniu, {"notes"}, {"notes-1"}, 0, {}, {}, 0, {"notes"}},
        {"qiniu: date prefix", Qiniu, {"photo.final.png"}, {today + "_photo.final.png"}, 0, {}, {}, 1},
        {"qiniu: three, one fails", Qiniu, {"a.png", "b.txt", "c.png"}, {"a.png", "c.png"}, 3002, {"b.txt"}},
        {"qiniu: all fail", Qiniu, {"a.png", "b.txt"}, {}, 3003, {"a.png", "b.txt"}},
        {"qiniu: quotes and signs", Qiniu, {signs + ".png"}, {signs + ".png"}},
        {"qiniu: wrong secret key", Qiniu, {"a.png", "b.txt"}, {}, 3003, {}, "not-the-secret-42"},
        {"oss: PNG stored as jpg", Oss, {"pic.PNG"}, {"pic.jpg"}},
        {"oss: other files keep their extension", Oss, {"a.png", "notes.txt", "README"}, {"a.jpg", "notes.txt", "README"}},
        {"oss: endpoint switch", Oss, {"a.png", "b.txt", "c.png"}, {"a.jpg", "b.txt", "c.jpg"}, 0, {}, {}, 0, {}, 1},
        {"oss: endpoint switch only once", Oss, {"a.png"}, {}, 3013, {}, {}, 0, {}, 2},
        {"oss: three, one fails", Oss, {"a.png", "b.txt", "c.png"}, {"a.jpg", "c.jpg"}, 3012, {"b.txt"}},
        {"oss: all fail", Oss, {"a.png", "b.txt"}, {}, 3013, {"a.jpg", "b.txt"}},
        {"oss: names with signs", Oss, {signs + ".PNG", signs + ".txt"}, {signs + ".jpg", signs + ".txt"}},
        {"oss: 255-byte name", Oss, {longName("txt")}, {longName("txt")}},
        {"oss: wrong secret key", Oss, {"a.png", "b.txt"}, {}, 3013, {}, "wrong-oss-secret-77"},
        {"cos: date prefix keeps inner dots", Cos, {"photo.final.png"}, {today + "_photo.final.png"}, 0, {}, {}, 1},
        {"cos: no extension", Cos, {"README"}, {"README"}},
        {"cos: awkward name", Cos, {signs + ".png"}, {signs + ".png"}},
        {"cos: 255-byte name", Cos, {longName("png")}, {longName("png")}},
        {"cos: three, one fails", Cos, {"a.png", "b.txt", "c.png"}, {"a.png", "c.png"}, 3022, {"b.txt"}},
        {"cos: all fail", Cos, {"a.png", "b.txt"}, {}, 3023, {"a.png", "b.txt"}},
        {"upyun: empty file", UpYun, {"empty.txt"}, {"empty.txt"}},
        {"upyun: awkward name", UpYun, {signs + ".png"}, {signs + ".png"}},
        {"upyun: 255-byte name", UpYun, {longName("png")}, {longName("png")}},
        {"upyun: three, one fails", UpYun, {"a.png", "b.txt", "c.png"}, {"a.png", "c.png"}, 3032, {"b.txt"}},
        {"upyun: all fail", UpYun, {"a.png", "b.txt"}, {}, 3023, {"a.png", "b.txt"}},
        {"upyun: wrong password", UpYun, {"a.png"}, {}, 3023, {}, "not-the-password-1"},
    };
    QTest::addColumn<UploadCase>("row");
    for (const UploadCase &row : cases)
        QTest::newRow(row.name) << row;
}

void UploadActionsTest::upload()
{
    QFETCH(UploadCase, row);
    const StoreRow &store = stores[row.store];
    StoreStandIn *const stand = target(row.store);
    const QStringList files = this->files(row.names);
    for (const QString &key : row.existing)
        stand->objects.insert(store.bucket + key, "older object");
    for (const QString &key : row.failing)
        stand->failingKeys.insert(row.store == UpYun ? '/' + key : key);
    m_oss.server->wrongEndpointAnswers = row.wrongEndpoint;
    const QString secret = row.secret.isEmpty() ? store.secret : row.secret;
    const QString id = addStore(row.store, secret, row.suffixType);
    QVERIFY(!id.isEmpty());

    // Retries under another name or endpoint and refusals alike: the batch's bytes, never
    // going back.
    const RunResult result = runUpload(id, files);
    QStringList stored, links;
    for (const QString &key : row.existing + row.keys)
        stored << store.bucket + key;
    for (const QString &key : row.keys)
        links << expectedUrl(store.domain, key);
    checkRun(*stand, result, files, !row.keys.isEmpty(), row.errorCode, links, {secret, store.secret});
    QCOMPARE(sorted(stand->objects.keys()), sorted(stored));
    for (int i = 0; i < row.names.size(); ++i) {
        const QString key = row.names.size() == 1 && row.keys.size() == 1 ? row.keys.first() : row.names[i];
        if (row.keys.contains(key))
            QCOMPARE(stand->objects.value(store.bucket + key), content(i, row.names[i]));
    }
    if (row.keys.isEmpty())
        QCOMPARE(result.json.value("notification").toObject().value("body").toString(),
                 result.json.value("error").toObject().value("message").toString());
    if (row.store == Qiniu)
        QCOMPARE(sorted(m_qiniu.server->attempts), sorted(row.keys + row.failing + row.existing));
    if (row.store == UpYun)
        QCOMPARE(stand->requestCount(), int(row.names.size()));
    if (row.store == Oss) {
        QCOMPARE(stand->requestCount(), int(row.names.size()) + (row.wrongEndpoint ? 1 : 0));
        // The first file goes alone: nothing else is sent before its answer.
        const QString first = row.names.first();
        QVERIFY(stand->requests().first().path.startsWith("/box/" + (first.contains('.') ? first.section('.', 0, -2) : first)));
    }
}

void UploadActionsTest::fileLost_data()
{
    QTest::addColumn<int>("store");
    QTest::addColumn<QStringList>("deleted"); // when the store gets its first request
    QTest::addColumn<QStringList>("unreadable");
    QTest::newRow("oss: deleted") << int(Oss) << QStringList{"b.txt"} << QStringList{};
    QTest::newRow("oss: unreadable") << int(Oss) << QStringList{} << QStringList{"c.png"};
    QTest::newRow("oss: one deleted, one unreadable") << int(Oss) << QStringList{"d.txt"} << QStringList{"b.txt"};
    // The first request looks the bucket up: even the first file can go.
    QTest::newRow("cos: deleted") << int(Cos) << QStringList{"b.txt"} << QStringList{};
    QTest::newRow("cos: unreadable") << int(Cos) << QStringList{} << QStringList{"a.png"};
    QTest::newRow("cos: one deleted, one unreadable") << int(Cos) << QStringList{"c.png"} << QStringList{"b.txt"};
}

// Files that go away or become unreadable while the batch runs are counted as failed; the
// others are stored, and the result step reports them once.
void UploadActionsTest::fileLost()
{
    QFETCH(int, store);
    QFETCH(QStringList, deleted);
    QFETCH(QStringList, unreadable);

    StoreStandIn *const stand = target(store);
    const QStringList names{"a.png", "b.txt", "c.png", "d.txt"};
    const QStringList files = this->files(names);
    const QDir dir(m_cos.dir->path());
    connect(stand, &StandInServer::requestReceived, this, [&] {
        for (const QString &name : std::as_const(deleted))
            QFile::remove(dir.filePath(name));
        for (const QString &name : std::as_const(unreadable))
            QFile::setPermissions(dir.filePath(name), QFileDevice::Permissions());
    });
    const QString id = addStore(Store(store), stores[store].secret);
    QVERIFY(!id.isEmpty());
    QFile::remove(historyFile());
    const qint64 size = batchSize(files);

    const RunResult result = runUpload(id, files);
    QStringList links;
    for (const QString &name : names) {
        if (!deleted.contains(name) && !unreadable.contains(name))
            links << stores[store].domain + '/' + (store == Oss ? name.section('.', 0, 0) + (name.endsWith(".png") ? ".jpg" : ".txt") : name);
    }
    checkRun(*stand, result, files, true, store == Oss ? 3012 : 3022, links, {stores[store].secret}, size);
    QCOMPARE(stand->requestCount(), int(links.size()) + (store == Cos ? 1 : 0));
    QCOMPARE(stand->objects.size(), links.size());
    QCOMPARE(KorvaneTest::history().size(), links.size());
    for (const QString &name : std::as_const(unreadable))
        QFile::setPermissions(dir.filePath(name), QFileDevice::ReadOwner | QFileDevice::WriteOwner);
}

void UploadActionsTest::missingSettings_data()
{
    QTest::addColumn<int>("store");
    QTest::addColumn<QStringList>("assignments");
    QTest::addColumn<int>("code");
    QTest::newRow("oss: no access key") << int(Oss) << QStringList{"aliSecretKey=" + ossSecret, "aliSpaceName=box"} << 3010;
    QTest::newRow("cos: no secret key") << int(Cos) << QStringList{"tencentAccessKey=" + cosId, "tencentSpaceName=photos"} << 3020;
    QTest::newRow("cos: no secret id") << int(Cos) << QStringList{"tencentSecretKey=x", "tencentSpaceName=photos"} << 3020;
    QTest::newRow("cos: no bucket") << int(Cos) << QStringList{"tencentAccessKey=" + cosId, "tencentSecretKey=x"} << 3020;
    QTest::newRow("upyun: no password") << int(UpYun) << QStringList{"admin=ops", "bucketName=pics"} << 3030;
}

void UploadActionsTest::missingSettings()
{
    QFETCH(int, store);
    QFETCH(QStringList, assignments);
    QFETCH(int, code);
    StoreStandIn *const stand = target(store);
    const RunResult result = runUpload(addUploadAction(stores[store].type, assignments), files({"m.png"}));
    checkRun(*stand, result, {}, false, code, {}, {}, 0);
    QCOMPARE(stand->requestCount(), 0);
}

void UploadActionsTest::cosBucketNotFound_data()
{
    QTest::addColumn<QString>("bucket");
    QTest::addColumn<QString>("secret");
    QTest::addColumn<bool>("reachable");
    QTest::addColumn<int>("code");
    QTest::addColumn<QString>("body");
    QTest::newRow("unknown bucket") << "videos" << cosSecret << true << 3021 << "videos";
    // A wrong secret key fails the lookup the same way, and the key stays out of the output.
    QTest::newRow("wrong secret key") << "photos"
                                      << "wrong-secret-0000" << true << 3021 << "photos";
    QTest::newRow("store unreachable") << "photos" << cosSecret << false << 3023 << "Cannot connect";
}

void UploadActionsTest::cosBucketNotFound()
{
    QFETCH(QString, bucket);
    QFETCH(QString, secret);
    QFETCH(bool, reachable);
    QFETCH(int, code);
    QFETCH(QString, body);
    if (!reachable)
        setHosts({{QStringLiteral("cosService"), QStringLiteral("http://127.0.0.1:1")}});
    const RunResult result = runUpload(addStore(Cos, secret, 0, bucket), {m_cos.file("v.png", samplePng(2))});
    checkRun(*m_cos.server, result, {}, false, code, {}, {secret}, 0);
    const QString shown = result.json.value("notification").toObject().value("body").toString();
    QVERIFY2(shown.contains(body) && (reachable || !shown.contains("not found")), qPrintable(shown));
    QCOMPARE(m_cos.server->objects.size(), 0);
}

void UploadActionsTest::cosRandomNames()
{
    const RunResult result = runUpload(addStore(Cos, cosSecret, 2), {m_cos.file("r.png", samplePng(4)), m_cos.file("r2.txt", "x")});
    QVERIFY(result.json.value("success").toBool());
    const QStringList stored = m_cos.server->objects.keys();
    QCOMPARE(stored.size(), 2);
    static const QRegularExpression pattern(QStringLiteral("^photos-1250000000/[0-9a-z]{5}\\.(png|txt)$"));
    for (const QString &key : stored)
        QVERIFY2(pattern.match(key).hasMatch(), qPrintable(key));
    QCOMPARE(pasted(result).split('\n').size(), 2);
}

void UploadActionsTest::qiniuRegions_data()
{
    QTest::addColumn<QString>("bucket");
    QTest::addColumn<QByteArray>("answer"); // the region query's answer; empty: the stand-in's own
    QTest::addColumn<bool>("hostSet"); // hosts/qiniuUpload names this region's host
    QTest::addColumn<int>("storedHere");
    QTest::addColumn<int>("storedFar");
    QTest::addColumn<int>("errorCode");
    QTest::newRow("bucket in this region") << "shots" << QByteArray() << false << 2 << 0 << 0;
    QTest::newRow("bucket in another region") << "far" << QByteArray() << false << 0 << 2 << 0;
    QTest::newRow("set upload host wins") << "shots" << QByteArray() << true << 2 << 0 << 0;
    QTest::newRow("unknown bucket") << "none" << QByteArray() << false << 0 << 0 << 3004;
    QTest::newRow("not JSON") << "far" << QByteArray("<html>") << false << 0 << 0 << 3004;
    QTest::newRow("no upload qiniuDomain") << "far" << QByteArray(R"({"hosts":[{"up":{"domains":[]}}]})") << false << 0 << 0 << 3004;
    QTest::newRow("qiniuDomain with a path") << "far" << QByteArray(R"({"hosts":[{"up":{"domains":["a.example/x?y"]}}]})") << false << 0 << 0 << 3004;
    QTest::newRow("query host unreachable") << "far" << QByteArray("unreachable") << false << 0 << 0 << 3004;
    QTest::newRow("no bucket set: no query") << "" << QByteArray() << false << 0 << 0 << 3000;
}

// The bucket's region decides where its files go: asked once per run, and nothing is sent
// anywhere when the answer names no upload host.
void UploadActionsTest::qiniuRegions()
{
    QFETCH(QString, bucket);
    QFETCH(QByteArray, answer);
    QFETCH(bool, hostSet);
    QFETCH(int, storedHere);
    QFETCH(int, storedFar);
    QFETCH(int, errorCode);
    QiniuStandIn far;
    QVERIFY(far.start());
    far.secretKeys.insert(qiniuAccess, qiniuSecret);
    far.buckets.insert(QStringLiteral("far"));
    m_qiniu.server->regions = {{"shots", QUrl(m_qiniu.server->baseUrl()).authority()}, {"far", QUrl(far.baseUrl()).authority()}};
    if (!answer.isEmpty())
        m_qiniu.server->setOverride(StandInResponse::json(answer), false);
    setSettings({{"hosts/qiniuUpload", hostSet ? QVariant(m_qiniu.server->baseUrl()) : QVariant()},
                 {"hosts/qiniuUc", answer == "unreachable" ? "http://127.0.0.1:1" : m_qiniu.server->baseUrl()}});
    const QStringList files{m_qiniu.file("r1.txt", "one"), m_qiniu.file("r2.txt", "two")};
    const RunResult result = runUpload(addStore(Qiniu, qiniuSecret, 0, bucket), files);
    setSettings({{"hosts/qiniuUpload", m_qiniu.server->baseUrl()}, {"hosts/qiniuUc", QVariant()}});

    QCOMPARE(result.json.value("error").toObject().value("code").toInt(), errorCode);
    QCOMPARE(m_qiniu.server->objects.size(), storedHere);
    QCOMPARE(far.objects.size(), storedFar);
    QVERIFY2(m_qiniu.server->problems().isEmpty() && far.problems().isEmpty(), qPrintable(far.problems().join("; ")));
    const auto queries = std::count_if(m_qiniu.server->requests().cbegin(), m_qiniu.server->requests().cend(),
                                       [](const StandInRequest &request) { return request.path == QLatin1String("/v4/query"); });
    QCOMPARE(queries, hostSet || answer == "unreachable" || bucket.isEmpty() ? 0 : 1);
    if (errorCode) {
        QCOMPARE(m_qiniu.server->requestCount() + far.requestCount(), queries);
        QVERIFY2(result.json.value("notification").toObject().value("body").toString().contains(bucket), result.output.constData());
    }
}

// Many answers at nearly the same moment, some of them refusals and retries: each is
// counted once and the result step runs once, with every link.
void UploadActionsTest::qiniuAnswersTogether()
{
    QStringList files;
    for (int i = 0; i < 40; ++i)
        files << m_qiniu.file(QStringLiteral("f%1.txt").arg(i), QByteArray::number(i));
    for (int i = 0; i < 40; i += 4)
        m_qiniu.server->objects.insert(QStringLiteral("shots/f%1.txt").arg(i), "older");
    m_qiniu.server->failingKeys = {QStringLiteral("f1.txt"), QStringLiteral("f2.txt")};
    const QString id = addStore(Qiniu, qiniuSecret);
    QVERIFY(!id.isEmpty());
    QStringList links;
    for (int i = 0; i < 40; ++i) {
        if (i != 1 && i != 2)
            links << qiniuDomain + QString::fromLatin1(i % 4 ? "/f%1.txt" : "/f%1-1.txt").arg(i);
    }
    checkRun(*m_qiniu.server, runUpload(id, files), files, true, 3002, links, {qiniuSecret});
    QCOMPARE(m_qiniu.server->objects.size(), 10 + 38);
}

void UploadActionsTest::qiniuStalled_data()
{
    QTest::addColumn<bool>("stopReading"); // else: headers of an answer, then silence
    QTest::addColumn<int>("size");
    QTest::newRow("stops reading a large file") << true << 16 * 1024 * 1024;
    QTest::newRow("answer stalls after its headers") << false << 1000;
}

// A store that takes the connection and then goes silent fails the run once the transfer
// has moved nothing for the stall limit (shortened here through its setting), not sooner,
// and not never.
void UploadActionsTest::qiniuStalled()
{
    QFETCH(bool, stopReading);
    QFETCH(int, size);

    // Qt's coarse timers may fire up to 5 % early.
    const int limitMs = 1500;
    const int earliestMs = limitMs * 95 / 100;
    setSettings({{QStringLiteral("network/transferTimeout"), limitMs}});
    const QStringList files{m_qiniu.file("stall.bin", QByteArray(size, 's')), m_qiniu.file("second.txt", "second")};
    if (stopReading) {
        m_qiniu.server->setStopReading(true);
    } else {
        StandInResponse stall;
        stall.behaviour = StandInResponse::Behaviour::Stall;
        m_qiniu.server->setOverride(stall, false);
    }
    const QString id = addStore(Qiniu, qiniuSecret);
    QVERIFY(!id.isEmpty());
    const RunResult result = runUpload(id, files);
    setSettings({{QStringLiteral("network/transferTimeout"), QVariant()}});

    QCOMPARE(result.json.value("success").toBool(), false);
    QCOMPARE(result.json.value("error").toObject().value("code").toInt(), 3003);
    QVERIFY(result.json.value("pasteboard").isNull());
    if (stopReading)
        QVERIFY(m_qiniu.server->stoppedConnections() >= 2);
    else
        QVERIFY(m_qiniu.server->requestCount() >= 2);
    QVERIFY2(result.elapsedMs >= earliestMs, qPrintable(QString::number(result.elapsedMs)));
    QVERIFY2(result.elapsedMs < 15000, qPrintable(QString::number(result.elapsedMs)));
    const QString progress = progressProblem(result, batchSize(files));
    QVERIFY2(progress.isEmpty(), qPrintable(progress));
}

// Every stored link is kept with its time, file and store, newest first; failures are not;
// the hundred latest stay; no key ever shows.
void UploadActionsTest::qiniuHistory()
{
    const QString path = historyFile();
    QFile::remove(path);
    QStringList first;
    for (const QString &name : {QStringLiteral("h1.txt"), QStringLiteral("h fails.txt"), QStringLiteral("h2.txt")})
        first << m_qiniu.file(name, name.toUtf8());
    m_qiniu.server->failingKeys = {QStringLiteral("h fails.txt")};
    const QString id = addStore(Qiniu, qiniuSecret);
    QVERIFY(!id.isEmpty());
    const QDateTime before = QDateTime::currentDateTimeUtc().addSecs(-1);
    QVERIFY(runUpload(id, first).json.value("success").toBool());

    QByteArray listing;
    QJsonArray entries = KorvaneTest::history(&listing);
    QCOMPARE(entries.size(), 2);
    QStringList names;
    for (const QJsonValue &value : entries) {
        const QJsonObject entry = value.toObject();
        names << entry.value("fileName").toString();
        QCOMPARE(entry.value("store").toString(), QStringLiteral("qiniu"));
        QCOMPARE(entry.value("url").toString(), qiniuDomain + '/' + entry.value("fileName").toString());
        const QDateTime time = QDateTime::fromString(entry.value("time").toString(), Qt::ISODateWithMs);
        QVERIFY2(time >= before && time <= QDateTime::currentDateTimeUtc(), qPrintable(entry.value("time").toString()));
    }
    names.sort();
    QCOMPARE(names, (QStringList{"h1.txt", "h2.txt"}));
    QVERIFY(listing.contains(qiniuDomain.toUtf8() + "/h2.txt"));

    // A hundred more: the first run's links are the oldest and go; the newest come first.
    QStringList hundred;
    for (int i = 0; i < 100; ++i)
        hundred << m_qiniu.file(QStringLiteral("n%1.txt").arg(i, 3, 10, QLatin1Char('0')), QByteArray::number(i));
    m_qiniu.server->failingKeys.clear();
    QTest::qWait(20);
    const QDateTime second = QDateTime::currentDateTimeUtc();
    const RunResult result = runUpload(id, hundred);
    QVERIFY(result.json.value("success").toBool());
    QVERIFY(result.json.value("error").isNull());
    entries = KorvaneTest::history(&listing);
    QCOMPARE(entries.size(), 100);
    QSet<QString> kept;
    QDateTime previous = QDateTime::currentDateTimeUtc();
    for (const QJsonValue &value : entries) {
        const QJsonObject entry = value.toObject();
        kept.insert(entry.value("fileName").toString());
        const QDateTime time = QDateTime::fromString(entry.value("time").toString(), Qt::ISODateWithMs);
        QVERIFY(time >= second.addMSecs(-5));
        QVERIFY(time <= previous);
        previous = time;
    }
    QCOMPARE(kept.size(), 100);
    QVERIFY(!kept.contains("h1.txt") && !kept.contains("h2.txt"));

    QFile stored(path);
    QVERIFY(stored.open(QIODevice::ReadOnly));
    const QByteArray everything = listing + stored.readAll() + result.output;
    for (const QString &secret : {qiniuSecret, qiniuAccess})
        QVERIFY2(!everything.contains(secret.toUtf8()), qPrintable(secret));
}

// Dropped image data, which the command line never hands to a file action: one upload
// under a random name with ".jpg", run in this process.
void UploadActionsTest::qiniuImageData()
{
    Translations::install({QStringLiteral("en")});
    QVERIFY(ActionStore::instance()->openStore());
    Platform::settingsBackend()->setValue(QStringLiteral("hosts/qiniuUpload"), m_qiniu.server->baseUrl());
    const DropListEntityPtr drop = ActionStore::instance()->getNewDrop(1, 12, 0);
    QVERIFY(drop && drop->qiniuUploadSettings());
    drop->qiniuUploadSettings()->setQiniuAccessKey(qiniuAccess);
    drop->qiniuUploadSettings()->setQiniuSecretKey(qiniuSecret);
    drop->qiniuUploadSettings()->setQiniuSpaceName(QStringLiteral("shots"));
    drop->qiniuUploadSettings()->setQiniuDomain(qiniuDomain);
    const QByteArray bytes = samplePng(9);
    dropImages({}, bytes);
    const Outcome outcome = runAction(drop, 1, 20000, 300);
    QCOMPARE(outcome.calls, 1);
    QVERIFY(outcome.success);
    QVERIFY2(m_qiniu.server->problems().isEmpty(), qPrintable(m_qiniu.server->problems().join("; ")));
    QCOMPARE(m_qiniu.server->objects.size(), 1);
    const QString key = m_qiniu.server->objects.keys().first();
    QVERIFY2(QRegularExpression(QStringLiteral("^shots/[0-9a-z]{5}\\.jpg$")).match(key).hasMatch(), qPrintable(key));
    QCOMPARE(m_qiniu.server->objects.value(key), bytes);
    QCOMPARE(outcome.pasted, qiniuDomain + '/' + key.section('/', 1));
}

// A file that cannot be read as it is named refuses the upload before any file is opened: a
// FIFO would block it, /dev/zero would send nothing, and "a\xff.png" would turn into its
// look-alike "a\uFFFD.png" beside it. Nothing reaches the store; the error names the file.
void UploadActionsTest::upyunRefusedFiles_data()
{
    QTest::addColumn<QByteArray>("name");
    QTest::addColumn<QString>("shown");
    QTest::addColumn<int>("code");
    QTest::newRow("FIFO") << QByteArray("pipe.png") << "pipe.png" << 8004;
    QTest::newRow("/dev/zero") << QByteArray("zero.bin") << "zero.bin" << 8004;
    QTest::newRow("name not UTF-8") << QByteArray("a\xff.png") << "a\\xFF.png" << 8005;
}

void UploadActionsTest::upyunRefusedFiles()
{
    QFETCH(QByteArray, name);
    QFETCH(QString, shown);
    const QDir dir(m_upyun.dir->path());
    const QByteArray path = QFile::encodeName(dir.path()) + '/' + name;
    m_upyun.file(QString::fromUtf8(name), samplePng(1));
    if (name != "a\xff.png")
        QVERIFY(QFile::remove(QFile::decodeName(path)));
    QVERIFY(name == "pipe.png" ? ::mkfifo(path.constData(), 0600) == 0
                               : ::symlink(name == "zero.bin" ? "/dev/zero" : "good.png", path.constData()) == 0);
    const RunResult result = runUpload(addStore(UpYun, upyunPassword), {m_upyun.file("good.png", samplePng(2))}, {}, path);
    QCOMPARE(result.exitCode, 1);
    const QJsonObject error = result.json.value("error").toObject();
    QTEST(error.value("code").toInt(), "code");
    QVERIFY2(error.value("message").toString().contains(dir.path() + '/' + shown), qPrintable(error.value("message").toString()));
    QCOMPARE(m_upyun.server->requestCount(), 0);
}

// 1,500 files under a limit of 1,024 descriptors: the uploads run a few at a time, each file
// opened when its turn comes, and every file arrives.
void UploadActionsTest::upyunManyFilesFewDescriptors()
{
    QStringList files;
    for (int i = 0; i < 1500; ++i)
        files << m_upyun.file(QStringLiteral("f%1.txt").arg(i), QByteArray::number(i));
    const RunResult result = runUpload(addStore(UpYun, upyunPassword), files, {QStringLiteral("prlimit"), QStringLiteral("--nofile=1024")});
    QCOMPARE(result.exitCode, 0);
    QVERIFY2(result.json.value("error").isNull(), result.output.right(500).constData());
    QCOMPARE(m_upyun.server->objects.size(), 1500);
}

void UploadActionsTest::weibo_data()
{
    QTest::addColumn<QStringList>("names"); // ".bad.png": not an image inside
    QTest::addColumn<QString>("secret");
    QTest::addColumn<int>("uploads"); // images the store took
    QTest::addColumn<bool>("success");
    QTest::addColumn<int>("errorCode");

    QTest::newRow("three, one fails") << QStringList{"a.png", "b.bad.png", "c.png"} << weiboPassword << 2 << true << 2002;
    QTest::newRow("all fail") << QStringList{"a.bad.png", "b.bad.png"} << weiboPassword << 0 << false << 2003;
    QTest::newRow("wrong weiboPassword") << QStringList{"a.png"} << QStringLiteral("not-my-weiboPassword-3") << 0 << false << 2001;
    QTest::newRow("no weiboPassword") << QStringList{"a.png"} << QString() << 0 << false << 2000;
}

void UploadActionsTest::weibo()
{
    QFETCH(QStringList, names);
    QFETCH(QString, secret);
    QFETCH(int, uploads);
    QFETCH(bool, success);
    QFETCH(int, errorCode);

    const QStringList files = m_weibo.files(names, [](int i, const QString &name) {
        return name.contains(".bad") ? QByteArray("no picture") : samplePng(i);
    });
    QStringList assignments{"weiboAccount=" + weiboAccount};
    if (!secret.isEmpty())
        assignments << "weiboPassWord=" + secret;
    const QString id = addUploadAction(5, assignments);
    QVERIFY(!id.isEmpty());

    const RunResult result = runUpload(id, files);
    // Neither a failed login nor missing settings upload anything, nor start the progress.
    const bool loggedIn = errorCode != 2001 && errorCode != 2000;
    const QStringList links(uploads, "http://img.example/large/" + m_weibo.server->pid + ".jpg");
    checkRun(*m_weibo.server, result, files, success, errorCode, links, {secret}, loggedIn ? -1 : 0);
    QCOMPARE(int(m_weibo.server->images.size()), uploads);
    if (!loggedIn) {
        for (const StandInRequest &request : m_weibo.server->requests())
            QVERIFY(!request.path.contains("pic_upload"));
    }
}

// Dropped image data rather than files: the one image goes up as it was dropped, and its
// link is kept in the history without a file name.
void UploadActionsTest::weiboImageData()
{
    const QByteArray image = samplePng(7);
    const QString file = m_weibo.file("dropped.png", image);
    const QString id = addUploadAction(5, {"weiboAccount=" + weiboAccount, "weiboPassWord=" + weiboPassword});
    QVERIFY(!id.isEmpty());
    QFile::remove(historyFile());

    const RunResult result = runUpload(id, {"--image", file});
    const QString link = "http://img.example/large/" + m_weibo.server->pid + ".jpg";
    checkRun(*m_weibo.server, result, {file}, true, 0, {link}, {weiboPassword});
    QCOMPARE(m_weibo.server->images, QList<QByteArray>{image});
    const QJsonArray entries = KorvaneTest::history();
    QCOMPARE(entries.size(), 1);
    const QJsonObject newest = entries.first().toObject();
    QCOMPARE(newest.value("url").toString(), link);
    QCOMPARE(newest.value("fileName").toString(), QString());
    QCOMPARE(newest.value("store").toString(), QStringLiteral("weibo"));
}

QTEST_GUILESS_MAIN(UploadActionsTest)
#include "tst_uploadactions.moc"
