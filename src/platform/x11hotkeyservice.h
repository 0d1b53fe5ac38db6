#pragma once

#include "platform/globalshortcutbackend.h"

#include <QAbstractNativeEventFilter>
#include <QHash>
#include <QList>

#include <memory>

struct xcb_connection_t;

// Global hotkeys on X11: each combination is a passive key grab on the root windows of
// the xcb platform's own connection; its presses and releases are taken out of Qt's event
// stream. A combination another client grabbed first is refused.
class X11HotKeyService final : public GlobalShortcutBackend, public QAbstractNativeEventFilter
{
public:
    // Needs a QGuiApplication on the xcb platform; otherwise isValid() is false and every
    // registration is refused.
    X11HotKeyService();
    ~X11HotKeyService() override;

    bool isValid() const { return m_connection != nullptr; }

    bool registerEventHotKey(quint32 keyCode, quint32 modifiers, HotKeyID hotKeyID, bool exclusive) override;
    void unregisterEventHotKey(HotKeyID hotKeyID) override;
    void installEventHandler(EventHandler handler) override;
    Binding binding(HotKeyID hotKeyID) const override;
    // On a Wayland session the grab goes to Xwayland, which passes a key on only while one of
    // its own windows has the focus: a grab that succeeded is then reported as unconfirmed.
    void setGrabsUnconfirmed(bool unconfirmed) { m_grabsUnconfirmed = unconfirmed; }
    QString keyCharacter(quint32 keyCode) const override;

    bool nativeEventFilter(const QByteArray &eventType, void *message, qintptr *result) override;

    // The X11 modifier mask of hot-key modifier bits: command is Super (Mod4), option is
    // Alt (Mod1); the function bit has no counterpart.
    static quint16 x11Modifiers(quint32 hotKeyModifiers);

private:
    struct Grab {
        HotKeyID hotKeyID;
        quint8 keycode = 0;
        quint16 modifiers = 0;
        QList<quint16> lockVariants;
    };
    struct Keymap;

    QList<quint16> lockVariants() const;
    void ungrab(const Grab &grab);
    bool handleKeyEvent(bool pressed, quint8 keycode, quint16 state);
    void ensureKeymap() const;

    xcb_connection_t *m_connection = nullptr;
    QList<quint32> m_roots;
    QList<Grab> m_grabs;
    // The registration whose key is held, by keycode: the release goes to it even when the
    // modifiers were let go first, and a held key's repeats are not new presses.
    QHash<quint8, HotKeyID> m_held;
    quint16 m_lockMask = 0;
    EventHandler m_handler;
    mutable std::unique_ptr<Keymap> m_keymap;
    quint8 m_xkbFirstEvent = 0;
    bool m_grabsUnconfirmed = false;
};
