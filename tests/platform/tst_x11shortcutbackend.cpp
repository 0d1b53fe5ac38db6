#include "platform/x11/x11shortcutbackend.h"

#include "platform/qt/desktopplatform.h"
#include "platform/platform.h"
#include "shortcuts/globalshortcutregistry.h"
#include "shortcuts/keycombinationtext.h"
#include "platform/x11/xkbkeycodes.h"
#include "support/desktopsession.h"

#include <QGuiApplication>
#include <QSignalSpy>
#include <QStandardPaths>
#include <QTest>

#include <xcb/xcb.h>

#include <cstdlib>

using namespace KorvaneTest;

using Event = GlobalShortcutBackend::Event;

namespace {

QKeyCombination super(Qt::Key key)
{
    return QKeyCombination(Qt::MetaModifier, key);
}

// An xdotool command line, its words split at spaces.
bool press(const QString &command)
{
    return DesktopSession::xdotool(command.split(QLatin1Char(' ')));
}

using Events = QList<QList<QVariant>>;

// Collects what a service delivers.
class EventRecorder final : public QObject
{
    Q_OBJECT

public:
    GlobalShortcutBackend::EventHandler handler()
    {
        return [this](GlobalShortcutBackend::ShortcutId id, Event event) { Q_EMIT delivered(id, event == Event::Pressed); };
    }

Q_SIGNALS:
    void delivered(quint32 id, bool pressed);
};

// One more X client, standing for another program.
class OtherClient final
{
public:
    explicit OtherClient(const QByteArray &display)
        : m_connection(xcb_connect(display.constData(), nullptr))
    {
        m_root = xcb_setup_roots_iterator(xcb_get_setup(m_connection)).data->root;
    }
    ~OtherClient() { xcb_disconnect(m_connection); }

    bool isValid() const { return !xcb_connection_has_error(m_connection); }

    // True when the grab was granted.
    bool grab(quint32 keycode, quint16 modifiers)
    {
        const xcb_void_cookie_t cookie = xcb_grab_key_checked(m_connection, 0, m_root, modifiers, xcb_keycode_t(keycode),
                                                              XCB_GRAB_MODE_ASYNC, XCB_GRAB_MODE_ASYNC);
        xcb_generic_error_t *error = xcb_request_check(m_connection, cookie);
        const bool granted = !error;
        std::free(error);
        return granted;
    }

    void ungrab(quint32 keycode, quint16 modifiers)
    {
        xcb_ungrab_key(m_connection, xcb_keycode_t(keycode), m_root, modifiers);
        xcb_flush(m_connection);
    }

private:
    xcb_connection_t *m_connection;
    xcb_window_t m_root = 0;
};

} // namespace

class X11ShortcutBackendTest final : public QObject
{
    Q_OBJECT

public:
    explicit X11ShortcutBackendTest(const QByteArray &display)
        : m_display(display)
    {}

private Q_SLOTS:
    void initTestCase();
    void init();
    void cleanup();
    void keysAndModifiers();
    void pressAndRelease_data();
    void pressAndRelease();
    void releasedCombinationIsNotDelivered();
    void heldByAnotherClientIsRefused_data();
    void heldByAnotherClientIsRefused();
    void refused();
    void wakeHotKeyThroughTheRegistry();

private:
    Events waitForEvents(QSignalSpy &spy, int count);

    QByteArray m_display;
    std::unique_ptr<X11ShortcutBackend> m_backend;
    EventRecorder m_recorder;
};

void X11ShortcutBackendTest::initTestCase()
{
    QCOMPARE(QGuiApplication::platformName(), QStringLiteral("xcb"));
    QVERIFY(!QStandardPaths::findExecutable(QStringLiteral("xdotool")).isEmpty());
}

void X11ShortcutBackendTest::init()
{
    m_backend = std::make_unique<X11ShortcutBackend>();
    QVERIFY(m_backend->isValid());
    m_backend->setEventHandler(m_recorder.handler());
}

void X11ShortcutBackendTest::cleanup()
{
    m_backend.reset();
}

Events X11ShortcutBackendTest::waitForEvents(QSignalSpy &spy, int count)
{
    while (spy.count() < count) {
        if (!spy.wait())
            break;
    }
    return spy;
}

