#include "platform/portal/portalshortcutbackend.h"

#include "platform/platformlogging.h"

#include <QDBusArgument>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusMetaType>
#include <QDBusObjectPath>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QHash>
#include <QLoggingCategory>
#include <QRegularExpression>
#include <QStringList>

#include <algorithm>
#include <array>
#include <utility>

QDBusArgument &operator<<(QDBusArgument &argument, const PortalShortcutEntry &entry)
{
    argument.beginStructure();
    argument << entry.id << entry.properties;
    argument.endStructure();
    return argument;
}

const QDBusArgument &operator>>(const QDBusArgument &argument, PortalShortcutEntry &entry)
{
    argument.beginStructure();
    argument >> entry.id >> entry.properties;
    argument.endStructure();
    return argument;
}

namespace {

const QString PortalService = QStringLiteral("org.freedesktop.portal.Desktop");
const QString PortalPath = QStringLiteral("/org/freedesktop/portal/desktop");
const QString ShortcutsInterface = QStringLiteral("org.freedesktop.portal.GlobalShortcuts");
const QString RequestInterface = QStringLiteral("org.freedesktop.portal.Request");
const QString SessionInterface = QStringLiteral("org.freedesktop.portal.Session");

// The xkb keysym names of the keys Korvane binds, as a US keyboard names them: the portal
// matches keysyms, and a shortcut keeps its place under every layout.
struct Keysym {
    Qt::Key key;
    bool keypad;
    const char *name;
};
constexpr Keysym kKeysyms[] = {
    {Qt::Key_A, false, "a"},
    {Qt::Key_S, false, "s"},
    {Qt::Key_D, false, "d"},
    {Qt::Key_F, false, "f"},
    {Qt::Key_H, false, "h"},
    {Qt::Key_G, false, "g"},
    {Qt::Key_Z, false, "z"},
    {Qt::Key_X, false, "x"},
    {Qt::Key_C, false, "c"},
    {Qt::Key_V, false, "v"},
    {Qt::Key_B, false, "b"},
    {Qt::Key_Q, false, "q"},
    {Qt::Key_W, false, "w"},
    {Qt::Key_E, false, "e"},
    {Qt::Key_R, false, "r"},
    {Qt::Key_Y, false, "y"},
    {Qt::Key_T, false, "t"},
    {Qt::Key_1, false, "1"},
    {Qt::Key_2, false, "2"},
    {Qt::Key_3, false, "3"},
    {Qt::Key_4, false, "4"},
    {Qt::Key_6, false, "6"},
    {Qt::Key_5, false, "5"},
    {Qt::Key_Equal, false, "equal"},
    {Qt::Key_9, false, "9"},
    {Qt::Key_7, false, "7"},
    {Qt::Key_Minus, false, "minus"},
    {Qt::Key_8, false, "8"},
    {Qt::Key_0, false, "0"},
    {Qt::Key_BracketRight, false, "bracketright"},
    {Qt::Key_O, false, "o"},
    {Qt::Key_U, false, "u"},
    {Qt::Key_BracketLeft, false, "bracketleft"},
    {Qt::Key_I, false, "i"},
    {Qt::Key_P, false, "p"},
    {Qt::Key_Return, false, "Return"},
    {Qt::Key_L, false, "l"},
    {Qt::Key_J, false, "j"},
    {Qt::Key_Apostrophe, false, "apostrophe"},
    {Qt::Key_K, false, "k"},
    {Qt::Key_Semicolon, false, "semicolon"},
    {Qt::Key_Backslash, false, "backslash"},
    {Qt::Key_Comma, false, "comma"},
    {Qt::Key_Slash, false, "slash"},
    {Qt::Key_N, false, "n"},
    {Qt::Key_M, false, "m"},
    {Qt::Key_Period, false, "period"},
    {Qt::Key_Tab, false, "Tab"},
    {Qt::Key_Space, false, "space"},
    {Qt::Key_QuoteLeft, false, "grave"},
    {Qt::Key_Backspace, false, "BackSpace"},
    {Qt::Key_Escape, false, "Escape"},
    {Qt::Key_F17, false, "F17"},
    {Qt::Key_Period, true, "KP_Decimal"},
    {Qt::Key_Asterisk, true, "KP_Multiply"},
    {Qt::Key_Plus, true, "KP_Add"},
    {Qt::Key_NumLock, false, "Clear"},
    {Qt::Key_Slash, true, "KP_Divide"},
    {Qt::Key_Enter, true, "KP_Enter"},
    {Qt::Key_Minus, true, "KP_Subtract"},
    {Qt::Key_F18, false, "F18"},
    {Qt::Key_F19, false, "F19"},
    {Qt::Key_Equal, true, "KP_Equal"},
    {Qt::Key_0, true, "KP_0"},
    {Qt::Key_1, true, "KP_1"},
    {Qt::Key_2, true, "KP_2"},
    {Qt::Key_3, true, "KP_3"},
    {Qt::Key_4, true, "KP_4"},
    {Qt::Key_5, true, "KP_5"},
    {Qt::Key_6, true, "KP_6"},
    {Qt::Key_7, true, "KP_7"},
    {Qt::Key_F20, false, "F20"},
    {Qt::Key_8, true, "KP_8"},
    {Qt::Key_9, true, "KP_9"},
    {Qt::Key_F5, false, "F5"},
    {Qt::Key_F6, false, "F6"},
    {Qt::Key_F7, false, "F7"},
    {Qt::Key_F3, false, "F3"},
    {Qt::Key_F8, false, "F8"},
    {Qt::Key_F9, false, "F9"},
    {Qt::Key_F11, false, "F11"},
    {Qt::Key_Print, false, "F13"},
    {Qt::Key_F16, false, "F16"},
    {Qt::Key_ScrollLock, false, "F14"},
    {Qt::Key_F10, false, "F10"},
    {Qt::Key_F12, false, "F12"},
    {Qt::Key_Pause, false, "F15"},
    {Qt::Key_Insert, false, "Insert"},
    {Qt::Key_Home, false, "Home"},
    {Qt::Key_PageUp, false, "Prior"},
    {Qt::Key_Delete, false, "Delete"},
    {Qt::Key_F4, false, "F4"},
    {Qt::Key_End, false, "End"},
    {Qt::Key_F2, false, "F2"},
    {Qt::Key_PageDown, false, "Next"},
    {Qt::Key_F1, false, "F1"},
    {Qt::Key_Left, false, "Left"},
    {Qt::Key_Right, false, "Right"},
    {Qt::Key_Down, false, "Down"},
    {Qt::Key_Up, false, "Up"},
};

// Qt's modifiers and the portal's names for them, in the portal's order.
constexpr std::array<std::pair<Qt::KeyboardModifier, const char *>, 4> kModifierNames{{
    {Qt::ControlModifier, "CTRL"},
    {Qt::AltModifier, "ALT"},
    {Qt::ShiftModifier, "SHIFT"},
    {Qt::MetaModifier, "LOGO"},
}};

const QString RegistryInterface = QStringLiteral("org.freedesktop.host.portal.Registry");
const QString KGlobalAccelService = QStringLiteral("org.kde.kglobalaccel");
const QString KGlobalAccelInterface = QStringLiteral("org.kde.KGlobalAccel");
// The names Plasma gives our component: after the app id (6.7), "token_" and the session
// token (6.3), the bare token where the portal knew no app id (5.27).
const QStringList KGlobalAccelComponents{QLatin1String(PortalShortcutBackend::AppId), QStringLiteral("token_korvane"),
                                         QLatin1String(PortalShortcutBackend::SessionToken)};
// kglobalaccel answers from memory; a slower answer is no answer.
constexpr int KGlobalAccelTimeoutMs = 2000;

// The portal's answers in a Response signal.
constexpr uint ResponseSuccess = 0;
constexpr uint ResponseCancelled = 1;

QString escapedSender(const QDBusConnection &bus)
{
    QString sender = bus.baseService();
    if (sender.startsWith(QLatin1Char(':')))
        sender.remove(0, 1);
    return sender.replace(QLatin1Char('.'), QLatin1Char('_'));
}

const char *causeName(GlobalShortcutBackend::Binding::Cause cause)
{
    switch (cause) {
    case GlobalShortcutBackend::Binding::NoCause:
        return "";
    case GlobalShortcutBackend::Binding::NoPortal:
        return " (no desktop portal)";
    case GlobalShortcutBackend::Binding::NoGlobalShortcuts:
        return " (the portal has no global shortcuts)";
    case GlobalShortcutBackend::Binding::AppIdRefused:
        return " (the portal refused our app id)";
    case GlobalShortcutBackend::Binding::Declined:
        return " (declined by the user)";
    case GlobalShortcutBackend::Binding::KeyTaken:
        return " (the key is taken)";
    }
    return "";
}

// GNOME describes a binding in a sentence of the user's language around GTK accelerators
// ("Press <Shift><Super>k"); the first accelerator is written as the other desktops write
// keys ("Shift+Super+K"). Any other description is kept as it is.
QString triggerText(const QString &description)
{
    static const QRegularExpression accelerator(QStringLiteral("((?:<[A-Za-z0-9_]+>)+)([^\\s<>]+)"));
    static const QRegularExpression modifier(QStringLiteral("<([A-Za-z0-9_]+)>"));
    const QRegularExpressionMatch found = accelerator.match(description);
    if (!found.hasMatch())
        return description;
    QStringList parts;
    for (QRegularExpressionMatchIterator it = modifier.globalMatch(found.captured(1)); it.hasNext();) {
        const QString name = it.next().captured(1);
        if (name == QLatin1String("Primary") || name == QLatin1String("Control"))
            parts.append(QStringLiteral("Ctrl"));
        else if (name == QLatin1String("Mod1"))
            parts.append(QStringLiteral("Alt"));
        else
            parts.append(name);
    }
    const QString key = found.captured(2);
    parts.append(key.size() == 1 ? key.toUpper() : key);
    return parts.join(QLatin1Char('+'));
}

QString nextConnectionName()
{
    static int count = 0;
    return QStringLiteral("korvane-portal-%1").arg(++count);
}

} // namespace

