#include "platform/x11/x11shortcutbackend.h"

#include "platform/platformlogging.h"
#include "platform/x11/xkbkeycodes.h"

#include <QCoreApplication>
#include <QGuiApplication>

#include <xcb/xcb.h>
#include <xkbcommon/xkbcommon-x11.h>
#include <xkbcommon/xkbcommon.h>

#include <cstdlib>

namespace {

constexpr xcb_keysym_t kNumLock = 0xff7f;
// XKB event subtypes, in the byte after the response type of an XKB event.
constexpr quint8 kXkbNewKeyboardNotify = 0;
constexpr quint8 kXkbMapNotify = 1;
constexpr xcb_keysym_t kScrollLock = 0xff14;
constexpr quint16 kModifierMask = XCB_MOD_MASK_SHIFT | XCB_MOD_MASK_LOCK | XCB_MOD_MASK_CONTROL | XCB_MOD_MASK_1
    | XCB_MOD_MASK_2 | XCB_MOD_MASK_3 | XCB_MOD_MASK_4 | XCB_MOD_MASK_5;

struct FreeDeleter {
    void operator()(void *p) const { std::free(p); }
};
template<typename T>
using XcbReply = std::unique_ptr<T, FreeDeleter>;

} // namespace

struct X11ShortcutBackend::Keymap {
    xkb_context *context = nullptr;
    xkb_keymap *keymap = nullptr;
    int32_t deviceId = -1;

    ~Keymap()
    {
        xkb_keymap_unref(keymap);
        xkb_context_unref(context);
    }
};

X11ShortcutBackend::X11ShortcutBackend()
{
    auto *x11 = qGuiApp ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
    if (!x11 || !x11->connection()) {
        qCInfo(lcX11, "not on X11: global shortcuts are not available");
        return;
    }
    m_connection = x11->connection();

    for (auto it = xcb_setup_roots_iterator(xcb_get_setup(m_connection)); it.rem; xcb_screen_next(&it))
        m_roots.append(it.data->root);

    static const char xkbName[] = "XKEYBOARD";
    XcbReply<xcb_query_extension_reply_t> xkb(xcb_query_extension_reply(
        m_connection, xcb_query_extension(m_connection, sizeof xkbName - 1, xkbName), nullptr));
    if (xkb && xkb->present)
        m_xkbFirstEvent = xkb->first_event;

    QCoreApplication::instance()->installNativeEventFilter(this);
}

X11ShortcutBackend::~X11ShortcutBackend()
{
    // After the application is gone the connection is closed, and with it every grab.
    if (!m_connection || !QCoreApplication::instance())
        return;
    QCoreApplication::instance()->removeNativeEventFilter(this);
    for (const Grab &grab : std::as_const(m_grabs))
        ungrab(grab);
    xcb_flush(m_connection);
}

quint16 X11ShortcutBackend::x11Modifiers(Qt::KeyboardModifiers modifiers)
{
    quint16 mask = 0;
    if (modifiers & Qt::MetaModifier)
        mask |= XCB_MOD_MASK_4;
    if (modifiers & Qt::AltModifier)
        mask |= XCB_MOD_MASK_1;
    if (modifiers & Qt::ControlModifier)
        mask |= XCB_MOD_MASK_CONTROL;
    if (modifiers & Qt::ShiftModifier)
        mask |= XCB_MOD_MASK_SHIFT;
    return mask;
}

