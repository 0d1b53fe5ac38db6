#include "shell/hotkeys/globalshortcutregistry.h"

#include "platform/headlessshortcutbackend.h"

#include <QSignalSpy>
#include <QTest>

using HotKeyID = GlobalShortcutBackend::HotKeyID;

namespace {

constexpr quint32 kPTHk = GlobalShortcutBackend::fourCharCode("PTHk");

PTHotKeyPtr makeHotKey(const QString &name, qint32 keyCode, qint32 modifiers, QObject *target, QStringList *pressed)
{
    auto hotKey = std::make_shared<GlobalShortcut>(name, StoredKeyCombination::keyComboWithKeyCode(keyCode, modifiers));
    hotKey->setTarget(target);
    hotKey->setAction([pressed](const GlobalShortcut &key) { pressed->append(key.name()); });
    return hotKey;
}

} // namespace

class PTHotKeyCenterTest final : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup();
    void registersWithSignatureAndNumber();
    void numbersAreNeverReused();
    void invalidCombinationIsSkipped_data();
    void invalidCombinationIsSkipped();
    void refusedCombinationChangesNothing();
    void pressReachesOnlyItsLiveHotKey();
    void unregisterReleasesRegistration();
    void secondRegistrationUnderNameKeepsTheFirst();
    void updateHotKeyReplaces();
    void registrationCanBeSwitchedOff();

private:
    std::unique_ptr<HeadlessShortcutBackend> m_service;
    std::unique_ptr<GlobalShortcutRegistry> m_center;
    std::unique_ptr<QObject> m_target;
    QStringList m_pressed;
};

void PTHotKeyCenterTest::init()
{
    m_service = std::make_unique<HeadlessShortcutBackend>();
    m_center = std::make_unique<GlobalShortcutRegistry>(m_service.get());
    m_target = std::make_unique<QObject>();
    m_pressed.clear();
}

void PTHotKeyCenterTest::cleanup()
{
    m_center.reset();
    m_service.reset();
}

void PTHotKeyCenterTest::registersWithSignatureAndNumber()
{
    auto hotKey = makeHotKey(QStringLiteral("2-1048576"), 2, 0x100, m_target.get(), &m_pressed);
    hotKey->setIsExclusive(true);
    QVERIFY(!m_center->isEventHandlerInstalled());
    QVERIFY(m_center->registerHotKey(hotKey));
    QVERIFY(m_center->isEventHandlerInstalled());

    QCOMPARE(m_service->registrations().size(), 1);
    const auto &registration = m_service->registrations().first();
    QCOMPARE(registration.keyCode, 2u);
    QCOMPARE(registration.modifiers, 0x100u);
    QCOMPARE(registration.hotKeyID, (HotKeyID{kPTHk, 1}));
    QVERIFY(registration.exclusive);
    QCOMPARE(hotKey->registration(), std::optional(HotKeyID{kPTHk, 1}));
    QCOMPARE(m_center->hotKeyForName(QStringLiteral("2-1048576")), hotKey);
    QCOMPARE(m_center->allHotKeys(), QList<PTHotKeyPtr>{hotKey});

    // The handler is installed once and stays.
    QVERIFY(m_center->registerHotKey(makeHotKey(QStringLiteral("b"), 11, 0x100, m_target.get(), &m_pressed)));
    m_center->unregisterAllHotKeys();
    QCOMPARE(m_service->handlerInstallCount(), 1);
    QVERIFY(m_center->isEventHandlerInstalled());
}

void PTHotKeyCenterTest::numbersAreNeverReused()
{
    auto a = makeHotKey(QStringLiteral("a"), 0, 0x100, m_target.get(), &m_pressed);
    auto b = makeHotKey(QStringLiteral("b"), 11, 0x100, m_target.get(), &m_pressed);
    auto c = makeHotKey(QStringLiteral("c"), 8, 0x100, m_target.get(), &m_pressed);
    QVERIFY(m_center->registerHotKey(a));
    QVERIFY(m_center->registerHotKey(b));
    m_center->unregisterHotKey(a);
    QVERIFY(m_center->registerHotKey(c));
    QCOMPARE(b->registration()->id, 2u);
    QCOMPARE(c->registration()->id, 3u);

    // The number of a released hotkey no longer reaches anything.
    m_service->deliver({kPTHk, 1}, GlobalShortcutBackend::HotKeyPressed);
    QVERIFY(m_pressed.isEmpty());
    m_service->deliver({kPTHk, 3}, GlobalShortcutBackend::HotKeyPressed);
    QCOMPARE(m_pressed, QStringList{QStringLiteral("c")});
}

