#include "support/actionkindrows.h"
#include "support/korvanecli.h"
#include "support/logcapture.h"
#include "shell/editor/formsettingspanel.h"
#include "shell/editor/compressimagepanel.h"
#include "store/customurl.h"
#include "shell/editor/customurllistmodel.h"
#include "shell/editor/customurlpanel.h"
#include "store/droplistentity.h"
#include "store/copysettings.h"
#include "shell/editor/filedestinationpanel.h"
#include "store/movesettings.h"
#include "shell/generalsettingspage.h"
#include "servers/libretranslatestandin.h"
#include "shell/keycombinationedit.h"
#include "store/compresssettings.h"
#include "platform/headless/headlessshortcutbackend.h"
#include "net/apiclient.h"
#include "store/actionstore.h"
#include "actions/text/customurllibrary.h"
#include "store/storeschema.h"
#include "actions/text/translations.h"
#include "platform/platform.h"
#include "platform/settingsbackend.h"
#include "common/storedshortcutcodec.h"
#include "shell/editor/recipientspanel.h"
#include "shell/editor/renamepanel.h"
#include "shell/editor/resizeimagepanel.h"
#include "shell/editor/savepathfield.h"
#include "shell/editor/settingspanelfactory.h"
#include "store/customurlsettings.h"
#include "store/translatesettings.h"
#include "platform/x11/xkbkeycodes.h"

#include <QApplication>
#include <QButtonGroup>
#include <QCheckBox>
#include <QFile>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QListWidget>
#include <QMenu>
#include <QPushButton>
#include <QSignalSpy>
#include <QSlider>
#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>

#include <tuple>

using namespace KorvaneTest;

namespace {

// Stored key codes and modifier flags.
constexpr quint32 kVirtualK = 40;
constexpr quint32 kVirtualA = 0;
constexpr quint32 kVirtualF5 = 96;
constexpr quint32 kCtrl = StoredShortcutCodec::ControlFlag;
constexpr quint32 kCtrlAlt = kCtrl | StoredShortcutCodec::OptionFlag;

HeadlessShortcutBackend *g_service = nullptr;

// What the store file holds, read through a connection of its own; nothing when no row has it.
QVariant stored(const QString &entity, const QString &attribute, qint64 id)
{
    const QString path = ActionStore::instance()->applicationSupportDirectory() + QStringLiteral("/KVCoreData.sqlite");
    const QStringList values = sql(path, {QStringLiteral("SELECT \"%1\" FROM \"%2\" WHERE Z_PK = %3").arg(attribute, entity).arg(id)});
    return values.isEmpty() ? QVariant() : QVariant(values.first());
}

QVariant storedUrl(qint64 id)
{
    return stored(QStringLiteral("CustomUrl"), QStringLiteral("url"), id);
}

QVariant storedDrop(const DropListEntityPtr &drop, const QString &attribute)
{
    return stored(QStringLiteral("DropListEntity"), attribute, drop->objectID());
}

QVariant storedSetting(const DropListEntityPtr &drop, const QString &attribute)
{
    return stored(drop->settings()->entity().name, attribute, drop->settings()->objectID());
}

// Key events as X11 delivers them: with the key's place as the native scan code.
void pressKey(QWidget *widget, Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
{
    QKeyEvent press(QEvent::KeyPress, key, modifiers, XkbKeyCodes::xkbKeyCode(QKeyCombination(key)), 0, 0);
    QApplication::sendEvent(widget, &press);
}

// The key code and modifier flags of "wakeHotKey", read as start-up reads them.
QPair<quint32, quint32> storedWakeHotKey()
{
    const QVariantList wake = Platform::settingsBackend()->value(QStringLiteral("wakeHotKey")).toList();
    return wake.size() == 2 ? qMakePair(wake.at(0).toUInt(), wake.at(1).toUInt()) : qMakePair(~0u, ~0u);
}

DropListEntityPtr newDrop(qint64 catalog, qint64 type)
{
    auto *store = ActionStore::instance();
    auto drop = store->getNewDrop(catalog, type, qint32(store->getDropsByCatalog(catalog).size()));
    store->saveDataChange();
    return drop;
}

// On the box itself: a check box in a form row is wider than the part that takes clicks.
void clickBox(QCheckBox *box)
{
    QTest::mouseClick(box, Qt::LeftButton, Qt::NoModifier, QPoint(6, box->height() / 2));
}

template<typename Panel>
std::unique_ptr<Panel> panelFor(const QString &identifier, const DropListEntityPtr &drop)
{
    std::unique_ptr<Panel> panel(qobject_cast<Panel *>(SettingsPanelFactory::create(identifier)));
    if (!panel)
        return panel;
    panel->setCatalog(drop->catalog());
    panel->setAction(drop);
    panel->resize(560, 620);
    panel->show();
    panel->activateWindow();
    return panel;
}

} // namespace

class SettingsPanelsTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void everyKindHasItsPanel_data();
    void everyKindHasItsPanel();
    void unknownIdentifierHasNoPanel();
    void emptiedNameIsRefused();
    void recordingAHotKey_data();
    void recordingAHotKey();
    void wakeHotKeyHeldByAnotherProgramIsTold();
    void customUrlEditing();
    void tenThousandCustomUrls();
    void renameRulesAreExclusive();
    void renameStartValues_data();
    void renameStartValues();
    void resizeSizes_data();
    void resizeSizes();
    void compressionSlider();
    void recipientsJoined();
    void folderChoice_data();
    void folderChoice();
    void missingFolderShownRed();
    void secretsAreMasked();
    void translationServerTest_data();
    void translationServerTest();
};

