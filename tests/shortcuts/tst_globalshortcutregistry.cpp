#include "shortcuts/globalshortcutregistry.h"

#include "platform/headless/headlessshortcutbackend.h"
#include "store/actionstore.h"
#include "store/droplistentity.h"

#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

using Event = GlobalShortcutBackend::Event;

namespace {

QKeyCombination meta(Qt::Key key)
{
    return QKeyCombination(Qt::MetaModifier, key);
}

} // namespace

class GlobalShortcutRegistryTest final : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void init();
    void cleanup();
    void registersWithNumbersNeverReused();
    void skippedOrRefused_data();
    void skippedOrRefused();
    void pressReachesOnlyItsLiveShortcut();
    void unregisterAndReplace();
    void wakeAndActionShortcuts();

private:
    // Registers a shortcut whose presses append its name to m_pressed while m_context lives.
    bool add(const QString &name, QKeyCombination keys);

    std::unique_ptr<HeadlessShortcutBackend> m_backend;
    std::unique_ptr<GlobalShortcutRegistry> m_registry;
    std::unique_ptr<QObject> m_context;
    QStringList m_pressed;
    QTemporaryDir m_data;
};

void GlobalShortcutRegistryTest::initTestCase()
{
    // A store of its own each run: an action of an earlier run would hold the same keys.
    qputenv("XDG_DATA_HOME", QFile::encodeName(m_data.path()));
    QVERIFY(ActionStore::instance()->openStore());
}

void GlobalShortcutRegistryTest::init()
{
    m_backend = std::make_unique<HeadlessShortcutBackend>();
    m_registry = std::make_unique<GlobalShortcutRegistry>(m_backend.get());
    m_context = std::make_unique<QObject>();
    m_pressed.clear();
}

void GlobalShortcutRegistryTest::cleanup()
{
    m_registry.reset();
    m_backend.reset();
}

bool GlobalShortcutRegistryTest::add(const QString &name, QKeyCombination keys)
{
    return m_registry->registerShortcut(GlobalShortcut(name, keys, m_context.get(), [this, name] { m_pressed.append(name); }));
}

void GlobalShortcutRegistryTest::registersWithNumbersNeverReused()
{
    QVERIFY(add(QStringLiteral("a"), meta(Qt::Key_A)));
    QVERIFY(add(QStringLiteral("b"), meta(Qt::Key_B)));
    m_registry->unregisterShortcut(QStringLiteral("a"));
    QVERIFY(add(QStringLiteral("c"), meta(Qt::Key_C)));
    QCOMPARE(m_backend->registrations().size(), 2);
    QCOMPARE(m_backend->registrations().at(0).id, 2u);
    QCOMPARE(m_backend->registrations().at(1).id, 3u);
    QCOMPARE(m_backend->registrations().at(1).keys, meta(Qt::Key_C));
    QCOMPARE(m_registry->keys(QStringLiteral("c")), std::optional(meta(Qt::Key_C)));
    // The handlers are set once, with the first registration.
    QCOMPARE(m_backend->handlerCount(), 1);

    // The number of a released shortcut no longer reaches anything.
    m_backend->deliver(1, Event::Pressed);
    QVERIFY(m_pressed.isEmpty());
    m_backend->deliver(3, Event::Pressed);
    QCOMPARE(m_pressed, QStringList{QStringLiteral("c")});
}

void GlobalShortcutRegistryTest::skippedOrRefused_data()
{
    QTest::addColumn<QKeyCombination>("keys");
    // "held": another program holds the keys; "taken": another shortcut of ours has them.
    QTest::addColumn<QString>("holder");
    QTest::addColumn<bool>("answer");
    QTest::newRow("no modifier") << QKeyCombination(Qt::Key_F5) << QString() << true;
    QTest::newRow("empty") << QKeyCombination() << QString() << true;
    QTest::newRow("the keypad is no modifier") << QKeyCombination(Qt::KeypadModifier, Qt::Key_5) << QString() << true;
    QTest::newRow("held elsewhere") << meta(Qt::Key_D) << QStringLiteral("held") << false;
    QTest::newRow("taken by another name") << meta(Qt::Key_D) << QStringLiteral("taken") << false;
}

// Neither a skipped nor a refused shortcut holds anything or spends a number; a refusal is
// told and counts as the key taken.
void GlobalShortcutRegistryTest::skippedOrRefused()
{
    QFETCH(QKeyCombination, keys);
    QFETCH(QString, holder);
    QFETCH(bool, answer);
    if (holder == QLatin1String("held"))
        m_backend->refuse(keys);
    else if (!holder.isEmpty())
        QVERIFY(add(QStringLiteral("first"), keys));
    QSignalSpy told(m_registry.get(), &GlobalShortcutRegistry::bindingChanged);
    QCOMPARE(add(QStringLiteral("x"), keys), answer);
    QVERIFY(!m_registry->keys(QStringLiteral("x")));
    QCOMPARE(m_registry->binding(QStringLiteral("x")).state, answer ? GlobalShortcutBackend::Binding::Bound : GlobalShortcutBackend::Binding::Refused);
    QCOMPARE(told.count(), answer ? 0 : 1);

    const quint32 taken = holder == QLatin1String("taken") ? 1 : 0;
    QCOMPARE(m_backend->registrations().size(), int(taken));
    QVERIFY(add(QStringLiteral("next"), meta(Qt::Key_Y)));
    QCOMPARE(m_backend->registrations().last().id, taken + 1);
    // The first keeps what it holds.
    m_backend->deliver(1, Event::Pressed);
    QCOMPARE(m_pressed, QStringList{taken ? QStringLiteral("first") : QStringLiteral("next")});
}

