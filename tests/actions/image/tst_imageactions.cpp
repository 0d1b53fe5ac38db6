#include "actions/outputnaming.h"
#include "support/actionrun.h"
#include "support/korvanecli.h"
#include "support/imagefiles.h"

#include "image/imagecodec.h"
#include "actions/image/imagemanager.h"
#include "store/actionstore.h"
#include "actions/image/imageactions.h"
#include "actions/text/translations.h"

#include <QDir>
#include <QJsonObject>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtTest>

#include <sys/resource.h>
#include <sys/stat.h>

#include <tuple>

using namespace KorvaneTest;

class KorvaneImageActionsTest final : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void fileNaming_data();
    void fileNaming();
    void batchOutcome_data();
    void batchOutcome();
    void imageData_data();
    void imageData();
    void nothingToDo();
    void badFiles_data();
    void badFiles();
    void badImageData_data();
    void badImageData();
    void pixelBombsToBmp();

private:
    static Outcome run(const DropListEntityPtr &drop, const QList<QUrl> &files, const QByteArray &imageData = QByteArray(),
                       int expectedCalls = 1)
    {
        KorvaneTest::dropImages(files, imageData);
        return KorvaneTest::runAction(drop, expectedCalls);
    }
};

namespace {

// The most a korvane process may hold while it refuses or converts one awkward image. Under
// AddressSanitizer the same work holds about twice as much: shadow memory and the quarantine
// of freed blocks.
#ifdef KORVANE_SANITIZE
constexpr long kPeakKiB = 1000 * 1024;
#else
constexpr long kPeakKiB = 500 * 1024;
#endif

QByteArray jpeg(int orientation = 1)
{
    return withMetadata(encoded(quadrants(120, 80), "JPEG", true, 95), orientation);
}

QByteArray png()
{
    return encoded(quadrants(120, 80), "PNG");
}

// The record of the action type with its settings.
DropListEntityPtr action(int type, const QVariantMap &settings)
{
    const DropListEntityPtr drop = ActionStore::instance()->getNewDrop(1, type, 0);
    for (auto it = settings.cbegin(); it != settings.cend(); ++it)
        drop->settings()->setValue(it.key(), it.value());
    return drop;
}

QMap<QString, QByteArray> filesIn(const QString &root)
{
    QMap<QString, QByteArray> files;
    const QDir dir(root);
    for (const QString &name : dir.entryList(QDir::Files | QDir::Hidden, QDir::Name))
        files.insert(name, ImageManager::readFile(dir.filePath(name)));
    for (const QString &name : dir.entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name)) {
        const auto inner = filesIn(dir.filePath(name));
        for (auto it = inner.cbegin(); it != inner.cend(); ++it)
            files.insert(name + QLatin1Char('/') + it.key(), it.value());
    }
    return files;
}

// Inputs that are damaged, hostile or unusual, each next to a good photo.
QMap<QString, QByteArray> awkwardInputs()
{
    const QByteArray photo = withMetadata(encoded(quadrants(400, 300), "JPEG", true, 95), 1);
    const QByteArray picture = encoded(quadrants(400, 300), "PNG");
    return {{"empty.jpg", QByteArray()},
            {"cut.jpg", photo.left(photo.size() - 300)},
            {"cut.png", picture.left(picture.size() - 40)},
            // One bit of the image data's checksum flipped, just before the end chunk.
            {"checksum.png", picture.left(picture.size() - 13) + char(picture.at(picture.size() - 13) ^ 1) + picture.right(12)},
            // Twenty bytes gone from inside the EXIF segment, its length unchanged.
            {"cutsegment.jpg", photo.left(100) + photo.mid(120)},
            {"bomb.png", pngClaiming(100000, 100000)},
            {"orientation9.jpg", withMetadata(encoded(quadrants(120, 80), "JPEG"), 9)},
            {"mislabelled.jpg", encoded(grainy(quadrants(120, 80)), "PNG")},
            {"cmyk.jpg", cmykJpeg(120, 80)},
            {"deep.png", png16(120, 80)},
            {"alpha.png", encoded(grainy(quadrants(120, 80, true)), "PNG")}};
}

