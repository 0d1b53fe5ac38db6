#pragma once

#include "platform/korvaneeventhotkeyservice.h"
#include "shell/hotkeys/prlhotkey.h"
#include "shell/hotkeys/ptkeycombo.h"

#include <QObject>
#include <QSet>

class PTHotKeyCenter;

// Tells the user, once per shortcut, what the system did not bind, and words what the
// shortcut fields show: the keys as the desktop bound them and a warning for the rest.
class HotKeyBindingReporter final : public QObject
{
    Q_OBJECT

public:
    explicit HotKeyBindingReporter(PTHotKeyCenter *center, QObject *parent = nullptr);

    // Empty while the shortcut is bound or the desktop has not answered yet.
    static QString warning(const KorvaneEventHotKeyService::Binding &binding);
    // The desktop's own name of the keys when it gave one, else the recorded shortcut's.
    static QString fieldText(const PRLHotKey &hotKey, const KorvaneEventHotKeyService::Binding &binding);

private:
    void onBindingChanged(const QString &name, const PTKeyCombo &keyCombo);

    PTHotKeyCenter *m_center;
    // Each refused combination is told once a run; the missing portal once at all.
    QSet<QString> m_told;
    bool m_toldUnsupported = false;
};
