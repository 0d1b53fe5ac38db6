#include "platform/korvaneurlopener.h"

#include <QTimer>

void KorvaneUrlOpener::openURL(const QUrl &url, const Opened &done)
{
    const bool opened = openURLs({url});
    QTimer::singleShot(0, [done, opened] { done(opened); });
}
