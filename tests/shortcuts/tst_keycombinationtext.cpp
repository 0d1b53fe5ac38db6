#include "shortcuts/keycombinationtext.h"
#include "shortcuts/shortcutrecorder.h"

#include "common/storedshortcutcodec.h"
#include "platform/headless/headlessshortcutbackend.h"
#include "platform/platform.h"
#include "support/logcapture.h"

#include <QTest>

namespace {

constexpr Qt::KeyboardModifiers kAll = Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier;

QKeyCombination keys(Qt::KeyboardModifiers modifiers, Qt::Key key)
{
    return QKeyCombination(modifiers, key);
}

} // namespace

Q_DECLARE_METATYPE(ShortcutRecorder::Outcome)

class KeyCombinationTextTest final : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void text_data();
    void text();
    void layoutCharacter();
    void record_data();
    void record();
    void fromText_data();
    void fromText();
    void textReadsBack();

private:
    HeadlessShortcutBackend *m_backend = nullptr;
};

void KeyCombinationTextTest::initTestCase()
{
    m_backend = KorvaneTest::install<HeadlessShortcutBackend>(&Platform::setShortcutBackend);
}

void KeyCombinationTextTest::text_data()
{
    QTest::addColumn<QKeyCombination>("keys");
    QTest::addColumn<QString>("expected");
    QTest::newRow("nothing") << QKeyCombination() << QString();
    QTest::newRow("F5 alone") << QKeyCombination(Qt::Key_F5) << QStringLiteral("F5");
    QTest::newRow("shift-super-K") << keys(Qt::MetaModifier | Qt::ShiftModifier, Qt::Key_K) << QStringLiteral("Shift+Super+K");
    QTest::newRow("every modifier, in order") << keys(kAll, Qt::Key_F1) << QStringLiteral("Ctrl+Alt+Shift+Super+F1");
    QTest::newRow("F13 sits at Print") << QKeyCombination(Qt::Key_Print) << QStringLiteral("Print");
    QTest::newRow("arrow") << keys(Qt::AltModifier, Qt::Key_Up) << QStringLiteral("Alt+Up");
    QTest::newRow("keypad 9") << keys(Qt::MetaModifier | Qt::KeypadModifier, Qt::Key_9) << QStringLiteral("Super+9");
    QTest::newRow("help sits at Insert") << keys(Qt::ControlModifier, Qt::Key_Insert) << QStringLiteral("Ctrl+Ins");
    QTest::newRow("no name anywhere") << keys(Qt::MetaModifier, Qt::Key_VolumeUp) << QStringLiteral("Super+#72");
    QTest::newRow("no stored form") << keys(Qt::MetaModifier, Qt::Key_F13) << QString();
}

void KeyCombinationTextTest::text()
{
    QFETCH(QKeyCombination, keys);
    QTEST(KeyCombinationText::text(keys), "expected");
}

void KeyCombinationTextTest::layoutCharacter()
{
    // On a French layout the key at the place of Q types "a".
    m_backend->setKeyCharacter(QKeyCombination(Qt::Key_Q), QStringLiteral("a"));
    QCOMPARE(KeyCombinationText::text(keys(Qt::MetaModifier, Qt::Key_Q)), QStringLiteral("Super+A"));
    QCOMPARE(KeyCombinationText::fromText(QStringLiteral("Super+A")), std::optional(keys(Qt::MetaModifier, Qt::Key_Q)));
    // Special keys keep their names whatever the layout types.
    m_backend->setKeyCharacter(QKeyCombination(Qt::Key_Return), QStringLiteral("x"));
    QCOMPARE(KeyCombinationText::text(keys(Qt::MetaModifier, Qt::Key_Return)), QStringLiteral("Super+Return"));
    m_backend->setKeyCharacter(QKeyCombination(Qt::Key_Return), QString());

    m_backend->setKeyCharacter(QKeyCombination(Qt::Key_Q), QString());
    QCOMPARE(KeyCombinationText::text(keys(Qt::MetaModifier, Qt::Key_Q)), QStringLiteral("Super+Q"));
    QCOMPARE(KeyCombinationText::fromText(QStringLiteral("Super+Q")), std::optional(keys(Qt::MetaModifier, Qt::Key_Q)));
}

