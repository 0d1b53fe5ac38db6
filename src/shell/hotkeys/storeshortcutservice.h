#pragma once

#include "platform/shortcutservice.h"

// Lets the store register action hotkeys through the registry; the tray application
// installs it in Platform.
class StoreShortcutService final : public ShortcutService
{
public:
    bool registerHotKey(const QString &name, quint32 keyCode, quint32 modifiers) override;
    void unregisterHotKey(const QString &name) override;
};
