#include "support/actionrun.h"
#include "support/files.h"
#include "support/korvanecli.h"
#include "store/customurl.h"
#include "store/droplistentity.h"
#include "store/compresssettings.h"
#include "store/convertsettings.h"
#include "store/actionstore.h"
#include "platform/platform.h"
#include "store/storeschema.h"
#include "actions/text/translations.h"
#include "platform/xdg/qsettingsbackend.h"
#include "store/customurlsettings.h"
#include "store/translatesettings.h"

#include <QFile>
#include <QRegularExpression>
#include <QSet>
#include <QTemporaryDir>
#include <QTest>

using namespace KorvaneTest;

namespace {

// A store of its own for each test: the data folder points into a fresh temporary folder.
class StoreSandbox
{
public:
    explicit StoreSandbox(const QString &language = QStringLiteral("en-US"))
    {
        qputenv("XDG_DATA_HOME", QFile::encodeName(m_dir.path() + QLatin1String("/data")));
        auto defaults = std::make_unique<QSettingsBackend>(m_dir.path() + QLatin1String("/korvane.conf"));
        defaults->setValue(QStringLiteral("AppleLanguages"), QStringList{language});
        Platform::setSettingsBackend(std::move(defaults));
    }

    QString storeFolder() const { return m_dir.path() + QLatin1String("/data/") + QCoreApplication::applicationName(); }
    QString storePath() const { return storeFolder() + QLatin1String("/KVCoreData.sqlite"); }

private:
    QTemporaryDir m_dir;
};

QList<int> types(const QList<DropListEntityPtr> &drops)
{
    QList<int> result;
    for (const auto &drop : drops)
        result.append(drop->type());
    return result;
}

} // namespace

class ActionStoreTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void defaults_data();
    void defaults();
    void newDropKinds();
    void dropIDsAreUnique();
    void fitFilter_data();
    void fitFilter();
    void hotkeys();
    void inMemoryValuesWinOverTheStore();
    void deleteTakesSettingsAndUrls();
    void customUrls();
    void migratesAnOlderStore();
    void unusableStoreIsLeftAlone_data();
    void unusableStoreIsLeftAlone();
};

void ActionStoreTest::initTestCase()
{
    Translations::install({QStringLiteral("en-US")});
}

void ActionStoreTest::defaults_data()
{
    QTest::addColumn<QString>("language");
    QTest::addColumn<QStringList>("textTitles");
    QTest::addColumn<QList<int>>("fileTypes");

    QTest::newRow("English") << QStringLiteral("en-US")
                             << QStringList{"Nearby Share", "Clear Text Style", "Character Counter", "Translate to English",
                                            "Search Amazon & eBay", "Search Flathub", "Send by Mail", "Send as Message"}
                             << QList<int>{7, 6, 0, 1, 2, 3, 4, 10, 11, 8};
    QTest::newRow("Chinese") << QStringLiteral("zh-Hans-CN")
                             << QStringList{"附近分享", "清除文本样式", "翻译为中文", "转换为繁体", "搜索淘宝和京东",
                                            "搜索 Flathub", "发送邮件", "发送消息"}
                             << QList<int>{7, 6, 0, 3, 1, 1, 2, 4, 10, 11, 8};
}

void ActionStoreTest::defaults()
{
    QFETCH(QString, language);

    StoreSandbox sandbox(language);
    Translations::install({language});
    ActionStore helper;
    helper.initializationDefaultData();

    const auto text = helper.getDropsByCatalog(0);
    const auto files = helper.getDropsByCatalog(1);
    QCOMPARE(helper.getAllDrops().size(), text.size() + files.size());
    QStringList titles;
    for (int i = 0; i < text.size(); ++i) {
        QCOMPARE(text.at(i)->index(), i);
        titles.append(text.at(i)->title());
    }
    QTEST(titles, "textTitles");
    QTEST(types(files), "fileTypes");
    for (int i = 0; i < files.size(); ++i)
        QCOMPARE(files.at(i)->index(), i);

    const bool chinese = language.startsWith(QLatin1String("zh"));
    const auto translate = chinese ? text.at(2) : text.at(3);
    QCOMPARE(translate->translateSettings()->type(), chinese ? qint16(0) : qint16(1));
    const auto twoShops = text.at(4)->customUrlSettings()->urls();
    QCOMPARE(twoShops.size(), 2);
    QCOMPARE(twoShops.at(0)->createTime(), twoShops.at(1)->createTime());
    QVERIFY(twoShops.at(0)->url().contains(QLatin1String("{text}")));
    QCOMPARE(text.at(5)->customUrlSettings()->urls().size(), 1);
    QVERIFY(text.at(5)->customUrlSettings()->urls().first()->url().startsWith(QLatin1String("https://flathub.org/apps/search?q=")));
    // The two format actions convert to different formats.
    if (chinese)
        QVERIFY(files.at(4)->convertSettings()->convertType() != files.at(5)->convertSettings()->convertType());
    Translations::install({QStringLiteral("en-US")});
}

