#pragma once

#include "korvaneurlopener.h"

// Hands each URL to xdg-open, started directly (never through a shell); used where Qt has
// no desktop session of its own, such as the command line.
class XdgUrlOpener final : public KorvaneUrlOpener
{
public:
    bool openURLs(const QList<QUrl> &urls) override;
};
