#pragma once

#include "common/error.h"

#include <QByteArray>

// Paths as the system sees them (bytes, not text) and the few system calls the copy, move and
// rename rules build on; the rename journal needs these and nothing of the file operations
// that use it.
class LocalPaths final
{
public:
    LocalPaths() = delete;

    // The error of a failed system call on a path, with the system's own text.
    static Korvane::Error systemError(int errorNumber, const QByteArray &path);
    // The n-th candidate of the copy rule's free names: "report.pdf" gives "report1.pdf",
    // "report2.pdf", ...; "notes" gives "notes1"; n = 0 is the name itself.
    static QByteArray numberedName(const QByteArray &name, qint64 n);
    // rename(2) that never replaces an existing entry: EEXIST instead.
    static int renameNoReplace(const QByteArray &from, const QByteArray &to);
    // rename(2) over an entry that may exist, without the data writeback ext4 starts when a
    // rename replaces a file: the two swap and the replaced one is removed. 0 or errno.
    static int replace(const QByteArray &from, const QByteArray &to);
    static bool fsyncPath(const QByteArray &path);
    // Whether an entry of any kind has the name; a symbolic link is not followed.
    static bool exists(const QByteArray &path);

    static QByteArray withoutTrailingSlashes(QByteArray path);
    static QByteArray joinPath(const QByteArray &folder, const QByteArray &name);
    static QByteArray lastComponent(const QByteArray &path);
    static QByteArray parentOf(const QByteArray &path);
};
