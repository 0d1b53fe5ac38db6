#include "platform/platform.h"

#include "platform/headless/headlessclipboard.h"
#include "platform/headless/headlessshortcutbackend.h"
#include "platform/headless/headlessnotifier.h"
#include "platform/xdg/processsharebackend.h"
#include "platform/headless/headlesssoundplayer.h"
#include "platform/xdg/qsettingsbackend.h"
#include "platform/xdg/xdgurlopener.h"

namespace {

struct Services {
    std::unique_ptr<SettingsBackend> settingsBackend;
    std::unique_ptr<Clipboard> clipboard;
    std::unique_ptr<Notifier> notifier;
    std::unique_ptr<UrlOpener> urlOpener;
    std::unique_ptr<GlobalShortcutBackend> shortcutBackend;
    std::unique_ptr<ShareBackend> shareBackend;
    std::unique_ptr<SoundPlayer> soundPlayer;
};

Services &services()
{
    static Services instance;
    return instance;
}

} // namespace

SettingsBackend *Platform::settingsBackend()
{
    auto &s = services().settingsBackend;
    if (!s)
        s = std::make_unique<QSettingsBackend>();
    return s.get();
}

Clipboard *Platform::clipboard()
{
    auto &s = services().clipboard;
    if (!s)
        s = std::make_unique<HeadlessClipboard>();
    return s.get();
}

Notifier *Platform::notifier()
{
    auto &s = services().notifier;
    if (!s)
        s = std::make_unique<HeadlessNotifier>();
    return s.get();
}

UrlOpener *Platform::urlOpener()
{
    auto &s = services().urlOpener;
    if (!s)
        s = std::make_unique<XdgUrlOpener>();
    return s.get();
}

GlobalShortcutBackend *Platform::shortcutBackend()
{
    auto &s = services().shortcutBackend;
    if (!s)
        s = std::make_unique<HeadlessShortcutBackend>();
    return s.get();
}

ShareBackend *Platform::shareBackend()
{
    auto &s = services().shareBackend;
    if (!s)
        s = std::make_unique<ProcessShareBackend>();
    return s.get();
}

SoundPlayer *Platform::soundPlayer()
{
    auto &s = services().soundPlayer;
    if (!s)
        s = std::make_unique<HeadlessSoundPlayer>();
    return s.get();
}

void Platform::setSettingsBackend(std::unique_ptr<SettingsBackend> defaults)
{
    services().settingsBackend = std::move(defaults);
}

void Platform::setClipboard(std::unique_ptr<Clipboard> clipboard)
{
    services().clipboard = std::move(clipboard);
}

void Platform::setNotifier(std::unique_ptr<Notifier> notifier)
{
    services().notifier = std::move(notifier);
}

void Platform::setUrlOpener(std::unique_ptr<UrlOpener> opener)
{
    services().urlOpener = std::move(opener);
}

void Platform::setShortcutBackend(std::unique_ptr<GlobalShortcutBackend> backend)
{
    services().shortcutBackend = std::move(backend);
}

void Platform::setShareBackend(std::unique_ptr<ShareBackend> backend)
{
    services().shareBackend = std::move(backend);
}

void Platform::setSoundPlayer(std::unique_ptr<SoundPlayer> player)
{
    services().soundPlayer = std::move(player);
}
