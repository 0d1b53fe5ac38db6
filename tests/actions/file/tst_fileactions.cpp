// Test data reads better with plain literals than with QStringLiteral around each.
#undef QT_NO_CAST_FROM_ASCII

#include "support/actionrun.h"
#include "support/korvanecli.h"
#include "support/files.h"

#include "actions/file/filemanager.h"
#include "store/renamesettings.h"
#include "store/actionstore.h"
#include "actions/file/fileactions.h"
#include "actions/text/translations.h"
#include "actions/file/renamejournal.h"

#include <QDate>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <tuple>

using namespace KorvaneTest;

using FileContents = QMap<QString, QByteArray>;

class KorvaneFileActionsTest final : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void renameNames_data();
    void renameNames();
    void renameAcrossFileSystems();
    void recovery_data();
    void recovery();
    void transfers_data();
    void transfers();
    void endToEnd_data();
    void endToEnd();
    void namesNotUtf8_data();
    void namesNotUtf8();

private:
    Outcome runAction(const DropListEntityPtr &drop, const QList<QUrl> &files);
    static QString tempFolder() { return FileManager::tempFolderPath(); }
};

void KorvaneFileActionsTest::initTestCase()
{
    Translations::install({QStringLiteral("en")});
    QVERIFY(qtTrId("renameSucceed") != QLatin1String("renameSucceed"));
    QVERIFY(ActionStore::instance()->openStore());
}

Outcome KorvaneFileActionsTest::runAction(const DropListEntityPtr &drop, const QList<QUrl> &files)
{
    DropPayload *data = KorvaneTest::dropped();
    data->setContainedFileType(FileKindAnyFile | FileKindOther);
    data->setAllFileUrls(files);
    data->setOtherFileUrls(files);
    data->setImgFileUrls({});
    data->setFolderFileUrls({});
    data->setVideoFileUrls({});
    const Outcome outcome = KorvaneTest::runAction(drop, 1, 20000, 20);
    [&] { QCOMPARE(outcome.calls, 1); }();
    return outcome;
}

