#include "platform/qt/desktopurlopener.h"

#include "platform/xdg/xdgurlopener.h"

#include <QDesktopServices>

bool DesktopUrlOpener::openURLs(const QList<QUrl> &urls)
{
    bool all = true;
    for (const QUrl &url : urls)
        all = QDesktopServices::openUrl(url) && all;
    return all;
}

void DesktopUrlOpener::openURL(const QUrl &url, const Opened &done)
{
    if (!XdgUrlOpener::launch(url, done))
        UrlOpener::openURL(url, done);
}
