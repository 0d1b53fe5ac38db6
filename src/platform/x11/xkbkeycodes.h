#pragma once

#include <QtCore/qnamespace.h>

#include <optional>

// Where each key Korvane binds sits on a PC keyboard, as an XKB keycode (the evdev code plus 8,
// what X11 and Wayland report). A key is named as a US keyboard names the key at that place,
// with Qt::KeypadModifier for the keypad's keys: keys are matched by place, not by label, so a
// shortcut keeps its position under every layout.
class XkbKeyCodes final
{
public:
    // 0 when the key has no place here; modifiers other than the keypad's do not count.
    static quint32 xkbKeyCode(QKeyCombination key);
    // The key at that place, without modifiers but the keypad's; nothing when no key Korvane
    // binds sits there.
    static std::optional<QKeyCombination> key(quint32 xkbKeyCode);
};