QList<quint16> X11ShortcutBackend::lockVariants() const
{
    // Num Lock and Scroll Lock are modifiers whose bit depends on the keymap; a grab
    // matches the exact modifier state, so every combination of the locks needs its own.
    quint16 numLock = 0;
    quint16 scrollLock = 0;
    const xcb_setup_t *setup = xcb_get_setup(m_connection);
    const xcb_keycode_t minKeycode = setup->min_keycode;
    XcbReply<xcb_get_keyboard_mapping_reply_t> keyboard(xcb_get_keyboard_mapping_reply(
        m_connection, xcb_get_keyboard_mapping(m_connection, minKeycode, setup->max_keycode - minKeycode + 1), nullptr));
    XcbReply<xcb_get_modifier_mapping_reply_t> modifiers(
        xcb_get_modifier_mapping_reply(m_connection, xcb_get_modifier_mapping(m_connection), nullptr));
    if (keyboard && modifiers) {
        const xcb_keysym_t *keysyms = xcb_get_keyboard_mapping_keysyms(keyboard.get());
        const int keysymsLength = xcb_get_keyboard_mapping_keysyms_length(keyboard.get());
        const int perKeycode = keyboard->keysyms_per_keycode;
        const xcb_keycode_t *keycodes = xcb_get_modifier_mapping_keycodes(modifiers.get());
        const int perModifier = modifiers->keycodes_per_modifier;
        for (int modifier = 0; modifier < 8; ++modifier) {
            for (int i = 0; i < perModifier; ++i) {
                const xcb_keycode_t keycode = keycodes[modifier * perModifier + i];
                if (keycode < minKeycode)
                    continue;
                for (int level = 0; level < perKeycode; ++level) {
                    const int index = (keycode - minKeycode) * perKeycode + level;
                    if (index >= keysymsLength)
                        break;
                    if (keysyms[index] == kNumLock)
                        numLock |= quint16(1 << modifier);
                    else if (keysyms[index] == kScrollLock)
                        scrollLock |= quint16(1 << modifier);
                }
            }
        }
    }

    QList<quint16> locks{XCB_MOD_MASK_LOCK};
    for (quint16 mask : {numLock, scrollLock}) {
        if (mask && !locks.contains(mask))
            locks.append(mask);
    }
    QList<quint16> variants{0};
    for (quint16 lock : std::as_const(locks)) {
        const qsizetype count = variants.size();
        for (qsizetype i = 0; i < count; ++i)
            variants.append(variants.at(i) | lock);
    }
    return variants;
}

bool X11ShortcutBackend::registerShortcut(ShortcutId id, QKeyCombination keys, const QString &, const QString &)
{
    if (!m_connection)
        return false;
    const quint32 keycode = XkbKeyCodes::xkbKeyCode(keys);
    if (keycode == 0 || keycode > 255) {
        qCInfo(lcX11, "key 0x%x has no place on this keyboard", unsigned(keys.key()));
        return false;
    }
    const quint16 mask = x11Modifiers(keys.keyboardModifiers());
    for (const Grab &grab : std::as_const(m_grabs)) {
        if ((grab.keycode == keycode && grab.modifiers == mask) || grab.id == id)
            return false;
    }

    Grab grab{id, quint8(keycode), mask, lockVariants()};
    QList<xcb_void_cookie_t> cookies;
    for (quint32 root : std::as_const(m_roots)) {
        for (quint16 lock : std::as_const(grab.lockVariants)) {
            // owner_events off: presses reach the grab even while one of our windows has focus.
            cookies.append(xcb_grab_key_checked(m_connection, 0, root, quint16(mask | lock), xcb_keycode_t(keycode),
                                                XCB_GRAB_MODE_ASYNC, XCB_GRAB_MODE_ASYNC));
        }
    }
    bool refused = false;
    for (const xcb_void_cookie_t &cookie : std::as_const(cookies)) {
        if (XcbReply<xcb_generic_error_t> error{xcb_request_check(m_connection, cookie)}) {
            if (error->error_code == XCB_ACCESS)
                qCInfo(lcX11, "keycode %u with modifiers 0x%x is grabbed by another client", keycode, mask);
            else
                qCWarning(lcX11, "grabbing keycode %u failed with X error %u", keycode, error->error_code);
            refused = true;
        }
    }
    if (refused) {
        ungrab(grab);
        xcb_flush(m_connection);
        return false;
    }
    for (quint16 lock : std::as_const(grab.lockVariants))
        m_lockMask |= lock;
    m_grabs.append(grab);
    return true;
}

void X11ShortcutBackend::ungrab(const Grab &grab)
{
    for (quint32 root : std::as_const(m_roots)) {
        for (quint16 lock : grab.lockVariants)
            xcb_ungrab_key(m_connection, grab.keycode, root, quint16(grab.modifiers | lock));
    }
}

GlobalShortcutBackend::Binding X11ShortcutBackend::binding(ShortcutId) const
{
    return {m_grabsUnconfirmed ? Binding::Unconfirmed : Binding::Bound, QString(), Binding::NoCause};
}

void X11ShortcutBackend::unregisterShortcut(ShortcutId id)
{
    for (qsizetype i = 0; i < m_grabs.size(); ++i) {
        if (m_grabs.at(i).id != id)
            continue;
        ungrab(m_grabs.at(i));
        xcb_flush(m_connection);
        m_held.remove(m_grabs.at(i).keycode);
        m_grabs.removeAt(i);
        return;
    }
}

