#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QTest>

namespace {

struct Result {
    int exitCode = -1;
    QByteArray out;
    QByteArray err;
    QJsonDocument json() const { return QJsonDocument::fromJson(out); }
};

// Runs the real korvane executable on data folders of its own.
class Korvane
{
public:
    explicit Korvane(const QString &lang = QStringLiteral("en_US.UTF-8"))
        : m_lang(lang)
    {
    }

    Result run(const QStringList &args, const QByteArray &input = QByteArray()) const
    {
        QProcess process;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        if (!m_path.isEmpty())
            env.insert(QStringLiteral("PATH"), m_path + QLatin1Char(':') + env.value(QStringLiteral("PATH")));
        env.insert(QStringLiteral("XDG_DATA_HOME"), dataHome());
        env.insert(QStringLiteral("XDG_CONFIG_HOME"), m_dir.path() + QLatin1String("/config"));
        env.insert(QStringLiteral("LANG"), m_lang);
        env.remove(QStringLiteral("LANGUAGE"));
        env.remove(QStringLiteral("LC_ALL"));
        env.remove(QStringLiteral("DISPLAY"));
        env.remove(QStringLiteral("WAYLAND_DISPLAY"));
        process.setProcessEnvironment(env);
        process.setWorkingDirectory(m_dir.path());
        process.start(QString::fromLocal8Bit(qgetenv("KORVANE_BINARY")), args);
        process.write(input);
        process.closeWriteChannel();
        Result result;
        if (!process.waitForFinished(60000))
            return result;
        result.exitCode = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
        result.out = process.readAllStandardOutput();
        result.err = process.readAllStandardError();
        return result;
    }

    QString dataHome() const { return m_dir.path() + QLatin1String("/data"); }
    QString storePath() const { return dataHome() + QLatin1String("/korvane/KVCoreData.sqlite"); }
    QString path(const QString &name) const { return m_dir.filePath(name); }
    // Puts a folder in front of PATH, for stand-ins of desktop tools.
    void prependPath(const QString &folder) { m_path = folder; }

private:
    QString m_path;
    QTemporaryDir m_dir;
    QString m_lang;
};

QByteArray checksum(const QString &path)
{
    QFile file(path);
    file.open(QIODevice::ReadOnly);
    return QCryptographicHash::hash(file.readAll(), QCryptographicHash::Sha256);
}

QList<int> field(const QJsonArray &array, const char *name)
{
    QList<int> values;
    for (const QJsonValue &value : array)
        values.append(value.toObject().value(QLatin1String(name)).toInt());
    return values;
}

} // namespace

class CliTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void defaultsByLanguage_data();
    void defaultsByLanguage();
    void classifyFiles();
    void classifyInputs_data();
    void classifyInputs();
    void editTheStore();
    void usageErrors_data();
    void usageErrors();
    void helpForEveryCommand();
    void unusableStore();
    void runReportsWhatItCannotDo_data();
    void runReportsWhatItCannotDo();
    void runTextActions();
};

void CliTest::defaultsByLanguage_data()
{
    QTest::addColumn<QString>("lang");
    QTest::addColumn<int>("textCount");
    QTest::addColumn<int>("fileCount");
    QTest::newRow("English") << "en_US.UTF-8" << 8 << 10;
    QTest::newRow("Chinese") << "zh_CN.UTF-8" << 8 << 11;
}

void CliTest::defaultsByLanguage()
{
    QFETCH(QString, lang);
    QFETCH(int, textCount);
    QFETCH(int, fileCount);
    Korvane korvane(lang);
    const Result result = korvane.run({"list", "--json"});
    QCOMPARE(result.exitCode, 0);
    const QJsonArray actions = result.json().array();
    QCOMPARE(actions.size(), textCount + fileCount);

    QList<int> expectedIndexes;
    for (int i = 0; i < textCount; ++i)
        expectedIndexes.append(i);
    for (int i = 0; i < fileCount; ++i)
        expectedIndexes.append(i);
    QCOMPARE(field(actions, "index"), expectedIndexes);
    const QList<int> catalogs = field(actions, "catalog");
    QCOMPARE(catalogs.count(0), textCount);
    const QJsonObject first = actions.first().toObject();
    for (const char *key : {"dropID", "catalog", "type", "index", "title", "keyCode", "modifiers", "supportTypes"})
        QVERIFY2(first.contains(QLatin1String(key)), key);

    // The second start finds the store filled and adds nothing.
    QCOMPARE(korvane.run({"list", "--json"}).json().array().size(), textCount + fileCount);
    QCOMPARE(QFile::permissions(korvane.storePath()) & 0x0077, QFileDevice::Permissions());
}