void SettingsPanelsTest::initTestCase()
{
    Translations::install({QStringLiteral("en-US")});
    g_service = install<HeadlessShortcutBackend>(&Platform::setShortcutBackend);
    QVERIFY(ActionStore::instance()->openStore());
}

void SettingsPanelsTest::everyKindHasItsPanel_data()
{
    addActionKindRows();
}

void SettingsPanelsTest::everyKindHasItsPanel()
{
    QFETCH(int, catalog);
    QFETCH(int, type);
    const QString identifier = SettingsPanel::identifierForKind(catalog, type);
    QVERIFY(SettingsPanelFactory::identifiers().contains(identifier));
    auto drop = newDrop(catalog, type);
    drop->setTitle(QStringLiteral("Kind %1-%2").arg(catalog).arg(type));
    auto panel = panelFor<FormSettingsPanel>(identifier, drop);
    QVERIFY(panel);
    QCOMPARE(panel->titleField()->text(), drop->title());
    QVERIFY(panel->hotKeyButton()->isVisible());
    QVERIFY(!panel->hotKeyField()->isVisible());
    panel->focusTitleField();
    QTRY_VERIFY(panel->titleField()->hasFocus());
}

void SettingsPanelsTest::unknownIdentifierHasNoPanel()
{
    QCOMPARE(SettingsPanelFactory::create(QStringLiteral("noSuchPanel")), nullptr);
    QCOMPARE(SettingsPanelFactory::create(QString()), nullptr);
}

void SettingsPanelsTest::emptiedNameIsRefused()
{
    auto drop = newDrop(0, 1);
    const QString before = drop->title();
    auto panel = panelFor<FormSettingsPanel>(QStringLiteral("clearFormatVC"), drop);
    QSignalSpy reloads(panel.get(), &SettingsPanel::reloadPreview);
    QLineEdit *field = panel->titleField();
    panel->focusTitleField();
    QTRY_VERIFY(field->hasFocus());
    field->selectAll();
    QTest::keyClick(field, Qt::Key_Backspace);
    QTest::keyClick(field, Qt::Key_Return);
    QTest::keyClick(field, Qt::Key_Tab);
    // Focus comes back to the empty name, and nothing is stored.
    QTRY_VERIFY(field->hasFocus());
    QCOMPARE(storedDrop(drop, QStringLiteral("title")).toString(), before);
    QCOMPARE(reloads.count(), 0);

    QTest::keyClicks(field, QStringLiteral("Plain text"));
    QTest::keyClick(field, Qt::Key_Return);
    QCOMPARE(storedDrop(drop, QStringLiteral("title")).toString(), QStringLiteral("Plain text"));
    QCOMPARE(reloads.count(), 1);
    QTRY_VERIFY(!field->hasFocus());
}