// Meta is super, alt mod1 and the keypad no modifier; on Xvfb's US layout a key types its
// character, and a key that types none or has no place gives nothing.
void X11ShortcutBackendTest::keysAndModifiers()
{
    const std::pair<Qt::KeyboardModifiers, int> masks[] = {
        {Qt::MetaModifier, XCB_MOD_MASK_4},
        {Qt::AltModifier, XCB_MOD_MASK_1},
        {Qt::KeypadModifier, 0},
        {Qt::MetaModifier | Qt::AltModifier | Qt::ControlModifier | Qt::ShiftModifier | Qt::KeypadModifier, XCB_MOD_MASK_4 | XCB_MOD_MASK_1 | XCB_MOD_MASK_CONTROL | XCB_MOD_MASK_SHIFT},
    };
    for (const auto &[modifiers, x11] : masks)
        QCOMPARE(int(X11ShortcutBackend::x11Modifiers(modifiers)), x11);
    const std::pair<QKeyCombination, const char *> characters[] = {
        {QKeyCombination(Qt::Key_D), "d"}, {QKeyCombination(Qt::Key_0), "0"}, {QKeyCombination(Qt::Key_QuoteLeft), "`"}, {QKeyCombination(Qt::KeypadModifier, Qt::Key_Plus), "+"}, {QKeyCombination(Qt::Key_Return), ""}, {QKeyCombination(Qt::Key_F5), ""}, {QKeyCombination(Qt::Key_F13), ""}};
    for (const auto &[key, expected] : characters)
        QCOMPARE(m_backend->keyCharacter(key), QString::fromLatin1(expected));
}

void X11ShortcutBackendTest::pressAndRelease_data()
{
    QTest::addColumn<QKeyCombination>("keys");
    QTest::addColumn<QString>("pressed");
    QTest::newRow("super-D") << super(Qt::Key_D) << QStringLiteral("key super+d");
    QTest::newRow("super-shift-K") << QKeyCombination(Qt::MetaModifier | Qt::ShiftModifier, Qt::Key_K) << QStringLiteral("key super+shift+k");
    QTest::newRow("ctrl-alt-space") << QKeyCombination(Qt::ControlModifier | Qt::AltModifier, Qt::Key_Space) << QStringLiteral("key ctrl+alt+space");
    QTest::newRow("digit 0") << super(Qt::Key_0) << QStringLiteral("key super+0");
    QTest::newRow("keypad 0 by its place") << QKeyCombination(Qt::MetaModifier | Qt::KeypadModifier, Qt::Key_0) << QStringLiteral("key super+KP_Insert");
    QTest::newRow("F5 alone") << QKeyCombination(Qt::Key_F5) << QStringLiteral("key F5");
    QTest::newRow("super-left") << super(Qt::Key_Left) << QStringLiteral("key super+Left");
    // Locks do not matter.
    QTest::newRow("num lock on") << super(Qt::Key_D) << QStringLiteral("key Num_Lock super+d Num_Lock");
    QTest::newRow("caps lock on") << super(Qt::Key_D) << QStringLiteral("key Caps_Lock super+d Caps_Lock");
    QTest::newRow("release after the modifier let go") << super(Qt::Key_D) << QStringLiteral("keydown super+d keyup super keyup d");
}

void X11ShortcutBackendTest::pressAndRelease()
{
    QFETCH(QKeyCombination, keys);
    QFETCH(QString, pressed);
    QSignalSpy spy(&m_recorder, &EventRecorder::delivered);
    QVERIFY(m_backend->registerShortcut(7, keys, QString(), QString()));
    QVERIFY(press(pressed));
    QCOMPARE(waitForEvents(spy, 2), (Events{{7u, true}, {7u, false}}));
}

void X11ShortcutBackendTest::releasedCombinationIsNotDelivered()
{
    QSignalSpy spy(&m_recorder, &EventRecorder::delivered);
    QVERIFY(m_backend->registerShortcut(1, super(Qt::Key_D), QString(), QString()));
    QVERIFY(m_backend->registerShortcut(2, super(Qt::Key_F), QString(), QString()));
    m_backend->unregisterShortcut(1);
    QVERIFY(press(QStringLiteral("key super+d")));
    // Events arrive in order: once F's press is in, D's would have been before it.
    QVERIFY(press(QStringLiteral("key super+f")));
    QCOMPARE(waitForEvents(spy, 2), (Events{{2u, true}, {2u, false}}));

    // Released means free for another program.
    OtherClient other(m_display);
    QVERIFY(other.isValid());
    QVERIFY(other.grab(XkbKeyCodes::xkbKeyCode(QKeyCombination(Qt::Key_D)), XCB_MOD_MASK_4));
}

