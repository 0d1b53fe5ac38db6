#pragma once

#include <QtCore/qnamespace.h>

#include <optional>

// The one place where a shortcut's stored form meets Qt's. The store, "wakeHotKey" and the
// export keep a shortcut as a virtual key code, which names a key by its place on the keyboard
// (D is 2), and event modifier flags; inside Korvane it is a QKeyCombination whose key is the
// one a US keyboard has at that place, with Qt::KeypadModifier for the keypad's keys.
class StoredShortcutCodec final
{
public:
    // Event modifier flags, as stored.
    static constexpr quint32 ShiftFlag = 0x20000;
    static constexpr quint32 ControlFlag = 0x40000;
    static constexpr quint32 OptionFlag = 0x80000;
    static constexpr quint32 CommandFlag = 0x100000;

    struct StoredShortcut {
        quint32 keyCode = 0;
        quint32 modifiers = 0;
        friend bool operator==(StoredShortcut a, StoredShortcut b) { return a.keyCode == b.keyCode && a.modifiers == b.modifiers; }
    };

    // (0, 0) is no shortcut: an empty QKeyCombination. Flags for keys the desktop has no
    // modifier for (caps lock, the function key, the keypad, one side's key) are dropped;
    // nothing for a key code that names no key Korvane can bind (a modifier key, an unused code).
    static std::optional<QKeyCombination> decode(quint32 keyCode, quint32 modifiers);
    // Nothing for a key that has no stored code or a modifier the store has no flag for.
    static std::optional<StoredShortcut> encode(QKeyCombination keys);
};
