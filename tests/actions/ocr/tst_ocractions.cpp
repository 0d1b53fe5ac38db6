#include "support/actionrun.h"
#include "support/files.h"
#include "support/korvanecli.h"
#include "support/ocrimages.h"
#include "servers/ocrservicestandin.h"

#include "store/actionstore.h"
#include "actions/text/translations.h"
#include "platform/settingsbackend.h"
#include "ocr/ocrimagedecoder.h"
#include "actions/ocr/offlineocrrecognizer.h"

#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

using namespace KorvaneTest;

class OcrActionsTest final : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void init();
    void configuredLanguages();
    void recognisesRenderedText_data();
    void recognisesRenderedText();
    void imageDataMode();
    void imageFileMode_data();
    void imageFileMode();
    void answersInArrivalOrder();
    void badInput_data();
    void badInput();
    void hugeImageRefusedFromHeader();
    void nothingToDo();
    void commandLine();
    void startupLoadsNoTesseract();
    void cloudImageData_data();
    void cloudImageData();
    void cloudImageFiles_data();
    void cloudImageFiles();

private:
    Outcome run(const QList<QUrl> &files, const QByteArray &imageData = QByteArray(), int expectedCalls = 1)
    {
        KorvaneTest::dropImages(files, imageData);
        return KorvaneTest::runAction(m_drop, expectedCalls, 120000);
    }

    // With hosts/service set, the action asks this stand-in of both services for a token, then
    // for handwriting recognition.
    void useCloud();
    // Late answers would show as a second call or notification.
    Outcome runCloud(const QList<QUrl> &files, const QByteArray &imageData = QByteArray())
    {
        KorvaneTest::dropImages(files, imageData);
        return KorvaneTest::runAction(m_drop, 1, 20000, 600);
    }

    QTemporaryDir m_dir;
    DropListEntityPtr m_drop;
    // The action that commandLine() adds to the store through the command line.
    QString m_cliAction;
    std::unique_ptr<OcrServiceStandIn> m_cloud;
};

namespace {

const QStringList englishLines{"The quick brown fox jumps", "over the lazy dog 1234"};
const QStringList chineseLines{"今天天气很好", "我们去公园散步"};

// Distinct images, so that the stand-in tells them apart by their bytes.
QByteArray image(int n)
{
    return encoded(render({QStringLiteral("image %1").arg(n)}, latinFamily(), 20), "PNG");
}

} // namespace

void OcrActionsTest::initTestCase()
{
    Translations::install({QStringLiteral("en")});
    QVERIFY(qtTrId("CanNotOCR") != QLatin1String("CanNotOCR"));
    QVERIFY(ActionStore::instance()->openStore());
    QVERIFY(dynamic_cast<HeadlessNotifier *>(Platform::notifier()));
    QVERIFY(dynamic_cast<HeadlessClipboard *>(Platform::clipboard()));
    QVERIFY2(hasFamily(latinFamily()), "fonts-dejavu-core is missing");
    QVERIFY2(hasFamily(chineseFamily()), "fonts-wqy-microhei is missing");
    QVERIFY(m_dir.isValid());
    m_drop = ActionStore::instance()->getNewDrop(1, 3, 0);
    m_drop->setTitle(QStringLiteral("OCR"));
}

void OcrActionsTest::init()
{
    Platform::settingsBackend()->remove(QStringLiteral("ocr/languages"));
    for (const char *host : {"hosts/service", "hosts/ocr"})
        Platform::settingsBackend()->remove(QLatin1String(host));
    Platform::clipboard()->writeText(QStringLiteral("before"));
}