void X11ShortcutBackendTest::heldByAnotherClientIsRefused_data()
{
    QTest::addColumn<int>("otherModifiers");
    QTest::newRow("the plain combination") << int(XCB_MOD_MASK_4);
    QTest::newRow("only its caps lock variant") << int(XCB_MOD_MASK_4 | XCB_MOD_MASK_LOCK);
}

void X11ShortcutBackendTest::heldByAnotherClientIsRefused()
{
    const quint32 keycode = XkbKeyCodes::xkbKeyCode(QKeyCombination(Qt::Key_K));
    QFETCH(int, otherModifiers);
    {
        OtherClient other(m_display);
        QVERIFY(other.isValid());
        QVERIFY(other.grab(keycode, quint16(otherModifiers)));
        QVERIFY(!m_backend->registerShortcut(1, super(Qt::Key_K), QString(), QString()));

        // Nothing of the refused registration stays behind.
        other.ungrab(keycode, quint16(otherModifiers));
        OtherClient third(m_display);
        QVERIFY(third.grab(keycode, XCB_MOD_MASK_4));
        QVERIFY(third.grab(keycode, XCB_MOD_MASK_4 | XCB_MOD_MASK_LOCK));
    }

    // Once the other program is gone the combination can be had, and it works.
    QSignalSpy spy(&m_recorder, &EventRecorder::delivered);
    QVERIFY(m_backend->registerShortcut(2, super(Qt::Key_K), QString(), QString()));
    QVERIFY(press(QStringLiteral("key super+k")));
    QCOMPARE(waitForEvents(spy, 2), (Events{{2u, true}, {2u, false}}));
}

// A combination or number already taken, and keys without a place on the keyboard.
void X11ShortcutBackendTest::refused()
{
    QVERIFY(m_backend->registerShortcut(1, super(Qt::Key_D), QString(), QString()));
    QVERIFY(!m_backend->registerShortcut(3, super(Qt::Key_D), QString(), QString()));
    QVERIFY(!m_backend->registerShortcut(1, super(Qt::Key_F), QString(), QString()));
    QVERIFY(m_backend->registerShortcut(2, QKeyCombination(Qt::MetaModifier | Qt::ShiftModifier, Qt::Key_D), QString(), QString()));
    QVERIFY(!m_backend->registerShortcut(4, super(Qt::Key_F13), QString(), QString()));
    QVERIFY(!m_backend->registerShortcut(5, QKeyCombination(Qt::MetaModifier | Qt::KeypadModifier, Qt::Key_A), QString(), QString()));
}

void X11ShortcutBackendTest::wakeHotKeyThroughTheRegistry()
{
    Platform::setShortcutBackend(DesktopPlatform::createShortcutBackend());
    QVERIFY(dynamic_cast<X11ShortcutBackend *>(Platform::shortcutBackend()));
    QCOMPARE(KeyCombinationText::text(super(Qt::Key_D)), QStringLiteral("Super+D"));

    GlobalShortcutRegistry *registry = GlobalShortcutRegistry::instance();
    QSignalSpy wake(registry, &GlobalShortcutRegistry::wakeActivated);
    QStringList pressed;
    Korvane::Settings::wakeHotKey.write({2, 0x100000});
    QVERIFY(registry->registerWakeShortcut());
    QVERIFY(registry->registerShortcut(GlobalShortcut(QStringLiteral("k"), QKeyCombination(Qt::MetaModifier | Qt::ShiftModifier, Qt::Key_K), registry,
                                                      [&pressed] { pressed.append(QStringLiteral("k")); })));

    QVERIFY(press(QStringLiteral("key super+d")) && press(QStringLiteral("key super+shift+k")));
    QTRY_COMPARE(pressed, QStringList{QStringLiteral("k")});
    QCOMPARE(wake.count(), 1);

    registry->unregisterAll();
    Platform::setShortcutBackend(nullptr);
}

int main(int argc, char *argv[])
{
    return XvfbServer::run<X11ShortcutBackendTest>(argc, argv);
}

#include "tst_x11shortcutbackend.moc"