// A key pressed in an action's hot-key field, from a start: "taken" gives another action,
// "First", ctrl-K and this one ctrl-A; "elsewhere" has another program hold alt-K; "recorded"
// has this one hold ctrl-alt-F5.
void SettingsPanelsTest::recordingAHotKey_data()
{
    QTest::addColumn<QString>("start");
    QTest::addColumn<int>("key");
    QTest::addColumn<int>("modifiers");
    // What the action holds afterwards, and what the field's tip then says.
    QTest::addColumn<quint32>("storedKey");
    QTest::addColumn<quint32>("storedFlags");
    QTest::addColumn<QString>("tip");
    const quint32 ctrlShift = kCtrl | StoredShortcutCodec::ShiftFlag;
    QTest::newRow("ctrl-shift-K") << "" << int(Qt::Key_K) << int(Qt::ControlModifier | Qt::ShiftModifier) << kVirtualK << ctrlShift << "";
    QTest::newRow("F5 alone") << "" << int(Qt::Key_F5) << 0 << kVirtualF5 << 0u << "";
    QTest::newRow("A alone is refused") << "" << int(Qt::Key_A) << 0 << 0u << 0u << "function key";
    QTest::newRow("shift-A is refused") << "" << int(Qt::Key_A) << int(Qt::ShiftModifier) << 0u << 0u << "function key";
    QTest::newRow("another action's is refused") << "taken" << int(Qt::Key_K) << int(Qt::ControlModifier) << kVirtualA << kCtrl << "First";
    QTest::newRow("another program's is refused") << "elsewhere" << int(Qt::Key_K) << int(Qt::AltModifier) << 0u << 0u << "Another program";
    QTest::newRow("Backspace clears") << "recorded" << int(Qt::Key_Backspace) << 0 << 0u << 0u << "";
    QTest::newRow("Delete clears") << "recorded" << int(Qt::Key_Delete) << 0 << 0u << 0u << "";
}

void SettingsPanelsTest::recordingAHotKey()
{
    QFETCH(QString, start);
    QFETCH(int, key);
    QFETCH(int, modifiers);
    QFETCH(quint32, storedKey);
    QFETCH(quint32, storedFlags);
    QFETCH(QString, tip);
    auto *store = ActionStore::instance();
    for (const auto &other : store->getAllDrops()) {
        other->setKeyCode(0);
        other->setModifiers(0);
    }
    const QKeyCombination ctrlAltF5(Qt::ControlModifier | Qt::AltModifier, Qt::Key_F5);
    auto drop = newDrop(0, 8);
    auto first = newDrop(0, 0);
    first->setTitle(QStringLiteral("First"));
    if (start == QLatin1String("taken")) {
        first->setKeyCode(int(kVirtualK));
        first->setModifiers(int(kCtrl));
        drop->setKeyCode(int(kVirtualA));
        drop->setModifiers(int(kCtrl));
    } else if (start == QLatin1String("elsewhere")) {
        g_service->refuse(QKeyCombination(Qt::AltModifier, Qt::Key_K));
    }
    store->saveDataChange();
    auto panel = panelFor<FormSettingsPanel>(QStringLiteral("enCaseConvert"), drop);
    if (start == QLatin1String("recorded")) {
        QVERIFY(panel->saveHotkey(ctrlAltF5));
        QVERIFY(g_service->isRegistered(ctrlAltF5));
        panel->setAction(drop);
    }
    // With a hot key the field shows in place of the button.
    if (panel->hotKeyField()->isVisible())
        panel->hotKeyField()->setFocus();
    else
        QTest::mouseClick(panel->hotKeyButton(), Qt::LeftButton);
    QVERIFY(panel->hotKeyField()->isVisible());
    QTRY_VERIFY(panel->hotKeyField()->hasFocus());
    pressKey(panel->hotKeyField(), Qt::Key(key), Qt::KeyboardModifiers(modifiers));
    QCOMPARE(storedDrop(drop, QStringLiteral("keyCode")).toUInt(), storedKey);
    QCOMPARE(storedDrop(drop, QStringLiteral("modifiers")).toUInt(), storedFlags);
    const QKeyCombination holds = *StoredShortcutCodec::decode(storedKey, storedFlags);
    QCOMPARE(g_service->isRegistered(QKeyCombination(Qt::KeyboardModifiers(modifiers), Qt::Key(key))), holds == QKeyCombination(Qt::KeyboardModifiers(modifiers), Qt::Key(key)) && modifiers != 0);
    QVERIFY2(panel->hotKeyField()->toolTip().contains(tip), qPrintable(panel->hotKeyField()->toolTip()));
    QCOMPARE(panel->hotKeyField()->keyCombination(), holds);
    QCOMPARE(storedDrop(first, QStringLiteral("keyCode")).toUInt(), start == QLatin1String("taken") ? kVirtualK : 0u);
    if (start == QLatin1String("recorded")) {
        QVERIFY(!g_service->isRegistered(ctrlAltF5));
        QVERIFY(panel->hotKeyButton()->isVisible());
        QVERIFY(!panel->hotKeyField()->isVisible());
    }
}

