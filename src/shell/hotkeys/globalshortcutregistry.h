#pragma once

#include "platform/globalshortcutbackend.h"
#include "shell/hotkeys/globalshortcut.h"

#include <QHash>
#include <QLatin1String>
#include <QList>
#include <QObject>

// The registry of named global hotkeys over the system's hot-key service. Presses are
// reported through the signals, which carry the names of the in-process notifications.
class GlobalShortcutRegistry final : public QObject
{
    Q_OBJECT

public:
    static constexpr QLatin1String OpenMainViewNotification{"openMainView"};
    static constexpr QLatin1String HotKeyNameKey{"hotKeyName"};

    // Registrations made through the registry.
    static constexpr quint32 HotKeySignature = GlobalShortcutBackend::fourCharCode("PTHk");

    // Without a service the centre uses the one installed in Platform at each call.
    explicit GlobalShortcutRegistry(GlobalShortcutBackend *service = nullptr, QObject *parent = nullptr);
    ~GlobalShortcutRegistry() override;

    static GlobalShortcutRegistry *instance();

    // False only when the system refuses; an invalid combination is skipped and answers true.
    bool registerHotKey(const PTHotKeyPtr &hotKey);
    void unregisterHotKey(const PTHotKeyPtr &hotKey);
    void unregisterHotKeyForName(const QString &name);
    void unregisterAllHotKeys();
    void setHotKeyRegistrationForName(const QString &name, bool enable);
    bool updateHotKey(const PTHotKeyPtr &hotKey);
    PTHotKeyPtr hotKeyForName(const QString &name) const;
    QList<PTHotKeyPtr> allHotKeys() const;

    // The registry installs its handlers with the first registration on each service.
    void installEventHandler();
    bool isEventHandlerInstalled() const;

    // What the system made of the hotkey of that name: refused at registration, or bound,
    // waiting, refused or rebound as the desktop reports later.
    GlobalShortcutBackend::Binding bindingForName(const QString &name) const;

Q_SIGNALS:
    void openMainView();
    void actionShortcutPressed(const QString &hotKeyName);
    // The binding of a registration changed, or a registration was refused.
    void bindingChanged(const QString &name, const StoredKeyCombination &keyCombo);

private:
    GlobalShortcutBackend *service() const;
    void onHotKeyEvent(GlobalShortcutBackend::HotKeyID hotKeyID, int kind);
    void onBindingChanged(GlobalShortcutBackend::HotKeyID hotKeyID);

    GlobalShortcutBackend *m_service = nullptr;
    QHash<QString, PTHotKeyPtr> m_hotKeys;
    QHash<quint32, PTHotKeyPtr> m_hotKeyIDs;
    quint32 m_nextHotKeyID = 1;
    // Names whose last registration the system refused.
    QHash<QString, StoredKeyCombination> m_refused;
    // The service the handler went to: a newly installed service needs it again.
    GlobalShortcutBackend *m_eventHandlerService = nullptr;
};
