#include "actions/text/chineseconversion.h"
#include "actions/text/chineseconversiontable.h"
#include "actions/text/chineseconverter.h"
#include "support/files.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include <map>
#include <thread>
#include <tuple>
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
    void generator_data();
    void generator();
    void passthrough();
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
    static const std::multimap<QString, qint32> builtIn{{"s2twp", ChineseConverter::TW}, {"s2hk", ChineseConverter::HK}, {"t2s", ChineseConverter::CN}, {"t2s", ChineseConverter::SG}};
    for (auto [it, end] = builtIn.equal_range(chain); it != end; ++it)
        QCOMPARE(ChineseConverter::sharedInstance().convert(input, it->second), expected);
}

void ChineseConverterTest::generator_data()
{
    QTest::addColumn<QByteArray>("config");
    QTest::addColumn<QByteArray>("a");
    QTest::addColumn<QByteArray>("b");
    QTest::addColumn<QString>("input");
    // The converted input, or the generator's error.
    QTest::addColumn<QString>("expected");
    const QByteArray steps = R"("conversion_chain": [{"dict": {"type": "group", "match_policy": "%1", "dicts": [
        {"type": "ocd2", "file": "A.ocd2"}, {"type": "text", "file": "B.txt"}]}}])";
    const QByteArray shortCircuit = "{" + QByteArray(steps).replace("%1", "short_circuit") + "}";
    const QByteArray unionOf = "{" + QByteArray(steps).replace("%1", "union") + "}";
    const QByteArray segments = R"({"segmentation": {"type": "mmseg", "dict": {"type": "text", "file": "A.txt"}},
        "conversion_chain": [{"dict": {"type": "text", "file": "A.txt"}}, {"dict": {"type": "text", "file": "B.txt"}}]})";
    const QByteArray normalization = R"({"normalization": [{"dict": {"type": "text", "file": "A.txt"}}],
        "conversion_chain": [{"dict": {"type": "text", "file": "B.txt"}}]})";
    const std::tuple<const char *, QByteArray, QByteArray, QByteArray, QString, QString> rows[] = {
        {"short_circuit: the first that matches", shortCircuit, "ab\tX", "abc\tY\nc\tC", "abcc", "XCC"},
        {"union: the longest", unionOf, "ab\tX", "abc\tY\nc\tC", "abcc", "YC"},
        {"union: the first of equals", unionOf, "ab\tX\n", "ab\tZ\n", "ab", "X"},
        // Characters where no segment starts gather into one segment, which later steps walk whole.
        {"segments", segments, "ab\tab\nc\tc", "de\tQ\nbd\tR", "xdeabdec", "xQabQc"},
        {"normalization", normalization, "\xef\xa4\x80\t\xe8\xb1\x88", "\xe8\xb1\x88\t\xe5\xb2\x82", "\uF900", "\u5C82"},
        // A malformed line stops the build, naming the file and the line.
        {"no tab", shortCircuit, "头发 頭髮", "b\tB", "", "A.txt:4: no tab"},
        {"empty key", shortCircuit, "\t頭髮", "b\tB", "", "A.txt:4: empty key"},
        {"empty value", shortCircuit, "头发\t", "b\tB", "", "A.txt:4: empty value"},
        {"second tab", shortCircuit, "头发\t頭髮\t頭发", "b\tB", "", "A.txt:4: more than a key"},
        {"repeated key", shortCircuit, "头\t頭", "b\tB", "", "A.txt:4: key repeated from line 2"},
        {"not UTF-8", shortCircuit, "\xe5\xa4\t頭", "b\tB", "", "A.txt:4: not UTF-8"},
    };
    for (const auto &[tag, config, a, b, input, expected] : rows)
        QTest::newRow(tag) << config << a << b << input << expected;
}

