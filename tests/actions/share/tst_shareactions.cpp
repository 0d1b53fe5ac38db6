#include "support/actionrun.h"
#include "support/files.h"
#include "support/logcapture.h"

#include "store/mailfilessettings.h"
#include "actions/file/filemanager.h"
#include "store/messagefilessettings.h"
#include "store/addtophotossettings.h"
#include "store/actionstore.h"
#include "actions/share/shareactions.h"
#include "actions/text/translations.h"
#include "support/sharestandins.h"
#include "actions/share/shareservice.h"
#include "store/mailtextsettings.h"
#include "store/messagetextsettings.h"

#include <QImage>
#include <QTemporaryDir>
#include <QRegularExpression>
#include <QTest>

using namespace KorvaneTest;

namespace {

QImage testImage(int width, int height, QRgb colour)
{
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(colour);
    image.setPixel(0, 0, qRgb(1, 2, 3));
    return image;
}

} // namespace

class ShareActionsTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void init();
    void mail_data();
    void mail();
    void mailWithoutComposer();
    void kdeConnectSends_data();
    void kdeConnectSends();
    void kdeConnectFailures_data();
    void kdeConnectFailures();
    void airDropText();
    void photosFromFiles();
    void photosOnlySvg();
    void nothingToShare_data();
    void nothingToShare();

private:
    static Outcome run(const DropListEntityPtr &drop) { return KorvaneTest::runAction(drop, 1, 10000); }
    static DropListEntityPtr newDrop(qint64 catalog, qint64 type)
    {
        return ActionStore::instance()->getNewDrop(catalog, type, 0);
    }
    // Typed into the popover, or dropped.
    static void dropText(const QString &text, bool typed)
    {
        if (typed)
            *KorvaneTest::dropped() = DropPayload::fromText(text);
        else
            dropItems({"text:" + text});
    }
    QString file(const QString &name) const { return m_dir.filePath(QStringLiteral("in/") + name); }
    // "text:" typed text or "drop:" dropped text, else files ("/" ends a folder) in drop order.
    void dropAll(QStringList items)
    {
        if (items.first().startsWith("text:") || items.first().startsWith("drop:"))
            return dropText(items.first().mid(5), items.first().startsWith("text:"));
        for (QString &item : items) {
            QVERIFY(item.endsWith('/') ? QDir().mkpath(file(item)) : writeFile(file(item), item.toUtf8()));
            item = file(item);
        }
        dropItems(items);
    }
    QString record() const { return m_dir.filePath(QStringLiteral("record")); }
    void usePath(const QString &path) { qputenv("PATH", QFile::encodeName(path)); }

    QTemporaryDir m_dir;
    QString m_bin;
    HeadlessNotifier *m_notifier = nullptr;
    RecordingUrlOpener *m_opener = nullptr;
};

void ShareActionsTest::initTestCase()
{
    QVERIFY(m_dir.isValid());
    qputenv("HOME", QFile::encodeName(m_dir.filePath(QStringLiteral("home"))));
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(m_dir.filePath(QStringLiteral("config"))));
    qputenv("XDG_DATA_HOME", QFile::encodeName(m_dir.filePath(QStringLiteral("data"))));
    Translations::install({QStringLiteral("en")});
    QVERIFY(ActionStore::instance()->openStore());
    m_bin = m_dir.filePath(QStringLiteral("bin"));
    QVERIFY(KorvaneTest::installShareStandIns(m_bin, record()));
    QCOMPARE(ShareService::photoFolder(), m_dir.filePath(QStringLiteral("home/Pictures/Korvane")));
}

void ShareActionsTest::init()
{
    m_notifier = install<HeadlessNotifier>(&Platform::setNotifier);
    m_opener = install<RecordingUrlOpener>(&Platform::setUrlOpener);
    QDir(record()).removeRecursively();
    QDir().mkpath(record());
    QDir(ShareService::photoFolder()).removeRecursively();
    usePath(m_bin);
    qputenv("KDECONNECT_DEVICES", "3f2a9c\nsecond\n");
    qunsetenv("KDECONNECT_LIST_STATUS");
    qunsetenv("KDECONNECT_SEND_STATUS");
}

