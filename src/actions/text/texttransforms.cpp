#include "actions/text/texttransforms.h"

#include "common/error.h"

#include <QLocale>
#include <QRegularExpression>
#include <QStringList>

#include <cmath>

namespace {

const char16_t digitNumerals[] = u"零壹貳叁肆伍陆柒捌玖";
const char16_t *const positionUnits[] = {u"个", u"拾", u"佰", u"仟", u"万", u"拾", u"佰",
                                         u"仟", u"亿", u"拾", u"佰", u"仟", u"兆"};
constexpr int maxIntegerDigits = 13;

QString numeral(QChar digit)
{
    return QString(QChar(digitNumerals[digit.unicode() - u'0']));
}

bool isDigits(QStringView text)
{
    if (text.isEmpty())
        return false;
    for (QChar c : text) {
        if (c < u'0' || c > u'9')
            return false;
    }
    return true;
}

QString fail(Korvane::Error *error, const char *messageKey)
{
    if (error)
        *error = Korvane::Error(TextTransforms::capitalNumberErrorCode, qtTrId(messageKey));
    return QString();
}

QString integerNumerals(QStringView digits)
{
    const qsizetype n = digits.size();
    QStringList pieces;
    for (qsizetype i = 0; i < n; ++i) {
        const qsizetype unitIndex = n - 1 - i;
        const QString unit = QString::fromUtf16(positionUnits[unitIndex]);
        if (digits.at(i) != u'0') {
            pieces << numeral(digits.at(i)) + unit;
            continue;
        }
        const bool groupMarker = unitIndex == 4 || unitIndex == 8;
        // A group of four zeros under a higher group is read as zeros: its marker would only
        // stand after the higher one ("壹亿万").
        const bool emptyGroup = groupMarker && unitIndex + 3 < n
            && digits.sliced(i - 3, 4) == QLatin1String("0000");
        const QString piece = groupMarker && !emptyGroup ? unit : QStringLiteral("零");
        if (piece == unit && !pieces.isEmpty() && pieces.last() == QStringLiteral("零"))
            pieces.removeLast();
        if (pieces.isEmpty() || pieces.last() != piece)
            pieces << piece;
    }
    QString joined = pieces.join(QString());
    joined.chop(1);
    return joined;
}

// Amounts under one yuan are written as a cheque writes them: only the units that are there,
// "0.5" as "伍角", "0.05" as "伍分", "0.56" as "伍角陆分".
QString belowOne(QStringView fraction, Korvane::Error *error)
{
    QString result;
    if (fraction.size() > 0 && fraction.at(0) != u'0')
        result += numeral(fraction.at(0)) + QStringLiteral("角");
    if (fraction.size() > 1 && fraction.at(1) != u'0')
        result += numeral(fraction.at(1)) + QStringLiteral("分");
    if (result.isEmpty())
        return fail(error, "CapitalAmountZero");
    return result;
}

} // namespace

QString TextTransforms::changeCapitalChineseWithNumber(const QString &number, Korvane::Error *error)
{
    const QString text = number.trimmed();
    if (text.startsWith(u'-'))
        return fail(error, "CapitalAmountNegative");
    static const QRegularExpression exponentForm(QStringLiteral("^\\d+(\\.\\d+)?[eE][+-]?\\d+$"));
    if (exponentForm.match(text).hasMatch())
        return fail(error, "CapitalAmountExponent");

    const QStringList parts = text.split(u'.');
    if (parts.size() > 2 || !isDigits(parts.first()) || (parts.size() == 2 && !isDigits(parts.last())))
        return fail(error, "CapitalAmountNotNumber");

    QStringView integer = parts.first();
    while (integer.size() > 1 && integer.startsWith(u'0'))
        integer = integer.sliced(1);
    if (integer.size() > maxIntegerDigits)
        return fail(error, "CapitalAmountTooLarge");
    if (integer == u"0")
        return belowOne(parts.size() == 2 ? QStringView(parts.last()) : QStringView(), error);

    QString result = integerNumerals(integer);
    if (parts.size() == 2) {
        const QString fraction = parts.last();
        result += QStringLiteral("元");
        result += numeral(fraction.at(0)) + QStringLiteral("角");
        if (fraction.size() > 1)
            result += numeral(fraction.at(1)) + QStringLiteral("分");
    }
    return result;
}

QString TextTransforms::changeCapitalChineseWithNumber(double number, Korvane::Error *error)
{
    if (!std::isfinite(number))
        return fail(error, "CapitalAmountNotNumber");
    if (number < 0)
        return fail(error, "CapitalAmountNegative");
    return changeCapitalChineseWithNumber(QString::number(number, 'f', QLocale::FloatingPointShortest), error);
}

QHash<QString, qint64> TextTransforms::characterStatistics(const QString &string)
{
    if (string.isEmpty())
        return {};
    qint64 chinese = 0;
    qint64 characters = 0;
    qint64 letters = 0;
    qint64 words = 0;
    // A word is a piece between single spaces made of ASCII letters only.
    qint64 pieceLength = 0;
    bool pieceIsLetters = true;

    const char16_t *unit = reinterpret_cast<const char16_t *>(string.utf16());
    const char16_t *const end = unit + string.size();
    for (; unit != end; ++unit) {
        const char16_t c = *unit;
        if (c >= 0x4e00 && c <= 0x9fff) {
            ++chinese;
            characters += 2;
        } else {
            ++characters;
        }
        const bool letter = (c & ~0x20) >= 0x41 && (c & ~0x20) <= 0x5a;
        if (letter)
            ++letters;
        if (c == u' ') {
            if (pieceLength > 0 && pieceIsLetters)
                ++words;
            pieceLength = 0;
            pieceIsLetters = true;
        } else {
            ++pieceLength;
            pieceIsLetters = pieceIsLetters && letter;
        }
    }
    if (pieceLength > 0 && pieceIsLetters)
        ++words;

    return {
        {QStringLiteral("chineseNum"), chinese},
        {QStringLiteral("characterNum"), characters},
        {QStringLiteral("englishNum"), letters},
        {QStringLiteral("englishWordNum"), words},
    };
}
