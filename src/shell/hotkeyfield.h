#pragma once

#include "shell/hotkeys/prlhotkey.h"

#include <QLineEdit>

// A field that records a shortcut: the next key pressed in it becomes its value, Delete
// clears it, Tab moves on, and a key without a modifier is refused unless it is a function key.
class HotKeyField final : public QLineEdit
{
    Q_OBJECT

public:
    explicit HotKeyField(QWidget *parent = nullptr);

    PRLHotKey hotKey() const { return m_hotKey; }
    void setHotKey(const PRLHotKey &hotKey);

Q_SIGNALS:
    // The user recorded a shortcut or cleared the field.
    void hotKeyFieldEvent(const PRLHotKey &hotKey);

protected:
    void keyPressEvent(QKeyEvent *event) override;

private:
    PRLHotKey m_hotKey;
};
