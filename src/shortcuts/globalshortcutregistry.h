#pragma once

#include "platform/globalshortcutbackend.h"
#include "platform/settings.h"
#include "shortcuts/globalshortcut.h"

#include <QHash>
#include <QObject>
#include <QSet>

#include <memory>
#include <optional>

class DropListEntity;
using DropListEntityPtr = std::shared_ptr<DropListEntity>;

// Korvane's global shortcuts over the system's back-end: the registry names them, numbers their
// registrations and calls what a press of each asks for. The wake shortcut and the actions'
// shortcuts are registered here from what the settings and the store keep, and their presses
// come out of the signals.
class GlobalShortcutRegistry final : public QObject
{
    Q_OBJECT

public:
    using Binding = GlobalShortcutBackend::Binding;

    // The wake shortcut is registered under the key of the setting that stores it.
    static inline const QString WakeShortcutName = Korvane::Settings::wakeHotKey.key();
    // The names desktops that bind shortcuts themselves keep ours under.
    static inline const QString WakeDesktopId = QStringLiteral("wake");
    static QString actionDesktopId(qint32 dropID) { return QStringLiteral("action-%1").arg(dropID); }

    // Without a back-end the registry uses the one installed in Platform at each call.
    explicit GlobalShortcutRegistry(GlobalShortcutBackend *backend = nullptr, QObject *parent = nullptr);
    ~GlobalShortcutRegistry() override;

    static GlobalShortcutRegistry *instance();

    // The name of an action's shortcut: its stored key code and modifier flags, "2-1048576"
    // for Super+D. The told bindings remember shortcuts under these names.
    static QString actionShortcutName(const DropListEntity &drop);
    // The wake shortcut as "wakeHotKey" keeps it: empty for none, nothing when the stored
    // numbers name no key.
    static std::optional<QKeyCombination> storedWakeKeys();

    // False only when the system refuses; a combination without Ctrl, Alt, Shift or Meta is
    // not registered and answers true. The shortcut takes the place of one of the same name.
    bool registerShortcut(const GlobalShortcut &shortcut);
    // The wake shortcut as stored, whose press emits wakeActivated.
    bool registerWakeShortcut();
    // The action's stored shortcut, whose press emits actionActivated with the action that
    // holds those keys by then.
    bool registerActionShortcut(const DropListEntity &drop);
    void unregisterShortcut(const QString &name);
    void unregisterAll();
    // The keys of the shortcut registered under the name.
    std::optional<QKeyCombination> keys(const QString &name) const;

    // What the system made of the shortcut of that name: refused at registration, or bound,
    // waiting, refused or rebound as the desktop reports later.
    Binding binding(const QString &name) const;

Q_SIGNALS:
    void wakeActivated();
    void actionActivated(const DropListEntityPtr &drop);
    // The binding of a registration changed, or a registration was refused.
    void bindingChanged(const QString &name);

private:
    GlobalShortcutBackend *backend() const;
    void setHandlers();
    // A shortcut the system cannot take: it counts as refused.
    bool refuse(const QString &name);
    void onEvent(GlobalShortcutBackend::ShortcutId id, GlobalShortcutBackend::Event event);
    void onBindingChanged(GlobalShortcutBackend::ShortcutId id);

    GlobalShortcutBackend *m_backend = nullptr;
    QHash<QString, GlobalShortcut> m_shortcuts;
    QHash<GlobalShortcutBackend::ShortcutId, QString> m_names;
    GlobalShortcutBackend::ShortcutId m_nextId = 1;
    // Names whose last registration the system refused.
    QSet<QString> m_refused;
    // The back-end the handlers went to: a newly installed one needs them again.
    GlobalShortcutBackend *m_handledBackend = nullptr;
};
