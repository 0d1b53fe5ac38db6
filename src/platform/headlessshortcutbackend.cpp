#include "platform/headlessshortcutbackend.h"

bool HeadlessShortcutBackend::registerEventHotKey(quint32 keyCode, quint32 modifiers, HotKeyID hotKeyID, bool exclusive)
{
    if (m_refused.contains({keyCode, modifiers}))
        return false;
    for (const Registration &r : std::as_const(m_registrations)) {
        if ((r.keyCode == keyCode && r.modifiers == modifiers) || r.hotKeyID == hotKeyID)
            return false;
    }
    m_registrations.append({keyCode, modifiers, hotKeyID, exclusive});
    return true;
}

void HeadlessShortcutBackend::unregisterEventHotKey(HotKeyID hotKeyID)
{
    m_registrations.removeIf([=](const Registration &r) { return r.hotKeyID == hotKeyID; });
}

void HeadlessShortcutBackend::installEventHandler(EventHandler handler)
{
    m_handler = std::move(handler);
    ++m_handlerInstallCount;
}

QString HeadlessShortcutBackend::keyCharacter(quint32 keyCode) const
{
    return m_keyCharacters.value(keyCode);
}

void HeadlessShortcutBackend::refuse(quint32 keyCode, quint32 modifiers)
{
    m_refused.insert({keyCode, modifiers});
}

void HeadlessShortcutBackend::setKeyCharacter(quint32 keyCode, const QString &character)
{
    m_keyCharacters.insert(keyCode, character);
}

bool HeadlessShortcutBackend::deliver(HotKeyID hotKeyID, int kind) const
{
    if (!m_handler)
        return false;
    m_handler(hotKeyID, kind);
    return true;
}
