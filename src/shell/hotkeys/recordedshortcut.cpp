#include "shell/hotkeys/recordedshortcut.h"

#include "platform/globalshortcutbackend.h"
#include "platform/platform.h"
#include "shell/hotkeys/namedshortcuts.h"
#include "platform/shortcuttext.h"

#include <QHash>

namespace {

// Grows as display strings are made, so a key name of the current layout shown once can be
// read back.
QHash<QString, quint32> &nameMap()
{
    static QHash<QString, quint32> map;
    return map;
}

} // namespace

RecordedShortcut::RecordedShortcut(quint32 keyCode, quint32 modifiers)
    : m_keyCode(keyCode)
    , m_modifiers(modifiers)
    , m_displayString(stringForKeyCode(keyCode, modifiers))
{
}

bool RecordedShortcut::isEmpty() const
{
    return m_keyCode == 0 && m_modifiers == 0;
}

QString RecordedShortcut::stringRepresentation() const
{
    return stringForKeyCode(m_keyCode, m_modifiers);
}

QString RecordedShortcut::description() const
{
    if (isEmpty())
        return QStringLiteral("empty hot key");
    return QStringLiteral("HotKey: modifiers: %1, keycode: %2, %3").arg(m_modifiers).arg(m_keyCode).arg(m_displayString);
}

QVariantMap RecordedShortcut::toArchive() const
{
    return {{QStringLiteral("keyCode"), m_keyCode}, {QStringLiteral("modifiers"), m_modifiers}};
}

RecordedShortcut RecordedShortcut::fromArchive(const QVariantMap &archive)
{
    return RecordedShortcut(archive.value(QStringLiteral("keyCode")).toUInt(), archive.value(QStringLiteral("modifiers")).toUInt());
}

std::optional<RecordedShortcut> RecordedShortcut::hotKeyForString(const QString &string)
{
    const auto shortcut = ShortcutText::parse(string, [](const QString &name) -> std::optional<quint32> {
        const auto found = nameMap().constFind(name.toUpper());
        if (found == nameMap().constEnd())
            return std::nullopt;
        return found.value();
    });
    if (!shortcut)
        return std::nullopt;
    return RecordedShortcut(shortcut->keyCode, shortcut->modifiers);
}

QString RecordedShortcut::stringForKeyCode(quint32 keyCode, quint32 modifiers)
{
    if (keyCode == 0 && modifiers == 0)
        return QString();
    QString layoutName;
    if (ShortcutText::specialKeyName(keyCode).isEmpty()) {
        layoutName = keyEquivalentStringForMenuForKeyCode(keyCode, 0).trimmed().toUpper();
        if (!layoutName.isEmpty())
            nameMap().insert(layoutName, keyCode);
    }
    return ShortcutText::text(keyCode, modifiers, layoutName);
}

QString RecordedShortcut::stringForKey(quint32 keyCode)
{
    const QString character = Platform::eventHotKeyService()->keyCharacter(keyCode);
    return character.isEmpty() ? ShortcutText::usCharacter(keyCode) : character;
}

QString RecordedShortcut::keyEquivalentStringForMenuForKeyCode(quint32 keyCode, quint32 modifiers)
{
    const QString character = stringForKey(keyCode);
    return modifiers & NamedShortcuts::ShiftFlag ? character.toUpper() : character;
}
