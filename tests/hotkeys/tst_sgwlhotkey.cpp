#include "shell/hotkeys/namedshortcuts.h"

#include "platform/headlessshortcutbackend.h"
#include "platform/platform.h"
#include "shell/hotkeys/globalshortcutregistry.h"
#include "shell/hotkeys/storeshortcutservice.h"

#include <QSignalSpy>
#include <QTest>

using HotKeyID = GlobalShortcutBackend::HotKeyID;

class SGWLHotKeyTest final : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void cleanup();
    void hotKeyModifiers_data();
    void hotKeyModifiers();
    void eventModifierFlags_data();
    void eventModifierFlags();
    void pressReachesActionOrWake();
    void storeServiceGoesThroughRegistry();

private:
    HotKeyID registrationOf(const QString &name) const;

    HeadlessShortcutBackend *m_service = nullptr;
};

void SGWLHotKeyTest::initTestCase()
{
    auto service = std::make_unique<HeadlessShortcutBackend>();
    m_service = service.get();
    Platform::setEventHotKeyService(std::move(service));
}

void SGWLHotKeyTest::cleanup()
{
    GlobalShortcutRegistry::instance()->unregisterAllHotKeys();
    QVERIFY(m_service->registrations().isEmpty());
}

HotKeyID SGWLHotKeyTest::registrationOf(const QString &name) const
{
    const PTHotKeyPtr hotKey = GlobalShortcutRegistry::instance()->hotKeyForName(name);
    return hotKey && hotKey->registration() ? *hotKey->registration() : HotKeyID{};
}

void SGWLHotKeyTest::hotKeyModifiers_data()
{
    QTest::addColumn<quint32>("flags");
    QTest::addColumn<qint32>("bits");
    QTest::newRow("control") << 0x40000u << 0x1000;
    QTest::newRow("function") << 0x800000u << 0x1;
    QTest::newRow("caps lock dropped") << 0x10000u << 0;
    QTest::newRow("device bits dropped") << (0x100000u | 0x8u) << 0x100;
    QTest::newRow("numeric pad dropped") << (0x200000u | 0x40000u) << 0x1000;
}

void SGWLHotKeyTest::hotKeyModifiers()
{
    QFETCH(quint32, flags);
    QTEST(NamedShortcuts::hotKeyModifiers(flags), "bits");
}

void SGWLHotKeyTest::eventModifierFlags_data()
{
    QTest::addColumn<qint32>("bits");
    QTest::addColumn<quint32>("flags");
    QTest::newRow("none") << 0 << 0u;
    QTest::newRow("command") << 0x100 << 0x100000u;
    QTest::newRow("all five") << 0x1B01 << 0x9E0000u;
    QTest::newRow("caps lock bit dropped") << 0x400 << 0u;
    QTest::newRow("cleared combination") << -1 << 0x9E0000u;
}

void SGWLHotKeyTest::eventModifierFlags()
{
    QFETCH(qint32, bits);
    QFETCH(quint32, flags);
    QCOMPARE(NamedShortcuts::eventModifierFlags(bits), flags);
    if (bits >= 0)
        QCOMPARE(NamedShortcuts::hotKeyModifiers(flags), bits & 0x1B01);
}

// An action's hotkey names its action; the wake hotkey opens the main view and nothing else.
void SGWLHotKeyTest::pressReachesActionOrWake()
{
    GlobalShortcutRegistry *center = GlobalShortcutRegistry::instance();
    QSignalSpy actions(center, &GlobalShortcutRegistry::actionShortcutPressed);
    QSignalSpy wake(center, &GlobalShortcutRegistry::openMainView);
    const QString name = NamedShortcuts::hotKeyName(2, 1048576);
    QVERIFY(NamedShortcuts::registerAttributeName(name, 2, 1048576));
    QVERIFY(NamedShortcuts::registerAttributeName(NamedShortcuts::WakeHotKeyName, 3, 1048576));
    QCOMPARE(m_service->registrations().last().modifiers, 0x100u);

    QVERIFY(m_service->deliver(registrationOf(name), GlobalShortcutBackend::HotKeyPressed));
    QCOMPARE(actions.count(), 1);
    QCOMPARE(actions.first().first().toString(), QStringLiteral("2-1048576"));
    QCOMPARE(wake.count(), 0);
    m_service->deliver(registrationOf(QStringLiteral("wakeHotKey")), GlobalShortcutBackend::HotKeyPressed);
    QCOMPARE(wake.count(), 1);
    QCOMPARE(actions.count(), 1);
}

void SGWLHotKeyTest::storeServiceGoesThroughRegistry()
{
    StoreShortcutService service;
    QSignalSpy actions(GlobalShortcutRegistry::instance(), &GlobalShortcutRegistry::actionShortcutPressed);
    QVERIFY(service.registerHotKey(QStringLiteral("17-1572864"), 17, 0x180000));
    QCOMPARE(m_service->registrations().size(), 1);
    QCOMPARE(m_service->registrations().first().modifiers, 0x900u);
    QVERIFY(m_service->registrations().first().exclusive);
    // The same combination for a second name is refused, as another action already has it.
    QVERIFY(!service.registerHotKey(QStringLiteral("other"), 17, 0x180000));

    m_service->deliver(registrationOf(QStringLiteral("17-1572864")), GlobalShortcutBackend::HotKeyPressed);
    QCOMPARE(actions.count(), 1);
    QCOMPARE(actions.first().first().toString(), QStringLiteral("17-1572864"));

    service.unregisterHotKey(QStringLiteral("17-1572864"));
    QVERIFY(m_service->registrations().isEmpty());
}

QTEST_GUILESS_MAIN(SGWLHotKeyTest)
#include "tst_sgwlhotkey.moc"