// Files by relative path, content = the path itself; expected entries "new <- old", {d} for
// today's date. Bad settings or one unusable new name refuse the whole run and touch nothing.
void KorvaneFileActionsTest::renameNames_data()
{
    QTest::addColumn<QStringList>("files");
    QTest::addColumn<QVariantMap>("settings");
    QTest::addColumn<QStringList>("expected");
    QTest::addColumn<int>("code"); // 0: the run succeeds
    QTest::addColumn<QString>("body"); // in a refusal's message

    const QStringList abc{"a.txt", "b.txt", "c.txt"};
    const QStringList abc3{"a.txt", "b.txt", "a"};
    QStringList ten;
    QStringList tenExpected;
    for (int i = 0; i < 10; ++i) {
        ten << QStringLiteral("f%1.txt").arg(i);
        tenExpected << QStringLiteral("f%1{d}-%2.txt <- f%1.txt").arg(i).arg(i + 1, 2, 10, QLatin1Char('0'));
    }
    const QString l251(251, QLatin1Char('l'));
    const QString incomplete = qtTrId("optionNotSetProperly");
    const QVariantMap dated{{"needCustomize", true}, {"customizeType", 0}};
    const auto replace = [](const char *search, const QString &result) {
        return QVariantMap{{"needReplace", true}, {"relpaceSearchString", search}, {"replaceResultString", result}};
    };
    struct Row {
        const char *tag;
        QStringList files;
        QVariantMap settings;
        QStringList expected;
        int code = 0;
        QString body = {};
    };
    const Row rows[] = {
        {"date and sequence after", abc, dated, {"a{d}-1.txt <- a.txt", "b{d}-2.txt <- b.txt", "c{d}-3.txt <- c.txt"}},
        {"date before, custom name", abc, {{"needCustomize", true}, {"customizeType", 0}, {"customizePlaceType", 1}, {"customizeString", " x\t"}}, {"{d}x-1.txt <- a.txt", "{d}x-2.txt <- b.txt", "{d}x-3.txt <- c.txt"}},
        {"ten files, sequence width 2", ten, dated, tenExpected},
        {"number before, from 9", abc, {{"needCustomize", true}, {"customizeType", 1}, {"customizePlaceType", 1}, {"customizeStartNumber", 9}, {"customizeString", "pic"}}, {"09pic.txt <- a.txt", "10pic.txt <- b.txt", "11pic.txt <- c.txt"}},
        {"number only from 98 widens to 3", abc, {{"needCustomize", true}, {"customizeType", 3}, {"customizeStartNumber", 98}}, {"098.txt <- a.txt", "099.txt <- b.txt", "100.txt <- c.txt"}},
        {"letter after, upper", abc, {{"needCustomize", true}, {"customizeType", 2}, {"customizeStartLetter", "X"}}, {"aX.txt <- a.txt", "bY.txt <- b.txt", "cZ.txt <- c.txt"}},
        {"letter only upper wraps", abc, {{"needCustomize", true}, {"customizeType", 4}, {"customizeStartLetter", "Z"}}, {"Z.txt <- a.txt", "A.txt <- b.txt", "B.txt <- c.txt"}},
        {"unknown custom type changes nothing", abc, {{"needCustomize", true}, {"customizeType", 7}}, {"a.txt <- a.txt", "b.txt <- b.txt", "c.txt <- c.txt"}},
        {"replace every occurrence", {"aXa.txt"}, replace("a", "bb"), {"bbXbb.txt <- aXa.txt"}},
        {"replace before add", {"aX.txt"}, {{"needReplace", true}, {"relpaceSearchString", "a"}, {"replaceResultString", "q"}, {"needAdd", true}, {"addString", "a"}, {"addPlaceType", 1}}, {"aqX.txt <- aX.txt"}},
        {"add after, extension kept, no extension", {"notes", "x.tar.gz"}, {{"needAdd", true}, {"addString", " (1)"}}, {"notes (1) <- notes", "x.tar (1).gz <- x.tar.gz"}},
        {"same name is a success", {"a.txt"}, replace("zz", "y"), {"a.txt <- a.txt"}},
        {"names swap through staging", {"a.txt", "b.txt"}, {{"needCustomize", true}, {"customizeType", 4}, {"customizeStartLetter", "b"}}, {"b.txt <- a.txt", "c.txt <- b.txt"}},
        {"taken name back home gets a number", {"ab.txt", "ac.txt"}, replace("b", "c"), {"ac1.txt <- ab.txt", "ac.txt <- ac.txt"}},
        {"same new name in one batch, own folders", {"d1/bc.txt", "d2/bc.txt", "d1/cb.txt"}, replace("b", "c"), {"d1/cc.txt <- d1/bc.txt", "d2/cc.txt <- d2/bc.txt", "d1/cc-1.txt <- d1/cb.txt"}},
        {"odd names", {"it's \"q\"\nline.txt", l251 + ".txt"}, replace("l", "L"), {"it's \"q\"\nLine.txt <- it's \"q\"\nline.txt", l251.toUpper() + ".txt <- " + l251 + ".txt"}},
        {"empty search", abc3, {{"needReplace", true}, {"replaceResultString", "x"}, {"needAdd", true}, {"addString", "y"}}, {}, 8101, incomplete},
        {"empty replacement", abc3, {{"needReplace", true}, {"relpaceSearchString", "a"}}, {}, 8102, incomplete},
        {"empty add", abc3, {{"needAdd", true}, {"addPlaceType", 1}}, {}, 8103, incomplete},
        {"replacement climbs out", abc3, replace("a", "../x"), {}, 8006, "“../x.txt”"},
        {"added text is a path", abc3, {{"needAdd", true}, {"addString", "/etc/"}, {"addPlaceType", 1}}, {}, 8006, "“/etc/a.txt”"},
        {"last name is ..", abc3, replace("a", ".."), {}, 8006, "“..”"},
        {"zero byte", abc3, {{"needAdd", true}, {"addString", QString(QChar(0))}}, {}, 8006, "255 bytes"},
        {"256 bytes", abc3, {{"needAdd", true}, {"addString", l251}}, {}, 8006, "255 bytes"},
    };
    for (const Row &row : rows)
        QTest::newRow(row.tag) << row.files << row.settings << row.expected << row.code << row.body;
}