PortalShortcutBackend::PortalShortcutBackend(QObject *parent)
    : QObject(parent)
    , m_connectionName(nextConnectionName())
    , m_bus(QDBusConnection::connectToBus(QDBusConnection::SessionBus, m_connectionName))
{
    qDBusRegisterMetaType<PortalShortcutEntry>();
    qDBusRegisterMetaType<QList<PortalShortcutEntry>>();

    // Registrations come one by one at start and on every edit: one request carries them all.
    m_syncTimer.setSingleShot(true);
    m_syncTimer.setInterval(0);
    connect(&m_syncTimer, &QTimer::timeout, this, &PortalShortcutBackend::sync);
    m_responseTimer.setSingleShot(true);
    m_responseTimer.setInterval(ResponseTimeoutMs);
    connect(&m_responseTimer, &QTimer::timeout, this, [this] {
        qCWarning(lcPortal, "the desktop portal did not answer within %d s", ResponseTimeoutMs / 1000);
        if (m_phase == Phase::Listing) {
            bindMissing(QVariant());
            return;
        }
        if (m_phase == Phase::Creating) {
            sessionRefused();
            return;
        }
        // The user left the desktop's question unanswered.
        applyBound(QVariant(), Binding::Declined);
        finishRequest();
    });

    // QtDBus takes its signal handlers by name only.
    m_bus.connect(PortalService, QString(), RequestInterface, QStringLiteral("Response"), this, SLOT(onResponse(QDBusMessage)));
    m_bus.connect(PortalService, PortalPath, ShortcutsInterface, QStringLiteral("Activated"), this, SLOT(onActivated(QDBusMessage)));
    m_bus.connect(PortalService, PortalPath, ShortcutsInterface, QStringLiteral("Deactivated"), this, SLOT(onDeactivated(QDBusMessage)));
    m_bus.connect(PortalService, PortalPath, ShortcutsInterface, QStringLiteral("ShortcutsChanged"), this,
                  SLOT(onShortcutsChanged(QDBusMessage)));
}