// What is stored, trimmed, when it is in Tesseract's form ("+" between languages); else the
// default, eng+chi_sim.
void OcrActionsTest::configuredLanguages()
{
    const std::pair<QVariant, const char *> rows[] = {{QVariant(), "eng+chi_sim"}, {"eng", "eng"}, {" deu+eng+chi_tra ", "deu+eng+chi_tra"}, {"", "eng+chi_sim"}, {"eng chi_sim", "eng+chi_sim"}, {"eng+", "eng+chi_sim"}, {"../../etc/passwd", "eng+chi_sim"}};
    for (const auto &[stored, expected] : rows) {
        if (stored.isValid())
            Platform::settingsBackend()->setValue(QStringLiteral("ocr/languages"), stored);
        else
            Platform::settingsBackend()->remove(QStringLiteral("ocr/languages"));
        QCOMPARE(OfflineOcrRecognizer::configuredLanguages(), QString(expected));
    }
}

// Tesseract for real on text Qt rendered, in the form each mode hands it over.
void OcrActionsTest::recognisesRenderedText_data()
{
    QTest::addColumn<QStringList>("lines");
    QTest::addColumn<QString>("family");
    QTest::addColumn<int>("pixelSize");
    QTest::addColumn<bool>("dark");
    QTest::addColumn<QString>("languages");

    QTest::newRow("English, small screen text") << englishLines << latinFamily() << 15 << false << "eng+chi_sim";
    QTest::newRow("English, dark theme") << englishLines << latinFamily() << 24 << true << "eng+chi_sim";
    QTest::newRow("Chinese") << chineseLines << chineseFamily() << 32 << false << "eng+chi_sim";
    QTest::newRow("Chinese and English") << QStringList{"版本 2.1 已发布", "Release notes"} << chineseFamily() << 32
                                         << false << "chi_sim+eng";
    QTest::newRow("English only engine") << englishLines << latinFamily() << 28 << false << "eng";
}

void OcrActionsTest::recognisesRenderedText()
{
    QFETCH(QStringList, lines);
    QFETCH(QString, family);
    QFETCH(int, pixelSize);
    QFETCH(bool, dark);
    QFETCH(QString, languages);

    const QByteArray bytes = encoded(render(lines, family, pixelSize, dark), "PNG");
    const QString file = writtenFile(m_dir.filePath(QStringLiteral("%1.png").arg(QTest::currentDataTag())), bytes);
    QVERIFY(!file.isEmpty());
    OfflineOcrRecognizer recognizer(languages);
    for (const bool fromFile : {false, true}) {
        int calls = 0;
        bool inside = true;
        bool success = false;
        QStringList recognised;
        recognizer.recognize(fromFile ? file : QString(), fromFile ? QByteArray() : bytes,
                             [&](bool ok, const QStringList &result, const QString &) {
                                 QVERIFY(!inside);
                                 ++calls;
                                 success = ok;
                                 recognised = result;
                             });
        inside = false;
        QTRY_COMPARE_WITH_TIMEOUT(calls, 1, 60000);
        QVERIFY(success);
        QCOMPARE(recognised, lines);
    }
}

void OcrActionsTest::imageDataMode()
{
    const QByteArray bytes = encoded(render({"Alpha line", "Beta line"}, latinFamily(), 28), "PNG");
    const Outcome outcome = run({}, bytes);
    QCOMPARE(outcome.calls, 1);
    QVERIFY(outcome.success);
    QVERIFY(outcome.error.isNull());
    QCOMPARE(outcome.pasted, QString("Alpha line\nBeta line"));
    QCOMPARE(outcome.body, QString("Alpha line Beta line"));

    // With image data and image files both there, only the data is read.
    const QString file = writtenFile(m_dir.filePath("other.png"), encoded(render({"Other words"}, latinFamily(), 28), "PNG"));
    const Outcome both = run({QUrl::fromLocalFile(file)}, encoded(render({"Only this"}, latinFamily(), 28), "PNG"));
    QCOMPARE(both.calls, 1);
    QCOMPARE(both.pasted, QString("Only this"));
}

