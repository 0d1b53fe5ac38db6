#pragma once

#include <QList>
#include <QUrl>

// Opens URLs with the desktop's default handlers (browser, mail client, ...).
class KorvaneUrlOpener
{
public:
    virtual ~KorvaneUrlOpener() = default;
    // Opens each URL; one that cannot be opened does not stop the others. False when any failed.
    virtual bool openURLs(const QList<QUrl> &urls) = 0;
};
