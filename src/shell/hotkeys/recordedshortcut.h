#pragma once

#include <QString>
#include <QVariantMap>
#include <QtGlobal>

#include <optional>

// A recorded shortcut: a virtual key code and event modifier flags, with the text the
// recording fields show for it ("Shift+Super+K"), as the desktop writes shortcuts.
class RecordedShortcut final
{
public:
    RecordedShortcut() = default;
    RecordedShortcut(quint32 keyCode, quint32 modifiers);

    quint32 keyCode() const { return m_keyCode; }
    quint32 modifiers() const { return m_modifiers; }
    bool isEmpty() const;
    // Made when the value is made; stringRepresentation() follows the current layout.
    QString displayString() const { return m_displayString; }
    QString stringRepresentation() const;
    QString description() const;

    // Stored under "keyCode" and "modifiers".
    QVariantMap toArchive() const;
    static RecordedShortcut fromArchive(const QVariantMap &archive);

    // Only names that some display string has shown are known.
    static std::optional<RecordedShortcut> hotKeyForString(const QString &string);
    static QString stringForKeyCode(quint32 keyCode, quint32 modifiers);
    static QString stringForKey(quint32 keyCode);
    static QString keyEquivalentStringForMenuForKeyCode(quint32 keyCode, quint32 modifiers);

    friend bool operator==(const RecordedShortcut &a, const RecordedShortcut &b)
    {
        return a.m_keyCode == b.m_keyCode && a.m_modifiers == b.m_modifiers;
    }
    friend bool operator!=(const RecordedShortcut &a, const RecordedShortcut &b) { return !(a == b); }

private:
    quint32 m_keyCode = 0;
    quint32 m_modifiers = 0;
    QString m_displayString;
};
