#pragma once

#include "platform/globalshortcutbackend.h"

#include <QPointer>
#include <QString>

#include <functional>
#include <optional>

class QObject;

// One named shortcut of the registry: its keys and what a press calls. As with a functor
// connected to a signal, the call is tied to a context object and ends with it.
class GlobalShortcut final
{
public:
    GlobalShortcut() = default;
    GlobalShortcut(const QString &name, QKeyCombination keys, QObject *context, std::function<void()> activated);

    QString name() const { return m_name; }
    QKeyCombination keys() const { return m_keys; }
    // What the desktop shows for it in its own shortcut settings, where it has them.
    QString description() const { return m_description; }
    void setDescription(const QString &description) { m_description = description; }
    // The name a desktop that binds shortcuts itself keeps it under: it names the action, so
    // a new combination stays the same shortcut there. The registry name when none is set.
    QString desktopId() const { return m_desktopId.isEmpty() ? m_name : m_desktopId; }
    void setDesktopId(const QString &desktopId) { m_desktopId = desktopId; }

    void activate() const;

    // The system registration while the shortcut holds one.
    std::optional<GlobalShortcutBackend::ShortcutId> registration() const { return m_registration; }
    void setRegistration(std::optional<GlobalShortcutBackend::ShortcutId> registration) { m_registration = registration; }

private:
    QString m_name;
    QKeyCombination m_keys;
    QString m_description;
    QString m_desktopId;
    QPointer<QObject> m_context;
    std::function<void()> m_activated;
    std::optional<GlobalShortcutBackend::ShortcutId> m_registration;
};
