#include "shell/hotkeys/storedkeycombination.h"

#include <QTest>

class PTKeyComboTest final : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void validity_data();
    void validity();
    void plistRepresentation_data();
    void plistRepresentation();
    void roundTrip();
    void description_data();
    void description();
};

void PTKeyComboTest::validity_data()
{
    QTest::addColumn<int>("keyCode");
    QTest::addColumn<int>("modifiers");
    QTest::addColumn<bool>("valid");
    QTest::addColumn<bool>("clear");
    QTest::newRow("clear") << -1 << -1 << false << true;
    QTest::newRow("A with command") << 0 << 0x100 << true << false;
    QTest::newRow("no modifier") << 2 << 0 << false << false;
    QTest::newRow("function bit only") << 96 << 0x1 << true << false;
    QTest::newRow("no key") << -1 << 0x100 << false << false;
    QTest::newRow("key, modifiers cleared") << 2 << -1 << false << false;
}

void PTKeyComboTest::validity()
{
    QFETCH(int, keyCode);
    QFETCH(int, modifiers);
    const StoredKeyCombination combo = StoredKeyCombination::keyComboWithKeyCode(keyCode, modifiers);
    QTEST(combo.isValidHotKeyCombo(), "valid");
    QTEST(combo.isClearCombo(), "clear");
}

void PTKeyComboTest::plistRepresentation_data()
{
    QTest::addColumn<QVariant>("plist");
    QTest::addColumn<int>("keyCode");
    QTest::addColumn<int>("modifiers");
    QTest::newRow("command-D") << QVariant(QVariantMap{{QStringLiteral("keyCode"), 2}, {QStringLiteral("modifiers"), 256}}) << 2 << 256;
    QTest::newRow("key code 0 reads as cleared")
        << QVariant(QVariantMap{{QStringLiteral("keyCode"), 0}, {QStringLiteral("modifiers"), 256}}) << -1 << 256;
    QTest::newRow("smallest kept") << QVariant(QVariantMap{{QStringLiteral("keyCode"), 1}, {QStringLiteral("modifiers"), 1}}) << 1 << 1;
    QTest::newRow("negative") << QVariant(QVariantMap{{QStringLiteral("keyCode"), -7}, {QStringLiteral("modifiers"), -3}}) << -1 << -1;
    QTest::newRow("missing modifiers") << QVariant(QVariantMap{{QStringLiteral("keyCode"), 12}}) << 12 << -1;
    QTest::newRow("not a number") << QVariant(QVariantMap{{QStringLiteral("keyCode"), QStringLiteral("x")}, {QStringLiteral("modifiers"), 256}}) << -1 << 256;
    QTest::newRow("not a map") << QVariant(42) << -1 << -1;
}

void PTKeyComboTest::plistRepresentation()
{
    QFETCH(QVariant, plist);
    const StoredKeyCombination combo = StoredKeyCombination::initWithPlistRepresentation(plist);
    QTEST(combo.keyCode(), "keyCode");
    QTEST(combo.modifiers(), "modifiers");
}

void PTKeyComboTest::roundTrip()
{
    const StoredKeyCombination combo = StoredKeyCombination::keyComboWithKeyCode(40, 0x100 | 0x200);
    const QVariantMap plist = combo.plistRepresentation();
    QCOMPARE(plist.value(QStringLiteral("keyCode")).toInt(), 40);
    QCOMPARE(plist.value(QStringLiteral("modifiers")).toInt(), 0x300);
    QCOMPARE(StoredKeyCombination::initWithPlistRepresentation(plist), combo);
}

void PTKeyComboTest::description_data()
{
    QTest::addColumn<int>("keyCode");
    QTest::addColumn<int>("modifiers");
    QTest::addColumn<QString>("expected");
    QTest::newRow("modifier order") << 40 << (0x200 | 0x1000 | 0x800 | 0x100) << QStringLiteral("Ctrl+Alt+Shift+Super+K");
    QTest::newRow("keypad") << 82 << 0x100 << QStringLiteral("Super+Keypad 0");
    QTest::newRow("not in the table: hexadecimal") << 127 << 0x100 << QStringLiteral("Super+7F");
    QTest::newRow("function bit shows nothing") << 96 << 0x1 << QStringLiteral("F5");
    QTest::newRow("invalid") << 2 << 0 << QStringLiteral("(None)");
    QTest::newRow("clear") << -1 << -1 << QStringLiteral("(None)");
}

void PTKeyComboTest::description()
{
    QFETCH(int, keyCode);
    QFETCH(int, modifiers);
    QTEST(StoredKeyCombination::keyComboWithKeyCode(keyCode, modifiers).description(), "expected");
}

QTEST_GUILESS_MAIN(PTKeyComboTest)
#include "tst_ptkeycombo.moc"