// Files are attached, images first, then other files, then videos, each in drop order; a folder
// cannot be attached and an empty recipient is not passed on. Text goes in the body however it
// came; no subject is set, and option-like text stays a value, emoticon codes as typed.
void ShareActionsTest::mail_data()
{
    QTest::addColumn<QStringList>("items");
    QTest::addColumn<QStringList>("sent"); // "@" stands for the files' folder
    const QString text = QStringLiteral("--attach /etc/passwd [(微笑)] [(nothing)]\nsecond line");
    QTest::newRow("files") << QStringList{"v.mp4", "b.png", "notes.txt", "folder/", "a.jpg"}
                           << QStringList{"--utf8", "--subject", "Quarterly report", "--to", "a@x.org", "--to", "b@y.org", "--attach", "@/b.png",
                                          "--attach", "@/a.jpg", "--attach", "@/notes.txt", "--attach", "@/v.mp4"};
    QTest::newRow("typed text") << QStringList{"text:" + text} << QStringList{"--utf8", "--to", "-attach@x.org", "--body", text};
    QTest::newRow("dropped text") << QStringList{"drop:" + text} << QStringList{"--utf8", "--to", "-attach@x.org", "--body", text};
}

void ShareActionsTest::mail()
{
    QFETCH(QStringList, items);
    QFETCH(QStringList, sent);
    const bool text = items.first().startsWith("text:") || items.first().startsWith("drop:");
    dropAll(items);
    const auto drop = newDrop(text ? 0 : 1, text ? 3 : 10);
    if (text) {
        drop->mailTextSettings()->setRecipients(QStringLiteral("-attach@x.org"));
    } else {
        drop->mailFilesSettings()->setRecipients(QStringLiteral("a@x.org,b@y.org,"));
        drop->mailFilesSettings()->setTitle(QStringLiteral("Quarterly report"));
    }
    const Outcome outcome = run(drop);
    QCOMPARE(outcome.calls, 1);
    QVERIFY(outcome.success);
    QVERIFY(m_notifier->posted().isEmpty());
    QTRY_COMPARE(recordedCalls(record(), "xdg-email").size(), 1);
    QCOMPARE(recordedCalls(record(), "xdg-email").first(), sent.replaceInStrings(QRegularExpression("^@"), file(QString()).chopped(1)));
}

void ShareActionsTest::mailWithoutComposer()
{
    usePath(m_dir.filePath(QStringLiteral("nothing-here")));
    dropText(QStringLiteral("hello"), true);
    const auto drop = newDrop(0, 3);
    QTest::ignoreMessage(QtWarningMsg, "请配置邮箱账号");
    QTest::ignoreMessage(QtWarningMsg, "xdg-email could not be started: install xdg-utils and set up a mail client");
    const Outcome outcome = run(drop);
    QCOMPARE(outcome.calls, 1);
    QVERIFY(outcome.success);
    QVERIFY(m_notifier->posted().isEmpty());
}

