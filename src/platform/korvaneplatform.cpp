#include "platform/korvaneplatform.h"

#include "platform/headlessclipboard.h"
#include "platform/headlesseventhotkeyservice.h"
#include "platform/headlesshotkeyservice.h"
#include "platform/headlessnotifier.h"
#include "platform/processsharebackend.h"
#include "platform/headlesssoundplayer.h"
#include "platform/settingsuserdefaults.h"
#include "platform/xdgurlopener.h"

namespace {

struct Services {
    std::unique_ptr<KorvaneUserDefaults> userDefaults;
    std::unique_ptr<KorvaneClipboard> clipboard;
    std::unique_ptr<KorvaneNotifier> notifier;
    std::unique_ptr<KorvaneHotKeyService> hotKeys;
    std::unique_ptr<KorvaneUrlOpener> urlOpener;
    std::unique_ptr<KorvaneEventHotKeyService> eventHotKeys;
    std::unique_ptr<KorvaneShareBackend> shareBackend;
    std::unique_ptr<KorvaneSoundPlayer> soundPlayer;
};

Services &services()
{
    static Services instance;
    return instance;
}

} // namespace

KorvaneUserDefaults *KorvanePlatform::userDefaults()
{
    auto &s = services().userDefaults;
    if (!s)
        s = std::make_unique<SettingsUserDefaults>();
    return s.get();
}

KorvaneClipboard *KorvanePlatform::clipboard()
{
    auto &s = services().clipboard;
    if (!s)
        s = std::make_unique<HeadlessClipboard>();
    return s.get();
}

KorvaneNotifier *KorvanePlatform::notifier()
{
    auto &s = services().notifier;
    if (!s)
        s = std::make_unique<HeadlessNotifier>();
    return s.get();
}

KorvaneHotKeyService *KorvanePlatform::hotKeyService()
{
    auto &s = services().hotKeys;
    if (!s)
        s = std::make_unique<HeadlessHotKeyService>();
    return s.get();
}

KorvaneUrlOpener *KorvanePlatform::urlOpener()
{
    auto &s = services().urlOpener;
    if (!s)
        s = std::make_unique<XdgUrlOpener>();
    return s.get();
}

KorvaneEventHotKeyService *KorvanePlatform::eventHotKeyService()
{
    auto &s = services().eventHotKeys;
    if (!s)
        s = std::make_unique<HeadlessEventHotKeyService>();
    return s.get();
}

KorvaneShareBackend *KorvanePlatform::shareBackend()
{
    auto &s = services().shareBackend;
    if (!s)
        s = std::make_unique<ProcessShareBackend>();
    return s.get();
}

KorvaneSoundPlayer *KorvanePlatform::soundPlayer()
{
    auto &s = services().soundPlayer;
    if (!s)
        s = std::make_unique<HeadlessSoundPlayer>();
    return s.get();
}

void KorvanePlatform::setUserDefaults(std::unique_ptr<KorvaneUserDefaults> defaults)
{
    services().userDefaults = std::move(defaults);
}

void KorvanePlatform::setClipboard(std::unique_ptr<KorvaneClipboard> clipboard)
{
    services().clipboard = std::move(clipboard);
}

void KorvanePlatform::setNotifier(std::unique_ptr<KorvaneNotifier> notifier)
{
    services().notifier = std::move(notifier);
}

void KorvanePlatform::setHotKeyService(std::unique_ptr<KorvaneHotKeyService> service)
{
    services().hotKeys = std::move(service);
}

void KorvanePlatform::setUrlOpener(std::unique_ptr<KorvaneUrlOpener> opener)
{
    services().urlOpener = std::move(opener);
}

void KorvanePlatform::setEventHotKeyService(std::unique_ptr<KorvaneEventHotKeyService> service)
{
    services().eventHotKeys = std::move(service);
}

void KorvanePlatform::setShareBackend(std::unique_ptr<KorvaneShareBackend> backend)
{
    services().shareBackend = std::move(backend);
}

void KorvanePlatform::setSoundPlayer(std::unique_ptr<KorvaneSoundPlayer> player)
{
    services().soundPlayer = std::move(player);
}
