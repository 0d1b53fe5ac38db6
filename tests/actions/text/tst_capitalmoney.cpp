#include "common/error.h"
#include "actions/text/translations.h"
#include "actions/text/texttransforms.h"

#include <QTest>

class CapitalMoneyTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void numerals_data();
    void numerals();
    void fromDouble_data();
    void fromDouble();
    void refused_data();
    void refused();
};

void CapitalMoneyTest::initTestCase()
{
    Translations::install({QStringLiteral("en")});
}

void CapitalMoneyTest::numerals_data()
{
    QTest::addColumn<QString>("number");
    QTest::addColumn<QString>("expected");

    auto row = [](const char *number, const char *expected) {
        QTest::newRow(number) << QString::fromUtf8(number) << QString::fromUtf8(expected);
    };
    row("10", "壹拾");
    row("101", "壹佰零壹");
    row("1001", "壹仟零壹");
    row("1010", "壹仟零壹拾");
    row("10001", "壹万零壹");
    row("101000", "壹拾万壹仟");
    row("100010", "壹拾万零壹拾");
    row("10010000", "壹仟零壹万");
    row("20300400", "貳仟零叁拾万零肆佰");
    row("9999999999999", "玖兆玖仟玖佰玖拾玖亿玖仟玖佰玖拾玖万玖仟玖佰玖拾玖");
    // Groups of four zeros under a higher group write no marker of their own.
    row("100000000", "壹亿");
    row("100000001", "壹亿零壹");
    row("100010000", "壹亿零壹万");
    row("1000000000000", "壹兆");
    row("1000100000000", "壹兆零壹亿");
    row("1000012345678", "壹兆零壹仟貳佰叁拾肆万伍仟陆佰柒拾捌");
    row("1000000010000", "壹兆零壹万");
    // A zero in the place of a marker still writes the marker when its group holds digits.
    row("1000000000", "壹拾亿");
    row("1000000500", "壹拾亿零伍佰");
    // Fractions: 元 before, 角 and 分 after the digits; further digits are cut, not rounded.
    row("1234.56", "壹仟貳佰叁拾肆元伍角陆分");
    row("1.05", "壹元零角伍分");
    row("10.1", "壹拾元壹角");
    row("1.999", "壹元玖角玖分");
    row("1.0", "壹元零角");
    row("1.00", "壹元零角零分");
    row("9999999999999.99", "玖兆玖仟玖佰玖拾玖亿玖仟玖佰玖拾玖万玖仟玖佰玖拾玖元玖角玖分");
    row("0.5", "伍角");
    row("0.05", "伍分");
    row("0.50", "伍角");
    row("00.01", "壹分");
    row("007", "柒");
    row(" 12 ", "壹拾貳");
}

void CapitalMoneyTest::numerals()
{
    QFETCH(QString, number);
    Korvane::Error error;
    QTEST(TextTransforms::changeCapitalChineseWithNumber(number, &error), "expected");
    QVERIFY(error.isNull());
}

void CapitalMoneyTest::fromDouble_data()
{
    QTest::addColumn<double>("number");
    QTest::addColumn<QString>("expected");
    QTest::newRow("integral") << 12.0 << QStringLiteral("壹拾貳");
    QTest::newRow("cents") << 1234.56 << QStringLiteral("壹仟貳佰叁拾肆元伍角陆分");
    QTest::newRow("shortest text, not 1.9990000000000001") << 1.999 << QStringLiteral("壹元玖角玖分");
    QTest::newRow("no exponent for large") << 120000000.0 << QStringLiteral("壹亿貳仟万");
    QTest::newRow("largest") << 9999999999999.0 << QStringLiteral("玖兆玖仟玖佰玖拾玖亿玖仟玖佰玖拾玖万玖仟玖佰玖拾玖");
    QTest::newRow("too large") << 1e13 << QString();
    QTest::newRow("far too large") << 1e300 << QString();
    QTest::newRow("negative") << -3.5 << QString();
    QTest::newRow("below one") << 0.25 << QStringLiteral("貳角伍分");
    QTest::newRow("zero") << 0.0 << QString();
    QTest::newRow("not a number") << qQNaN() << QString();
    QTest::newRow("infinite") << qInf() << QString();
}

void CapitalMoneyTest::fromDouble()
{
    QFETCH(double, number);
    QFETCH(QString, expected);
    Korvane::Error error;
    const QString result = TextTransforms::changeCapitalChineseWithNumber(number, &error);
    QCOMPARE(result, expected);
    QCOMPARE(result.isNull(), expected.isNull());
    QCOMPARE(error.isNull(), !expected.isNull());
}

void CapitalMoneyTest::refused_data()
{
    QTest::addColumn<QString>("number");
    QTest::addColumn<QString>("messageKey");

    auto row = [](const char *name, const char *number, const char *key) {
        QTest::newRow(name) << QString::fromUtf8(number) << QString::fromLatin1(key);
    };
    row("negative", "-5", "CapitalAmountNegative");
    row("14 digits", "10000000000000", "CapitalAmountTooLarge");
    row("14 digits with cents", "99999999999999.99", "CapitalAmountTooLarge");
    row("exponent", "1e5", "CapitalAmountExponent");
    row("signed exponent", "1.5E+3", "CapitalAmountExponent");
    row("zero", "0", "CapitalAmountZero");
    row("zero cents", "0.00", "CapitalAmountZero");
    row("below a cent", "0.009", "CapitalAmountZero");
    row("empty", "", "CapitalAmountNotNumber");
    row("letter e alone", "e", "CapitalAmountNotNumber");
    row("two points", "1.2.3", "CapitalAmountNotNumber");
    row("trailing point", "12.", "CapitalAmountNotNumber");
    row("leading point", ".5", "CapitalAmountNotNumber");
    row("grouping", "1,000", "CapitalAmountNotNumber");
    row("plus sign", "+5", "CapitalAmountNotNumber");
    row("full-width digits", "１２", "CapitalAmountNotNumber");
    row("digits then text", "12abc", "CapitalAmountNotNumber");
}

void CapitalMoneyTest::refused()
{
    QFETCH(QString, number);
    QFETCH(QString, messageKey);

    QVERIFY(TextTransforms::changeCapitalChineseWithNumber(number).isNull());
    Korvane::Error error;
    QVERIFY(TextTransforms::changeCapitalChineseWithNumber(number, &error).isNull());
    QCOMPARE(error.code(), 7002);
    QCOMPARE(error.localizedDescription(), qtTrId(messageKey.toLatin1().constData()));
    QVERIFY2(error.localizedDescription() != messageKey, "the message has no English text");
}

QTEST_GUILESS_MAIN(CapitalMoneyTest)
#include "tst_capitalmoney.moc"
