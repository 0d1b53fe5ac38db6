#include "shell/hotkeys/namedshortcuts.h"

#include "shell/hotkeys/globalshortcutregistry.h"

#include <array>
#include <utility>

namespace {

constexpr std::array<std::pair<quint32, qint32>, 5> kModifiers{{
    {NamedShortcuts::ControlFlag, StoredKeyCombination::ControlKey},
    {NamedShortcuts::ShiftFlag, StoredKeyCombination::ShiftKey},
    {NamedShortcuts::OptionFlag, StoredKeyCombination::OptionKey},
    {NamedShortcuts::CommandFlag, StoredKeyCombination::CommandKey},
    {NamedShortcuts::FunctionFlag, StoredKeyCombination::FunctionKey},
}};

} // namespace

bool NamedShortcuts::registerAttributeName(const QString &name, quint32 keyCode, quint32 modifiers, const QString &description,
                                       const QString &desktopId)
{
    GlobalShortcutRegistry *center = GlobalShortcutRegistry::instance();
    auto hotKey = std::make_shared<GlobalShortcut>(name, StoredKeyCombination::keyComboWithKeyCode(qint32(keyCode), hotKeyModifiers(modifiers)));
    hotKey->setIsExclusive(true);
    hotKey->setDescription(description);
    hotKey->setDesktopId(desktopId);
    hotKey->setTarget(center);
    hotKey->setAction(&NamedShortcuts::shortcutPressed);
    return center->registerHotKey(hotKey);
}

void NamedShortcuts::unregisterHotKeyForName(const QString &name)
{
    GlobalShortcutRegistry::instance()->unregisterHotKeyForName(name);
}

void NamedShortcuts::shortcutPressed(const GlobalShortcut &hotKey)
{
    GlobalShortcutRegistry *center = GlobalShortcutRegistry::instance();
    if (hotKey.name() == WakeHotKeyName)
        Q_EMIT center->openMainView();
    else
        Q_EMIT center->actionShortcutPressed(hotKey.name());
}

QString NamedShortcuts::hotKeyName(quint32 keyCode, quint32 modifiers)
{
    return QStringLiteral("%1-%2").arg(keyCode).arg(modifiers);
}

qint32 NamedShortcuts::hotKeyModifiers(quint32 eventFlags)
{
    qint32 bits = 0;
    for (const auto &[flag, bit] : kModifiers) {
        if (eventFlags & flag)
            bits |= bit;
    }
    return bits;
}

quint32 NamedShortcuts::eventModifierFlags(qint32 hotKeyModifiers)
{
    quint32 flags = 0;
    for (const auto &[flag, bit] : kModifiers) {
        if (hotKeyModifiers & bit)
            flags |= flag;
    }
    return flags;
}
