#pragma once

#include "korvaneeventhotkeyservice.h"
#include "pthotkey.h"

#include <QHash>
#include <QLatin1String>
#include <QList>
#include <QObject>

// The registry of named global hotkeys over the system's hot-key service. Presses are
// reported through the signals, which carry the names of the in-process notifications.
class PTHotKeyCenter final : public QObject
{
    Q_OBJECT

public:
    static constexpr QLatin1String OpenMainViewNotification{"openMainView"};
    static constexpr QLatin1String GloableHotKeyPressedNotification{"gloableHotKeyPressed"};
    static constexpr QLatin1String HotKeyEventNotification{"HotKeyEvent"};
    static constexpr QLatin1String HotKeyNameKey{"hotKeyName"};
    static constexpr QLatin1String HotKeyIDKey{"hotKeyID"};

    // Registrations made through the registry.
    static constexpr quint32 HotKeySignature = KorvaneEventHotKeyService::fourCharCode("PTHk");
    // The popover's digit shortcuts, registered with the system directly.
    static constexpr quint32 RowShortcutSignature = KorvaneEventHotKeyService::fourCharCode("Drop");

    // Without a service the centre uses the one installed in KorvanePlatform at each call.
    explicit PTHotKeyCenter(KorvaneEventHotKeyService *service = nullptr, QObject *parent = nullptr);
    ~PTHotKeyCenter() override;

    static PTHotKeyCenter *sharedCenter();

    // False only when the system refuses; an invalid combination is skipped and answers true.
    bool registerHotKey(const PTHotKeyPtr &hotKey);
    void unregisterHotKey(const PTHotKeyPtr &hotKey);
    void unregisterHotKeyForName(const QString &name);
    void unregisterAllHotKeys();
    void setHotKeyRegistrationForName(const QString &name, bool enable);
    bool updateHotKey(const PTHotKeyPtr &hotKey);
    PTHotKeyPtr hotKeyForName(const QString &name) const;
    QList<PTHotKeyPtr> allHotKeys() const;

    // The registry installs its handler with the first registration; the digit shortcuts,
    // which bypass the registry, call this so their presses arrive even without one.
    void installEventHandler();
    bool isEventHandlerInstalled() const;

Q_SIGNALS:
    void openMainView();
    void gloableHotKeyPressed(const QString &hotKeyName);
    void hotKeyEvent(int hotKeyID);

private:
    KorvaneEventHotKeyService *service() const;
    void onHotKeyEvent(KorvaneEventHotKeyService::HotKeyID hotKeyID, int kind);

    KorvaneEventHotKeyService *m_service = nullptr;
    QHash<QString, PTHotKeyPtr> m_hotKeys;
    QHash<quint32, PTHotKeyPtr> m_hotKeyIDs;
    quint32 m_nextHotKeyID = 1;
    // The service the handler went to: a newly installed service needs it again.
    KorvaneEventHotKeyService *m_eventHandlerService = nullptr;
};
