#include "shell/hotkeys/recordedshortcut.h"
#include "shell/hotkeys/shortcutrecorder.h"

#include "platform/headlessshortcutbackend.h"
#include "platform/platform.h"

#include <QTest>

namespace {

constexpr quint32 kShift = 0x20000;
constexpr quint32 kControl = 0x40000;
constexpr quint32 kOption = 0x80000;
constexpr quint32 kCommand = 0x100000;
constexpr quint32 kFunction = 0x800000;
constexpr quint32 kCapsLock = 0x10000;

} // namespace

Q_DECLARE_METATYPE(ShortcutRecorder::Outcome)

class PRLHotKeyTest final : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void displayString_data();
    void displayString();
    void layoutCharacter();
    void recordKey_data();
    void recordKey();
    void hotKeyForString_data();
    void hotKeyForString();
    void unknownNameGivesNoValue();
    void displayReadsBack_data();
    void displayReadsBack();
    void stringForKey_data();
    void stringForKey();
    void valueAndArchive();
    void eventModifierFlags_data();
    void eventModifierFlags();

private:
    HeadlessShortcutBackend *m_service = nullptr;
};

void PRLHotKeyTest::initTestCase()
{
    auto service = std::make_unique<HeadlessShortcutBackend>();
    m_service = service.get();
    Platform::setEventHotKeyService(std::move(service));
}

void PRLHotKeyTest::displayString_data()
{
    QTest::addColumn<quint32>("keyCode");
    QTest::addColumn<quint32>("flags");
    QTest::addColumn<QString>("expected");
    QTest::newRow("nothing") << 0u << 0u << QString();
    QTest::newRow("A key with caps lock only") << 0u << kCapsLock << QStringLiteral("A");
    QTest::newRow("the function flag shows nothing") << 96u << kFunction << QStringLiteral("F5");
    QTest::newRow("shift-super-K") << 40u << (kCommand | kShift) << QStringLiteral("Shift+Super+K");
    QTest::newRow("every flag, in order") << 122u << (kFunction | kCommand | kOption | kShift | kControl) << QStringLiteral("Ctrl+Alt+Shift+Super+F1");
    QTest::newRow("F13 sits at Print") << 105u << 0u << QStringLiteral("Print");
    QTest::newRow("return alone") << 36u << 0u << QStringLiteral("Return");
    QTest::newRow("arrow") << 126u << kOption << QStringLiteral("Alt+Up");
    QTest::newRow("keypad 9 skips 90") << 92u << kCommand << QStringLiteral("Super+9");
    QTest::newRow("help sits at Insert") << 114u << kControl << QStringLiteral("Ctrl+Ins");
    QTest::newRow("no name anywhere") << 66u << kCommand << QStringLiteral("Super+#66");
    QTest::newRow("other bits show nothing") << 2u << (kCommand | 0x100u) << QStringLiteral("Super+D");
}

void PRLHotKeyTest::displayString()
{
    QFETCH(quint32, keyCode);
    QFETCH(quint32, flags);
    QFETCH(QString, expected);
    QCOMPARE(RecordedShortcut::stringForKeyCode(keyCode, flags), expected);
    const RecordedShortcut hotKey(keyCode, flags);
    QCOMPARE(hotKey.displayString(), expected);
    QCOMPARE(hotKey.stringRepresentation(), expected);
}

void PRLHotKeyTest::layoutCharacter()
{
    // On a French layout the key at the place of Q types "a".
    m_service->setKeyCharacter(12, QStringLiteral("a"));
    const RecordedShortcut made(12, kCommand);
    QCOMPARE(made.displayString(), QStringLiteral("Super+A"));
    QCOMPARE(RecordedShortcut::hotKeyForString(QStringLiteral("Super+A"))->keyCode(), 12u);
    // Special keys keep their names whatever the layout types.
    m_service->setKeyCharacter(36, QStringLiteral("x"));
    QCOMPARE(RecordedShortcut::stringForKeyCode(36, kCommand), QStringLiteral("Super+Return"));
    m_service->setKeyCharacter(36, QString());

    m_service->setKeyCharacter(12, QString());
    QCOMPARE(made.displayString(), QStringLiteral("Super+A"));
    QCOMPARE(made.stringRepresentation(), QStringLiteral("Super+Q"));
    QCOMPARE(RecordedShortcut::hotKeyForString(QStringLiteral("Super+Q"))->keyCode(), 12u);
}

