#include "shell/keycombinationedit.h"

#include "platform/x11/xkbkeycodes.h"
#include "shortcuts/keycombinationtext.h"
#include "shortcuts/shortcutrecorder.h"

#include <QKeyEvent>

namespace {

bool isModifierKey(int key)
{
    switch (key) {
    case Qt::Key_Shift:
    case Qt::Key_Control:
    case Qt::Key_Alt:
    case Qt::Key_AltGr:
    case Qt::Key_Meta:
    case Qt::Key_Super_L:
    case Qt::Key_Super_R:
    case Qt::Key_Hyper_L:
    case Qt::Key_Hyper_R:
    case Qt::Key_CapsLock:
        return true;
    default:
        return false;
    }
}

} // namespace

KeyCombinationEdit::KeyCombinationEdit(QWidget *parent)
    : QLineEdit(parent)
{
    // Typing never edits the text: keys are recorded, not inserted.
    setReadOnly(true);
    setFocusPolicy(Qt::StrongFocus);
    setAlignment(Qt::AlignCenter);
    setPlaceholderText(qtTrId("hotKeyFieldPlaceholder"));
    setToolTip(qtTrId("hotKeyFieldTip"));
}

void KeyCombinationEdit::setKeyCombination(QKeyCombination keys)
{
    m_keys = keys;
    setText(KeyCombinationText::text(keys));
}

void KeyCombinationEdit::keyPressEvent(QKeyEvent *event)
{
    event->accept();
    // Modifiers are held on the way to the real key; they end nothing by themselves.
    if (isModifierKey(event->key()) || event->isAutoRepeat())
        return;
    const std::optional<QKeyCombination> key = XkbKeyCodes::key(event->nativeScanCode());
    if (!key) {
        Q_EMIT keyRefused();
        return;
    }
    const Qt::KeyboardModifiers held = event->modifiers() & (Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier);
    const QKeyCombination pressed(held | key->keyboardModifiers(), key->key());
    switch (ShortcutRecorder::record(pressed)) {
    case ShortcutRecorder::Outcome::PassOn:
        focusNextPrevChild(!(event->modifiers() & Qt::ShiftModifier));
        return;
    case ShortcutRecorder::Outcome::Keep:
        // Recording goes on, so the user can read why and try another combination.
        Q_EMIT keyRefused();
        return;
    case ShortcutRecorder::Outcome::Clear:
        setKeyCombination(QKeyCombination());
        break;
    case ShortcutRecorder::Outcome::Take:
        setKeyCombination(pressed);
        break;
    }
    Q_EMIT keyCombinationChanged(m_keys);
}

void KeyCombinationEdit::keyReleaseEvent(QKeyEvent *event)
{
    event->accept();
}
