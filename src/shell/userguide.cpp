#include "shell/userguide.h"

#include "platform/notification.h"
#include "platform/notifier.h"
#include "platform/platform.h"
#include "platform/urlopener.h"
#include "shell/shelllogging.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QLoggingCategory>
#include <QUrl>

namespace {

// The tray program lives in PREFIX/lib/korvane.
QString installedPath()
{
    return QDir(QCoreApplication::applicationDirPath())
        .absoluteFilePath(QStringLiteral("../../" KORVANE_DOC_INSTALL_DIR "/guide.html"));
}

} // namespace

QString UserGuide::path()
{
    // The build's guide last: an installed program must never open a build's.
    for (const QString &candidate : {installedPath(), QStringLiteral(KORVANE_DOC_BUILD_DIR "/guide.html")}) {
        if (QFileInfo(candidate).isFile())
            return QDir::cleanPath(candidate);
    }
    return QString();
}

void UserGuide::open()
{
    const QString guide = path();
    if (!guide.isEmpty() && Platform::urlOpener()->openURLs({QUrl::fromLocalFile(guide)}))
        return;
    qCWarning(lcShell, "the user guide cannot be opened: %s", guide.isEmpty() ? "it is not installed" : qUtf8Printable(guide));
    Notification content;
    content.title = qtTrId("helpMissingTitle");
    content.body = qtTrId("helpMissingBody").arg(QDir::cleanPath(installedPath()));
    content.attachmentImage = QStringLiteral(":/images/notificationFail.png");
    Platform::notifier()->post(content);
}
