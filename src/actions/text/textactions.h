#pragma once

#include "actions/actionreply.h"

#include <QString>

#include <memory>

class DropListEntity;
class DropPayload;
class QIODevice;

// The actions that work on the dropped text. Clear style, character count and the Chinese
// conversion finish when they return; the others report through their reply.
class TextActions final
{
public:
    // The failure of a translation no service is set up for; the other codes are the
    // documented ones.
    static constexpr int translateNotConfiguredErrorCode = 7005;
    // Texts longer than this many UTF-16 units (16 Mi, 16 MiB and more as UTF-8) are refused
    // before any action works on them: each action holds a few copies of its text, and a
    // drop of hundreds of megabytes must not cost gigabytes.
    static constexpr qsizetype MaximumTextLength = qsizetype(16) << 20;
    static constexpr int textTooLongErrorCode = 7006;
    // A custom URL that no application took: nothing handles its scheme.
    static constexpr int customUrlNotOpenedErrorCode = 7007;

    using DropPtr = std::shared_ptr<DropListEntity>;

    // Through LibreTranslate when translate/libretranslateUrl is set, else through the
    // product's service when hosts/service is set; with neither it fails at once, saying what
    // to set up.
    static void translate(const DropPtr &drop, const DropPayload &payload, const ActionReply &reply);
    static void clearFormat(const DropPtr &drop, const DropPayload &payload, const ActionReply &reply = ActionReply());
    static void countCharacters(const DropPtr &drop, const DropPayload &payload, const ActionReply &reply = ActionReply());
    static void openCustomUrl(const DropPtr &drop, const DropPayload &payload, const ActionReply &reply);
    static void convertLetterCase(const DropPtr &drop, const DropPayload &payload, const ActionReply &reply);
    static void convertChinese(const DropPtr &drop, const DropPayload &payload, const ActionReply &reply = ActionReply());
    // The same conversion on UTF-8 read from input and written to output in pieces, so that a
    // long text is never held whole; the notification shows the result's beginning, at most
    // streamedNotificationLength characters. False when reading or writing fails.
    static bool traditionalConversionTextStream(const DropPtr &drop, QIODevice &input, QIODevice &output,
                                                const ActionReply &reply = ActionReply());
    static bool isTraditionalConversion(const DropListEntity &drop);
    static constexpr qsizetype streamedNotificationLength = 200;
    static void writeMoneyInChinese(const DropPtr &drop, const DropPayload &payload, const ActionReply &reply);
    static void shareText(const DropPtr &drop, const DropPayload &payload, const ActionReply &reply);

    // Each word's first letter in upper (title) case and the rest in lower case, with the
    // full Unicode case mappings; words are separated by white space.
    static QString capitalizedString(const QString &text);
};
