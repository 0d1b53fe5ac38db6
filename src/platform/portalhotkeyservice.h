#pragma once

#include "platform/korvaneeventhotkeyservice.h"

#include <QDBusConnection>
#include <QList>
#include <QObject>
#include <QTimer>

class QDBusMessage;

// Global hotkeys through the desktop portal's GlobalShortcuts interface, for Wayland sessions.
// All registrations share one session. Every change sends the whole set again: in
// CreateSession's "shortcuts" option, the only place some backends read it, and to
// BindShortcuts, the documented way. What the desktop bound, refused or the user rebound later
// arrives as binding changes; presses come from the portal's Activated signal, which is
// broadcast, so only those of our session count.
class PortalHotKeyService final : public QObject, public KorvaneEventHotKeyService
{
    Q_OBJECT

public:
    // The session is named after this token, so the desktop finds the user's own rebinding
    // again at the next start.
    static constexpr const char *SessionToken = "korvane";
    // A desktop may ask the user before it answers; past this a request counts as refused.
    static constexpr int ResponseTimeoutMs = 120000;
    // The portal holds one session per program; more shortcuts than this are not sent.
    static constexpr int MaxShortcuts = 256;

    explicit PortalHotKeyService(const QDBusConnection &bus = QDBusConnection::sessionBus(), QObject *parent = nullptr);
    ~PortalHotKeyService() override;

    bool registerEventHotKey(quint32 keyCode, quint32 modifiers, HotKeyID hotKeyID, bool exclusive) override;
    bool registerNamedEventHotKey(quint32 keyCode, quint32 modifiers, HotKeyID hotKeyID, bool exclusive, const QString &name,
                                  const QString &description) override;
    void unregisterEventHotKey(HotKeyID hotKeyID) override;
    void installEventHandler(EventHandler handler) override;
    void installBindingHandler(BindingHandler handler) override;
    Binding binding(HotKeyID hotKeyID) const override;
    // A program without keyboard focus learns nothing of the layout on Wayland.
    QString keyCharacter(quint32 keyCode) const override;

    // The portal's form of a combination of hot-key modifier bits and a stored key code:
    // "LOGO+d", "CTRL+ALT+k"; empty when the key has no name there.
    static QString preferredTrigger(quint32 keyCode, quint32 modifiers);

private Q_SLOTS:
    void onResponse(const QDBusMessage &message);
    void onActivated(const QDBusMessage &message);
    void onDeactivated(const QDBusMessage &message);
    void onShortcutsChanged(const QDBusMessage &message);

private:
    struct Shortcut {
        HotKeyID hotKeyID;
        QString id;
        QString description;
        QString trigger;
        Binding binding;
    };
    enum class Phase { Idle,
                       Creating,
                       Binding };

    void scheduleSync();
    void sync();
    void closeSession();
    void sendRequest(const QString &method, const QList<QVariant> &arguments, const QString &token);
    void requestFailed(Binding::State state);
    void finishRequest();
    void applyBound(const QVariant &shortcuts);
    void setBinding(Shortcut &shortcut, const Binding &binding);
    QVariant shortcutList() const;
    QString nextToken();
    const Shortcut *shortcutForId(const QString &id) const;

    QDBusConnection m_bus;
    QList<Shortcut> m_shortcuts;
    EventHandler m_eventHandler;
    BindingHandler m_bindingHandler;
    Phase m_phase = Phase::Idle;
    bool m_dirty = false;
    // No portal, or one without GlobalShortcuts: nothing will ever bind in this session.
    bool m_unsupported = false;
    QString m_session;
    QString m_requestPath;
    quint32 m_requestCount = 0;
    QTimer m_syncTimer;
    QTimer m_responseTimer;
};