PortalShortcutBackend::~PortalShortcutBackend()
{
    closeSession();
    QDBusConnection::disconnectFromBus(m_connectionName);
}

bool PortalShortcutBackend::registerShortcut(ShortcutId id, QKeyCombination keys, const QString &name, const QString &description)
{
    const QString trigger = preferredTrigger(keys);
    if (trigger.isEmpty() || m_shortcuts.size() >= MaxShortcuts)
        return false;
    for (const Shortcut &shortcut : std::as_const(m_shortcuts)) {
        if (shortcut.trigger == trigger || shortcut.shortcutId == id)
            return false;
    }
    m_shortcuts.removeIf([&](const Shortcut &shortcut) { return shortcut.id == name; });

    Shortcut shortcut;
    shortcut.shortcutId = id;
    shortcut.id = name;
    shortcut.description = description.isEmpty() ? name : description;
    shortcut.trigger = trigger;
    shortcut.binding = m_unsupported ? Binding{Binding::Unsupported, QString(), m_unsupportedCause} : Binding{Binding::Pending, QString(), Binding::NoCause};
    shortcut.changed = m_listed;
    m_shortcuts.append(shortcut);
    if (!m_unsupported)
        scheduleSync();
    return true;
}

void PortalShortcutBackend::unregisterShortcut(ShortcutId id)
{
    if (m_shortcuts.removeIf([&](const Shortcut &shortcut) { return shortcut.shortcutId == id; }) > 0 && !m_unsupported)
        scheduleSync();
}

