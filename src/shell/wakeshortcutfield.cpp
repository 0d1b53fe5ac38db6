#include "shell/wakeshortcutfield.h"

#include "shell/hotkeys/shortcutrecorder.h"
#include "platform/xkbkeycodes.h"

#include <QKeyEvent>

WakeShortcutField::WakeShortcutField(QWidget *parent)
    : QLineEdit(parent)
{
    setReadOnly(true);
    setAlignment(Qt::AlignCenter);
    setPlaceholderText(qtTrId("hotKeyFieldPlaceholder"));
    setToolTip(qtTrId("hotKeyFieldTip"));
}

void WakeShortcutField::setHotKey(const RecordedShortcut &hotKey)
{
    m_hotKey = hotKey;
    setText(hotKey.isEmpty() ? QString() : hotKey.displayString());
}

void WakeShortcutField::keyPressEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_Tab || event->key() == Qt::Key_Backtab) {
        QLineEdit::keyPressEvent(event);
        return;
    }
    switch (event->key()) {
    case Qt::Key_Shift:
    case Qt::Key_Control:
    case Qt::Key_Alt:
    case Qt::Key_Meta:
    case Qt::Key_Super_L:
    case Qt::Key_Super_R:
    case Qt::Key_AltGr:
        // A modifier alone is the start of a shortcut, not one.
        event->accept();
        return;
    default:
        break;
    }
    const qint32 virtualKey = XkbKeyCodes::virtualKeyCode(event->nativeScanCode());
    if (virtualKey < 0) {
        event->accept();
        return;
    }
    const ShortcutRecorder::Result result = ShortcutRecorder::recordKey(quint32(virtualKey), ShortcutRecorder::eventModifierFlags(event->modifiers()));
    event->accept();
    switch (result.outcome) {
    case ShortcutRecorder::Outcome::PassOn:
    case ShortcutRecorder::Outcome::Keep:
        return;
    case ShortcutRecorder::Outcome::Clear:
        setHotKey(RecordedShortcut());
        break;
    case ShortcutRecorder::Outcome::Take:
        setHotKey(result.hotKey);
        break;
    }
    Q_EMIT hotKeyFieldEvent(m_hotKey);
}