// Each image action with settings that make it work, and the texts and code of its report.
struct ImageAction {
    int type;
    QVariantMap settings;
    const char *success;
    const char *pending;
    const char *failure;
    int code;
};
const ImageAction imageActions[] = {
    {0, {{"compressionRato", 0.9}, {"autoPNGtoJPG", true}}, "NImagesCompressed", "NImagesCanNotCompressPending", "NImagesCanNotCompressed", 1002},
    {1, {{"coverntType", 2}}, "NImagesConverted", "NImagesCanNotConvertPending", "NImagesCanNotConvert", 4004},
    {2, {{"resizeType", 0}, {"targetpx", 50}}, "NImagesResized", "NImagesCanNotResizePending", "NImagesCanNotResize", 5004},
    {16, {{"rotateType", 0}}, "NImagesRoated", "NImagesCanNotRoatedPending", "NImagesCanNotRoated", 1003},
    {4, {}, "NImagesRemovedMetadata", "NImagesCanNotRemoveMetadata", "NImagesCanNotRemoveData", 6004},
};

const ImageAction &imageAction(int type)
{
    return *std::find_if(std::begin(imageActions), std::end(imageActions), [type](const ImageAction &action) { return action.type == type; });
}

// Adds a file action of the type through the real program and gives its id, or nothing.
QString added(const Sandbox &korvane, int type, const QVariantMap &settings)
{
    QStringList arguments{"add", "1", QString::number(type)};
    for (auto it = settings.cbegin(); it != settings.cend(); ++it)
        arguments << "--set" << it.key() + '=' + it.value().toString();
    const Result result = korvane.run(arguments);
    return result.exitCode == 0 ? QString::fromUtf8(result.out.trimmed().split('\n').last()) : QString();
}

// A transparent corner must come out white where the target format has no alpha.
bool cornerIsWhite(const QByteArray &data)
{
    const QImage image = QImage::fromData(data).convertToFormat(QImage::Format_RGB32);
    if (image.isNull())
        return false;
    const QColor corner = image.pixelColor(image.width() - 1, image.height() - 1);
    return corner.red() > 245 && corner.green() > 245 && corner.blue() > 245;
}

} // namespace

void KorvaneImageActionsTest::initTestCase()
{
    Translations::install({QStringLiteral("en")});
    QVERIFY(qtTrId("NImagesResized") != QLatin1String("NImagesResized"));
    QVERIFY(ActionStore::instance()->openStore());
    QVERIFY(dynamic_cast<HeadlessNotifier *>(Platform::notifier()));
    QVERIFY(dynamic_cast<HeadlessClipboard *>(Platform::clipboard()));
}

