#include "support/korvanecli.h"

#include <QJsonObject>
#include <QTest>

using namespace KorvaneTest;

namespace {

// A store with what an export must carry: URL templates, hotkeys, secrets, settings that
// differ from their defaults.
void fillStore(const Sandbox &korvane)
{
    const QList<QStringList> commands{
        {"add", "0", "5", "--title", "Search two sites", "--set", "urls+=https://a.example/?q={text}", "--set",
         "urls+=https://b.example/{text}", "--set", "needCopy=1", "--set", "keyCode=38", "--set", "modifiers=768"},
        {"add", "1", "12", "--title", "Upload to Qiniu", "--set", "qiniuAccessKey=AK-visible", "--set",
         "qiniuSecretKey=TOPSECRET-QINIU", "--set", "qiniuDomain=cdn.example.org", "--set", "suffixType=2"},
        {"add", "1", "5", "--title", "Weibo", "--set", "weiboAccount=me", "--set", "weiboPassWord=TOPSECRET-WEIBO"},
        {"add", "1", "17", "--title", "Number them", "--set", "needCustomize=1", "--set", "customizeStartLetter=c",
         "--set", "customizeStartNumber=7", "--set", "keyCode=40", "--set", "modifiers=256"},
        {"add", "1", "0", "--set", "compressionRato=0.5", "--set", "autoPNGtoJPG=true"},
    };
    for (const QStringList &command : commands) {
        const Result result = korvane.run(command);
        QVERIFY2(result.exitCode == 0, result.err.constData());
    }
}

QJsonArray withoutIDs(QJsonArray actions)
{
    for (auto it = actions.begin(); it != actions.end(); ++it) {
        QJsonObject object = it->toObject();
        object.remove(QStringLiteral("dropID"));
        *it = object;
    }
    return actions;
}

QByteArray actionsFile(const QByteArray &actions)
{
    return "{\n  \"format\": \"korvane-actions\",\n  \"version\": 1,\n  \"actions\": [\n" + actions + "\n  ]\n}\n";
}

} // namespace

class ActionTransferTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void roundTrip_data();
    void roundTrip();
    void appendsAtTheEnd();
    void refusedFiles_data();
    void refusedFiles();
};

void ActionTransferTest::roundTrip_data()
{
    QTest::addColumn<bool>("withSecrets");
    QTest::newRow("secrets left out") << false;
    QTest::newRow("with secrets") << true;
}

void ActionTransferTest::roundTrip()
{
    QFETCH(bool, withSecrets);
    Sandbox source;
    fillStore(source);
    // A value no JSON number holds, as an older version could store it.
    sql(source.storePath(), {"UPDATE ImageCompression SET compressionRato = 1e999"});
    QStringList exportArgs{"export", source.path("actions.json")};
    if (withSecrets)
        exportArgs.append("--with-secrets");
    Result result = source.run(exportArgs);
    QVERIFY2(result.exitCode == 0, result.err.constData());
    QFile file(source.path("actions.json"));
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QByteArray exported = file.readAll();
    QCOMPARE(exported.contains("TOPSECRET"), withSecrets);
    QCOMPARE(exported.contains("\"qiniuSecretKey\""), withSecrets);
    QVERIFY(exported.contains("AK-visible"));
    QVERIFY(exported.contains("https://b.example/{text}"));
    QVERIFY(exported.contains("\"compressionRato\": 0.75") && !exported.contains("null"));
    if (withSecrets)
        QCOMPARE(file.permissions() & 0x0077, QFileDevice::Permissions());

    Sandbox target;
    QVERIFY(!target.list().isEmpty());
    result = target.run({"import", source.path("actions.json"), "--replace"});
    QVERIFY2(result.exitCode == 0, result.err.constData());
    QVERIFY(!result.err.contains("TOPSECRET"));
    QCOMPARE(result.err.contains("no keys or passwords for 2"), !withSecrets);

    // Same list, same order, same hotkeys; only the dropIDs are new.
    QCOMPARE(withoutIDs(target.list()), withoutIDs(source.list()));
    QCOMPARE(sql(target.storePath(), {"SELECT url FROM CustomUrl ORDER BY Z_PK"}), sql(source.storePath(), {"SELECT url FROM CustomUrl ORDER BY Z_PK"}));
    QCOMPARE(sql(target.storePath(), {"SELECT customizeStartLetter FROM FileRename ORDER BY Z_PK"}), QStringList{"c"});
    QCOMPARE(sql(target.storePath(), {"SELECT qiniuAccessKey FROM FileUploadQinNiu ORDER BY Z_PK"}), QStringList{"AK-visible"});
    QCOMPARE(sql(target.storePath(), {"SELECT qiniuSecretKey FROM FileUploadQinNiu ORDER BY Z_PK"}), QStringList{withSecrets ? "TOPSECRET-QINIU" : ""});
    QCOMPARE(sql(target.storePath(), {"SELECT weiboPassWord FROM ImageUploadWeiBo ORDER BY Z_PK"}), QStringList{withSecrets ? "TOPSECRET-WEIBO" : ""});

    // Exported again, the store gives the same file.
    result = target.run(exportArgs.mid(0, 1) + QStringList{"-"} + exportArgs.mid(2));
    QVERIFY2(result.exitCode == 0, result.err.constData());
    QCOMPARE(QJsonDocument::fromJson(result.out), QJsonDocument::fromJson(exported));
}

