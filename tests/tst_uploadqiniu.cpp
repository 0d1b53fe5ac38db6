#include "servers/qiniustandin.h"
#include "uploadtestsupport.h"

#include "droplistentity.h"
#include "fileuploadqinniu.h"
#include "korvanecoredatahelper.h"
#include "korvanehandledata.h"
#include "korvanehandlepbhelper.h"
#include "korvaneplatform.h"
#include "headlessclipboard.h"
#include "korvanetranslations.h"
#include "korvaneuserdefaults.h"

#include <QDate>
#include <QRegularExpression>
#include <QTemporaryDir>

using namespace UploadTestSupport;

// The Qiniu upload through korvane run: the form upload with its token, the retry names on
// 614, counting and the result step.
class UploadQiniuTest final : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
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
    std::unique_ptr<QiniuStandIn> m_server;
    QTemporaryDir m_dir;
};

namespace {

const QString accessKey = QStringLiteral("qiniuAccessKey-7h3k");
const QString secretKey = QStringLiteral("qiniuSecret-Zz9-private");
const QString domain = QStringLiteral("http://files.example.org");

} // namespace

void UploadQiniuTest::initTestCase()
{
    QVERIFY(m_dir.isValid());
    QVERIFY(!korvane().isEmpty());
}

void UploadQiniuTest::init()
{
    m_server = std::make_unique<QiniuStandIn>();
    QVERIFY(m_server->start());
    m_server->secretKeys.insert(accessKey, secretKey);
    m_server->buckets.insert(QStringLiteral("shots"));
    setHosts({{QStringLiteral("qiniuUpload"), m_server->baseUrl()}});
}

void UploadQiniuTest::upload_data()
{
    QTest::addColumn<QStringList>("names");
    QTest::addColumn<int>("suffixType");
    QTest::addColumn<QString>("secret");        // the secret key the action is given
    QTest::addColumn<QStringList>("existing");  // keys already in the bucket
    QTest::addColumn<QStringList>("failing");
    QTest::addColumn<QStringList>("keys");      // keys stored by the run
    QTest::addColumn<QStringList>("attempts");  // keys asked for, sorted
    QTest::addColumn<bool>("success");
    QTest::addColumn<int>("errorCode");

    const QString today = QDate::currentDate().toString(QStringLiteral("yyyyMMdd"));
    QTest::newRow("new key") << QStringList{"a.png"} << 0 << secretKey << QStringList{} << QStringList{}
                             << QStringList{"a.png"} << QStringList{"a.png"} << true << 0;
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

    QTemporaryDir dir;
    QStringList files;
    QList<QByteArray> contents;
    for (int i = 0; i < names.size(); ++i) {
        // One larger file, so that its request reports progress before it is answered.
        contents << (names[i].endsWith(".png") ? png(i)
                     : i == 1              ? QByteArray(3 * 1024 * 1024, 't')
                                           : QByteArray("some text ") + QByteArray::number(i));
        files << writeFile(QDir(dir.path()), names[i], contents.last());
    }
    for (const QString &key : existing)
        m_server->objects.insert("shots/" + key, "older object");
    m_server->failingKeys = QSet<QString>(failing.cbegin(), failing.cend());
    const QString id = addAction(12, {"qiniuAccessKey=" + accessKey, "qiniuSecretKey=" + secret, "qiniuSpaceName=shots",
                                      "qiniuDomain=" + domain, QStringLiteral("suffixType=%1").arg(suffixType)});
    QVERIFY(!id.isEmpty());

    const RunResult result = run(id, files);
    QVERIFY2(m_server->problems().isEmpty(), qPrintable(m_server->problems().join("; ")));
    QCOMPARE(result.json.value("success").toBool(), success);
    const QJsonValue error = result.json.value("error");
    QCOMPARE(error.isNull(), errorCode == 0);
    if (errorCode) {
        QCOMPARE(error.toObject().value("code").toInt(), errorCode);
        if (success)
            QVERIFY(error.toObject().value("message").toString().contains(QString::number(failing.size())));
    }
    QStringList asked = m_server->attempts;
    asked.sort();
    QCOMPARE(asked, attempts);

    for (int i = 0; i < keys.size(); ++i) {
        QVERIFY2(m_server->objects.contains("shots/" + keys[i]), qPrintable(keys[i]));
    }
    if (names.size() == 1 && !keys.isEmpty())
        QCOMPARE(m_server->objects.value("shots/" + keys.first()), contents.first());
    QCOMPARE(m_server->objects.size(), existing.size() + keys.size());

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
    QVERIFY(!result.output.contains(secretKey.toUtf8()));
    // Retries under another name and refusals alike: the batch's bytes, never going back.
    const QString progress = progressProblem(result, batchSize(files));
    QVERIFY2(progress.isEmpty(), qPrintable(progress));
}