void SettingsPanelsTest::wakeHotKeyHeldByAnotherProgramIsTold()
{
    const QKeyCombination superShiftK(Qt::MetaModifier | Qt::ShiftModifier, Qt::Key_K);
    const QKeyCombination ctrlAltK(Qt::ControlModifier | Qt::AltModifier, Qt::Key_K);
    g_service->refuse(superShiftK);
    GeneralSettingsPage general(nullptr);
    general.show();
    KeyCombinationEdit *field = general.hotKeyField();
    field->setFocus();
    const QString usual = field->toolTip();
    QVERIFY(!general.hotKeyWarning()->isVisible());

    // Held elsewhere: stored all the same, and the field says why it does nothing.
    pressKey(field, Qt::Key_K, Qt::MetaModifier | Qt::ShiftModifier);
    QCOMPARE(storedWakeHotKey(), qMakePair(kVirtualK, StoredShortcutCodec::CommandFlag | StoredShortcutCodec::ShiftFlag));
    QVERIFY(!g_service->isRegistered(superShiftK));
    QVERIFY(general.hotKeyWarning()->isVisible());
    QVERIFY2(general.hotKeyWarning()->text().contains(QStringLiteral("another program")), qPrintable(general.hotKeyWarning()->text()));
    QCOMPARE(field->toolTip(), general.hotKeyWarning()->text());

    // A free one is taken, and the field's own help comes back; clearing is never refused.
    for (const auto &[key, modifiers, stored] : {std::tuple{Qt::Key_K, Qt::ControlModifier | Qt::AltModifier, kCtrlAlt},
                                                 std::tuple{Qt::Key_Backspace, Qt::KeyboardModifiers(), 0u}}) {
        pressKey(field, key, modifiers);
        QCOMPARE(storedWakeHotKey(), qMakePair(stored ? kVirtualK : 0u, stored));
        QCOMPARE(g_service->isRegistered(ctrlAltK), stored != 0);
        QCOMPARE(field->toolTip(), usual);
        QVERIFY(!general.hotKeyWarning()->isVisible());
    }
}

void SettingsPanelsTest::customUrlEditing()
{
    auto drop = newDrop(0, 5);
    auto panel = panelFor<CustomUrlPanel>(QStringLiteral("customURLVC"), drop);
    QVERIFY(panel);
    const int start = panel->urlModel()->rowCount();

    QTest::mouseClick(panel->addButton(), Qt::LeftButton);
    QCOMPARE(panel->urlModel()->rowCount(), start + 1);
    QCOMPARE(panel->urlList()->currentIndex().row(), start);
    QTRY_VERIFY(panel->openEditor());
    QTRY_VERIFY(panel->openEditor()->hasFocus());
    QTest::keyClicks(panel->openEditor(), QStringLiteral("https://a.example/?q={text}"));
    QTest::keyClick(panel->openEditor(), Qt::Key_Return);
    const qint64 addedId = panel->urlModel()->urlAt(start)->objectID();
    // The view commits a closing editor's text on its next turn.
    QTRY_COMPARE(storedUrl(addedId).toString(), QStringLiteral("https://a.example/?q={text}"));

    // Emptying a row is refused: the stored template stays.
    QVERIFY(!panel->urlModel()->setData(panel->urlModel()->index(start, 0), QStringLiteral("  ")));
    QCOMPARE(storedUrl(addedId).toString(), QStringLiteral("https://a.example/?q={text}"));

    for (int i = 0; i < 3; ++i) {
        const auto url = ActionStore::instance()->addNewCustomUrl(drop, QStringLiteral("u%1").arg(i));
        Q_UNUSED(url);
    }
    panel->setAction(drop);
    const int count = panel->urlModel()->rowCount();
    // Deleting a middle row selects the row that takes its place; the last, the new last.
    panel->urlList()->setCurrentIndex(panel->urlModel()->index(count - 3, 0));
    const qint64 deletedId = panel->urlModel()->urlAt(count - 3)->objectID();
    QTest::mouseClick(panel->deleteButton(), Qt::LeftButton);
    QCOMPARE(panel->urlModel()->rowCount(), count - 1);
    QCOMPARE(panel->urlList()->currentIndex().row(), count - 3);
    QVERIFY(!storedUrl(deletedId).isValid());
    panel->urlList()->setCurrentIndex(panel->urlModel()->index(count - 2, 0));
    QTest::mouseClick(panel->deleteButton(), Qt::LeftButton);
    QCOMPARE(panel->urlList()->currentIndex().row(), count - 3);
    QCOMPARE(drop->customUrlSettings()->urls().size(), count - 2);

    // The placeholder goes in at the caret.
    const int row = count - 3;
    const qint64 editedId = panel->urlModel()->urlAt(row)->objectID();
    const QString before = storedUrl(editedId).toString();
    panel->urlList()->setCurrentIndex(panel->urlModel()->index(row, 0));
    panel->urlList()->edit(panel->urlList()->currentIndex());
    QTRY_VERIFY(panel->openEditor());
    panel->openEditor()->setCursorPosition(1);
    QTest::mouseClick(panel->insertButton(), Qt::LeftButton);
    QCOMPARE(storedUrl(editedId).toString(), before.left(1) + QStringLiteral("{text}") + before.mid(1));

    // The library adds its template as a new row, selected.
    QMenu *menu = panel->libraryButton()->menu();
    QCOMPARE(menu->actions().size(), 28);
    menu->actions().first()->trigger();
    const QString template0 = CustomUrlLibrary::entries().first().url;
    QVERIFY(template0.contains(QStringLiteral("{text}")));
    QCOMPARE(panel->urlModel()->rowCount(), count - 1);
    QCOMPARE(panel->urlList()->currentIndex().row(), count - 2);
    QCOMPARE(storedUrl(panel->urlModel()->urlAt(count - 2)->objectID()).toString(), template0);
}

