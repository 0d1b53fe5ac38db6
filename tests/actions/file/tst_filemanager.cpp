// Test data reads better with plain literals than with QStringLiteral around each.
#undef QT_NO_CAST_FROM_ASCII

#include "support/files.h"

#include "actions/file/filemanager.h"
#include "actions/outputnaming.h"

#include <QRegularExpression>
#include <QSet>
#include <QTemporaryDir>
#include <QtTest>

#include <unistd.h>

#include <tuple>

using namespace KorvaneTest;
using FileContents = QMap<QString, QByteArray>;

class FileManagerTest final : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void copyNames_data();
    void copyNames();
    void failuresTouchNothing_data();
    void failuresTouchNothing();
    void foldersAndLinks_data();
    void foldersAndLinks();
    void crossDevice_data();
    void crossDevice();
    void fullDiskKeepsSource();
    void randomKey();
    void saveCacheFile();
};

void FileManagerTest::copyNames_data()
{
    QTest::addColumn<QStringList>("existing");
    QTest::addColumn<QString>("source");
    QTest::addColumn<bool>("move");
    QTest::addColumn<QString>("expected");
    QTest::newRow("taken twice") << QStringList{"out/report.pdf", "out/report1.pdf"} << "src/report.pdf" << false << "out/report2.pdf";
    QTest::newRow("no extension") << QStringList{"out/notes"} << "src/notes" << false << "out/notes1";
    QTest::newRow("two dots") << QStringList{"out/a.b.png"} << "src/a.b.png" << true << "out/a.b1.png";
    QTest::newRow("hidden name") << QStringList{"out/.conf"} << "src/.conf" << false << "out/.conf1";
    QTest::newRow("taken by a dangling link") << QStringList{"out/x.txt@"} << "src/x.txt" << true << "out/x1.txt";
    QTest::newRow("copy into its own folder") << QStringList{} << "out/x.txt" << false << "out/x1.txt";
    QTest::newRow("move into its own folder") << QStringList{} << "out/x.txt" << true << "out/x.txt";
    QTest::newRow("missing folder is made") << QStringList{} << "src/x.txt" << false << "out/new/deep/x.txt";
}

void FileManagerTest::copyNames()
{
    QFETCH(QStringList, existing);
    QFETCH(QString, source);
    QFETCH(bool, move);
    QFETCH(QString, expected);
    QTemporaryDir dir;
    QDir().mkpath(dir.filePath("out"));
    for (const QString &entry : existing) {
        if (entry.endsWith('@'))
            QVERIFY(QFile::link(dir.filePath("nowhere"), dir.filePath(entry.chopped(1))));
        else
            QVERIFY(writeFile(dir.filePath(entry), "old"));
    }
    QVERIFY(writeFile(dir.filePath(source), "new"));
    const QString folder = dir.filePath(QFileInfo(expected).path());

    Korvane::Error error;
    QString target;
    QVERIFY(FileManager::copyFile(QUrl::fromLocalFile(dir.filePath(source)), folder, move, &error, &target));
    QVERIFY(error.isNull());
    QCOMPARE(target, dir.filePath(expected));
    QCOMPARE(readFile(target), QByteArray("new"));
    QCOMPARE(QFileInfo::exists(dir.filePath(source)), !move || source == expected);
    for (const QString &entry : existing) {
        if (!entry.endsWith('@'))
            QCOMPARE(readFile(dir.filePath(entry)), QByteArray("old"));
    }
}

void FileManagerTest::failuresTouchNothing_data()
{
    QTest::addColumn<QString>("source");
    QTest::addColumn<QString>("folder");
    QTest::addColumn<QString>("domain");
    QTest::addColumn<int>("code");
    const QString ours = "com.tarnwel.korvane.ErrorDomain";
    const std::tuple<const char *, QString, const char *, QString, int> rows[] = {
        {"no source", "src/gone.txt", "out", ours, 8001},
        {"destination is a file", "src/a.txt", "out/file", ours, 8003},
        {"destination below a file", "src/a.txt", "out/file/sub", "posix", int(ENOTDIR)},
        {"destination cannot be made", "src/a.txt", "/proc/korvane-none", "posix", int(ENOENT)},
        {"folder into itself", "src", "src/inner", "posix", int(EINVAL)},
        {"folder into itself, folder exists", "src", "src", "posix", int(EINVAL)},
        {"the root", "/", "out", "posix", int(EINVAL)},
        {"the root by way of ..", "src/" + QString("../").repeated(40), "out", "posix", int(EINVAL)},
        {"255-byte name has no numbered form", "src/" + QString(251, 'n') + ".txt", "out", "posix", int(ENAMETOOLONG)},
    };
    for (const auto &[tag, source, folder, domain, code] : rows)
        QTest::newRow(tag) << source << folder << domain << code;
}