void PRLHotKeyTest::recordKey_data()
{
    QTest::addColumn<quint32>("keyCode");
    QTest::addColumn<quint32>("flags");
    QTest::addColumn<ShortcutRecorder::Outcome>("outcome");
    QTest::addColumn<QString>("shown");
    using O = ShortcutRecorder::Outcome;
    QTest::newRow("tab passes on") << 48u << 0u << O::PassOn << QString();
    QTest::newRow("tab with command passes on") << 48u << kCommand << O::PassOn << QString();
    QTest::newRow("delete clears") << 51u << 0u << O::Clear << QString();
    QTest::newRow("forward delete clears") << 117u << 0u << O::Clear << QString();
    QTest::newRow("delete with caps lock is a key") << 51u << kCapsLock << O::Take << QStringLiteral("Backspace");
    QTest::newRow("caps lock lies outside the plain mask") << 0u << kCapsLock << O::Take << QStringLiteral("A");
    QTest::newRow("device bits stay plain") << 0u << 0xFFu << O::Keep << QString();
    QTest::newRow("delete with command is taken") << 51u << kCommand << O::Take << QStringLiteral("Super+Backspace");
    QTest::newRow("A alone is refused") << 0u << 0u << O::Keep << QString();
    QTest::newRow("shift-A is refused") << 0u << kShift << O::Keep << QString();
    QTest::newRow("F5 without fn") << 96u << 0u << O::Take << QStringLiteral("F5");
    QTest::newRow("Print is a function key") << 105u << kCapsLock << O::Take << QStringLiteral("Print");
    QTest::newRow("shift-F5 begins with shift") << 96u << kShift << O::Keep << QString();
    QTest::newRow("fn F5") << 96u << kFunction << O::Take << QStringLiteral("F5");
    QTest::newRow("shift-super-K") << 40u << (kCommand | kShift) << O::Take << QStringLiteral("Shift+Super+K");
    QTest::newRow("control-A") << 0u << kControl << O::Take << QStringLiteral("Ctrl+A");
    QTest::newRow("return alone") << 36u << 0u << O::Keep << QString();
}

void PRLHotKeyTest::recordKey()
{
    QFETCH(quint32, keyCode);
    QFETCH(quint32, flags);
    QFETCH(ShortcutRecorder::Outcome, outcome);
    QFETCH(QString, shown);
    const ShortcutRecorder::Result result = ShortcutRecorder::recordKey(keyCode, flags);
    QCOMPARE(result.outcome, outcome);
    QCOMPARE(result.endsEditing(), outcome != ShortcutRecorder::Outcome::PassOn);
    if (outcome == ShortcutRecorder::Outcome::Take) {
        QCOMPARE(result.hotKey, RecordedShortcut(keyCode, flags));
        QCOMPARE(result.hotKey.displayString(), shown);
    } else {
        QVERIFY(result.hotKey.isEmpty());
    }
}

void PRLHotKeyTest::hotKeyForString_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<quint32>("keyCode");
    QTest::addColumn<quint32>("flags");
    QTest::newRow("shift-super-K") << QStringLiteral("Shift+Super+K") << 40u << (kShift | kCommand);
    QTest::newRow("any case, as typed") << QStringLiteral("ctrl+alt+k") << 40u << (kControl | kOption);
    QTest::newRow("every modifier") << QStringLiteral("Ctrl+Alt+Shift+Super+F1") << 122u << (kCommand | kOption | kShift | kControl);
    QTest::newRow("KDE's Meta, any order") << QStringLiteral("Meta+Control+D") << 2u << (kCommand | kControl);
    QTest::newRow("no modifiers") << QStringLiteral("F5") << 96u << 0u;
    QTest::newRow("empty") << QString() << 0u << 0u;
    QTest::newRow("the plus key") << QStringLiteral("Ctrl++") << 69u << kControl;
    QTest::newRow("another name of a key") << QStringLiteral("Alt+Enter") << 36u << kOption;
}

void PRLHotKeyTest::hotKeyForString()
{
    // The names become known by being shown.
    for (const auto &[keyCode, flags] : {std::pair{40u, 0u}, {96u, 0u}, {122u, 0u}, {2u, 0u}, {126u, 0u}})
        RecordedShortcut::stringForKeyCode(keyCode, flags | kCommand);
    QFETCH(QString, text);
    const std::optional<RecordedShortcut> hotKey = RecordedShortcut::hotKeyForString(text);
    QVERIFY(hotKey.has_value());
    QTEST(hotKey->keyCode(), "keyCode");
    QTEST(hotKey->modifiers(), "flags");
}

