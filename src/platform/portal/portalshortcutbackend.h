#pragma once

#include "platform/globalshortcutbackend.h"

#include <QDBusConnection>
#include <QDBusError>
#include <QHash>
#include <QList>
#include <QObject>
#include <QTimer>
#include <QVariantMap>

#include <optional>

class QDBusArgument;
class QDBusMessage;

// One entry of the portal's a(sa{sv}) shortcut lists.
struct PortalShortcutEntry {
    QString id;
    QVariantMap properties;
};
Q_DECLARE_METATYPE(PortalShortcutEntry)
QDBusArgument &operator<<(QDBusArgument &argument, const PortalShortcutEntry &entry);
const QDBusArgument &operator>>(const QDBusArgument &argument, PortalShortcutEntry &entry);

// Global shortcuts through the desktop portal's GlobalShortcuts interface, for Wayland sessions.
// The portal knows a program outside a sandbox only by the application id it registers as the
// first portal call of a connection; Qt talks to the portal on the shared session connection
// before we can, so the service keeps a connection of its own for everything it asks.
// All registrations share one session. The desktop's list is read first and only what it
// lacks is bound; the whole set goes in CreateSession's "shortcuts" option too, the only place
// some backends read it. What the desktop bound, refused or the user rebound later arrives as
// binding changes; presses come from the portal's Activated signal, which is broadcast, so
// only those of our session count.
class PortalShortcutBackend final : public QObject, public GlobalShortcutBackend
{
    Q_OBJECT

public:
    // The id the portal knows us by: our installed desktop entry is named after it.
    static constexpr const char *AppId = "com.korvane.Korvane";
    // The session is named after this token, so the desktop finds the user's own rebinding
    // again at the next start.
    static constexpr const char *SessionToken = "korvane";
    // A desktop may ask the user before it answers; past this a request counts as refused.
    static constexpr int ResponseTimeoutMs = 120000;
    // The portal holds one session per program; more shortcuts than this are not sent.
    static constexpr int MaxShortcuts = 256;
    // Some backends offer global shortcuts only seconds after they start: a failed session is
    // tried again after 2, 4, 8 and 16 s before the run gives up on it.
    static constexpr int MaxSessionAttempts = 5;
    static constexpr int FirstRetryDelayMs = 2000;

    explicit PortalShortcutBackend(QObject *parent = nullptr);
    ~PortalShortcutBackend() override;

    bool registerShortcut(ShortcutId id, QKeyCombination keys, const QString &desktopId, const QString &description) override;
    void unregisterShortcut(ShortcutId id) override;
    void setEventHandler(EventHandler handler) override;
    void setBindingHandler(BindingHandler handler) override;
    Binding binding(ShortcutId id) const override;
    // A program without keyboard focus learns nothing of the layout on Wayland.
    QString keyCharacter(QKeyCombination key) const override;

    // The portal's form of a combination: "LOGO+d", "CTRL+ALT+k"; empty when the key has no
    // name there.
    static QString preferredTrigger(QKeyCombination keys);

private Q_SLOTS:
    void onResponse(const QDBusMessage &message);
    void onActivated(const QDBusMessage &message);
    void onDeactivated(const QDBusMessage &message);
    void onShortcutsChanged(const QDBusMessage &message);

private:
    struct Shortcut {
        ShortcutId shortcutId = 0;
        QString id;
        QString description;
        QString trigger;
        Binding binding;
        // Registered since the desktop's list was read: bound even where the list has the id.
        bool changed = false;
    };
    enum class Phase { Idle,
                       Registering,
                       Creating,
                       Listing,
                       Binding };

    void scheduleSync();
    void sync();
    void registerAppId();
    void createSession();
    void closeSession();
    void sendRequest(const QString &method, const QList<QVariant> &arguments, const QString &token);
    void requestFailed(const QString &method, const QDBusError &error);
    void sessionRefused();
    void sessionFailed(Binding::Cause cause);
    void finishRequest();
    void bindMissing(const QVariant &listed);
    // Takes what the desktop lists; shortcuts it was asked for and left out are refused for
    // missingCause, when one is given.
    void applyBound(const QVariant &shortcuts, std::optional<Binding::Cause> missingCause);
    void setBinding(Shortcut &shortcut, const Binding &binding);
    // Bound only once kglobalaccel holds the keys, where it runs; taken otherwise.
    void confirmActiveKeys(const QHash<QString, QString> &triggers);
    QVariant shortcutList(bool onlyChanged) const;
    QString nextToken();
    const Shortcut *shortcutForId(const QString &id) const;

    QString m_connectionName;
    QDBusConnection m_bus;
    QList<Shortcut> m_shortcuts;
    EventHandler m_eventHandler;
    BindingHandler m_bindingHandler;
    Phase m_phase = Phase::Idle;
    bool m_dirty = false;
    // Nothing will ever bind in this run: no portal, none with GlobalShortcuts, or our id refused.
    bool m_unsupported = false;
    Binding::Cause m_unsupportedCause = Binding::NoCause;
    bool m_registered = false;
    // The portal turned our id down: its later refusals come from that.
    bool m_appIdRefused = false;
    bool m_listed = false;
    int m_sessionAttempts = 0;
    QString m_session;
    QString m_requestPath;
    quint32 m_requestCount = 0;
    QTimer m_syncTimer;
    QTimer m_responseTimer;
};
