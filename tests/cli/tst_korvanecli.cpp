#include "support/files.h"
#include "support/korvanecli.h"
#include "support/sharestandins.h"

#include <QSqlDatabase>
#include <QSqlQuery>

#include <QImage>
#include <QJsonObject>
#include <QStandardPaths>
#include <QTest>

#include <memory>
#include <vector>

#include <sys/stat.h>

using namespace KorvaneTest;

class KorvaneCliTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void init();
    void defaultsByLanguage();
    void classifyInputs_data();
    void classifyInputs();
    void editTheStore();
    void usageErrors_data();
    void usageErrors();
    void helpForEveryCommand();
    void unusableStore();
    void failedWritesChangeNothing_data();
    void failedWritesChangeNothing();
    void concurrentWritersLoseNothing();
    void privateFiles();
    void runReportsWhatItCannotDo_data();
    void runReportsWhatItCannotDo();
    void runTextActions();
    void integrateWithFileManagers();
    // The sharing and the remaining text actions, with stand-ins of the desktop tools on PATH.
    void photosFromImageData();
    void runText_data();
    void runText();

private:
    Result share(const QStringList &args) const { return m_share.run(args); }
    QString record() const { return m_share.path(QStringLiteral("record")); }
    QString home() const { return m_share.path(QStringLiteral("home")); }

    Sandbox m_share;
};

void KorvaneCliTest::initTestCase()
{
    const QString bin = m_share.path(QStringLiteral("bin"));
    QVERIFY(installShareStandIns(bin, record()));
    QVERIFY(QDir().mkpath(home()));
    m_share.prependPath(bin);
    m_share.setEnv(QStringLiteral("HOME"), home());
    m_share.setEnv(QStringLiteral("KDECONNECT_DEVICES"), QStringLiteral("phone1\n"));
}

void KorvaneCliTest::init()
{
    QDir(record()).removeRecursively();
    QDir().mkpath(record());
}

// The defaults themselves are the store's test; here, what the listing says of them, in
// English and in Chinese. The second start finds the store filled and adds nothing.
void KorvaneCliTest::defaultsByLanguage()
{
    for (const auto &[lang, count] : {std::pair{"en_US.UTF-8", 18}, std::pair{"zh_CN.UTF-8", 19}}) {
        Sandbox korvane(QString::fromLatin1(lang));
        const Result result = korvane.run({"list", "--json"});
        QCOMPARE(result.exitCode, 0);
        const QJsonArray actions = result.json().array();
        QCOMPARE(actions.size(), count);
        const QJsonObject first = actions.first().toObject();
        for (const char *key : {"dropID", "catalog", "type", "index", "title", "keyCode", "modifiers", "hotkey", "supportTypes"})
            QVERIFY2(first.contains(QLatin1String(key)), key);
        QCOMPARE(korvane.run({"list", "--json"}).json().array().size(), count);
    }
}

void KorvaneCliTest::classifyInputs_data()
{
    QTest::addColumn<QStringList>("args");
    QTest::addColumn<QByteArray>("stdinData");
    QTest::addColumn<int>("catalog");
    QTest::addColumn<int>("fileKinds");
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("imageBytes");
    QTest::addColumn<int>("actionCount");

    QTest::newRow("text") << QStringList{"--text", "你好"} << QByteArray() << 1 << 0 << "你好" << -1 << 8;
    QTest::newRow("text from stdin") << QStringList{"--text-file", "-"} << QByteArray("line one\nline two\n") << 1 << 0
                                     << "line one\nline two\n"
                                     << -1 << 8;
    QTest::newRow("png image") << QStringList{"--image", "@png"} << QByteArray() << 2 << 0 << QString() << 69 << 6;
    QTest::newRow("image, svg, movie") << QStringList{"a.jpg", "b.svg", "c.mov"} << QByteArray() << 2 << 54 << QString() << -1 << 10;
    QTest::newRow("a folder that exists") << QStringList{"sub"} << QByteArray() << 2 << (2 | 8) << QString() << -1 << 4;
    QTest::newRow("files then text") << QStringList{"x.png", "--text", "t"} << QByteArray() << 1 << (2 | 4) << "t" << -1 << 8;
    QTest::newRow("nothing") << QStringList{} << QByteArray() << 0 << 0 << QString() << -1 << 0;
}

void KorvaneCliTest::classifyInputs()
{
    QFETCH(QStringList, args);
    QFETCH(QByteArray, stdinData);
    QFETCH(int, imageBytes);
    QFETCH(int, actionCount);

    Sandbox korvane;
    QDir(korvane.path(QString())).mkdir(QStringLiteral("sub"));
    QImage image(2, 2, QImage::Format_RGB32);
    image.fill(Qt::blue);
    QVERIFY(image.save(korvane.path("pic.png"), "PNG"));
    const int pngSize = int(QFileInfo(korvane.path("pic.png")).size());
    args.replaceInStrings(QStringLiteral("@png"), korvane.path("pic.png"));

    const Result result = korvane.run(QStringList{"classify"} + args + QStringList{"--json"}, stdinData);
    QCOMPARE(result.exitCode, 0);
    const QJsonObject object = result.json().object();
    QTEST(object.value("dataCatalog").toInt(), "catalog");
    QTEST(object.value("containedFileType").toInt(), "fileKinds");
    QTEST(object.value("textString").toString(), "text");
    QCOMPARE(object.value("imageData").toInt(-1), imageBytes < 0 ? -1 : pngSize);
    QCOMPARE(object.value("actions").toArray().size(), actionCount);
}