void CliTest::classifyFiles()
{
    Korvane korvane;
    const Result result = korvane.run({"classify", "a.jpg", "b.svg", "c.mov", "--json"});
    QCOMPARE(result.exitCode, 0);
    const QJsonObject object = result.json().object();
    QCOMPARE(object.value("dataCatalog").toInt(), 2);
    QCOMPARE(object.value("dataSubCatalog").toInt(), 0);
    QCOMPARE(object.value("containedFileType").toInt(), 54);
    QCOMPARE(object.value("itemsCount").toInt(), 3);
    QCOMPARE(object.value("imgFileUrls").toArray(), QJsonArray{korvane.path("a.jpg")});
    QCOMPARE(object.value("videoFileUrls").toArray(), QJsonArray{korvane.path("c.mov")});
    QCOMPARE(object.value("otherFileUrls").toArray(), QJsonArray{korvane.path("b.svg")});
    QCOMPARE(object.value("allFileUrls").toArray().size(), 3);
    QVERIFY(object.value("textString").isNull());
    QVERIFY(object.value("imageData").isNull());
    // Image files and files of any kind: every file action and every image action.
    QCOMPARE(field(object.value("actions").toArray(), "type"), (QList<int>{7, 6, 0, 1, 2, 3, 4, 10, 11, 8}));
}

void CliTest::classifyInputs_data()
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
                                     << "line one\nline two\n" << -1 << 8;
    QTest::newRow("png image") << QStringList{"--image", "@png"} << QByteArray() << 2 << 0 << QString() << 69 << 6;
    QTest::newRow("a folder that exists") << QStringList{"sub"} << QByteArray() << 2 << (2 | 8) << QString() << -1 << 4;
    QTest::newRow("files then text") << QStringList{"x.png", "--text", "t"} << QByteArray() << 1 << (2 | 4) << "t" << -1 << 8;
    QTest::newRow("nothing") << QStringList{} << QByteArray() << 0 << 0 << QString() << -1 << 0;
}

void CliTest::classifyInputs()
{
    QFETCH(QStringList, args);
    QFETCH(QByteArray, stdinData);
    QFETCH(int, catalog);
    QFETCH(int, fileKinds);
    QFETCH(QString, text);
    QFETCH(int, imageBytes);
    QFETCH(int, actionCount);

    Korvane korvane;
    QDir(korvane.path(QString())).mkdir(QStringLiteral("sub"));
    QImage image(2, 2, QImage::Format_RGB32);
    image.fill(Qt::blue);
    QVERIFY(image.save(korvane.path("pic.png"), "PNG"));
    const int pngSize = int(QFileInfo(korvane.path("pic.png")).size());
    args.replaceInStrings(QStringLiteral("@png"), korvane.path("pic.png"));

    const Result result = korvane.run(QStringList{"classify"} + args + QStringList{"--json"}, stdinData);
    QCOMPARE(result.exitCode, 0);
    const QJsonObject object = result.json().object();
    QCOMPARE(object.value("dataCatalog").toInt(), catalog);
    QCOMPARE(object.value("containedFileType").toInt(), fileKinds);
    QCOMPARE(object.value("textString").toString(), text);
    QCOMPARE(object.value("imageData").toInt(-1), imageBytes < 0 ? -1 : pngSize);
    QCOMPARE(object.value("actions").toArray().size(), actionCount);
}