void SettingsPanelsTest::tenThousandCustomUrls()
{
    auto drop = newDrop(0, 5);
    auto *store = ActionStore::instance();
    for (int i = 0; i < 10000; ++i)
        store->addNewCustomUrl(drop, QStringLiteral("https://c.example/%1?q={text}").arg(i));
    const QString huge = QStringLiteral("https://d.example/?q={text}&pad=") + QString(1 << 20, QLatin1Char('x'));
    const auto big = store->addNewCustomUrl(drop, huge);
    store->saveDataChange();
    auto panel = panelFor<CustomUrlPanel>(QStringLiteral("customURLVC"), drop);
    panel->urlList()->scrollToBottom();
    QCOMPARE(panel->urlModel()->rowCount(), 10001);
    // The long template reaches the editor whole, and survives an edit.
    panel->urlList()->setCurrentIndex(panel->urlModel()->index(10000, 0));
    panel->urlList()->edit(panel->urlList()->currentIndex());
    QTRY_VERIFY(panel->openEditor());
    QCOMPARE(panel->openEditor()->text().size(), huge.size());
    panel->openEditor()->end(false);
    QTest::mouseClick(panel->insertButton(), Qt::LeftButton);
    QCOMPARE(storedUrl(big->objectID()).toString(), huge + QStringLiteral("{text}"));
}

void SettingsPanelsTest::renameRulesAreExclusive()
{
    auto drop = newDrop(1, 17);
    auto panel = panelFor<RenamePanel>(QStringLiteral("renameVC"), drop);
    QVERIFY(panel);
    const auto check = [&](bool replace, bool add, bool customize) {
        QCOMPARE(storedSetting(drop, QStringLiteral("needReplace")).toBool(), replace);
        QCOMPARE(storedSetting(drop, QStringLiteral("needAdd")).toBool(), add);
        QCOMPARE(storedSetting(drop, QStringLiteral("needCustomize")).toBool(), customize);
        QCOMPARE(panel->replaceCheckBox()->isChecked(), replace);
        QCOMPARE(panel->addCheckBox()->isChecked(), add);
        QCOMPARE(panel->customizeCheckBox()->isChecked(), customize);
    };
    panel->replaceCheckBox()->setChecked(false);
    panel->addCheckBox()->setChecked(false);
    panel->customizeCheckBox()->setChecked(false);
    clickBox(panel->replaceCheckBox());
    clickBox(panel->addCheckBox());
    check(true, true, false);
    clickBox(panel->customizeCheckBox());
    check(false, false, true);
    clickBox(panel->addCheckBox());
    check(false, true, false);
    clickBox(panel->customizeCheckBox());
    clickBox(panel->replaceCheckBox());
    check(true, false, false);
    // The texts that go into every new name take no "/": a typed one never arrives.
    QLineEdit *search = nullptr;
    for (QLineEdit *field : panel->findChildren<QLineEdit *>())
        search = field->toolTip() == qtTrId("renameSearchTip") ? field : search;
    QVERIFY(search);
    search->setFocus();
    QTest::keyClicks(search, QStringLiteral("../a/b"));
    QTest::keyClick(search, Qt::Key_Return);
    QCOMPARE(storedSetting(drop, QStringLiteral("relpaceSearchString")).toString(), QStringLiteral("..ab"));
}

