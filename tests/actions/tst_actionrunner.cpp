#include "intake/droppayload.h"
#include "store/droplistentity.h"
#include "platform/headless/headlessclipboard.h"
#include "platform/headless/headlessnotifier.h"
#include "store/actionstore.h"
#include "actions/actionrunner.h"
#include "actions/outputnaming.h"
#include "platform/platform.h"
#include "actions/text/translations.h"
#include "platform/xdg/qsettingsbackend.h"
#include "support/logcapture.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using namespace KorvaneTest;

class ActionRunnerTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void init();
    void freeName_data();
    void freeName();
    void naming();
    void notifications();
    void clipboardWriters();
    void unknownKindsDoNothing();
    void completionComesLater();

private:
    QTemporaryDir m_dir;
    HeadlessClipboard *m_clipboard = nullptr;
    HeadlessNotifier *m_notifier = nullptr;
    QSettingsBackend *m_defaults = nullptr;
};

void ActionRunnerTest::initTestCase()
{
    Translations::install({QStringLiteral("en-US")});
    qputenv("XDG_DATA_HOME", QFile::encodeName(m_dir.path() + QLatin1String("/data")));
}

void ActionRunnerTest::init()
{
    m_clipboard = install<HeadlessClipboard>(&Platform::setClipboard);
    m_notifier = install<HeadlessNotifier>(&Platform::setNotifier);
    m_defaults = install<QSettingsBackend>(&Platform::setSettingsBackend, m_dir.path() + QLatin1String("/korvane.conf"));
    m_defaults->remove(QStringLiteral("muteNotifi"));
}

void ActionRunnerTest::freeName_data()
{
    QTest::addColumn<QStringList>("existing");
    QTest::addColumn<QString>("wanted");
    QTest::addColumn<QString>("expected");
    const std::tuple<const char *, QStringList, const char *, const char *> rows[] = {
        {"free", {}, "a.b.png", "a.b.png"},
        {"taken twice", {"photo.jpg", "photo1.jpg"}, "photo.jpg", "photo2.jpg"},
        {"gap is reused", {"photo.jpg", "photo2.jpg"}, "photo.jpg", "photo1.jpg"},
        {"no suffix", {"notes"}, "notes", "notes1"},
        {"hidden file", {".profile"}, ".profile", ".profile1"},
        {"a folder counts", {"shots.png/"}, "shots.png", "shots1.png"},
        {"a dangling link counts", {"link.txt@"}, "link.txt", "link1.txt"},
    };
    for (const auto &[tag, existing, wanted, expected] : rows)
        QTest::newRow(tag) << existing << wanted << expected;
}

void ActionRunnerTest::freeName()
{
    QFETCH(QStringList, existing);
    QFETCH(QString, wanted);
    QFETCH(QString, expected);

    QTemporaryDir dir;
    for (const QString &name : existing) {
        if (name.endsWith(QLatin1Char('/'))) {
            QVERIFY(QDir(dir.path()).mkdir(name.chopped(1)));
        } else if (name.endsWith(QLatin1Char('@'))) {
            QVERIFY(QFile::link(dir.filePath(QStringLiteral("missing")), dir.filePath(name.chopped(1))));
        } else {
            QFile file(dir.filePath(name));
            QVERIFY(file.open(QIODevice::WriteOnly));
        }
    }
    QCOMPARE(OutputNaming::destFile(dir.filePath(wanted)), dir.filePath(expected));
}

