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
    void text();
    void layoutCharacter();
    void record();
    void fromText();
    void textReadsBack();

private:
    HeadlessShortcutBackend *m_backend = nullptr;
};

void KeyCombinationTextTest::initTestCase()
{
    m_backend = KorvaneTest::install<HeadlessShortcutBackend>(&Platform::setShortcutBackend);
}

// Modifiers in a fixed order; F13 sits at Print and Help at Insert; a key with no name
// anywhere shows its code, one with no stored form nothing.
void KeyCombinationTextTest::text()
{
    const std::pair<QKeyCombination, const char *> rows[] = {
        {QKeyCombination(), ""},
        {QKeyCombination(Qt::Key_F5), "F5"},
        {keys(Qt::MetaModifier | Qt::ShiftModifier, Qt::Key_K), "Shift+Super+K"},
        {keys(kAll, Qt::Key_F1), "Ctrl+Alt+Shift+Super+F1"},
        {QKeyCombination(Qt::Key_Print), "Print"},
        {keys(Qt::AltModifier, Qt::Key_Up), "Alt+Up"},
        {keys(Qt::MetaModifier | Qt::KeypadModifier, Qt::Key_9), "Super+9"},
        {keys(Qt::ControlModifier, Qt::Key_Insert), "Ctrl+Ins"},
        {keys(Qt::MetaModifier, Qt::Key_VolumeUp), "Super+#72"},
        {keys(Qt::MetaModifier, Qt::Key_F13), ""},
    };
    for (const auto &[combination, expected] : rows)
        QCOMPARE(KeyCombinationText::text(combination), QString::fromLatin1(expected));
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

// Tab passes on, with or without a modifier; backspace and delete alone clear; a key needs a
// modifier other than shift, unless it is a function key (Print and F13 to F20 are) alone.
void KeyCombinationTextTest::record()
{
    using O = ShortcutRecorder::Outcome;
    const std::pair<QKeyCombination, O> rows[] = {
        {QKeyCombination(Qt::Key_Tab), O::PassOn},
        {keys(Qt::MetaModifier, Qt::Key_Tab), O::PassOn},
        {QKeyCombination(Qt::Key_Backspace), O::Clear},
        {QKeyCombination(Qt::Key_Delete), O::Clear},
        {keys(Qt::ShiftModifier, Qt::Key_Delete), O::Keep},
        {keys(Qt::MetaModifier, Qt::Key_Backspace), O::Take},
        {QKeyCombination(Qt::Key_A), O::Keep},
        {keys(Qt::ShiftModifier, Qt::Key_A), O::Keep},
        {QKeyCombination(Qt::Key_Return), O::Keep},
        {keys(Qt::KeypadModifier, Qt::Key_5), O::Keep},
        {QKeyCombination(Qt::Key_F5), O::Take},
        {QKeyCombination(Qt::Key_Print), O::Take},
        {QKeyCombination(Qt::Key_F20), O::Take},
        {keys(Qt::ShiftModifier, Qt::Key_F5), O::Keep},
        {keys(Qt::MetaModifier | Qt::ShiftModifier, Qt::Key_K), O::Take},
        {keys(Qt::ControlModifier, Qt::Key_A), O::Take},
        {keys(Qt::AltModifier | Qt::KeypadModifier, Qt::Key_5), O::Take},
    };
    for (const auto &[combination, outcome] : rows)
        QVERIFY2(ShortcutRecorder::record(combination) == outcome, qPrintable(KeyCombinationText::text(combination)));
}

// Any case and order, KDE's Meta, another name of a key, no key for no text; the plus key is the
// keypad's. Texts that name no key, repeat a modifier, lack the key or use a modifier there is
// none of give nothing.
void KeyCombinationTextTest::fromText()
{
    const std::pair<const char *, QKeyCombination> rows[] = {
        {"Shift+Super+K", Qt::ShiftModifier | Qt::MetaModifier | Qt::Key_K},
        {"ctrl+alt+k", Qt::ControlModifier | Qt::AltModifier | Qt::Key_K},
        {"Meta+Control+D", Qt::MetaModifier | Qt::ControlModifier | Qt::Key_D},
        {"F5", QKeyCombination(Qt::Key_F5)},
        {"", QKeyCombination()},
        {"Ctrl++", Qt::ControlModifier | Qt::KeypadModifier | Qt::Key_Plus},
        {"Alt+Enter", Qt::AltModifier | Qt::Key_Return},
    };
    for (const auto &[text, combination] : rows)
        QCOMPARE(KeyCombinationText::fromText(QString::fromUtf8(text)), std::optional(combination));
    for (const char *text : {"Super+Ω", "Nonsense", "Super+#300", "Super+#66", "Ctrl+Ctrl+K", "Ctrl+", "Hyper+K", "⌘ D"})
        QVERIFY2(!KeyCombinationText::fromText(QString::fromUtf8(text)), text);
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