void KorvaneFileActionsTest::renameNames()
{
    QFETCH(QStringList, files);
    QFETCH(QVariantMap, settings);
    QFETCH(QStringList, expected);
    QFETCH(int, code);
    QFETCH(QString, body);

    QTemporaryDir dir;
    QList<QUrl> urls;
    for (const QString &file : files) {
        QVERIFY(writeFile(dir.filePath(file), file.toUtf8()));
        urls << QUrl::fromLocalFile(dir.filePath(file));
    }
    const QMap<QString, QByteArray> before = tree(dir.path());
    const DropListEntityPtr drop = ActionStore::instance()->getNewDrop(1, 17, 0);
    for (auto it = settings.cbegin(); it != settings.cend(); ++it)
        drop->renameSettings()->setValue(it.key(), it.value());

    const Outcome outcome = runAction(drop, urls);
    if (code) {
        QVERIFY(!outcome.success);
        QCOMPARE(outcome.error.code(), code);
        QCOMPARE(outcome.body, outcome.error.localizedDescription());
        QVERIFY2(outcome.body.contains(body), qPrintable(outcome.body));
        QCOMPARE(tree(dir.path()), before);
        return;
    }
    QVERIFY(outcome.success);
    QCOMPARE(outcome.body, qtTrId("renameSucceed"));

    QMap<QString, QByteArray> want;
    const QString today = QDate::currentDate().toString(QStringLiteral("yyyy-MM-dd"));
    for (const QString &line : expected) {
        const QStringList parts = QString(line).replace("{d}", today).split(QStringLiteral(" <- "));
        want.insert(parts[0], parts[1].toUtf8());
    }
    QMap<QString, QByteArray> got = tree(dir.path());
    got.remove(QStringLiteral("d1/"));
    got.remove(QStringLiteral("d2/"));
    QCOMPARE(got, want);
    QCOMPARE(tree(tempFolder()), (QMap<QString, QByteArray>()));
}

void KorvaneFileActionsTest::renameAcrossFileSystems()
{
    QTemporaryDir dir;
    TmpfsMount mount(dir.filePath("other"));
    if (!mount.isMounted())
        QSKIP("needs root to mount a tmpfs as a second file system");
    QVERIFY(deviceOf(dir.filePath("other")) != deviceOf(tempFolder().section(QLatin1Char('/'), 0, -2)));
    QVERIFY(writeFile(dir.filePath("other/a.txt"), "a"));
    QVERIFY(writeFile(dir.filePath("here.txt"), "h"));
    const DropListEntityPtr drop = ActionStore::instance()->getNewDrop(1, 17, 0);
    drop->renameSettings()->setNeedAdd(true);
    drop->renameSettings()->setAddString(QStringLiteral("2"));

    const Outcome outcome = runAction(drop, {QUrl::fromLocalFile(dir.filePath("other/a.txt")), QUrl::fromLocalFile(dir.filePath("here.txt"))});
    QVERIFY(outcome.success);
    QCOMPARE(tree(dir.filePath("other")), (QMap<QString, QByteArray>{{"a2.txt", "a"}}));
    QCOMPARE(readFile(dir.filePath("here2.txt")), QByteArray("h"));
    QCOMPARE(tree(tempFolder()), (QMap<QString, QByteArray>()));
}

// Journals as a killed run leaves them; recovery puts every file where it belongs.
void KorvaneFileActionsTest::recovery_data()
{
    QTest::addColumn<QString>("journal");
    QTest::addColumn<bool>("locked");
    QTest::addColumn<FileContents>("expected");
    const QString staged = "korvane-rename 1\ndir {T}/9-run\nstage {D}/a.txt {T}/9-run/x.txt\n";
    const std::tuple<const char *, QString, bool, FileContents> rows[] = {
        {"staged, back to the old name", staged, false, {{"a.txt", "A"}, {"b.txt", "B"}}},
        {"final begun, on to the new name", staged + "final {T}/9-run/x.txt {D}/x.txt\n", false, {{"x.txt", "A"}, {"b.txt", "B"}}},
        {"final name taken meanwhile", staged + "final {T}/9-run/x.txt {D}/b.txt\n", false, {{"b1.txt", "A"}, {"b.txt", "B"}}},
        {"unfinished last line ignored", staged + "final {T}/9-run/x.txt {D}/y.t", false, {{"a.txt", "A"}, {"b.txt", "B"}}},
        {"live run left alone", staged, true, {{"b.txt", "B"}}},
    };
    for (const auto &[tag, journal, locked, expected] : rows)
        QTest::newRow(tag) << journal << locked << expected;
}

void KorvaneFileActionsTest::recovery()
{
    QFETCH(QString, journal);
    QFETCH(bool, locked);
    QTemporaryDir dir;
    const QString temp = dir.filePath("Temp");
    QVERIFY(writeFile(temp + "/9-run/x.txt", "A"));
    QVERIFY(writeFile(dir.filePath("files/b.txt"), "B"));
    const QByteArray encodedTemp = QByteArray(QFile::encodeName(temp)).toPercentEncoding();
    const QByteArray encodedFiles = QByteArray(QFile::encodeName(dir.filePath("files"))).toPercentEncoding();
    QByteArray content = journal.toUtf8();
    content.replace("{T}", encodedTemp).replace("{D}", encodedFiles);
    QVERIFY(writeFile(temp + "/9-run.journal", content));

    const int fd = ::open(QFile::encodeName(temp + "/9-run.journal").constData(), O_RDONLY);
    QVERIFY(fd >= 0);
    if (locked)
        QCOMPARE(::flock(fd, LOCK_EX), 0);
    RenameJournal::recoverIn(temp);
    ::close(fd);

    QTEST(tree(dir.filePath("files")), "expected");
    if (locked)
        QVERIFY(tree(temp).contains("9-run/x.txt"));
    else
        QCOMPARE(tree(temp), (QMap<QString, QByteArray>()));
}

