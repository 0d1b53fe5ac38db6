#pragma once

#include <memory>

class KorvaneClipboard;
class KorvaneEventHotKeyService;
class KorvaneHotKeyService;
class KorvaneNotifier;
class KorvaneShareBackend;
class KorvaneSoundPlayer;
class KorvaneUrlOpener;
class KorvaneUserDefaults;

// The platform services the logic uses. The tray application installs the desktop ones;
// the command line and the tests keep the headless ones, which record what they are asked.
class KorvanePlatform final
{
public:
    static KorvaneUserDefaults *userDefaults();
    static KorvaneClipboard *clipboard();
    static KorvaneNotifier *notifier();
    static KorvaneHotKeyService *hotKeyService();
    static KorvaneUrlOpener *urlOpener();
    static KorvaneEventHotKeyService *eventHotKeyService();
    static KorvaneShareBackend *shareBackend();
    static KorvaneSoundPlayer *soundPlayer();

    static void setUserDefaults(std::unique_ptr<KorvaneUserDefaults> defaults);
    static void setClipboard(std::unique_ptr<KorvaneClipboard> clipboard);
    static void setNotifier(std::unique_ptr<KorvaneNotifier> notifier);
    static void setHotKeyService(std::unique_ptr<KorvaneHotKeyService> service);
    static void setUrlOpener(std::unique_ptr<KorvaneUrlOpener> opener);
    static void setEventHotKeyService(std::unique_ptr<KorvaneEventHotKeyService> service);
    static void setShareBackend(std::unique_ptr<KorvaneShareBackend> backend);
    static void setSoundPlayer(std::unique_ptr<KorvaneSoundPlayer> player);
};
