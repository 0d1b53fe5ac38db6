#include "stringmanager.h"

#include "korvaneclipboard.h"
#include "korvaneplatform.h"

void StringManager::stripPasteboardString(const QString &string)
{
    KorvanePlatform::clipboard()->writeText(string);
}

QHash<QString, qint64> StringManager::characterStatistics(const QString &string)
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
