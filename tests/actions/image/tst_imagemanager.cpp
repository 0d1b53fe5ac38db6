#include "support/files.h"
#include "support/imagefiles.h"

#include "image/imagecodec.h"
#include "image/imagestructure.h"
#include "actions/image/imagemanager.h"
#include "actions/image/imagecategory.h"
#include "actions/image/pixelbudget.h"

#include <QTemporaryDir>
#include <QtTest>

#include <atomic>
#include <optional>
#include <thread>

using namespace KorvaneTest;

class ImageManagerTest final : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void sizes_data();
    void sizes();
    void orientationTable_data();
    void orientationTable();
    void metadataOnlyChanges_data();
    void metadataOnlyChanges();
    void scaledCopyStandsUpright();
    void compression_data();
    void compression();
    void conversion_data();
    void conversion();
    void pixelBudgetHoldsBackWhatDoesNotFit();
};

// Sizes the scaled copy comes out at, or an empty size when the request is refused.
void ImageManagerTest::sizes_data()
{
    QTest::addColumn<QSize>("source");
    QTest::addColumn<QString>("mode");
    QTest::addColumn<float>("first");
    QTest::addColumn<float>("second");
    QTest::addColumn<QSize>("expected");

    QTest::newRow("width 500 of 2000x1000") << QSize(2000, 1000) << "width" << 500.f << 0.f << QSize(500, 250);
    QTest::newRow("height 500 of 2000x1000") << QSize(2000, 1000) << "height" << 500.f << 0.f << QSize(1000, 500);
    QTest::newRow("both 400, the larger ratio wins") << QSize(2000, 1000) << "both" << 400.f << 400.f << QSize(800, 400);
    QTest::newRow("same size") << QSize(300, 200) << "both" << 300.f << 200.f << QSize(300, 200);
    QTest::newRow("width 2 is the least") << QSize(100, 100) << "width" << 2.f << 0.f << QSize(2, 2);
    QTest::newRow("width 9999 is the most") << QSize(100, 50) << "width" << 9999.f << 0.f << QSize(9999, 5000);
    QTest::newRow("width 1 refused") << QSize(100, 100) << "width" << 1.f << 0.f << QSize();
    QTest::newRow("width 10000 refused") << QSize(100, 100) << "width" << 10000.f << 0.f << QSize();
    QTest::newRow("both, height 1 refused") << QSize(100, 100) << "both" << 50.f << 1.f << QSize();
    QTest::newRow("50% of 101x101 rounds up") << QSize(101, 101) << "percent" << 50.f << 0.f << QSize(51, 51);
    QTest::newRow("1% of 100x100 refused") << QSize(100, 100) << "percent" << 1.f << 0.f << QSize();
    QTest::newRow("2% of 100x100 allowed") << QSize(100, 100) << "percent" << 2.f << 0.f << QSize(2, 2);
    QTest::newRow("200% has no upper bound") << QSize(60, 40) << "percent" << 200.f << 0.f << QSize(120, 80);
}

void ImageManagerTest::sizes()
{
    QFETCH(QSize, source);
    QFETCH(QString, mode);
    QFETCH(float, first);
    QFETCH(float, second);
    QFETCH(QSize, expected);

    const QByteArray png = encoded(quadrants(source.width(), source.height()), "PNG");
    QTemporaryDir dir;
    const QString in = dir.filePath("in.png");
    const QString out = dir.filePath("out.png");
    QVERIFY(ImageManager::writeFile(in, png));
    // The data operation and its file twin, which must write the same picture.
    QByteArray result;
    bool written = false;
    if (mode == "width") {
        result = ImageManager::changeDataToWidth(png, first);
        written = ImageManager::changeFileWithDestFileToWidth(in, out, first);
    } else if (mode == "height") {
        result = ImageManager::changeDataToHeight(png, first);
        written = ImageManager::changeFileWithDestFileToHeight(in, out, first);
    } else if (mode == "both") {
        result = ImageManager::changeData(png, first, second);
        written = ImageManager::changeImgFile(in, out, first, second);
    } else {
        result = ImageManager::changeDataToPercent(png, first);
        written = ImageManager::changeFileWithDestFileToPercent(in, out, first);
    }

    QCOMPARE(result.isEmpty(), expected.isEmpty());
    QCOMPARE(written, !expected.isEmpty());
    if (expected.isEmpty())
        return;
    QCOMPARE(ImageCodec::formatOf(result), ImageCodec::Format::Jpeg);
    QCOMPARE(storedSize(result), expected);
    QCOMPARE(storedSize(ImageManager::readFile(out)), expected);
}

