#pragma once

#include <QList>
#include <QUrl>

#include <functional>

// Opens URLs with the desktop's default handlers (browser, mail client, ...).
class UrlOpener
{
public:
    // Called on the main thread once the launch is known to have worked or failed.
    using Opened = std::function<void(bool opened)>;

    virtual ~UrlOpener() = default;
    // Opens each URL; one that cannot be opened does not stop the others. False when any failed.
    virtual bool openURLs(const QList<QUrl> &urls) = 0;
    // Opens one URL and tells whether a program took it: false when nothing handles its
    // scheme or the launcher failed. Never calls back from inside the call.
    virtual void openURL(const QUrl &url, const Opened &done);
};