void CliTest::editTheStore()
{
    Korvane korvane;
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

    QCOMPARE(korvane.run({"set", id, "drop.title=Backup", "keyCode=11", "modifiers=1048576", "savePath=/srv/other"}).exitCode, 0);
    // A search action's URLs and a mail action's own title field.
    const QString search = QString::fromUtf8(korvane.run({"add", "0", "5", "--set", "urls+=https://s.example/?q={text}"}).out.trimmed());
    const QString mail = QString::fromUtf8(korvane.run({"add", "0", "3", "--title", "Mail Bob", "--set", "title=Hi", "--set", "receives=bob@example.org"}).out.trimmed());
    QVERIFY(search.toInt() > 0 && mail.toInt() > 0);

    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("check"));
        db.setDatabaseName(korvane.storePath());
        QVERIFY(db.open());
        QSqlQuery query(db);
        QVERIFY(query.exec(QStringLiteral("SELECT d.title, d.keyCode, d.modifiers, c.savePath FROM DropListEntity d JOIN FileCopy c ON c.dropAction = d.Z_PK WHERE d.dropID = %1").arg(id)));
        QVERIFY(query.next());
        QCOMPARE(query.value(0).toString(), QStringLiteral("Backup"));
        QCOMPARE(query.value(1).toInt(), 11);
        QCOMPARE(query.value(2).toInt(), 1048576);
        QCOMPARE(query.value(3).toString(), QStringLiteral("/srv/other"));
        QVERIFY(query.exec(QStringLiteral("SELECT d.title, m.title, m.receives FROM DropListEntity d JOIN TextEmail m ON m.dropAction = d.Z_PK WHERE d.dropID = %1").arg(mail)));
        QVERIFY(query.next());
        QCOMPARE(query.value(0).toString(), QStringLiteral("Mail Bob"));
        QCOMPARE(query.value(1).toString(), QStringLiteral("Hi"));
        QCOMPARE(query.value(2).toString(), QStringLiteral("bob@example.org"));
        QVERIFY(query.exec(QStringLiteral("SELECT count(*) FROM CustomUrl WHERE url = 'https://s.example/?q={text}'")));
        QVERIFY(query.next());
        QCOMPARE(query.value(0).toInt(), 1);
        query.finish();
        db.close();
    }
    QSqlDatabase::removeDatabase(QStringLiteral("check"));

    const QString listing = QString::fromUtf8(korvane.run({"list"}).out);
    QVERIFY(listing.contains(QStringLiteral("Backup\tkey 11 modifiers 1048576")));

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

void CliTest::usageErrors_data()
{
    QTest::addColumn<QStringList>("args");
    QTest::newRow("unknown command") << QStringList{"frobnicate"};
    QTest::newRow("list with an argument") << QStringList{"list", "extra"};
    QTest::newRow("run without action") << QStringList{"run"};
    QTest::newRow("run with unknown option") << QStringList{"run", "Translate", "--fast"};
    QTest::newRow("--text without value") << QStringList{"classify", "--text"};
    QTest::newRow("image that is no image") << QStringList{"classify", "--image", "/etc/hostname"};
    QTest::newRow("unknown kind") << QStringList{"add", "0", "12"};
    QTest::newRow("kind that is no number") << QStringList{"add", "one", "two"};
    QTest::newRow("set without assignment") << QStringList{"set", "123"};
    QTest::newRow("set fixed field") << QStringList{"set", "@id", "drop.type=3"};
    QTest::newRow("set bad boolean") << QStringList{"set", "@id", "needCopy=maybe"};
    QTest::newRow("urls on a copy action") << QStringList{"set", "@id", "urls+=x"};
    QTest::newRow("remove two") << QStringList{"remove", "1", "2"};
}

void CliTest::usageErrors()
{
    QFETCH(QStringList, args);
    Korvane korvane;
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
}

