#include "shortcuts/globalshortcut.h"

#include <QObject>

GlobalShortcut::GlobalShortcut(const QString &name, QKeyCombination keys, QObject *context, std::function<void()> activated)
    : m_name(name)
    , m_keys(keys)
    , m_context(context)
    , m_activated(std::move(activated))
{
}

void GlobalShortcut::activate() const
{
    if (m_context && m_activated)
        m_activated();
}
