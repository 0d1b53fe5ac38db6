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

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

class ActionRunnerTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void init();
    void freeName_data();
    void freeName();
    void outputPath_data();
    void outputPath();
    void sizeDescription_data();
    void sizeDescription();
    void urlEncoding_data();
    void urlEncoding();
    void savePath_data();
    void savePath();
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
    auto clipboard = std::make_unique<HeadlessClipboard>();
    auto notifier = std::make_unique<HeadlessNotifier>();
    auto defaults = std::make_unique<QSettingsBackend>(m_dir.path() + QLatin1String("/korvane.conf"));
    m_clipboard = clipboard.get();
    m_notifier = notifier.get();
    m_defaults = defaults.get();
    m_defaults->remove(QStringLiteral("muteNotifi"));
    Platform::setClipboard(std::move(clipboard));
    Platform::setNotifier(std::move(notifier));
    Platform::setSettingsBackend(std::move(defaults));
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

void ActionRunnerTest::outputPath_data()
{
    QTest::addColumn<QString>("folder");
    QTest::addColumn<QString>("source");
    QTest::addColumn<QString>("endName");
    QTest::addColumn<QString>("expected");
    const char *rows[][5] = {
        {"folder and suffix", "/out", "/in/a.b.png", "-small", "/out/a.b-small"},
        {"folder, no suffix", "/out", "/in/photo.jpg", "", "/out/photo"},
        {"beside the source", "", "/in/photo.jpg", "_2", "/in/photo_2"},
        {"no folder, no suffix: the source itself", "", "/in/photo.jpg", "", "/in/photo.jpg"},
        {"no extension", "/out", "/in/README", "-x", "/out/README-x"},
        {"spaces and non-ASCII", "/my out", "/in/照片 1.heic", " 小", "/my out/照片 1 小"},
    };
    for (const auto &row : rows)
        QTest::newRow(row[0]) << row[1] << row[2] << row[3] << row[4];
}

void ActionRunnerTest::outputPath()
{
    QFETCH(QString, folder);
    QFETCH(QString, source);
    QFETCH(QString, endName);
    QFETCH(QString, expected);
    const QUrl folderUrl = folder.isEmpty() ? QUrl() : QUrl::fromLocalFile(folder);
    QCOMPARE(OutputNaming::destFile(folderUrl, QUrl::fromLocalFile(source), endName), expected);
}

void ActionRunnerTest::sizeDescription_data()
{
    QTest::addColumn<qint64>("bytes");
    QTest::addColumn<QString>("expected");
    QTest::newRow("0") << qint64(0) << "0B";
    QTest::newRow("1023") << qint64(1023) << "1023B";
    QTest::newRow("1024") << qint64(1024) << "1.00K";
    QTest::newRow("just under a mebibyte") << qint64(1048575) << "1024.00K";
    QTest::newRow("1048576") << qint64(1048576) << "1.00M";
    QTest::newRow("5 GiB") << qint64(5) * 1024 * 1024 * 1024 << "5120.00M";
}

void ActionRunnerTest::sizeDescription()
{
    QFETCH(qint64, bytes);
    QFETCH(QString, expected);
    QCOMPARE(OutputNaming::sizeText(bytes), expected);
}

void ActionRunnerTest::urlEncoding_data()
{
    QTest::addColumn<QString>("input");
    QTest::addColumn<QString>("expected");
    const char *rows[][3] = {
        {"query characters stay", "a&b=c+d?e/f:g@h", "a&b=c+d?e/f:g@h"},
        {"space", "hello world", "hello%20world"},
        {"percent and hash", "100% #1", "100%25%20%231"},
        {"UTF-8 bytes", "书", "%E4%B9%A6"},
        {"brackets and quotes", "[\"x\"]", "%5B%22x%22%5D"},
        {"empty", "", ""},
    };
    for (const auto &row : rows)
        QTest::newRow(row[0]) << row[1] << row[2];
}

void ActionRunnerTest::urlEncoding()
{
    QFETCH(QString, input);
    QFETCH(QString, expected);
    QCOMPARE(OutputNaming::urlEncoded(input), expected);
}

void ActionRunnerTest::savePath_data()
{
    QTest::addColumn<QString>("setting");
    QTest::addColumn<QString>("expected");
    const QString home = QDir::homePath();
    const std::tuple<const char *, const char *, QString> rows[] = {
        {"empty", "", ""}, {"home", "~", home}, {"in home", "~/Pictures", home + "/Pictures"}, {"absolute", "/srv/drop", "/srv/drop"}, {"tilde inside a name", "/srv/~x", "/srv/~x"}};
    for (const auto &[tag, setting, expected] : rows)
        QTest::newRow(tag) << setting << expected;
}

void ActionRunnerTest::savePath()
{
    QFETCH(QString, setting);
    QFETCH(QString, expected);
    const QUrl url = OutputNaming::savePathUrl(setting);
    QCOMPARE(url.isEmpty(), expected.isEmpty());
    if (!expected.isEmpty())
        QCOMPARE(url.toLocalFile(), expected);
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