void CliTest::helpForEveryCommand()
{
    Korvane korvane;
    const Result general = korvane.run({"--help"});
    QCOMPARE(general.exitCode, 0);
    for (const char *command : {"list", "classify", "run", "add", "set", "remove"}) {
        QVERIFY2(general.out.contains(QByteArray("  ") + command + ' '), command);
        const Result help = korvane.run({QString::fromLatin1(command), "--help"});
        QCOMPARE(help.exitCode, 0);
        QVERIFY(help.out.startsWith("Usage: korvane " + QByteArray(command)));
        QVERIFY2(help.out.contains("Example:\n  korvane " + QByteArray(command)), command);
    }
    // Help never opens the store.
    QVERIFY(!QFile::exists(korvane.storePath()));
}

void CliTest::unusableStore()
{
    Korvane korvane;
    QDir().mkpath(QFileInfo(korvane.storePath()).path());
    {
        QFile file(korvane.storePath());
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(QByteArray("not a database, but the user's bytes\n").repeated(100));
    }
    const QByteArray before = checksum(korvane.storePath());
    for (const QStringList &args : {QStringList{"list"}, QStringList{"add", "1", "9"}, QStringList{"classify", "a.png"}}) {
        const Result result = korvane.run(args);
        QCOMPARE(result.exitCode, 1);
        QVERIFY(result.err.contains("falied to create persistentStoreCoordinator"));
        QVERIFY(result.err.contains("korvane: the action store cannot be opened"));
    }
    QCOMPARE(checksum(korvane.storePath()), before);
}

void CliTest::runReportsWhatItCannotDo_data()
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

void CliTest::runReportsWhatItCannotDo()
{
    QFETCH(QStringList, args);
    QFETCH(int, code);
    QFETCH(QString, message);
    Korvane korvane;
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

void CliTest::runTextActions()
{
    Korvane korvane;
    // The clipboard goes to stdout, the notification to stderr.
    Result result = korvane.run({"run", "Character Counter", "--text", "中文 ab cd1"});
    QCOMPARE(result.exitCode, 0);
    QCOMPARE(result.out, QByteArray("Characters: 11. Letters: 4. English words: 1. \n"));
    QCOMPARE(result.err, QByteArray("Character Counter succeeded: Characters: 11. Letters: 4. English words: 1. \n"));

    // Long text comes through standard input.
    const QByteArray text = QByteArray("word ").repeated(200000);
    result = korvane.run({"run", "Character Counter", "--text-file", "-", "--json"}, text);
    QCOMPARE(result.exitCode, 0);
    QVERIFY(result.err.isEmpty());
    const QJsonObject object = result.json().object();
    QCOMPARE(object.value("success").toBool(), true);
    QVERIFY(object.value("error").isNull());
    QCOMPARE(object.value("pasteboard").toObject().value("text").toString(),
             QStringLiteral("Characters: 1000000. Letters: 800000. English words: 200000. "));
    QCOMPARE(object.value("notification").toObject().value("title").toString(), QStringLiteral("Character Counter succeeded"));

    // Muted notifications: none in the output, the result still there.
    {
        QDir().mkpath(korvane.path("config/korvane"));
        QFile conf(korvane.path("config/korvane/korvane.conf"));
        QVERIFY(conf.open(QIODevice::WriteOnly));
        conf.write("[General]\nmuteNotifi=1\n");
    }
    result = korvane.run({"run", "Character Counter", "--text", "ab", "--json"});
    QVERIFY(result.json().object().value("notification").isNull());
    QVERIFY(result.json().object().value("pasteboard").toObject().contains("text"));
    QFile::remove(korvane.path("config/korvane/korvane.conf"));

    // URLs go to the desktop's opener, a stand-in here that records what it was given.
    QDir().mkpath(korvane.path("bin"));
    {
        QFile opener(korvane.path("bin/xdg-open"));
        QVERIFY(opener.open(QIODevice::WriteOnly));
        opener.write("#!/bin/sh\nprintf '%s\\n' \"$@\" >> \"$(dirname \"$0\")/opened\"\n");
        opener.setPermissions(opener.permissions() | QFileDevice::ExeOwner);
    }
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

QTEST_GUILESS_MAIN(CliTest)
#include "tst_cli.moc"
