#include "shell/hotkeys/sgwlhotkeyservice.h"

#include "store/droplistentity.h"
#include "store/korvanecoredatahelper.h"
#include "shell/hotkeys/sgwlhotkey.h"

bool SGWLHotKeyService::registerHotKey(const QString &name, quint32 keyCode, quint32 modifiers)
{
    const auto drop = KorvaneCoreDataHelper::shareInstance()->fetchDropWith(keyCode, modifiers);
    return SGWLHotKey::registerAttributeName(name, keyCode, modifiers, drop ? drop->title() : QString(),
                                             drop ? SGWLHotKey::actionDesktopId(drop->dropID()) : QString());
}

void SGWLHotKeyService::unregisterHotKey(const QString &name)
{
    SGWLHotKey::unregisterHotKeyForName(name);
}
