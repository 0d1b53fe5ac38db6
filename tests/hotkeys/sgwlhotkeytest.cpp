#include "sgwlhotkey.h"

#include "headlesseventhotkeyservice.h"
#include "korvaneplatform.h"
#include "pthotkeycenter.h"
#include "sgwlhotkeyservice.h"

#include <QSignalSpy>
#include <QTest>

using HotKeyID = KorvaneEventHotKeyService::HotKeyID;

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
    void hotKeyName();
    void registersExclusiveConverted();
    void actionHotKeyPressed();
    void wakeHotKeyPressed();
    void withoutModifiersNotRegistered_data();
    void withoutModifiersNotRegistered();
    void refusedIsReported();
    void storeServiceGoesThroughRegistry();

private:
    HotKeyID registrationOf(const QString &name) const;

    HeadlessEventHotKeyService *m_service = nullptr;
};

void SGWLHotKeyTest::initTestCase()
{
    auto service = std::make_unique<HeadlessEventHotKeyService>();
    m_service = service.get();
    KorvanePlatform::setEventHotKeyService(std::move(service));
}

void SGWLHotKeyTest::cleanup()
{
    PTHotKeyCenter::sharedCenter()->unregisterAllHotKeys();
    QVERIFY(m_service->registrations().isEmpty());
}

HotKeyID SGWLHotKeyTest::registrationOf(const QString &name) const
{
    const PTHotKeyPtr hotKey = PTHotKeyCenter::sharedCenter()->hotKeyForName(name);
    return hotKey && hotKey->registration() ? *hotKey->registration() : HotKeyID{};
}

void SGWLHotKeyTest::hotKeyModifiers_data()
{
    QTest::addColumn<quint32>("flags");
    QTest::addColumn<qint32>("bits");
    QTest::newRow("none") << 0u << 0;
    QTest::newRow("command") << 0x100000u << 0x100;
    QTest::newRow("shift") << 0x20000u << 0x200;
    QTest::newRow("option") << 0x80000u << 0x800;
    QTest::newRow("control") << 0x40000u << 0x1000;
    QTest::newRow("function") << 0x800000u << 0x1;
    QTest::newRow("command-shift") << 0x120000u << 0x300;
    QTest::newRow("all five") << 0x9E0000u << 0x1B01;
    QTest::newRow("caps lock dropped") << 0x10000u << 0;
    QTest::newRow("device bits dropped") << (0x100000u | 0x8u) << 0x100;
    QTest::newRow("numeric pad dropped") << (0x200000u | 0x40000u) << 0x1000;
}

void SGWLHotKeyTest::hotKeyModifiers()
{
    QFETCH(quint32, flags);
    QTEST(SGWLHotKey::hotKeyModifiers(flags), "bits");
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
    QCOMPARE(SGWLHotKey::eventModifierFlags(bits), flags);
    if (bits >= 0)
        QCOMPARE(SGWLHotKey::hotKeyModifiers(flags), bits & 0x1B01);
}

void SGWLHotKeyTest::hotKeyName()
{
    QCOMPARE(SGWLHotKey::hotKeyName(2, 1048576), QStringLiteral("2-1048576"));
    QCOMPARE(SGWLHotKey::hotKeyName(0, 0), QStringLiteral("0-0"));
    QCOMPARE(SGWLHotKey::hotKeyName(4294967295u, 8781824), QStringLiteral("4294967295-8781824"));
}

void SGWLHotKeyTest::registersExclusiveConverted()
{
    QVERIFY(SGWLHotKey::registerAttributeName(QStringLiteral("40-1179648"), 40, 0x120000));
    QCOMPARE(m_service->registrations().size(), 1);
    const auto &registration = m_service->registrations().first();
    QCOMPARE(registration.keyCode, 40u);
    QCOMPARE(registration.modifiers, 0x300u);
    QVERIFY(registration.exclusive);
    QCOMPARE(registration.hotKeyID.signature, PTHotKeyCenter::HotKeySignature);

    const PTHotKeyPtr hotKey = PTHotKeyCenter::sharedCenter()->hotKeyForName(QStringLiteral("40-1179648"));
    QVERIFY(hotKey);
    QCOMPARE(hotKey->keyCombo(), PTKeyCombo::keyComboWithKeyCode(40, 0x300));
    QCOMPARE(hotKey->keyCombo().description(), QStringLiteral("⌘⇧K"));

    SGWLHotKey::unregisterHotKeyForName(QStringLiteral("40-1179648"));
    QVERIFY(m_service->registrations().isEmpty());
}

