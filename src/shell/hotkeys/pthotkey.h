#pragma once

#include "platform/korvaneeventhotkeyservice.h"
#include "shell/hotkeys/ptkeycombo.h"

#include <QObject>
#include <QPointer>
#include <QString>

#include <functional>
#include <memory>
#include <optional>

class PTHotKey;
using PTHotKeyPtr = std::shared_ptr<PTHotKey>;

// One named hotkey of the registry: its combination and what a press calls.
class PTHotKey final
{
public:
    using Action = std::function<void(const PTHotKey &hotKey)>;

    PTHotKey() = default;
    PTHotKey(const QString &name, const PTKeyCombo &keyCombo);

    QString name() const { return m_name; }
    void setName(const QString &name) { m_name = name; }
    PTKeyCombo keyCombo() const { return m_keyCombo; }
    void setKeyCombo(const PTKeyCombo &keyCombo) { m_keyCombo = keyCombo; }
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
    std::optional<KorvaneEventHotKeyService::HotKeyID> registration() const { return m_registration; }
    void setRegistration(std::optional<KorvaneEventHotKeyService::HotKeyID> registration) { m_registration = registration; }

private:
    QString m_name;
    PTKeyCombo m_keyCombo = PTKeyCombo::clearKeyCombo();
    bool m_isExclusive = false;
    QString m_description;
    QString m_desktopId;
    QPointer<QObject> m_target;
    Action m_action;
    std::optional<KorvaneEventHotKeyService::HotKeyID> m_registration;
};