void PTHotKeyCenterTest::invalidCombinationIsSkipped_data()
{
    QTest::addColumn<int>("keyCode");
    QTest::addColumn<int>("modifiers");
    QTest::newRow("no modifier") << 2 << 0;
    QTest::newRow("clear") << -1 << -1;
    QTest::newRow("no key") << -1 << 0x100;
}

void PTHotKeyCenterTest::invalidCombinationIsSkipped()
{
    QFETCH(int, keyCode);
    QFETCH(int, modifiers);
    auto hotKey = makeHotKey(QStringLiteral("x"), keyCode, modifiers, m_target.get(), &m_pressed);
    QVERIFY(m_center->registerHotKey(hotKey));
    QVERIFY(m_service->registrations().isEmpty());
    QVERIFY(!m_center->hotKeyForName(QStringLiteral("x")));
    QVERIFY(!hotKey->registration());
    QVERIFY(!m_center->isEventHandlerInstalled());

    // No number was spent on it.
    QVERIFY(m_center->registerHotKey(makeHotKey(QStringLiteral("y"), 2, 0x100, m_target.get(), &m_pressed)));
    QCOMPARE(m_service->registrations().first().hotKeyID.id, 1u);
}

void PTHotKeyCenterTest::refusedCombinationChangesNothing()
{
    m_service->refuse(2, 0x100);
    auto refused = makeHotKey(QStringLiteral("2-1048576"), 2, 0x100, m_target.get(), &m_pressed);
    QVERIFY(!m_center->registerHotKey(refused));
    QVERIFY(!m_center->hotKeyForName(QStringLiteral("2-1048576")));
    QVERIFY(!refused->registration());
    QVERIFY(!m_center->isEventHandlerInstalled());

    auto next = makeHotKey(QStringLiteral("other"), 2, 0x300, m_target.get(), &m_pressed);
    QVERIFY(m_center->registerHotKey(next));
    QCOMPARE(next->registration()->id, 1u);

    // A combination already taken is refused too, and the first keeps it.
    QVERIFY(!m_center->registerHotKey(makeHotKey(QStringLiteral("second"), 2, 0x300, m_target.get(), &m_pressed)));
    QVERIFY(!m_center->hotKeyForName(QStringLiteral("second")));
    m_service->deliver(*next->registration(), GlobalShortcutBackend::HotKeyPressed);
    QCOMPARE(m_pressed, QStringList{QStringLiteral("other")});
}

void PTHotKeyCenterTest::pressReachesOnlyItsLiveHotKey()
{
    auto hotKey = makeHotKey(QStringLiteral("k"), 40, 0x100, m_target.get(), &m_pressed);
    QVERIFY(m_center->registerHotKey(hotKey));
    QVERIFY(m_service->deliver(*hotKey->registration(), GlobalShortcutBackend::HotKeyReleased));
    QVERIFY(m_pressed.isEmpty());
    m_service->deliver(*hotKey->registration(), GlobalShortcutBackend::HotKeyPressed);
    m_service->deliver(*hotKey->registration(), GlobalShortcutBackend::HotKeyPressed);
    m_service->deliver({kPTHk, 99}, GlobalShortcutBackend::HotKeyPressed);
    // The number decides, not the signature.
    m_service->deliver({GlobalShortcutBackend::fourCharCode("Xxxx"), 1}, GlobalShortcutBackend::HotKeyPressed);
    QCOMPARE(m_pressed, QStringList(3, QStringLiteral("k")));

    m_target.reset();
    m_service->deliver(*hotKey->registration(), GlobalShortcutBackend::HotKeyPressed);
    QCOMPARE(m_pressed.size(), 3);
}