void SettingsPanelsTest::renameStartValues_data()
{
    QTest::addColumn<QString>("letter");
    QTest::addColumn<QString>("storedLetter");
    QTest::addColumn<QString>("number");
    QTest::addColumn<int>("storedNumber");
    const std::tuple<const char *, const char *, const char *, const char *, int> rows[] = {
        {"letter and number", "k", "k", "12", 12},
        {"upper case, only the first", "Qz", "Q", "0", 0},
        {"digit gives a, negative number", "7b", "a", "-25", 25},
        {"punctuation gives a", "#", "a", "-2147483647", 2147483647},
        {"letters in the number field are refused", "", "a", "x3y", 3},
    };
    for (const auto &[tag, letter, storedLetter, number, storedNumber] : rows)
        QTest::newRow(tag) << letter << storedLetter << number << storedNumber;
}

void SettingsPanelsTest::renameStartValues()
{
    QFETCH(QString, letter);
    QFETCH(QString, storedLetter);
    QFETCH(QString, number);
    auto drop = newDrop(1, 17);
    auto panel = panelFor<RenamePanel>(QStringLiteral("renameVC"), drop);
    QVERIFY(!panel->customizeCheckBox()->isChecked() || panel->startLetterField()->isEnabled());
    panel->customizeCheckBox()->setChecked(true);
    QVERIFY(panel->startLetterField()->isEnabled());
    panel->startLetterField()->setFocus();
    panel->startLetterField()->clear();
    QTest::keyClicks(panel->startLetterField(), letter);
    QTest::keyClick(panel->startLetterField(), Qt::Key_Return);
    panel->startNumberField()->setFocus();
    panel->startNumberField()->clear();
    QTest::keyClicks(panel->startNumberField(), number);
    QTest::keyClick(panel->startNumberField(), Qt::Key_Return);
    QCOMPARE(storedSetting(drop, QStringLiteral("customizeStartLetter")).toString(), storedLetter);
    QTEST(storedSetting(drop, QStringLiteral("customizeStartNumber")).toInt(), "storedNumber");
    QCOMPARE(panel->startLetterField()->text(), storedLetter);
}

void SettingsPanelsTest::resizeSizes_data()
{
    QTest::addColumn<int>("segment");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("attribute");
    QTest::addColumn<double>("expected");
    QTest::addColumn<QString>("unit");
    const std::tuple<const char *, int, const char *, const char *, double, const char *> rows[] = {
        {"width", 0, "640", "targetpx", 640.0, "px"},
        {"height", 1, "480", "targetpx", 480.0, "px"},
        {"percentage", 2, "55.7", "targetRato", 55.0, "%"},
        {"100 stays", 2, "100", "targetRato", 100.0, "%"},
        {"101, left by Tab, becomes 100", 2, "101", "targetRato", 100.0, "%"},
    };
    for (const auto &[tag, segment, typed, attribute, expected, unit] : rows)
        QTest::newRow(tag) << segment << QString(typed) << QString(attribute) << expected << QString(unit);
}

void SettingsPanelsTest::resizeSizes()
{
    QFETCH(int, segment);
    QFETCH(QString, typed);
    QFETCH(QString, attribute);
    auto drop = newDrop(1, 2);
    auto panel = panelFor<ResizeImagePanel>(QStringLiteral("resizeVC"), drop);
    QTest::mouseClick(panel->segments()->button(segment), Qt::LeftButton);
    QCOMPARE(storedSetting(drop, QStringLiteral("resizeType")).toInt(), segment);
    QTEST(panel->unitLabel()->text(), "unit");
    panel->sizeField()->setFocus();
    panel->sizeField()->clear();
    QTest::keyClicks(panel->sizeField(), typed);
    QFocusEvent tabbedAway(QEvent::FocusOut, Qt::TabFocusReason);
    if (QByteArray(QTest::currentDataTag()).contains("Tab"))
        QApplication::sendEvent(panel->sizeField(), &tabbedAway);
    else
        QTest::keyClick(panel->sizeField(), Qt::Key_Return);
    QTEST(storedSetting(drop, attribute).toDouble(), "expected");
}

