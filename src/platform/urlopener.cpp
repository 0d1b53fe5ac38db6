#include "platform/urlopener.h"

#include <QTimer>

void UrlOpener::openURL(const QUrl &url, const Opened &done)
{
    const bool opened = openURLs({url});
    QTimer::singleShot(0, [done, opened] { done(opened); });
}
