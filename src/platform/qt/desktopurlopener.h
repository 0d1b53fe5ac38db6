#pragma once

#include "platform/urlopener.h"

// Opens URLs through the desktop session (QDesktopServices, portals where present).
class DesktopUrlOpener final : public UrlOpener
{
public:
    bool openURLs(const QList<QUrl> &urls) override;
    // Through xdg-open, whose exit status tells a missing handler apart; the session's own
    // way, which cannot tell, only where xdg-open is missing.
    void openURL(const QUrl &url, const Opened &done) override;
};
