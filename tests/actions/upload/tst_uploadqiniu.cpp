#include "servers/qiniustandin.h"
#include "support/uploadrun.h"

#include "support/actionrun.h"

#include "actions/text/translations.h"
#include "platform/settingsbackend.h"
#include "store/fileuploadqinniu.h"

#include <QDate>
#include <QRegularExpression>

using namespace KorvaneTest;

// The Qiniu upload through korvane run: the form upload with its token, the retry names on
// 614, counting and the result step.
class UploadQiniuTest final : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init();
    void upload_data();
    void upload();
    void regions_data();
    void regions();
    void answersTogether();
    void stalled_data();
    void stalled();
    void history();
    void imageData();

private:
    StoreFixture<QiniuStandIn> m_store;
};

namespace {

const QString accessKey = QStringLiteral("qiniuAccessKey-7h3k");
const QString secretKey = QStringLiteral("qiniuSecret-Zz9-private");
const QString domain = QStringLiteral("http://files.example.org");

QString addQiniu(const QString &bucket = QStringLiteral("shots"), const QString &secret = secretKey, int suffixType = 0)
{
    return addUploadAction(12, {"qiniuAccessKey=" + accessKey, "qiniuSecretKey=" + secret, "qiniuSpaceName=" + bucket, "qiniuDomain=" + domain, QStringLiteral("suffixType=%1").arg(suffixType)});
}

// One larger file, so that its request reports progress before it is answered.
QByteArray content(int i, const QString &name)
{
    return name.endsWith(".png") ? samplePng(i) : i == 1 ? QByteArray(3 * 1024 * 1024, 't')
                                                         : QByteArray("some text ") + QByteArray::number(i);
}

} // namespace

void UploadQiniuTest::init()
{
    QVERIFY(m_store.start({QStringLiteral("qiniuUpload")}));
    m_store.server->secretKeys.insert(accessKey, secretKey);
    m_store.server->buckets.insert(QStringLiteral("shots"));
}

void UploadQiniuTest::upload_data()
{
    QTest::addColumn<QStringList>("names");
    QTest::addColumn<int>("suffixType");
    QTest::addColumn<QString>("secret"); // the secret key the action is given
    QTest::addColumn<QStringList>("existing"); // keys already in the bucket
    QTest::addColumn<QStringList>("failing");
    QTest::addColumn<QStringList>("keys"); // keys stored by the run
    QTest::addColumn<QStringList>("attempts"); // keys asked for, sorted
    QTest::addColumn<bool>("success");
    QTest::addColumn<int>("errorCode");

    const QString today = QDate::currentDate().toString(QStringLiteral("yyyyMMdd"));
    QTest::newRow("614 once") << QStringList{"a.png"} << 0 << secretKey << QStringList{"a.png"} << QStringList{}
                              << QStringList{"a-1.png"} << QStringList{"a-1.png", "a.png"} << true << 0;
    QTest::newRow("614 without extension") << QStringList{"notes"} << 0 << secretKey << QStringList{"notes"} << QStringList{}
                                           << QStringList{"notes-1"} << QStringList{"notes", "notes-1"} << true << 0;
    QTest::newRow("date prefix") << QStringList{"photo.final.png"} << 1 << secretKey << QStringList{} << QStringList{}
                                 << QStringList{today + "_photo.final.png"} << QStringList{today + "_photo.final.png"} << true << 0;
    QTest::newRow("three, one fails") << QStringList{"a.png", "b.txt", "c.png"} << 0 << secretKey << QStringList{}
                                      << QStringList{"b.txt"} << QStringList{"a.png", "c.png"}
                                      << QStringList{"a.png", "b.txt", "c.png"} << true << 3002;
    QTest::newRow("all fail") << QStringList{"a.png", "b.txt"} << 0 << secretKey << QStringList{}
                              << QStringList{"a.png", "b.txt"} << QStringList{} << QStringList{"a.png", "b.txt"} << false << 3003;
    QTest::newRow("quotes and signs") << QStringList{"say \"hi\" #1 50%+ 'x'.png"} << 0 << secretKey << QStringList{}
                                      << QStringList{} << QStringList{"say \"hi\" #1 50%+ 'x'.png"}
                                      << QStringList{"say \"hi\" #1 50%+ 'x'.png"} << true << 0;
    QTest::newRow("wrong secret key") << QStringList{"a.png", "b.txt"} << 0 << QStringLiteral("not-the-secret-42")
                                      << QStringList{} << QStringList{} << QStringList{} << QStringList{} << false << 3003;
}

