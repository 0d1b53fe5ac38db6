#include "korvanedesktopplatform.h"

#include "config.h"
#include "desktopsoundplayer.h"
#include "headlesseventhotkeyservice.h"

#if KORVANE_WITH_X11
#include "x11hotkeyservice.h"
#endif

#include <QGuiApplication>

std::unique_ptr<KorvaneEventHotKeyService> KorvaneDesktopPlatform::createEventHotKeyService()
{
#if KORVANE_WITH_X11
    if (QGuiApplication::platformName() == QLatin1String("xcb")) {
        auto service = std::make_unique<X11HotKeyService>();
        if (service->isValid())
            return service;
    }
#endif
    return std::make_unique<HeadlessEventHotKeyService>();
}

std::unique_ptr<KorvaneSoundPlayer> KorvaneDesktopPlatform::createSoundPlayer()
{
    return std::make_unique<DesktopSoundPlayer>();
}