// What the naming functions give: an output's path, a size as shown, text in a URL, and the
// folder a save path setting names (none for an empty one).
void ActionRunnerTest::naming()
{
    const auto output = [](const char *folder, const char *source, const char *endName) {
        return OutputNaming::destFile(*folder ? QUrl::fromLocalFile(folder) : QUrl(), QUrl::fromLocalFile(source), endName);
    };
    const auto folder = [](const char *setting) { return OutputNaming::savePathUrl(setting).toLocalFile(); };
    const QString home = QDir::homePath();
    const std::tuple<const char *, QString, QString> rows[] = {
        {"output: folder and suffix", output("/out", "/in/a.b.png", "-small"), "/out/a.b-small"},
        {"output: folder, no suffix", output("/out", "/in/photo.jpg", ""), "/out/photo"},
        {"output: beside the source", output("", "/in/photo.jpg", "_2"), "/in/photo_2"},
        {"output: no folder, no suffix: the source itself", output("", "/in/photo.jpg", ""), "/in/photo.jpg"},
        {"output: no extension", output("/out", "/in/README", "-x"), "/out/README-x"},
        {"output: spaces and non-ASCII", output("/my out", "/in/照片 1.heic", " 小"), "/my out/照片 1 小"},
        {"size 0", OutputNaming::sizeText(0), "0B"},
        {"size 1023", OutputNaming::sizeText(1023), "1023B"},
        {"size 1024", OutputNaming::sizeText(1024), "1.00K"},
        {"size just under a mebibyte", OutputNaming::sizeText(1048575), "1024.00K"},
        {"size 1048576", OutputNaming::sizeText(1048576), "1.00M"},
        {"size 5 GiB", OutputNaming::sizeText(qint64(5) * 1024 * 1024 * 1024), "5120.00M"},
        {"URL: query characters stay", OutputNaming::urlEncoded("a&b=c+d?e/f:g@h"), "a&b=c+d?e/f:g@h"},
        {"URL: space", OutputNaming::urlEncoded("hello world"), "hello%20world"},
        {"URL: percent and hash", OutputNaming::urlEncoded("100% #1"), "100%25%20%231"},
        {"URL: UTF-8 bytes", OutputNaming::urlEncoded("书"), "%E4%B9%A6"},
        {"URL: brackets and quotes", OutputNaming::urlEncoded("[\"x\"]"), "%5B%22x%22%5D"},
        {"URL: empty", OutputNaming::urlEncoded(""), ""},
        {"save path: empty", folder(""), ""},
        {"save path: home", folder("~"), home},
        {"save path: in home", folder("~/Pictures"), home + "/Pictures"},
        {"save path: absolute", folder("/srv/drop"), "/srv/drop"},
        {"save path: tilde inside a name", folder("/srv/~x"), "/srv/~x"},
    };
    for (const auto &[tag, given, expected] : rows)
        QVERIFY2(given == expected, qPrintable(QStringLiteral("%1: %2, not %3").arg(tag, given, expected)));
}

void ActionRunnerTest::notifications()
{
    ActionStore store;
    const auto drop = store.getNewDrop(1, 9, 0);
    drop->setTitle(QStringLiteral("Backup"));

    Notification done = ActionReply::resultNotification(true, *drop);
    QCOMPARE(done.title, QStringLiteral("Backup succeeded"));
    QVERIFY(done.body.isEmpty());
    QVERIFY(QFile::exists(done.attachmentImage));
    const Notification failed = ActionReply::resultNotification(false, *drop);
    QCOMPARE(failed.title, QStringLiteral("Backup failed"));
    QVERIFY(QFile::exists(failed.attachmentImage) && failed.attachmentImage != done.attachmentImage);

    done.body = QStringLiteral("3 files");
    const ActionReply reply;
    reply.notify(done);
    QCOMPARE(m_notifier->posted().size(), 1);
    QCOMPARE(m_notifier->posted().first().body, QStringLiteral("3 files"));

    // Muted: nothing is posted, but the clipboard still gets the result.
    m_defaults->setValue(QStringLiteral("muteNotifi"), 1);
    reply.notify(done);
    reply.copyText(QStringLiteral("result"));
    QCOMPARE(m_notifier->posted().size(), 1);
    QCOMPARE(m_clipboard->text(), QStringLiteral("result"));
    // Any other value does not mute.
    m_defaults->setValue(QStringLiteral("muteNotifi"), 2);
    reply.notify(done);
    QCOMPARE(m_notifier->posted().size(), 2);
}