void UploadQiniuTest::upload()
{
    QFETCH(QStringList, names);
    QFETCH(int, suffixType);
    QFETCH(QString, secret);
    QFETCH(QStringList, existing);
    QFETCH(QStringList, failing);
    QFETCH(QStringList, keys);
    QFETCH(QStringList, attempts);
    QFETCH(bool, success);
    QFETCH(int, errorCode);

    QiniuStandIn &server = *m_store.server;
    const QStringList files = m_store.files(names, content);
    for (const QString &key : existing)
        server.objects.insert("shots/" + key, "older object");
    server.failingKeys = QSet<QString>(failing.cbegin(), failing.cend());
    const QString id = addQiniu(QStringLiteral("shots"), secret, suffixType);
    QVERIFY(!id.isEmpty());

    // Retries under another name and refusals alike: the batch's bytes, never going back.
    const RunResult result = runUpload(id, files);
    QStringList links;
    for (const QString &key : keys) {
        QVERIFY2(server.objects.contains("shots/" + key), qPrintable(key));
        links << expectedUrl(domain, key);
    }
    checkRun(server, result, files, success, errorCode, links, {secret, secretKey});
    QCOMPARE(sorted(server.attempts), attempts);
    if (names.size() == 1 && !keys.isEmpty())
        QCOMPARE(server.objects.value("shots/" + keys.first()), content(0, names.first()));
    QCOMPARE(server.objects.size(), existing.size() + keys.size());
}

void UploadQiniuTest::regions_data()
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
    QTest::newRow("no upload domain") << "far" << QByteArray(R"({"hosts":[{"up":{"domains":[]}}]})") << false << 0 << 0 << 3004;
    QTest::newRow("domain with a path") << "far" << QByteArray(R"({"hosts":[{"up":{"domains":["a.example/x?y"]}}]})") << false << 0 << 0 << 3004;
    QTest::newRow("query host unreachable") << "far" << QByteArray("unreachable") << false << 0 << 0 << 3004;
    QTest::newRow("no bucket set: no query") << "" << QByteArray() << false << 0 << 0 << 3000;
}

