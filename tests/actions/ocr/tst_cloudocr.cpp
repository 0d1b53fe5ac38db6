#include "support/actionrun.h"
#include "support/files.h"
#include "support/ocrimages.h"
#include "servers/ocrservicestandin.h"

#include "store/actionstore.h"
#include "actions/text/translations.h"
#include "platform/settingsbackend.h"

#include <QTemporaryDir>
#include <QtTest>

using namespace KorvaneTest;

// The OCR action with hosts/service set: token, then handwriting recognition, against the
// stand-in for both services.
class CloudOcrTest final : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void init();
    void imageData_data();
    void imageData();
    void imageFiles_data();
    void imageFiles();

private:
    // Late answers would show as a second call or notification.
    Outcome run(const QList<QUrl> &files, const QByteArray &imageData = QByteArray())
    {
        KorvaneTest::dropImages(files, imageData);
        return KorvaneTest::runAction(m_drop, 1, 20000, 600);
    }
    QUrl saved(const QString &name, const QByteArray &bytes) const { return QUrl::fromLocalFile(writtenFile(m_dir.filePath(name), bytes)); }

    std::unique_ptr<OcrServiceStandIn> m_server;
    QTemporaryDir m_dir;
    DropListEntityPtr m_drop;
};

namespace {

// Distinct images, so that the stand-in tells them apart by their bytes.
QByteArray image(int n)
{
    return encoded(render({QStringLiteral("image %1").arg(n)}, latinFamily(), 20), "PNG");
}

} // namespace

void CloudOcrTest::initTestCase()
{
    Translations::install({QStringLiteral("en")});
    QVERIFY(ActionStore::instance()->openStore());
    QVERIFY(dynamic_cast<HeadlessClipboard *>(Platform::clipboard()));
    QVERIFY(m_dir.isValid());
    m_drop = ActionStore::instance()->getNewDrop(1, 3, 0);
    m_drop->setTitle(QStringLiteral("OCR"));
}

void CloudOcrTest::init()
{
    m_server = std::make_unique<OcrServiceStandIn>();
    Platform::settingsBackend()->setValue(QStringLiteral("hosts/service"), m_server->baseUrl());
    Platform::settingsBackend()->setValue(QStringLiteral("hosts/ocr"), m_server->baseUrl());
    Platform::clipboard()->writeText(QStringLiteral("before"));
}

void CloudOcrTest::imageData_data()
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

void CloudOcrTest::imageData()
{
    QFETCH(QStringList, lines);
    QFETCH(int, code);
    QFETCH(bool, success);
    m_server->setRecognition(image(1), {lines, code, 0});

    const Outcome outcome = run({}, image(1));
    QCOMPARE(outcome.calls, 1);
    QCOMPARE(outcome.success, success);
    QTEST(outcome.pasted, "pasted");
    QTEST(outcome.body, "body");
    if (!success)
        QCOMPARE(outcome.error.code(), 7003);
    QCOMPARE(m_server->tokenRequests(), 1);
    QCOMPARE(m_server->recognitions().size(), 1);
    const OcrServiceStandIn::Request request = m_server->recognitions().first();
    QVERIFY(request.valid);
    QCOMPARE(request.authorization, QByteArray("tok-1"));
    // Image bytes travel as a part without a file name.
    QVERIFY(request.fileName.isEmpty());
}

// Per file: its lines ("|" between them, "" none), the answer's code (-1: no token is given
// out) and its delay in ms.
void CloudOcrTest::imageFiles_data()
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

void CloudOcrTest::imageFiles()
{
    QFETCH(QStringList, lines);
    QFETCH(QList<int>, codes);
    QFETCH(QList<int>, delays);
    QFETCH(bool, success);
    QFETCH(QString, pasted);

    const bool tokens = !codes.contains(-1);
    m_server->setTokensFail(!tokens);
    QList<QUrl> files;
    QStringList names;
    for (int i = 0; i < lines.size(); ++i) {
        const QByteArray bytes = image(10 + i);
        names.append(QStringLiteral("shot %1.png").arg(i));
        files.append(saved(names.last(), bytes));
        m_server->setRecognition(bytes, {lines.at(i).isEmpty() ? QStringList{} : lines.at(i).split('|'), codes.at(i), delays.at(i)});
    }
    const Outcome outcome = run(files);
    QCOMPARE(outcome.calls, 1);
    QCOMPARE(outcome.success, success);
    QCOMPARE(outcome.pasted, pasted);
    QCOMPARE(outcome.body, success ? QString(pasted).replace('\n', ' ') : qtTrId("CanNotOCR"));
    if (!success)
        QCOMPARE(outcome.error.code(), 7003);
    QCOMPARE(m_server->tokenRequests(), lines.size());
    QCOMPARE(m_server->recognitions().size(), tokens ? lines.size() : 0);
    QStringList sent;
    for (const OcrServiceStandIn::Request &request : m_server->recognitions()) {
        QVERIFY(request.valid);
        sent.append(QString::fromUtf8(request.fileName));
    }
    sent.sort();
    QCOMPARE(sent, tokens ? names : QStringList());
}

QTEST_MAIN(CloudOcrTest)
#include "tst_cloudocr.moc"