void KorvaneCliTest::editTheStore()
{
    Sandbox korvane;
    Result added = korvane.run({"add", "1", "9", "--title", "Copy to Backup", "--set", "savePath=/srv/backup"});
    QCOMPARE(added.exitCode, 0);
    const QString id = QString::fromUtf8(added.out.trimmed());
    QVERIFY(id.toInt() > 0);

    QJsonArray actions = korvane.run({"list", "--json"}).json().array();
    QCOMPARE(actions.size(), 19);
    const QJsonObject copy = actions.last().toObject();
    QCOMPARE(copy.value("title").toString(), QStringLiteral("Copy to Backup"));
    QCOMPARE(copy.value("index").toInt(), 10);
    QCOMPARE(copy.value("supportTypes").toInt(), 2);
    const QJsonArray kinds = korvane.run({"kinds", "--json"}).json().array();
    QCOMPARE(kinds.size(), 28);
    QCOMPARE(QJsonDocument(kinds.at(12).toObject()).toJson(QJsonDocument::Compact), QByteArray(R"({"catalog":1,"name":"resize","title":"Resize Images","type":2})"));

    QCOMPARE(korvane.run({"set", id, "drop.title=Backup", "hotkey=Super+B", "savePath=/srv/other"}).exitCode, 0);
    // A search action's URLs and a mail action's own title field; kinds by name or by number.
    const QString search = QString::fromUtf8(korvane.run({"add", "0", "5", "--set", "urls+=https://s.example/?q={text}"}).out.trimmed());
    const QString mail = QString::fromUtf8(korvane.run({"add", "mail-text", "--title", "Mail Bob", "--set", "title=Hi", "--set", "receives=bob@example.org", "--set", "hotkey=ctrl+alt+space"}).out.trimmed());
    QVERIFY(search.toInt() > 0 && mail.toInt() > 0);
    const Result taken = korvane.run({"set", mail, "hotkey=Meta+B"});
    QVERIFY(taken.exitCode == 2 && taken.err.contains("'Meta+B' is already the hotkey of \"Backup\""));

    const auto row = [&](const QString &select, const QString &id) {
        return sql(korvane.storePath(), {select.arg(id)});
    };
    QCOMPARE(row("SELECT d.title || '|' || d.keyCode || '|' || d.modifiers || '|' || c.savePath FROM DropListEntity d "
                 "JOIN FileCopy c ON c.dropAction = d.Z_PK WHERE d.dropID = %1",
                 id),
             QStringList{"Backup|11|1048576|/srv/other"});
    QCOMPARE(row("SELECT d.title || '|' || m.title || '|' || m.receives FROM DropListEntity d JOIN TextEmail m ON m.dropAction = d.Z_PK "
                 "WHERE d.dropID = %1",
                 mail),
             QStringList{"Mail Bob|Hi|bob@example.org"});
    QCOMPARE(row("SELECT count(*) FROM CustomUrl WHERE url = '%1'", "https://s.example/?q={text}"), QStringList{"1"});

    const QString listing = QString::fromUtf8(korvane.run({"list"}).out);
    QVERIFY(listing.contains(QStringLiteral("Backup\tSuper+B\n")) && listing.contains(QStringLiteral("Mail Bob\tCtrl+Alt+Space\n")));
    const QJsonArray listed = korvane.run({"list", "--json"}).json().array();
    QCOMPARE(listed.at(9).toObject().value("hotkey"), QJsonValue("Ctrl+Alt+Space"));
    QCOMPARE(listed.at(0).toObject().value("hotkey"), QJsonValue());

    // A title that would drive the terminal is shown escaped; JSON escapes it its own way.
    const QString hostile = QString::fromUtf8(korvane.run({"add", "1", "9", "--title", QString::fromUtf8("\x1b[2J\u009bX\x7f\n")}).out.trimmed());
    QVERIFY(korvane.run({"list"}).out.contains("\t\\e[2J\\x9bX\\x7f\\x0a\t-\n"));
    QVERIFY(korvane.run({"list", "--json"}).out.contains(R"("title": "\u001b[2J\u009bX\u007f\n")"));
    QCOMPARE(korvane.run({"remove", hostile}).exitCode, 0);

    // A failing assignment leaves the action as it was.
    QCOMPARE(korvane.run({"set", id, "drop.title=Changed", "index=many"}).exitCode, 2);
    QVERIFY(korvane.run({"list"}).out.contains("Backup\t"));
    // And a failing add leaves no half-made action behind.
    QCOMPARE(korvane.run({"add", "1", "9", "--set", "noSuchField=1"}).exitCode, 2);
    QCOMPARE(korvane.run({"list", "--json"}).json().array().size(), 21);

    QCOMPARE(korvane.run({"remove", id}).exitCode, 0);
    actions = korvane.run({"list", "--json"}).json().array();
    QCOMPARE(actions.size(), 20);
    QCOMPARE(korvane.run({"remove", id}).exitCode, 1);
}

void KorvaneCliTest::usageErrors_data()
{
    QTest::addColumn<QStringList>("args");
    // What the one line names as wrong.
    QTest::addColumn<QString>("named");
    QTest::newRow("unknown command") << QStringList{"frobnicate"} << "'frobnicate'";
    QTest::newRow("list with an argument") << QStringList{"list", "extra"} << "'extra'";
    QTest::newRow("run without action") << QStringList{"run"} << "ACTION";
    QTest::newRow("run with unknown option") << QStringList{"run", "Translate", "--fast"} << "'--fast'";
    QTest::newRow("--text without value") << QStringList{"classify", "--text"} << "--text";
    QTest::newRow("image that is no image") << QStringList{"classify", "--image", "/etc/hostname"} << "/etc/hostname";
    QTest::newRow("unknown kind") << QStringList{"add", "0", "12"} << "type 12";
    QTest::newRow("unknown kind name") << QStringList{"add", "resise"} << "'resise'";
    QTest::newRow("set without assignment") << QStringList{"set", "123"} << "FIELD=VALUE";
    QTest::newRow("set fixed field") << QStringList{"set", "@id", "drop.type=3"} << "type";
    QTest::newRow("set bad boolean") << QStringList{"set", "@id", "needCopy=maybe"} << "needCopy";
    QTest::newRow("hotkey that is no shortcut") << QStringList{"set", "@id", "hotkey=Ctrl+Alt+Ω"} << "'Ctrl+Alt+Ω' is not a shortcut";
    QTest::newRow("hotkey without a modifier") << QStringList{"add", "copy", "--set", "hotkey=Shift+K"} << "'Shift+K' cannot be";
    QTest::newRow("urls on a copy action") << QStringList{"set", "@id", "urls+=x"} << "urls";
    QTest::newRow("rename text with a slash") << QStringList{"add", "1", "17", "--set", "customizeString=a/b"} << "customizeString";
    QTest::newRow("remove two") << QStringList{"remove", "1", "2"} << "DROPID";
    QTest::newRow("kinds with an argument") << QStringList{"kinds", "all"} << "'all'";
    QTest::newRow("show with an argument") << QStringList{"show", "extra"} << "'extra'";
    QTest::newRow("window with an argument") << QStringList{"window", "--raise"} << "'--raise'";
    QTest::newRow("drop with an unknown option") << QStringList{"drop", "a.png", "--fast"} << "'--fast'";
}

void KorvaneCliTest::usageErrors()
{
    QFETCH(QStringList, args);
    QFETCH(QString, named);
    Sandbox korvane;
    if (args.contains(QStringLiteral("@id"))) {
        const QByteArray id = korvane.run({"add", "1", "9"}).out.trimmed();
        args.replaceInStrings(QStringLiteral("@id"), QString::fromUtf8(id));
    }
    const Result result = korvane.run(args);
    QCOMPARE(result.exitCode, 2);
    QVERIFY(result.out.isEmpty());
    // One line that says what is wrong.
    QCOMPARE(result.err.count('\n'), 1);
    QVERIFY(result.err.startsWith("korvane: "));
    QVERIFY2(QString::fromUtf8(result.err).contains(named), result.err.constData());
}

void KorvaneCliTest::helpForEveryCommand()
{
    Sandbox korvane;
    const Result general = korvane.run({"--help"});
    QCOMPARE(general.exitCode, 0);
    for (const char *command : {"list", "kinds", "classify", "run", "add", "set", "remove", "show", "window", "drop", "integrate"}) {
        QVERIFY2(general.out.contains(QByteArray("  ") + command + ' '), command);
        const Result help = korvane.run({QString::fromLatin1(command), "--help"});
        QCOMPARE(help.exitCode, 0);
        QVERIFY(help.out.startsWith("Usage: korvane " + QByteArray(command)));
        QVERIFY2(help.out.contains("Example:\n  korvane " + QByteArray(command)), command);
    }
    // Help never opens the store.
    QVERIFY(!QFile::exists(korvane.storePath()));
}

// A file that is no database, and another program's database: every command that needs the
// store says why it cannot open it and leaves it as it is.
void KorvaneCliTest::unusableStore()
{
    for (const auto &[statement, expected] : {std::pair{"", "file is not a database"}, std::pair{"CREATE TABLE notes (body TEXT)", "a database of another program"}}) {
        Sandbox korvane;
        QVERIFY(!korvane.write("data/korvane/KVCoreData.sqlite", *statement ? QByteArray() : QByteArray("not a database, but the user's bytes\n").repeated(100)).isEmpty());
        if (*statement)
            QVERIFY(sql(korvane.storePath(), {statement}).isEmpty());
        const QByteArray before = checksum(korvane.storePath());
        for (const QStringList &args : {QStringList{"list"}, QStringList{"add", "1", "9"}, QStringList{"classify", "a.png"}}) {
            const Result result = korvane.run(args);
            QCOMPARE(result.exitCode, 1);
            QVERIFY2(result.err.contains("korvane: the action store cannot be opened; it was left as it is (" + korvane.storePath().toUtf8()), result.err.constData());
            QVERIFY2(result.err.contains(expected), result.err.constData());
        }
        QCOMPARE(checksum(korvane.storePath()), before);
    }
}

void KorvaneCliTest::failedWritesChangeNothing_data()
{
    QTest::addColumn<QString>("damage");
    QTest::addColumn<QStringList>("command");
    for (const QStringList &command : {QStringList{"add", "1", "9"}, QStringList{"set", "@id", "drop.title=x"},
                                       QStringList{"remove", "@id"}, QStringList{"import", "@file"}}) {
        QTest::addRow("read-only folder: %s", qPrintable(command.first())) << "folder" << command;
        QTest::addRow("failing disk: %s", qPrintable(command.first())) << "trigger" << command;
    }
    QTest::newRow("read-only store: add") << "file" << QStringList{"add", "1", "9", "--title", "t"};
    QTest::newRow("damaged table: add") << "table" << QStringList{"add", "1", "9"};
}

void KorvaneCliTest::failedWritesChangeNothing()
{
    QFETCH(QString, damage);
    QFETCH(QStringList, command);
    Sandbox korvane;
    const QString id = QString::fromUtf8(korvane.run({"add", "1", "9"}).out.trimmed());
    const QString file = korvane.write("actions.json", R"({"format": "korvane-actions", "version": 1, "actions": [{"catalog": 1, "type": 9}]})");
    command.replaceInStrings(QStringLiteral("@id"), id).replaceInStrings(QStringLiteral("@file"), file);
    const QByteArray before = korvane.run({"list", "--json"}).out;
    QVERIFY(!before.isEmpty());

    const QString folder = QFileInfo(korvane.storePath()).path();
    if (damage == QLatin1String("folder")) {
        QVERIFY(::chmod(QFile::encodeName(folder).constData(), 0500) == 0);
    } else if (damage == QLatin1String("file")) {
        QVERIFY(::chmod(QFile::encodeName(korvane.storePath()).constData(), 0400) == 0);
    } else if (damage == QLatin1String("table")) {
        QVERIFY(sql(korvane.storePath(), {"DROP TABLE FileCopy"}).isEmpty());
    } else {
        const QString trigger("CREATE TRIGGER fail%1 BEFORE %1 ON DropListEntity BEGIN SELECT RAISE(ABORT, 'disk I/O error'); END");
        QVERIFY(sql(korvane.storePath(), {trigger.arg("INSERT"), trigger.arg("UPDATE"), trigger.arg("DELETE")}).isEmpty());
    }
    const QByteArray stored = checksum(korvane.storePath());

    const Result result = korvane.run(command);
    QCOMPARE(result.exitCode, 1);
    QVERIFY2(result.err.contains("the action store " + korvane.storePath().toUtf8() + " could not be written"), result.err.constData());
    QVERIFY(result.out.isEmpty());
    QCOMPARE(checksum(korvane.storePath()), stored);
    // Reading never needs a write.
    const Result list = korvane.run({"list", "--json"});
    QCOMPARE(list.exitCode, 0);
    QCOMPARE(list.out, before);
    ::chmod(QFile::encodeName(folder).constData(), 0700);
}

void KorvaneCliTest::concurrentWritersLoseNothing()
{
    Sandbox korvane;
    const auto together = [&](const QList<QStringList> &commands) {
        std::vector<std::unique_ptr<QProcess>> processes;
        for (const QStringList &command : commands) {
            processes.push_back(std::make_unique<QProcess>());
            korvane.start(*processes.back(), command);
            processes.back()->closeWriteChannel();
        }
        for (const auto &process : processes) {
            const Result result = finish(*process);
            QVERIFY2(result.exitCode == 0, result.err.constData());
        }
    };
    const auto indexes = [&](int catalog) {
        QList<int> result;
        for (const QJsonValue &action : korvane.run({"list", "--json"}).json().array()) {
            if (action.toObject().value("catalog").toInt() == catalog)
                result.append(action.toObject().value("index").toInt());
        }
        return result;
    };
    const QList<int> fileIndexes{0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13};

    // Four first starts at once on a fresh store: the defaults are made once, every action
    // is kept, and no two share a place.
    together({{"add", "1", "9", "--title", "A"}, {"add", "1", "9", "--title", "B"}, {"add", "1", "8"}, {"add", "1", "8"}});
    QCOMPARE(indexes(1), fileIndexes);
    QCOMPARE(indexes(0).size(), 8);

    // Two changes of one action, a move of another and an add, at once.
    const QJsonArray actions = korvane.run({"list", "--json"}).json().array();
    QString a, b;
    for (const QJsonValue &action : actions) {
        const QString title = action.toObject().value("title").toString();
        if (title == QLatin1String("A") || title == QLatin1String("B"))
            (title == QLatin1String("A") ? a : b).setNum(action.toObject().value("dropID").toInt());
    }
    together({{"set", a, "drop.title=A2"}, {"set", a, "savePath=/a", "keyCode=3"}, {"set", b, "index=0"}, {"add", "0", "1"}});
    QCOMPARE(indexes(1), fileIndexes);
    QCOMPARE(indexes(0), (QList<int>{0, 1, 2, 3, 4, 5, 6, 7, 8}));
    const QJsonArray after = korvane.run({"list", "--json"}).json().array();
    QCOMPARE(after.at(9).toObject().value("title").toString(), QStringLiteral("B"));
    const QByteArray listing = korvane.run({"list"}).out;
    QVERIFY2(listing.contains(a.toUtf8() + "\t1\t9\t") && listing.contains("\tA2\tF\n"), listing.constData());
    QVERIFY(korvane.run({"export"}).out.contains("\"savePath\": \"/a\""));
}

void KorvaneCliTest::privateFiles()
{
    Sandbox korvane;
    const mode_t umask = ::umask(0);
    const QString data = QFileInfo(korvane.storePath()).path();
    const QString config = korvane.path("config/korvane");
    const auto modes = [&] {
        QList<int> result;
        for (const QString &path : {data, korvane.storePath(), config, config + "/korvane.conf", data + "/uploadHistory.json",
                                    korvane.storePath() + "-wal", korvane.storePath() + "-shm"}) {
            struct stat info;
            result.append(::stat(QFile::encodeName(path).constData(), &info) == 0 ? int(info.st_mode & 0777) : -1);
        }
        return result;
    };
    QCOMPARE(korvane.run({"list"}).exitCode, 0);
    QCOMPARE(modes(), (QList<int>{0700, 0600, 0700, 0600, -1, -1, -1}));

    // Files an older version left readable by all, the store held open by another process.
    const QString history = korvane.write("data/korvane/uploadHistory.json", "[]");
    QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("holder"));
    db.setDatabaseName(korvane.storePath());
    QVERIFY(db.open() && QSqlQuery(db).exec(QStringLiteral("SELECT count(*) FROM DropListEntity")));
    for (const QString &path : {data, config})
        ::chmod(QFile::encodeName(path).constData(), 0755);
    for (const QString &path : {korvane.storePath(), config + "/korvane.conf", history, korvane.storePath() + "-wal", korvane.storePath() + "-shm"})
        ::chmod(QFile::encodeName(path).constData(), 0644);

    Result result = korvane.run({"list"});
    QCOMPARE(result.exitCode, 0);
    QCOMPARE(result.err.count("was readable by others"), 7);
    QCOMPARE(modes(), (QList<int>{0700, 0600, 0700, 0600, 0600, 0600, 0600}));
    // Said once: the next start finds nothing to tighten.
    result = korvane.run({"list"});
    QVERIFY2(result.err.isEmpty(), result.err.constData());
    db.close();
    ::umask(umask);
}