// What the viewer shows after the operation must be the operation applied to what it showed
// before, for every orientation and operation; the pixels stay as they were compressed.
void ImageManagerTest::orientationTable_data()
{
    QTest::addColumn<int>("orientation");
    // 0 no mirror, 1 left-right, 2 top-bottom; with no mirror, a turn by degrees.
    QTest::addColumn<int>("mirror");
    QTest::addColumn<double>("degrees");
    QTest::addColumn<int>("expected");

    for (int orientation = 1; orientation <= 8; ++orientation) {
        for (const auto &[mirror, degrees] : {std::pair{0, 90.0}, {0, -90.0}, {0, 180.0}, {1, 0.0}, {2, 0.0}})
            QTest::addRow("orientation %d, mirror %d, %g degrees", orientation, mirror, degrees) << orientation << mirror << degrees << -1;
    }
    QTest::newRow("none, turned right, gives 6") << 0 << 0 << 90.0 << 6;
    QTest::newRow("3 by no operation stays 3") << 3 << 0 << 0.0 << 3;
    QTest::newRow("9 is none: turned right gives 6") << 9 << 0 << 90.0 << 6;
}

void ImageManagerTest::orientationTable()
{
    QFETCH(int, orientation);
    QFETCH(int, mirror);
    QFETCH(double, degrees);
    QFETCH(int, expected);

    const QByteArray source = withMetadata(encoded(quadrants(48, 32), "JPEG"), orientation);
    ImageCodec::Header header;
    QVERIFY(ImageManager::metadataHeader(source, &header) && header.orientation == (orientation <= 8 ? orientation : 0));
    const ImageManager::Mirror turn = mirror ? ImageManager::Mirror(mirror == 1) : std::nullopt;
    const QByteArray result = ImageManager::rotateImage(source, turn, degrees);
    QVERIFY(!result.isEmpty());
    QCOMPARE(jpegScan(result), jpegScan(source));
    if (expected >= 0)
        QCOMPARE(metadataOf(result).orientation, expected);
    else if (mirror)
        QCOMPARE(shown(result), shown(source).mirrored(mirror == 1, mirror == 2));
    else
        QCOMPARE(shown(result), shown(source).transformed(QTransform().rotate(degrees)));
    QCOMPARE(ImageManager::orientationAfter(orientation, turn, degrees), metadataOf(result).orientation);
}

// Turning and removing metadata leave the orientation and the colour profile and nothing else,
// whatever metadata the file carries and wherever; the compressed image stays byte for byte.
void ImageManagerTest::metadataOnlyChanges_data()
{
    QTest::addColumn<QByteArray>("source");
    QTest::addColumn<bool>("strip");

    // Grain makes the files larger than their read window: parts fall across its edges.
    const QImage picture = grainy(quadrants(1200, 800));
    const QByteArray png = withMetadata(encoded(picture, "PNG", true), 3);
    const QByteArray preview = withMetadata(encoded(quadrants(16, 10), "JPEG"), 1, "Planted");
    const QList<std::pair<const char *, QByteArray>> sources{
        {"JPEG", withPlantedSegments(withMetadata(encoded(picture, "JPEG", true, 100), 3), preview)},
        {"JPEG with restart markers", withMetadata(vipsEncoded(png, ".jpg[Q=100,restart_interval=1]"), 3)},
        {"PNG", withPlantedChunks(png)},
        {"WebP", withMetadata(vipsEncoded(png, ".webp[lossless]"), 3)},
        {"TIFF", withMetadata(vipsEncoded(encoded(quadrants(64, 40), "PNG", true), ".tif"), 3)},
    };
    for (const auto &[name, source] : sources) {
        QTest::addRow("%s turned", name) << source << false;
        QTest::addRow("%s stripped", name) << source << true;
    }
}

