#pragma once

#include <QDateTime>
#include <QList>
#include <QString>

// The links of the last uploads, kept in "uploadHistory.json" beside the action store so that
// a link is not lost with the clipboard. Only what the user may see is kept: when, which
// file, the link and the store, never a key or a password. Oldest first on disk.
class UploadHistory final
{
public:
    struct Entry {
        QDateTime time; // UTC
        QString fileName; // the local file's name; empty for dropped image data
        QString url;
        QString store; // "qiniu", "oss", "cos", "upyun" or "weibo"
    };

    static constexpr int MaximumEntries = 100;

    UploadHistory() = delete;

    static QString filePath();
    // Adds the entries after the ones kept, dropping the oldest beyond MaximumEntries. A
    // history that cannot be read is started afresh; one that cannot be written is left as
    // it was. Safe against other Korvane processes adding at the same time.
    static bool append(const QList<Entry> &entries);
    // Oldest first.
    static QList<Entry> entries();
};
