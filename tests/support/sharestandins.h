#pragma once

#include "platform/urlopener.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <QUrl>

// Stand-ins for xdg-email, xdg-open and kdeconnect-cli that record every call. Each call is appended
// to a file named after the tool as its arguments, each ended by a NUL, and a record
// separator. The scripts use shell built-ins only, so they run with PATH holding nothing else.
//
// xdg-open exits with the status written in recordDir/xdg-open.status (0 without one), as
// the real one does when nothing handles a URL's scheme (3 or 4).
// kdeconnect-cli answers "--list-available" with $KDECONNECT_DEVICES and exit status
// $KDECONNECT_LIST_STATUS; every other call exits with $KDECONNECT_SEND_STATUS.
namespace KorvaneTest {

// Writes the stand-ins into bin; they record into recordDir.
bool installShareStandIns(const QString &bin, const QString &recordDir);

// The calls recorded for the tool, in order, each as its argument list.
QList<QStringList> recordedCalls(const QString &recordDir, const QString &tool);

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

} // namespace KorvaneTest
