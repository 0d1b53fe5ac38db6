#include "korvanehandledata.h"
#include "korvanepasteboard.h"

#include <QElapsedTimer>
#include <QTest>
#include <QUrl>

using Type = KorvanePasteboardType;

namespace {

// One pasteboard item described in a test row: "file:PATH", "png", "tiff", "text:TEXT",
// "rtf:SOURCE", "url:ADDRESS" (a web link) or "other" (a type Korvane does not read).
KorvanePasteboard pasteboardFrom(const QStringList &items)
{
    KorvanePasteboard pasteboard;
    for (const QString &description : items) {
        KorvanePasteboardItem item;
        const QString value = description.section(QLatin1Char(':'), 1);
        if (description.startsWith(QLatin1String("file:"))) {
            item.setData(Type::FileURL, QUrl::fromLocalFile(value).toEncoded());
            // File managers offer the path as text too; it must never be read as text.
            item.setData(Type::String, value.toUtf8());
        } else if (description == QLatin1String("png")) {
            item.setData(Type::PNG, QByteArray("\x89PNG-bytes"));
        } else if (description == QLatin1String("tiff")) {
            item.setData(Type::TIFF, QByteArray("II*\0tiff-bytes", 14));
        } else if (description.startsWith(QLatin1String("text:"))) {
            item.setData(Type::String, value.toUtf8());
        } else if (description.startsWith(QLatin1String("rtf:"))) {
            item.setData(Type::RTF, value.toUtf8());
        } else if (description.startsWith(QLatin1String("url:"))) {
            item.setData(Type::URL, value.toUtf8());
        }
        pasteboard.addItem(item);
    }
    return pasteboard;
}

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

class ClassificationTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void classify_data();
    void classify();
    void imageDataIsTheFirstItemsBytes();
    void resetAfterFileDrop();
    void classifyingAgainForgetsTheLastDrop();
    void namesThatAreNotUtf8();
    void largeInputs();
};

