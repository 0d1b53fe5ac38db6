#pragma once

#include <QString>
#include <QtGlobal>

// Registers system-wide key combinations under a name. Key codes and modifier flags are
// the stored values of an action's hotkey.
class ShortcutService
{
public:
    virtual ~ShortcutService() = default;
    // False when the platform refuses the combination (another program holds it).
    virtual bool registerHotKey(const QString &name, quint32 keyCode, quint32 modifiers) = 0;
    virtual void unregisterHotKey(const QString &name) = 0;
};
