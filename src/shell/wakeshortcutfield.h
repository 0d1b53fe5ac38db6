#pragma once

#include "shell/hotkeys/recordedshortcut.h"

#include <QLineEdit>

// A field that records a shortcut: the next key pressed in it becomes its value, Delete
// clears it, Tab moves on, and a key without a modifier is refused unless it is a function key.
class WakeShortcutField final : public QLineEdit
{
    Q_OBJECT

public:
    explicit WakeShortcutField(QWidget *parent = nullptr);

    RecordedShortcut hotKey() const { return m_hotKey; }
    void setHotKey(const RecordedShortcut &hotKey);

Q_SIGNALS:
    // The user recorded a shortcut or cleared the field.
    void hotKeyFieldEvent(const RecordedShortcut &hotKey);

protected:
    void keyPressEvent(QKeyEvent *event) override;

private:
    RecordedShortcut m_hotKey;
};
