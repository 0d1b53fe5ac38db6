#include "xdgurlopener.h"

#include <QLoggingCategory>
#include <QProcess>

Q_LOGGING_CATEGORY(lcOpener, "korvane.platform.urls", QtWarningMsg)

bool XdgUrlOpener::openURLs(const QList<QUrl> &urls)
{
    bool all = true;
    for (const QUrl &url : urls) {
        if (!QProcess::startDetached(QStringLiteral("xdg-open"), {QString::fromUtf8(url.toEncoded())})) {
            qCWarning(lcOpener, "could not start xdg-open for %s", url.toEncoded().constData());
            all = false;
        }
    }
    return all;
}