void KorvaneCliTest::runReportsWhatItCannotDo_data()
{
    QTest::addColumn<QStringList>("args");
    // The code of the command line's own refusal; 0 where the action itself ran.
    QTest::addColumn<int>("code");
    QTest::addColumn<QString>("message");
    QTest::newRow("unknown") << QStringList{"No Such Action", "--text", "x"} << 1 << "no action has the dropID or title";
    QTest::newRow("file action, text input") << QStringList{"Move to Documents", "--text", "x"} << 2 << "does not take this input";
    QTest::newRow("two take the input") << QStringList{"Twin", "x.txt"} << 3 << "2 actions titled 'Twin' take this input";
    QTest::newRow("twins, text input") << QStringList{"Twin", "--text", "x"} << 2 << "none of the 2 actions titled 'Twin'";
    // The default text and file "Nearby Share" actions share their title; text picks the first.
    QTest::newRow("shared title, one takes it") << QStringList{"Nearby Share", "--text", "x"} << 0 << "";
}

void KorvaneCliTest::runReportsWhatItCannotDo()
{
    QFETCH(QStringList, args);
    QFETCH(int, code);
    QFETCH(QString, message);
    Sandbox korvane;
    korvane.run({"add", "1", "9", "--title", "Twin"});
    korvane.run({"add", "1", "9", "--title", "Twin"});

    const Result plain = korvane.run(QStringList{"run"} + args);
    const Result json = korvane.run(QStringList{"run"} + args + QStringList{"--json"});
    const QJsonObject object = json.json().object();
    const QJsonObject error = object.value("error").toObject();
    QCOMPARE(json.exitCode, plain.exitCode);
    QVERIFY2(object.contains("success"), json.out.constData());
    if (code == 0) {
        QVERIFY(error.value("domain").toString() != QLatin1String("com.tarnwel.korvane.CommandLine"));
        return;
    }
    QCOMPARE(plain.exitCode, 1);
    QVERIFY2(plain.err.contains(message.toUtf8()), plain.err.constData());
    QCOMPARE(object.value("success").toBool(true), false);
    QCOMPARE(error.value("domain").toString(), QStringLiteral("com.tarnwel.korvane.CommandLine"));
    QCOMPARE(error.value("code").toInt(), code);
    QVERIFY(error.value("message").toString().contains(message));
    QVERIFY(object.contains("notification") && object.contains("pasteboard"));
}

