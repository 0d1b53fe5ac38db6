// The action editor on the real store file, offscreen: the list rules through EditorDropList
// and the window, checked afterwards in the store through `korvane list --json`.
#include "support/actionkindrows.h"
#include "support/korvanecli.h"
#include "shell/editor/actionlistview.h"
#include "config.h"
#include "store/droplistentity.h"
#include "shell/editor/editordroplist.h"
#include "shell/generalsettingspage.h"
#include "store/actionstore.h"
#include "platform/platform.h"
#include "actions/text/translations.h"
#include "platform/settingsbackend.h"
#include "shell/editor/actioneditorpage.h"
#include "shell/preferenceswindow.h"
#include "shell/preferencestabs.h"
#include "platform/xdg/xdgautostart.h"

#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonObject>
#include <QLabel>
#include <QListWidget>
#include <QMimeData>
#include <QScrollArea>
#include <QStandardPaths>
#include <QTest>

#include <tuple>

using namespace KorvaneTest;

namespace {

// (title, index) of the catalog's records as the store file holds them, in list order.
QList<QPair<QString, int>> storedList(int catalog)
{
    ActionStore::instance()->saveDataChange();
    QList<QPair<QString, int>> list;
    for (const QJsonValue &value : runKorvane({QStringLiteral("list"), QStringLiteral("--json")}).json().array()) {
        const QJsonObject drop = value.toObject();
        if (drop.value(QStringLiteral("catalog")).toInt() == catalog)
            list.append({drop.value(QStringLiteral("title")).toString(), drop.value(QStringLiteral("index")).toInt()});
    }
    return list;
}

QStringList titles(const EditorDropList &list)
{
    QStringList result;
    for (const auto &drop : list.dropList())
        result.append(drop->title());
    return result;
}

// A text list of n records titled "0" … "n-1", nothing else in the catalog.
void makeList(EditorDropList *list, int n)
{
    list->load(0);
    while (list->count() > 0)
        list->removeDrop(list->at(0));
    for (int i = 0; i < n; ++i) {
        list->at(list->appendDrop(2))->setTitle(QString::number(i));
    }
    ActionStore::instance()->saveDataChange();
}

QList<QPair<QString, int>> expectedStore(const QStringList &order)
{
    QList<QPair<QString, int>> expected;
    for (int i = 0; i < order.size(); ++i)
        expected.append({order.at(i), i});
    return expected;
}

} // namespace

class ActionEditorTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void editRows_data();
    void editRows();
    void highlightFollowsItsRecord();
    void commandLineBesideTheEditor();
    void dragDataRoundTrip();
    void openingOnAFileRecordSelectsTypeRowZero();
    void tabsAndSizes();
    void everyPanelFitsTheEditor_data();
    void everyPanelFitsTheEditor();
    void autostartEntry();
};

void ActionEditorTest::initTestCase()
{
    // The store lives under the program's name: share it with the korvane binary.
    QCoreApplication::setApplicationName(QStringLiteral("korvane"));
    QCoreApplication::setApplicationVersion(QStringLiteral(KORVANE_VERSION));
    Translations::install({QStringLiteral("en")});
    QVERIFY(ActionStore::instance()->openStore());
    ActionStore::instance()->initializationDefaultData();
    Platform::settingsBackend()->setValue(QStringLiteral("firstOpenPreference"), true);
}

// A list of five, "0" to "4", edited once: a row moved to a drop row, a new one added at a row,
// or a row removed. The store holds the list in its order, numbered from 0.
void ActionEditorTest::editRows_data()
{
    QTest::addColumn<QString>("edit");
    QTest::addColumn<int>("from"); // the row moved or removed
    QTest::addColumn<int>("row"); // where it is dropped or added
    QTest::addColumn<int>("newRow"); // -1: refused
    QTest::addColumn<QStringList>("order");
    const QStringList unchanged{"0", "1", "2", "3", "4"};
    const QStringList added{"0", "1", "2", "3", "4", "new"};
    const std::tuple<const char *, const char *, int, int, int, QStringList> rows[] = {
        {"1 down to drop row 3", "move", 1, 3, 2, {"0", "2", "1", "3", "4"}},
        {"last up to row 0", "move", 4, 0, 0, {"4", "0", "1", "2", "3"}},
        {"first to the end", "move", 0, 5, 4, {"1", "2", "3", "4", "0"}},
        {"onto itself refused", "move", 2, 2, -1, unchanged},
        {"onto the row below refused", "move", 1, 2, -1, unchanged},
        {"last onto the end refused", "move", 4, 5, -1, unchanged},
        {"past the end refused", "move", 1, 6, -1, unchanged},
        {"added at row 0", "add", -1, 0, 0, {"new", "0", "1", "2", "3", "4"}},
        {"added in the middle", "add", -1, 2, 2, {"0", "1", "new", "2", "3", "4"}},
        {"added at the end", "add", -1, 5, 5, added},
        {"added beyond the end lands at the end", "add", -1, 9, 5, added},
        {"first removed lowers the later ones", "remove", 0, -1, 0, {"1", "2", "3", "4"}},
        {"last removed renumbers nothing", "remove", 4, -1, 4, {"0", "1", "2", "3"}},
    };
    for (const auto &[tag, edit, from, row, newRow, order] : rows)
        QTest::newRow(tag) << edit << from << row << newRow << order;
}

