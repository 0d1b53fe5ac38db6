#pragma once

#include <memory>

class Clipboard;
class GlobalShortcutBackend;
class Notifier;
class ShareBackend;
class SoundPlayer;
class UrlOpener;
class SettingsBackend;

// The platform services the logic uses. The tray application installs the desktop ones;
// the command line and the tests keep the headless ones, which record what they are asked.
class Platform final
{
public:
    static SettingsBackend *settingsBackend();
    static Clipboard *clipboard();
    static Notifier *notifier();
    static UrlOpener *urlOpener();
    static GlobalShortcutBackend *shortcutBackend();
    static ShareBackend *shareBackend();
    static SoundPlayer *soundPlayer();

    static void setSettingsBackend(std::unique_ptr<SettingsBackend> defaults);
    static void setClipboard(std::unique_ptr<Clipboard> clipboard);
    static void setNotifier(std::unique_ptr<Notifier> notifier);
    static void setUrlOpener(std::unique_ptr<UrlOpener> opener);
    static void setShortcutBackend(std::unique_ptr<GlobalShortcutBackend> backend);
    static void setShareBackend(std::unique_ptr<ShareBackend> backend);
    static void setSoundPlayer(std::unique_ptr<SoundPlayer> player);
};
