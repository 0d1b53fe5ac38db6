#pragma once

#include "platform/shortcutservice.h"

#include <QHash>
#include <QPair>

// Accepts every combination and remembers it; used where there is no display.
class HeadlessShortcutService final : public ShortcutService
{
public:
    bool registerHotKey(const QString &name, quint32 keyCode, quint32 modifiers) override
    {
        m_registered.insert(name, {keyCode, modifiers});
        return true;
    }
    void unregisterHotKey(const QString &name) override { m_registered.remove(name); }
    const QHash<QString, QPair<quint32, quint32>> &registered() const { return m_registered; }

private:
    QHash<QString, QPair<quint32, quint32>> m_registered;
};
