#include "actions/chineseconversion.h"
#include "actions/chineseconversiontable.h"
#include "actions/ncchineseconverter.h"

#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include <map>
#include <thread>
#include <vector>

namespace {

QString convertWith(const ChineseConversionTable &table, const QString &text)
{
    QString out;
    table.convert(text.constData(), text.size(), out);
    return out;
}

// A few hundred kilobytes of mainland text, with phrases whose conversion differs from their
// characters' placed at every offset against the piece size.
QString longMainlandText()
{
    const QString sentences[] = {
        QStringLiteral("我的头发在软件开发中掉光了。"),
        QStringLiteral("鼠标和U盘放在里面，信息很多。"),
        QStringLiteral("Plain ASCII line with 123 numbers."),
        QStringLiteral("这里有一个表情😀和罕见字𠮷，海内存知己，头发"),
        // Compatibility ideographs, one in the supplementary planes: normalized first.
        QStringLiteral("兼容\uF900字\U0002F800"),
        QStringLiteral(""),
    };
    QString text;
    for (int i = 0; i < 6000; ++i) {
        text += sentences[i % std::size(sentences)];
        text += QString(i % 7, QLatin1Char('x'));
        if (i % 3)
            text += QLatin1Char('\n');
    }
    return text;
}

// The tables the generator wrote for one of OpenCC's configurations; a missing file converts
// nothing, so its cases fail.
const ChineseConversion &chain(const QString &name)
{
    static std::map<QString, ChineseConversion> chains;
    auto it = chains.find(name);
    if (it == chains.end()) {
        QFile file(QStringLiteral(KORVANE_ZH_CHAIN_DIR "/") + name + QStringLiteral(".txt"));
        it = chains.try_emplace(name, file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray()).first;
    }
    return it->second;
}

} // namespace

class ChineseConverterTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void tableFileFormat();
    void openccCases_data();
    void openccCases();
    void malformedDictionary_data();
    void malformedDictionary();
    void passthrough_data();
    void passthrough();
    void longInputInPieces_data();
    void longInputInPieces();
    void concurrentFirstUse();
};

void ChineseConverterTest::tableFileFormat()
{
    ChineseConversionTable::Builder builder;
    builder.addText(QByteArrayLiteral("a\t1\nb\t2\tmore\nno tab here\n\tempty source\nc\t\nd\t4"));
    builder.addText(QByteArrayLiteral("a\tlater\n"));
    // Fallbacks lose to any other entry of their source, and to a shorter one at their place.
    builder.addText(QByteArrayLiteral("a\tfallback\nde\tDE\nf\tF\n"), true);
    const ChineseConversionTable table = builder.build();
    QCOMPARE(table.entryCount(), 5);
    QCOMPARE(convertWith(table, QStringLiteral("abcdef")), QStringLiteral("laterb4eF"));

    const ChineseConversionTable empty = ChineseConversionTable::Builder().build();
    QVERIFY(empty.isEmpty());
    QCOMPARE(convertWith(empty, QStringLiteral("头发")), QStringLiteral("头发"));
}

void ChineseConverterTest::openccCases_data()
{
    QTest::addColumn<QString>("chain");
    QTest::addColumn<QString>("input");
    QTest::addColumn<QString>("expected");
    // What OpenCC 1.4.1 makes of each text with the same data, for every configuration.
    QFile file(QStringLiteral(KORVANE_ZH_CASES));
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QJsonArray cases = QJsonDocument::fromJson(file.readAll()).object().value(QLatin1String("cases")).toArray();
    QVERIFY(cases.size() > 10);
    for (const QJsonValue &value : cases) {
        const QJsonObject testCase = value.toObject();
        const QJsonObject expected = testCase.value(QLatin1String("expected")).toObject();
        for (auto it = expected.constBegin(); it != expected.constEnd(); ++it) {
            QTest::addRow("%s %s", qPrintable(testCase.value(QLatin1String("id")).toString()), qPrintable(it.key()))
                << it.key() << testCase.value(QLatin1String("input")).toString() << it.value().toString();
        }
    }
}

void ChineseConverterTest::openccCases()
{
    QFETCH(QString, chain);
    QFETCH(QString, input);
    QFETCH(QString, expected);
    QCOMPARE(::chain(chain).convert(input), expected);
    // The conversions built into the program.
    static const std::map<QString, std::vector<qint32>> builtIn{
        {QStringLiteral("s2twp"), {NCChineseConverter::TW}},
        {QStringLiteral("s2hk"), {NCChineseConverter::HK}},
        {QStringLiteral("t2s"), {NCChineseConverter::CN, NCChineseConverter::SG}},
    };
    if (const auto it = builtIn.find(chain); it != builtIn.end()) {
        for (const qint32 dict : it->second)
            QCOMPARE(NCChineseConverter::sharedInstance().convert(input, dict), expected);
    }
}

void ChineseConverterTest::malformedDictionary_data()
{
    QTest::addColumn<QByteArray>("line");
    QTest::addColumn<QByteArray>("error");
    QTest::newRow("no tab") << QByteArray("头发 頭髮") << QByteArray("no tab");
    QTest::newRow("empty key") << QByteArray("\t頭髮") << QByteArray("empty key");
    QTest::newRow("empty value") << QByteArray("头发\t") << QByteArray("empty value");
    QTest::newRow("second tab") << QByteArray("头发\t頭髮\t頭发") << QByteArray("more than a key");
    QTest::newRow("repeated key") << QByteArray("头\t頭") << QByteArray("key repeated from line 2");
    QTest::newRow("not UTF-8") << QByteArray("\xe5\xa4\t頭") << QByteArray("not UTF-8");
}

