#include "platform/headless/headlessshortcutbackend.h"

bool HeadlessShortcutBackend::registerShortcut(ShortcutId id, QKeyCombination keys, const QString &, const QString &)
{
    if (m_refused.contains(keys))
        return false;
    for (const Registration &r : std::as_const(m_registrations)) {
        if (r.keys == keys || r.id == id)
            return false;
    }
    m_registrations.append({id, keys});
    return true;
}

void HeadlessShortcutBackend::unregisterShortcut(ShortcutId id)
{
    m_registrations.removeIf([=](const Registration &r) { return r.id == id; });
}

void HeadlessShortcutBackend::setEventHandler(EventHandler handler)
{
    m_handler = std::move(handler);
    ++m_handlerCount;
}

QString HeadlessShortcutBackend::keyCharacter(QKeyCombination key) const
{
    return m_keyCharacters.value(QKeyCombination(key.keyboardModifiers() & Qt::KeypadModifier, key.key()).toCombined());
}

void HeadlessShortcutBackend::refuse(QKeyCombination keys)
{
    m_refused.append(keys);
}

void HeadlessShortcutBackend::setKeyCharacter(QKeyCombination key, const QString &character)
{
    m_keyCharacters.insert(key.toCombined(), character);
}

bool HeadlessShortcutBackend::deliver(ShortcutId id, Event event) const
{
    if (!m_handler)
        return false;
    m_handler(id, event);
    return true;
}

bool HeadlessShortcutBackend::isRegistered(QKeyCombination keys) const
{
    for (const Registration &r : m_registrations) {
        if (r.keys == keys)
            return true;
    }
    return false;
}
