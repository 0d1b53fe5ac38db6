#pragma once

#include <QString>

// The files that hold keys, passwords, cookies and the user's links (the store and its side
// files, korvane.conf, the upload history) are the user's alone: files 0600 in folders
// 0700, whatever the umask. Ones an older Korvane or another program left wider are
// tightened, and that is logged once, when it is done.
class PrivateFiles final
{
public:
    // Makes the folder (and its parents) when missing and narrows it to 0700.
    static bool makeFolder(const QString &path, QString *error);
    // Creates the file empty with mode 0600 when it does not exist; narrows it otherwise.
    static bool makeFile(const QString &path, QString *error);
    // Narrows an existing file or folder to its private mode; a missing one is fine.
    static void tighten(const QString &path);
};
