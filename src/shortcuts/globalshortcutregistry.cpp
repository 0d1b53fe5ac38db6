#include "shortcuts/globalshortcutregistry.h"

#include "shortcuts/shortcutslogging.h"
#include "common/storedshortcutcodec.h"
#include "platform/platform.h"
#include "shortcuts/keycombinationtext.h"
#include "store/actionstore.h"
#include "store/droplistentity.h"

#include <QLoggingCategory>
#include <QPointer>

GlobalShortcutRegistry::GlobalShortcutRegistry(GlobalShortcutBackend *backend, QObject *parent)
    : QObject(parent)
    , m_backend(backend)
{
}

GlobalShortcutRegistry::~GlobalShortcutRegistry() = default;

GlobalShortcutRegistry *GlobalShortcutRegistry::instance()
{
    static GlobalShortcutRegistry *registry = new GlobalShortcutRegistry;
    return registry;
}

GlobalShortcutBackend *GlobalShortcutRegistry::backend() const
{
    return m_backend ? m_backend : Platform::shortcutBackend();
}

QString GlobalShortcutRegistry::actionShortcutName(const DropListEntity &drop)
{
    return QStringLiteral("%1-%2").arg(drop.keyCode()).arg(drop.modifiers());
}

std::optional<QKeyCombination> GlobalShortcutRegistry::storedWakeKeys()
{
    const Korvane::StoredShortcut wake = Korvane::Settings::wakeHotKey.read();
    return StoredShortcutCodec::decode(wake.first, wake.second);
}

bool GlobalShortcutRegistry::registerShortcut(const GlobalShortcut &shortcut)
{
    const QKeyCombination keys = shortcut.keys();
    if (!keys.keyboardModifiers().testAnyFlags(Qt::ControlModifier | Qt::AltModifier | Qt::ShiftModifier | Qt::MetaModifier))
        return true;
    const QString name = shortcut.name();
    if (const auto old = m_shortcuts.constFind(name); old != m_shortcuts.cend()) {
        backend()->unregisterShortcut(*old->registration());
        m_names.remove(*old->registration());
        m_shortcuts.erase(old);
    }

    const GlobalShortcutBackend::ShortcutId id = m_nextId;
    if (!backend()->registerShortcut(id, keys, shortcut.desktopId(), shortcut.description())) {
        qCInfo(lcShortcuts, "the system refused the shortcut %s (%s)", qUtf8Printable(name), qUtf8Printable(KeyCombinationText::text(keys)));
        return refuse(name);
    }
    ++m_nextId;
    GlobalShortcut registered = shortcut;
    registered.setRegistration(id);
    m_shortcuts.insert(name, registered);
    m_names.insert(id, name);
    setHandlers();
    if (m_refused.remove(name))
        Q_EMIT bindingChanged(name);
    return true;
}

bool GlobalShortcutRegistry::refuse(const QString &name)
{
    m_refused.insert(name);
    Q_EMIT bindingChanged(name);
    return false;
}

bool GlobalShortcutRegistry::registerWakeShortcut()
{
    unregisterShortcut(WakeShortcutName);
    const std::optional<QKeyCombination> keys = storedWakeKeys();
    if (!keys)
        return refuse(WakeShortcutName);
    GlobalShortcut wake(WakeShortcutName, *keys, this, [this] { Q_EMIT wakeActivated(); });
    wake.setDescription(qtTrId("wakeHotKeyDescription"));
    wake.setDesktopId(WakeDesktopId);
    return registerShortcut(wake);
}

bool GlobalShortcutRegistry::registerActionShortcut(const DropListEntity &drop)
{
    const QString name = actionShortcutName(drop);
    const std::optional<QKeyCombination> keys = drop.keyCombination();
    if (!keys)
        return refuse(name);
    const QKeyCombination pressed = *keys;
    GlobalShortcut shortcut(name, pressed, this, [this, pressed] {
        if (const DropListEntityPtr holder = ActionStore::instance()->fetchDropWith(pressed))
            Q_EMIT actionActivated(holder);
    });
    shortcut.setDescription(drop.title());
    shortcut.setDesktopId(actionDesktopId(drop.dropID()));
    return registerShortcut(shortcut);
}

void GlobalShortcutRegistry::unregisterShortcut(const QString &name)
{
    // A refused registration holds nothing, yet its warning ends with it.
    if (m_refused.remove(name))
        Q_EMIT bindingChanged(name);
    const auto found = m_shortcuts.constFind(name);
    if (found == m_shortcuts.cend())
        return;
    if (const auto registration = found->registration()) {
        backend()->unregisterShortcut(*registration);
        m_names.remove(*registration);
    }
    m_shortcuts.erase(found);
}

void GlobalShortcutRegistry::unregisterAll()
{
    const QStringList names = m_shortcuts.keys();
    for (const QString &name : names)
        unregisterShortcut(name);
}

std::optional<QKeyCombination> GlobalShortcutRegistry::keys(const QString &name) const
{
    const auto found = m_shortcuts.constFind(name);
    if (found == m_shortcuts.cend())
        return std::nullopt;
    return found->keys();
}

void GlobalShortcutRegistry::setHandlers()
{
    GlobalShortcutBackend *current = backend();
    if (m_handledBackend == current)
        return;
    m_handledBackend = current;
    current->setEventHandler([guard = QPointer<GlobalShortcutRegistry>(this)](GlobalShortcutBackend::ShortcutId id, GlobalShortcutBackend::Event event) {
        if (guard)
            guard->onEvent(id, event);
    });
    current->setBindingHandler([guard = QPointer<GlobalShortcutRegistry>(this)](GlobalShortcutBackend::ShortcutId id, const Binding &) {
        if (guard)
            guard->onBindingChanged(id);
    });
}

GlobalShortcutBackend::Binding GlobalShortcutRegistry::binding(const QString &name) const
{
    if (m_refused.contains(name))
        return {Binding::Refused, QString(), Binding::KeyTaken};
    const auto found = m_shortcuts.constFind(name);
    if (found == m_shortcuts.cend() || !found->registration())
        return {};
    return backend()->binding(*found->registration());
}

void GlobalShortcutRegistry::onBindingChanged(GlobalShortcutBackend::ShortcutId id)
{
    if (const auto name = m_names.constFind(id); name != m_names.cend())
        Q_EMIT bindingChanged(*name);
}

void GlobalShortcutRegistry::onEvent(GlobalShortcutBackend::ShortcutId id, GlobalShortcutBackend::Event event)
{
    // Presses act; releases are delivered too and end here.
    if (event != GlobalShortcutBackend::Event::Pressed)
        return;
    if (const auto name = m_names.constFind(id); name != m_names.cend())
        m_shortcuts.value(*name).activate();
}
