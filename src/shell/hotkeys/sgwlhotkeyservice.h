#pragma once

#include "platform/korvanehotkeyservice.h"

// Lets the store register action hotkeys through the registry; the tray application
// installs it in KorvanePlatform.
class SGWLHotKeyService final : public KorvaneHotKeyService
{
public:
    bool registerHotKey(const QString &name, quint32 keyCode, quint32 modifiers) override;
    void unregisterHotKey(const QString &name) override;
};