void ActionTransferTest::appendsAtTheEnd()
{
    Sandbox source;
    fillStore(source);
    QVERIFY(source.run({"export", source.path("actions.json")}).exitCode == 0);

    Sandbox target;
    const QJsonArray before = target.list();
    QVERIFY(!before.isEmpty());
    const Result result = target.run({"import", source.path("actions.json")});
    QVERIFY2(result.exitCode == 0, result.err.constData());
    QVERIFY(result.err.contains("imported 23 actions"));

    const QJsonArray after = target.list();
    const QJsonArray sourceList = source.list();
    QCOMPARE(after.size(), before.size() + sourceList.size());
    // Each catalog keeps its own list first, then the file's actions of that catalog in order.
    for (const int catalog : {0, 1}) {
        QStringList expected, titles;
        QList<int> indexes;
        for (const QJsonArray *list : {&before, &sourceList}) {
            for (const QJsonValue &action : *list) {
                if (action.toObject().value("catalog").toInt() == catalog)
                    expected.append(action.toObject().value("title").toString());
            }
        }
        for (const QJsonValue &action : after) {
            if (action.toObject().value("catalog").toInt() != catalog)
                continue;
            titles.append(action.toObject().value("title").toString());
            indexes.append(action.toObject().value("index").toInt());
        }
        QCOMPARE(titles, expected);
        for (int i = 0; i < indexes.size(); ++i)
            QCOMPARE(indexes.at(i), i);
    }

    // A second import would give two actions the same hotkey: refused, store untouched.
    const QByteArray stored = checksum(target.storePath());
    const Result again = target.run({"import", source.path("actions.json")});
    QCOMPARE(again.exitCode, 1);
    QVERIFY2(again.err.contains("is already \"Search two sites\"'s"), again.err.constData());
    QCOMPARE(checksum(target.storePath()), stored);
}