void ShareActionsTest::kdeConnectSends_data()
{
    QTest::addColumn<int>("catalog");
    QTest::addColumn<int>("type");
    QTest::addColumn<QString>("recipients"); // none when null
    QTest::addColumn<QStringList>("items");
    QTest::addColumn<QList<QStringList>>("sent"); // after the device list; "@" stands for the files' folder
    QTest::addColumn<QString>("body"); // of the notification, none when empty
    const QStringList device{"-d", "3f2a9c"};
    QTest::newRow("one message per recipient") << 0 << 4 << "+8613800000000,,+4930123" << QStringList{"text:see you at 8"}
                                               << QList<QStringList>{QStringList{"--send-sms", "see you at 8", "--destination", "+8613800000000"} + device,
                                                                     QStringList{"--send-sms", "see you at 8", "--destination", "+4930123"} + device}
                                               << "";
    QTest::newRow("no recipient: shared as text") << 0 << 4 << QString() << QStringList{"text:-x note"}
                                                  << QList<QStringList>{QStringList{"--share-text", "-x note"} + device} << "";
    QTest::newRow("message of files, images first") << 1 << 11 << "+100" << QStringList{"doc.pdf", "pic.png"}
                                                    << QList<QStringList>{QStringList{"--share", "@/pic.png"} + device, QStringList{"--share", "@/doc.pdf"} + device}
                                                    << "";
    QTest::newRow("nearby share of files, folders last") << 1 << 7 << QString() << QStringList{"album/", "one.png", "two.jpg"}
                                                         << QList<QStringList>{QStringList{"--share", "@/one.png"} + device, QStringList{"--share", "@/two.jpg"} + device,
                                                                               QStringList{"--share", "@/album/"} + device}
                                                         << "3 files shared.";
}

void ShareActionsTest::kdeConnectSends()
{
    QFETCH(int, catalog);
    QFETCH(int, type);
    QFETCH(QString, recipients);
    QFETCH(QStringList, items);
    QFETCH(QList<QStringList>, sent);
    QFETCH(QString, body);
    dropAll(items);
    const auto drop = newDrop(catalog, type);
    if (!recipients.isNull())
        catalog == 0 ? drop->messageTextSettings()->setRecipients(recipients) : drop->messageFilesSettings()->setRecipients(recipients);
    const Outcome outcome = run(drop);
    QCOMPARE(outcome.calls, 1);
    QVERIFY(outcome.success);
    QVERIFY(outcome.error.isNull());
    // Nearby sharing waits a moment, so that its notice does not cover the drop's own.
    QVERIFY(body.isEmpty() || outcome.elapsedMs >= 290);
    QCOMPARE(m_notifier->posted().size(), body.isEmpty() ? 0 : 1);
    if (!body.isEmpty())
        QCOMPARE(m_notifier->posted().first().body, body);
    for (QStringList &call : sent)
        call.replaceInStrings(QRegularExpression("^@"), file(QString()).chopped(1));
    QCOMPARE(recordedCalls(record(), "kdeconnect-cli"), (QList<QStringList>{{"--list-available", "--id-only"}} + sent));
}

void ShareActionsTest::kdeConnectFailures_data()
{
    QTest::addColumn<bool>("installed");
    QTest::addColumn<QByteArray>("devices");
    QTest::addColumn<QByteArray>("listStatus");
    QTest::addColumn<QByteArray>("sendStatus");
    QTest::addColumn<QString>("key");
    QTest::addColumn<int>("sends");
    QTest::newRow("not installed") << false << QByteArray("dev") << QByteArray("0") << QByteArray("0") << "ShareNeedsKDEConnect" << 0;
    QTest::newRow("no paired device") << true << QByteArray() << QByteArray("0") << QByteArray("0") << "ShareNeedsPairedDevice" << 0;
    QTest::newRow("blank lines only") << true << QByteArray("\n \n") << QByteArray("0") << QByteArray("0") << "ShareNeedsPairedDevice" << 0;
    QTest::newRow("daemon not running") << true << QByteArray("dev") << QByteArray("1") << QByteArray("0") << "ShareNeedsPairedDevice" << 0;
    QTest::newRow("send refused") << true << QByteArray("dev") << QByteArray("0") << QByteArray("1") << "ShareSendFailed" << 1;
}

