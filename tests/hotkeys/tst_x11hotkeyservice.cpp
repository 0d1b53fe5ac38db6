#include "platform/x11hotkeyservice.h"

#include "platform/desktopplatform.h"
#include "platform/platform.h"
#include "shell/hotkeys/recordedshortcut.h"
#include "shell/hotkeys/globalshortcutregistry.h"
#include "shell/hotkeys/namedshortcuts.h"
#include "platform/xkbkeycodes.h"
#include "xvfbserver.h"

#include <QGuiApplication>
#include <QProcess>
#include <QSignalSpy>
#include <QStandardPaths>
#include <QTest>

#include <xcb/xcb.h>

#include <cstdlib>

using HotKeyID = GlobalShortcutBackend::HotKeyID;

namespace {

constexpr quint32 kPTHk = GlobalShortcutBackend::fourCharCode("PTHk");
constexpr quint32 kCommand = 0x100;
constexpr quint32 kShift = 0x200;
constexpr quint32 kOption = 0x800;
constexpr quint32 kControl = 0x1000;

// Collects what a service delivers.
class EventRecorder final : public QObject
{
    Q_OBJECT

public:
    GlobalShortcutBackend::EventHandler handler()
    {
        return [this](HotKeyID hotKeyID, int kind) { Q_EMIT delivered(hotKeyID.signature, hotKeyID.id, kind); };
    }

Q_SIGNALS:
    void delivered(quint32 signature, quint32 id, int kind);
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

class X11HotKeyServiceTest final : public QObject
{
    Q_OBJECT

public:
    explicit X11HotKeyServiceTest(const QByteArray &display)
        : m_display(display)
    {}

private Q_SLOTS:
    void initTestCase();
    void init();
    void cleanup();
    void modifierMasks_data();
    void modifierMasks();
    void pressAndRelease_data();
    void pressAndRelease();
    void releasedCombinationIsNotDelivered();
    void heldByAnotherClientIsRefused_data();
    void heldByAnotherClientIsRefused();
    void refused();
    void keyCharacters_data();
    void keyCharacters();
    void wakeHotKeyThroughTheRegistry();

private:
    // An xdotool command line, its words split at spaces.
    void press(const QString &command);
    QList<QList<QVariant>> waitForEvents(QSignalSpy &spy, int count);