// Files before and after one action: "name" = original content, "name <- source" = a new file
// made from that source; the sources not listed must be untouched. A source whose result takes
// its name is first moved to the Trash, where a file manager finds it with its original path.
void KorvaneImageActionsTest::fileNaming_data()
{
    QTest::addColumn<int>("type");
    QTest::addColumn<QVariantMap>("settings");
    QTest::addColumn<QStringList>("existing");
    QTest::addColumn<QStringList>("dropped");
    QTest::addColumn<QStringList>("expected");
    QTest::addColumn<int>("errorCode");
    QTest::addColumn<QStringList>("trashed");

    const QVariantMap half{{"compressionRato", 0.5}};
    QVariantMap pngOn = half;
    pngOn.insert("autoPNGtoJPG", true);
    struct Row {
        const char *tag;
        int type;
        QVariantMap settings;
        QStringList existing; // all dropped, unless dropped says otherwise
        QStringList expected;
        int errorCode = 0;
        QStringList trashed = {};
        QStringList dropped = {};
    };
    const Row rows[] = {
        {"compress in place replaces .jpg", 0, half, {"a.jpg", "b.jpg", "c d%.jpg"}, {"a.jpg <- a.jpg", "b.jpg <- b.jpg", "c d%.jpg <- c d%.jpg"}, 0, {"a.jpg", "b.jpg", "c d%.jpg"}},
        {"compress .jpeg writes .jpg beside it", 0, half, {"a.jpeg"}, {"a.jpeg", "a.jpg <- a.jpeg"}},
        {"compress .png refused without autoPNGtoJPG", 0, half, {"a.png"}, {"a.png"}, 1000},
        {"compress .png with autoPNGtoJPG, a.jpg taken", 0, pngOn, {"a.png", "a.jpg"}, {"a.png", "a.jpg", "a1.jpg <- a.png"}, 0, {}, {"a.png"}},
        {"compress .PNG is not .png", 0, half, {"photo.PNG"}, {"photo.PNG", "photo.jpg <- photo.PNG"}},
        {"compress into a folder with a suffix", 0, {{"compressionRato", 0.5}, {"savePath", "@/out"}, {"endName", "-z"}}, {"a.jpg"}, {"a.jpg", "out/a-z.jpg <- a.jpg"}},
        {"convert x.png to PNG refused", 1, {{"coverntType", 1}}, {"x.png"}, {"x.png"}, 4004},
        {"convert x.jpeg to JPEG writes x.jpg", 1, {{"coverntType", 0}}, {"x.jpeg"}, {"x.jpeg", "x.jpg <- x.jpeg"}},
        {"resize with suffix -small", 2, {{"resizeType", 0}, {"targetpx", 60}, {"endName", "-small"}}, {"a.png"}, {"a.png", "a-small.png <- a.png"}},
        {"resize into the source's own folder replaces it", 2, {{"resizeType", 2}, {"targetRato", 50}, {"savePath", "@/./"}}, {"a.png"}, {"a.png <- a.png"}, 0, {"a.png"}},
        {"remove metadata in place, same names in the Trash", 4, {}, {"d1/p.jpg", "d2/p.jpg"}, {"d1/p.jpg <- d1/p.jpg", "d2/p.jpg <- d2/p.jpg"}, 0, {"d1/p.jpg", "d2/p.jpg"}},
        {"rotate in place, Trash unusable: nothing changes", 16, {{"rotateType", 0}}, {"a.jpg"}, {"a.jpg"}, 1003},
        {"rotate two with a suffix, one name taken", 16, {{"rotateType", 0}, {"endName", "-r"}}, {"a.jpg", "b.jpg", "b-r.jpg"}, {"a.jpg", "b.jpg", "b-r.jpg", "a-r.jpg <- a.jpg", "b-r1.jpg <- b.jpg"}, 0, {}, {"a.jpg", "b.jpg"}},
        {"same names from two folders into one", 4, {{"savePath", "@/out"}}, {"d1/p.jpg", "d2/p.jpg", "d3/p.jpg"}, {"d1/p.jpg", "d2/p.jpg", "d3/p.jpg", "out/p.jpg <- *", "out/p1.jpg <- *", "out/p2.jpg <- *"}},
    };
    for (const Row &row : rows)
        QTest::newRow(row.tag) << row.type << row.settings << row.existing << (row.dropped.isEmpty() ? row.existing : row.dropped) << row.expected << row.errorCode << row.trashed;
}

