#include "shell/hotkeys/globalshortcut.h"

GlobalShortcut::GlobalShortcut(const QString &name, const StoredKeyCombination &keyCombo)
    : m_name(name)
    , m_keyCombo(keyCombo)
{
}

void GlobalShortcut::invoke() const
{
    if (m_target && m_action)
        m_action(*this);
}