void X11ShortcutBackend::setEventHandler(EventHandler handler)
{
    m_handler = std::move(handler);
}

bool X11ShortcutBackend::nativeEventFilter(const QByteArray &eventType, void *message, qintptr *result)
{
    Q_UNUSED(result)
    if (!m_connection || eventType != "xcb_generic_event_t")
        return false;
    const auto *event = static_cast<const xcb_generic_event_t *>(message);
    const quint8 type = event->response_type & ~0x80;

    if (type == XCB_KEY_PRESS || type == XCB_KEY_RELEASE) {
        const auto *key = static_cast<const xcb_key_press_event_t *>(message);
        if (!m_roots.contains(key->event))
            return false;
        return handleKeyEvent(type == XCB_KEY_PRESS, key->detail, key->state);
    }

    // A changed keyboard or layout: the key names are read again on next use.
    if (type == XCB_MAPPING_NOTIFY)
        m_keymap.reset();
    if (m_xkbFirstEvent && type == m_xkbFirstEvent) {
        const quint8 xkbType = static_cast<const quint8 *>(message)[1];
        if (xkbType == kXkbNewKeyboardNotify || xkbType == kXkbMapNotify)
            m_keymap.reset();
    }
    return false;
}

bool X11ShortcutBackend::handleKeyEvent(bool pressed, quint8 keycode, quint16 state)
{
    if (!pressed) {
        const auto held = m_held.constFind(keycode);
        if (held == m_held.constEnd())
            return false;
        const ShortcutId id = held.value();
        m_held.erase(held);
        if (m_handler)
            m_handler(id, Event::Released);
        return true;
    }

    const quint16 modifiers = state & kModifierMask & ~m_lockMask;
    for (const Grab &grab : std::as_const(m_grabs)) {
        if (grab.keycode != keycode || grab.modifiers != modifiers)
            continue;
        if (const auto held = m_held.constFind(keycode); held != m_held.constEnd() && held.value() == grab.id)
            return true;
        m_held.insert(keycode, grab.id);
        if (m_handler)
            m_handler(grab.id, Event::Pressed);
        return true;
    }
    return false;
}

void X11ShortcutBackend::ensureKeymap() const
{
    if (m_keymap || !m_connection)
        return;
    if (!xkb_x11_setup_xkb_extension(m_connection, XKB_X11_MIN_MAJOR_XKB_VERSION, XKB_X11_MIN_MINOR_XKB_VERSION,
                                     XKB_X11_SETUP_XKB_EXTENSION_NO_FLAGS, nullptr, nullptr, nullptr, nullptr))
        return;
    auto keymap = std::make_unique<Keymap>();
    keymap->context = xkb_context_new(XKB_CONTEXT_NO_FLAGS);
    keymap->deviceId = xkb_x11_get_core_keyboard_device_id(m_connection);
    if (!keymap->context || keymap->deviceId < 0)
        return;
    keymap->keymap = xkb_x11_keymap_new_from_device(keymap->context, m_connection, keymap->deviceId, XKB_KEYMAP_COMPILE_NO_FLAGS);
    if (!keymap->keymap)
        return;
    m_keymap = std::move(keymap);
}

QString X11ShortcutBackend::keyCharacter(QKeyCombination key) const
{
    const quint32 keycode = XkbKeyCodes::xkbKeyCode(key);
    ensureKeymap();
    if (!m_keymap || keycode == 0)
        return {};

    // The layout in use now: the state is read each time since the user switches layouts
    // without the keymap changing.
    xkb_layout_index_t layout = 0;
    if (xkb_state *state = xkb_x11_state_new_from_device(m_keymap->keymap, m_connection, m_keymap->deviceId)) {
        layout = xkb_state_serialize_layout(state, XKB_STATE_LAYOUT_EFFECTIVE);
        xkb_state_unref(state);
    }
    const xkb_keysym_t *keysyms = nullptr;
    if (xkb_keymap_key_get_syms_by_level(m_keymap->keymap, keycode, layout, 0, &keysyms) != 1)
        return {};
    char utf8[16] = {};
    if (xkb_keysym_to_utf8(keysyms[0], utf8, sizeof utf8) <= 1)
        return {};
    const QString character = QString::fromUtf8(utf8);
    if (character.isEmpty() || !character.at(0).isPrint())
        return {};
    return character;
}