void ImageManagerTest::metadataOnlyChanges()
{
    QFETCH(QByteArray, source);
    QFETCH(bool, strip);
    QCOMPARE(metadataOf(source).icc, displayP3Profile());
    QCOMPARE(metadataOf(source).orientation, 3);
    QVERIFY2(!ImageStructure::handles(ImageCodec::formatOf(source)) || source.size() > 2 * ImageStructure::windowSize, qPrintable(QString::number(source.size())));

    QTemporaryDir dir;
    const QString in = dir.filePath("in");
    const QString out = dir.filePath("out");
    QVERIFY(ImageManager::writeFile(in, source));
    const auto change = [&](const QString &target) {
        return strip ? ImageManager::removeMetadata(in, target) : ImageManager::rotateImage(in, target, std::nullopt, 180);
    };
    QVERIFY(change(out));
    const QByteArray result = ImageManager::readFile(out);
    QCOMPARE(ImageManager::readFile(in), source);
    // A copy that does not fit fails and leaves nothing behind.
    TmpfsMount mount(dir.filePath("small"), "size=64k");
    if (mount.isMounted() && source.size() > 64 * 1024) {
        QVERIFY(!change(dir.filePath("small/out")));
        QCOMPARE(QDir(dir.filePath("small")).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot), QStringList());
    }

    for (const char *planted : {"Camera Owner", "at the lake", "Planted", "xmpmeta"})
        QVERIFY2(!result.contains(planted), planted);
    if (ImageCodec::formatOf(source) == ImageCodec::Format::Jpeg) {
        QVERIFY(jpegScan(source).startsWith(jpegScan(result)) && result.endsWith("\xff\xd9"));
    } else if (ImageCodec::formatOf(source) == ImageCodec::Format::Png) {
        QCOMPARE(pngChunks(result, "IDAT"), pngChunks(source, "IDAT"));
        QVERIFY(QRegularExpression("^IHDR iCCP pHYs eXIf (IDAT )+IEND $").match(QString::fromLatin1(pngChunks(result, {}))).hasMatch());
    }
    const Metadata metadata = metadataOf(result);
    QCOMPARE(metadata.icc, displayP3Profile());
    QCOMPARE(metadata.orientation, strip ? 3 : 1);
    QVERIFY(metadata.artist.isEmpty());
    QVERIFY(!metadata.hasXmp);
}

// A scaled copy has its orientation in the pixels and says 1, keeping its colour profile.
void ImageManagerTest::scaledCopyStandsUpright()
{
    const QByteArray source = withMetadata(encoded(quadrants(200, 100), "JPEG", true), 6);
    const QByteArray result = ImageManager::changeDataToWidth(source, 100);
    QVERIFY(!result.isEmpty());
    QCOMPARE(storedSize(result), QSize(50, 100));
    const Metadata metadata = metadataOf(result);
    QVERIFY2(metadata.orientation <= 1, qPrintable(QString::number(metadata.orientation)));
    QCOMPARE(metadata.icc, displayP3Profile());
    // Shown as the source is shown: the red quadrant is top-right after the source's turn.
    const QImage upright = shown(result);
    const QColor topRight = upright.pixelColor(upright.width() * 3 / 4, upright.height() / 4);
    QVERIFY2(topRight.red() > 150 && topRight.green() < 90, qPrintable(topRight.name()));
}

void ImageManagerTest::compression_data()
{
    QTest::addColumn<QByteArray>("source");
    QTest::addColumn<float>("quality");
    QTest::addColumn<int>("orientation");

    QTest::newRow("JPEG at 0.5") << withMetadata(encoded(quadrants(300, 200), "JPEG", true, 100), 8) << 0.5f << 8;
    QTest::newRow("PNG becomes JPEG") << encoded(quadrants(300, 200), "PNG", true) << 0.75f << 0;
}