void ChineseConverterTest::malformedDictionary()
{
    QFETCH(QByteArray, line);
    QFETCH(QByteArray, error);
    // The build stops at the line, naming the file.
    QTemporaryDir data;
    QVERIFY(QDir(data.path()).mkpath(QStringLiteral("config")) && QDir(data.path()).mkpath(QStringLiteral("dictionary")));
    QFile config(data.filePath(QStringLiteral("config/c.json")));
    QFile dictionary(data.filePath(QStringLiteral("dictionary/Bad.txt")));
    QVERIFY(config.open(QIODevice::WriteOnly) && dictionary.open(QIODevice::WriteOnly));
    config.write(R"({"conversion_chain": [{"dict": {"type": "ocd2", "file": "Bad.ocd2"}}]})");
    dictionary.write("# comment\n头\t頭\n\n" + line + "\n发\t髮\n");
    config.close();
    dictionary.close();

    QProcess generator;
    generator.start(QStringLiteral(KORVANE_ZHTABLEGEN), {data.path(), data.filePath(QStringLiteral("out")), QStringLiteral("x=c.json")});
    QVERIFY(generator.waitForFinished());
    QCOMPARE(generator.exitCode(), 1);
    const QByteArray stderrText = generator.readAllStandardError();
    QVERIFY2(stderrText.contains(dictionary.fileName().toUtf8() + ":4: " + error), stderrText.constData());
    QVERIFY(!QFile::exists(data.filePath(QStringLiteral("out/x.txt"))));
}

void ChineseConverterTest::passthrough_data()
{
    QTest::addColumn<QString>("text");
    QTest::newRow("latin") << QStringLiteral("Hello, world! 123 <tag> \t\r\n");
    QTest::newRow("kana") << QStringLiteral("ひらがなカタカナ");
    QTest::newRow("astral emoji") << QStringLiteral("😀🎉");
    QTest::newRow("lone surrogate") << QString(QChar(0xd800));
    QTest::newRow("full-width punctuation") << QStringLiteral("，。！？「」");
}

void ChineseConverterTest::passthrough()
{
    QFETCH(QString, text);
    QCOMPARE(NCChineseConverter::chineseStringTW(text), text);
    QCOMPARE(NCChineseConverter::chineseStringHK(text), text);
    QCOMPARE(NCChineseConverter::chineseStringSG(text), text);
    QCOMPARE(NCChineseConverter::chineseStringCN(text), text);
    // Text already in the target form stays as it is.
    QCOMPARE(NCChineseConverter::chineseStringCN(QStringLiteral("头发") + text), QStringLiteral("头发") + text);
    QCOMPARE(NCChineseConverter::chineseStringTW(QStringLiteral("頭髮") + text), QStringLiteral("頭髮") + text);
}

void ChineseConverterTest::longInputInPieces_data()
{
    QTest::addColumn<int>("dict");
    QTest::addColumn<qsizetype>("pieceBytes");
    // Odd sizes cut UTF-8 sequences and phrases apart at every offset.
    QTest::newRow("TW 7 bytes") << int(NCChineseConverter::TW) << qsizetype(7);
    QTest::newRow("HK 4097 bytes") << int(NCChineseConverter::HK) << qsizetype(4097);
    QTest::newRow("TW default") << int(NCChineseConverter::TW) << qsizetype(64 * 1024);
    QTest::newRow("CN 13 bytes") << int(NCChineseConverter::CN) << qsizetype(13);
}

void ChineseConverterTest::longInputInPieces()
{
    QFETCH(int, dict);
    QFETCH(qsizetype, pieceBytes);
    const NCChineseConverter &converter = NCChineseConverter::sharedInstance();

    QString text = longMainlandText();
    if (dict == NCChineseConverter::CN)
        text = converter.convert(text, NCChineseConverter::TW);
    const QString whole = converter.convert(text, dict);
    QVERIFY(whole != text);

    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    QFile in(dir.filePath(QStringLiteral("in.txt")));
    QVERIFY(in.open(QIODevice::WriteOnly));
    QVERIFY(in.write(text.toUtf8()) > 0);
    in.close();
    QVERIFY(in.open(QIODevice::ReadOnly));
    QFile out(dir.filePath(QStringLiteral("out.txt")));
    QVERIFY(out.open(QIODevice::WriteOnly));

    QVERIFY(converter.convert(in, out, dict, pieceBytes));
    out.close();
    QVERIFY(out.open(QIODevice::ReadOnly));
    const QString pieced = QString::fromUtf8(out.readAll());
    QCOMPARE(pieced.size(), whole.size());
    QVERIFY(pieced == whole);
    if (dict == NCChineseConverter::TW)
        QCOMPARE(pieced.count(QStringLiteral("頭髮")), text.count(QStringLiteral("头发")));
}

void ChineseConverterTest::concurrentFirstUse()
{
    // The shared converter is already made by now in this process when the other tests ran
    // first; run alone, this asks for it from many threads at once.
    const QString text = QStringLiteral("软件里面的头发");
    std::vector<QString> results(8);
    std::vector<std::thread> threads;
    for (std::size_t i = 0; i < results.size(); ++i)
        threads.emplace_back([&results, &text, i] { results[i] = NCChineseConverter::chineseStringTW(text); });
    for (std::thread &thread : threads)
        thread.join();
    for (const QString &result : results)
        QCOMPARE(result, QStringLiteral("軟體裡面的頭髮"));
}

QTEST_GUILESS_MAIN(ChineseConverterTest)
#include "tst_chineseconverter.moc"