void KorvaneCliTest::runTextActions()
{
    Sandbox korvane;
    // Long text comes through standard input.
    const QByteArray text = QByteArray("word ").repeated(200000);
    Result result = korvane.run({"run", "Character Counter", "--text-file", "-", "--json"}, text);
    QCOMPARE(result.exitCode, 0);
    QVERIFY(result.err.isEmpty());
    const QJsonObject object = result.json().object();
    QCOMPARE(object.value("success").toBool(), true);
    QVERIFY(object.value("error").isNull());
    QCOMPARE(object.value("pasteboard").toObject().value("text").toString(),
             QStringLiteral("Characters: 1000000. Letters: 800000. English words: 200000. "));
    QCOMPARE(object.value("notification").toObject().value("title").toString(), QStringLiteral("Character Counter succeeded"));

    // A Chinese text file goes to stdout in pieces, the notification shows its beginning only.
    const QString converter = QString::fromUtf8(korvane.run({"add", "0", "6", "--set", "conversionType=2"}).out.trimmed());
    const QString zh = korvane.write("zh.txt", QStringLiteral("海内存知己，软件\n").toUtf8().repeated(20000));
    result = korvane.run({"run", converter, "--text-file", zh});
    QCOMPARE(result.exitCode, 0);
    QVERIFY(result.out == QStringLiteral("海內存知己，軟體\n").toUtf8().repeated(20000) + '\n');
    QVERIFY2(result.err.contains(QStringLiteral(" succeeded: 海內存知己，軟體 海內存知己").toUtf8()) && result.err.size() < 800, result.err.left(800));

    // Muted notifications: none in the output, the result still there.
    QVERIFY(!korvane.write("config/korvane/korvane.conf", "[General]\nmuteNotifi=1\n").isEmpty());
    result = korvane.run({"run", "Character Counter", "--text", "ab", "--json"});
    QVERIFY(result.json().object().value("notification").isNull());
    QVERIFY(result.json().object().value("pasteboard").toObject().contains("text"));
    QFile::remove(korvane.path("config/korvane/korvane.conf"));

    // URLs go to the desktop's opener, a stand-in here that records what it was given.
    QVERIFY(QDir().mkpath(korvane.path("bin")));
    QVERIFY(writeScript(korvane.path("bin/xdg-open"), "printf '%s\\n' \"$@\" >> \"$(dirname \"$0\")/opened\"\n"));
    korvane.prependPath(korvane.path("bin"));
    result = korvane.run({"run", "Search Amazon & eBay", "--text", "a b"});
    QCOMPARE(result.exitCode, 0);
    // The opener runs detached: wait for both URLs to arrive.
    const auto opened = [&] {
        QFile file(korvane.path("bin/opened"));
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    };
    QTRY_COMPARE(opened().count('\n'), 2);
    // Each opener runs on its own, so the two may arrive in either order.
    QList<QByteArray> lines = opened().trimmed().split('\n');
    std::sort(lines.begin(), lines.end());
    QCOMPARE(lines, (QList<QByteArray>{"http://www.ebay.com/sch/i.html?_nkw=a%20b", "https://www.amazon.com/s?k=a%20b"}));
}

