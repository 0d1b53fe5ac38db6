#include "common/storedshortcutcodec.h"

#include "platform/x11/xkbkeycodes.h"

#include <QTest>

namespace {

constexpr quint32 kShift = StoredShortcutCodec::ShiftFlag;
constexpr quint32 kControl = StoredShortcutCodec::ControlFlag;
constexpr quint32 kOption = StoredShortcutCodec::OptionFlag;
constexpr quint32 kCommand = StoredShortcutCodec::CommandFlag;
constexpr quint32 kAll = kShift | kControl | kOption | kCommand;
constexpr Qt::KeyboardModifiers kAllQt = Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier;

} // namespace

class StoredShortcutCodecTest final : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void decode_data();
    void decode();
    void everyStoredKeyRoundTrips();
    void unsupportedKeysAreRefused();
};

// Stored values as the store, "wakeHotKey" and exports from other systems hold them.
void StoredShortcutCodecTest::decode_data()
{
    QTest::addColumn<quint32>("keyCode");
    QTest::addColumn<quint32>("modifiers");
    QTest::addColumn<int>("keys");
    // Whether encoding the keys gives the stored values again.
    QTest::addColumn<bool>("roundTrip");
    QTest::newRow("none") << 0u << 0u << QKeyCombination().toCombined() << true;
    QTest::newRow("A with control") << 0u << kControl << (Qt::ControlModifier | Qt::Key_A).toCombined() << true;
    QTest::newRow("the wake default") << 40u << (kCommand | kShift) << (Qt::MetaModifier | Qt::ShiftModifier | Qt::Key_K).toCombined() << true;
    QTest::newRow("every modifier") << 49u << kAll << QKeyCombination(kAllQt, Qt::Key_Space).toCombined() << true;
    QTest::newRow("digit 0") << 29u << kCommand << (Qt::MetaModifier | Qt::Key_0).toCombined() << true;
    QTest::newRow("keypad 0") << 82u << kCommand << (Qt::MetaModifier | Qt::KeypadModifier | Qt::Key_0).toCombined() << true;
    QTest::newRow("keypad enter") << 76u << kOption << (Qt::AltModifier | Qt::KeypadModifier | Qt::Key_Enter).toCombined() << true;
    QTest::newRow("return") << 36u << kOption << (Qt::AltModifier | Qt::Key_Return).toCombined() << true;
    QTest::newRow("help is insert") << 114u << kControl << (Qt::ControlModifier | Qt::Key_Insert).toCombined() << true;
    QTest::newRow("the ISO key") << 10u << kCommand << (Qt::MetaModifier | Qt::Key_section).toCombined() << true;
    const std::pair<quint32, Qt::Key> functionKeys[] = {
        {122, Qt::Key_F1}, {120, Qt::Key_F2}, {99, Qt::Key_F3}, {118, Qt::Key_F4}, {96, Qt::Key_F5}, {97, Qt::Key_F6}, {98, Qt::Key_F7}, {100, Qt::Key_F8}, {101, Qt::Key_F9}, {109, Qt::Key_F10}, {103, Qt::Key_F11}, {111, Qt::Key_F12}, {105, Qt::Key_Print}, {107, Qt::Key_ScrollLock}, {113, Qt::Key_Pause}, {106, Qt::Key_F16}, {64, Qt::Key_F17}, {79, Qt::Key_F18}, {80, Qt::Key_F19}, {90, Qt::Key_F20}};
    for (const auto &[keyCode, key] : functionKeys)
        QTest::addRow("function key %u alone", keyCode) << keyCode << 0u << QKeyCombination(key).toCombined() << true;
    // Bits of keys the desktop has no modifier for.
    QTest::newRow("device bits dropped") << 2u << (kCommand | 0x108u) << (Qt::MetaModifier | Qt::Key_D).toCombined() << false;
    QTest::newRow("caps lock and function dropped") << 96u << (0x10000u | 0x800000u) << QKeyCombination(Qt::Key_F5).toCombined() << false;
    QTest::newRow("numeric pad dropped") << 83u << (0x200000u | kControl) << (Qt::ControlModifier | Qt::KeypadModifier | Qt::Key_1).toCombined() << false;
}

void StoredShortcutCodecTest::decode()
{
    QFETCH(quint32, keyCode);
    QFETCH(quint32, modifiers);
    const std::optional<QKeyCombination> decoded = StoredShortcutCodec::decode(keyCode, modifiers);
    QVERIFY(decoded);
    QTEST(decoded->toCombined(), "keys");
    const auto encoded = StoredShortcutCodec::encode(*decoded);
    QVERIFY(encoded);
    QTEST(*encoded == (StoredShortcutCodec::StoredShortcut{keyCode, modifiers}), "roundTrip");
}

// Every code that names a key comes back from its combination with every modifier, and the
// key has a place on the keyboard that names it again.
void StoredShortcutCodecTest::everyStoredKeyRoundTrips()
{
    int keys = 0;
    for (quint32 keyCode = 0; keyCode < 256; ++keyCode) {
        for (const quint32 modifiers : {kControl, kAll}) {
            const std::optional<QKeyCombination> decoded = StoredShortcutCodec::decode(keyCode, modifiers);
            if (!decoded)
                continue;
            ++keys;
            QVERIFY2(StoredShortcutCodec::encode(*decoded) == (StoredShortcutCodec::StoredShortcut{keyCode, modifiers}), qPrintable(QString::number(keyCode)));
            const QKeyCombination key(decoded->keyboardModifiers() & Qt::KeypadModifier, decoded->key());
            QCOMPARE(XkbKeyCodes::key(XkbKeyCodes::xkbKeyCode(*decoded)), std::optional(key));
        }
    }
    QCOMPARE(keys, 2 * 110);
}

// Codes that name no key (unused, a modifier, the old laptops' Enter, and past the codes), and
// keys no code names (those, a letter on the keypad, the group switch, none at all).
void StoredShortcutCodecTest::unsupportedKeysAreRefused()
{
    for (const quint32 keyCode : {66u, 55u, 52u, 300u, 128u, 1000u, 4096u})
        QVERIFY2(!StoredShortcutCodec::decode(keyCode, kCommand), qPrintable(QString::number(keyCode)));
    for (const QKeyCombination keys : {Qt::MetaModifier | Qt::Key_Shift, Qt::ControlModifier | Qt::Key_Meta, Qt::ControlModifier | Qt::Key_Enter, Qt::MetaModifier | Qt::Key_F13,
                                       Qt::MetaModifier | Qt::KeypadModifier | Qt::Key_A, Qt::GroupSwitchModifier | Qt::Key_A, QKeyCombination(Qt::ControlModifier)})
        QVERIFY2(!StoredShortcutCodec::encode(keys), qPrintable(QString::number(keys.toCombined(), 16)));
}

QTEST_GUILESS_MAIN(StoredShortcutCodecTest)
#include "tst_storedshortcutcodec.moc"
