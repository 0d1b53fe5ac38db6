#pragma once

#include <memory>

class KorvaneDragMonitor;
class KorvaneEventHotKeyService;
class KorvaneSoundPlayer;

// Chooses the desktop realisation of a platform service for the running windowing system.
class KorvaneDesktopPlatform final
{
public:
    // The X11 service on the xcb platform, the desktop portal's on Wayland; elsewhere the
    // headless one, which holds registrations but never sees a press.
    static std::unique_ptr<KorvaneEventHotKeyService> createEventHotKeyService();

    // The X11 monitor on the xcb platform; elsewhere the headless one, which never sees a
    // drag.
    static std::unique_ptr<KorvaneDragMonitor> createDragMonitor();

    static std::unique_ptr<KorvaneSoundPlayer> createSoundPlayer();
};
