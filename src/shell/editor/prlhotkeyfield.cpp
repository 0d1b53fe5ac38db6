#include "shell/editor/prlhotkeyfield.h"

#include "shell/hotkeys/prlhotkeyrecorder.h"
#include "platform/xkbkeycodes.h"

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

PRLHotKeyField::PRLHotKeyField(QWidget *parent)
    : QLineEdit(parent)
{
    // Typing never edits the text: keys are recorded, not inserted.
    setReadOnly(true);
    setFocusPolicy(Qt::StrongFocus);
    setAlignment(Qt::AlignCenter);
    setPlaceholderText(qtTrId("hotKeyFieldPlaceholder"));
}

void PRLHotKeyField::setHotKey(const PRLHotKey &hotKey)
{
    m_hotKey = hotKey;
    setText(hotKey.isEmpty() ? QString() : hotKey.displayString());
}

void PRLHotKeyField::keyPressEvent(QKeyEvent *event)
{
    // Modifiers are held on the way to the real key; they end nothing by themselves.
    if (isModifierKey(event->key()) || event->isAutoRepeat()) {
        event->accept();
        return;
    }
    const qint32 virtualKey = XkbKeyCodes::virtualKeyCode(event->nativeScanCode());
    if (virtualKey < 0) {
        event->accept();
        Q_EMIT keyRefused();
        return;
    }
    const auto result = PRLHotKeyRecorder::recordKey(quint32(virtualKey),
                                                     PRLHotKeyRecorder::eventModifierFlags(event->modifiers()));
    switch (result.outcome) {
    case PRLHotKeyRecorder::Outcome::PassOn:
        focusNextPrevChild(!(event->modifiers() & Qt::ShiftModifier));
        return;
    case PRLHotKeyRecorder::Outcome::Clear:
        setHotKey(PRLHotKey());
        break;
    case PRLHotKeyRecorder::Outcome::Take:
        setHotKey(result.hotKey);
        break;
    case PRLHotKeyRecorder::Outcome::Keep:
        // Recording goes on, so the user can read why and try another combination.
        event->accept();
        Q_EMIT keyRefused();
        return;
    }
    event->accept();
    Q_EMIT hotKeyFieldEvent(m_hotKey);
}

void PRLHotKeyField::keyReleaseEvent(QKeyEvent *event)
{
    event->accept();
}
