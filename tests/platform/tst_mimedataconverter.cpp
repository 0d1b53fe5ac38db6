#include "intake/droppayload.h"
#include "platform/qt/mimedataconverter.h"
#include "support/ocrimages.h"

#include <QDir>
#include <QFile>
#include <QImage>
#include <QMimeData>
#include <QTemporaryDir>
#include <QTest>
#include <QUrl>

using Formats = QMap<QString, QByteArray>;

class MimeDataConverterTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void imageResultOfferedAsPng();
    void fileManagers_data();
    void fileManagers();
    void textAndImages();
    void decodedImageBecomesPng();
};

void MimeDataConverterTest::fileManagers_data()
{
    // The bytes file managers write, for drags and on the clipboard. @ is a folder of the test
    // holding a folder "Shots"; the other names need not exist.
    QTest::addColumn<Formats>("formats");
    QTest::addColumn<qint64>("catalog");
    QTest::addColumn<quint64>("kinds");
    QTest::addColumn<QStringList>("folders");
    QTest::addColumn<QStringList>("files");
    QTest::addColumn<int>("items"); // one for each line that is no comment, and the text
    const QByteArray shots = "file://@/Shots", picture = "file://@/%E5%9B%BE%E7%89%87%201.png";
    const QStringList both{"@/Shots/", "@/图片 1.png"};
    QTest::newRow("Nautilus or Nemo drag") << Formats{{"text/uri-list", shots + "\r\n" + picture + "\r\n"}, {"text/plain", "@/Shots"}}
                                           << qint64(DataCatalogFileOrImage) << quint64(2 | 4 | 8) << QStringList{"@/Shots/"} << both << 2;
    QTest::newRow("Nautilus copy") << Formats{{"x-special/gnome-copied-files", "copy\n" + shots + "\n" + picture}, {"text/plain", "@/Shots\n@/图片 1.png"}}
                                   << qint64(DataCatalogFileOrImage) << quint64(2 | 4 | 8) << QStringList{"@/Shots/"} << both << 2;
    QTest::newRow("Nautilus cut") << Formats{{"x-special/gnome-copied-files", "cut\n" + shots}}
                                  << qint64(DataCatalogFileOrImage) << quint64(2 | 8) << QStringList{"@/Shots/"} << QStringList{"@/Shots/"} << 1;
    QTest::newRow("Dolphin cut") << Formats{{"text/uri-list", shots + "\r\n" + picture + "\r\n"},
                                            {"application/x-kde4-urilist", "desktop:/Shots\r\n" + picture + "\r\n"},
                                            {"application/x-kde-cutselection", "1"}}
                                 << qint64(DataCatalogFileOrImage) << quint64(2 | 4 | 8) << QStringList{"@/Shots/"} << both << 2;
    QTest::newRow("KDE's own list alone") << Formats{{"application/x-kde4-urilist", shots + "\r\n"}}
                                          << qint64(DataCatalogFileOrImage) << quint64(2 | 8) << QStringList{"@/Shots/"} << QStringList{"@/Shots/"} << 1;
    QTest::newRow("Thunar copy") << Formats{{"x-special/gnome-copied-files", "copy\n" + shots + "\r\nfile://@/b.svg\r\n"},
                                            {"text/uri-list", shots + "\r\nfile://@/b.svg\r\n"},
                                            {"text/plain", "@/Shots\r\n@/b.svg"}}
                                 << qint64(DataCatalogFileOrImage) << quint64(2 | 8 | 32) << QStringList{"@/Shots/"} << QStringList{"@/Shots/", "@/b.svg"} << 2;
    QTest::newRow("comments, a web link, a folder that is not there")
        << Formats{{"text/uri-list", "file:///home/u/a%20b.jpg\r\n# a comment\r\nfile:///home/u/Gone\r\nhttps://example.org/page\r\n"},
                   {"text/plain", "/home/u/a b.jpg"}}
        << qint64(DataCatalogFileOrImage) << quint64(2 | 4 | 32) << QStringList{} << QStringList{"/home/u/a b.jpg", "/home/u/Gone"} << 3;
    QTest::newRow("a dragged web link is text") << Formats{{"text/uri-list", "https://example.org/page\r\n"}, {"text/plain", "https://example.org/page"}}
                                                << qint64(DataCatalogText) << quint64(0) << QStringList{} << QStringList{} << 2;
}