// The bucket's region decides where its files go: asked once per run, and nothing is sent
// anywhere when the answer names no upload host.
void UploadQiniuTest::regions()
{
    QFETCH(QString, bucket);
    QFETCH(QByteArray, answer);
    QFETCH(bool, hostSet);
    QFETCH(int, storedHere);
    QFETCH(int, storedFar);
    QFETCH(int, errorCode);
    QiniuStandIn far;
    QVERIFY(far.start());
    far.secretKeys.insert(accessKey, secretKey);
    far.buckets.insert(QStringLiteral("far"));
    m_store.server->regions = {{"shots", QUrl(m_store.server->baseUrl()).authority()}, {"far", QUrl(far.baseUrl()).authority()}};
    if (!answer.isEmpty())
        m_store.server->setOverride(StandInResponse::json(answer), false);
    setSettings({{"hosts/qiniuUpload", hostSet ? QVariant(m_store.server->baseUrl()) : QVariant()},
                 {"hosts/qiniuUc", answer == "unreachable" ? "http://127.0.0.1:1" : m_store.server->baseUrl()}});
    const QStringList files{m_store.file("r1.txt", "one"), m_store.file("r2.txt", "two")};
    const RunResult result = runUpload(addQiniu(bucket), files);
    setSettings({{"hosts/qiniuUpload", m_store.server->baseUrl()}, {"hosts/qiniuUc", QVariant()}});

    QCOMPARE(result.json.value("error").toObject().value("code").toInt(), errorCode);
    QCOMPARE(m_store.server->objects.size(), storedHere);
    QCOMPARE(far.objects.size(), storedFar);
    QVERIFY2(m_store.server->problems().isEmpty() && far.problems().isEmpty(), qPrintable(far.problems().join("; ")));
    const auto queries = std::count_if(m_store.server->requests().cbegin(), m_store.server->requests().cend(),
                                       [](const StandInRequest &request) { return request.path == QLatin1String("/v4/query"); });
    QCOMPARE(queries, hostSet || answer == "unreachable" || bucket.isEmpty() ? 0 : 1);
    if (errorCode) {
        QCOMPARE(m_store.server->requestCount() + far.requestCount(), queries);
        QVERIFY2(result.json.value("notification").toObject().value("body").toString().contains(bucket), result.output.constData());
    }
}

// Many answers at nearly the same moment, some of them refusals and retries: each is
// counted once and the result step runs once, with every link.
void UploadQiniuTest::answersTogether()
{
    QStringList files;
    for (int i = 0; i < 40; ++i)
        files << m_store.file(QStringLiteral("f%1.txt").arg(i), QByteArray::number(i));
    for (int i = 0; i < 40; i += 4)
        m_store.server->objects.insert(QStringLiteral("shots/f%1.txt").arg(i), "older");
    m_store.server->failingKeys = {QStringLiteral("f1.txt"), QStringLiteral("f2.txt")};
    const QString id = addQiniu();
    QVERIFY(!id.isEmpty());
    QStringList links;
    for (int i = 0; i < 40; ++i) {
        if (i != 1 && i != 2)
            links << domain + QString::fromLatin1(i % 4 ? "/f%1.txt" : "/f%1-1.txt").arg(i);
    }
    checkRun(*m_store.server, runUpload(id, files), files, true, 3002, links, {secretKey});
    QCOMPARE(m_store.server->objects.size(), 10 + 38);
}

void UploadQiniuTest::stalled_data()
{
    QTest::addColumn<bool>("stopReading"); // else: headers of an answer, then silence
    QTest::addColumn<int>("size");
    QTest::newRow("stops reading a large file") << true << 16 * 1024 * 1024;
    QTest::newRow("answer stalls after its headers") << false << 1000;
}

// A store that takes the connection and then goes silent fails the run once the transfer
// has moved nothing for the stall limit (shortened here through its setting), not sooner,
// and not never.
void UploadQiniuTest::stalled()
{
    QFETCH(bool, stopReading);
    QFETCH(int, size);

    // Qt's coarse timers may fire up to 5 % early.
    const int limitMs = 1500;
    const int earliestMs = limitMs * 95 / 100;
    setSettings({{QStringLiteral("network/transferTimeout"), limitMs}});
    const QStringList files{m_store.file("stall.bin", QByteArray(size, 's')), m_store.file("second.txt", "second")};
    if (stopReading) {
        m_store.server->setStopReading(true);
    } else {
        StandInResponse stall;
        stall.behaviour = StandInResponse::Behaviour::Stall;
        m_store.server->setOverride(stall, false);
    }
    const QString id = addQiniu();
    QVERIFY(!id.isEmpty());
    const RunResult result = runUpload(id, files);
    setSettings({{QStringLiteral("network/transferTimeout"), QVariant()}});

    QCOMPARE(result.json.value("success").toBool(), false);
    QCOMPARE(result.json.value("error").toObject().value("code").toInt(), 3003);
    QVERIFY(result.json.value("pasteboard").isNull());
    if (stopReading)
        QVERIFY(m_store.server->stoppedConnections() >= 2);
    else
        QVERIFY(m_store.server->requestCount() >= 2);
    QVERIFY2(result.elapsedMs >= earliestMs, qPrintable(QString::number(result.elapsedMs)));
    QVERIFY2(result.elapsedMs < 15000, qPrintable(QString::number(result.elapsedMs)));
    const QString progress = progressProblem(result, batchSize(files));
    QVERIFY2(progress.isEmpty(), qPrintable(progress));
}