void KorvaneCliTest::integrateWithFileManagers()
{
    Sandbox korvane;
    const QString bin = korvane.path(QStringLiteral("bin"));
    QVERIFY(QDir().mkpath(bin));
    for (const char *manager : {"/nautilus", "/dolphin"})
        QVERIFY(writeScript(bin + QLatin1String(manager), QByteArray()));
    korvane.prependPath(bin);
    const QString script = korvane.dataHome() + QLatin1String("/nautilus/scripts/Send to Korvane");
    const QString actions = korvane.path(QStringLiteral("config/Thunar/uca.xml"));
    const QString menu = korvane.dataHome() + QLatin1String("/kio/servicemenus/com.korvane.Korvane.sendto.desktop");

    Result result = korvane.run({"integrate"});
    QCOMPARE(result.exitCode, 0);
    QVERIFY(QFileInfo(script).isExecutable());
    // Dolphin runs a service menu of the user's only when it is executable: mode 755 (Qt's
    // owner, group and other digits).
    QFile serviceMenu(menu);
    QCOMPARE(int(serviceMenu.permissions() & 0x7077), 0x7055);
    QVERIFY(serviceMenu.open(QIODevice::ReadOnly));
    const QByteArray program = QFileInfo(QString::fromLocal8Bit(qgetenv("KORVANE_BINARY"))).canonicalFilePath().toUtf8();
    QVERIFY(serviceMenu.readAll().contains("\nExec=\"" + program + "\" drop %F\n"));
    if (QStandardPaths::findExecutable(QStringLiteral("thunar")).isEmpty()) {
        QVERIFY2(result.out.contains("Thunar: not installed; skipped"), result.out.constData());
        QVERIFY(!QFile::exists(actions));
    }

    // Thunar with actions of the user's own: neither integrating nor removing touches them.
    QVERIFY(writeScript(bin + QLatin1String("/thunar"), QByteArray()));
    QCOMPARE(korvane.write("config/Thunar/uca.xml", "<actions><action><name>Mine</name></action></actions>\n"), actions);
    const QByteArray before = checksum(actions);
    for (const QStringList &args : {QStringList{"integrate"}, QStringList{"integrate", "--remove"}}) {
        result = korvane.run(args);
        QCOMPARE(result.exitCode, 0);
        QVERIFY2(result.out.contains("is not Korvane's and is left as it is"), result.out.constData());
        QCOMPARE(checksum(actions), before);
    }
    QVERIFY(!QFile::exists(script) && !QFile::exists(menu));

    // Without a file of the user's, Korvane's own is written, and removed again.
    QVERIFY(QFile::remove(actions));
    QCOMPARE(korvane.run({"integrate"}).exitCode, 0);
    QFile written(actions);
    QVERIFY(written.open(QIODevice::ReadOnly));
    QVERIFY(written.readAll().contains("' drop %F</command>"));
    QCOMPARE(korvane.run({"integrate", "--remove"}).exitCode, 0);
    QVERIFY(!QFile::exists(actions));

    // The menu a user's own install put there, as installed (mode 644): made executable, kept
    // by --remove.
    const QByteArray installed = "[Desktop Entry]\nActions=sendToKorvane;\n[Desktop Action sendToKorvane]\nExec=korvane drop %F\n";
    QCOMPARE(korvane.write("data/kio/servicemenus/com.korvane.Korvane.sendto.desktop", installed), menu);
    QVERIFY(QFile::setPermissions(menu, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ReadGroup | QFileDevice::ReadOther));
    result = korvane.run({"integrate"});
    QVERIFY2(result.out.contains("came with Korvane's install"), result.out.constData());
    QCOMPARE(int(QFile::permissions(menu) & 0x7077), 0x7055);
    QCOMPARE(korvane.run({"integrate", "--remove"}).exitCode, 0);
    QCOMPARE(checksum(menu), QCryptographicHash::hash(installed, QCryptographicHash::Sha256));
}