void SettingsPanelsTest::compressionSlider()
{
    auto drop = newDrop(1, 0);
    drop->compressSettings()->setCompressionRatio(0.5f);
    ActionStore::instance()->saveDataChange();
    auto panel = panelFor<CompressImagePanel>(QStringLiteral("compressVC"), drop);
    QCOMPARE(panel->slider()->value(), 50);
    QCOMPARE(panel->percentLabel()->text(), QStringLiteral("50%"));
    panel->slider()->setFocus();
    QTest::keyClick(panel->slider(), Qt::Key_Right);
    QTest::keyClick(panel->slider(), Qt::Key_Right);
    QCOMPARE(panel->percentLabel()->text(), QStringLiteral("52%"));
    QCOMPARE(storedSetting(drop, QStringLiteral("compressionRato")).toFloat(), 0.52f);
    QTest::keyClick(panel->slider(), Qt::Key_End);
    QCOMPARE(storedSetting(drop, QStringLiteral("compressionRato")).toFloat(), 1.0f);

    const bool png = storedSetting(drop, QStringLiteral("autoPNGtoJPG")).toBool();
    clickBox(panel->convertToJPGCheckbox());
    QCOMPARE(storedSetting(drop, QStringLiteral("autoPNGtoJPG")).toBool(), !png);
}

void SettingsPanelsTest::recipientsJoined()
{
    for (int catalog : {0, 1}) {
        auto drop = newDrop(catalog, catalog == 0 ? 3 : 10);
        auto panel = panelFor<RecipientsPanel>(QStringLiteral("sendEmail"), drop);
        QVERIFY(panel);
        for (const QString &recipient : {QStringLiteral("a@example.com"), QString(), QStringLiteral("b@example.com")}) {
            panel->addRecipient();
            QTRY_VERIFY(qobject_cast<QLineEdit *>(QApplication::focusWidget()));
            QWidget *editor = QApplication::focusWidget();
            QTest::keyClicks(editor, recipient);
            QTest::keyClick(editor, Qt::Key_Return);
            QTRY_VERIFY(QApplication::focusWidget() != editor);
        }
        QCOMPARE(storedSetting(drop, QStringLiteral("receives")).toString(), QStringLiteral("a@example.com,b@example.com"));
        panel->recipientList()->setCurrentRow(0);
        panel->removeSelectedRecipient();
        QCOMPARE(storedSetting(drop, QStringLiteral("receives")).toString(), QStringLiteral("b@example.com"));
        panel->subjectField()->setText(QStringLiteral("Hello"));
        Q_EMIT panel->subjectField()->editingFinished();
        QCOMPARE(storedSetting(drop, QStringLiteral("title")).toString(), QStringLiteral("Hello"));
    }
}

void SettingsPanelsTest::folderChoice_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<bool>("taken");
    QTest::newRow("a folder in the home folder") << "home" << true;
    QTest::newRow("a folder elsewhere") << "elsewhere" << true;
    QTest::newRow("missing") << "missing" << false;
    QTest::newRow("a file") << "file" << false;
    QTest::newRow("not writable") << "readonly" << false;
}