void KorvaneImageActionsTest::fileNaming()
{
    QFETCH(int, type);
    QFETCH(QVariantMap, settings);
    QFETCH(QStringList, existing);
    QFETCH(QStringList, dropped);
    QFETCH(QStringList, expected);
    QFETCH(int, errorCode);
    QFETCH(QStringList, trashed);

    const QString trash = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) + "/Trash";
    QVERIFY2(qEnvironmentVariableIsSet("XDG_DATA_HOME"), "the Trash emptied here must be the test's own: run it through ctest");
    QDir(trash).removeRecursively();
    QFile::remove(trash);
    const bool trashUnusable = QByteArray(QTest::currentDataTag()).contains("Trash unusable");
    if (trashUnusable)
        QVERIFY(ImageManager::writeFile(trash, "a file where the Trash folder should be"));
    // Beside the home trash, on its mount whatever the machine mounts where: a file on another
    // mount goes to the trash at the top of that mount.
    QTemporaryDir dir(QFileInfo(trash).path() + "/dropped-XXXXXX");
    for (auto it = settings.begin(); it != settings.end(); ++it) {
        if (it.value().toString().startsWith('@'))
            it.value() = it.value().toString().replace('@', dir.path());
    }
    QDir().mkpath(dir.filePath("out"));
    QMap<QString, QByteArray> before;
    for (const QString &name : existing) {
        const QByteArray content = name.endsWith(".png") ? png() : name.endsWith(".bmp") ? QByteArray("BM old")
                                                                                         : jpeg(6);
        QDir().mkpath(QFileInfo(dir.filePath(name)).path());
        QVERIFY(ImageManager::writeFile(dir.filePath(name), content));
        before.insert(name, content);
    }
    QList<QUrl> urls;
    for (const QString &name : dropped)
        urls << QUrl::fromLocalFile(dir.filePath(name));

    const Outcome outcome = run(action(type, settings), urls);
    QCOMPARE(outcome.calls, 1);
    QCOMPARE(outcome.success, errorCode == 0);
    QCOMPARE(outcome.error.code(), errorCode);

    const QMap<QString, QByteArray> after = filesIn(dir.path());
    QStringList names;
    for (const QString &line : expected) {
        const QString name = line.section(" <- ", 0, 0);
        const QString source = line.section(" <- ", 1);
        names << name;
        QVERIFY2(after.contains(name), qPrintable(name + " is missing; there are " + QStringList(after.keys()).join(", ")));
        if (source.isEmpty()) {
            QVERIFY2(after.value(name) == before.value(name), qPrintable(name + " was changed"));
            continue;
        }
        QVERIFY2(!after.value(name).isEmpty(), qPrintable(name + " is empty"));
        if (source != "*")
            QVERIFY2(after.value(name) != before.value(source), qPrintable(name + " is the unchanged source"));
        ImageCodec::Header header;
        QVERIFY2(ImageCodec::readHeader(after.value(name), &header), qPrintable(name + " is no image"));
    }
    names.sort();
    QStringList found = after.keys();
    found.sort();
    QCOMPARE(found, names);

    QStringList inTrash;
    const QRegularExpression info("^\\[Trash Info\\]\nPath=(/\\S+)\nDeletionDate=\\d{4}-\\d\\d-\\d\\dT\\d\\d:\\d\\d:\\d\\d\n$");
    for (const QString &name : QDir(trash + "/info").entryList(QDir::Files)) {
        const QRegularExpressionMatch match = info.match(ImageManager::readFile(trash + "/info/" + name));
        QVERIFY2(match.hasMatch(), qPrintable(name));
        inTrash << QDir(dir.path()).relativeFilePath(QUrl::fromPercentEncoding(match.captured(1).toUtf8()));
        QCOMPARE(ImageManager::readFile(trash + "/files/" + name.chopped(10)), before.value(inTrash.last()));
    }
    inTrash.sort();
    QCOMPARE(inTrash, trashed);
    if (!trashed.isEmpty())
        QVERIFY2(outcome.body.contains(qtTrId("NOriginalsInTrash", int(trashed.size()))), qPrintable(outcome.body));
    if (trashUnusable)
        QVERIFY2(outcome.body.contains(qtTrId("originalNotTrashed").arg(dir.filePath("a.jpg")).section('(', 0, 0)), qPrintable(outcome.body));
}

// Mixed batches: what succeeds is done, what fails is counted, and one report says both.
void KorvaneImageActionsTest::batchOutcome_data()
{
    QTest::addColumn<int>("type");
    QTest::addColumn<QVariantMap>("settings");
    QTest::addColumn<QStringList>("files");
    QTest::addColumn<bool>("success");
    QTest::addColumn<int>("errorCode");
    QTest::addColumn<QString>("body");

    const QStringList mixed{"good1.jpg", "broken.jpg", "good2.png", "empty.jpg", "missing.jpg"};
    // The reasons come in the order of their texts; "@" stands for the files' folder.
    const QString broken = ' ' + qtTrId("imageDamaged").arg("@/broken.jpg");
    const QString noFile = ' ' + qtTrId("NoFile");
    const std::tuple<const char *, int, QVariantMap, QStringList, bool, int, QString> rows[] = {
        {"resize: two done, three failed", 2, {{"resizeType", 0}, {"targetpx", 50}, {"endName", "-s"}}, mixed, true, 5004, qtTrId("NImagesResized", 2) + qtTrId("NImagesCanNotResizePending", 3) + noFile + broken},
        // In place; cut.jpg is found damaged only once most of it was copied.
        {"remove metadata in place: two done, four failed", 4, {}, mixed + QStringList{"cut.jpg"}, true, 6004, qtTrId("NImagesRemovedMetadata", 2) + qtTrId("NOriginalsInTrash", 2) + qtTrId("NImagesCanNotRemoveMetadata", 4) + noFile + broken + ' ' + qtTrId("imageDamaged").arg("@/cut.jpg")},
        {"rotate: two done, one of them counted as singular", 16, {{"rotateType", 1}, {"endName", "-r"}}, {"good1.jpg", "broken.jpg", "empty.jpg"}, true, 1003, qtTrId("NImagesRoated", 1) + qtTrId("NImagesCanNotRoatedPending", 2) + broken},
        {"compress: all fail", 0, {{"compressionRato", 0.5}}, {"broken.jpg", "empty.jpg"}, false, 1002, qtTrId("NImagesCanNotCompressed", 2) + broken},
        {"compress: saved bytes reported", 0, {{"compressionRato", 0.3}, {"endName", "-z"}}, {"good1.jpg"}, true, 0, "saved"},
    };
    for (const auto &[tag, type, settings, files, success, errorCode, body] : rows)
        QTest::newRow(tag) << type << settings << files << success << errorCode << body;
}