void UploadQiniuTest::regions_data()
{
    QTest::addColumn<QString>("bucket");
    QTest::addColumn<QByteArray>("answer");  // the region query's answer; empty: the stand-in's own
    QTest::addColumn<bool>("hostSet");       // hosts/qiniuUpload names this region's host
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
    m_server->regions = {{"shots", QUrl(m_server->baseUrl()).authority()}, {"far", QUrl(far.baseUrl()).authority()}};
    if (!answer.isEmpty())
        m_server->setOverride(StandInResponse::json(answer), false);
    setSettings({{"hosts/qiniuUpload", hostSet ? QVariant(m_server->baseUrl()) : QVariant()},
                 {"hosts/qiniuUc", answer == "unreachable" ? "http://127.0.0.1:1" : m_server->baseUrl()}});
    QTemporaryDir dir;
    const QStringList files{writeFile(QDir(dir.path()), "r1.txt", "one"), writeFile(QDir(dir.path()), "r2.txt", "two")};
    const RunResult result = run(addAction(12, {"qiniuAccessKey=" + accessKey, "qiniuSecretKey=" + secretKey,
                                                "qiniuSpaceName=" + bucket, "qiniuDomain=" + domain}), files);
    setSettings({{"hosts/qiniuUpload", m_server->baseUrl()}, {"hosts/qiniuUc", QVariant()}});

    QCOMPARE(result.json.value("error").toObject().value("code").toInt(), errorCode);
    QCOMPARE(m_server->objects.size(), storedHere);
    QCOMPARE(far.objects.size(), storedFar);
    QVERIFY2(m_server->problems().isEmpty() && far.problems().isEmpty(), qPrintable(far.problems().join("; ")));
    const auto queries = std::count_if(m_server->requests().cbegin(), m_server->requests().cend(),
                                       [](const StandInRequest &request) { return request.path == QLatin1String("/v4/query"); });
    QCOMPARE(queries, hostSet || answer == "unreachable" || bucket.isEmpty() ? 0 : 1);
    if (errorCode) {
        QCOMPARE(m_server->requestCount() + far.requestCount(), queries);
        QVERIFY2(result.json.value("notification").toObject().value("body").toString().contains(bucket), result.output.constData());
    }
}

// Many answers at nearly the same moment, some of them refusals and retries: each is
// counted once and the result step runs once, with every link.
void UploadQiniuTest::answersTogether()
{
    QTemporaryDir dir;
    QStringList files;
    for (int i = 0; i < 40; ++i)
        files << writeFile(QDir(dir.path()), QStringLiteral("f%1.txt").arg(i), QByteArray::number(i));
    for (int i = 0; i < 40; i += 4)
        m_server->objects.insert(QStringLiteral("shots/f%1.txt").arg(i), "older");
    m_server->failingKeys = {QStringLiteral("f1.txt"), QStringLiteral("f2.txt")};
    const QString id = addAction(12, {"qiniuAccessKey=" + accessKey, "qiniuSecretKey=" + secretKey, "qiniuSpaceName=shots",
                                      "qiniuDomain=" + domain});
    QVERIFY(!id.isEmpty());
    const RunResult result = run(id, files);
    QVERIFY2(m_server->problems().isEmpty(), qPrintable(m_server->problems().join("; ")));
    QVERIFY(result.json.value("success").toBool());
    QCOMPARE(result.json.value("error").toObject().value("code").toInt(), 3002);
    QVERIFY(result.json.value("error").toObject().value("message").toString().contains("2"));
    const QStringList lines = pasted(result).split('\n');
    QCOMPARE(lines.size(), 38);
    QCOMPARE(QSet<QString>(lines.cbegin(), lines.cend()).size(), 38);
    QVERIFY(lines.contains(domain + "/f0-1.txt"));
    QVERIFY(lines.contains(domain + "/f5.txt"));
    QCOMPARE(m_server->objects.size(), 10 + 38);
    const QString progress = progressProblem(result, batchSize(files));
    QVERIFY2(progress.isEmpty(), qPrintable(progress));
}

