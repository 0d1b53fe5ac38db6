#pragma once

#include "platform/korvanesettings.h"
#include "shell/hotkeys/globalshortcut.h"
#include "platform/shortcuttext.h"

#include <QString>
#include <QtGlobal>

// The registry as the rest of the shell uses it: hotkeys by name, with the stored key code
// and event modifier flags.
class NamedShortcuts final
{
public:
    // The wake hotkey is registered under the key of the setting that stores it.
    static inline const QString WakeHotKeyName = KorvaneSettings::wakeHotKey.key();

    // Event modifier flags, as stored with an action and in KorvaneSettings::wakeHotKey.
    static constexpr quint32 ShiftFlag = ShortcutText::ShiftFlag;
    static constexpr quint32 ControlFlag = ShortcutText::ControlFlag;
    static constexpr quint32 OptionFlag = ShortcutText::OptionFlag;
    static constexpr quint32 CommandFlag = ShortcutText::CommandFlag;
    static constexpr quint32 FunctionFlag = ShortcutText::FunctionFlag;

    // The names desktops that bind shortcuts themselves keep ours under.
    static inline const QString WakeDesktopId = QStringLiteral("wake");
    static QString actionDesktopId(qint32 dropID) { return QStringLiteral("action-%1").arg(dropID); }

    // False when the system refuses the combination; one without modifiers is not
    // registered and answers true. The description is what a desktop that binds shortcuts
    // itself shows for it, under desktopId.
    static bool registerAttributeName(const QString &name, quint32 keyCode, quint32 modifiers, const QString &description = QString(),
                                      const QString &desktopId = QString());
    static void unregisterHotKeyForName(const QString &name);
    static void shortcutPressed(const GlobalShortcut &hotKey);

    // The registry name of an action's hotkey, "2-1048576" for command-D.
    static QString hotKeyName(quint32 keyCode, quint32 modifiers);

    // Event modifier flags to hot-key modifier bits and back; other bits are dropped.
    static qint32 hotKeyModifiers(quint32 eventFlags);
    static quint32 eventModifierFlags(qint32 hotKeyModifiers);
};