void MimeDataConverterTest::fileManagers()
{
    QFETCH(Formats, formats);
    QFETCH(qint64, catalog);
    QFETCH(QStringList, files);
    QFETCH(int, items);
    QTemporaryDir dir;
    QVERIFY(QDir(dir.path()).mkdir(QStringLiteral("Shots")));
    QMimeData mime;
    for (auto it = formats.cbegin(); it != formats.cend(); ++it)
        mime.setData(it.key(), QByteArray(it.value()).replace('@', QFile::encodeName(dir.path())));
    const DropPayload data = DropPayload::classify(MimeDataConverter::fromMimeData(&mime));
    QCOMPARE(data.dataCatalog(), catalog);
    QTEST(data.containedFileType(), "kinds");
    QCOMPARE(data.itemsCount(), qint64(items));
    const auto paths = [&](const QList<QUrl> &urls) {
        QStringList result;
        for (const QUrl &url : urls)
            result.append(url.toLocalFile().replace(dir.path(), QStringLiteral("@")));
        return result;
    };
    QTEST(paths(data.folderFileUrls()), "folders");
    QCOMPARE(paths(data.allFileUrls()), files);
    // The paths that come with files as text are not the data.
    QCOMPARE(data.textString().isNull(), catalog != DataCatalogText);
}

// Text and image data keep their bytes; a type Korvane does not read is nothing.
void MimeDataConverterTest::textAndImages()
{
    const std::tuple<const char *, QByteArray, qint64> rows[] = {
        {"text/plain;charset=utf-8", "你好 world", DataCatalogText},
        {"text/rtf", "{\\rtf1 hi}", DataCatalogText},
        {"image/png", "\x89PNG\r\n\x1a\nrest", DataCatalogFileOrImage},
        {"image/tiff", QByteArray("II*\0rest", 8), DataCatalogFileOrImage},
        {"application/x-other", "x", DataCatalogNone},
    };
    for (const auto &[format, bytes, catalog] : rows) {
        QMimeData mime;
        mime.setData(QString::fromLatin1(format), bytes);
        const DropPayload data = DropPayload::classify(MimeDataConverter::fromMimeData(&mime));
        QCOMPARE(data.dataCatalog(), catalog);
        QCOMPARE(catalog == DataCatalogText ? data.textString().toUtf8() : data.imageData(), catalog == DataCatalogNone ? QByteArray() : bytes);
    }
}

void MimeDataConverterTest::decodedImageBecomesPng()
{
    QImage image(4, 3, QImage::Format_ARGB32);
    image.fill(Qt::red);
    QMimeData mime;
    mime.setImageData(image);
    const DropPayload data = DropPayload::classify(MimeDataConverter::fromMimeData(&mime));
    QCOMPARE(data.dataSubCatalog(), qint64(DataSubCatalogImageData));
    QVERIFY(data.imageData().startsWith("\x89PNG"));
    QCOMPARE(QImage::fromData(data.imageData()).size(), QSize(4, 3));
}

void MimeDataConverterTest::imageResultOfferedAsPng()
{
    // Image data keeps its own bytes and is offered as PNG too, decoded on request.
    QImage pixels(3, 2, QImage::Format_RGB32);
    pixels.fill(Qt::red);
    const QByteArray jpeg = KorvaneTest::encoded(pixels, "JPEG");
    std::unique_ptr<QMimeData> image(MimeDataConverter::mimeDataForImage(jpeg, QStringLiteral("image/jpeg")));
    QCOMPARE(image->formats(), QStringList({QStringLiteral("image/jpeg"), QStringLiteral("image/png")}));
    QCOMPARE(image->data(QStringLiteral("image/jpeg")), jpeg);
    const QByteArray png = image->data(QStringLiteral("image/png"));
    QVERIFY(png.startsWith("\x89PNG"));
    QCOMPARE(QImage::fromData(png, "PNG").size(), QSize(3, 2));
    std::unique_ptr<QMimeData> broken(MimeDataConverter::mimeDataForImage("not an image", QStringLiteral("image/jpeg")));
    QVERIFY(broken->data(QStringLiteral("image/png")).isEmpty());
    std::unique_ptr<QMimeData> alreadyPng(MimeDataConverter::mimeDataForImage(png, QStringLiteral("image/png")));
    QCOMPARE(alreadyPng->formats(), QStringList({QStringLiteral("image/png")}));
}

QTEST_MAIN(MimeDataConverterTest)
#include "tst_mimedataconverter.moc"