// A new action of each kind, with its settings record, as a fresh helper reads it back: any
// catalog but text is a file catalog; a type past the catalog's kinds makes a bare record.
void ActionStoreTest::newDropKinds()
{
    const std::tuple<int, int, const char *, qint64, const char *> kinds[] = {
        {0, 0, "TextTranslate", 0, "Translate"}, {1, 0, "ImageCompression", 4, "Compress Images"}, {1, 6, "ImageToPhoto", 20, "Add to Photos"}, {1, 16, "ImageRotate", 4, "Rotate Images"}, {1, 17, "FileRename", 2, "Rename Files"}, {3, 9, "FileCopy", 2, "Copy to Folder"}, {0, 12, "", 0, ""}, {1, 18, "", 0, ""}};
    for (const auto &[catalog, type, settingsRecord, supportTypes, title] : kinds) {
        StoreSandbox sandbox;
        qint32 id = 0;
        {
            ActionStore helper;
            id = helper.getNewDrop(catalog, type, 4)->dropID();
        }
        ActionStore helper;
        const auto drop = helper.fetchDropWithID(id);
        QVERIFY(drop);
        QCOMPARE(drop->index(), 4);
        QCOMPARE(int(drop->catalog()), catalog);
        QCOMPARE(drop->type(), type);
        QCOMPARE(drop->supportTypes(), supportTypes);
        QCOMPARE(drop->title(), QString(title));
        QCOMPARE(drop->title().isNull(), !*title);
        QCOMPARE(drop->settings() ? drop->settings()->entity().name : QString(), QString(settingsRecord));
    }
}

void ActionStoreTest::dropIDsAreUnique()
{
    StoreSandbox sandbox;
    ActionStore helper;
    QSet<qint32> ids;
    for (int i = 0; i < 1200; ++i) {
        const qint32 id = helper.getNewDrop(1, 9, i)->dropID();
        QVERIFY(id > 0);
        ids.insert(id);
    }
    QCOMPARE(ids.size(), 1200);
}

void ActionStoreTest::fitFilter_data()
{
    QTest::addColumn<QStringList>("items");
    QTest::addColumn<QList<int>>("expected");

    const QList<int> mask2{7, 8, 9, 10, 11, 12, 13, 14, 15, 17};
    QTest::newRow("two folders: no Qiniu") << QStringList{"/d/a/", "/d/b/"} << QList<int>{7, 8, 9, 10, 11, 13, 14, 15, 17};
    QTest::newRow("folder and a text file") << QStringList{"/d/a/", "/d/notes.txt"} << mask2;
    QTest::newRow("png data") << QStringList{"png"} << QList<int>{0, 1, 2, 3, 4, 5, 6, 16};
    QTest::newRow("an image file") << QStringList{"/d/a.jpg"} << QList<int>{0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16, 17};
    QTest::newRow("a video") << QStringList{"/d/a.mp4"} << QList<int>{6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 17};
    QTest::newRow("svg is no image") << QStringList{"/d/a.svg"} << mask2;
    QTest::newRow("text: the text actions") << QStringList{"text:hello"} << QList<int>{0, 1, 2, 3, 4, 5, 6, 7, 8, 9};
    QTest::newRow("nothing") << QStringList{} << QList<int>{};
}

void ActionStoreTest::fitFilter()
{
    QFETCH(QStringList, items);

    StoreSandbox sandbox;
    ActionStore helper;
    // One action of every kind, listed in the reverse of type order to show the sort by index.
    for (int type = 0; type < 18; ++type)
        helper.getNewDrop(1, type, type);
    for (int type = 0; type < 10; ++type)
        helper.getNewDrop(0, type, type);
    dropItems(items);
    QTEST(types(helper.dropsOffering(*KorvaneTest::dropped())), "expected");
}

void ActionStoreTest::hotkeys()
{
    StoreSandbox sandbox;
    ActionStore helper;
    const auto a = helper.getNewDrop(0, 1, 0);
    const auto b = helper.getNewDrop(1, 9, 0);
    const auto none = helper.getNewDrop(1, 8, 1);
    a->setKeyCode(2);
    a->setModifiers(1048576);
    b->setKeyCode(0);
    b->setModifiers(262144);
    helper.saveDataChange();

    QCOMPARE(helper.fetchDropWith(2, 1048576), a);
    QCOMPARE(helper.fetchDropWith(0, 262144), b);
    QVERIFY(!helper.fetchDropWith(2, 0));
    // 0 and 0 means "no hotkey", even though a record holds exactly that.
    QVERIFY(!helper.fetchDropWith(0, 0));
    QVERIFY(!none->hasHotKey() && a->hasHotKey() && b->hasHotKey());
    // The same, as key combinations: the stored flags of the desktop's modifiers decide.
    QCOMPARE(helper.fetchDropWith(QKeyCombination(Qt::MetaModifier, Qt::Key_D)), a);
    QCOMPARE(helper.fetchDropWith(QKeyCombination(Qt::ControlModifier, Qt::Key_A)), b);
    QVERIFY(!helper.fetchDropWith(QKeyCombination(Qt::Key_D)) && !helper.fetchDropWith(QKeyCombination()));
}

