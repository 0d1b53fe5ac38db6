#pragma once

#include <memory>

class KorvaneEventHotKeyService;
class KorvaneSoundPlayer;

// Chooses the desktop realisation of a platform service for the running windowing system.
class KorvaneDesktopPlatform final
{
public:
    // The X11 service on the xcb platform; elsewhere the headless one, which holds
    // registrations but never sees a press.
    static std::unique_ptr<KorvaneEventHotKeyService> createEventHotKeyService();

    static std::unique_ptr<KorvaneSoundPlayer> createSoundPlayer();
};