void PortalShortcutBackend::setEventHandler(EventHandler handler)
{
    m_eventHandler = std::move(handler);
}

void PortalShortcutBackend::setBindingHandler(BindingHandler handler)
{
    m_bindingHandler = std::move(handler);
}

GlobalShortcutBackend::Binding PortalShortcutBackend::binding(ShortcutId id) const
{
    for (const Shortcut &shortcut : m_shortcuts) {
        if (shortcut.shortcutId == id)
            return shortcut.binding;
    }
    return {};
}

QString PortalShortcutBackend::keyCharacter(QKeyCombination) const
{
    return QString();
}

QString PortalShortcutBackend::preferredTrigger(QKeyCombination keys)
{
    const Qt::KeyboardModifiers modifiers = keys.keyboardModifiers();
    for (const Keysym &keysym : kKeysyms) {
        if (keysym.key != keys.key() || keysym.keypad != modifiers.testFlag(Qt::KeypadModifier))
            continue;
        QStringList parts;
        for (const auto &[modifier, modifierName] : kModifierNames) {
            if (modifiers & modifier)
                parts.append(QLatin1String(modifierName));
        }
        parts.append(QLatin1String(keysym.name));
        return parts.join(QLatin1Char('+'));
    }
    return QString();
}

void PortalShortcutBackend::scheduleSync()
{
    m_syncTimer.start();
}

void PortalShortcutBackend::sync()
{
    if (m_phase != Phase::Idle) {
        m_dirty = true;
        return;
    }
    // Backends that read the set only when a session starts see a change through a new
    // session of the same name.
    closeSession();
    if (m_shortcuts.isEmpty() || m_unsupported)
        return;
    if (m_registered)
        createSession();
    else
        registerAppId();
}