void ChineseConverterTest::generator()
{
    QFETCH(QByteArray, config);
    QFETCH(QByteArray, a);
    QFETCH(QByteArray, b);
    QFETCH(QString, input);
    QFETCH(QString, expected);
    QTemporaryDir data;
    const std::pair<QString, QByteArray> files[] = {{QStringLiteral("config/c.json"), config},
                                                    {QStringLiteral("dictionary/A.txt"), "# comment\n头\t頭\n\n" + a + "\n"},
                                                    {QStringLiteral("dictionary/B.txt"), b}};
    for (const auto &[name, content] : files)
        QVERIFY(KorvaneTest::writeFile(data.filePath(name), content));

    QProcess generator;
    generator.start(QStringLiteral(KORVANE_ZHTABLEGEN), {data.path(), data.filePath(QStringLiteral("out")), QStringLiteral("x=c.json")});
    QVERIFY(generator.waitForFinished());
    const QString errors = QString::fromUtf8(generator.readAllStandardError());
    QFile tables(data.filePath(QStringLiteral("out/x.txt")));
    if (input.isEmpty()) {
        QCOMPARE(generator.exitCode(), 1);
        QVERIFY2(errors.contains(data.filePath(QStringLiteral("dictionary/")) + expected), qPrintable(errors));
        QVERIFY(!tables.exists());
        return;
    }
    QVERIFY2(generator.exitCode() == 0, qPrintable(errors));
    QVERIFY(tables.open(QIODevice::ReadOnly));
    QCOMPARE(ChineseConversion(tables.readAll()).convert(input), expected);
}

void ChineseConverterTest::passthrough()
{
    // A lone surrogate, which no UTF-8 text holds, and text already in the target form.
    const QString lone(QChar(0xd800));
    for (const qint32 dict : {ChineseConverter::TW, ChineseConverter::HK, ChineseConverter::SG, ChineseConverter::CN})
        QCOMPARE(ChineseConverter::sharedInstance().convert(lone, dict), lone);
    QCOMPARE(ChineseConverter::chineseStringCN(QStringLiteral("头发") + lone), QStringLiteral("头发") + lone);
    QCOMPARE(ChineseConverter::chineseStringTW(QStringLiteral("頭髮") + lone), QStringLiteral("頭髮") + lone);
}

// A file converted in pieces of odd sizes, which cut UTF-8 sequences and phrases apart at every
// offset, gives what the whole text does.
void ChineseConverterTest::longInputInPieces()
{
    const ChineseConverter &converter = ChineseConverter::sharedInstance();
    const QString mainland = longMainlandText();
    const std::pair<qint32, qsizetype> pieces[] = {{ChineseConverter::TW, 7}, {ChineseConverter::HK, 4097}, {ChineseConverter::TW, 64 * 1024}, {ChineseConverter::CN, 13}};
    for (const auto &[dict, pieceBytes] : pieces) {
        const QString text = dict == ChineseConverter::CN ? converter.convert(mainland, ChineseConverter::TW) : mainland;
        const QString whole = converter.convert(text, dict);
        QVERIFY(whole != text);
        QTemporaryDir dir;
        QVERIFY(KorvaneTest::writeFile(dir.filePath(QStringLiteral("in.txt")), text.toUtf8()));
        QFile in(dir.filePath(QStringLiteral("in.txt")));
        QFile out(dir.filePath(QStringLiteral("out.txt")));
        QVERIFY(in.open(QIODevice::ReadOnly) && out.open(QIODevice::WriteOnly));
        QVERIFY(converter.convert(in, out, dict, pieceBytes));
        out.close();
        const QString pieced = QString::fromUtf8(KorvaneTest::readFile(out.fileName()));
        QCOMPARE(pieced.size(), whole.size());
        QVERIFY2(pieced == whole, qPrintable(QString::number(pieceBytes)));
        if (dict == ChineseConverter::TW)
            QCOMPARE(pieced.count(QStringLiteral("頭髮")), text.count(QStringLiteral("头发")));
    }
}

void ChineseConverterTest::concurrentFirstUse()
{
    // The shared converter is already made by now in this process when the other tests ran
    // first; run alone, this asks for it from many threads at once.
    const QString text = QStringLiteral("软件里面的头发");
    std::vector<QString> results(8);
    std::vector<std::thread> threads;
    for (std::size_t i = 0; i < results.size(); ++i)
        threads.emplace_back([&results, &text, i] { results[i] = ChineseConverter::chineseStringTW(text); });
    for (std::thread &thread : threads)
        thread.join();
    for (const QString &result : results)
        QCOMPARE(result, QStringLiteral("軟體裡面的頭髮"));
}

QTEST_GUILESS_MAIN(ChineseConverterTest)
#include "tst_chineseconverter.moc"
