#pragma once

#include <QtGlobal>

// How much of a server's answer Korvane takes, by kind of answer. Every figure here is the
// only copy of its number; the README lists them. A body is counted as it is decoded (chunks
// joined, compression undone), so no framing or encoding trick carries more than its cap.
class AnswerLimits final
{
public:
    // The answers of the service API and of the stores: JSON, XML and form replies, a few
    // hundred bytes in practice.
    static constexpr qint64 apiAnswer = 1024 * 1024;
    // Translations and text recognitions, which grow with the text or image sent.
    static constexpr qint64 resultAnswer = 8 * 1024 * 1024;

    // The status line and header fields of one answer, and of each interim answer.
    static constexpr qint64 headBytes = 64 * 1024;
    static constexpr int headFields = 100;
    // "100 Continue" and its kin before the real answer.
    static constexpr int interimAnswers = 8;
    // A chunk size line holds at most this many hexadecimal digits.
    static constexpr int chunkSizeDigits = 16;

    // What the XML and JSON readers take of a document under its cap: nesting, attributes on
    // one element, the characters of one text or string, and its nodes (XML elements and
    // attributes, JSON values), which bound the time it takes to read.
    static constexpr int documentDepth = 256;
    static constexpr int xmlAttributes = 256;
    static constexpr qint64 documentText = 1024 * 1024;
    static constexpr int documentNodes = 50000;
};