void ActionStoreTest::inMemoryValuesWinOverTheStore()
{
    StoreSandbox sandbox;
    ActionStore helper;
    const auto drop = helper.getNewDrop(1, 9, 0);
    drop->setTitle(QStringLiteral("mine"));
    QVERIFY(sql(sandbox.storePath(), {"UPDATE DropListEntity SET title = 'theirs', \"index\" = 7"}).isEmpty());
    const auto again = helper.getAllDrops();
    QCOMPARE(again.size(), 1);
    QCOMPARE(again.first(), drop);
    QCOMPARE(drop->title(), QStringLiteral("mine"));
    // What was not changed here is read again, and a save writes back only what was.
    QCOMPARE(drop->index(), 7);
    QVERIFY(sql(sandbox.storePath(), {"UPDATE DropListEntity SET keyCode = 5"}).isEmpty());
    QVERIFY(helper.saveDataChange());
    QCOMPARE(sql(sandbox.storePath(), {"SELECT title || keyCode FROM DropListEntity"}), QStringList{"mine5"});
}

void ActionStoreTest::deleteTakesSettingsAndUrls()
{
    StoreSandbox sandbox;
    ActionStore helper;
    const auto search = helper.getNewDrop(0, 5, 0);
    helper.addNewCustomUrl(search, QStringLiteral("https://a.example/?q={text}"));
    helper.addNewCustomUrl(search, QStringLiteral("https://b.example/?q={text}"));
    const auto keep = helper.getNewDrop(0, 5, 1);
    helper.addNewCustomUrl(keep, QStringLiteral("https://c.example/?q={text}"));

    helper.deleteAction(search);
    QCOMPARE(sql(sandbox.storePath(), {"SELECT (SELECT count(*) FROM DropListEntity) || (SELECT count(*) FROM TextCustomUrl) || url FROM CustomUrl"}),
             QStringList{"11https://c.example/?q={text}"});
    QCOMPARE(helper.getAllDrops().size(), 1);
    QVERIFY(search->isDeleted());
}

void ActionStoreTest::customUrls()
{
    StoreSandbox sandbox;
    ActionStore helper;
    const auto drop = helper.getNewDrop(0, 5, 0);
    const auto empty = helper.addNewCustomUrl(drop);
    QVERIFY(empty && empty->url().isNull());
    QVERIFY(empty->createTime() == double(qint64(empty->createTime())));
    const auto url = helper.addNewCustomUrl(drop, QStringLiteral("https://x.example/?q={text}"));
    QCOMPARE(drop->customUrlSettings()->urls().size(), 2);

    // Removing takes the URL out of the action's list; the record itself is not deleted.
    helper.deleteCustomUrl(drop, url);
    QCOMPARE(drop->customUrlSettings()->urls(), QList<std::shared_ptr<CustomUrl>>{empty});
    QCOMPARE(sql(sandbox.storePath(), {"SELECT textCustomUrl FROM CustomUrl ORDER BY Z_PK"}), (QStringList{QString::number(drop->customUrlSettings()->objectID()), ""}));
}

