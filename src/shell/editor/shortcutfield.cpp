#include "shell/editor/shortcutfield.h"

#include "shell/hotkeys/shortcutrecorder.h"
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

ShortcutField::ShortcutField(QWidget *parent)
    : QLineEdit(parent)
{
    // Typing never edits the text: keys are recorded, not inserted.
    setReadOnly(true);
    setFocusPolicy(Qt::StrongFocus);
    setAlignment(Qt::AlignCenter);
    setPlaceholderText(qtTrId("hotKeyFieldPlaceholder"));
}

void ShortcutField::setHotKey(const RecordedShortcut &hotKey)
{
    m_hotKey = hotKey;
    setText(hotKey.isEmpty() ? QString() : hotKey.displayString());
}

void ShortcutField::keyPressEvent(QKeyEvent *event)
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
    const auto result = ShortcutRecorder::recordKey(quint32(virtualKey),
                                                    ShortcutRecorder::eventModifierFlags(event->modifiers()));
    switch (result.outcome) {
    case ShortcutRecorder::Outcome::PassOn:
        focusNextPrevChild(!(event->modifiers() & Qt::ShiftModifier));
        return;
    case ShortcutRecorder::Outcome::Clear:
        setHotKey(RecordedShortcut());
        break;
    case ShortcutRecorder::Outcome::Take:
        setHotKey(result.hotKey);
        break;
    case ShortcutRecorder::Outcome::Keep:
        // Recording goes on, so the user can read why and try another combination.
        event->accept();
        Q_EMIT keyRefused();
        return;
    }
    event->accept();
    Q_EMIT hotKeyFieldEvent(m_hotKey);
}

void ShortcutField::keyReleaseEvent(QKeyEvent *event)
{
    event->accept();
}