void ShareActionsTest::kdeConnectFailures()
{
    QFETCH(bool, installed);
    QFETCH(QByteArray, devices);
    QFETCH(QByteArray, listStatus);
    QFETCH(QByteArray, sendStatus);
    QFETCH(QString, key);
    QFETCH(int, sends);
    if (!installed)
        usePath(m_dir.filePath(QStringLiteral("nothing-here")));
    qputenv("KDECONNECT_DEVICES", devices);
    qputenv("KDECONNECT_LIST_STATUS", listStatus);
    qputenv("KDECONNECT_SEND_STATUS", sendStatus);
    QVERIFY(writeFile(file("a.txt"), "a"));
    QVERIFY(writeFile(file("b.txt"), "b"));
    const QString message = qtTrId(key.toUtf8().constData());
    QVERIFY(message != key);

    // Messages and nearby sharing fail alike, with the same code and a text that says what to do.
    const QList<DropListEntityPtr> drops{newDrop(0, 4),
                                         newDrop(1, 7),
                                         newDrop(1, 11)};
    drops.first()->messageTextSettings()->setRecipients(QStringLiteral("+100"));
    for (const auto &drop : drops) {
        if (drop->catalog() == 0)
            dropText(QStringLiteral("hi"), true);
        else
            dropItems({file("a.txt"), file("b.txt")});
        QDir(record()).removeRecursively();
        QDir().mkpath(record());
        const qsizetype posted = m_notifier->posted().size();
        const Outcome outcome = run(drop);
        QCOMPARE(outcome.calls, 1);
        QVERIFY(!outcome.success);
        QCOMPARE(outcome.error.code(), 4100);
        QCOMPARE(outcome.error.localizedDescription(), message);
        QCOMPARE(m_notifier->posted().size(), posted + 1);
        QCOMPARE(m_notifier->posted().last().body, message);
        QVERIFY(m_notifier->posted().last().title.endsWith(QStringLiteral(" failed")));
        // A refused send stops the rest of the items.
        QCOMPARE(recordedCalls(record(), "kdeconnect-cli").size(), installed ? 1 + sends : 0);
    }
}

void ShareActionsTest::airDropText()
{
    const QString text = QStringLiteral("a/b 中文 text that is longer than fifteen units");
    dropText(text, true);
    const Outcome outcome = run(newDrop(0, 9));
    QCOMPARE(outcome.calls, 1);
    QVERIFY(outcome.success);
    QVERIFY(outcome.elapsedMs >= 290);
    QCOMPARE(m_notifier->posted().size(), 1);
    QCOMPARE(m_notifier->posted().first().body, QStringLiteral("1 file shared."));
    const QList<QStringList> sent = recordedCalls(record(), "kdeconnect-cli");
    QCOMPARE(sent.size(), 2);
    const QString shared = sent.last().value(1);
    // The first 15 UTF-16 units without their "/".
    QCOMPARE(QFileInfo(shared).fileName(), QStringLiteral("ab 中文 text tha.txt"));
    QCOMPARE(QFileInfo(shared).absolutePath(), FileManager::cacheFolderPath());
    QCOMPARE(readFile(shared), text.toUtf8());
    QCOMPARE(sent.last(), (QStringList{"--share", shared, "-d", "3f2a9c"}));
}

