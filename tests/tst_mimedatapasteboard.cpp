#include "korvanehandledata.h"
#include "mimedatapasteboard.h"

#include <QBuffer>
#include <QImage>
#include <QMimeData>
#include <QTest>
#include <QUrl>

class MimeDataPasteboardTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void dragOfFiles();
    void dragOfAWebLinkIsText();
    void textAndImages_data();
    void textAndImages();
    void decodedImageBecomesPng();
    void writers();
};

void MimeDataPasteboardTest::dragOfFiles()
{
    // What a file manager offers: a URI list (folders with a slash, names percent-encoded,
    // one not valid UTF-8) and the same paths as text.
    QMimeData mime;
    mime.setData(QStringLiteral("text/uri-list"),
                 "file:///home/u/a%20b.jpg\r\n# a comment\r\nfile:///home/u/Shots/\r\nfile:///home/u/caf%E9.mov\r\nhttps://example.org/page\r\n");
    mime.setText(QStringLiteral("/home/u/a b.jpg"));
    const KorvanePasteboard pasteboard = MimeDataPasteboard::fromMimeData(&mime);
    QCOMPARE(pasteboard.pasteboardItems().size(), 4);

    KorvaneHandleData data;
    data.handleDataWith(pasteboard);
    QCOMPARE(data.dataCatalog(), qint64(DataCatalogFileOrImage));
    QCOMPARE(data.containedFileType(), quint64(2 | 4 | 8 | 16));
    QCOMPARE(data.itemsCount(), qint64(4));
    QCOMPARE(data.imgFileUrls().first().toLocalFile(), QStringLiteral("/home/u/a b.jpg"));
    QCOMPARE(data.folderFileUrls().first().toLocalFile(), QStringLiteral("/home/u/Shots/"));
    QCOMPARE(data.videoFileUrls().first().toEncoded(), QByteArray("file:///home/u/caf%E9.mov"));
    // A web link is no file, and the text that came with the files is not read.
    QCOMPARE(data.allFileUrls().size(), 3);
    QVERIFY(data.textString().isNull());
}

void MimeDataPasteboardTest::dragOfAWebLinkIsText()
{
    QMimeData mime;
    mime.setData(QStringLiteral("text/uri-list"), "https://example.org/page\r\n");
    mime.setText(QStringLiteral("https://example.org/page"));
    KorvaneHandleData data;
    data.handleDataWith(MimeDataPasteboard::fromMimeData(&mime));
    QCOMPARE(data.dataCatalog(), qint64(DataCatalogText));
    QCOMPARE(data.textString(), QStringLiteral("https://example.org/page"));
    QVERIFY(data.allFileUrls().isEmpty());
}

void MimeDataPasteboardTest::textAndImages_data()
{
    QTest::addColumn<QString>("format");
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<qint64>("catalog");
    QTest::newRow("plain text") << "text/plain;charset=utf-8" << QByteArray("你好 world") << qint64(DataCatalogText);
    QTest::newRow("rtf") << "text/rtf" << QByteArray("{\\rtf1 hi}") << qint64(DataCatalogText);
    QTest::newRow("png") << "image/png" << QByteArray("\x89PNG\r\n\x1a\nrest") << qint64(DataCatalogFileOrImage);
    QTest::newRow("tiff") << "image/tiff" << QByteArray("II*\0rest", 8) << qint64(DataCatalogFileOrImage);
    QTest::newRow("unknown") << "application/x-other" << QByteArray("x") << qint64(DataCatalogNone);
}

void MimeDataPasteboardTest::textAndImages()
{
    QFETCH(QString, format);
    QFETCH(QByteArray, bytes);
    QFETCH(qint64, catalog);
    QMimeData mime;
    mime.setData(format, bytes);
    KorvaneHandleData data;
    data.handleDataWith(MimeDataPasteboard::fromMimeData(&mime));
    QCOMPARE(data.dataCatalog(), catalog);
    if (catalog == DataCatalogText)
        QCOMPARE(data.textString().toUtf8(), bytes);
    if (catalog == DataCatalogFileOrImage)
        QCOMPARE(data.imageData(), bytes);
}

void MimeDataPasteboardTest::decodedImageBecomesPng()
{
    QImage image(4, 3, QImage::Format_ARGB32);
    image.fill(Qt::red);
    QMimeData mime;
    mime.setImageData(image);
    KorvaneHandleData data;
    data.handleDataWith(MimeDataPasteboard::fromMimeData(&mime));
    QCOMPARE(data.dataSubCatalog(), qint64(DataSubCatalogImageData));
    QVERIFY(data.imageData().startsWith("\x89PNG"));
    QCOMPARE(QImage::fromData(data.imageData()).size(), QSize(4, 3));
}

void MimeDataPasteboardTest::writers()
{
    std::unique_ptr<QMimeData> text(MimeDataPasteboard::mimeDataForText(QStringLiteral("done")));
    QCOMPARE(text->text(), QStringLiteral("done"));
    // Image data keeps its own bytes and is offered as PNG too, decoded on request.
    QImage pixels(3, 2, QImage::Format_RGB32);
    pixels.fill(Qt::red);
    QByteArray jpeg;
    QBuffer buffer(&jpeg);
    buffer.open(QIODevice::WriteOnly);
    QVERIFY(pixels.save(&buffer, "JPEG"));
    std::unique_ptr<QMimeData> image(MimeDataPasteboard::mimeDataForImage(jpeg, QStringLiteral("image/jpeg")));
    QCOMPARE(image->formats(), QStringList({QStringLiteral("image/jpeg"), QStringLiteral("image/png")}));
    QCOMPARE(image->data(QStringLiteral("image/jpeg")), jpeg);
    const QByteArray png = image->data(QStringLiteral("image/png"));
    QVERIFY(png.startsWith("\x89PNG"));
    QCOMPARE(QImage::fromData(png, "PNG").size(), QSize(3, 2));
    std::unique_ptr<QMimeData> broken(MimeDataPasteboard::mimeDataForImage("not an image", QStringLiteral("image/jpeg")));
    QVERIFY(broken->data(QStringLiteral("image/png")).isEmpty());
    std::unique_ptr<QMimeData> alreadyPng(MimeDataPasteboard::mimeDataForImage(png, QStringLiteral("image/png")));
    QCOMPARE(alreadyPng->formats(), QStringList({QStringLiteral("image/png")}));
    const QList<QUrl> urls{QUrl(QStringLiteral("https://cdn.example/a.png")), QUrl::fromLocalFile(QStringLiteral("/d/b.png"))};
    std::unique_ptr<QMimeData> objects(MimeDataPasteboard::mimeDataForObjects({urls.at(0), urls.at(1)}));
    QCOMPARE(objects->urls(), urls);
}

QTEST_MAIN(MimeDataPasteboardTest)
#include "tst_mimedatapasteboard.moc"