void ClassificationTest::classify_data()
{
    QTest::addColumn<QStringList>("items");
    QTest::addColumn<qint64>("catalog");
    QTest::addColumn<qint64>("subCatalog");
    QTest::addColumn<quint64>("kinds");
    QTest::addColumn<qint64>("itemsCount");
    QTest::addColumn<QStringList>("images");
    QTest::addColumn<QStringList>("folders");
    QTest::addColumn<QStringList>("videos");
    QTest::addColumn<QStringList>("others");
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("hasImageData");

    const QStringList none;
    QTest::newRow("one png item") << QStringList{"png"} << qint64(2) << qint64(1) << quint64(0) << qint64(1) << none << none
                                  << none << none << QString() << true;
    QTest::newRow("tiff item") << QStringList{"tiff"} << qint64(2) << qint64(1) << quint64(0) << qint64(1) << none << none
                               << none << none << QString() << true;
    QTest::newRow("image, svg, movie") << QStringList{"file:/d/a.jpg", "file:/d/b.svg", "file:/d/c.mov"} << qint64(2)
                                       << qint64(0) << quint64(54) << qint64(3) << QStringList{"a.jpg"} << none
                                       << QStringList{"c.mov"} << QStringList{"b.svg"} << QString() << false;
    QTest::newRow("folder") << QStringList{"file:/d/photos/"} << qint64(2) << qint64(0) << quint64(2 | 8) << qint64(1)
                            << none << QStringList{"photos/"} << none << none << QString() << false;
    QTest::newRow("folder named like an image") << QStringList{"file:/d/x.png/"} << qint64(2) << qint64(0) << quint64(2 | 4)
                                                << qint64(1) << QStringList{"x.png/"} << none << none << none << QString()
                                                << false;
    QTest::newRow("no extension") << QStringList{"file:/d/Makefile"} << qint64(2) << qint64(0) << quint64(2 | 32) << qint64(1)
                                  << none << none << none << QStringList{"Makefile"} << QString() << false;
    QTest::newRow("hidden file is not an extension") << QStringList{"file:/d/.png"} << qint64(2) << qint64(0)
                                                     << quint64(2 | 32) << qint64(1) << none << none << none
                                                     << QStringList{".png"} << QString() << false;
    QTest::newRow("upper-case extension, spaces") << QStringList{"file:/d/My Photo.JPEG", "file:/d/clip one.MP4"} << qint64(2)
                                                  << qint64(0) << quint64(2 | 4 | 16) << qint64(2)
                                                  << QStringList{"My Photo.JPEG"} << none << QStringList{"clip one.MP4"}
                                                  << none << QString() << false;
    QTest::newRow("files then text") << QStringList{"file:/d/a.png", "text:hello", "file:/d/b.png"} << qint64(1) << qint64(2)
                                     << quint64(2 | 4) << qint64(3) << QStringList{"a.png"} << none << none << none
                                     << QStringLiteral("hello") << false;
    QTest::newRow("last recognised item decides") << QStringList{"file:/d/a.png", "png"} << qint64(2) << qint64(1)
                                                  << quint64(2 | 4) << qint64(2) << QStringList{"a.png"} << none << none
                                                  << none << QString() << true;
    QTest::newRow("first text item ends the scan") << QStringList{"text:first", "text:second", "file:/d/a.png"} << qint64(1)
                                                   << qint64(2) << quint64(0) << qint64(3) << none << none << none << none
                                                   << QStringLiteral("first") << false;
    QTest::newRow("rtf source becomes the text") << QStringList{"rtf:{\\rtf1 hi}"} << qint64(1) << qint64(2) << quint64(0)
                                                 << qint64(1) << none << none << none << none
                                                 << QStringLiteral("{\\rtf1 hi}") << false;
    QTest::newRow("nothing recognisable") << QStringList{"other", "url:https://example.org/a.png", "other"} << qint64(0)
                                          << qint64(0) << quint64(0) << qint64(3) << none << none << none << none
                                          << QString() << false;
    QTest::newRow("empty pasteboard") << QStringList{} << qint64(0) << qint64(0) << quint64(0) << qint64(0) << none << none
                                      << none << none << QString() << false;
}

void ClassificationTest::classify()
{
    QFETCH(QStringList, items);
    QFETCH(qint64, catalog);
    QFETCH(qint64, subCatalog);
    QFETCH(quint64, kinds);
    QFETCH(qint64, itemsCount);
    QFETCH(QStringList, images);
    QFETCH(QStringList, folders);
    QFETCH(QStringList, videos);
    QFETCH(QStringList, others);
    QFETCH(QString, text);
    QFETCH(bool, hasImageData);

    KorvaneHandleData data;
    data.handleDataWith(pasteboardFrom(items));
    QCOMPARE(data.dataCatalog(), catalog);
    if (catalog != 0)
        QCOMPARE(data.dataSubCatalog(), subCatalog);
    QCOMPARE(data.containedFileType(), kinds);
    QCOMPARE(data.itemsCount(), itemsCount);
    QCOMPARE(names(data.imgFileUrls()), images);
    QCOMPARE(names(data.folderFileUrls()), folders);
    QCOMPARE(names(data.videoFileUrls()), videos);
    QCOMPARE(names(data.otherFileUrls()), others);
    QCOMPARE(data.allFileUrls().size(), images.size() + folders.size() + videos.size() + others.size());
    QCOMPARE(data.textString(), text);
    QCOMPARE(data.textString().isNull(), text.isNull());
    QCOMPARE(!data.imageData().isNull(), hasImageData);
}

void ClassificationTest::imageDataIsTheFirstItemsBytes()
{
    // The bytes come from the pasteboard as a whole: the first item carrying the type.
    KorvanePasteboard pasteboard;
    KorvanePasteboardItem first, second;
    first.setData(Type::PNG, "first");
    second.setData(Type::PNG, "second");
    pasteboard.addItem(first);
    pasteboard.addItem(second);
    KorvaneHandleData data;
    data.handleDataWith(pasteboard);
    QCOMPARE(data.imageData(), QByteArray("first"));
}

