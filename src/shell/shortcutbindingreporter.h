#pragma once

#include "platform/globalshortcutbackend.h"

#include <QObject>
#include <QTimer>

#include <functional>

class GlobalShortcutRegistry;

// Tells the user what the desktop made of Korvane's shortcuts, once per change even across
// starts, and words what the shortcut fields show: the keys as the desktop bound them and
// a warning with its cause for the rest.
class ShortcutBindingReporter final : public QObject
{
    Q_OBJECT

public:
    using Binding = GlobalShortcutBackend::Binding;

    // How long the first start waits for the desktop's word on the wake shortcut: longer
    // than the portal's tries for a session.
    static constexpr int SettleLimitMs = 40000;

    explicit ShortcutBindingReporter(GlobalShortcutRegistry *registry, QObject *parent = nullptr);

    // Empty while the shortcut is bound or the desktop has not answered yet.
    static QString warning(const Binding &binding);
    // The desktop's own name of the keys when it gave one, else the text of keys.
    static QString fieldText(QKeyCombination keys, const Binding &binding);
    // Where a user of this desktop binds "korvane show" to a key of their own.
    static QString howToBind();
    // What opens Korvane when no key of ours does: the commands, the cause and the desktop's way.
    static QString withoutWakeKey(const Binding &binding);

    // What the desktop made of the wake shortcut; refused when none is set.
    Binding wakeBinding() const;
    // Calls then with the wake shortcut's binding once the desktop settled it, or after
    // SettleLimitMs; what it tells then counts as told.
    void whenWakeSettled(std::function<void(const Binding &)> then);
    // Tells what changed for the shortcut of that name since it was last told, if anything.
    void review(const QString &name);

private:
    void onBindingChanged(const QString &name);
    void settleWake();
    // Remembers the binding as told for that name; false when it was the last one told already.
    bool noteTold(const QString &name, const Binding &binding, QKeyCombination keys) const;

    GlobalShortcutRegistry *m_registry;
    std::function<void(const Binding &)> m_wakeSettled;
    QTimer m_settleTimer;
};