void ActionTransferTest::refusedFiles_data()
{
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<bool>("replace");
    QTest::addColumn<QString>("expected");
    QTest::addColumn<QString>("forbidden");

    QByteArray urls;
    for (int i = 0; i < 1001; ++i)
        urls += QByteArray(i ? "," : "") + "{\"url\": \"https://x/" + QByteArray::number(i) + "?q={text}\"}";
    QByteArray many("    {\"catalog\": 0, \"type\": 1}");
    many += QByteArray(",\n    {\"catalog\": 0, \"type\": 1}").repeated(99999);
    struct Row {
        const char *tag;
        QByteArray content;
        bool replace;
        const char *expected;
        const char *forbidden = ""; // what the error must not repeat
    };
    const Row rows[] = {
        {"replacing with nothing", actionsFile(QByteArray()), true, "line 4 (at actions): the file holds no actions"},
        {"not JSON", actionsFile("    {\"catalog\": 0 \"type\": 1}"), false, "line 5: not valid JSON"},
        {"not an object", QByteArray("[\n  1\n]\n"), false, "line 1: not a Korvane action file"},
        {"another format", QByteArray("{\n  \"format\": \"notes\",\n  \"actions\": []\n}"), false, "line 2 (at format): not a Korvane action file"},
        {"newer version", QByteArray("{\n  \"format\": \"korvane-actions\",\n\n  \"version\": 2,\n  \"actions\": []\n}"), true, "line 4 (at version): this Korvane reads version 1"},
        {"unknown kind", actionsFile("    {\"catalog\": 0, \"type\": 1},\n    {\"catalog\": 0,\n     \"type\": 42}"), true, "line 7 (at actions[1].type): no action kind has catalog 0 and type 42"},
        {"catalog missing", actionsFile("    {\"catalog\": 1, \"type\": 1},\n    {\"type\": 1}"), false, "line 6 (at actions[1]): an action needs catalog"},
        {"boolean as text", actionsFile("    {\"catalog\": 0, \"type\": 1,\n     \"settings\": {\n       \"needCopy\": \"yes\"}}"), false, "line 7 (at actions[0].settings.needCopy): needCopy of TextClearStyle must be true or false"},
        {"title as number", actionsFile("    {\"catalog\": 0, \"type\": 1, \"title\": 5}"), false, "line 5 (at actions[0].title): title of DropListEntity must be a string"},
        {"out of range", actionsFile("    {\"catalog\": 0, \"type\": 6,\n     \"settings\": {\"conversionType\": 70000}}"), false, "line 6 (at actions[0].settings.conversionType): conversionType of TextTraditionalConversion must be a whole number from 0 to 32767"},
        {"1e300", actionsFile("    {\"catalog\": 1, \"type\": 0, \"settings\": {\"compressionRato\": 1e300}}"), false, "line 5 (at actions[0].settings.compressionRato): compressionRato of ImageCompression must be a number from 0 to 1"},
        {"negative", actionsFile("    {\"catalog\": 0, \"type\": 1, \"keyCode\": -1}"), false, "line 5 (at actions[0].keyCode): keyCode of DropListEntity must be a whole number from 0 to 2147483647"},
        {"unknown setting", actionsFile("    {\"catalog\": 1, \"type\": 8, \"settings\": {\"savePath\": \"~\", \"colour\": 1}}"), false, "line 5 (at actions[0].settings.colour): FileMove has no field \"colour\"; its fields are savePath"},
        {"rename text with a slash", actionsFile("    {\"catalog\": 1, \"type\": 17, \"settings\": {\"needAdd\": true,\n      \"addString\": \"../x\"}}"), false, "line 6 (at actions[0].settings.addString): addString is part of every new file name and cannot hold \"/\""},
        {"dropID given", actionsFile("    {\"catalog\": 1, \"type\": 8, \"dropID\": 12}"), false, "line 5 (at actions[0].dropID): DropListEntity has no field \"dropID\""},
        {"urls on another kind", actionsFile("    {\"catalog\": 0, \"type\": 0,\n     \"urls\": []}"), false, "line 6 (at actions[0].urls): DropListEntity has no field \"urls\""},
        {"url as text", actionsFile("    {\"catalog\": 0, \"type\": 5, \"urls\": [\n      {\"url\": \"https://x/{text}\"},\n      \"https://y/{text}\"]}"), false, "line 7 (at actions[0].urls[1]): a URL template must be an object"},
        {"empty url", actionsFile("    {\"catalog\": 0, \"type\": 5, \"urls\": [{\"url\": \"\"}]}"), false, "line 5 (at actions[0].urls[0]): a URL template needs a non-empty url"},
        {"same hotkey twice", actionsFile("    {\"catalog\": 0, \"type\": 1, \"keyCode\": 38, \"modifiers\": 256},\n    {\"catalog\": 1, \"type\": 8,\n     \"keyCode\": 38, \"modifiers\": 256}"), true, "line 7 (at actions[1].keyCode): this action has the hotkey of actions[0]"},
        // A secret of the wrong type or beside a problem is never repeated.
        {"secret of the wrong type", actionsFile("    {\"catalog\": 1, \"type\": 12, \"settings\": {\n      \"qiniuSecretKey\": 98765432101}}"), false, "line 6 (at actions[0].settings.qiniuSecretKey): qiniuSecretKey of FileUploadQinNiu must be a string", "98765432101"},
        {"secret beside a problem", actionsFile("    {\"catalog\": 1, \"type\": 13, \"settings\": {\"aliSecretKey\": \"TOPSECRET-ALI\",\n      \"suffixType\": \"x\"}}"), false, "line 6 (at actions[0].settings.suffixType): suffixType of FileUploadAli must be a whole number", "TOPSECRET-ALI"},
        {"33 MB", actionsFile("    {\"catalog\": 0, \"type\": 1, \"title\": \"" + QByteArray(33 * 1024 * 1024, 'x') + "\"}"), false, "the file is larger than 32 MB"},
        {"100000 actions", actionsFile(many), true, "line 4 (at actions): the file holds 100000 actions; at most 5000 are imported at once"},
        {"1001 URL templates", actionsFile("    {\"catalog\": 0, \"type\": 1},\n    {\"catalog\": 0, \"type\": 5,\n     \"urls\": [" + urls + "]}"), false, "line 7 (at actions[1].urls): an action takes at most 1000 URL templates, not 1001"},
    };
    for (const Row &row : rows)
        QTest::newRow(row.tag) << row.content << row.replace << QString(row.expected) << QString(row.forbidden);
}

void ActionTransferTest::refusedFiles()
{
    QFETCH(QByteArray, content);
    QFETCH(bool, replace);
    QFETCH(QString, expected);
    QFETCH(QString, forbidden);

    Sandbox korvane;
    const QJsonArray before = korvane.list();
    QVERIFY(!before.isEmpty());
    const QByteArray stored = checksum(korvane.storePath());
    QVERIFY(!stored.isEmpty());
    const QString file = korvane.write("refused.json", content);
    QStringList args{"import", file};
    if (replace)
        args.append("--replace");
    const Result result = korvane.run(args);
    QCOMPARE(result.exitCode, 1);
    const QString error = QString::fromUtf8(result.err);
    QVERIFY2(error.contains(expected), qPrintable(error));
    QVERIFY2(error.contains("nothing was imported"), qPrintable(error));
    if (!forbidden.isEmpty())
        QVERIFY2(!error.contains(forbidden), qPrintable(error));
    QCOMPARE(checksum(korvane.storePath()), stored);
    QCOMPARE(korvane.list(), before);
}

QTEST_GUILESS_MAIN(ActionTransferTest)
#include "tst_actiontransfer.moc"
