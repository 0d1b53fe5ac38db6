#include "shortcuts/shortcutrecorder.h"

ShortcutRecorder::Outcome ShortcutRecorder::record(QKeyCombination keys)
{
    const Qt::KeyboardModifiers held = keys.keyboardModifiers() & (Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier);
    const Qt::Key key = keys.key();
    if (key == Qt::Key_Tab)
        return Outcome::PassOn;
    if ((key == Qt::Key_Backspace || key == Qt::Key_Delete) && held == Qt::NoModifier)
        return Outcome::Clear;
    // Without a real modifier only a function key alone makes a shortcut; with shift it is a
    // shifted key, not a shortcut.
    if (!held.testAnyFlags(Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier) && (!isFunctionKey(key) || held.testFlag(Qt::ShiftModifier)))
        return Outcome::Keep;
    return Outcome::Take;
}

bool ShortcutRecorder::isFunctionKey(Qt::Key key)
{
    return (key >= Qt::Key_F1 && key <= Qt::Key_F35) || key == Qt::Key_Print || key == Qt::Key_ScrollLock || key == Qt::Key_Pause;
}
