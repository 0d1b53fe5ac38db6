#include "platform/portalhotkeyservice.h"

#include "common/korvanelogging.h"

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

// The xkb keysym names of the stored key codes, by the key's place on a US keyboard: the
// portal matches keysyms, and a hotkey keeps its place under every layout.
constexpr std::pair<quint32, const char *> kKeysyms[] = {
    {0, "a"},
    {1, "s"},
    {2, "d"},
    {3, "f"},
    {4, "h"},
    {5, "g"},
    {6, "z"},
    {7, "x"},
    {8, "c"},
    {9, "v"},
    {11, "b"},
    {12, "q"},
    {13, "w"},
    {14, "e"},
    {15, "r"},
    {16, "y"},
    {17, "t"},
    {18, "1"},
    {19, "2"},
    {20, "3"},
    {21, "4"},
    {22, "6"},
    {23, "5"},
    {24, "equal"},
    {25, "9"},
    {26, "7"},
    {27, "minus"},
    {28, "8"},
    {29, "0"},
    {30, "bracketright"},
    {31, "o"},
    {32, "u"},
    {33, "bracketleft"},
    {34, "i"},
    {35, "p"},
    {36, "Return"},
    {37, "l"},
    {38, "j"},
    {39, "apostrophe"},
    {40, "k"},
    {41, "semicolon"},
    {42, "backslash"},
    {43, "comma"},
    {44, "slash"},
    {45, "n"},
    {46, "m"},
    {47, "period"},
    {48, "Tab"},
    {49, "space"},
    {50, "grave"},
    {51, "BackSpace"},
    {53, "Escape"},
    {64, "F17"},
    {65, "KP_Decimal"},
    {67, "KP_Multiply"},
    {69, "KP_Add"},
    {71, "Clear"},
    {75, "KP_Divide"},
    {76, "KP_Enter"},
    {78, "KP_Subtract"},
    {79, "F18"},
    {80, "F19"},
    {81, "KP_Equal"},
    {82, "KP_0"},
    {83, "KP_1"},
    {84, "KP_2"},
    {85, "KP_3"},
    {86, "KP_4"},
    {87, "KP_5"},
    {88, "KP_6"},
    {89, "KP_7"},
    {90, "F20"},
    {91, "KP_8"},
    {92, "KP_9"},
    {96, "F5"},
    {97, "F6"},
    {98, "F7"},
    {99, "F3"},
    {100, "F8"},
    {101, "F9"},
    {103, "F11"},
    {105, "F13"},
    {106, "F16"},
    {107, "F14"},
    {109, "F10"},
    {111, "F12"},
    {113, "F15"},
    {114, "Insert"},
    {115, "Home"},
    {116, "Prior"},
    {117, "Delete"},
    {118, "F4"},
    {119, "End"},
    {120, "F2"},
    {121, "Next"},
    {122, "F1"},
    {123, "Left"},
    {124, "Right"},
    {125, "Down"},
    {126, "Up"},
};

// Hot-key modifier bits and the portal's names for them, in the portal's order.
constexpr std::array<std::pair<quint32, const char *>, 4> kModifierNames{{
    {0x1000, "CTRL"},
    {0x800, "ALT"},
    {0x200, "SHIFT"},
    {0x100, "LOGO"},
}};

const QString RegistryInterface = QStringLiteral("org.freedesktop.host.portal.Registry");
const QString KGlobalAccelService = QStringLiteral("org.kde.kglobalaccel");
const QString KGlobalAccelInterface = QStringLiteral("org.kde.KGlobalAccel");
// The names Plasma gives our component: after the app id (6.7), "token_" and the session
// token (6.3), the bare token where the portal knew no app id (5.27).
const QStringList KGlobalAccelComponents{QLatin1String(PortalHotKeyService::AppId), QStringLiteral("token_korvane"),
                                         QLatin1String(PortalHotKeyService::SessionToken)};
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

