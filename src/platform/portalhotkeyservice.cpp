#include "platform/portalhotkeyservice.h"

#include "common/korvanelogging.h"

#include <QDBusArgument>
#include <QDBusMessage>
#include <QDBusMetaType>
#include <QDBusObjectPath>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QLoggingCategory>
#include <QStringList>

#include <array>
#include <utility>

// One entry of the portal's a(sa{sv}) shortcut lists.
struct PortalShortcutEntry {
    QString id;
    QVariantMap properties;
};
Q_DECLARE_METATYPE(PortalShortcutEntry)

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

QString escapedSender(const QDBusConnection &bus)
{
    QString sender = bus.baseService();
    if (sender.startsWith(QLatin1Char(':')))
        sender.remove(0, 1);
    return sender.replace(QLatin1Char('.'), QLatin1Char('_'));
}

} // namespace

PortalHotKeyService::PortalHotKeyService(const QDBusConnection &bus, QObject *parent)
    : QObject(parent)
    , m_bus(bus)
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
        requestFailed(Binding::Refused);
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
    shortcut.binding.state = m_unsupported ? Binding::Unsupported : Binding::Pending;
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

KorvaneEventHotKeyService::Binding PortalHotKeyService::binding(HotKeyID hotKeyID) const
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
    m_phase = Phase::Creating;
    const QString token = nextToken();
    const QVariantMap options{
        {QStringLiteral("handle_token"), token},
        {QStringLiteral("session_handle_token"), QLatin1String(SessionToken)},
        {QStringLiteral("shortcuts"), shortcutList()},
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
            qCWarning(lcPortal, "the desktop portal refused %s: %s", qUtf8Printable(method), qUtf8Printable(reply.error().message()));
            // Without a session there is nothing to bind into for the whole run.
            m_unsupported = method == QLatin1String("CreateSession");
            requestFailed(m_unsupported ? Binding::Unsupported : Binding::Refused);
            return;
        }
        // Portals older than the handle tokens answer on a path of their own choice.
        m_requestPath = reply.value().path();
    });
}

void PortalHotKeyService::onResponse(const QDBusMessage &message)
{
    if (m_phase == Phase::Idle || message.path() != m_requestPath || message.arguments().size() < 2)
        return;
    const uint response = message.arguments().at(0).toUInt();
    const QVariantMap results = qdbus_cast<QVariantMap>(message.arguments().at(1));
    if (response != 0) {
        qCWarning(lcPortal, "the desktop refused %s (answer %u)", m_phase == Phase::Creating ? "the shortcut session" : "the shortcuts",
                  response);
        requestFailed(m_phase == Phase::Creating ? Binding::Unsupported : Binding::Refused);
        return;
    }
    if (m_phase == Phase::Creating) {
        m_session = results.value(QStringLiteral("session_handle")).toString();
        if (m_session.isEmpty())
            m_session = qdbus_cast<QDBusObjectPath>(results.value(QStringLiteral("session_handle"))).path();
        m_phase = Phase::Binding;
        const QString token = nextToken();
        sendRequest(QStringLiteral("BindShortcuts"),
                    {QVariant::fromValue(QDBusObjectPath(m_session)), shortcutList(), QString(), QVariantMap{{QStringLiteral("handle_token"), token}}},
                    token);
        return;
    }
    applyBound(results.value(QStringLiteral("shortcuts")));
    finishRequest();
}

void PortalHotKeyService::requestFailed(Binding::State state)
{
    for (Shortcut &shortcut : m_shortcuts)
        setBinding(shortcut, {state, QString()});
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

void PortalHotKeyService::applyBound(const QVariant &shortcuts)
{
    const auto entries = qdbus_cast<QList<PortalShortcutEntry>>(shortcuts);
    for (Shortcut &shortcut : m_shortcuts) {
        Binding binding{Binding::Refused, QString()};
        for (const PortalShortcutEntry &entry : entries) {
            if (entry.id != shortcut.id)
                continue;
            // A shortcut the user cleared in the desktop's settings is listed without keys.
            binding.trigger = entry.properties.value(QStringLiteral("trigger_description")).toString();
            if (!binding.trigger.isEmpty())
                binding.state = Binding::Bound;
        }
        setBinding(shortcut, binding);
    }
}

void PortalHotKeyService::setBinding(Shortcut &shortcut, const Binding &binding)
{
    if (shortcut.binding.state == binding.state && shortcut.binding.trigger == binding.trigger)
        return;
    shortcut.binding = binding;
    qCInfo(lcPortal, "shortcut %s: %s%s%s", qUtf8Printable(shortcut.id),
           binding.state == Binding::Bound ? "bound" : binding.state == Binding::Refused ? "not bound"
                                                                                         : "unsupported",
           binding.trigger.isEmpty() ? "" : " to ", qUtf8Printable(binding.trigger));
    if (m_bindingHandler)
        m_bindingHandler(shortcut.hotKeyID, binding);
}

QVariant PortalHotKeyService::shortcutList() const
{
    QList<PortalShortcutEntry> entries;
    for (const Shortcut &shortcut : m_shortcuts) {
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
    applyBound(arguments.at(1));
}