// Each drop of image data is a new picture, never one written over; the latest one opens.
void KorvaneCliTest::photosFromImageData()
{
    QImage image(3, 2, QImage::Format_RGB32);
    image.fill(qRgb(9, 99, 199));
    QVERIFY(image.save(m_share.path("data.png")));
    QCOMPARE(share({"add", "1", "6", "--title", "To Photos", "--set", "needLaunch=1"}).exitCode, 0);
    const QString folder = home() + QStringLiteral("/Pictures/Korvane");
    for (int round = 1; round <= 2; ++round) {
        const QStringList before = QDir(folder).entryList(QDir::Files);
        const Result result = share({"run", "To Photos", "--image", m_share.path("data.png")});
        QCOMPARE(result.exitCode, 0);
        QCOMPARE(result.err, QByteArray("To Photos succeeded: The image was added to Pictures/Korvane.\n"));
        QStringList written = QDir(folder).entryList(QDir::Files);
        QCOMPARE(written.size(), round);
        written.removeOne(before.value(0));
        QImage back;
        QVERIFY(back.load(folder + QLatin1Char('/') + written.first()));
        QCOMPARE(back.convertToFormat(QImage::Format_RGB32), image);
        const QString picture = QString::fromUtf8(QUrl::fromLocalFile(folder + '/' + written.first()).toEncoded());
        QTRY_COMPARE(recordedCalls(record(), "xdg-open").value(round - 1), QStringList{picture});
    }
}

