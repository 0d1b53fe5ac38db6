#pragma once

#include <QByteArray>
#include <QString>

class QLoggingCategory;

// What a log line may say about the user's content (texts, file names, paths, results): its
// size and a short hash, so two lines about the same content can still be matched up. The
// content itself only when the line's category has its debug output turned on
// (QT_LOGGING_RULES="korvane.*.debug=true").
class LogText final
{
public:
    LogText() = delete;

    // "N bytes, #abcd1234", N counted in UTF-8.
    static QString summary(const QString &text, const QLoggingCategory &category);
    // The same for bytes as the file system holds them; shown as UTF-8 where debug is on.
    static QString summary(const QByteArray &bytes, const QLoggingCategory &category);
};
