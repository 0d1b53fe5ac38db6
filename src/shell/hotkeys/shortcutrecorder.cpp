#include "shell/hotkeys/shortcutrecorder.h"

#include "shell/hotkeys/namedshortcuts.h"
#include "platform/shortcuttext.h"

namespace {

// Shift and the device-dependent bits. Caps lock (0x10000) lies outside: a key typed with
// caps lock on counts as modified. Qt never reports caps lock, so on Linux this is moot.
constexpr quint32 kPlainKeyMask = 0x2FFFF;
constexpr quint32 kDeviceIndependentMask = 0xFFFF0000;

} // namespace

ShortcutRecorder::Result ShortcutRecorder::recordKey(quint32 keyCode, quint32 modifierFlags)
{
    if (keyCode == TabKeyCode)
        return {Outcome::PassOn, {}};
    if ((keyCode == DeleteKeyCode || keyCode == ForwardDeleteKeyCode) && (modifierFlags & kDeviceIndependentMask) == 0)
        return {Outcome::Clear, {}};

    const RecordedShortcut hotKey(keyCode, modifierFlags);
    if ((modifierFlags & ~kPlainKeyMask) == 0) {
        // Without a real modifier only a function key alone makes a shortcut (it can arrive
        // without the function flag); with shift it is a shifted key, not a shortcut.
        if (!ShortcutText::isFunctionKey(keyCode) || (modifierFlags & NamedShortcuts::ShiftFlag))
            return {Outcome::Keep, {}};
    }
    return {Outcome::Take, hotKey};
}

quint32 ShortcutRecorder::eventModifierFlags(Qt::KeyboardModifiers modifiers)
{
    quint32 flags = 0;
    if (modifiers & Qt::ShiftModifier)
        flags |= NamedShortcuts::ShiftFlag;
    if (modifiers & Qt::ControlModifier)
        flags |= NamedShortcuts::ControlFlag;
    if (modifiers & Qt::AltModifier)
        flags |= NamedShortcuts::OptionFlag;
    if (modifiers & Qt::MetaModifier)
        flags |= NamedShortcuts::CommandFlag;
    return flags;
}