void SettingsPanelsTest::folderChoice()
{
    QFETCH(QString, kind);
    QFETCH(bool, taken);
    QTemporaryDir elsewhere;
    QDir home(QDir::homePath());
    home.mkpath(QStringLiteral("Pictures/out"));
    QString folder;
    QString expected;
    if (kind == QLatin1String("home")) {
        folder = home.filePath(QStringLiteral("Pictures/out"));
        expected = QStringLiteral("~/Pictures/out");
    } else if (kind == QLatin1String("elsewhere")) {
        folder = elsewhere.path();
        expected = folder;
    } else if (kind == QLatin1String("missing")) {
        folder = elsewhere.filePath(QStringLiteral("gone"));
    } else if (kind == QLatin1String("file")) {
        folder = elsewhere.filePath(QStringLiteral("file.txt"));
        QFile file(folder);
        QVERIFY(file.open(QIODevice::WriteOnly));
    } else {
        folder = elsewhere.filePath(QStringLiteral("locked"));
        QVERIFY(QDir().mkpath(folder));
        QFile::setPermissions(folder, QFileDevice::ReadOwner | QFileDevice::ExeOwner);
        if (QFileInfo(folder).isWritable())
            QSKIP("Running as a user who may write anywhere");
    }
    auto drop = newDrop(1, 9);
    drop->copySettings()->setSavePath(QStringLiteral("~/before"));
    ActionStore::instance()->saveDataChange();
    auto panel = panelFor<FileDestinationPanel>(QStringLiteral("copyTo"), drop);
    panel->hide();
    QCOMPARE(panel->savePathField()->choose(folder), taken);
    QCOMPARE(SavePathField::folderProblem(folder).isEmpty(), taken);
    QCOMPARE(storedSetting(drop, QStringLiteral("savePath")).toString(), taken ? expected : QStringLiteral("~/before"));
    QFile::setPermissions(folder, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
}

void SettingsPanelsTest::missingFolderShownRed()
{
    QDir(QDir::homePath() + QStringLiteral("/no")).removeRecursively();
    auto drop = newDrop(1, 8);
    drop->moveSettings()->setSavePath(QStringLiteral("~/no/such/folder"));
    ActionStore::instance()->saveDataChange();
    auto panel = panelFor<FileDestinationPanel>(QStringLiteral("moveTo"), drop);
    QVERIFY(panel->savePathField()->isMissing());
    auto *display = panel->savePathField()->findChild<QLineEdit *>();
    QCOMPARE(display->text(), QStringLiteral("~/no/such/folder"));
    QVERIFY(display->styleSheet().contains(QStringLiteral("color")));
    QDir(QDir::homePath()).mkpath(QStringLiteral("no/such/folder"));
    panel->setAction(drop);
    QVERIFY(!panel->savePathField()->isMissing());
    QVERIFY(display->styleSheet().isEmpty());
}

void SettingsPanelsTest::secretsAreMasked()
{
    const QList<QPair<int, QStringList>> kinds = {
        {5, {QStringLiteral("weiboPassWord")}},
        {12, {QStringLiteral("qiniuSecretKey")}},
        {13, {QStringLiteral("aliSecretKey")}},
        {14, {QStringLiteral("tencentSecretKey")}},
        {15, {QStringLiteral("secretCode")}},
    };
    for (const auto &[type, secrets] : kinds) {
        auto drop = newDrop(1, type);
        auto panel = panelFor<FormSettingsPanel>(SettingsPanel::identifierForKind(1, type), drop);
        const auto fields = panel->findChildren<QLineEdit *>();
        int masked = 0;
        for (QLineEdit *field : fields) {
            if (field->echoMode() == QLineEdit::Password) {
                ++masked;
                QVERIFY2(secrets.contains(field->objectName()), qPrintable(field->objectName()));
                field->setText(QStringLiteral("s3cret"));
                Q_EMIT field->editingFinished();
                QCOMPARE(storedSetting(drop, field->objectName()).toString(), QStringLiteral("s3cret"));
            }
        }
        QCOMPARE(masked, secrets.size());
    }
}

void SettingsPanelsTest::translationServerTest_data()
{
    QTest::addColumn<QString>("server"); // "standin" for the local LibreTranslate
    QTest::addColumn<QString>("apiKey");
    QTest::addColumn<QString>("answer");
    const std::tuple<const char *, const char *, const char *, QString> rows[] = {
        {"answers", "standin", "k1", "The server answered: <de> hello"},
        {"wrong key", "standin", "k2", "The translation server refused: Invalid API key"},
        {"nobody listens", "http://127.0.0.1:9", "", ApiClient::cannotConnectMessage()},
        {"nothing set", "", "", qtTrId("translateNotConfigured")},
    };
    for (const auto &[tag, server, apiKey, answer] : rows)
        QTest::newRow(tag) << server << apiKey << answer;
}

void SettingsPanelsTest::translationServerTest()
{
    QFETCH(QString, server);
    QFETCH(QString, apiKey);
    QFETCH(QString, answer);
    LibreTranslateStandIn libre;
    QVERIFY(libre.start());
    libre.requiredApiKey = QStringLiteral("k1");
    auto drop = newDrop(0, 0);
    drop->translateSettings()->setType(4);
    auto panel = panelFor<FormSettingsPanel>(SettingsPanel::identifierForKind(0, 0), drop);
    panel->findChild<QLineEdit *>(QStringLiteral("libretranslateUrl"))->setText(server == QLatin1String("standin") ? libre.baseUrl() : server);
    auto *key = panel->findChild<QLineEdit *>(QStringLiteral("libretranslateKey"));
    key->setText(apiKey);
    QCOMPARE(key->echoMode(), QLineEdit::Password);
    panel->findChild<QPushButton *>(QStringLiteral("translateTest"))->click();
    const auto shown = [&] {
        QStringList texts;
        for (QLabel *label : panel->findChildren<QLabel *>())
            texts.append(label->text());
        return texts;
    };
    QTRY_VERIFY2_WITH_TIMEOUT(shown().contains(answer), qPrintable(shown().join(QLatin1Char('|'))), 10000);
    QCOMPARE(Platform::settingsBackend()->value(QStringLiteral("translate/libretranslateKey")).toString(), apiKey);
}

QTEST_MAIN(SettingsPanelsTest)
#include "tst_settingspanels.moc"
