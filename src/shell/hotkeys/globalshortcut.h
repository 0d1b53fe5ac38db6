#pragma once

#include "platform/globalshortcutbackend.h"
#include "shell/hotkeys/storedkeycombination.h"

#include <QObject>
#include <QPointer>
#include <QString>

#include <functional>
#include <memory>
#include <optional>

class GlobalShortcut;
using PTHotKeyPtr = std::shared_ptr<GlobalShortcut>;

// One named hotkey of the registry: its combination and what a press calls.
class GlobalShortcut final
{
public:
    using Action = std::function<void(const GlobalShortcut &hotKey)>;

    GlobalShortcut() = default;
    GlobalShortcut(const QString &name, const StoredKeyCombination &keyCombo);

    QString name() const { return m_name; }
    void setName(const QString &name) { m_name = name; }
    StoredKeyCombination keyCombo() const { return m_keyCombo; }
    void setKeyCombo(const StoredKeyCombination &keyCombo) { m_keyCombo = keyCombo; }
    bool isExclusive() const { return m_isExclusive; }
    void setIsExclusive(bool exclusive) { m_isExclusive = exclusive; }
    // What the desktop shows for it in its own shortcut settings, where it has them.
    QString description() const { return m_description; }
    void setDescription(const QString &description) { m_description = description; }
    // The name a desktop that binds shortcuts itself keeps it under: it names the action, so
    // a new combination stays the same shortcut there. The registry name when none is set.
    QString desktopId() const { return m_desktopId.isEmpty() ? m_name : m_desktopId; }
    void setDesktopId(const QString &desktopId) { m_desktopId = desktopId; }

    // The action runs only while the target lives.
    QObject *target() const { return m_target; }
    void setTarget(QObject *target) { m_target = target; }
    const Action &action() const { return m_action; }
    void setAction(Action action) { m_action = std::move(action); }

    void invoke() const;

    // The system registration while this hotkey holds one.
    std::optional<GlobalShortcutBackend::HotKeyID> registration() const { return m_registration; }
    void setRegistration(std::optional<GlobalShortcutBackend::HotKeyID> registration) { m_registration = registration; }

private:
    QString m_name;
    StoredKeyCombination m_keyCombo = StoredKeyCombination::clearKeyCombo();
    bool m_isExclusive = false;
    QString m_description;
    QString m_desktopId;
    QPointer<QObject> m_target;
    Action m_action;
    std::optional<GlobalShortcutBackend::HotKeyID> m_registration;
};
