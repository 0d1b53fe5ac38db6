#include "desktopurlopener.h"

#include <QDesktopServices>

bool DesktopUrlOpener::openURLs(const QList<QUrl> &urls)
{
    bool all = true;
    for (const QUrl &url : urls)
        all = QDesktopServices::openUrl(url) && all;
    return all;
}