void ActionRunnerTest::clipboardWriters()
{
    const ActionReply reply;
    reply.copyText(QStringLiteral("first"));
    reply.copyText(QString());
    reply.copyText(QStringLiteral(""));
    QCOMPARE(m_clipboard->writeCount(), 1);
    QCOMPARE(m_clipboard->text(), QStringLiteral("first"));

    reply.copyImageData(QByteArray("\x89PNGdata"));
    QCOMPARE(m_clipboard->content(), HeadlessClipboard::Content::ImageData);
    QCOMPARE(m_clipboard->imageMimeType(), QStringLiteral("image/png"));
    QVERIFY(m_clipboard->text().isEmpty());

    const QVariantList objects{QUrl(QStringLiteral("https://a.example/x.png")), QUrl::fromLocalFile(QStringLiteral("/d/b.png"))};
    reply.copyImages(objects);
    QCOMPARE(m_clipboard->objects(), objects);
    QCOMPARE(m_clipboard->pasteboard().items().size(), 2);
    reply.copyImages({});
    QCOMPARE(m_clipboard->content(), HeadlessClipboard::Content::Objects);
    QVERIFY(m_clipboard->objects().isEmpty());

    // Kept for the caller: the desktop sees nothing, and the one result holds the last
    // clipboard content, every notification and the end.
    const int writes = m_clipboard->writeCount();
    QList<ActionResult> results;
    const ActionReply kept = ActionReply::collecting(ActionReply::Delivery::ToCaller,
                                                     [&](const ActionResult &result) { results.append(result); });
    kept.copyImages(objects);
    kept.copyText(QStringLiteral("kept"));
    Notification notification;
    for (const char *title : {"one", "two"}) {
        notification.title = QLatin1String(title);
        kept.notify(notification);
    }
    Korvane::finishOnMain(kept, false, Korvane::Error(8101, QStringLiteral("no folder")));
    QTRY_COMPARE(results.size(), 1);
    QCOMPARE(m_clipboard->writeCount(), writes);
    QVERIFY(m_notifier->posted().isEmpty());
    const ActionResult &result = results.first();
    QCOMPARE(result.content, ActionResult::Content::Text);
    QCOMPARE(result.text, QStringLiteral("kept"));
    QCOMPARE(result.notifications.size(), 2);
    QCOMPARE(result.notifications.last().title, QStringLiteral("two"));
    QCOMPARE(result.outcome, Korvane::Outcome::Failed);
    QCOMPARE(result.error.code(), 8101);
}

void ActionRunnerTest::unknownKindsDoNothing()
{
    ActionStore store;
    const QPair<int, int> kinds[] = {{1, 18}, {0, 10}, {2, 0}, {0, 12}};
    for (const auto &kind : kinds) {
        const auto drop = store.getNewDrop(kind.first, kind.second, 0);
        if (kind.first == 2)
            drop->setCatalog(2);
        QList<Korvane::Outcome> reports;
        QVERIFY(!ActionRunner::canRun(*drop));
        ActionRunner::run(drop, DropPayload(), [&](Korvane::Outcome outcome, const Korvane::Error &) { reports.append(outcome); });
        QTRY_COMPARE(reports, QList<Korvane::Outcome>{Korvane::Outcome::NothingToReport});
    }
    QVERIFY(m_notifier->posted().isEmpty());
    QCOMPARE(m_clipboard->writeCount(), 0);
}

void ActionRunnerTest::completionComesLater()
{
    QList<Korvane::Outcome> reports;
    Korvane::Error seen;
    const Korvane::Completion completion = [&](Korvane::Outcome outcome, const Korvane::Error &error) {
        reports.append(outcome);
        seen = error;
    };
    Korvane::finishOnMain(completion, false, Korvane::Error(8101, QStringLiteral("no folder")));
    QVERIFY(reports.isEmpty());
    QTRY_COMPARE(reports, QList<Korvane::Outcome>{Korvane::Outcome::Failed});
    QCOMPARE(seen.localizedDescription(), QStringLiteral("no folder"));
    QTest::ignoreMessage(QtWarningMsg, "an action run reported a second time; the report is dropped");
    completion(true);
    QTest::ignoreMessage(QtWarningMsg, "an action run ended without reporting; it reports that it has nothing to report");
    Korvane::Completion([&](Korvane::Outcome outcome, const Korvane::Error &) { reports.append(outcome); });
    QTRY_COMPARE(reports, (QList<Korvane::Outcome>{Korvane::Outcome::Failed, Korvane::Outcome::NothingToReport}));
}

QTEST_GUILESS_MAIN(ActionRunnerTest)
#include "tst_actionrunner.moc"