// Every stored link is kept with its time, file and store, newest first; failures are not;
// the hundred latest stay; no key ever shows.
void UploadQiniuTest::history()
{
    const QString path = historyFile();
    QFile::remove(path);
    QStringList first;
    for (const QString &name : {QStringLiteral("h1.txt"), QStringLiteral("h fails.txt"), QStringLiteral("h2.txt")})
        first << m_store.file(name, name.toUtf8());
    m_store.server->failingKeys = {QStringLiteral("h fails.txt")};
    const QString id = addQiniu();
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
        QCOMPARE(entry.value("url").toString(), domain + '/' + entry.value("fileName").toString());
        const QDateTime time = QDateTime::fromString(entry.value("time").toString(), Qt::ISODateWithMs);
        QVERIFY2(time >= before && time <= QDateTime::currentDateTimeUtc(), qPrintable(entry.value("time").toString()));
    }
    names.sort();
    QCOMPARE(names, (QStringList{"h1.txt", "h2.txt"}));
    QVERIFY(listing.contains(domain.toUtf8() + "/h2.txt"));

    // A hundred more: the first run's links are the oldest and go; the newest come first.
    QStringList hundred;
    for (int i = 0; i < 100; ++i)
        hundred << m_store.file(QStringLiteral("n%1.txt").arg(i, 3, 10, QLatin1Char('0')), QByteArray::number(i));
    m_store.server->failingKeys.clear();
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
    for (const QString &secret : {secretKey, accessKey})
        QVERIFY2(!everything.contains(secret.toUtf8()), qPrintable(secret));
}

// Dropped image data, which the command line never hands to a file action: one upload
// under a random name with ".jpg", run in this process.
void UploadQiniuTest::imageData()
{
    Translations::install({QStringLiteral("en")});
    QVERIFY(ActionStore::instance()->openStore());
    Platform::settingsBackend()->setValue(QStringLiteral("hosts/qiniuUpload"), m_store.server->baseUrl());
    const DropListEntityPtr drop = ActionStore::instance()->getNewDrop(1, 12, 0);
    QVERIFY(drop && drop->fileUploadQiNiu());
    drop->fileUploadQiNiu()->setQiniuAccessKey(accessKey);
    drop->fileUploadQiNiu()->setQiniuSecretKey(secretKey);
    drop->fileUploadQiNiu()->setQiniuSpaceName(QStringLiteral("shots"));
    drop->fileUploadQiNiu()->setQiniuDomain(domain);
    const QByteArray bytes = samplePng(9);
    dropImages({}, bytes);
    const Outcome outcome = runAction(drop, 1, 20000, 300);
    QCOMPARE(outcome.calls, 1);
    QVERIFY(outcome.success);
    QVERIFY2(m_store.server->problems().isEmpty(), qPrintable(m_store.server->problems().join("; ")));
    QCOMPARE(m_store.server->objects.size(), 1);
    const QString key = m_store.server->objects.keys().first();
    QVERIFY2(QRegularExpression(QStringLiteral("^shots/[0-9a-z]{5}\\.jpg$")).match(key).hasMatch(), qPrintable(key));
    QCOMPARE(m_store.server->objects.value(key), bytes);
    QCOMPARE(outcome.pasted, domain + '/' + key.section('/', 1));
}

QTEST_GUILESS_MAIN(UploadQiniuTest)
#include "tst_uploadqiniu.moc"