void KorvaneImageActionsTest::batchOutcome()
{
    QFETCH(int, type);
    QFETCH(QVariantMap, settings);
    QFETCH(QStringList, files);
    QFETCH(bool, success);
    QFETCH(int, errorCode);
    QFETCH(QString, body);

    // Beside the home Trash, where a source replaced in place goes.
    QTemporaryDir dir(QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) + "/batch-XXXXXX");
    const QMap<QString, QByteArray> contents{{"good1.jpg", jpeg(3)},
                                             {"good2.png", png()},
                                             {"broken.jpg", QByteArray("\xff\xd8\xff\xe0 garbage, no image")},
                                             {"cut.jpg", jpeg(3).chopped(100)},
                                             {"empty.jpg", QByteArray()}};
    QList<QUrl> urls;
    for (const QString &name : files) {
        if (contents.contains(name))
            QVERIFY(ImageManager::writeFile(dir.filePath(name), contents.value(name)));
        urls << QUrl::fromLocalFile(dir.filePath(name));
    }
    const Outcome outcome = run(action(type, settings), urls);
    QCOMPARE(outcome.calls, 1);
    QCOMPARE(outcome.success, success);
    QCOMPARE(outcome.error.code(), errorCode);
    if (body == "saved") {
        const qint64 saved = contents.value("good1.jpg").size() - QFileInfo(dir.filePath("good1-z.jpg")).size();
        QVERIFY(saved > 0);
        QCOMPARE(outcome.body, qtTrId("NImagesCompressed", 1).arg(OutputNaming::sizeText(saved)));
    } else {
        QCOMPARE(outcome.body, QString(body).replace('@', dir.path()));
    }
    // In place, what succeeded replaced its source; nothing is left under a hidden name.
    const bool inPlace = !settings.contains("endName");
    for (const QString &name : files) {
        if (contents.contains(name))
            QCOMPARE(ImageManager::readFile(dir.filePath(name)) == contents.value(name), !inPlace || !name.startsWith("good"));
    }
    for (const QString &name : QDir(dir.path()).entryList(QDir::Files | QDir::Hidden))
        QVERIFY2(!name.startsWith('.'), qPrintable(name));
}