PortalHotKeyService::PortalHotKeyService(QObject *parent)
    : QObject(parent)
    , m_connectionName(nextConnectionName())
    , m_bus(QDBusConnection::connectToBus(QDBusConnection::SessionBus, m_connectionName))
{
    qDBusRegisterMetaType<PortalShortcutEntry>();
    qDBusRegisterMetaType<QList<PortalShortcutEntry>>();

    // Registrations come one by one at start and on every edit: one request carries them all.
    m_syncTimer.setSingleShot(true);
    m_syncTimer.setInterval(0);
    connect(&m_syncTimer, &QTimer::timeout, this, &PortalHotKeyService::sync);
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

PortalHotKeyService::~PortalHotKeyService()
{
    closeSession();
    QDBusConnection::disconnectFromBus(m_connectionName);
}

bool PortalHotKeyService::registerEventHotKey(quint32 keyCode, quint32 modifiers, HotKeyID hotKeyID, bool exclusive)
{
    return registerNamedEventHotKey(keyCode, modifiers, hotKeyID, exclusive, QStringLiteral("hotkey-%1").arg(hotKeyID.id), QString());
}

bool PortalHotKeyService::registerNamedEventHotKey(quint32 keyCode, quint32 modifiers, HotKeyID hotKeyID, bool, const QString &name,
                                                   const QString &description)
{
    const QString trigger = preferredTrigger(keyCode, modifiers);
    if (trigger.isEmpty() || m_shortcuts.size() >= MaxShortcuts)
        return false;
    for (const Shortcut &shortcut : std::as_const(m_shortcuts)) {
        if (shortcut.trigger == trigger || shortcut.hotKeyID == hotKeyID)
            return false;
    }
    m_shortcuts.removeIf([&](const Shortcut &shortcut) { return shortcut.id == name; });

    Shortcut shortcut;
    shortcut.hotKeyID = hotKeyID;
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

void PortalHotKeyService::unregisterEventHotKey(HotKeyID hotKeyID)
{
    if (m_shortcuts.removeIf([&](const Shortcut &shortcut) { return shortcut.hotKeyID == hotKeyID; }) > 0 && !m_unsupported)
        scheduleSync();
}

void PortalHotKeyService::installEventHandler(EventHandler handler)
{
    m_eventHandler = std::move(handler);
}

void PortalHotKeyService::installBindingHandler(BindingHandler handler)
{
    m_bindingHandler = std::move(handler);
}

GlobalShortcutBackend::Binding PortalHotKeyService::binding(HotKeyID hotKeyID) const
{
    for (const Shortcut &shortcut : m_shortcuts) {
        if (shortcut.hotKeyID == hotKeyID)
            return shortcut.binding;
    }
    return {};
}

QString PortalHotKeyService::keyCharacter(quint32) const
{
    return QString();
}

QString PortalHotKeyService::preferredTrigger(quint32 keyCode, quint32 modifiers)
{
    for (const auto &[code, keysym] : kKeysyms) {
        if (code != keyCode)
            continue;
        QStringList parts;
        for (const auto &[bit, modifierName] : kModifierNames) {
            if (modifiers & bit)
                parts.append(QLatin1String(modifierName));
        }
        parts.append(QLatin1String(keysym));
        return parts.join(QLatin1Char('+'));
    }
    return QString();
}

void PortalHotKeyService::scheduleSync()
{
    m_syncTimer.start();
}

void PortalHotKeyService::sync()
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

void PortalHotKeyService::registerAppId()
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

void PortalHotKeyService::createSession()
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

void PortalHotKeyService::closeSession()
{
    if (m_session.isEmpty())
        return;
    m_bus.asyncCall(QDBusMessage::createMethodCall(PortalService, m_session, SessionInterface, QStringLiteral("Close")));
    m_session.clear();
}

void PortalHotKeyService::sendRequest(const QString &method, const QList<QVariant> &arguments, const QString &token)
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

void PortalHotKeyService::requestFailed(const QString &method, const QDBusError &error)
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

void PortalHotKeyService::sessionRefused()
{
    if (m_sessionAttempts >= MaxSessionAttempts) {
        sessionFailed(m_appIdRefused ? Binding::AppIdRefused : Binding::NoGlobalShortcuts);
        return;
    }
    // A backend that is still starting refuses what it offers seconds later.
    finishRequest();
    QTimer::singleShot(FirstRetryDelayMs << (m_sessionAttempts - 1), this, &PortalHotKeyService::scheduleSync);
}

void PortalHotKeyService::sessionFailed(Binding::Cause cause)
{
    // Without a session nothing binds for the rest of the run.
    m_unsupported = true;
    m_unsupportedCause = cause;
    for (Shortcut &shortcut : m_shortcuts)
        setBinding(shortcut, {Binding::Unsupported, QString(), cause});
    finishRequest();
}

void PortalHotKeyService::finishRequest()
{
    m_responseTimer.stop();
    m_phase = Phase::Idle;
    m_requestPath.clear();
    if (m_dirty && !m_unsupported) {
        m_dirty = false;
        scheduleSync();
    }
}

void PortalHotKeyService::onResponse(const QDBusMessage &message)
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

void PortalHotKeyService::bindMissing(const QVariant &listed)
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

void PortalHotKeyService::applyBound(const QVariant &shortcuts, std::optional<Binding::Cause> missingCause)
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

void PortalHotKeyService::confirmActiveKeys(const QHash<QString, QString> &triggers)
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

void PortalHotKeyService::setBinding(Shortcut &shortcut, const Binding &binding)
{
    if (shortcut.binding.state == binding.state && shortcut.binding.trigger == binding.trigger && shortcut.binding.cause == binding.cause)
        return;
    shortcut.binding = binding;
    qCInfo(lcPortal, "shortcut %s: %s%s%s%s", qUtf8Printable(shortcut.id),
           binding.state == Binding::Bound ? "bound" : binding.state == Binding::Refused ? "not bound"
                                                                                         : "unsupported",
           binding.trigger.isEmpty() ? "" : " to ", qUtf8Printable(binding.trigger), causeName(binding.cause));
    if (m_bindingHandler)
        m_bindingHandler(shortcut.hotKeyID, binding);
}

QVariant PortalHotKeyService::shortcutList(bool onlyChanged) const
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

QString PortalHotKeyService::nextToken()
{
    return QStringLiteral("korvane%1").arg(++m_requestCount);
}

const PortalHotKeyService::Shortcut *PortalHotKeyService::shortcutForId(const QString &id) const
{
    for (const Shortcut &shortcut : m_shortcuts) {
        if (shortcut.id == id)
            return &shortcut;
    }
    return nullptr;
}

void PortalHotKeyService::onActivated(const QDBusMessage &message)
{
    const QList<QVariant> arguments = message.arguments();
    if (arguments.size() < 2 || m_session.isEmpty() || qdbus_cast<QDBusObjectPath>(arguments.at(0)).path() != m_session)
        return;
    if (const Shortcut *shortcut = shortcutForId(arguments.at(1).toString()); shortcut && m_eventHandler)
        m_eventHandler(shortcut->hotKeyID, HotKeyPressed);
}

void PortalHotKeyService::onDeactivated(const QDBusMessage &message)
{
    const QList<QVariant> arguments = message.arguments();
    if (arguments.size() < 2 || m_session.isEmpty() || qdbus_cast<QDBusObjectPath>(arguments.at(0)).path() != m_session)
        return;
    if (const Shortcut *shortcut = shortcutForId(arguments.at(1).toString()); shortcut && m_eventHandler)
        m_eventHandler(shortcut->hotKeyID, HotKeyReleased);
}

void PortalHotKeyService::onShortcutsChanged(const QDBusMessage &message)
{
    const QList<QVariant> arguments = message.arguments();
    if (arguments.size() < 2 || m_session.isEmpty() || qdbus_cast<QDBusObjectPath>(arguments.at(0)).path() != m_session)
        return;
    applyBound(arguments.at(1), std::nullopt);
}
