#include "shell/hotkeys/pthotkey.h"

PTHotKey::PTHotKey(const QString &name, const PTKeyCombo &keyCombo)
    : m_name(name)
    , m_keyCombo(keyCombo)
{
}

void PTHotKey::invoke() const
{
    if (m_target && m_action)
        m_action(*this);
}
