#pragma once

#include "platform/globalshortcutbackend.h"

#include <QAbstractNativeEventFilter>
#include <QHash>
#include <QList>

#include <memory>

struct xcb_connection_t;

// Global shortcuts on X11: each combination is a passive key grab on the root windows of
// the xcb platform's own connection; its presses and releases are taken out of Qt's event
// stream. A combination another client grabbed first is refused.
class X11ShortcutBackend final : public GlobalShortcutBackend, public QAbstractNativeEventFilter
{
public:
    // Needs a QGuiApplication on the xcb platform; otherwise isValid() is false and every
    // registration is refused.
    X11ShortcutBackend();
    ~X11ShortcutBackend() override;

    bool isValid() const { return m_connection != nullptr; }

    bool registerShortcut(ShortcutId id, QKeyCombination keys, const QString &desktopId, const QString &description) override;
    void unregisterShortcut(ShortcutId id) override;
    void setEventHandler(EventHandler handler) override;
    Binding binding(ShortcutId id) const override;
    // On a Wayland session the grab goes to Xwayland, which passes a key on only while one of
    // its own windows has the focus: a grab that succeeded is then reported as unconfirmed.
    void setGrabsUnconfirmed(bool unconfirmed) { m_grabsUnconfirmed = unconfirmed; }
    QString keyCharacter(QKeyCombination key) const override;

    bool nativeEventFilter(const QByteArray &eventType, void *message, qintptr *result) override;

    // The X11 modifier mask of Qt's modifiers: Meta is Super (Mod4), Alt is Mod1; the
    // keypad's modifier is part of the key.
    static quint16 x11Modifiers(Qt::KeyboardModifiers modifiers);

private:
    struct Grab {
        ShortcutId id = 0;
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
    QHash<quint8, ShortcutId> m_held;
    quint16 m_lockMask = 0;
    EventHandler m_handler;
    mutable std::unique_ptr<Keymap> m_keymap;
    quint8 m_xkbFirstEvent = 0;
    bool m_grabsUnconfirmed = false;
};
