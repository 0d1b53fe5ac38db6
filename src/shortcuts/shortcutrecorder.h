#pragma once

#include <QtCore/qnamespace.h>

// What a shortcut recording field does with one key press; the field asks and acts.
class ShortcutRecorder final
{
public:
    enum class Outcome {
        PassOn, // Tab: focus moves on, recording goes on
        Clear, // the field becomes empty
        Take, // the field takes the keys pressed
        Keep, // the keys cannot make a shortcut: the field stays as it was
    };

    // keys: the key at the place pressed (see XkbKeyCodes) with the modifiers held.
    static Outcome record(QKeyCombination keys);
    // F1 to F35, and Print, Scroll Lock and Pause at the places of F13 to F15: a shortcut
    // without a modifier.
    static bool isFunctionKey(Qt::Key key);
};
