#include "shell/hotkeys/storeshortcutservice.h"

#include "store/droplistentity.h"
#include "store/actionstore.h"
#include "shell/hotkeys/namedshortcuts.h"

bool StoreShortcutService::registerHotKey(const QString &name, quint32 keyCode, quint32 modifiers)
{
    const auto drop = ActionStore::instance()->fetchDropWith(keyCode, modifiers);
    return NamedShortcuts::registerAttributeName(name, keyCode, modifiers, drop ? drop->title() : QString(),
                                             drop ? NamedShortcuts::actionDesktopId(drop->dropID()) : QString());
}

void StoreShortcutService::unregisterHotKey(const QString &name)
{
    NamedShortcuts::unregisterHotKeyForName(name);
}
