#include "shell/hotkeyfield.h"

#include "shell/hotkeys/prlhotkeyrecorder.h"
#include "platform/xkbkeycodes.h"

#include <QKeyEvent>

HotKeyField::HotKeyField(QWidget *parent)
    : QLineEdit(parent)
{
    setReadOnly(true);
    setAlignment(Qt::AlignCenter);
    setPlaceholderText(qtTrId("hotKeyFieldPlaceholder"));
    setToolTip(qtTrId("hotKeyFieldTip"));
}

void HotKeyField::setHotKey(const PRLHotKey &hotKey)
{
    m_hotKey = hotKey;
    setText(hotKey.isEmpty() ? QString() : hotKey.displayString());
}

void HotKeyField::keyPressEvent(QKeyEvent *event)
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
    const PRLHotKeyRecorder::Result result = PRLHotKeyRecorder::recordKey(quint32(virtualKey), PRLHotKeyRecorder::eventModifierFlags(event->modifiers()));
    event->accept();
    switch (result.outcome) {
    case PRLHotKeyRecorder::Outcome::PassOn:
    case PRLHotKeyRecorder::Outcome::Keep:
        return;
    case PRLHotKeyRecorder::Outcome::Clear:
        setHotKey(PRLHotKey());
        break;
    case PRLHotKeyRecorder::Outcome::Take:
        setHotKey(result.hotKey);
        break;
    }
    Q_EMIT hotKeyFieldEvent(m_hotKey);
}