// Files named by content: "text:..." a rendered line or lines ("|" between them), "blank" a
// white image, "corrupt" a PNG cut short, "missing" no file at all.
void OcrActionsTest::imageFileMode_data()
{
    QTest::addColumn<QStringList>("files");
    QTest::addColumn<bool>("success");
    QTest::addColumn<QStringList>("possibleTexts");

    QTest::newRow("one image, two lines") << QStringList{"text:Alpha line|Beta line"} << true
                                          << QStringList{"Alpha line\n\nBeta line\n\n"};
    QTest::newRow("second of three fails")
        << QStringList{"text:First image", "corrupt", "text:Third image"} << true
        << QStringList{"First image\n\nThird image\n\n", "Third image\n\nFirst image\n\n"};
    QTest::newRow("only the last has text") << QStringList{"blank", "missing", "text:Last one"} << true
                                            << QStringList{"Last one\n\n"};
    QTest::newRow("every file fails") << QStringList{"corrupt", "blank", "missing"} << false << QStringList{};
}

void OcrActionsTest::imageFileMode()
{
    QFETCH(QStringList, files);
    QFETCH(bool, success);
    QFETCH(QStringList, possibleTexts);

    QList<QUrl> urls;
    for (int i = 0; i < files.size(); ++i) {
        const QString path = m_dir.filePath(QStringLiteral("%1-%2.png").arg(QTest::currentDataTag()).arg(i));
        const QString kind = files.at(i);
        if (kind.startsWith("text:"))
            QVERIFY(!writtenFile(path, encoded(render(kind.mid(5).split('|'), latinFamily(), 28), "PNG")).isEmpty());
        else if (kind == "blank")
            QVERIFY(!writtenFile(path, encoded(render({""}, latinFamily(), 28), "PNG")).isEmpty());
        else if (kind == "corrupt")
            QVERIFY(!writtenFile(path, encoded(render({"Cut short"}, latinFamily(), 28), "PNG").left(200)).isEmpty());
        urls.append(QUrl::fromLocalFile(path));
    }
    const Outcome outcome = run(urls);
    QCOMPARE(outcome.calls, 1);
    QCOMPARE(outcome.success, success);
    if (success) {
        QVERIFY(outcome.error.isNull());
        QVERIFY2(possibleTexts.contains(outcome.pasted), qPrintable(outcome.pasted));
        QCOMPARE(outcome.body, QString(outcome.pasted).replace('\n', ' '));
    } else {
        QCOMPARE(outcome.error.code(), 7003);
        QCOMPARE(outcome.error.localizedDescription(), qtTrId("CanNotOCR"));
        QCOMPARE(outcome.body, qtTrId("CanNotOCR"));
        QCOMPARE(outcome.pasted, QString("before"));
    }
}

// A page of text listed first answers after a single word listed second: the text follows the
// answers, not the list.
void OcrActionsTest::answersInArrivalOrder()
{
    QStringList page;
    for (int i = 1; i <= 24; ++i)
        page.append(QStringLiteral("Line number %1 of a long page of text").arg(i));
    const QString slow = writtenFile(m_dir.filePath("page.png"), encoded(render(page, latinFamily(), 26), "PNG"));
    const QString quick = writtenFile(m_dir.filePath("word.png"), encoded(render({"Hello"}, latinFamily(), 26), "PNG"));
    const Outcome outcome = run({QUrl::fromLocalFile(slow), QUrl::fromLocalFile(quick)});
    QVERIFY(outcome.success);
    QVERIFY2(outcome.pasted.startsWith("Hello\n\nLine number 1 of"), qPrintable(outcome.pasted));
    QVERIFY(outcome.pasted.endsWith("Line number 24 of a long page of text\n\n"));
}