void ShareActionsTest::photosFromFiles()
{
    const QString folder = ShareService::photoFolder();
    const QImage red = testImage(8, 6, qRgb(220, 0, 0));
    QVERIFY(red.save(file("a.png")));
    QVERIFY(testImage(5, 5, qRgb(0, 0, 220)).save(file("b.jpg"), "JPEG", 90));
    QVERIFY(writeFile(file("fake.png"), "this is text, not a picture"));
    QVERIFY(writeFile(file("x.svg"), "<svg xmlns='http://www.w3.org/2000/svg'/>"));
    QVERIFY(writeFile(file("clip.mp4"), QByteArray(3 << 20, 'v')));
    // Already in the photo folder under the wanted names; neither may be replaced.
    QVERIFY(writeFile(folder + "/a.png", "older a"));
    QVERIFY(writeFile(folder + "/a1.png", "older a1"));
    dropItems({file("a.png"), file("fake.png"), file("clip.mp4"), file("b.jpg")});
    // Classification keeps svg out of the images; a record filled another way may hold one.
    KorvaneTest::dropped()->imgFileUrls().insert(1, QUrl::fromLocalFile(file("x.svg")));

    const auto drop = newDrop(1, 6);
    drop->addToPhotosSettings()->setNeedLaunch(true);
    const Outcome outcome = run(drop);
    QCOMPARE(outcome.calls, 1);
    QVERIFY(outcome.success);
    // The svg is left out; the undecodable file still counts, as handed over.
    QCOMPARE(m_notifier->posted().last().body, QStringLiteral("4 items added to Pictures/Korvane."));
    QCOMPARE(m_opener->opened, QList<QUrl>{QUrl::fromLocalFile(folder + "/a2.png")});

    QCOMPARE(QDir(folder).entryList(QDir::Files, QDir::Name),
             (QStringList{"a.png", "a1.png", "a2.png", "b.jpg", "clip.mp4"}));
    QCOMPARE(readFile(folder + "/a.png"), QByteArray("older a"));
    QCOMPARE(readFile(folder + "/a1.png"), QByteArray("older a1"));
    QCOMPARE(readFile(folder + "/a2.png"), readFile(file("a.png")));
    QCOMPARE(readFile(folder + "/b.jpg"), readFile(file("b.jpg")));
    QCOMPARE(readFile(folder + "/clip.mp4"), readFile(file("clip.mp4")));
}

void ShareActionsTest::photosOnlySvg()
{
    QVERIFY(writeFile(file("x.svg"), "<svg xmlns='http://www.w3.org/2000/svg'/>"));
    DropPayload *data = KorvaneTest::dropped();
    dropItems({file("x.svg")});
    // Classification keeps svg out of the images; a drop made by hand may still hold one.
    data->setImgFileUrls({QUrl::fromLocalFile(file("x.svg")), QUrl::fromLocalFile(file("y.svg"))});
    data->setContainedFileType(FileKindAnyFile | FileKindImage);
    const Outcome outcome = run(newDrop(1, 6));
    QCOMPARE(outcome.calls, 1);
    QVERIFY(!outcome.success);
    QCOMPARE(outcome.error.code(), 4100);
    QCOMPARE(outcome.error.localizedDescription(), QStringLiteral("无法添加到照片"));
    QCOMPARE(m_notifier->posted().last().body, QStringLiteral("无法添加到照片"));
    QVERIFY(!QDir(ShareService::photoFolder()).exists());
}

void ShareActionsTest::nothingToShare_data()
{
    QTest::addColumn<int>("catalog");
    QTest::addColumn<int>("type");
    QTest::addColumn<QString>("text"); // dropped as text when not null; else a text file
    QTest::addColumn<int>("leastMs");
    QTest::newRow("nearby share of files, only text") << 1 << 7 << "only text" << 290;
    QTest::newRow("nearby share of empty text") << 0 << 9 << "" << 290;
    QTest::newRow("photos without images") << 1 << 6 << QString() << 0;
}

// A drop the action has nothing to do with fails quietly: no error, no notification, no call.
void ShareActionsTest::nothingToShare()
{
    QFETCH(int, catalog);
    QFETCH(int, type);
    QFETCH(QString, text);
    QFETCH(int, leastMs);
    QVERIFY(writeFile(file("notes.txt"), "notes"));
    if (text.isNull())
        dropItems({file("notes.txt")});
    else
        dropText(text, catalog == 0);
    const Outcome outcome = run(newDrop(catalog, type));
    QCOMPARE(outcome.calls, 1);
    QVERIFY(!outcome.success);
    QVERIFY(outcome.error.isNull());
    QVERIFY(outcome.elapsedMs >= leastMs);
    QVERIFY(m_notifier->posted().isEmpty());
    QVERIFY(recordedCalls(record(), "kdeconnect-cli").isEmpty());
    QVERIFY(!QDir(ShareService::photoFolder()).exists());
}

QTEST_GUILESS_MAIN(ShareActionsTest)
#include "tst_shareactions.moc"
