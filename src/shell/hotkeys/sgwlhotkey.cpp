#include "shell/hotkeys/sgwlhotkey.h"

#include "shell/hotkeys/pthotkeycenter.h"

#include <array>
#include <utility>

namespace {

constexpr std::array<std::pair<quint32, qint32>, 5> kModifiers{{
    {SGWLHotKey::ControlFlag, PTKeyCombo::ControlKey},
    {SGWLHotKey::ShiftFlag, PTKeyCombo::ShiftKey},
    {SGWLHotKey::OptionFlag, PTKeyCombo::OptionKey},
    {SGWLHotKey::CommandFlag, PTKeyCombo::CommandKey},
    {SGWLHotKey::FunctionFlag, PTKeyCombo::FunctionKey},
}};

} // namespace

bool SGWLHotKey::registerAttributeName(const QString &name, quint32 keyCode, quint32 modifiers, const QString &description,
                                       const QString &desktopId)
{
    PTHotKeyCenter *center = PTHotKeyCenter::sharedCenter();
    auto hotKey = std::make_shared<PTHotKey>(name, PTKeyCombo::keyComboWithKeyCode(qint32(keyCode), hotKeyModifiers(modifiers)));
    hotKey->setIsExclusive(true);
    hotKey->setDescription(description);
    hotKey->setDesktopId(desktopId);
    hotKey->setTarget(center);
    hotKey->setAction(&SGWLHotKey::globalHotKeyDidPress);
    return center->registerHotKey(hotKey);
}

void SGWLHotKey::unregisterHotKeyForName(const QString &name)
{
    PTHotKeyCenter::sharedCenter()->unregisterHotKeyForName(name);
}

void SGWLHotKey::globalHotKeyDidPress(const PTHotKey &hotKey)
{
    PTHotKeyCenter *center = PTHotKeyCenter::sharedCenter();
    if (hotKey.name() == WakeHotKeyName)
        Q_EMIT center->openMainView();
    else
        Q_EMIT center->gloableHotKeyPressed(hotKey.name());
}

QString SGWLHotKey::hotKeyName(quint32 keyCode, quint32 modifiers)
{
    return QStringLiteral("%1-%2").arg(keyCode).arg(modifiers);
}

qint32 SGWLHotKey::hotKeyModifiers(quint32 eventFlags)
{
    qint32 bits = 0;
    for (const auto &[flag, bit] : kModifiers) {
        if (eventFlags & flag)
            bits |= bit;
    }
    return bits;
}

quint32 SGWLHotKey::eventModifierFlags(qint32 hotKeyModifiers)
{
    quint32 flags = 0;
    for (const auto &[flag, bit] : kModifiers) {
        if (hotKeyModifiers & bit)
            flags |= flag;
    }
    return flags;
}
