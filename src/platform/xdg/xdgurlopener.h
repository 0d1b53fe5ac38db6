#pragma once

#include "platform/urlopener.h"

// Hands each URL to xdg-open, started directly (never through a shell); used where Qt has
// no desktop session of its own, such as the command line.
class XdgUrlOpener final : public UrlOpener
{
public:
    // How long a launcher may take to say it failed. One still running by then has found a
    // handler that runs in its place (xdg-open waits for some browsers to exit).
    static constexpr int launchVerdictMs = 5000;

    bool openURLs(const QList<QUrl> &urls) override;
    void openURL(const QUrl &url, const Opened &done) override;
    // Runs xdg-open on the URL and reports its verdict; false when xdg-open is not installed.
    static bool launch(const QUrl &url, const Opened &done);
};
