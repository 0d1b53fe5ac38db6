#include "shell/hotkeys/globalshortcutregistry.h"

#include "platform/platform.h"
#include "common/korvanelogging.h"

#include <QLoggingCategory>
#include <QPointer>

GlobalShortcutRegistry::GlobalShortcutRegistry(GlobalShortcutBackend *service, QObject *parent)
    : QObject(parent)
    , m_service(service)
{
}

GlobalShortcutRegistry::~GlobalShortcutRegistry() = default;

GlobalShortcutRegistry *GlobalShortcutRegistry::instance()
{
    static GlobalShortcutRegistry *center = new GlobalShortcutRegistry;
    return center;
}

GlobalShortcutBackend *GlobalShortcutRegistry::service() const
{
    return m_service ? m_service : Platform::eventHotKeyService();
}

bool GlobalShortcutRegistry::registerHotKey(const PTHotKeyPtr &hotKey)
{
    const StoredKeyCombination combo = hotKey->keyCombo();
    if (!combo.isValidHotKeyCombo())
        return true;

    const GlobalShortcutBackend::HotKeyID hotKeyID{HotKeySignature, m_nextHotKeyID};
    if (!service()->registerNamedEventHotKey(quint32(combo.keyCode()), quint32(combo.modifiers()), hotKeyID, hotKey->isExclusive(),
                                             hotKey->desktopId(), hotKey->description())) {
        qCInfo(lcHotKeys, "the system refused the hotkey %s (%s)", qUtf8Printable(hotKey->name()), qUtf8Printable(combo.description()));
        m_refused.insert(hotKey->name(), combo);
        Q_EMIT bindingChanged(hotKey->name(), combo);
        return false;
    }

    m_hotKeyIDs.insert(m_nextHotKeyID, hotKey);
    ++m_nextHotKeyID;
    hotKey->setRegistration(hotKeyID);
    m_hotKeys.insert(hotKey->name(), hotKey);
    installEventHandler();
    if (m_refused.remove(hotKey->name()) > 0)
        Q_EMIT bindingChanged(hotKey->name(), combo);
    return true;
}

void GlobalShortcutRegistry::unregisterHotKey(const PTHotKeyPtr &hotKey)
{
    if (!hotKey || !m_hotKeys.contains(hotKey->name()))
        return;
    m_refused.remove(hotKey->name());
    if (const auto registration = hotKey->registration()) {
        service()->unregisterEventHotKey(*registration);
        hotKey->setRegistration(std::nullopt);
    }
    m_hotKeys.remove(hotKey->name());
    m_hotKeyIDs.removeIf([&](const QHash<quint32, PTHotKeyPtr>::iterator it) { return it.value() == hotKey; });
}

void GlobalShortcutRegistry::unregisterHotKeyForName(const QString &name)
{
    // A refused registration holds nothing, yet its warning ends with it.
    if (const auto refused = m_refused.find(name); refused != m_refused.end()) {
        const StoredKeyCombination combo = refused.value();
        m_refused.erase(refused);
        Q_EMIT bindingChanged(name, combo);
    }
    unregisterHotKey(m_hotKeys.value(name));
}

void GlobalShortcutRegistry::unregisterAllHotKeys()
{
    const QList<PTHotKeyPtr> hotKeys = m_hotKeys.values();
    for (const PTHotKeyPtr &hotKey : hotKeys)
        unregisterHotKey(hotKey);
}

void GlobalShortcutRegistry::setHotKeyRegistrationForName(const QString &name, bool enable)
{
    const PTHotKeyPtr hotKey = m_hotKeys.value(name);
    if (!hotKey || enable == hotKey->registration().has_value())
        return;

    if (!enable) {
        service()->unregisterEventHotKey(*hotKey->registration());
        hotKey->setRegistration(std::nullopt);
        m_hotKeyIDs.removeIf([&](const QHash<quint32, PTHotKeyPtr>::iterator it) { return it.value() == hotKey; });
        return;
    }

    const StoredKeyCombination combo = hotKey->keyCombo();
    const GlobalShortcutBackend::HotKeyID hotKeyID{HotKeySignature, m_nextHotKeyID};
    if (!service()->registerEventHotKey(quint32(combo.keyCode()), quint32(combo.modifiers()), hotKeyID, hotKey->isExclusive()))
        return;
    m_hotKeyIDs.insert(m_nextHotKeyID, hotKey);
    ++m_nextHotKeyID;
    hotKey->setRegistration(hotKeyID);
}

bool GlobalShortcutRegistry::updateHotKey(const PTHotKeyPtr &hotKey)
{
    unregisterHotKeyForName(hotKey->name());
    return registerHotKey(hotKey);
}

PTHotKeyPtr GlobalShortcutRegistry::hotKeyForName(const QString &name) const
{
    return m_hotKeys.value(name);
}

QList<PTHotKeyPtr> GlobalShortcutRegistry::allHotKeys() const
{
    return m_hotKeys.values();
}

void GlobalShortcutRegistry::installEventHandler()
{
    GlobalShortcutBackend *current = service();
    if (m_eventHandlerService == current)
        return;
    m_eventHandlerService = current;
    current->installEventHandler([guard = QPointer<GlobalShortcutRegistry>(this)](GlobalShortcutBackend::HotKeyID hotKeyID, int kind) {
        if (guard)
            guard->onHotKeyEvent(hotKeyID, kind);
    });
    current->installBindingHandler([guard = QPointer<GlobalShortcutRegistry>(this)](GlobalShortcutBackend::HotKeyID hotKeyID,
                                                                            const GlobalShortcutBackend::Binding &) {
        if (guard)
            guard->onBindingChanged(hotKeyID);
    });
}

GlobalShortcutBackend::Binding GlobalShortcutRegistry::bindingForName(const QString &name) const
{
    if (m_refused.contains(name))
        return {GlobalShortcutBackend::Binding::Refused, QString(), GlobalShortcutBackend::Binding::KeyTaken};
    const PTHotKeyPtr hotKey = m_hotKeys.value(name);
    if (!hotKey || !hotKey->registration())
        return {};
    return service()->binding(*hotKey->registration());
}

void GlobalShortcutRegistry::onBindingChanged(GlobalShortcutBackend::HotKeyID hotKeyID)
{
    if (hotKeyID.signature != HotKeySignature)
        return;
    if (const PTHotKeyPtr hotKey = m_hotKeyIDs.value(hotKeyID.id))
        Q_EMIT bindingChanged(hotKey->name(), hotKey->keyCombo());
}

bool GlobalShortcutRegistry::isEventHandlerInstalled() const
{
    return m_eventHandlerService && m_eventHandlerService == service();
}

void GlobalShortcutRegistry::onHotKeyEvent(GlobalShortcutBackend::HotKeyID hotKeyID, int kind)
{
    // The handler listens for presses only; releases are delivered too and end here.
    if (kind != GlobalShortcutBackend::HotKeyPressed)
        return;

    if (const PTHotKeyPtr hotKey = m_hotKeyIDs.value(hotKeyID.id))
        hotKey->invoke();
}
