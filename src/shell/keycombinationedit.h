#pragma once

#include <QLineEdit>

// The field that records a global shortcut, as QKeySequenceEdit records a key sequence but
// one combination long and by the key's place on the keyboard: a key pressed with a modifier
// (or a function key alone) becomes its value, Backspace or Delete clears it, Tab moves on,
// and a key that cannot make a shortcut is refused while recording goes on. Both recordings
// are reported so the owner saves or refuses the value.
class KeyCombinationEdit final : public QLineEdit
{
    Q_OBJECT

public:
    explicit KeyCombinationEdit(QWidget *parent = nullptr);

    // Empty when the field holds none.
    QKeyCombination keyCombination() const { return m_keys; }
    // Shows the combination as the desktops write it.
    void setKeyCombination(QKeyCombination keys);

Q_SIGNALS:
    // A recording ended; keys is what the field holds now (empty after Backspace or Delete).
    void keyCombinationChanged(QKeyCombination keys);
    // A key was pressed that cannot make a shortcut on its own.
    void keyRefused();

protected:
    void keyPressEvent(QKeyEvent *event) override;
    void keyReleaseEvent(QKeyEvent *event) override;

private:
    QKeyCombination m_keys;
};