// Image data wins over files, is transformed once and pasted under its own type.
void KorvaneImageActionsTest::imageData_data()
{
    QTest::addColumn<int>("type");
    QTest::addColumn<QVariantMap>("settings");
    QTest::addColumn<QByteArray>("input");
    QTest::addColumn<bool>("success");
    QTest::addColumn<QString>("pastedType");
    QTest::addColumn<QString>("body");

    const QByteArray photo = encoded(quadrants(400, 300), "PNG");
    const QByteArray tiny = encoded(quadrants(8, 8), "JPEG", false, 10);
    const std::tuple<const char *, int, QVariantMap, QByteArray, bool, const char *, const char *> rows[] = {
        {"compress PNG data", 0, QVariantMap{{"compressionRato", 0.6}}, photo, true, "image/jpeg", "pasteBoardImageCompressed"},
        {"compress to larger: 1001, nothing pasted", 0, QVariantMap{{"compressionRato", 1.0}}, tiny, false, "", "CompressedImageIsLarger"},
        {"convert to BMP", 1, QVariantMap{{"coverntType", 2}}, photo, true, "image/bmp", "pasteBoardImageConverted"},
        {"resize to width 100", 2, QVariantMap{{"resizeType", 0}, {"targetpx", 100}}, photo, true, "image/jpeg", "pasteBoardImageResized"},
        {"resize width 10000: success, nothing pasted", 2, QVariantMap{{"resizeType", 0}, {"targetpx", 10000}}, photo, true, "", "pasteBoardImageResized"},
        {"rotate PNG stays PNG", 16, QVariantMap{{"rotateType", 2}}, photo, true, "image/png", "pasteBoardImageRotate"},
        {"remove metadata", 4, QVariantMap{}, withMetadata(photo, 5), true, "image/png", "pasteBoardImageMetadataRemoved"},
    };
    for (const auto &[tag, type, settings, input, success, pastedType, body] : rows)
        QTest::newRow(tag) << type << settings << input << success << pastedType << body;
}

void KorvaneImageActionsTest::imageData()
{
    QFETCH(int, type);
    QFETCH(QVariantMap, settings);
    QFETCH(QByteArray, input);
    QFETCH(bool, success);
    QFETCH(QString, pastedType);
    QFETCH(QString, body);

    auto *clipboard = static_cast<HeadlessClipboard *>(Platform::clipboard());
    const int writesBefore = clipboard->writeCount();
    QTemporaryDir dir;
    const QString file = dir.filePath("ignored.png");
    QVERIFY(ImageManager::writeFile(file, input));

    const Outcome outcome = run(action(type, settings), {QUrl::fromLocalFile(file)}, input);
    QCOMPARE(outcome.calls, 1);
    QCOMPARE(outcome.success, success);
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList{"ignored.png"});
    QCOMPARE(ImageManager::readFile(file), input);
    if (pastedType.isEmpty()) {
        QCOMPARE(clipboard->writeCount(), writesBefore);
    } else {
        QCOMPARE(clipboard->writeCount(), writesBefore + 1);
        QCOMPARE(clipboard->imageMimeType(), pastedType);
        QCOMPARE(ImageCodec::mimeType(ImageCodec::formatOf(clipboard->imageData())), pastedType);
    }
    if (success)
        QVERIFY2(outcome.body.startsWith(qtTrId(body.toUtf8().constData()).section('%', 0, 0)), qPrintable(outcome.body));
    else
        QCOMPARE(outcome.error.code(), 1001);
    if (type == 4)
        QCOMPARE(metadataOf(clipboard->imageData()).orientation, 5);
    if (type == 2 && !pastedType.isEmpty())
        QCOMPARE(storedSize(clipboard->imageData()), QSize(100, 75));
}

// Neither image data nor image files: nothing is touched and there is nothing to report.
void KorvaneImageActionsTest::nothingToDo()
{
    for (int type : {0, 1, 2, 4, 16}) {
        const Outcome outcome = run(action(type, {}), {}, QByteArray(), 0);
        QCOMPARE(outcome.calls, 0);
        QVERIFY(outcome.body.isEmpty());
    }
}

