#pragma once

#include "platform/urlopener.h"

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QList>
#include <QString>
#include <QStringList>

// Stand-ins for xdg-email, xdg-open and kdeconnect-cli that record every call. Each call is appended
// to a file named after the tool as its arguments, each ended by a NUL, and a record
// separator. The scripts use shell built-ins only, so they run with PATH holding nothing else.
//
// xdg-open exits with the status written in recordDir/xdg-open.status (0 without one), as
// the real one does when nothing handles a URL's scheme (3 or 4).
// kdeconnect-cli answers "--list-available" with $KDECONNECT_DEVICES and exit status
// $KDECONNECT_LIST_STATUS; every other call exits with $KDECONNECT_SEND_STATUS.
namespace ShareTestSupport {

inline bool writeScript(const QString &path, const QByteArray &body)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write("#!/bin/sh\n" + body) < 0)
        return false;
    file.close();
    return file.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
}

// Writes both stand-ins into bin; they record into recordDir.
inline bool installStandIns(const QString &bin, const QString &recordDir)
{
    QDir().mkpath(bin);
    QDir().mkpath(recordDir);
    const QByteArray record = "{ for a in \"$@\"; do printf '%s\\0' \"$a\"; done; printf '\\036\\0'; } >>'"
        + QFile::encodeName(recordDir) + "/";
    return writeScript(bin + QStringLiteral("/xdg-email"), record + "xdg-email'\n")
        && writeScript(bin + QStringLiteral("/xdg-open"), record + "xdg-open'\nstatus=0\n[ -r '" + QFile::encodeName(recordDir) + "/xdg-open.status' ] && read -r status <'" + QFile::encodeName(recordDir) + "/xdg-open.status'\nexit \"$status\"\n")
        && writeScript(bin + QStringLiteral("/kdeconnect-cli"),
                       record + "kdeconnect-cli'\n"
                                "case \"$1\" in\n"
                                "--list-available) printf '%s' \"$KDECONNECT_DEVICES\"; exit \"${KDECONNECT_LIST_STATUS:-0}\";;\n"
                                "esac\n"
                                "exit \"${KDECONNECT_SEND_STATUS:-0}\"\n");
}

// The desktop's opener in-process, recording what it is given.
class RecordingUrlOpener final : public UrlOpener
{
public:
    bool openURLs(const QList<QUrl> &urls) override
    {
        opened += urls;
        return true;
    }
    QList<QUrl> opened;
};

// The calls recorded for the tool, in order, each as its argument list.
inline QList<QStringList> calls(const QString &recordDir, const QString &tool)
{
    QFile file(recordDir + QLatin1Char('/') + tool);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    QList<QStringList> result;
    QStringList current;
    const QList<QByteArray> pieces = file.readAll().split('\0');
    for (qsizetype i = 0; i + 1 < pieces.size(); ++i) {
        if (pieces.at(i) == "\036") {
            result.append(current);
            current.clear();
        } else {
            current.append(QString::fromUtf8(pieces.at(i)));
        }
    }
    return result;
}

} // namespace ShareTestSupport