void OcrActionsTest::badInput_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("languages");
    QTest::addColumn<QString>("message");

    const QByteArray text = encoded(render({"Some text"}, latinFamily(), 28), "PNG");
    QTest::newRow("no text") << encoded(render({""}, latinFamily(), 40), "PNG") << QString() << qtTrId("CanNotOCR");
    QImage dot(1, 1, QImage::Format_RGB32);
    dot.fill(Qt::black);
    QTest::newRow("1x1") << encoded(dot, "PNG") << QString() << qtTrId("CanNotOCR");
    QTest::newRow("20000x20000") << pngClaiming(20000, 20000, true, true) << QString() << qtTrId("CanNotOCR");
    QTest::newRow("corrupt") << text.left(text.size() / 2) << QString() << qtTrId("CanNotOCR");
    QTest::newRow("not an image") << QByteArray("plain words, no picture") << QString() << qtTrId("CanNotOCR");
    QTest::newRow("missing language data") << text << "eng+zzz" << qtTrId("OCRLanguageDataMissing").arg("eng+zzz");
}

void OcrActionsTest::badInput()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QString, languages);
    QFETCH(QString, message);
    if (!languages.isEmpty())
        Platform::settingsBackend()->setValue(QStringLiteral("ocr/languages"), languages);

    const QString file = writtenFile(m_dir.filePath(QStringLiteral("bad-%1.png").arg(QTest::currentDataTag())), bytes);
    for (const bool asFile : {false, true}) {
        const Outcome outcome = asFile ? run({QUrl::fromLocalFile(file)}) : run({}, bytes);
        QCOMPARE(outcome.calls, 1);
        QVERIFY(!outcome.success);
        QCOMPARE(outcome.error.code(), 7003);
        QCOMPARE(outcome.error.localizedDescription(), message);
        QCOMPARE(outcome.body, message);
        QCOMPARE(outcome.pasted, QString("before"));
    }
}

// Refused from the header: 8192 x 8192 pixels, though not an 8K screen's, and a side longer
// than Tesseract takes.
void OcrActionsTest::hugeImageRefusedFromHeader()
{
    const std::tuple<int, int, bool> rows[] = {{8192, 8192, true}, {7680, 4320, false}, {32768, 2, true}, {32767, 2, false}};
    for (const auto &[width, height, refused] : rows) {
        QString why;
        const QImage image = OcrImageDecoder::decode(QString(), pngClaiming(width, height, true, true), &why);
        QCOMPARE(image.isNull(), refused);
        if (refused)
            QVERIFY2(why.startsWith("refused from its header") && why.contains(QString::number(width)), qPrintable(why));
        else
            QCOMPARE(image.size(), QSize(width, height));
    }
}

void OcrActionsTest::nothingToDo()
{
    KorvaneTest::dropped()->setTextString(QStringLiteral("just text"));
    const Outcome outcome = run({}, QByteArray(), 0);
    QCOMPARE(outcome.calls, 0);
    QVERIFY(outcome.body.isEmpty());
    QCOMPARE(outcome.pasted, QString("before"));
}