void PortalShortcutBackend::registerAppId()
{
    m_phase = Phase::Registering;
    QDBusMessage call = QDBusMessage::createMethodCall(PortalService, PortalPath, RegistryInterface, QStringLiteral("Register"));
    call << QLatin1String(AppId) << QVariantMap();
    auto *watcher = new QDBusPendingCallWatcher(m_bus.asyncCall(call), this);
    connect(watcher, &QDBusPendingCallWatcher::finished, this, [this](QDBusPendingCallWatcher *finished) {
        finished->deleteLater();
        m_registered = true;
        const QDBusPendingReply<> reply = *finished;
        const QDBusError error = reply.error();
        if (error.type() == QDBusError::ServiceUnknown) {
            qCWarning(lcPortal, "no desktop portal runs in this session");
            sessionFailed(Binding::NoPortal);
            return;
        }
        // Portals before 1.20 have no registry and know an unsandboxed program without it.
        if (reply.isError() && error.type() != QDBusError::UnknownInterface && error.type() != QDBusError::UnknownMethod
            && !error.message().contains(QLatin1String("already associated"))) {
            qCWarning(lcPortal, "the desktop portal did not register the app id %s: %s", AppId, qUtf8Printable(error.message()));
            m_appIdRefused = true;
        }
        createSession();
    });
}

void PortalShortcutBackend::createSession()
{
    m_phase = Phase::Creating;
    ++m_sessionAttempts;
    const QString token = nextToken();
    const QVariantMap options{
        {QStringLiteral("handle_token"), token},
        {QStringLiteral("session_handle_token"), QLatin1String(SessionToken)},
        {QStringLiteral("shortcuts"), shortcutList(false)},
    };
    sendRequest(QStringLiteral("CreateSession"), {options}, token);
}

void PortalShortcutBackend::closeSession()
{
    if (m_session.isEmpty())
        return;
    m_bus.asyncCall(QDBusMessage::createMethodCall(PortalService, m_session, SessionInterface, QStringLiteral("Close")));
    m_session.clear();
}

void PortalShortcutBackend::sendRequest(const QString &method, const QList<QVariant> &arguments, const QString &token)
{
    m_requestPath = QStringLiteral("/org/freedesktop/portal/desktop/request/%1/%2").arg(escapedSender(m_bus), token);
    QDBusMessage call = QDBusMessage::createMethodCall(PortalService, PortalPath, ShortcutsInterface, method);
    call.setArguments(arguments);
    m_responseTimer.start();
    auto *watcher = new QDBusPendingCallWatcher(m_bus.asyncCall(call), this);
    connect(watcher, &QDBusPendingCallWatcher::finished, this, [this, method, expected = m_requestPath](QDBusPendingCallWatcher *finished) {
        finished->deleteLater();
        if (m_requestPath != expected)
            return;
        const QDBusPendingReply<QDBusObjectPath> reply = *finished;
        if (reply.isError()) {
            requestFailed(method, reply.error());
            return;
        }
        // Portals older than the handle tokens answer on a path of their own choice.
        m_requestPath = reply.value().path();
    });
}

void PortalShortcutBackend::requestFailed(const QString &method, const QDBusError &error)
{
    qCWarning(lcPortal, "the desktop portal refused %s: %s", qUtf8Printable(method), qUtf8Printable(error.message()));
    if (m_phase == Phase::Listing) {
        bindMissing(QVariant());
    } else if (error.type() == QDBusError::ServiceUnknown) {
        sessionFailed(Binding::NoPortal);
    } else if (error.type() == QDBusError::UnknownInterface || error.type() == QDBusError::UnknownMethod) {
        sessionFailed(Binding::NoGlobalShortcuts);
    } else if (error.name() == QLatin1String("org.freedesktop.portal.Error.NotAllowed")
               && error.message().contains(QLatin1String("app id"), Qt::CaseInsensitive)) {
        sessionFailed(Binding::AppIdRefused);
    } else if (m_phase == Phase::Creating) {
        sessionRefused();
    } else {
        applyBound(QVariant(), m_appIdRefused ? Binding::AppIdRefused : Binding::KeyTaken);
        finishRequest();
    }
}