void PRLHotKeyTest::unknownNameGivesNoValue()
{
    for (const char *text : {"Super+Ω", "Nonsense", "Super+#300", "Ctrl+Ctrl+K", "Ctrl+", "Hyper+K", "⌘ D"})
        QVERIFY2(!RecordedShortcut::hotKeyForString(QString::fromUtf8(text)).has_value(), text);
}

void PRLHotKeyTest::displayReadsBack_data()
{
    QTest::addColumn<quint32>("keyCode");
    for (quint32 keyCode = 0; keyCode < 128; ++keyCode)
        QTest::addRow("key %u", keyCode) << keyCode;
}

void PRLHotKeyTest::displayReadsBack()
{
    // Keys that share a character (the digit and the keypad digit) read back as either;
    // what is shown must be the same again.
    QFETCH(quint32, keyCode);
    const QString shown = RecordedShortcut::stringForKeyCode(keyCode, kCommand | kOption);
    const std::optional<RecordedShortcut> parsed = RecordedShortcut::hotKeyForString(shown);
    QVERIFY2(parsed.has_value(), qPrintable(shown));
    QCOMPARE(parsed->modifiers(), kCommand | kOption);
    QCOMPARE(parsed->displayString(), shown);
}

void PRLHotKeyTest::stringForKey_data()
{
    QTest::addColumn<quint32>("keyCode");
    QTest::addColumn<QString>("expected");
    QTest::newRow("return") << 36u << QStringLiteral("⏎");
    QTest::newRow("clear shows escape") << 71u << QStringLiteral("⎋");
    QTest::newRow("forward delete") << 117u << QStringLiteral("⌫");
    QTest::newRow("keypad dot") << 65u << QStringLiteral(".");
    QTest::newRow("keypad 0") << 82u << QStringLiteral("0");
    QTest::newRow("function key") << 122u << QStringLiteral(" ");
    QTest::newRow("unknown") << 66u << QString();
    QTest::newRow("beyond the table") << 500u << QString();
}

void PRLHotKeyTest::stringForKey()
{
    QFETCH(quint32, keyCode);
    QTEST(RecordedShortcut::stringForKey(keyCode), "expected");
}

void PRLHotKeyTest::valueAndArchive()
{
    const RecordedShortcut empty(0, 0);
    QVERIFY(empty.isEmpty());
    QCOMPARE(empty.displayString(), QString());
    QVERIFY(!RecordedShortcut(0, kCommand).isEmpty());
    QVERIFY(!RecordedShortcut(2, 0).isEmpty());

    const RecordedShortcut wake(2, kCommand);
    const QVariantMap archive = wake.toArchive();
    QCOMPARE(archive.value(QStringLiteral("keyCode")).toUInt(), 2u);
    QCOMPARE(archive.value(QStringLiteral("modifiers")).toUInt(), kCommand);
    QCOMPARE(RecordedShortcut::fromArchive(archive), wake);
    QCOMPARE(RecordedShortcut::fromArchive(archive).displayString(), QStringLiteral("Super+D"));
    QVERIFY(RecordedShortcut::fromArchive({}).isEmpty());
    QVERIFY(wake != RecordedShortcut(2, kCommand | kShift));
}

void PRLHotKeyTest::eventModifierFlags_data()
{
    QTest::addColumn<Qt::KeyboardModifiers>("modifiers");
    QTest::addColumn<quint32>("flags");
    QTest::newRow("none") << Qt::KeyboardModifiers() << 0u;
    QTest::newRow("super is command") << Qt::KeyboardModifiers(Qt::MetaModifier) << kCommand;
    QTest::newRow("alt is option") << Qt::KeyboardModifiers(Qt::AltModifier) << kOption;
    QTest::newRow("all") << (Qt::MetaModifier | Qt::AltModifier | Qt::ControlModifier | Qt::ShiftModifier)
                         << (kCommand | kOption | kControl | kShift);
    QTest::newRow("keypad is not a modifier") << Qt::KeyboardModifiers(Qt::KeypadModifier) << 0u;
}

void PRLHotKeyTest::eventModifierFlags()
{
    QFETCH(Qt::KeyboardModifiers, modifiers);
    QTEST(ShortcutRecorder::eventModifierFlags(modifiers), "flags");
}

QTEST_GUILESS_MAIN(PRLHotKeyTest)
#include "tst_prlhotkey.moc"