void ClassificationTest::resetAfterFileDrop()
{
    KorvaneHandleData data;
    data.handleDataWith(pasteboardFrom({"file:/d/a.png", "file:/d/b/", "file:/d/c.mov", "file:/d/d.txt", "png"}));
    data.resetHandleDataWith(QStringLiteral("typed"));
    QCOMPARE(data.dataCatalog(), qint64(DataCatalogText));
    QCOMPARE(data.dataSubCatalog(), qint64(DataSubCatalogText));
    QCOMPARE(data.itemsCount(), qint64(0));
    QCOMPARE(data.textString(), QStringLiteral("typed"));
    QVERIFY(data.allFileUrls().isEmpty());
    QVERIFY(data.imgFileUrls().isEmpty());
    QVERIFY(data.folderFileUrls().isEmpty());
    QVERIFY(data.otherFileUrls().isEmpty());
    // Only those four lists are dropped; the video list stays as it was.
    QCOMPARE(names(data.videoFileUrls()), QStringList{"c.mov"});
}

void ClassificationTest::classifyingAgainForgetsTheLastDrop()
{
    KorvaneHandleData data;
    data.handleDataWith(pasteboardFrom({"file:/d/a.png", "file:/d/c.mov"}));
    data.handleDataWith(pasteboardFrom({"text:now text"}));
    QVERIFY(data.allFileUrls().isEmpty());
    QVERIFY(data.videoFileUrls().isEmpty());
    QCOMPARE(data.containedFileType(), quint64(0));
    data.handleDataWith(pasteboardFrom({"png"}));
    QVERIFY(data.textString().isNull());
}

void ClassificationTest::namesThatAreNotUtf8()
{
    KorvanePasteboard pasteboard;
    KorvanePasteboardItem item;
    item.setData(Type::FileURL, "file:///d/caf%E9%20menu.jpg");
    pasteboard.addItem(item);
    KorvaneHandleData data;
    data.handleDataWith(pasteboard);
    QCOMPARE(data.imgFileUrls().size(), 1);
    // The URL keeps the original bytes, so the file can still be reached.
    QCOMPARE(data.imgFileUrls().first().toEncoded(), QByteArray("file:///d/caf%E9%20menu.jpg"));
}

void ClassificationTest::largeInputs()
{
    // Ten thousand files of a few kinds and ten megabytes of text classify without
    // quadratic work; the benchmark measures the time, this checks the result.
    KorvanePasteboard files;
    const char *const suffixes[] = {".jpg", ".png", ".mov", ".txt", "/"};
    for (int i = 0; i < 10000; ++i) {
        KorvanePasteboardItem item;
        item.setData(Type::FileURL, "file:///data/item" + QByteArray::number(i) + suffixes[i % 5]);
        files.addItem(item);
    }
    KorvaneHandleData data;
    data.handleDataWith(files);
    QCOMPARE(data.allFileUrls().size(), 10000);
    QCOMPARE(data.imgFileUrls().size(), 4000);
    QCOMPARE(data.videoFileUrls().size(), 2000);
    QCOMPARE(data.otherFileUrls().size(), 2000);
    QCOMPARE(data.folderFileUrls().size(), 2000);
    QCOMPARE(data.allFileUrls().at(9999).toEncoded(), QByteArray("file:///data/item9999/"));

    KorvanePasteboard text;
    KorvanePasteboardItem item;
    const QByteArray big(10 * 1024 * 1024, 'a');
    item.setData(Type::String, big);
    text.addItem(item);
    data.handleDataWith(text);
    QCOMPARE(data.textString().size(), big.size());
}

QTEST_GUILESS_MAIN(ClassificationTest)
#include "tst_classification.moc"