void PortalShortcutBackend::sessionRefused()
{
    if (m_sessionAttempts >= MaxSessionAttempts) {
        sessionFailed(m_appIdRefused ? Binding::AppIdRefused : Binding::NoGlobalShortcuts);
        return;
    }
    // A backend that is still starting refuses what it offers seconds later.
    finishRequest();
    QTimer::singleShot(FirstRetryDelayMs << (m_sessionAttempts - 1), this, &PortalShortcutBackend::scheduleSync);
}

void PortalShortcutBackend::sessionFailed(Binding::Cause cause)
{
    // Without a session nothing binds for the rest of the run.
    m_unsupported = true;
    m_unsupportedCause = cause;
    for (Shortcut &shortcut : m_shortcuts)
        setBinding(shortcut, {Binding::Unsupported, QString(), cause});
    finishRequest();
}

void PortalShortcutBackend::finishRequest()
{
    m_responseTimer.stop();
    m_phase = Phase::Idle;
    m_requestPath.clear();
    if (m_dirty && !m_unsupported) {
        m_dirty = false;
        scheduleSync();
    }
}

void PortalShortcutBackend::onResponse(const QDBusMessage &message)
{
    if (m_phase == Phase::Idle || message.path() != m_requestPath || message.arguments().size() < 2)
        return;
    const uint response = message.arguments().at(0).toUInt();
    const QVariantMap results = qdbus_cast<QVariantMap>(message.arguments().at(1));
    switch (m_phase) {
    case Phase::Creating:
        if (response != ResponseSuccess) {
            qCWarning(lcPortal, "the desktop refused the shortcut session (answer %u)", response);
            sessionRefused();
            return;
        }
        m_sessionAttempts = 0;
        m_session = results.value(QStringLiteral("session_handle")).toString();
        if (m_session.isEmpty())
            m_session = qdbus_cast<QDBusObjectPath>(results.value(QStringLiteral("session_handle"))).path();
        m_phase = Phase::Listing;
        {
            const QString token = nextToken();
            sendRequest(QStringLiteral("ListShortcuts"),
                        {QVariant::fromValue(QDBusObjectPath(m_session)), QVariantMap{{QStringLiteral("handle_token"), token}}}, token);
        }
        return;
    case Phase::Listing:
        bindMissing(response == ResponseSuccess ? results.value(QStringLiteral("shortcuts")) : QVariant());
        return;
    case Phase::Binding:
        // GNOME answers a bind the user agreed to with 2, after ShortcutsChanged told what
        // it bound, and sometimes with the shortcuts as well: what it lists counts, not the code.
        if (response == ResponseCancelled)
            qCInfo(lcPortal, "the user declined the shortcuts");
        applyBound(results.value(QStringLiteral("shortcuts")),
                   response == ResponseCancelled ? Binding::Declined
                       : m_appIdRefused          ? Binding::AppIdRefused
                                                 : Binding::KeyTaken);
        finishRequest();
        return;
    case Phase::Idle:
    case Phase::Registering:
        return;
    }
}

