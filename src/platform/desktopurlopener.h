#pragma once

#include "korvaneurlopener.h"

// Opens URLs through the desktop session (QDesktopServices, portals where present).
class DesktopUrlOpener final : public KorvaneUrlOpener
{
public:
    bool openURLs(const QList<QUrl> &urls) override;
};