void FileManagerTest::failuresTouchNothing()
{
    QFETCH(QString, source);
    QFETCH(QString, folder);
    QTemporaryDir dir;
    QVERIFY(writeFile(dir.filePath("src/a.txt"), "a"));
    QVERIFY(writeFile(dir.filePath("src/" + QString(251, 'n') + ".txt"), "n"));
    QVERIFY(writeFile(dir.filePath("out/" + QString(251, 'n') + ".txt"), "old"));
    QVERIFY(writeFile(dir.filePath("out/file"), "f"));
    const FileContents before = tree(dir.path());
    const QString destination = folder.startsWith('/') ? folder : dir.filePath(folder);

    for (bool move : {false, true}) {
        Korvane::Error error;
        const QString from = source.startsWith('/') ? source : dir.filePath(source);
        QVERIFY(!FileManager::copyFile(QUrl::fromLocalFile(from), destination, move, &error));
        QTEST(error.domain(), "domain");
        QTEST(error.code(), "code");
        QVERIFY(!error.localizedDescription().isEmpty());
        QCOMPARE(tree(dir.path()), before);
    }
}

void FileManagerTest::foldersAndLinks_data()
{
    QTest::addColumn<bool>("move");
    QTest::newRow("copy") << false;
    QTest::newRow("move") << true;
}

// A dropped folder travels whole: odd names byte for byte, links as links, even those that
// point out of the folder, and nothing of the outside is read through them.
void FileManagerTest::foldersAndLinks()
{
    QFETCH(bool, move);
    QTemporaryDir dir;
    const QString folder = dir.filePath("drop");
    QVERIFY(writeFile(folder + "/a b 'c' \"d\".txt", "spaces"));
    QVERIFY(writeFile(folder + "/line\nfeed", "newline"));
    QVERIFY(writeFile(folder + "/sub/deep/e", QByteArray(300000, 'e')));
    QVERIFY(writeFile(dir.filePath("outside/secret"), "outside"));
    QVERIFY(QFile::link("../a b 'c' \"d\".txt", folder + "/sub/relative"));
    QVERIFY(QFile::link(dir.filePath("outside"), folder + "/out-link"));
    const QByteArray invalid = QFile::encodeName(folder) + "/bad-\xff\xfe-name";
    QVERIFY(writeFile(QFile::decodeName(QFile::encodeName(folder) + "/x"), ""));
    QVERIFY(::rename(QFile::encodeName(folder + "/x").constData(), invalid.constData()) == 0);
    QVERIFY(writeFile(dir.filePath("file-link-target"), "t"));
    QVERIFY(QFile::link(dir.filePath("file-link-target"), dir.filePath("top-link")));
    const FileContents before = tree(folder);

    Korvane::Error error;
    QString target;
    QVERIFY(FileManager::copyFile(QUrl::fromLocalFile(folder), dir.filePath("dest"), move, &error, &target));
    QCOMPARE(target, dir.filePath("dest/drop"));
    QCOMPARE(tree(target), before);
    QVERIFY(::access((QFile::encodeName(target) + "/bad-\xff\xfe-name").constData(), F_OK) == 0);
    QCOMPARE(QFileInfo::exists(folder), !move);
    QCOMPARE(tree(dir.filePath("outside")), (FileContents{{"secret", "outside"}}));

    QVERIFY(FileManager::copyFile(QUrl::fromLocalFile(dir.filePath("top-link")), dir.filePath("dest"), move, &error, &target));
    QVERIFY(QFileInfo(target).isSymLink());
    QCOMPARE(QFileInfo(target).symLinkTarget(), dir.filePath("file-link-target"));
}

void FileManagerTest::crossDevice_data()
{
    QTest::addColumn<QString>("item");
    QTest::newRow("file") << "big.bin";
    QTest::newRow("folder") << "folder";
}