void ImageManagerTest::compression()
{
    QFETCH(QByteArray, source);
    QFETCH(float, quality);
    QFETCH(int, orientation);

    const QByteArray result = ImageManager::compress(quality, source);
    QCOMPARE(ImageCodec::formatOf(result), ImageCodec::Format::Jpeg);
    QCOMPARE(storedSize(result), QSize(300, 200));
    const Metadata metadata = metadataOf(result);
    QCOMPARE(metadata.icc, displayP3Profile());
    // No orientation and orientation 1 both mean upright.
    QCOMPARE(qMax(metadata.orientation, 1), qMax(orientation, 1));
    QVERIFY(metadata.artist.isEmpty());
    QVERIFY(!metadata.hasXmp);
    const QImage decoded = QImage::fromData(result);
    const QColor bottomRight = decoded.pixelColor(280, 180);
    QVERIFY2(bottomRight.red() > 200 && bottomRight.green() > 200, qPrintable(bottomRight.name()));

    // In a batch no thread of the pool is free for the encoder, and the decoder encodes too:
    // the bytes must be the same.
    QThreadPool *pool = QThreadPool::globalInstance();
    QSemaphore held;
    QSemaphore released;
    for (int i = 0; i < pool->maxThreadCount(); ++i)
        pool->start([&] {
            held.release();
            released.acquire();
        });
    held.acquire(pool->maxThreadCount());
    const QByteArray alone = ImageManager::compress(quality, source);
    released.release(pool->maxThreadCount());
    pool->waitForDone();
    QCOMPARE(alone, result);
}

void ImageManagerTest::conversion_data()
{
    QTest::addColumn<QByteArray>("source");
    QTest::addColumn<int>("target");

    const QByteArray png = encoded(quadrants(40, 30, true), "PNG");
    const QByteArray jpeg = encoded(quadrants(40, 30), "JPEG");
    const QByteArray bmp = encoded(quadrants(40, 30), "BMP");
    QTest::newRow("PNG to JPEG") << png << int(ImageCodec::Format::Jpeg);
    QTest::newRow("JPEG to PNG") << jpeg << int(ImageCodec::Format::Png);
    QTest::newRow("BMP to PNG") << bmp << int(ImageCodec::Format::Png);
    QTest::newRow("JPEG to TIFF") << jpeg << int(ImageCodec::Format::Tiff);
}

void ImageManagerTest::conversion()
{
    QFETCH(QByteArray, source);
    QFETCH(int, target);
    const auto format = ImageCodec::Format(target);
    const QByteArray result = ImageCategory::saveAsImgWithType(source, format);
    QCOMPARE(ImageCodec::formatOf(result), format);
    const QImage before = QImage::fromData(source).convertToFormat(QImage::Format_ARGB32);
    ImageCodec::Header header;
    QVERIFY(ImageCodec::readHeader(result, &header));
    QCOMPARE(QSize(header.width, header.height), before.size());
    if (format == ImageCodec::Format::Tiff)
        return;
    const QImage after = QImage::fromData(result).convertToFormat(QImage::Format_ARGB32);
    const QColor topLeft = after.pixelColor(5, 5);
    QVERIFY2(qAbs(topLeft.red() - 200) < 12 && topLeft.green() < 50, qPrintable(topLeft.name()));
    const QColor bottomRight = after.pixelColor(35, 25);
    if (before.pixelColor(35, 25).alpha() == 0 && format != ImageCodec::Format::Png)
        QCOMPARE(bottomRight.name(QColor::HexArgb), QColor(Qt::white).name(QColor::HexArgb));
}

// A job that does not fit beside those in flight waits for them; one larger than the whole
// budget still runs, alone.
void ImageManagerTest::pixelBudgetHoldsBackWhatDoesNotFit()
{
    PixelBudget budget(1000);
    std::optional<PixelBudget::Reservation> first;
    first.emplace(budget, 600);
    std::atomic<bool> started{false};
    std::thread second([&] {
        const PixelBudget::Reservation pixels(budget, 600);
        started = true;
    });
    QVERIFY(!QTest::qWaitFor([&] { return started.load(); }, 300));
    QCOMPARE(budget.inFlight(), 600);
    first.reset();
    second.join();
    QVERIFY(started);
    const PixelBudget::Reservation huge(budget, 5000);
    QCOMPARE(budget.inFlight(), 5000);
}

QTEST_GUILESS_MAIN(ImageManagerTest)
#include "tst_imagemanager.moc"