void SGWLHotKeyTest::actionHotKeyPressed()
{
    PTHotKeyCenter *center = PTHotKeyCenter::sharedCenter();
    QSignalSpy actions(center, &PTHotKeyCenter::gloableHotKeyPressed);
    QSignalSpy wake(center, &PTHotKeyCenter::openMainView);
    const QString name = SGWLHotKey::hotKeyName(2, 1048576);
    QVERIFY(SGWLHotKey::registerAttributeName(name, 2, 1048576));

    QVERIFY(m_service->deliver(registrationOf(name), KorvaneEventHotKeyService::HotKeyPressed));
    QCOMPARE(actions.count(), 1);
    QCOMPARE(actions.first().first().toString(), QStringLiteral("2-1048576"));
    QCOMPARE(wake.count(), 0);
    m_service->deliver(registrationOf(name), KorvaneEventHotKeyService::HotKeyReleased);
    QCOMPARE(actions.count(), 1);
}

void SGWLHotKeyTest::wakeHotKeyPressed()
{
    PTHotKeyCenter *center = PTHotKeyCenter::sharedCenter();
    QSignalSpy actions(center, &PTHotKeyCenter::gloableHotKeyPressed);
    QSignalSpy wake(center, &PTHotKeyCenter::openMainView);
    QVERIFY(SGWLHotKey::registerAttributeName(SGWLHotKey::WakeHotKeyName, 2, 1048576));
    QCOMPARE(m_service->registrations().first().modifiers, 0x100u);

    m_service->deliver(registrationOf(QStringLiteral("wakeHotKey")), KorvaneEventHotKeyService::HotKeyPressed);
    QCOMPARE(wake.count(), 1);
    QCOMPARE(actions.count(), 0);
}

void SGWLHotKeyTest::withoutModifiersNotRegistered_data()
{
    QTest::addColumn<quint32>("flags");
    QTest::newRow("none") << 0u;
    QTest::newRow("caps lock only") << 0x10000u;
    QTest::newRow("device bits only") << 0xFFu;
}

void SGWLHotKeyTest::withoutModifiersNotRegistered()
{
    // Stored with the action but never registered: the registry answers success.
    QFETCH(quint32, flags);
    const QString name = SGWLHotKey::hotKeyName(96, flags);
    QVERIFY(SGWLHotKey::registerAttributeName(name, 96, flags));
    QVERIFY(m_service->registrations().isEmpty());
    QVERIFY(!PTHotKeyCenter::sharedCenter()->hotKeyForName(name));
}

void SGWLHotKeyTest::refusedIsReported()
{
    m_service->refuse(3, 0x1100);
    QVERIFY(!SGWLHotKey::registerAttributeName(QStringLiteral("3-1310720"), 3, 0x140000));
    QVERIFY(!PTHotKeyCenter::sharedCenter()->hotKeyForName(QStringLiteral("3-1310720")));
    QVERIFY(m_service->registrations().isEmpty());
}

void SGWLHotKeyTest::storeServiceGoesThroughRegistry()
{
    SGWLHotKeyService service;
    QSignalSpy actions(PTHotKeyCenter::sharedCenter(), &PTHotKeyCenter::gloableHotKeyPressed);
    QVERIFY(service.registerHotKey(QStringLiteral("17-1572864"), 17, 0x180000));
    QCOMPARE(m_service->registrations().size(), 1);
    QCOMPARE(m_service->registrations().first().modifiers, 0x900u);
    // The same combination for a second name is refused, as another action already has it.
    QVERIFY(!service.registerHotKey(QStringLiteral("other"), 17, 0x180000));

    m_service->deliver(registrationOf(QStringLiteral("17-1572864")), KorvaneEventHotKeyService::HotKeyPressed);
    QCOMPARE(actions.count(), 1);
    QCOMPARE(actions.first().first().toString(), QStringLiteral("17-1572864"));

    service.unregisterHotKey(QStringLiteral("17-1572864"));
    QVERIFY(m_service->registrations().isEmpty());
}

QTEST_GUILESS_MAIN(SGWLHotKeyTest)
#include "sgwlhotkeytest.moc"