void PortalShortcutBackend::bindMissing(const QVariant &listed)
{
    m_listed = true;
    const auto entries = qdbus_cast<QList<PortalShortcutEntry>>(listed);
    QList<PortalShortcutEntry> held;
    for (Shortcut &shortcut : m_shortcuts) {
        for (const PortalShortcutEntry &entry : entries) {
            if (entry.id == shortcut.id && !entry.properties.value(QStringLiteral("trigger_description")).toString().isEmpty() && !shortcut.changed)
                held.append(entry);
        }
        shortcut.changed = shortcut.changed || std::none_of(held.cbegin(), held.cend(), [&](const PortalShortcutEntry &entry) { return entry.id == shortcut.id; });
    }
    const QVariant missing = shortcutList(true);
    // What the desktop holds already counts as bound, whatever it makes of the rest.
    applyBound(QVariant::fromValue(held), std::nullopt);
    if (qdbus_cast<QList<PortalShortcutEntry>>(missing).isEmpty()) {
        finishRequest();
        return;
    }
    m_phase = Phase::Binding;
    const QString token = nextToken();
    sendRequest(QStringLiteral("BindShortcuts"),
                {QVariant::fromValue(QDBusObjectPath(m_session)), missing, QString(), QVariantMap{{QStringLiteral("handle_token"), token}}}, token);
}

void PortalShortcutBackend::applyBound(const QVariant &shortcuts, std::optional<Binding::Cause> missingCause)
{
    QHash<QString, QString> triggers;
    for (const PortalShortcutEntry &entry : qdbus_cast<QList<PortalShortcutEntry>>(shortcuts))
        triggers.insert(entry.id, triggerText(entry.properties.value(QStringLiteral("trigger_description")).toString()));
    // Plasma's portal reports a key as bound that kglobalaccel then skips as taken by the
    // desktop's own shortcut: only the component's active keys tell.
    const bool confirm = m_bus.interface() && m_bus.interface()->isServiceRegistered(KGlobalAccelService);
    QHash<QString, QString> unconfirmed;
    for (Shortcut &shortcut : m_shortcuts) {
        Binding binding;
        if (const auto it = triggers.constFind(shortcut.id); it != triggers.cend()) {
            // A shortcut the user cleared in the desktop's settings is listed without keys.
            binding = it.value().isEmpty() ? Binding{Binding::Refused, QString(), Binding::Declined}
                                           : Binding{Binding::Bound, it.value(), Binding::NoCause};
        } else if (missingCause && shortcut.changed) {
            binding = {Binding::Refused, QString(), *missingCause};
        } else {
            // Not asked this time, or told already by ShortcutsChanged before the answer.
            continue;
        }
        shortcut.changed = false;
        if (confirm && binding.state == Binding::Bound)
            unconfirmed.insert(shortcut.id, binding.trigger);
        else
            setBinding(shortcut, binding);
    }
    if (!unconfirmed.isEmpty())
        confirmActiveKeys(unconfirmed);
}

void PortalShortcutBackend::confirmActiveKeys(const QHash<QString, QString> &triggers)
{
    const auto settle = [this](const QString &id, const Binding &binding) {
        for (Shortcut &shortcut : m_shortcuts) {
            if (shortcut.id == id)
                setBinding(shortcut, binding);
        }
    };
    const QDBusMessage components = QDBusMessage::createMethodCall(KGlobalAccelService, QStringLiteral("/kglobalaccel"), KGlobalAccelInterface,
                                                                   QStringLiteral("allComponents"));
    auto *watcher = new QDBusPendingCallWatcher(m_bus.asyncCall(components, KGlobalAccelTimeoutMs), this);
    connect(watcher, &QDBusPendingCallWatcher::finished, this, [this, triggers, settle](QDBusPendingCallWatcher *finished) {
        finished->deleteLater();
        const QDBusPendingReply<QList<QDBusObjectPath>> paths = *finished;
        QString component;
        for (const QString &name : KGlobalAccelComponents) {
            const QString path = QStringLiteral("/component/") + QString(name).replace(QLatin1Char('.'), QLatin1Char('_'));
            if (paths.isValid() && paths.value().contains(QDBusObjectPath(path))) {
                component = name;
                break;
            }
        }
        for (auto it = triggers.cbegin(); it != triggers.cend(); ++it) {
            const Binding bound{Binding::Bound, it.value(), Binding::NoCause};
            if (component.isEmpty()) {
                settle(it.key(), bound);
                continue;
            }
            QDBusMessage call = QDBusMessage::createMethodCall(KGlobalAccelService, QStringLiteral("/kglobalaccel"), KGlobalAccelInterface,
                                                               QStringLiteral("shortcut"));
            call << QStringList{component, it.key(), QString(), QString()};
            auto *keys = new QDBusPendingCallWatcher(m_bus.asyncCall(call, KGlobalAccelTimeoutMs), this);
            connect(keys, &QDBusPendingCallWatcher::finished, this, [id = it.key(), bound, settle](QDBusPendingCallWatcher *answered) {
                answered->deleteLater();
                const QDBusPendingReply<QList<int>> reply = *answered;
                const QList<int> active = reply.isValid() ? reply.value() : QList<int>{-1};
                const bool taken = std::none_of(active.cbegin(), active.cend(), [](int key) { return key != 0; });
                settle(id, taken ? Binding{Binding::Refused, bound.trigger, Binding::KeyTaken} : bound);
            });
        }
    });
}

