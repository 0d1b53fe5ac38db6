#include "support/actionrun.h"
#include "intake/filetypes.h"

#include <QTest>
#include <QUrl>

using namespace KorvaneTest;

using Type = TransferType;

namespace {

QStringList names(const QList<QUrl> &urls)
{
    QStringList result;
    for (const QUrl &url : urls) {
        QString path = url.path();
        const bool folder = path.endsWith(QLatin1Char('/'));
        if (folder)
            path.chop(1);
        result.append(path.section(QLatin1Char('/'), -1) + (folder ? QStringLiteral("/") : QString()));
    }
    return result;
}

} // namespace

class DropPayloadTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void extension();
    void classify_data();
    void classify();
    void pasteboardBytes();
    void largeInputs();
};

// The extension is the name's own, without the dot: the last dot decides, trailing slashes
// go, and a dot in a folder's name, a hidden file's or at the end gives none. Its type is looked
// up in any case.
void DropPayloadTest::extension()
{
    const char *rows[][3] = {{"/d/x.tar.gz", "gz", "application/gzip"}, {"/d/photos.PNG//", "PNG", "image/png"}, {"/d.jpg/README", "", ""}, {"/d/.bashrc", "", ""}, {"/d/a.", "", ""}};
    for (const auto &[path, extension, identifier] : rows) {
        QCOMPARE(FileTypes::pathExtension(path), QString(extension));
        QCOMPARE(FileTypes::identifierForExtension(extension), QString(identifier));
    }
}

void DropPayloadTest::classify_data()
{
    QTest::addColumn<QStringList>("items");
    QTest::addColumn<qint64>("catalog");
    QTest::addColumn<qint64>("subCatalog");
    QTest::addColumn<quint64>("kinds");
    QTest::addColumn<QStringList>("lists"); // images, folders, videos, others: names, "," between
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("hasImageData");

    const auto row = [](const char *name, const QStringList &items, qint64 catalog, qint64 subCatalog, quint64 kinds,
                        const QString &lists, const QString &text, bool hasImageData) {
        QTest::newRow(name) << items << catalog << subCatalog << kinds << lists.split(QLatin1Char('|')) << text << hasImageData;
    };
    row("one png item", {"png"}, 2, 1, 0, "|||", QString(), true);
    row("tiff item", {"tiff"}, 2, 1, 0, "|||", QString(), true);
    row("image, svg, movie", {"file:/d/a.jpg", "file:/d/b.svg", "file:/d/c.mov"}, 2, 0, 54, "a.jpg||c.mov|b.svg", QString(), false);
    row("folder", {"file:/d/photos/"}, 2, 0, 2 | 8, "|photos/||", QString(), false);
    row("folder named like an image", {"file:/d/x.png/"}, 2, 0, 2 | 4, "x.png/|||", QString(), false);
    row("no extension", {"file:/d/Makefile"}, 2, 0, 2 | 32, "|||Makefile", QString(), false);
    row("hidden file is not an extension", {"file:/d/.png"}, 2, 0, 2 | 32, "|||.png", QString(), false);
    row("upper-case extension, spaces", {"file:/d/My Photo.JPEG", "file:/d/clip one.MP4"}, 2, 0, 2 | 4 | 16,
        "My Photo.JPEG||clip one.MP4|", QString(), false);
    row("files then text", {"file:/d/a.png", "text:hello", "file:/d/b.png"}, 1, 2, 2 | 4, "a.png|||", "hello", false);
    row("last recognised item decides", {"file:/d/a.png", "png"}, 2, 1, 2 | 4, "a.png|||", QString(), true);
    row("first text item ends the scan", {"text:first", "text:second", "file:/d/a.png"}, 1, 2, 0, "|||", "first", false);
    row("rtf source becomes the text", {"rtf:{\\rtf1 hi}"}, 1, 2, 0, "|||", "{\\rtf1 hi}", false);
    row("nothing recognisable", {"other", "url:https://example.org/a.png", "other"}, 0, 0, 0, "|||", QString(), false);
    row("empty pasteboard", {}, 0, 0, 0, "|||", QString(), false);
}

void DropPayloadTest::classify()
{
    QFETCH(QStringList, items);
    QFETCH(qint64, catalog);
    QFETCH(QStringList, lists);
    QFETCH(QString, text);

    DropPayload data = DropPayload::classify(pasteboardFrom(items));
    QCOMPARE(data.dataCatalog(), catalog);
    if (catalog != 0)
        QTEST(data.dataSubCatalog(), "subCatalog");
    QTEST(data.containedFileType(), "kinds");
    QCOMPARE(data.itemsCount(), qint64(items.size()));
    QCOMPARE(names(data.imgFileUrls()).join(','), lists[0]);
    QCOMPARE(names(data.folderFileUrls()).join(','), lists[1]);
    QCOMPARE(names(data.videoFileUrls()).join(','), lists[2]);
    QCOMPARE(names(data.otherFileUrls()).join(','), lists[3]);
    qsizetype listed = 0;
    for (const QString &list : lists)
        listed += list.isEmpty() ? 0 : list.count(QLatin1Char(',')) + 1;
    QCOMPARE(data.allFileUrls().size(), listed);
    QCOMPARE(data.textString(), text);
    QCOMPARE(data.textString().isNull(), text.isNull());
    QTEST(!data.imageData().isNull(), "hasImageData");
}

// The pasteboard's own bytes: image data is the first item's that carries the type, and a
// file URL keeps bytes that are no UTF-8, so the file can still be reached.
void DropPayloadTest::pasteboardBytes()
{
    TransferData images;
    for (const QByteArray &bytes : {QByteArray("first"), QByteArray("second")}) {
        TransferItem item;
        item.setData(Type::PNG, bytes);
        images.addItem(item);
    }
    QCOMPARE(DropPayload::classify(images).imageData(), QByteArray("first"));

    TransferData files;
    TransferItem item;
    item.setData(Type::FileURL, "file:///d/caf%E9%20menu.jpg");
    files.addItem(item);
    const DropPayload data = DropPayload::classify(files);
    QCOMPARE(data.imgFileUrls().size(), 1);
    QCOMPARE(data.imgFileUrls().first().toEncoded(), QByteArray("file:///d/caf%E9%20menu.jpg"));
}

void DropPayloadTest::largeInputs()
{
    // Ten thousand files of a few kinds and ten megabytes of text classify without
    // quadratic work; the benchmark measures the time, this checks the result.
    TransferData files;
    const char *const suffixes[] = {".jpg", ".png", ".mov", ".txt", "/"};
    for (int i = 0; i < 10000; ++i) {
        TransferItem item;
        item.setData(Type::FileURL, "file:///data/item" + QByteArray::number(i) + suffixes[i % 5]);
        files.addItem(item);
    }
    DropPayload data = DropPayload::classify(files);
    QCOMPARE(data.allFileUrls().size(), 10000);
    QCOMPARE(data.imgFileUrls().size(), 4000);
    QCOMPARE(data.videoFileUrls().size(), 2000);
    QCOMPARE(data.otherFileUrls().size(), 2000);
    QCOMPARE(data.folderFileUrls().size(), 2000);
    QCOMPARE(data.allFileUrls().at(9999).toEncoded(), QByteArray("file:///data/item9999/"));

    TransferData text;
    TransferItem item;
    const QByteArray big(10 * 1024 * 1024, 'a');
    item.setData(Type::String, big);
    text.addItem(item);
    data = DropPayload::classify(text);
    QCOMPARE(data.textString().size(), big.size());
}

QTEST_GUILESS_MAIN(DropPayloadTest)
#include "tst_droppayload.moc"