    QByteArray m_display;
    std::unique_ptr<X11HotKeyService> m_service;
    EventRecorder m_recorder;
};

void X11HotKeyServiceTest::initTestCase()
{
    QCOMPARE(QGuiApplication::platformName(), QStringLiteral("xcb"));
    QVERIFY(!QStandardPaths::findExecutable(QStringLiteral("xdotool")).isEmpty());
}

void X11HotKeyServiceTest::init()
{
    m_service = std::make_unique<X11HotKeyService>();
    QVERIFY(m_service->isValid());
    m_service->installEventHandler(m_recorder.handler());
}

void X11HotKeyServiceTest::cleanup()
{
    m_service.reset();
}

void X11HotKeyServiceTest::press(const QString &command)
{
    QProcess xdotool;
    xdotool.start(QStringLiteral("xdotool"), command.split(QLatin1Char(' ')));
    QVERIFY(xdotool.waitForFinished());
    QCOMPARE(xdotool.exitCode(), 0);
}

QList<QList<QVariant>> X11HotKeyServiceTest::waitForEvents(QSignalSpy &spy, int count)
{
    while (spy.count() < count) {
        if (!spy.wait())
            break;
    }
    return spy;
}

void X11HotKeyServiceTest::modifierMasks_data()
{
    QTest::addColumn<quint32>("hotKeyModifiers");
    QTest::addColumn<int>("x11");
    QTest::newRow("command is super") << kCommand << int(XCB_MOD_MASK_4);
    QTest::newRow("option is alt") << kOption << int(XCB_MOD_MASK_1);
    QTest::newRow("function is nothing") << 0x1u << 0;
    QTest::newRow("all") << (kCommand | kOption | kControl | kShift | 0x1u)
                         << int(XCB_MOD_MASK_4 | XCB_MOD_MASK_1 | XCB_MOD_MASK_CONTROL | XCB_MOD_MASK_SHIFT);
}

void X11HotKeyServiceTest::modifierMasks()
{
    QFETCH(quint32, hotKeyModifiers);
    QTEST(int(X11HotKeyService::x11Modifiers(hotKeyModifiers)), "x11");
}

void X11HotKeyServiceTest::pressAndRelease_data()
{
    QTest::addColumn<quint32>("keyCode");
    QTest::addColumn<quint32>("modifiers");
    QTest::addColumn<QString>("keys");
    QTest::newRow("command-D") << 2u << kCommand << QStringLiteral("key super+d");
    QTest::newRow("command-shift-K") << 40u << (kCommand | kShift) << QStringLiteral("key super+shift+k");
    QTest::newRow("control-option-space") << 49u << (kControl | kOption) << QStringLiteral("key ctrl+alt+space");
    QTest::newRow("digit shortcut 0") << 29u << kCommand << QStringLiteral("key super+0");
    QTest::newRow("F5 by the function bit") << 96u << 0x1u << QStringLiteral("key F5");
    QTest::newRow("command-left") << 123u << kCommand << QStringLiteral("key super+Left");
    // Locks do not matter.
    QTest::newRow("num lock on") << 2u << kCommand << QStringLiteral("key Num_Lock super+d Num_Lock");
    QTest::newRow("caps lock on") << 2u << kCommand << QStringLiteral("key Caps_Lock super+d Caps_Lock");
    QTest::newRow("release after the modifier let go") << 2u << kCommand << QStringLiteral("keydown super+d keyup super keyup d");
}

void X11HotKeyServiceTest::pressAndRelease()
{
    QFETCH(quint32, keyCode);
    QFETCH(quint32, modifiers);
    QFETCH(QString, keys);
    QSignalSpy spy(&m_recorder, &EventRecorder::delivered);
    QVERIFY(m_service->registerEventHotKey(keyCode, modifiers, {kPTHk, 7}, true));
    press(keys);
    const auto events = waitForEvents(spy, 2);
    QCOMPARE(events.size(), 2);
    QCOMPARE(events.at(0), (QList<QVariant>{kPTHk, 7u, 5}));
    QCOMPARE(events.at(1), (QList<QVariant>{kPTHk, 7u, 6}));
}

void X11HotKeyServiceTest::releasedCombinationIsNotDelivered()
{
    QSignalSpy spy(&m_recorder, &EventRecorder::delivered);
    QVERIFY(m_service->registerEventHotKey(2, kCommand, {kPTHk, 1}, true));
    QVERIFY(m_service->registerEventHotKey(3, kCommand, {kPTHk, 2}, true));
    m_service->unregisterEventHotKey({kPTHk, 1});
    press(QStringLiteral("key super+d"));
    // Events arrive in order: once F's press is in, D's would have been before it.
    press(QStringLiteral("key super+f"));
    const auto events = waitForEvents(spy, 2);
    QCOMPARE(events.size(), 2);
    QCOMPARE(events.at(0), (QList<QVariant>{kPTHk, 2u, 5}));
    QCOMPARE(events.at(1), (QList<QVariant>{kPTHk, 2u, 6}));

    // Released means free for another program.
    OtherClient other(m_display);
    QVERIFY(other.isValid());
    QVERIFY(other.grab(XkbKeyCodes::xkbKeyCode(2), XCB_MOD_MASK_4));
}

void X11HotKeyServiceTest::heldByAnotherClientIsRefused_data()
{
    QTest::addColumn<int>("otherModifiers");
    QTest::newRow("the plain combination") << int(XCB_MOD_MASK_4);
    QTest::newRow("only its caps lock variant") << int(XCB_MOD_MASK_4 | XCB_MOD_MASK_LOCK);
}

void X11HotKeyServiceTest::heldByAnotherClientIsRefused()
{
    const quint32 keycode = XkbKeyCodes::xkbKeyCode(40);
    QFETCH(int, otherModifiers);
    {
        OtherClient other(m_display);
        QVERIFY(other.isValid());
        QVERIFY(other.grab(keycode, quint16(otherModifiers)));
        QVERIFY(!m_service->registerEventHotKey(40, kCommand, {kPTHk, 1}, true));

        // Nothing of the refused registration stays behind.
        other.ungrab(keycode, quint16(otherModifiers));
        OtherClient third(m_display);
        QVERIFY(third.grab(keycode, XCB_MOD_MASK_4));
        QVERIFY(third.grab(keycode, XCB_MOD_MASK_4 | XCB_MOD_MASK_LOCK));
    }

    // Once the other program is gone the combination can be had, and it works.
    QSignalSpy spy(&m_recorder, &EventRecorder::delivered);
    QVERIFY(m_service->registerEventHotKey(40, kCommand, {kPTHk, 2}, true));
    press(QStringLiteral("key super+k"));
    const auto events = waitForEvents(spy, 2);
    QCOMPARE(events.size(), 2);
    QCOMPARE(events.at(0), (QList<QVariant>{kPTHk, 2u, 5}));
}

// A combination or number already taken, and keys without a place on the keyboard.
void X11HotKeyServiceTest::refused()
{
    QVERIFY(m_service->registerEventHotKey(2, kCommand, {kPTHk, 1}, true));
    QVERIFY(!m_service->registerEventHotKey(2, kCommand, {kPTHk, 3}, false));
    QVERIFY(!m_service->registerEventHotKey(3, kCommand, {kPTHk, 1}, true));
    QVERIFY(m_service->registerEventHotKey(2, kCommand | kShift, {kPTHk, 2}, true));
    QVERIFY(!m_service->registerEventHotKey(63, kCommand, {kPTHk, 4}, true));
    QVERIFY(!m_service->registerEventHotKey(66, kCommand, {kPTHk, 5}, true));
    QVERIFY(!m_service->registerEventHotKey(400, kCommand, {kPTHk, 6}, true));
}

void X11HotKeyServiceTest::keyCharacters_data()
{
    // Xvfb's keymap is the US layout.
    QTest::addColumn<quint32>("keyCode");
    QTest::addColumn<QString>("expected");
    QTest::newRow("d") << 2u << QStringLiteral("d");
    QTest::newRow("0") << 29u << QStringLiteral("0");
    QTest::newRow("grave") << 50u << QStringLiteral("`");
    QTest::newRow("keypad plus") << 69u << QStringLiteral("+");
    QTest::newRow("return is no character") << 36u << QString();
    QTest::newRow("F5 is no character") << 96u << QString();
    QTest::newRow("no place") << 66u << QString();
}

void X11HotKeyServiceTest::keyCharacters()
{
    QFETCH(quint32, keyCode);
    QTEST(m_service->keyCharacter(keyCode), "expected");
}

void X11HotKeyServiceTest::wakeHotKeyThroughTheRegistry()
{
    Platform::setEventHotKeyService(DesktopPlatform::createEventHotKeyService());
    QVERIFY(dynamic_cast<X11HotKeyService *>(Platform::eventHotKeyService()));
    QCOMPARE(RecordedShortcut(2, 0x100000).displayString(), QStringLiteral("Super+D"));

    GlobalShortcutRegistry *center = GlobalShortcutRegistry::instance();
    QSignalSpy wake(center, &GlobalShortcutRegistry::openMainView);
    QSignalSpy actions(center, &GlobalShortcutRegistry::actionShortcutPressed);
    QVERIFY(NamedShortcuts::registerAttributeName(NamedShortcuts::WakeHotKeyName, 2, 0x100000));
    QVERIFY(NamedShortcuts::registerAttributeName(NamedShortcuts::hotKeyName(40, 0x120000), 40, 0x120000));

    press(QStringLiteral("key super+d"));
    press(QStringLiteral("key super+shift+k"));
    while (actions.isEmpty() && actions.wait()) {
    }
    QCOMPARE(wake.count(), 1);
    QCOMPARE(actions.count(), 1);
    QCOMPARE(actions.first().first().toString(), QStringLiteral("40-1179648"));

    center->unregisterAllHotKeys();
    Platform::setEventHotKeyService(nullptr);
}

int main(int argc, char *argv[])
{
    return XvfbServer::run<X11HotKeyServiceTest>(argc, argv);
}

#include "tst_x11hotkeyservice.moc"