// Text actions run on text or a text file: what they print, open and refuse. A text file that is
// no regular file or too long, or a mail or message text too long for one argument, is refused
// with an error that names the input and the limit, and nothing is sent.
void KorvaneCliTest::runText_data()
{
    QTest::addColumn<QString>("lang"); // a korvane of its own in this language; else the one with the stand-ins
    QTest::addColumn<QStringList>("add");
    QTest::addColumn<QStringList>("input"); // after "run ID"; {D} is a folder with a FIFO, "big" and "long"
    QTest::addColumn<QByteArray>("openStatus"); // xdg-open's exit status
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<QByteArray>("out"); // not checked when null
    QTest::addColumn<QString>("err"); // in standard error or the JSON error's message
    QTest::addColumn<QList<QStringList>>("opened");
    const QStringList probe{"0", "5", "--title", "Probe", "--set", "urls+=korvane-test:find?q={text}"};
    const QStringList ab{"--text", "a b"};
    const QList<QStringList> openedAb{{"korvane-test:find?q=a%20b"}};
    // The clipboard goes to stdout, the notification to stderr.
    QTest::newRow("counted") << "" << QStringList{"0", "2", "--title", "Counter"} << QStringList{"--text", "中文 ab cd1"} << QByteArray() << 0
                             << QByteArray("Characters: 11. Letters: 4. English words: 1. \n") << "Counter succeeded: Characters: 11. Letters: 4. English words: 1. \n"
                             << QList<QStringList>{};
    QTest::newRow("URL opened") << "" << probe << ab << QByteArray("0") << 0 << QByteArray() << "Probe succeeded: korvane-test:find?q=a b \n"
                                << openedAb;
    QTest::newRow("no handler for the URL's scheme") << "" << probe << ab << QByteArray("4") << 1 << QByteArray()
                                                     << "Probe failed: No application opens korvane-test: addresses.\n"
                                                     << openedAb;
    QTest::newRow("no URL") << "" << probe.mid(0, 4) << ab << QByteArray("0") << 1 << QByteArray()
                            << "Probe failed: This action has no URL yet. Add one in its settings.\n"
                            << QList<QStringList>{};
    const QStringList capital{"0", "7", "--title", "Capital Both", "--set", "autoBegin=1", "--set", "autoEnd=1"};
    QTest::newRow("capital amount, German grouping and comma") << "de_DE.UTF-8" << capital << QStringList{"--text", "1.234,56"} << QByteArray() << 0
                                                               << QByteArray("人民币壹仟貳佰叁拾肆元伍角陆分\n") << "" << QList<QStringList>{};
    QTest::newRow("capital amount, German whole amount") << "de_DE.UTF-8" << capital << QStringList{"--text", "12"} << QByteArray() << 0
                                                         << QByteArray("人民币壹拾貳圆整\n") << "" << QList<QStringList>{};
    QTest::newRow("capital amount of no number") << "en_US.UTF-8" << capital << QStringList{"--text", "abc"} << QByteArray() << 1 << QByteArray("")
                                                 << "Capital Both failed: Please drop a number, such as 1234.56.\n"
                                                 << QList<QStringList>{};
    const QStringList convert{"0", "6"};
    const auto refused = [&](const char *name, const QStringList &add, const QString &file, const QString &error) {
        QTest::newRow(name) << "" << add << QStringList{"--text-file", file, "--json"} << QByteArray() << 1 << QByteArray() << error << QList<QStringList>{};
    };
    refused("FIFO", convert, "{D}/fifo", "{D}/fifo” is not a regular file");
    refused("/dev/zero", convert, "/dev/zero", "/dev/zero” is not a regular file");
    refused("/dev/stdin, a pipe", convert, "/dev/stdin", "/dev/stdin” is not a regular file");
    refused("one byte over 16 MiB", convert, "{D}/big", "{D}/big is larger than 16 MiB");
    const QString tooLong = "131072 bytes long; a mail or message can carry at most 131071";
    refused("mail over 128 KiB", {"0", "3", "--set", "receives=a@x.org"}, "{D}/long", tooLong);
    refused("message over 128 KiB", {"0", "4", "--set", "receives=+100"}, "{D}/long", tooLong);
}