void OcrActionsTest::commandLine()
{
    QByteArray errors;
    const auto korvaneRun = [&](const QStringList &arguments, QByteArray *out,
                                const QProcessEnvironment &env = QProcessEnvironment::systemEnvironment()) {
        const Result result = runKorvane(arguments, env);
        *out = result.out;
        errors += result.err;
        return result.exitCode;
    };
    m_cliAction = addAction({"1", "3", "--title", "Read Text"});
    QVERIFY(!m_cliAction.isEmpty());

    const QString shot = writtenFile(m_dir.filePath("cli-shot.png"), encoded(render({"Copied by OCR", "second row"}, latinFamily(), 28), "PNG"));
    const QString chinese = writtenFile(m_dir.filePath("cli-zh.png"), encoded(render(chineseLines, chineseFamily(), 32), "PNG"));
    const QString broken = writtenFile(m_dir.filePath("cli-broken.png"), QByteArray("\x89PNG\r\n\x1a\n broken"));

    QByteArray json;
    QCOMPARE(korvaneRun({"run", m_cliAction, "--image", shot, "--json"}, &json), 0);
    QJsonObject object = QJsonDocument::fromJson(json).object();
    QVERIFY2(object.value("success").toBool(), json.constData());
    QCOMPARE(object.value("pasteboard").toObject().value("text").toString(), QString("Copied by OCR\nsecond row"));
    QCOMPARE(object.value("notification").toObject().value("body").toString(), QString("Copied by OCR second row"));
    QVERIFY(object.value("error").isNull());

    QCOMPARE(korvaneRun({"run", m_cliAction, shot, broken, chinese, "--json"}, &json), 0);
    object = QJsonDocument::fromJson(json).object();
    const QString text = object.value("pasteboard").toObject().value("text").toString();
    const QString english = "Copied by OCR\n\nsecond row\n\n";
    const QString zh = chineseLines.join("\n\n") + "\n\n";
    QVERIFY2(text == english + zh || text == zh + english, qPrintable(text));

    QCOMPARE(korvaneRun({"run", m_cliAction, broken, "--json"}, &json), 1);
    object = QJsonDocument::fromJson(json).object();
    QCOMPARE(object.value("error").toObject().value("code").toInt(), 7003);
    QCOMPARE(object.value("error").toObject().value("message").toString(), qtTrId("CanNotOCR"));

    // No language data where Tesseract looks for it.
    QTemporaryDir empty;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("TESSDATA_PREFIX", empty.path());
    QCOMPARE(korvaneRun({"run", m_cliAction, "--image", shot, "--json"}, &json, env), 1);
    object = QJsonDocument::fromJson(json).object();
    QCOMPARE(object.value("error").toObject().value("code").toInt(), 7003);
    QCOMPARE(object.value("error").toObject().value("message").toString(),
             qtTrId("OCRLanguageDataMissing").arg("eng+chi_sim"));
    // Neither Tesseract's own chatter nor what the pictures are called or say reaches the terminal.
    QVERIFY2(!errors.contains("LEAK") && !errors.contains("cli-") && !errors.contains("OCR"), errors.constData());
}

// Tesseract and its libraries load with the first recognition, never when Korvane starts.
void OcrActionsTest::startupLoadsNoTesseract()
{
    const auto loadedLibraries = [](const QStringList &arguments) {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("LD_DEBUG", "files");
        return runKorvane(arguments, env).err;
    };
    const QString id = addAction({"0", "2"});
    QVERIFY(!loadedLibraries({"list"}).contains("libtesseract"));
    const QByteArray textAction = loadedLibraries({"run", id, "--text", "Hello"});
    QVERIFY(textAction.contains("calling init"));
    QVERIFY(!textAction.contains("libtesseract"));

    const QString shot = writtenFile(m_dir.filePath("ld-shot.png"), encoded(render({"Loaded now"}, latinFamily(), 28), "PNG"));
    QVERIFY(loadedLibraries({"run", m_cliAction, "--image", shot}).contains("libtesseract"));
}

void OcrActionsTest::useCloud()
{
    m_cloud = std::make_unique<OcrServiceStandIn>();
    for (const char *host : {"hosts/service", "hosts/ocr"})
        Platform::settingsBackend()->setValue(QLatin1String(host), m_cloud->baseUrl());
}

void OcrActionsTest::cloudImageData_data()
{
    QTest::addColumn<QStringList>("lines");
    QTest::addColumn<int>("code");
    QTest::addColumn<bool>("success");
    QTest::addColumn<QString>("pasted");
    QTest::addColumn<QString>("body");

    QTest::newRow("two lines") << QStringList{"A", "B"} << 0 << true << "A\nB"
                               << "A B";
    QTest::newRow("no lines") << QStringList{} << 0 << false << "before" << qtTrId("CanNotOCR");
    QTest::newRow("recognition refused") << QStringList{"A"} << 17 << false << "before" << qtTrId("CanNotOCR");
}

