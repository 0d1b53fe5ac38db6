#include "common/error.h"
#include "actions/text/translations.h"
#include "actions/text/texttransforms.h"

#include <QTest>

class CapitalMoneyTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void amounts_data();
    void amounts();
    void fromDouble();
};

void CapitalMoneyTest::initTestCase()
{
    Translations::install({QStringLiteral("en")});
}

void CapitalMoneyTest::amounts_data()
{
    QTest::addColumn<QString>("number");
    QTest::addColumn<QString>("expected"); // the numerals, or the key of the refusal's message

    auto row = [](const char *number, const char *expected, const char *name = nullptr) {
        QTest::newRow(name ? name : number) << QString::fromUtf8(number) << QString::fromUtf8(expected);
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
    // Refused: the key of the message that says why.
    row("-5", "CapitalAmountNegative", "negative");
    row("10000000000000", "CapitalAmountTooLarge", "14 digits");
    row("99999999999999.99", "CapitalAmountTooLarge", "14 digits with cents");
    row("1e5", "CapitalAmountExponent", "exponent");
    row("1.5E+3", "CapitalAmountExponent", "signed exponent");
    row("0", "CapitalAmountZero", "zero");
    row("0.00", "CapitalAmountZero", "zero cents");
    row("0.009", "CapitalAmountZero", "below a cent");
    row("", "CapitalAmountNotNumber", "empty");
    row("e", "CapitalAmountNotNumber", "letter e alone");
    row("1.2.3", "CapitalAmountNotNumber", "two points");
    row("12.", "CapitalAmountNotNumber", "trailing point");
    row(".5", "CapitalAmountNotNumber", "leading point");
    row("1,000", "CapitalAmountNotNumber", "grouping");
    row("+5", "CapitalAmountNotNumber", "plus sign");
    row("１２", "CapitalAmountNotNumber", "full-width digits");
    row("12abc", "CapitalAmountNotNumber", "digits then text");
}

void CapitalMoneyTest::amounts()
{
    QFETCH(QString, number);
    QFETCH(QString, expected);
    Korvane::Error error;
    const QString result = TextTransforms::changeCapitalChineseWithNumber(number, &error);
    if (!expected.startsWith(QLatin1String("CapitalAmount"))) {
        QCOMPARE(result, expected);
        QVERIFY(error.isNull());
        return;
    }
    QVERIFY(result.isNull());
    QVERIFY(TextTransforms::changeCapitalChineseWithNumber(number).isNull());
    QCOMPARE(error.code(), 7002);
    QCOMPARE(error.localizedDescription(), qtTrId(expected.toLatin1().constData()));
    QVERIFY2(error.localizedDescription() != expected, "the message has no English text");
}

// A number as a double: written as its shortest text, never with an exponent; past the
// largest, negative, zero or no number at all, refused.
void CapitalMoneyTest::fromDouble()
{
    const std::pair<double, const char *> rows[] = {
        {12.0, "壹拾貳"}, {1234.56, "壹仟貳佰叁拾肆元伍角陆分"}, {1.999, "壹元玖角玖分"}, {120000000.0, "壹亿貳仟万"}, {9999999999999.0, "玖兆玖仟玖佰玖拾玖亿玖仟玖佰玖拾玖万玖仟玖佰玖拾玖"}, {0.25, "貳角伍分"}, {1e13, nullptr}, {1e300, nullptr}, {-3.5, nullptr}, {0.0, nullptr}, {qQNaN(), nullptr}, {qInf(), nullptr}};
    for (const auto &[number, expected] : rows) {
        Korvane::Error error;
        const QString result = TextTransforms::changeCapitalChineseWithNumber(number, &error);
        QCOMPARE(result, QString::fromUtf8(expected));
        QCOMPARE(result.isNull(), !expected);
        QCOMPARE(error.isNull(), expected != nullptr);
    }
}

QTEST_GUILESS_MAIN(CapitalMoneyTest)
#include "tst_capitalmoney.moc"