// A damaged, hostile or missing file is one counted failure beside a good photo: no crash, no
// hang, no output for it, not even an empty one, and the sources untouched. Unusual but sound
// images (decoded by content, CMYK, 16 bits, alpha) are processed.
void KorvaneImageActionsTest::badFiles_data()
{
    QTest::addColumn<int>("type");
    QTest::addColumn<QVariantMap>("settings");
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("succeeded");
    QTest::addColumn<int>("failed");
    QTest::addColumn<bool>("onWhite");

    // fifo.png is a FIFO and zero.png a link to /dev/zero: both refused before they are opened.
    const QStringList refused{"empty.jpg", "cut.jpg", "cut.png", "checksum.png", "cutsegment.jpg", "bomb.png", "gone.jpg", "fifo.png", "zero.png"};
    const QStringList sound{"mislabelled.jpg", "cmyk.jpg", "deep.png", "orientation9.jpg"};
    for (const ImageAction &action : imageActions) {
        QVariantMap settings = action.settings;
        settings.insert("endName", "-out");
        for (const QString &name : refused)
            QTest::addRow("%d %s refused", action.type, qPrintable(name)) << action.type << settings << name << 1 << 1 << false;
        for (const QString &name : sound)
            QTest::addRow("%d %s processed", action.type, qPrintable(name)) << action.type << settings << name << 2 << 0 << false;
        QVariantMap readOnly = action.settings;
        // Nobody, root included, may create files in /proc.
        readOnly.insert("savePath", "/proc/self");
        QTest::addRow("%d into a read-only folder", action.type) << action.type << readOnly << "cmyk.jpg" << 0 << 2 << false;
    }
    QTest::newRow("alpha compressed on white") << 0 << QVariantMap{{"compressionRato", 0.9}, {"autoPNGtoJPG", true}, {"endName", "-out"}}
                                               << "alpha.png" << 2 << 0 << true;
}

void KorvaneImageActionsTest::badFiles()
{
    QFETCH(int, type);
    QFETCH(QVariantMap, settings);
    QFETCH(QString, name);
    QFETCH(int, succeeded);
    QFETCH(int, failed);
    QFETCH(bool, onWhite);

    QTemporaryDir dir;
    QMap<QString, QByteArray> sources{{"good.jpg", jpeg(6)}};
    const bool namedInError = QStringList{"fifo.png", "zero.png", "cut.jpg", "cut.png", "checksum.png", "cutsegment.jpg"}.contains(name);
    if (name == "fifo.png")
        QCOMPARE(::mkfifo(QFile::encodeName(dir.filePath(name)).constData(), 0600), 0);
    else if (name == "zero.png")
        QVERIFY(QFile::link("/dev/zero", dir.filePath(name)));
    else if (name != "gone.jpg")
        sources.insert(name, awkwardInputs().value(name));
    for (auto it = sources.cbegin(); it != sources.cend(); ++it)
        QVERIFY(ImageManager::writeFile(dir.filePath(it.key()), it.value()));
    if (name.startsWith("cut") && name.endsWith(".jpg"))
        QVERIFY2(jpegScan(sources.value(name)).isEmpty() == (name == "cutsegment.jpg"), "the cut must fall where it says");

    const Outcome outcome = run(action(type, settings), {QUrl::fromLocalFile(dir.filePath("good.jpg")), QUrl::fromLocalFile(dir.filePath(name))});
    QCOMPARE(outcome.calls, 1);
    QCOMPARE(outcome.success, succeeded > 0);
    const ImageAction &texts = imageAction(type);
    QCOMPARE(outcome.error.code(), failed > 0 ? texts.code : 0);
    QCOMPARE(outcome.error.localizedDescription().contains(dir.filePath(name)), namedInError);
    if (succeeded == 0) {
        QCOMPARE(outcome.body, qtTrId(texts.failure, failed));
    } else {
        const QString success = qtTrId(texts.success, succeeded);
        QVERIFY2(outcome.body.startsWith(success.section('%', 0, 0)), qPrintable(outcome.body));
        QCOMPARE(outcome.body.contains(qtTrId(texts.pending, failed)), failed > 0);
    }

    const QMap<QString, QByteArray> after = filesIn(dir.path());
    QMap<QString, QByteArray> outputs;
    for (auto it = after.cbegin(); it != after.cend(); ++it) {
        if (sources.contains(it.key()))
            QCOMPARE(it.value(), sources.value(it.key()));
        else if (it.key() != name)
            outputs.insert(it.key(), it.value());
    }
    QCOMPARE(outputs.size(), qsizetype(succeeded));
    for (auto it = outputs.cbegin(); it != outputs.cend(); ++it) {
        QVERIFY2(!QImage::fromData(it.value()).isNull(), qPrintable(it.key()));
        if (onWhite && it.key().startsWith("alpha"))
            QVERIFY2(cornerIsWhite(it.value()), qPrintable(it.key()));
    }
}

