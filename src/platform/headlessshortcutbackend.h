#pragma once

#include "platform/globalshortcutbackend.h"

#include <QHash>
#include <QList>
#include <QSet>

// Accepts every combination it is not told to refuse and remembers what it holds; presses
// are delivered by hand. Used where there is no display, and by the tests.
class HeadlessShortcutBackend final : public GlobalShortcutBackend
{
public:
    struct Registration {
        quint32 keyCode = 0;
        quint32 modifiers = 0;
        HotKeyID hotKeyID;
        bool exclusive = false;
    };

    bool registerEventHotKey(quint32 keyCode, quint32 modifiers, HotKeyID hotKeyID, bool exclusive) override;
    void unregisterEventHotKey(HotKeyID hotKeyID) override;
    void installEventHandler(EventHandler handler) override;
    QString keyCharacter(quint32 keyCode) const override;

    // Makes the combination behave as if another program held it.
    void refuse(quint32 keyCode, quint32 modifiers);
    void setKeyCharacter(quint32 keyCode, const QString &character);
    // Delivers an event as the system would; false when no handler is installed.
    bool deliver(HotKeyID hotKeyID, int kind) const;

    const QList<Registration> &registrations() const { return m_registrations; }
    int handlerInstallCount() const { return m_handlerInstallCount; }

private:
    QList<Registration> m_registrations;
    QSet<QPair<quint32, quint32>> m_refused;
    QHash<quint32, QString> m_keyCharacters;
    EventHandler m_handler;
    int m_handlerInstallCount = 0;
};
