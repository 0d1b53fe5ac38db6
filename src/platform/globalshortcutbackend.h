#pragma once

#include <QString>
#include <QtGlobal>

#include <functional>

// The system's own hot-key registry: combinations that reach Korvane whichever program is
// in front. Key codes are the stored virtual key codes (D is 2); modifiers are hot-key
// modifier bits (command 0x100, shift 0x200, option 0x800, control 0x1000, function 0x1).
class GlobalShortcutBackend
{
public:
    // Identifies one registration: a four-character signature and a number.
    struct HotKeyID {
        quint32 signature = 0;
        quint32 id = 0;
        friend bool operator==(HotKeyID a, HotKeyID b) { return a.signature == b.signature && a.id == b.id; }
        friend bool operator!=(HotKeyID a, HotKeyID b) { return !(a == b); }
    };

    enum EventKind { HotKeyPressed = 5,
                     HotKeyReleased = 6 };

    // Receives every press and release of a registered combination, on the main thread.
    using EventHandler = std::function<void(HotKeyID hotKeyID, int kind)>;

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
    using BindingHandler = std::function<void(HotKeyID hotKeyID, const Binding &binding)>;

    virtual ~GlobalShortcutBackend() = default;

    // False when the platform refuses: another program holds the combination, the key has
    // no place on this keyboard, or this program registered the same combination already.
    virtual bool registerEventHotKey(quint32 keyCode, quint32 modifiers, HotKeyID hotKeyID, bool exclusive) = 0;
    virtual void unregisterEventHotKey(HotKeyID hotKeyID) = 0;
    virtual void installEventHandler(EventHandler handler) = 0;

    // Registers under a stable name with a text the desktop shows in its shortcut settings.
    // Services that bind by combination alone ignore both.
    virtual bool registerNamedEventHotKey(quint32 keyCode, quint32 modifiers, HotKeyID hotKeyID, bool exclusive,
                                          const QString &name, const QString &description)
    {
        Q_UNUSED(name)
        Q_UNUSED(description)
        return registerEventHotKey(keyCode, modifiers, hotKeyID, exclusive);
    }
    // Services that answer at once never call it.
    virtual void installBindingHandler(BindingHandler handler) { Q_UNUSED(handler) }
    // A registration that succeeded is bound unless the service says otherwise.
    virtual Binding binding(HotKeyID hotKeyID) const
    {
        Q_UNUSED(hotKeyID)
        return {};
    }

    // The character the key produces in the current keyboard layout without modifiers;
    // empty when the layout is unknown or the key produces no printable character.
    virtual QString keyCharacter(quint32 keyCode) const = 0;

    static constexpr quint32 fourCharCode(const char (&code)[5])
    {
        return quint32(quint8(code[0])) << 24 | quint32(quint8(code[1])) << 16 | quint32(quint8(code[2])) << 8 | quint32(quint8(code[3]));
    }
};