void ActionStoreTest::migratesAnOlderStore()
{
    StoreSandbox sandbox;
    QDir().mkpath(sandbox.storeFolder());
    {
        // The first schema: no rotate and rename kinds, no PNG-to-JPG switch, and dropIDs
        // that were all clamped to the same number.
        const QStringList statements{
            "CREATE TABLE DropListEntity (Z_PK INTEGER PRIMARY KEY AUTOINCREMENT, catalog INTEGER DEFAULT 0, dropID INTEGER DEFAULT 0, "
            "\"index\" INTEGER DEFAULT 0, keyCode INTEGER DEFAULT 0, modifiers INTEGER DEFAULT 0, subCatalog INTEGER DEFAULT 0, "
            "supportTypes INTEGER DEFAULT 0, title TEXT, type INTEGER DEFAULT 0)",
            "CREATE TABLE ImageCompression (Z_PK INTEGER PRIMARY KEY AUTOINCREMENT, compressionRato REAL DEFAULT 0.75, endName TEXT, "
            "needCopy INTEGER, needSave INTEGER, savePath TEXT, dropAction INTEGER REFERENCES DropListEntity(Z_PK) ON DELETE CASCADE)",
            "CREATE TABLE TextCustomUrl (Z_PK INTEGER PRIMARY KEY AUTOINCREMENT, needCopy INTEGER, "
            "dropAction INTEGER REFERENCES DropListEntity(Z_PK) ON DELETE CASCADE)",
            "CREATE TABLE CustomUrl (Z_PK INTEGER PRIMARY KEY AUTOINCREMENT, createTime REAL, url TEXT, "
            "textCustomUrl INTEGER REFERENCES TextCustomUrl(Z_PK) ON DELETE CASCADE)",
            "INSERT INTO DropListEntity VALUES (1, 1, 2147483647, 0, 2, 1048576, 0, 4, 'Shrink photos', 0)",
            "INSERT INTO DropListEntity VALUES (2, 0, 2147483647, 0, 0, 0, 0, 0, 'Look it up', 5)",
            "INSERT INTO ImageCompression VALUES (1, 0.4, '-small', 1, 0, '~/Pictures', 1)",
            "INSERT INTO TextCustomUrl VALUES (1, 0, 2)",
            "INSERT INTO CustomUrl VALUES (1, 1600000000, 'https://old.example/?q={text}', 1)",
            "PRAGMA user_version = 1",
        };
        QVERIFY(sql(sandbox.storePath(), statements).isEmpty());
    }

    ActionStore helper;
    QVERIFY(helper.openStore());
    const auto drops = helper.getAllDrops();
    QCOMPARE(drops.size(), 2);
    const auto shrink = helper.fetchDropWith(2, 1048576);
    QVERIFY(shrink);
    QCOMPARE(shrink->title(), QStringLiteral("Shrink photos"));
    QCOMPARE(shrink->compressSettings()->compressionRatio(), 0.4f);
    QCOMPARE(shrink->compressSettings()->savePath(), QStringLiteral("~/Pictures"));
    QCOMPARE(shrink->compressSettings()->autoPNGtoJPG(), false);
    const auto lookUp = drops.first() == shrink ? drops.last() : drops.first();
    QCOMPARE(lookUp->customUrlSettings()->urls().first()->url(), QStringLiteral("https://old.example/?q={text}"));
    QVERIFY(drops.first()->dropID() != drops.last()->dropID());

    // The kinds the newer schema adds can be created in the migrated store.
    QVERIFY(helper.getNewDrop(1, 16, 1)->rotateSettings());
    QVERIFY(helper.getNewDrop(1, 17, 2)->renameSettings());
    QCOMPARE(sql(sandbox.storePath(), {"SELECT user_version || ' ' || application_id FROM pragma_user_version, pragma_application_id"}),
             QStringList{QStringLiteral("2 %1").arg(StoreSchema::ApplicationId)});
}

void ActionStoreTest::unusableStoreIsLeftAlone_data()
{
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<QStringList>("statements");
    QByteArray garbage("These are the user's bytes, not a database.\n");
    QTest::newRow("not a database") << garbage.repeated(200) << QStringList();
    QTest::newRow("written by a newer Korvane") << QByteArray()
                                                << QStringList{"CREATE TABLE DropListEntity (Z_PK INTEGER PRIMARY KEY, title TEXT, futureField BLOB)",
                                                               "INSERT INTO DropListEntity VALUES (1, 'from the future', x'00')", "PRAGMA user_version = 99"};
    QTest::newRow("another program's database") << QByteArray()
                                                << QStringList{"CREATE TABLE notes (body TEXT)", "INSERT INTO notes VALUES ('keep me')"};
    QTest::newRow("another program's empty database") << QByteArray() << QStringList{"PRAGMA application_id = 1234"};
}

void ActionStoreTest::unusableStoreIsLeftAlone()
{
    QFETCH(QByteArray, content);
    QFETCH(QStringList, statements);

    StoreSandbox sandbox;
    QVERIFY(writeFile(sandbox.storePath(), content));
    sql(sandbox.storePath(), statements);
    const QByteArray before = checksum(sandbox.storePath());

    QTest::ignoreMessage(QtWarningMsg, QRegularExpression(QStringLiteral("^could not open the store: .+")));
    ActionStore helper;
    QVERIFY(!helper.openStore());
    QVERIFY(!helper.storeError().isEmpty());
    helper.initializationDefaultData();
    QVERIFY(helper.getAllDrops().isEmpty());
    dropItems({"/d/a.jpg"});
    QVERIFY(helper.dropsOffering(*KorvaneTest::dropped()).isEmpty());
    QCOMPARE(checksum(sandbox.storePath()), before);
}

QTEST_GUILESS_MAIN(ActionStoreTest)
#include "tst_actionstore.moc"
