#pragma once

#include "platform/globalshortcutbackend.h"

#include <QHash>
#include <QList>

// Accepts every combination it is not told to refuse and remembers what it holds; presses
// are delivered by hand. Used where there is no display, and by the tests.
class HeadlessShortcutBackend final : public GlobalShortcutBackend
{
public:
    struct Registration {
        ShortcutId id = 0;
        QKeyCombination keys;
    };

    bool registerShortcut(ShortcutId id, QKeyCombination keys, const QString &desktopId, const QString &description) override;
    void unregisterShortcut(ShortcutId id) override;
    void setEventHandler(EventHandler handler) override;
    QString keyCharacter(QKeyCombination key) const override;

    // Makes the combination behave as if another program held it.
    void refuse(QKeyCombination keys);
    void setKeyCharacter(QKeyCombination key, const QString &character);
    // Delivers an event as the system would; false when no handler is set.
    bool deliver(ShortcutId id, Event event) const;

    const QList<Registration> &registrations() const { return m_registrations; }
    bool isRegistered(QKeyCombination keys) const;
    int handlerCount() const { return m_handlerCount; }

private:
    QList<Registration> m_registrations;
    QList<QKeyCombination> m_refused;
    QHash<int, QString> m_keyCharacters;
    EventHandler m_handler;
    int m_handlerCount = 0;
};
