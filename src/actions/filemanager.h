#pragma once

#include "korvaneerror.h"

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
    };

    static bool copyFile(const QUrl &file, const QString &toFolder, KorvaneError *error);
    static bool moveFile(const QUrl &file, const QString &toFolder, KorvaneError *error);
    // Copies or moves one file, link or whole folder into the folder under a free name
    // ("report.pdf", "report1.pdf", ...). Nothing appears under that name until it is complete,
    // and a moved source is removed only once its copy has been written, flushed and checked.
    static bool copyFile(const QUrl &file, const QString &toFolder, bool isDeleteFile, KorvaneError *error,
                         QString *outFile = nullptr);

    // Plans moving the file into the rename run's staging folder under its new name (made
    // free with "-1", "-2", ... within the run); the run moves every planned file at once.
    // A wanted path equal to the source gives no staged path and no error; one in another
    // folder is refused.
    static bool renameFile(const QUrl &source, const QString &toNewFile, QString *outFile, KorvaneError *error,
                           RenameJournal &journal);

    // Creates "Temp" when missing and clears it of every rename run that is no longer alive,
    // finishing or undoing its moves first. Runs still alive keep their folders.
    // Gives the folder, or nothing on failure. Without a folder it takes Korvane's own "Temp",
    // which only the main thread may look up.
    static QString initTempFolder(KorvaneError *error, QString tempFolder = QString());

    // Writes the text into a ".txt" file named after its start, alone in "Cache".
    static QUrl saveCacheFile(const QString &text, KorvaneError *error);

    // Korvane's folder beside the store; main thread.
    static QString applicationSupportDirectory();
    static QString findOrCreateDirectory(QStandardPaths::StandardLocation directory, int domainMask,
                                         const QString &appendPathComponent, KorvaneError *error);
    static QString tempFolderPath();
    static QString cacheFolderPath();

    // The error of a failed system call on a path, with the system's own text.
    static KorvaneError systemError(int errorNumber, const QByteArray &path);
    // The n-th candidate of the copy rule's free names: "report.pdf" gives "report1.pdf",
    // "report2.pdf", ...; "notes" gives "notes1"; n = 0 is the name itself.
    static QByteArray numberedName(const QByteArray &name, qint64 n);
    // rename(2) that never replaces an existing entry: EEXIST instead.
    static int renameNoReplace(const QByteArray &from, const QByteArray &to);
    static bool fsyncPath(const QByteArray &path);

    static QByteArray withoutTrailingSlashes(QByteArray path);
    static QByteArray joinPath(const QByteArray &folder, const QByteArray &name);
    static QByteArray lastComponent(const QByteArray &path);
    static QByteArray parentOf(const QByteArray &path);
};
