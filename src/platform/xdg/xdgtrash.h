#pragma once

#include <QString>

// Moves files to the user's Trash the way the freedesktop.org Trash layout has it, so that any
// file manager lists them and can put them back: the home trash under XDG_DATA_HOME for files
// on its mount, else the trash at the top of the file's own mount ($topdir/.Trash/UID when
// that is a sticky folder and no link, or $topdir/.Trash-UID). Files are only ever renamed into
// the trash, never copied across mounts. Plain file-system work, safe on any thread.
class XdgTrash final
{
public:
    XdgTrash() = delete;

    // Where a trashed file went.
    struct Trashed {
        QString file;
        QString info;
    };

    // Trash folders tried for one name before giving up: "a.png", "a.2.png", "a.3.png", ...
    static constexpr int maxNameAttempts = 1000;

    // Moves the file or link at path into the trash of its mount with its .trashinfo. On
    // failure nothing has changed, and error says why.
    static Trashed moveToTrash(const QString &path, QString *error);
    // Moves a trashed file back to path, which must be free again, and drops its .trashinfo.
    static bool restore(const Trashed &trashed, const QString &path);
};