void UploadQiniuTest::stalled_data()
{
    QTest::addColumn<bool>("stopReading");  // else: headers of an answer, then silence
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
    QTemporaryDir dir;
    const QStringList files{writeFile(QDir(dir.path()), "stall.bin", QByteArray(size, 's')),
                            writeFile(QDir(dir.path()), "second.txt", "second")};
    if (stopReading) {
        m_server->setStopReading(true);
    } else {
        StandInResponse stall;
        stall.behaviour = StandInResponse::Behaviour::Stall;
        m_server->setOverride(stall, false);
    }
    const QString id = addAction(12, {"qiniuAccessKey=" + accessKey, "qiniuSecretKey=" + secretKey, "qiniuSpaceName=shots",
                                      "qiniuDomain=" + domain});
    QVERIFY(!id.isEmpty());
    const RunResult result = run(id, files);
    setSettings({{QStringLiteral("network/transferTimeout"), QVariant()}});

    QCOMPARE(result.json.value("success").toBool(), false);
    QCOMPARE(result.json.value("error").toObject().value("code").toInt(), 3003);
    QVERIFY(result.json.value("pasteboard").isNull());
    if (stopReading)
        QVERIFY(m_server->stoppedConnections() >= 2);
    else
        QVERIFY(m_server->requestCount() >= 2);
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
    QTemporaryDir dir;
    QStringList first;
    for (const QString &name : {QStringLiteral("h1.txt"), QStringLiteral("h fails.txt"), QStringLiteral("h2.txt")})
        first << writeFile(QDir(dir.path()), name, name.toUtf8());
    m_server->failingKeys = {QStringLiteral("h fails.txt")};
    const QString id = addAction(12, {"qiniuAccessKey=" + accessKey, "qiniuSecretKey=" + secretKey, "qiniuSpaceName=shots",
                                      "qiniuDomain=" + domain});
    QVERIFY(!id.isEmpty());
    const QDateTime before = QDateTime::currentDateTimeUtc().addSecs(-1);
    QVERIFY(run(id, first).json.value("success").toBool());

    QByteArray listing;
    QJsonArray entries = UploadTestSupport::history(&listing);
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
        hundred << writeFile(QDir(dir.path()), QStringLiteral("n%1.txt").arg(i, 3, 10, QLatin1Char('0')), QByteArray::number(i));
    m_server->failingKeys.clear();
    QTest::qWait(20);
    const QDateTime second = QDateTime::currentDateTimeUtc();
    const RunResult result = run(id, hundred);
    QVERIFY(result.json.value("success").toBool());
    QVERIFY(result.json.value("error").isNull());
    entries = UploadTestSupport::history(&listing);
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
    KorvaneTranslations::install({QStringLiteral("en")});
    QVERIFY(KorvaneCoreDataHelper::shareInstance()->persistentStoreCoordinator());
    KorvanePlatform::userDefaults()->setValue(QStringLiteral("hosts/qiniuUpload"), m_server->baseUrl());
    const DropListEntityPtr drop = KorvaneCoreDataHelper::shareInstance()->getNewDrop(1, 12, 0);
    QVERIFY(drop && drop->fileUploadQiNiu());
    drop->fileUploadQiNiu()->setQiniuAccessKey(accessKey);
    drop->fileUploadQiNiu()->setQiniuSecretKey(secretKey);
    drop->fileUploadQiNiu()->setQiniuSpaceName(QStringLiteral("shots"));
    drop->fileUploadQiNiu()->setQiniuDomain(domain);
    const QByteArray bytes = png(9);
    KorvaneHandleData::shareInstance()->setImageData(bytes);
    int calls = 0;
    bool success = false;
    bool inside = true;
    KorvaneHandlePbHelper::handleDropEntity(drop, [&](bool ok, const KorvaneError &) {
        QVERIFY(!inside);
        ++calls;
        success = ok;
    });
    inside = false;
    QTRY_COMPARE_WITH_TIMEOUT(calls, 1, 20000);
    QTest::qWait(300);
    QCOMPARE(calls, 1);
    QVERIFY(success);
    QVERIFY2(m_server->problems().isEmpty(), qPrintable(m_server->problems().join("; ")));
    QCOMPARE(m_server->objects.size(), 1);
    const QString key = m_server->objects.keys().first();
    QVERIFY2(QRegularExpression(QStringLiteral("^shots/[0-9a-z]{5}\\.jpg$")).match(key).hasMatch(), qPrintable(key));
    QCOMPARE(m_server->objects.value(key), bytes);
    QCOMPARE(static_cast<HeadlessClipboard *>(KorvanePlatform::clipboard())->text(), domain + '/' + key.section('/', 1));
}

QTEST_GUILESS_MAIN(UploadQiniuTest)
#include "tst_uploadqiniu.moc"