// The same inputs as image data through the real program. Data mode reports success whatever
// the transformation gave, so a refused input is one that leaves the pasteboard and the output
// file alone; the process never crashes or hangs, and a size bomb never costs it 500 MB.
void KorvaneImageActionsTest::badImageData_data()
{
    QTest::addColumn<int>("type");
    QTest::addColumn<QVariantMap>("settings");
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("pasted");

    const QStringList refused{"empty.jpg", "cut.jpg", "cut.png", "checksum.png", "cutsegment.jpg", "bomb.png"};
    const QStringList sound{"cmyk.jpg", "orientation9.jpg"};
    for (const ImageAction &action : imageActions) {
        for (const QString &name : refused)
            QTest::addRow("%d %s refused", action.type, qPrintable(name)) << action.type << action.settings << name << false;
        for (const QString &name : sound)
            QTest::addRow("%d %s processed", action.type, qPrintable(name)) << action.type << action.settings << name << true;
    }
    QTest::newRow("alpha to JPEG on white") << 1 << QVariantMap{{"coverntType", 0}} << "alpha.png" << true;
    QTest::newRow("alpha to BMP on white") << 1 << QVariantMap{{"coverntType", 2}} << "alpha.png" << true;
}

void KorvaneImageActionsTest::badImageData()
{
    QFETCH(int, type);
    QFETCH(QVariantMap, settings);
    QFETCH(QString, name);
    QFETCH(bool, pasted);

    Sandbox korvane;
    const QString id = added(korvane, type, settings);
    QVERIFY(!id.isEmpty());

    const QString input = korvane.path(name);
    QVERIFY(ImageManager::writeFile(input, awkwardInputs().value(name)));
    const QString out = korvane.path("result");
    // -1 when it crashed or hung.
    const Result ran = korvane.run({"run", id, "--image", input, "--json", "--out", out});
    QCOMPARE(ran.exitCode, pasted ? 0 : 1);
    rusage usage{};
    QCOMPARE(getrusage(RUSAGE_CHILDREN, &usage), 0);
    QVERIFY2(usage.ru_maxrss < kPeakKiB, qPrintable(QString("peak %1 KiB").arg(usage.ru_maxrss)));

    const QJsonValue image = ran.json().object().value("pasteboard").toObject().value("image");
    QCOMPARE(QFileInfo::exists(out), pasted);
    QCOMPARE(image.isObject(), pasted);
    QCOMPARE(ImageManager::readFile(input), awkwardInputs().value(name));
    if (pasted) {
        const QByteArray written = ImageManager::readFile(out);
        QVERIFY(!QImage::fromData(written).isNull());
        QCOMPARE(image.toObject().value("type").toString(), ImageCodec::mimeType(ImageCodec::formatOf(written)));
        if (name == "alpha.png")
            QVERIFY(cornerIsWhite(written));
    }
}

// Four 12,000 x 12,000 PNGs of a few hundred kilobytes, under the per-image pixel cap, to BMP
// in one run of the real program: the decoded-pixel budget keeps it under 1.2 GiB.
void KorvaneImageActionsTest::pixelBombsToBmp()
{
    Sandbox korvane;
    QStringList arguments{"run", added(korvane, 1, {{"coverntType", 2}})};
    QVERIFY(!arguments.last().isEmpty());
    QTemporaryDir dir;
    const QByteArray bomb = pngClaiming(12000, 12000, true);
    for (int i = 0; i < 4; ++i) {
        arguments << dir.filePath(QString("bomb%1.png").arg(i));
        QVERIFY(bomb.size() < 1000000 && ImageManager::writeFile(arguments.last(), bomb));
    }
    QProcess process;
    korvane.start(process, arguments);
    QVERIFY(process.waitForFinished(600000));
    QCOMPARE(process.exitCode(), 0);
    rusage usage{};
    QCOMPARE(getrusage(RUSAGE_CHILDREN, &usage), 0);
    QVERIFY2(usage.ru_maxrss < 1229 * 1024, qPrintable(QString("peak %1 KiB").arg(usage.ru_maxrss)));
    for (int i = 0; i < 4; ++i)
        QCOMPARE(QFileInfo(dir.filePath(QString("bomb%1.bmp").arg(i))).size(), 54 + 12000 * 36000);
}

QTEST_MAIN(KorvaneImageActionsTest)
#include "tst_imageactions.moc"