void KorvaneFileActionsTest::transfers_data()
{
    QTest::addColumn<bool>("move");
    QTest::addColumn<QString>("savePath");
    QTest::addColumn<QStringList>("sources");
    QTest::addColumn<bool>("success");
    QTest::addColumn<int>("code");
    QTest::addColumn<QStringList>("destination");
    QTest::addColumn<QStringList>("sourcesLeft");

    const QStringList numbered{"report.pdf", "report1.pdf", "report2.pdf", "dir/", "dir/f"};
    const QStringList untouched{"report.pdf", "dir/", "dir/f"};
    QTest::newRow("copy, numbered names") << false << "{D}/out" << QStringList{"report.pdf", "missing.pdf", "dir"} << true << 0 << numbered << untouched;
    QTest::newRow("move, numbered names") << true << "{D}/out" << QStringList{"report.pdf", "dir"} << true << 0 << numbered << QStringList{};
    QTest::newRow("move, nothing exists") << true << "{D}/out" << QStringList{"gone"} << false << 8011 << QStringList{"report.pdf", "report1.pdf"} << untouched;
}

void KorvaneFileActionsTest::transfers()
{
    QFETCH(bool, move);
    QFETCH(QString, savePath);
    QFETCH(QStringList, sources);
    QFETCH(bool, success);
    QFETCH(QStringList, destination);
    QFETCH(QStringList, sourcesLeft);

    QTemporaryDir dir;
    QVERIFY(writeFile(dir.filePath("src/report.pdf"), "new"));
    QVERIFY(writeFile(dir.filePath("src/dir/f"), "f"));
    QVERIFY(writeFile(dir.filePath("out/report.pdf"), "old"));
    QVERIFY(writeFile(dir.filePath("out/report1.pdf"), "old1"));
    QList<QUrl> urls;
    for (const QString &source : sources)
        urls << QUrl::fromLocalFile(dir.filePath("src/" + source));
    const DropListEntityPtr drop = ActionStore::instance()->getNewDrop(1, move ? 8 : 9, 0);
    drop->settings()->setValue(QStringLiteral("savePath"), QString(savePath).replace(QStringLiteral("{D}"), dir.path()));

    const Outcome outcome = runAction(drop, urls);
    QCOMPARE(outcome.success, success);
    QTEST(outcome.error.code(), "code");
    QCOMPARE(outcome.body, success ? qtTrId(move ? "MoveFolderSucceed" : "CopyFolderSucceed") : qtTrId(move ? "MoveFolderFailed" : "CopyFolderFailed"));
    destination.sort();
    QCOMPARE(tree(dir.filePath("out")).keys(), destination);
    QCOMPARE(readFile(dir.filePath("out/report.pdf")), QByteArray("old"));
    sourcesLeft.sort();
    QCOMPARE(tree(dir.filePath("src")).keys(), sourcesLeft);
    if (success && savePath.endsWith(QLatin1String("/out")))
        QCOMPARE(readFile(dir.filePath("out/report2.pdf")), QByteArray("new"));
}

void KorvaneFileActionsTest::endToEnd_data()
{
    QTest::addColumn<QString>("type");
    QTest::addColumn<QStringList>("settings");
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<QString>("body");
    QTest::addColumn<int>("code");
    QTest::addColumn<QStringList>("left");

    const QStringList in{"in/", "in/a b.txt", "in/sub/", "in/sub/c"};
    const QStringList out{"out/", "out/a b.txt", "out/sub/", "out/sub/c"};
    const std::tuple<const char *, const char *, QStringList, int, const char *, int, QStringList> rows[] = {
        {"copy", "9", {"savePath={D}/out"}, 0, "CopyFolderSucceed", 0, in + out},
        {"move", "8", {"savePath={D}/out"}, 0, "MoveFolderSucceed", 0, QStringList{"in/"} + out},
        {"rename", "17", {"needCustomize=1", "customizeType=3", "customizeStartNumber=7"}, 0, "renameSucceed", 0, {"in/", "in/7.txt", "in/8/", "in/8/c"}},
        {"copy onto a file", "9", {"savePath={D}/in/a b.txt"}, 1, "CopyFolderFailed", 8010, in},
    };
    for (const auto &[tag, type, settings, exitCode, body, code, left] : rows)
        QTest::newRow(tag) << QString(type) << settings << exitCode << QString(body) << code << left;
}

