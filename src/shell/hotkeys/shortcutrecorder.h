#pragma once

#include "shell/hotkeys/recordedshortcut.h"

#include <QtGlobal>

// What a shortcut recording field does with one key press; the field widget asks and acts.
class ShortcutRecorder final
{
public:
    enum class Outcome {
        PassOn, // Tab: focus moves on, recording goes on
        Clear, // the field becomes empty
        Take, // the field shows hotKey
        Keep, // the field's text stays as it was
    };
    struct Result {
        Outcome outcome = Outcome::Keep;
        RecordedShortcut hotKey;
        // Every key but Tab ends the editing.
        bool endsEditing() const { return outcome != Outcome::PassOn; }
    };

    static constexpr quint32 TabKeyCode = 48;
    static constexpr quint32 DeleteKeyCode = 51;
    static constexpr quint32 ForwardDeleteKeyCode = 117;
    static constexpr quint32 CapsLockFlag = 0x10000;

    static Result recordKey(quint32 keyCode, quint32 modifierFlags);

    // The event modifier flags of Qt's modifiers: Meta (the Super key) is command.
    static quint32 eventModifierFlags(Qt::KeyboardModifiers modifiers);
};
