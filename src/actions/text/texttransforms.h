#pragma once

#include <QHash>
#include <QString>

namespace Korvane {
class Error;
}

// Text helpers of the text actions: class operations only, no state.
class TextTransforms final
{
public:
    TextTransforms() = delete;

    // Error code of a number the capital money numerals cannot write; the same code the
    // capital money amount action uses for text that is not a number.
    static constexpr int capitalNumberErrorCode = 7002;

    // Writes number, in plain decimal notation ("1234.56", "12"), as Chinese capital money
    // numerals: "1234.56" gives "壹仟貳佰叁拾肆元伍角陆分". Fraction digits after the second are
    // cut, not rounded. A group of four zeros under a higher group writes no marker
    // ("100000001" gives "壹亿零壹", not "壹亿万零壹").
    //
    // Amounts under one write only the units they have: "0.5" gives "伍角", "0.05" gives "伍分".
    //
    // Only amounts from 0.01 to 9999999999999.99 are written. Anything else (a sign, an exponent,
    // more than 13 integer digits, a zero amount, anything but digits and one ".")
    // gives a null QString, and when error is given it is set to an error with
    // capitalNumberErrorCode and a localised message saying what is wrong.
    static QString changeCapitalChineseWithNumber(const QString &number, Korvane::Error *error = nullptr);

    // The same for a number the caller already holds, written in its shortest plain decimal text.
    static QString changeCapitalChineseWithNumber(double number, Korvane::Error *error = nullptr);

    // Replaces the clipboard's contents with the string as plain text only.
    // "chineseNum", "characterNum", "englishNum" and "englishWordNum" of the string, counted
    // over UTF-16 units in one pass; empty for an empty string.
    static QHash<QString, qint64> characterStatistics(const QString &string);
};