void OcrActionsTest::cloudImageData()
{
    QFETCH(QStringList, lines);
    QFETCH(int, code);
    QFETCH(bool, success);
    useCloud();
    m_cloud->setRecognition(image(1), {lines, code, 0});

    const Outcome outcome = runCloud({}, image(1));
    QCOMPARE(outcome.calls, 1);
    QCOMPARE(outcome.success, success);
    QTEST(outcome.pasted, "pasted");
    QTEST(outcome.body, "body");
    if (!success)
        QCOMPARE(outcome.error.code(), 7003);
    QCOMPARE(m_cloud->tokenRequests(), 1);
    QCOMPARE(m_cloud->recognitions().size(), 1);
    const OcrServiceStandIn::Request request = m_cloud->recognitions().first();
    QVERIFY(request.valid);
    QCOMPARE(request.authorization, QByteArray("tok-1"));
    // Image bytes travel as a part without a file name.
    QVERIFY(request.fileName.isEmpty());
}

// Per file: its lines ("|" between them, "" none), the answer's code (-1: no token is given
// out) and its delay in ms.
void OcrActionsTest::cloudImageFiles_data()
{
    QTest::addColumn<QStringList>("lines");
    QTest::addColumn<QList<int>>("codes");
    QTest::addColumn<QList<int>>("delays");
    QTest::addColumn<bool>("success");
    QTest::addColumn<QString>("pasted");

    QTest::newRow("one file, two lines") << QStringList{"A|B"} << QList<int>{0} << QList<int>{0} << true << "A\n\nB\n\n";
    QTest::newRow("second fails, first answers last")
        << QStringList{"first", "second", "third"} << QList<int>{0, 9, 0} << QList<int>{500, 0, 100} << true
        << "third\n\nfirst\n\n";
    QTest::newRow("answers in list order") << QStringList{"one|two", "three"} << QList<int>{0, 0} << QList<int>{0, 300}
                                           << true << "one\n\ntwo\n\nthree\n\n";
    QTest::newRow("nothing recognised") << QStringList{"", ""} << QList<int>{0, 0} << QList<int>{0, 0} << false << "before";
    QTest::newRow("every token fails") << QStringList{"a", "b", "c"} << QList<int>{-1, -1, -1} << QList<int>{0, 0, 0} << false << "before";
}

void OcrActionsTest::cloudImageFiles()
{
    QFETCH(QStringList, lines);
    QFETCH(QList<int>, codes);
    QFETCH(QList<int>, delays);
    QFETCH(bool, success);
    QFETCH(QString, pasted);

    useCloud();
    const bool tokens = !codes.contains(-1);
    m_cloud->setTokensFail(!tokens);
    QList<QUrl> files;
    QStringList names;
    for (int i = 0; i < lines.size(); ++i) {
        const QByteArray bytes = image(10 + i);
        names.append(QStringLiteral("shot %1.png").arg(i));
        files.append(QUrl::fromLocalFile(writtenFile(m_dir.filePath(names.last()), bytes)));
        m_cloud->setRecognition(bytes, {lines.at(i).isEmpty() ? QStringList{} : lines.at(i).split('|'), codes.at(i), delays.at(i)});
    }
    const Outcome outcome = runCloud(files);
    QCOMPARE(outcome.calls, 1);
    QCOMPARE(outcome.success, success);
    QCOMPARE(outcome.pasted, pasted);
    QCOMPARE(outcome.body, success ? QString(pasted).replace('\n', ' ') : qtTrId("CanNotOCR"));
    if (!success)
        QCOMPARE(outcome.error.code(), 7003);
    QCOMPARE(m_cloud->tokenRequests(), lines.size());
    QCOMPARE(m_cloud->recognitions().size(), tokens ? lines.size() : 0);
    QStringList sent;
    for (const OcrServiceStandIn::Request &request : m_cloud->recognitions()) {
        QVERIFY(request.valid);
        sent.append(QString::fromUtf8(request.fileName));
    }
    sent.sort();
    QCOMPARE(sent, tokens ? names : QStringList());
}

QTEST_MAIN(OcrActionsTest)
#include "tst_ocractions.moc"
