#pragma once

#include <QString>
#include <QVariant>
#include <QtGlobal>

// A key combination as the system's hot-key registry takes it: a virtual key code and
// hot-key modifier bits.
class StoredKeyCombination final
{
public:
    static constexpr qint32 CommandKey = 0x100;
    static constexpr qint32 ShiftKey = 0x200;
    static constexpr qint32 OptionKey = 0x800;
    static constexpr qint32 ControlKey = 0x1000;
    static constexpr qint32 FunctionKey = 0x1;

    StoredKeyCombination() = default;

    static StoredKeyCombination clearKeyCombo();
    static StoredKeyCombination keyComboWithKeyCode(qint32 keyCode, qint32 modifiers);
    // A map with "keyCode" and "modifiers"; anything unreadable or below 1 reads as -1.
    static StoredKeyCombination initWithPlistRepresentation(const QVariant &plist);
    QVariantMap plistRepresentation() const;

    qint32 keyCode() const { return m_keyCode; }
    qint32 modifiers() const { return m_modifiers; }
    bool isValidHotKeyCombo() const;
    bool isClearCombo() const;
    // Modifier symbols and the key's name from the "PTKeyCodes" table; "(None)" when invalid.
    QString description() const;

    friend bool operator==(const StoredKeyCombination &a, const StoredKeyCombination &b)
    {
        return a.m_keyCode == b.m_keyCode && a.m_modifiers == b.m_modifiers;
    }
    friend bool operator!=(const StoredKeyCombination &a, const StoredKeyCombination &b) { return !(a == b); }

private:
    StoredKeyCombination(qint32 keyCode, qint32 modifiers)
        : m_keyCode(keyCode)
        , m_modifiers(modifiers)
    {}

    qint32 m_keyCode = -1;
    qint32 m_modifiers = -1;
};