void PTHotKeyCenterTest::unregisterReleasesRegistration()
{
    auto hotKey = makeHotKey(QStringLiteral("k"), 40, 0x100, m_target.get(), &m_pressed);
    QVERIFY(m_center->registerHotKey(hotKey));
    m_center->unregisterHotKeyForName(QStringLiteral("unknown"));
    m_center->unregisterHotKey(makeHotKey(QStringLiteral("stranger"), 40, 0x100, m_target.get(), &m_pressed));
    QCOMPARE(m_center->allHotKeys().size(), 1);
    m_center->unregisterHotKeyForName(QStringLiteral("k"));
    QVERIFY(m_service->registrations().isEmpty());
    QVERIFY(!m_center->hotKeyForName(QStringLiteral("k")));
    QVERIFY(!hotKey->registration());
    // The combination is free again.
    QVERIFY(m_center->registerHotKey(makeHotKey(QStringLiteral("again"), 40, 0x100, m_target.get(), &m_pressed)));
}

void PTHotKeyCenterTest::secondRegistrationUnderNameKeepsTheFirst()
{
    auto first = makeHotKey(QStringLiteral("same"), 40, 0x100, m_target.get(), &m_pressed);
    auto second = makeHotKey(QStringLiteral("same"), 11, 0x100, m_target.get(), &m_pressed);
    QVERIFY(m_center->registerHotKey(first));
    QVERIFY(m_center->registerHotKey(second));
    QCOMPARE(m_center->hotKeyForName(QStringLiteral("same")), second);
    QCOMPARE(m_service->registrations().size(), 2);

    // Unregistering the name releases only the hotkey stored under it.
    m_center->unregisterHotKeyForName(QStringLiteral("same"));
    QCOMPARE(m_service->registrations().size(), 1);
    QCOMPARE(m_service->registrations().first().keyCode, 40u);
    m_service->deliver(*first->registration(), GlobalShortcutBackend::HotKeyPressed);
    QCOMPARE(m_pressed, QStringList{QStringLiteral("same")});
}

void PTHotKeyCenterTest::updateHotKeyReplaces()
{
    QVERIFY(m_center->registerHotKey(makeHotKey(QStringLiteral("name"), 40, 0x100, m_target.get(), &m_pressed)));
    auto replacement = makeHotKey(QStringLiteral("name"), 11, 0x900, m_target.get(), &m_pressed);
    QVERIFY(m_center->updateHotKey(replacement));
    QCOMPARE(m_service->registrations().size(), 1);
    QCOMPARE(m_service->registrations().first().keyCode, 11u);
    QCOMPARE(m_service->registrations().first().modifiers, 0x900u);
    QCOMPARE(m_center->hotKeyForName(QStringLiteral("name")), replacement);
}

void PTHotKeyCenterTest::registrationCanBeSwitchedOff()
{
    auto hotKey = makeHotKey(QStringLiteral("k"), 40, 0x100, m_target.get(), &m_pressed);
    QVERIFY(m_center->registerHotKey(hotKey));
    m_center->setHotKeyRegistrationForName(QStringLiteral("k"), false);
    QVERIFY(m_service->registrations().isEmpty());
    QCOMPARE(m_center->hotKeyForName(QStringLiteral("k")), hotKey);
    m_service->deliver({kPTHk, 1}, GlobalShortcutBackend::HotKeyPressed);
    QVERIFY(m_pressed.isEmpty());

    m_center->setHotKeyRegistrationForName(QStringLiteral("k"), true);
    m_center->setHotKeyRegistrationForName(QStringLiteral("k"), true);
    QCOMPARE(m_service->registrations().size(), 1);
    QCOMPARE(hotKey->registration(), std::optional(HotKeyID{kPTHk, 2}));
    m_service->deliver({kPTHk, 2}, GlobalShortcutBackend::HotKeyPressed);
    QCOMPARE(m_pressed, QStringList{QStringLiteral("k")});
}

QTEST_GUILESS_MAIN(PTHotKeyCenterTest)
#include "tst_pthotkeycenter.moc"