void GlobalShortcutRegistryTest::pressReachesOnlyItsLiveShortcut()
{
    QVERIFY(add(QStringLiteral("k"), meta(Qt::Key_K)));
    QVERIFY(m_backend->deliver(1, Event::Released));
    QVERIFY(m_pressed.isEmpty());
    m_backend->deliver(1, Event::Pressed);
    m_backend->deliver(1, Event::Pressed);
    m_backend->deliver(99, Event::Pressed);
    QCOMPARE(m_pressed, QStringList(2, QStringLiteral("k")));

    m_context.reset();
    m_backend->deliver(1, Event::Pressed);
    QCOMPARE(m_pressed.size(), 2);
}

void GlobalShortcutRegistryTest::unregisterAndReplace()
{
    const QKeyCombination ctrlAltB(Qt::ControlModifier | Qt::AltModifier, Qt::Key_B);
    QVERIFY(add(QStringLiteral("k"), meta(Qt::Key_K)));
    m_registry->unregisterShortcut(QStringLiteral("unknown"));
    // The same name again takes the place of the first.
    QVERIFY(add(QStringLiteral("k"), ctrlAltB));
    QCOMPARE(m_backend->registrations().size(), 1);
    QCOMPARE(m_backend->registrations().first().keys, ctrlAltB);
    QVERIFY(add(QStringLiteral("other"), meta(Qt::Key_K)));

    m_registry->unregisterShortcut(QStringLiteral("k"));
    QVERIFY(!m_registry->keys(QStringLiteral("k")));
    QVERIFY(!m_backend->isRegistered(ctrlAltB));
    QVERIFY(add(QStringLiteral("again"), ctrlAltB));

    // A refused shortcut holds nothing, yet its warning ends with it.
    m_backend->refuse(meta(Qt::Key_R));
    QVERIFY(!add(QStringLiteral("refused"), meta(Qt::Key_R)));
    QSignalSpy told(m_registry.get(), &GlobalShortcutRegistry::bindingChanged);
    m_registry->unregisterShortcut(QStringLiteral("refused"));
    QCOMPARE(told.count(), 1);
    QCOMPARE(m_registry->binding(QStringLiteral("refused")).state, GlobalShortcutBackend::Binding::Bound);

    m_registry->unregisterAll();
    QVERIFY(m_backend->registrations().isEmpty());
}

// The wake shortcut from "wakeHotKey", an action's from its record; a press of the one opens
// the list, of the other names the action that holds the keys.
void GlobalShortcutRegistryTest::wakeAndActionShortcuts()
{
    ActionStore *store = ActionStore::instance();
    const DropListEntityPtr drop = store->getNewDrop(0, 2, 0);
    drop->setTitle(QStringLiteral("Count"));
    drop->setKeyCode(40);
    drop->setModifiers(0x120000);
    const DropListEntityPtr placeless = store->getNewDrop(0, 3, 1);
    placeless->setKeyCode(66);
    placeless->setModifiers(0x100000);
    QVERIFY(store->saveDataChange());
    Korvane::Settings::wakeHotKey.write({2, 0x100000});

    QSignalSpy wake(m_registry.get(), &GlobalShortcutRegistry::wakeActivated);
    QSignalSpy actions(m_registry.get(), &GlobalShortcutRegistry::actionActivated);
    QCOMPARE(GlobalShortcutRegistry::actionShortcutName(*drop), QStringLiteral("40-1179648"));
    QVERIFY(m_registry->registerActionShortcut(*drop));
    QVERIFY(m_registry->registerWakeShortcut());
    QVERIFY(!m_registry->registerActionShortcut(*placeless));
    QCOMPARE(m_registry->binding(QStringLiteral("66-1048576")).state, GlobalShortcutBackend::Binding::Refused);
    QCOMPARE(m_registry->keys(QStringLiteral("40-1179648")), std::optional(QKeyCombination(Qt::MetaModifier | Qt::ShiftModifier, Qt::Key_K)));
    QCOMPARE(m_registry->keys(GlobalShortcutRegistry::WakeShortcutName), std::optional(meta(Qt::Key_D)));

    m_backend->deliver(1, Event::Pressed);
    QCOMPARE(actions.count(), 1);
    QCOMPARE(actions.first().first().value<DropListEntityPtr>()->dropID(), drop->dropID());
    QCOMPARE(wake.count(), 0);
    m_backend->deliver(2, Event::Pressed);
    QCOMPARE(wake.count(), 1);
    QCOMPARE(actions.count(), 1);

    // No wake shortcut stored: none registered.
    Korvane::Settings::wakeHotKey.write({0, 0});
    QVERIFY(m_registry->registerWakeShortcut());
    QVERIFY(!m_registry->keys(GlobalShortcutRegistry::WakeShortcutName));
}

QTEST_GUILESS_MAIN(GlobalShortcutRegistryTest)
#include "tst_globalshortcutregistry.moc"
