#pragma once

#include <QHash>
#include <QString>

// Text helpers of the text actions.
class StringManager final
{
public:
    // Replaces the clipboard's contents with the string as plain text only.
    static void stripPasteboardString(const QString &string);
    // "chineseNum", "characterNum", "englishNum" and "englishWordNum" of the string, counted
    // over UTF-16 units in one pass; empty for an empty string.
    static QHash<QString, qint64> characterStatistics(const QString &string);
};
