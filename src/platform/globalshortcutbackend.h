#pragma once

#include <QString>
#include <QtCore/qnamespace.h>
#include <QtGlobal>

#include <functional>

// The system's own registry of global shortcuts: key combinations that reach Korvane whichever
// program is in front. A combination's key is named as a US keyboard names the key at its
// place (see XkbKeyCodes); its modifiers are Ctrl, Alt, Shift and Meta (the Super key).
class GlobalShortcutBackend
{
public:
    // Identifies one registration; the registry numbers them and never reuses a number.
    using ShortcutId = quint32;

    enum class Event { Pressed,
                       Released };

    // Receives every press and release of a registered combination, on the main thread.
    using EventHandler = std::function<void(ShortcutId id, Event event)>;

    // What the desktop made of a registration. A grab is bound or refused at once; a desktop
    // portal answers later, may bind other keys than asked, and lets the user rebind them in
    // the desktop's settings at any time.
    struct Binding {
        enum State {
            Bound,
            Pending,
            Refused,
            // The session offers no way to bind global shortcuts at all.
            Unsupported,
            // Taken, but the session may never pass the key on: an X11 grab through Xwayland.
            Unconfirmed,
        };
        // What kept a shortcut from being bound, as far as the desktop lets us know.
        enum Cause {
            NoCause,
            NoPortal,
            NoGlobalShortcuts,
            AppIdRefused,
            Declined,
            KeyTaken,
        };
        State state = Bound;
        // The keys as the desktop names them; empty when they are the ones asked for.
        QString trigger;
        Cause cause = NoCause;
    };
    // Receives every later change of a binding, on the main thread.
    using BindingHandler = std::function<void(ShortcutId id, const Binding &binding)>;

    virtual ~GlobalShortcutBackend() = default;

    // False when the platform refuses: another program holds the combination, the key has
    // no place on this keyboard, or this program registered the same combination or id
    // already. A desktop that binds shortcuts itself keeps it under desktopId and shows the
    // description in its shortcut settings; the others ignore both.
    virtual bool registerShortcut(ShortcutId id, QKeyCombination keys, const QString &desktopId, const QString &description) = 0;
    virtual void unregisterShortcut(ShortcutId id) = 0;
    virtual void setEventHandler(EventHandler handler) = 0;
    // Back-ends that answer at once never call it.
    virtual void setBindingHandler(BindingHandler handler) { Q_UNUSED(handler) }
    // A registration that succeeded is bound unless the back-end says otherwise.
    virtual Binding binding(ShortcutId id) const
    {
        Q_UNUSED(id)
        return {};
    }

    // The character the key (its modifiers do not count) produces in the current keyboard
    // layout; empty when the layout is unknown or the key produces no printable character.
    virtual QString keyCharacter(QKeyCombination key) const = 0;
};