void ActionEditorTest::editRows()
{
    QFETCH(QString, edit);
    QFETCH(int, from);
    QFETCH(int, row);
    QFETCH(QStringList, order);
    EditorDropList list;
    makeList(&list, 5);
    if (edit == QLatin1String("move")) {
        QTEST(list.moveDrop(from, row), "newRow");
    } else if (edit == QLatin1String("add")) {
        const int added = list.insertDrop(5, row);
        QTEST(added, "newRow");
        list.at(added)->setTitle(QStringLiteral("new"));
        QCOMPARE(list.at(added)->type(), 5);
    } else {
        const auto drop = list.at(from);
        QTEST(list.removeDrop(drop), "newRow");
        // A record no longer in the list cannot be removed twice.
        QCOMPARE(list.removeDrop(drop), -1);
    }
    QCOMPARE(titles(list), order);
    for (int i = 0; i < list.count(); ++i)
        QCOMPARE(list.at(i)->index(), i);
    QCOMPARE(storedList(0), expectedStore(order));
}

void ActionEditorTest::highlightFollowsItsRecord()
{
    EditorDropList list;
    makeList(&list, 5);
    list.setCurrentPreviewSelectRow(2);
    list.moveDrop(4, 0);
    QCOMPARE(list.at(list.currentPreviewSelectRow())->title(), QStringLiteral("2"));
    list.moveDrop(list.currentPreviewSelectRow(), 5);
    QCOMPARE(list.currentPreviewSelectRow(), 4);
    list.insertDrop(1, 0);
    QCOMPARE(list.at(list.currentPreviewSelectRow())->title(), QStringLiteral("2"));
    list.removeDrop(list.at(list.currentPreviewSelectRow()));
    QCOMPARE(list.currentPreviewSelectRow(), -1);
}

void ActionEditorTest::commandLineBesideTheEditor()
{
    EditorDropList list;
    makeList(&list, 3);
    // An action the command line adds while the editor shows the list keeps its own place.
    QVERIFY(!addAction({"0", "2", "--title", "cli"}).isEmpty());
    list.moveDrop(2, 0);
    QCOMPARE(storedList(0), expectedStore({"2", "0", "1", "cli"}));

    // A write the store refuses: the change stays on screen, which says it is not saved.
    ActionEditorPage editor;
    const auto *problem = editor.findChild<QLabel *>(QStringLiteral("writeProblem"));
    QVERIFY(problem && problem->isHidden());
    const QString store = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) + "/korvane/KVCoreData.sqlite";
    const auto failing = [&](bool on) {
        return sql(store, {on ? "CREATE TRIGGER refuse BEFORE UPDATE ON DropListEntity BEGIN SELECT RAISE(ABORT, 'disk I/O error'); END" : "DROP TRIGGER refuse"});
    };
    QVERIFY(failing(true).isEmpty());
    list.at(0)->setTitle(QStringLiteral("kept"));
    QVERIFY(!ActionStore::instance()->saveDataChange());
    QVERIFY(!problem->isHidden() && problem->text().contains(QStringLiteral("disk I/O error")));
    QCOMPARE(list.at(0)->title(), QStringLiteral("kept"));
    QVERIFY(failing(false).isEmpty());
    QCOMPARE(storedList(0).first(), qMakePair(QStringLiteral("kept"), 0));
    QVERIFY(problem->isHidden());
}

void ActionEditorTest::dragDataRoundTrip()
{
    std::unique_ptr<QMimeData> data(ActionListView::dragData(17));
    QVERIFY(data->hasFormat(QStringLiteral("korVane.add")));
    QCOMPARE(ActionListView::dragNumber(data.get()), std::optional<qint64>(17));
    QMimeData foreign;
    foreign.setText(QStringLiteral("17"));
    QCOMPARE(ActionListView::dragNumber(&foreign), std::nullopt);
    QMimeData broken;
    broken.setData(QStringLiteral("korVane.add"), "garbage");
    QCOMPARE(ActionListView::dragNumber(&broken), std::nullopt);
}

