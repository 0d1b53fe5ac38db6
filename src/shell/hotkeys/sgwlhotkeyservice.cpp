#include "sgwlhotkeyservice.h"

#include "sgwlhotkey.h"

bool SGWLHotKeyService::registerHotKey(const QString &name, quint32 keyCode, quint32 modifiers)
{
    return SGWLHotKey::registerAttributeName(name, keyCode, modifiers);
}

void SGWLHotKeyService::unregisterHotKey(const QString &name)
{
    SGWLHotKey::unregisterHotKeyForName(name);
}