void KorvaneCliTest::runText()
{
    QFETCH(QString, lang);
    QFETCH(QStringList, add);
    QFETCH(QStringList, input);
    QFETCH(QByteArray, openStatus);
    QFETCH(int, exitCode);
    QFETCH(QByteArray, out);
    QFETCH(QString, err);
    QFETCH(QList<QStringList>, opened);
    QTemporaryDir dir;
    QCOMPARE(::mkfifo(QFile::encodeName(dir.filePath("fifo")).constData(), 0600), 0);
    for (const auto &[name, size] : {std::pair{"big", (16 << 20) + 1}, std::pair{"long", 128 * 1024}}) {
        QFile file(dir.filePath(name));
        QVERIFY(file.open(QIODevice::WriteOnly) && file.resize(size));
    }
    if (!openStatus.isEmpty())
        QVERIFY(writeFile(record() + QStringLiteral("/xdg-open.status"), openStatus + '\n'));
    const std::unique_ptr<Sandbox> own = lang.isEmpty() ? nullptr : std::make_unique<Sandbox>(lang);
    const Sandbox &korvane = own ? *own : m_share;
    const QString id = QString::fromUtf8(korvane.run(QStringList{"add"} + add).out.trimmed());
    QVERIFY(!id.isEmpty());
    const Result result = korvane.run(QStringList{"run", id} + input.replaceInStrings("{D}", dir.path()));
    QCOMPARE(result.exitCode, exitCode);
    if (!out.isNull())
        QCOMPARE(result.out, out);
    const QString message = QString::fromUtf8(result.err) + result.json().object().value("error").toObject().value("message").toString();
    QVERIFY2(message.contains(err.replace("{D}", dir.path())), qPrintable(message));
    QCOMPARE(recordedCalls(record(), "xdg-open"), opened);
    QVERIFY(recordedCalls(record(), "xdg-email").isEmpty() && recordedCalls(record(), "kdeconnect-cli").isEmpty());
}

QTEST_GUILESS_MAIN(KorvaneCliTest)
#include "tst_korvanecli.moc"