void ActionEditorTest::openingOnAFileRecordSelectsTypeRowZero()
{
    const auto files = ActionStore::instance()->getDropsByCatalog(1);
    QVERIFY(files.size() >= 2);
    const auto wanted = files.at(1);
    ActionEditorPage editor;
    QCOMPARE(editor.currentCatalog(), 0);
    QCOMPARE(editor.typeListView()->currentRow(), 1);
    editor.editAction(1, wanted->dropID());
    QCOMPARE(editor.typeListView()->currentRow(), 0);
    QCOMPARE(editor.currentCatalog(), 1);
    QTRY_COMPARE(editor.currentPreviewSelectRow(), 1);
    QCOMPARE(editor.actionListView()->currentRow(), 1);

    // No record matches: the first row.
    editor.editAction(0, -5);
    QCOMPARE(editor.typeListView()->currentRow(), 1);
    QTRY_COMPARE(editor.actionListView()->currentRow(), 0);
}

void ActionEditorTest::tabsAndSizes()
{
    XdgAutostart autostart;
    PreferencesWindow window(&autostart);
    window.showWindowWithTab(PreferencesWindow::tabForName(QStringLiteral("general")));
    QCOMPARE(window.tabs()->currentIndex(), 1);
    const int bar = window.tabs()->barHeight();
    QTRY_COMPARE(window.size(), QSize(500, 390 + bar));
    window.showWindowWithTab(0);
    QTRY_COMPARE(window.size(), QSize(1120, 650 + bar));
    const int top = window.geometry().top();
    window.showWindowWithTab(2);
    QCOMPARE(window.size(), QSize(1120, 650 + bar));
    QCOMPARE(window.geometry().top(), top);
    QCOMPARE(window.windowTitle(), QStringLiteral("About — Korvane Preferences"));
    QCOMPARE(PreferencesWindow::tabForName(QStringLiteral("nonsense")), -1);
    QTest::keyClick(&window, Qt::Key_W, Qt::ControlModifier);
    QVERIFY(!window.isVisible());
}

void ActionEditorTest::everyPanelFitsTheEditor_data()
{
    addActionKindRows();
}

// The editor keeps its size whichever panel it shows: a panel wider than its column would
// push the window past the edge of a small screen.
void ActionEditorTest::everyPanelFitsTheEditor()
{
    QFETCH(int, catalog);
    QFETCH(int, type);
    EditorDropList list;
    list.load(catalog);
    const auto drop = list.at(list.appendDrop(type));
    drop->setTitle(QStringLiteral("A settings panel with a rather long title"));
    ActionStore::instance()->saveDataChange();

    XdgAutostart autostart;
    PreferencesWindow window(&autostart);
    window.showWindowWithTab(0);
    const QSize editorSize(1120, 650 + window.tabs()->barHeight());
    QTRY_COMPARE(window.size(), editorSize);
    window.editor()->editAction(catalog, drop->dropID());
    QTRY_COMPARE(window.editor()->actionListView()->currentRow(), drop->index());
    const auto *scroll = window.editor()->findChild<QScrollArea *>(QStringLiteral("editScroll"));
    QVERIFY(scroll);
    // Nor does it need scrolling sideways, once laid out.
    QTRY_VERIFY2(scroll->widget()->minimumSizeHint().width() <= scroll->viewport()->width(),
                 qPrintable(QStringLiteral("%1 > %2").arg(scroll->widget()->minimumSizeHint().width()).arg(scroll->viewport()->width())));
    QCOMPARE(window.size(), editorSize);
    list.removeDrop(drop);
    ActionStore::instance()->saveDataChange();
}

void ActionEditorTest::autostartEntry()
{
    // The entry under the name of earlier versions is taken over.
    QVERIFY(QDir().mkpath(QFileInfo(XdgAutostart::legacyEntryPath()).path()) && QFile(XdgAutostart::legacyEntryPath()).open(QIODevice::WriteOnly));
    XdgAutostart autostart(QStringLiteral("/opt/kor vane/bin/korvane"));
    QVERIFY(autostart.setEnabled(true) && !QFile::exists(XdgAutostart::legacyEntryPath()));
    QFile entry(XdgAutostart::entryPath());
    QVERIFY(entry.open(QIODevice::ReadOnly));
    const QByteArray text = entry.readAll();
    QVERIFY(text.contains("Exec=\"/opt/kor vane/bin/korvane\"\n"));
    QVERIFY(text.startsWith("[Desktop Entry]\n"));
    QVERIFY(autostart.isEnabled());
    QVERIFY(autostart.setEnabled(false) && autostart.setEnabled(false));
    QVERIFY(!QFile::exists(XdgAutostart::entryPath()));

    // The General tab's box takes the entry away and puts it back.
    QVERIFY(autostart.setEnabled(true));
    GeneralSettingsPage general(&autostart);
    general.show();
    for (int i = 0; i < 2; ++i) {
        general.launchLoginCheckbox()->click();
        QCOMPARE(QFile::exists(XdgAutostart::entryPath()), general.launchLoginCheckbox()->isChecked());
    }
}

QTEST_MAIN(ActionEditorTest)
#include "tst_actioneditor.moc"
