#include "actions/chineseconversiontable.h"
#include "actions/ncchineseconverter.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <thread>
#include <vector>

namespace {

QString convertWith(const ChineseConversionTable &table, const QString &text)
{
    QString out;
    table.convert(text.constData(), text.size(), out);
    return out;
}

ChineseConversionTable tableOf(const char *utf8)
{
    ChineseConversionTable::Builder builder;
    builder.addText(QByteArray(utf8));
    return builder.build();
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
        QStringLiteral(""),
    };
    QString text;
    for (int i = 0; i < 6000; ++i) {
        text += sentences[i % 5];
        text += QString(i % 7, QLatin1Char('x'));
        if (i % 3)
            text += QLatin1Char('\n');
    }
    return text;
}

} // namespace

class ChineseConverterTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void tableMatching_data();
    void tableMatching();
    void tableFileFormat();
    void knownConversions_data();
    void knownConversions();
    void passthrough_data();
    void passthrough();
    void longInputInPieces_data();
    void longInputInPieces();
    void concurrentFirstUse();
};

void ChineseConverterTest::tableMatching_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("expected");
    // Table: a→1, ab→2, abc→3, abd is not a source, b→B, xy→Z
    QTest::newRow("longest wins") << QStringLiteral("abc") << QStringLiteral("3");
    QTest::newRow("longest then rest") << QStringLiteral("abcb") << QStringLiteral("3B");
    QTest::newRow("falls back to shorter") << QStringLiteral("abd") << QStringLiteral("2d");
    QTest::newRow("prefix of source only") << QStringLiteral("x") << QStringLiteral("x");
    QTest::newRow("prefix at end") << QStringLiteral("ax") << QStringLiteral("1x");
    QTest::newRow("unknown between") << QStringLiteral("qaqxyq") << QStringLiteral("q1qZq");
}

void ChineseConverterTest::tableMatching()
{
    QFETCH(QString, text);
    QFETCH(QString, expected);
    const ChineseConversionTable table = tableOf("a\t1\nab\t2\nabc\t3\nb\tB\nxy\tZ\n");
    QCOMPARE(table.maxSourceLength(), 3);
    QCOMPARE(convertWith(table, text), expected);
}

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

void ChineseConverterTest::knownConversions_data()
{
    QTest::addColumn<int>("dict");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("expected");
    // The Taiwan phrase "內存" must not match inside a stretch OpenCC keeps whole, nor "字體"
    // across the segment "体系"; the sentences are OpenCC's own test cases.
    QTest::newRow("TW keeps a stretch whole") << int(NCChineseConverter::TW) << QStringLiteral("海内存知己") << QStringLiteral("海內存知己");
    QTest::newRow("TW phrase stops at a segment") << int(NCChineseConverter::TW) << QStringLiteral("字体系统") << QStringLiteral("字體系統");
    QTest::newRow("TW sentence") << int(NCChineseConverter::TW) << QStringLiteral("鼠标里面的硅二极管坏了，导致光标分辨率降低。") << QStringLiteral("滑鼠裡面的矽二極體壞了，導致游標解析度降低。");
    QTest::newRow("TW phrases") << int(NCChineseConverter::TW) << QStringLiteral("我们在老挝的服务器的硬盘需要使用互联网算法软件解决异步的问题。") << QStringLiteral("我們在寮國的伺服器的硬碟需要使用網際網路演算法軟體解決非同步的問題。");
    QTest::newRow("HK keeps mainland words") << int(NCChineseConverter::HK) << QStringLiteral("软件和鼠标里面") << QStringLiteral("軟件和鼠標裏面");
    QTest::newRow("HK sentence") << int(NCChineseConverter::HK) << QStringLiteral("虚伪叹息，潮湿灶台，赞叹沙河涌汹涌的波浪") << QStringLiteral("虛偽嘆息，潮濕灶台，讚歎沙河涌洶湧的波浪");
    QTest::newRow("CN sentence") << int(NCChineseConverter::CN) << QStringLiteral("曾經有一份真誠的愛情放在我面前，我沒有珍惜。") << QStringLiteral("曾经有一份真诚的爱情放在我面前，我没有珍惜。");
    QTest::newRow("SG") << int(NCChineseConverter::SG) << QStringLiteral("漢字簡體轉換，頭髮") << QStringLiteral("汉字简体转换，头发");
    QTest::newRow("CN from Taiwan forms") << int(NCChineseConverter::CN) << QStringLiteral("裡面") << QStringLiteral("里面");
}

void ChineseConverterTest::knownConversions()
{
    QFETCH(int, dict);
    QFETCH(QString, text);
    QFETCH(QString, expected);
    QCOMPARE(NCChineseConverter::sharedInstance().convert(text, dict), expected);
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