void KeyCombinationTextTest::record_data()
{
    QTest::addColumn<QKeyCombination>("keys");
    QTest::addColumn<ShortcutRecorder::Outcome>("outcome");
    using O = ShortcutRecorder::Outcome;
    QTest::newRow("tab passes on") << QKeyCombination(Qt::Key_Tab) << O::PassOn;
    QTest::newRow("tab with super passes on") << keys(Qt::MetaModifier, Qt::Key_Tab) << O::PassOn;
    QTest::newRow("backspace clears") << QKeyCombination(Qt::Key_Backspace) << O::Clear;
    QTest::newRow("delete clears") << QKeyCombination(Qt::Key_Delete) << O::Clear;
    QTest::newRow("shift-delete is refused") << keys(Qt::ShiftModifier, Qt::Key_Delete) << O::Keep;
    QTest::newRow("backspace with super is taken") << keys(Qt::MetaModifier, Qt::Key_Backspace) << O::Take;
    QTest::newRow("A alone is refused") << QKeyCombination(Qt::Key_A) << O::Keep;
    QTest::newRow("shift-A is refused") << keys(Qt::ShiftModifier, Qt::Key_A) << O::Keep;
    QTest::newRow("return alone is refused") << QKeyCombination(Qt::Key_Return) << O::Keep;
    QTest::newRow("keypad 5 alone is refused") << keys(Qt::KeypadModifier, Qt::Key_5) << O::Keep;
    QTest::newRow("F5 alone") << QKeyCombination(Qt::Key_F5) << O::Take;
    QTest::newRow("Print is a function key") << QKeyCombination(Qt::Key_Print) << O::Take;
    QTest::newRow("F20 alone") << QKeyCombination(Qt::Key_F20) << O::Take;
    QTest::newRow("shift-F5 begins with shift") << keys(Qt::ShiftModifier, Qt::Key_F5) << O::Keep;
    QTest::newRow("shift-super-K") << keys(Qt::MetaModifier | Qt::ShiftModifier, Qt::Key_K) << O::Take;
    QTest::newRow("control-A") << keys(Qt::ControlModifier, Qt::Key_A) << O::Take;
    QTest::newRow("alt-keypad 5") << keys(Qt::AltModifier | Qt::KeypadModifier, Qt::Key_5) << O::Take;
}

void KeyCombinationTextTest::record()
{
    QFETCH(QKeyCombination, keys);
    QTEST(ShortcutRecorder::record(keys), "outcome");
}

void KeyCombinationTextTest::fromText_data()
{
    QTest::addColumn<QString>("text");
    // 0 when the text names no combination.
    QTest::addColumn<int>("keys");
    QTest::newRow("shift-super-K") << QStringLiteral("Shift+Super+K") << (Qt::ShiftModifier | Qt::MetaModifier | Qt::Key_K).toCombined();
    QTest::newRow("any case, as typed") << QStringLiteral("ctrl+alt+k") << (Qt::ControlModifier | Qt::AltModifier | Qt::Key_K).toCombined();
    QTest::newRow("KDE's Meta, any order") << QStringLiteral("Meta+Control+D") << (Qt::MetaModifier | Qt::ControlModifier | Qt::Key_D).toCombined();
    QTest::newRow("no modifiers") << QStringLiteral("F5") << QKeyCombination(Qt::Key_F5).toCombined();
    QTest::newRow("empty") << QString() << QKeyCombination().toCombined();
    QTest::newRow("the plus key is the keypad's") << QStringLiteral("Ctrl++") << (Qt::ControlModifier | Qt::KeypadModifier | Qt::Key_Plus).toCombined();
    QTest::newRow("another name of a key") << QStringLiteral("Alt+Enter") << (Qt::AltModifier | Qt::Key_Return).toCombined();
    for (const char *text : {"Super+Ω", "Nonsense", "Super+#300", "Super+#66", "Ctrl+Ctrl+K", "Ctrl+", "Hyper+K", "⌘ D"})
        QTest::newRow(text) << QString::fromUtf8(text) << 0;
}

void KeyCombinationTextTest::fromText()
{
    QFETCH(QString, text);
    QFETCH(int, keys);
    const std::optional<QKeyCombination> read = KeyCombinationText::fromText(text);
    QCOMPARE(read.has_value(), keys != 0);
    if (read)
        QCOMPARE(read->toCombined(), keys);
}

// What is shown reads back as a combination that is shown the same; keys that share a
// character (the digit and the keypad digit) may read back as either.
void KeyCombinationTextTest::textReadsBack()
{
    int shownCount = 0;
    for (quint32 keyCode = 0; keyCode < 128; ++keyCode) {
        const auto stored = StoredShortcutCodec::decode(keyCode, StoredShortcutCodec::CommandFlag | StoredShortcutCodec::OptionFlag);
        if (!stored)
            continue;
        const QString shown = KeyCombinationText::text(*stored);
        ++shownCount;
        const std::optional<QKeyCombination> read = KeyCombinationText::fromText(shown);
        QVERIFY2(read, qPrintable(shown));
        QCOMPARE(read->keyboardModifiers() & ~Qt::KeypadModifier, Qt::MetaModifier | Qt::AltModifier);
        QCOMPARE(KeyCombinationText::text(*read), shown);
    }
    QCOMPARE(shownCount, 110);
}

QTEST_GUILESS_MAIN(KeyCombinationTextTest)
#include "tst_keycombinationtext.moc"
