#pragma once

#include "actions/file/localpaths.h"
#include "common/error.h"

#include <QByteArray>
#include <QStandardPaths>
#include <QString>
#include <QUrl>

class RenameJournal;

// The file operations of the file actions and Korvane's private working folders beside the
// store. Paths are handled as the bytes the file system holds, so names that are not valid
// UTF-8 inside a dropped folder are copied, moved and removed as they are.
class FileManager final
{
public:
    FileManager() = delete;

    // Error codes of the file operations; the actions add their own.
    enum Code {
        NoFile = 8001,
        MustBeFolder = 8003,
        NotRegularFile = 8004,
        NameNotUtf8 = 8005,
        BadName = 8006,
    };

    // The longest name of a single folder entry on Linux file systems.
    static constexpr int maximumNameBytes = 255;

    // The path of a local file URL as the bytes the file system holds. A name that is not
    // valid UTF-8 arrives percent-encoded, and only these bytes still name that file.
    static QByteArray localPath(const QUrl &url);
    // The absolute path with repeated slashes, "." and ".." resolved by name alone.
    static QByteArray cleanPath(const QByteArray &path);
    // The path of a dropped file for the actions that read it through Qt's text paths, or
    // nothing with the reason: a name that is not valid UTF-8 would turn into another one.
    static QString textPath(const QUrl &url, Korvane::Error *error);
    // Whether the path leads to a regular file. Checked before a file is opened for reading:
    // a FIFO blocks the reader, a device never ends or reads as empty.
    static bool isRegularFile(const QByteArray &path, Korvane::Error *error);
    static bool isRegularFile(const QString &path, Korvane::Error *error);
    // The name for messages: bytes that are not UTF-8 show as \xNN.
    static QString displayName(const QByteArray &name);
    // Why a name cannot be a single folder entry, or nothing when it can.
    static QString nameProblem(const QByteArray &name);

    static bool copyFile(const QUrl &file, const QString &toFolder, Korvane::Error *error);
    static bool moveFile(const QUrl &file, const QString &toFolder, Korvane::Error *error);
    // Copies or moves one file, link or whole folder into the folder under a free name
    // ("report.pdf", "report1.pdf", ...). Nothing appears under that name until it is complete,
    // and a moved source is removed only once its copy has been written, flushed and checked.
    static bool copyFile(const QUrl &file, const QString &toFolder, bool isDeleteFile, Korvane::Error *error,
                         QString *outFile = nullptr);

    // Plans moving the file into the rename run's staging folder under its new name (made
    // free with "-1", "-2", ... among the run's files of that folder); the run moves every
    // planned file at once.
    // A wanted path equal to the source gives no staged path and no error.
    // The wanted path must stay in the source's folder.
    static bool renameFile(const QByteArray &source, const QByteArray &toNewFile, QString *outFile, Korvane::Error *error,
                           RenameJournal &journal);

    // Creates "Temp" when missing and clears it of every rename run that is no longer alive,
    // finishing or undoing its moves first. Runs still alive keep their folders.
    // Gives the folder, or nothing on failure. Without a folder it takes Korvane's own "Temp",
    // which only the main thread may look up.
    static QString initTempFolder(Korvane::Error *error, QString tempFolder = QString());

    // Writes the text into a ".txt" file named after its start, alone in "Cache".
    static QUrl saveCacheFile(const QString &text, Korvane::Error *error);

    // Korvane's folder beside the store; main thread.
    static QString applicationSupportDirectory();
    static QString findOrCreateDirectory(QStandardPaths::StandardLocation directory, int domainMask,
                                         const QString &appendPathComponent, Korvane::Error *error);
    static QString tempFolderPath();
    // Finishes the renames of runs that ended without finishing, in Korvane's own "Temp";
    // called wherever the store is opened. Main thread.
    static void recoverRenames();
    static QString cacheFolderPath();
};