void FileManagerTest::crossDevice()
{
    QFETCH(QString, item);
    QTemporaryDir dir;
    TmpfsMount mount(dir.filePath("other"));
    if (!mount.isMounted())
        QSKIP("needs root to mount a tmpfs as a second file system");
    QVERIFY(deviceOf(dir.filePath("other")) != deviceOf(dir.path()));
    QVERIFY(writeFile(dir.filePath("big.bin"), QByteArray(3 * 1024 * 1024 + 17, 'b')));
    QVERIFY(writeFile(dir.filePath("folder/f\nx"), "f"));
    QVERIFY(writeFile(dir.filePath("folder/in/g"), "g"));
    QVERIFY(QFile::link("in/g", dir.filePath("folder/link")));
    QVERIFY(writeFile(dir.filePath("other/" + item), "taken"));
    const FileContents before = tree(dir.filePath(item));
    const QByteArray content = readFile(dir.filePath(item));

    Korvane::Error error;
    QVERIFY(FileManager::moveFile(QUrl::fromLocalFile(dir.filePath(item)), dir.filePath("other"), &error));
    QVERIFY(!QFileInfo::exists(dir.filePath(item)));
    const QString moved = dir.filePath("other/" + QString::fromLatin1(LocalPaths::numberedName(item.toLatin1(), 1)));
    QCOMPARE(tree(moved), before);
    QCOMPARE(readFile(moved), content);
    QCOMPARE(readFile(dir.filePath("other/" + item)), QByteArray("taken"));
    // The taken entry, the moved one and what is inside it: no leftover beside them.
    QCOMPARE(tree(dir.filePath("other")).size(), before.size() + 2);
}

void FileManagerTest::fullDiskKeepsSource()
{
    QTemporaryDir dir;
    TmpfsMount mount(dir.filePath("small"), "size=1m");
    if (!mount.isMounted())
        QSKIP("needs root to mount a small tmpfs");
    const QByteArray content(2 * 1024 * 1024, 'z');
    QVERIFY(writeFile(dir.filePath("big.bin"), content));
    QVERIFY(writeFile(dir.filePath("folder/big.bin"), content));
    for (const char *item : {"big.bin", "folder"}) {
        for (bool move : {false, true}) {
            Korvane::Error error;
            QVERIFY(!FileManager::copyFile(QUrl::fromLocalFile(dir.filePath(item)), dir.filePath("small"), move, &error));
            QCOMPARE(error.code(), int(ENOSPC));
            QCOMPARE(tree(dir.filePath("small")), FileContents());
        }
    }
    QCOMPARE(readFile(dir.filePath("big.bin")), content);
    QCOMPARE(readFile(dir.filePath("folder/big.bin")), content);
}

void FileManagerTest::randomKey()
{
    const QRegularExpression shape("^[0-9a-z]{5}$");
    QSet<QChar> seen;
    QSet<QString> keys;
    for (int i = 0; i < 2000; ++i) {
        const QString key = OutputNaming::randomKey();
        QVERIFY2(shape.match(key).hasMatch(), qPrintable(key));
        keys.insert(key);
        for (QChar c : key)
            seen.insert(c);
    }
    QCOMPARE(seen.size(), 36);
    QVERIFY(keys.size() > 1990);
}

// A text as a file of the cache, named by its first 15 characters without "/", in place of the
// one before; an empty text gives none.
void FileManagerTest::saveCacheFile()
{
    const char *rows[][2] = {{"abcdefghijklmnopqrstuvwxyz0123456789abcd", "abcdefghijklmno.txt"}, {"a/b", "ab.txt"}, {"hi", "hi.txt"}, {"", ""}};
    for (const auto &[text, name] : rows) {
        QVERIFY(!FileManager::saveCacheFile("earlier text", nullptr).isEmpty());
        Korvane::Error error;
        const QUrl url = FileManager::saveCacheFile(text, &error);
        if (!*name) {
            QVERIFY(url.isEmpty());
            continue;
        }
        QCOMPARE(url.toLocalFile(), FileManager::cacheFolderPath() + "/" + name);
        QCOMPARE(readFile(url.toLocalFile()), QByteArray(text));
        QCOMPARE(tree(FileManager::cacheFolderPath()).keys(), QStringList{name});
    }
}

QTEST_GUILESS_MAIN(FileManagerTest)
#include "tst_filemanager.moc"