void PortalShortcutBackend::setBinding(Shortcut &shortcut, const Binding &binding)
{
    if (shortcut.binding.state == binding.state && shortcut.binding.trigger == binding.trigger && shortcut.binding.cause == binding.cause)
        return;
    shortcut.binding = binding;
    qCInfo(lcPortal, "shortcut %s: %s%s%s%s", qUtf8Printable(shortcut.id),
           binding.state == Binding::Bound ? "bound" : binding.state == Binding::Refused ? "not bound"
                                                                                         : "unsupported",
           binding.trigger.isEmpty() ? "" : " to ", qUtf8Printable(binding.trigger), causeName(binding.cause));
    if (m_bindingHandler)
        m_bindingHandler(shortcut.shortcutId, binding);
}

QVariant PortalShortcutBackend::shortcutList(bool onlyChanged) const
{
    QList<PortalShortcutEntry> entries;
    for (const Shortcut &shortcut : m_shortcuts) {
        if (onlyChanged && !shortcut.changed)
            continue;
        entries.append({shortcut.id,
                        {{QStringLiteral("description"), shortcut.description}, {QStringLiteral("preferred_trigger"), shortcut.trigger}}});
    }
    return QVariant::fromValue(entries);
}

QString PortalShortcutBackend::nextToken()
{
    return QStringLiteral("korvane%1").arg(++m_requestCount);
}

const PortalShortcutBackend::Shortcut *PortalShortcutBackend::shortcutForId(const QString &id) const
{
    for (const Shortcut &shortcut : m_shortcuts) {
        if (shortcut.id == id)
            return &shortcut;
    }
    return nullptr;
}

void PortalShortcutBackend::onActivated(const QDBusMessage &message)
{
    const QList<QVariant> arguments = message.arguments();
    if (arguments.size() < 2 || m_session.isEmpty() || qdbus_cast<QDBusObjectPath>(arguments.at(0)).path() != m_session)
        return;
    if (const Shortcut *shortcut = shortcutForId(arguments.at(1).toString()); shortcut && m_eventHandler)
        m_eventHandler(shortcut->shortcutId, Event::Pressed);
}

void PortalShortcutBackend::onDeactivated(const QDBusMessage &message)
{
    const QList<QVariant> arguments = message.arguments();
    if (arguments.size() < 2 || m_session.isEmpty() || qdbus_cast<QDBusObjectPath>(arguments.at(0)).path() != m_session)
        return;
    if (const Shortcut *shortcut = shortcutForId(arguments.at(1).toString()); shortcut && m_eventHandler)
        m_eventHandler(shortcut->shortcutId, Event::Released);
}

void PortalShortcutBackend::onShortcutsChanged(const QDBusMessage &message)
{
    const QList<QVariant> arguments = message.arguments();
    if (arguments.size() < 2 || m_session.isEmpty() || qdbus_cast<QDBusObjectPath>(arguments.at(0)).path() != m_session)
        return;
    applyBound(arguments.at(1), std::nullopt);
}
