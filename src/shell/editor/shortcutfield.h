#pragma once

#include "shell/hotkeys/recordedshortcut.h"

#include <QLineEdit>

// The shortcut recording field: a key press with a modifier (or a function key) becomes the
// field's shortcut and Delete clears it, both reported so the owner saves or refuses the
// value; Tab moves on; a key that cannot make a shortcut is refused and recording goes on.
class ShortcutField final : public QLineEdit
{
    Q_OBJECT

public:
    explicit ShortcutField(QWidget *parent = nullptr);

    RecordedShortcut hotKey() const { return m_hotKey; }
    void setHotKey(const RecordedShortcut &hotKey);

Q_SIGNALS:
    // A recording ended; value is what the field holds now (empty after Delete).
    void hotKeyFieldEvent(const RecordedShortcut &value);
    // A key was pressed that cannot make a shortcut on its own.
    void keyRefused();

protected:
    void keyPressEvent(QKeyEvent *event) override;
    void keyReleaseEvent(QKeyEvent *event) override;

private:
    RecordedShortcut m_hotKey;
};