void KorvaneFileActionsTest::endToEnd()
{
    QFETCH(QString, type);
    QFETCH(QStringList, settings);
    QFETCH(int, exitCode);
    QFETCH(QString, body);
    QFETCH(QStringList, left);

    Sandbox korvane;
    QTemporaryDir dir;
    QVERIFY(writeFile(dir.filePath("in/a b.txt"), "a"));
    QVERIFY(writeFile(dir.filePath("in/sub/c"), "c"));
    QStringList add{QStringLiteral("add"), QStringLiteral("1"), type};
    for (const QString &setting : settings)
        add << QStringLiteral("--set") << QString(setting).replace(QStringLiteral("{D}"), dir.path());
    const Result added = korvane.run(add);
    QCOMPARE(added.exitCode, 0);
    const QString dropID = QString::fromUtf8(added.out).trimmed().split(QLatin1Char('\n')).last();

    const Result ran = korvane.run({QStringLiteral("run"), dropID, dir.filePath("in/a b.txt"), dir.filePath("in/sub"), QStringLiteral("--json")});
    QCOMPARE(ran.exitCode, exitCode);
    const QJsonObject result = ran.json().object();
    // A failure is logged, but not what the files are called.
    QVERIFY(!ran.err.contains("a b"));
    QCOMPARE(result.value("success").toBool(), exitCode == 0);
    QCOMPARE(result.value("notification").toObject().value("body").toString(), qtTrId(body.toUtf8().constData()));
    QTEST(result.value("error").toObject().value("code").toInt(), "code");
    left.sort();
    QCOMPARE(tree(dir.path()).keys(), left);
}

// "a\xff.txt" from the command line is that file, never its UTF-8 look-alike "a\uFFFD.txt":
// copy and move act on its bytes; rename, whose rules work on text, refuses it (8005).
void KorvaneFileActionsTest::namesNotUtf8_data()
{
    QTest::addColumn<QStringList>("settings");
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<QStringList>("left");
    const QStringList copy{"1", "9", "--set", "savePath={D}/out"};
    const QStringList both{"in/a\uFFFD.txt=look-alike", "in/a\\xFF.txt=raw", "out/a\\xFF.txt=raw"};
    QTest::newRow("copy") << copy << 0 << both;
    QTest::newRow("move") << QStringList{"1", "8", "--set", "savePath={D}/out"} << 0
                          << QStringList{"in/a\uFFFD.txt=look-alike", "out/a\\xFF.txt=raw"};
    QTest::newRow("rename refused") << QStringList{"1", "17", "--set", "needAdd=1", "--set", "addString=x"} << 1
                                    << both.mid(0, 2);
}

void KorvaneFileActionsTest::namesNotUtf8()
{
    QFETCH(QStringList, settings);
    QFETCH(int, exitCode);
    QTemporaryDir dir;
    const QByteArray folder = QFile::encodeName(dir.path());
    QVERIFY(writeFile(dir.filePath("in/raw"), "raw") && QDir().mkpath(dir.filePath("out")));
    QCOMPARE(::rename((folder + "/in/raw").constData(), (folder + "/in/a\xff.txt").constData()), 0);
    QVERIFY(writeFile(dir.filePath(QString::fromUtf8("in/a\uFFFD.txt")), "look-alike"));
    const QString id = addAction(settings.replaceInStrings("{D}", dir.path()));
    QVERIFY(!id.isEmpty());
    QProcess process;
    process.start("/bin/sh", withRawArgument(korvaneBinary(), {"run", id, "--json"}, folder + "/in/a\xff.txt"));
    const Result result = finish(process);
    QCOMPARE(result.exitCode, exitCode);
    const QJsonObject error = result.json().object().value("error").toObject();
    QCOMPARE(error.value("code").toInt(), exitCode ? 8005 : 0);
    QStringList entries;
    for (const QByteArray &sub : {QByteArray("in"), QByteArray("out")}) {
        const QMap<QByteArray, QByteArray> raw = rawEntries(folder + '/' + sub);
        for (auto it = raw.cbegin(); it != raw.cend(); ++it)
            entries << QString::fromLatin1(sub) + '/' + FileManager::displayName(it.key()) + '=' + QString::fromUtf8(it.value());
    }
    QTEST(entries, "left");
}

QTEST_GUILESS_MAIN(KorvaneFileActionsTest)
#include "tst_fileactions.moc"
