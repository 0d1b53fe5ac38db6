// The action editor of the real program on a display of its own, used like a user would: the
// mouse drags and clicks through xdotool, the keyboard types and moves the focus. Every flow
// starts Korvane on a list it wrote with `korvane import` and reads the store afterwards with
// `korvane list --json`.
#include "support/desktopsession.h"
#include "support/files.h"

#include <QApplication>
#include <QClipboard>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QMimeData>
#include <QTemporaryDir>
#include <QTest>
#include <QUrl>

using namespace KorvaneTest;

namespace {

DesktopSession *session = nullptr;

const QString editorWindowName = QStringLiteral("^Actions .* Korvane Preferences$");
const QString popoverWindowName = QStringLiteral("^Korvane actions$");

// The editor's columns, in pixels from the left of its page: the data types, the catalog
// outline and the action list have fixed widths; the settings panel takes the rest.
constexpr int TypeRowHeight = 40;
constexpr int TypeListWidth = 140;
constexpr int OutlineWidth = 300;
constexpr int ListWidth = 270;
// One-pixel separators between the columns; the list's own frame adds a little more.
constexpr int OutlineCenterX = TypeListWidth + 1 + OutlineWidth / 2 + 2;
constexpr int OutlineGroupHeight = 24;
constexpr int OutlineRowHeight = 38;
constexpr int ListLeft = TypeListWidth + 1 + OutlineWidth + 1 + 3;
constexpr int ListRowHeight = 44;
constexpr int PanelLeft = ListLeft + ListWidth + 3;
constexpr int EditorPageHeight = 650;
// The popover's rows under its header and search field.
constexpr int PopoverFirstRowY = 85;
constexpr int PopoverRowPitch = 60;

// Event modifier flags as the store keeps them.
constexpr int ControlFlag = 0x40000;
constexpr int OptionFlag = 0x80000;
// Key codes of the store: F5, J.
constexpr int KeyCodeF5 = 96;
constexpr int KeyCodeJ = 38;

constexpr auto xdo = &DesktopSession::xdotool;
constexpr auto moveTo = &DesktopSession::mouseTo;

bool clickAt(QPoint at, int button = 1)
{
    return moveTo(at) && xdo({"click", QString::number(button)});
}

bool keys(const QStringList &names)
{
    return xdo(QStringList{"key", "--delay", "40"} + names);
}

bool typeText(const QString &text)
{
    return xdo({"type", "--delay", "20", text});
}

// Presses on from, moves there in small steps so both the drag threshold and the drop target
// see motion, and lets go. Korvane takes the events in the order they were made, so the
// release comes after every step whatever the pace.
bool dragFromTo(QPoint from, QPoint to)
{
    // A last wiggle on the target, then the release.
    return DesktopSession::pressAndDrag(from, to, 14) && moveTo(to + QPoint(1, 0)) && moveTo(to) && xdo({"mouseup", "1"});
}

bool isWhite(QRgb pixel)
{
    return qRed(pixel) >= 250 && qGreen(pixel) >= 250 && qBlue(pixel) >= 250;
}

// Runs of white pixels at least minimum long down the column x, as [first, last] pairs.
QList<QPair<int, int>> whiteRuns(const QImage &image, int x, int top, int bottom, int minimum)
{
    QList<QPair<int, int>> runs;
    int start = -1;
    for (int y = top; y <= bottom + 1; ++y) {
        const bool white = y <= bottom && y < image.height() && isWhite(image.pixel(x, y));
        if (white && start < 0)
            start = y;
        if (!white && start >= 0) {
            if (y - start >= minimum)
                runs.append({start, y - 1});
            start = -1;
        }
    }
    return runs;
}

struct StoredDrop {
    QString title;
    int index = -1;
    int type = -1;
    int keyCode = 0;
    int modifiers = 0;
    qint64 dropID = 0;
};

} // namespace

class EditorDesktopTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void cleanup();
    void reorderByDrag_data();
    void reorderByDrag();
    void addByDragFromTheCatalog();
    void openingOnAFileRecord();
    void takenHotkeyIsRefused();

private:
    // Replaces every action of the store with these (catalog, type, title and any settings).
    void seed(const QJsonArray &actions);
    void startKorvane(const QStringList &args);
    // Starts Korvane with its editor open and waits until the window has its editor size.
    void openEditor();
    QList<StoredDrop> stored(int catalog);
    QStringList storedOrder(int catalog);
    void saveScreenshot(const QString &name) { QVERIFY(DesktopSession::keep(DesktopSession::screenshot(), m_home.path(), name)); }

    // Where things are on the editor's page, from its window's geometry.
    QRect editorWindow() const;
    QPoint pageOrigin() const;
    QPoint typeRow(int row) const;
    QPoint outlineRow(int group, int row, const QList<int> &groupSizes) const;
    int listTop();
    QPoint listRow(int row);
    QPoint dropPoint(int row);
    QPoint removeButton(int row);
    // Clicks the row of the action list and waits for its panel; gives the panel's name field.
    QRect selectAndFindNameField(int row);
    // The settings panel's name field (the first white box near the window's right edge).
    QRect nameField() const;
    bool nameSelected() const;

    QTemporaryDir m_home;
    KorvaneProcess m_korvane{m_home.path()};
    int m_barHeight = -1;
    int m_listTop = -1;
};

void EditorDesktopTest::seed(const QJsonArray &actions)
{
    const QString path = writtenFile(m_home.filePath(QStringLiteral("seed.json")), QJsonDocument(QJsonObject{{"format", "korvane-actions"}, {"version", 1}, {"actions", actions}}).toJson());
    QVERIFY(!path.isEmpty());
    QCOMPARE(m_korvane.run({"import", path, "--replace"}).exitCode, 0);
}

void EditorDesktopTest::initTestCase()
{
    QVERIFY(session->startServices());
}

void EditorDesktopTest::startKorvane(const QStringList &args)
{
    DesktopSession::end(m_korvane.process);
    // Every flow starts with the guide seen and the settings otherwise fresh.
    QVERIFY(writeFile(m_home.filePath(QStringLiteral("config/korvane/korvane.conf")), "[General]\nfirstOpenPreference=true\n"));

    m_listTop = -1;
    QVERIFY2(m_korvane.start(args), m_korvane.output.constData());
}

void EditorDesktopTest::openEditor()
{
    startKorvane({"preferences", "--tab", "editor"});
    QTRY_VERIFY_WITH_TIMEOUT(DesktopSession::windowShown(editorWindowName), 15000);
    QTRY_COMPARE_WITH_TIMEOUT(editorWindow().width(), 1120, 10000);
    m_barHeight = editorWindow().height() - EditorPageHeight;
    QVERIFY(m_barHeight > 0);
    QTRY_VERIFY_WITH_TIMEOUT(listTop() > 0, 10000);
}

void EditorDesktopTest::cleanup()
{
    DesktopSession::end(m_korvane.process);
}

QList<StoredDrop> EditorDesktopTest::stored(int catalog)
{
    QList<StoredDrop> drops;
    for (const QJsonValue &value : QJsonDocument::fromJson(m_korvane.run({"list", "--json"}).out).array()) {
        const QJsonObject object = value.toObject();
        if (object.value("catalog").toInt() != catalog)
            continue;
        drops.append({object.value("title").toString(), object.value("index").toInt(), object.value("type").toInt(),
                      object.value("keyCode").toInt(), object.value("modifiers").toInt(),
                      qint64(object.value("dropID").toDouble())});
    }
    std::sort(drops.begin(), drops.end(), [](const StoredDrop &a, const StoredDrop &b) { return a.index < b.index; });
    return drops;
}

// "title@index" in the order of the stored indices.
QStringList EditorDesktopTest::storedOrder(int catalog)
{
    QStringList order;
    for (const StoredDrop &drop : stored(catalog))
        order.append(drop.title + QLatin1Char('@') + QString::number(drop.index));
    return order;
}

QRect EditorDesktopTest::editorWindow() const
{
    return DesktopSession::windowGeometry(editorWindowName);
}

QPoint EditorDesktopTest::pageOrigin() const
{
    return editorWindow().topLeft() + QPoint(0, m_barHeight);
}

QPoint EditorDesktopTest::typeRow(int row) const
{
    return pageOrigin() + QPoint(75, TypeRowHeight * row + TypeRowHeight / 2);
}

QPoint EditorDesktopTest::outlineRow(int group, int row, const QList<int> &groupSizes) const
{
    int y = 0;
    for (int g = 0; g < group; ++g)
        y += OutlineGroupHeight + groupSizes.at(g) * OutlineRowHeight;
    y += OutlineGroupHeight + row * OutlineRowHeight + OutlineRowHeight / 2;
    return pageOrigin() + QPoint(OutlineCenterX, y);
}

int EditorDesktopTest::listTop()
{
    // The list's title sits on the window's background; the list itself starts with the
    // first white line under it.
    if (m_listTop < 0) {
        const QImage shot = DesktopSession::screenshot();
        const QPoint origin = pageOrigin();
        const auto runs = whiteRuns(shot, origin.x() + ListLeft + ListWidth / 2, origin.y(), origin.y() + EditorPageHeight - 1, 40);
        if (!runs.isEmpty())
            m_listTop = runs.first().first - origin.y();
    }
    return m_listTop;
}

QPoint EditorDesktopTest::listRow(int row)
{
    return pageOrigin() + QPoint(ListLeft + ListWidth / 2 - 40, listTop() + ListRowHeight * row + ListRowHeight / 2);
}

// A point on the action list that drops before row (or after the last one when row is the
// length of the list): the upper part of a row drops before it.
QPoint EditorDesktopTest::dropPoint(int row)
{
    return pageOrigin() + QPoint(ListLeft + ListWidth / 2 - 40, listTop() + ListRowHeight * row + 8);
}

QPoint EditorDesktopTest::removeButton(int row)
{
    return pageOrigin() + QPoint(ListLeft + ListWidth - 18, listTop() + ListRowHeight * row + ListRowHeight / 2);
}

QRect EditorDesktopTest::selectAndFindNameField(int row)
{
    if (!clickAt(listRow(row)))
        return QRect();
    // The panel may widen the window; its fields grow to the right edge, so the first white
    // box down a line near that edge is the name field.
    QRect field;
    const bool found = QTest::qWaitFor([&] {
        field = nameField();
        return field.isValid();
    },
                                       10000);
    return found ? field : QRect();
}

QRect EditorDesktopTest::nameField() const
{
    const QRect window = editorWindow();
    if (!window.isValid())
        return QRect();
    const int x = window.right() - 50;
    const auto runs = whiteRuns(DesktopSession::screenshot(), x, window.top() + m_barHeight, window.bottom(), 12);
    if (runs.isEmpty() || runs.first().second - runs.first().first >= 40)
        return QRect();
    return QRect(QPoint(x - 100, runs.first().first), QPoint(x, runs.first().second));
}

bool EditorDesktopTest::nameSelected() const
{
    const QRect field = nameField();
    if (!field.isValid())
        return false;
    const QImage shot = DesktopSession::screenshot();
    // The highlight behind the selected text, along the field's middle line.
    for (int x = pageOrigin().x() + PanelLeft + 4; x < field.right(); ++x) {
        const QRgb pixel = shot.pixel(x, field.center().y());
        if (qBlue(pixel) > qRed(pixel) + 80)
            return true;
    }
    return false;
}

namespace {

QJsonObject action(int catalog, int type, const QString &title, const QJsonObject &extra = {})
{
    QJsonObject object = extra;
    object.insert("catalog", catalog);
    object.insert("type", type);
    object.insert("title", title);
    return object;
}

QJsonArray countersTitled(const QStringList &titles)
{
    QJsonArray actions;
    for (const QString &title : titles)
        actions.append(action(0, 2, title));
    return actions;
}

QStringList withIndices(const QStringList &titles)
{
    QStringList order;
    for (int i = 0; i < titles.size(); ++i)
        order.append(titles.at(i) + QLatin1Char('@') + QString::number(i));
    return order;
}

} // namespace

// A row dragged to another place, then a row removed with its button, twice at the same place.
void EditorDesktopTest::reorderByDrag_data()
{
    QTest::addColumn<int>("from");
    QTest::addColumn<int>("dropRow");
    QTest::addColumn<QStringList>("expected");
    QTest::addColumn<int>("removed");
    QTest::newRow("second to drop row 3, a middle one removed") << 1 << 3 << QStringList{"A", "C", "B", "D", "E"} << 2;
    QTest::newRow("last to drop row 0, the first removed") << 4 << 0 << QStringList{"E", "A", "B", "C", "D"} << 0;
    QTest::newRow("onto the row right below is refused, the last removed") << 1 << 2 << QStringList{"A", "B", "C", "D", "E"} << 4;
}

void EditorDesktopTest::reorderByDrag()
{
    QFETCH(int, from);
    QFETCH(int, dropRow);
    QFETCH(QStringList, expected);
    QFETCH(int, removed);
    seed(countersTitled({"A", "B", "C", "D", "E"}));
    openEditor();
    QVERIFY(dragFromTo(listRow(from), dropPoint(dropRow)));
    QTRY_COMPARE_WITH_TIMEOUT(storedOrder(0), withIndices(expected), 10000);
    saveScreenshot(QStringLiteral("reorder-%1-%2").arg(from).arg(dropRow));
    // A refused drop leaves the order as it was, so the order alone does not tell that the
    // drop has been handled; a removal clicked after it does, once it is stored. The rows
    // left move up: the same place then removes the next one, or nothing past the end.
    for (int click = 0; click < 2; ++click) {
        QVERIFY(clickAt(removeButton(removed)));
        if (removed < expected.size())
            expected.removeAt(removed);
        QTRY_COMPARE_WITH_TIMEOUT(storedOrder(0), withIndices(expected), 10000);
    }
}

void EditorDesktopTest::addByDragFromTheCatalog()
{
    seed(countersTitled({"A", "B", "C"}));
    openEditor();
    // The text catalog: "Common" holds five kinds, Translate (type 0) second among them.
    const QPoint translate = outlineRow(0, 1, {5, 2, 1, 2});
    QVERIFY(dragFromTo(translate, dropPoint(0)));
    QTRY_COMPARE_WITH_TIMEOUT(stored(0).size(), 4, 10000);
    const QList<StoredDrop> drops = stored(0);
    QCOMPARE(drops.at(0).type, 0);
    QCOMPARE(drops.at(0).index, 0);
    QCOMPARE(storedOrder(0).mid(1), (QStringList{"A@1", "B@2", "C@3"}));
    saveScreenshot(QStringLiteral("add-by-drag"));
}

void EditorDesktopTest::openingOnAFileRecord()
{
    seed({action(0, 2, "Count"), action(1, 9, "Copy Here"), action(1, 8, "Move There")});
    const QList<StoredDrop> files = stored(1);
    QCOMPARE(files.size(), 2);
    startKorvane({});
    QImage picture(30, 20, QImage::Format_RGB32);
    picture.fill(Qt::darkGreen);
    const QString file = m_home.filePath(QStringLiteral("holiday.png"));
    QVERIFY(picture.save(file));
    auto *data = new QMimeData;
    data->setUrls({QUrl::fromLocalFile(file)});
    QGuiApplication::clipboard()->setMimeData(data);

    // The popover lists the file actions for the clipboard; "Edit" on the second row's menu
    // opens the editor on that record.
    QVERIFY(keys({"super+shift+k"}));
    QTRY_VERIFY_WITH_TIMEOUT(DesktopSession::windowDrawnWith(popoverWindowName, QColor(0xF6, 0xF6, 0xF7)), 15000);
    saveScreenshot(QStringLiteral("popover-files"));
    const QRect popover = DesktopSession::windowGeometry(popoverWindowName);
    QVERIFY(popover.isValid());
    const int windows = DesktopSession::windowCount(QStringLiteral("korvane"));
    QVERIFY(clickAt(QPoint(popover.center().x(), popover.top() + PopoverFirstRowY + PopoverRowPitch), 3));
    // The row's menu is a window of its own.
    QTRY_COMPARE_WITH_TIMEOUT(DesktopSession::windowCount(QStringLiteral("korvane")), windows + 1, 10000);
    saveScreenshot(QStringLiteral("popover-row-menu"));
    QVERIFY(keys({"Down", "Return"}));
    QTRY_VERIFY_WITH_TIMEOUT(DesktopSession::windowShown(editorWindowName), 15000);
    QTRY_COMPARE_WITH_TIMEOUT(editorWindow().width() >= 1120, true, 10000);
    m_barHeight = DesktopSession::windowGeometry(editorWindowName).height() - EditorPageHeight;
    // The record's panel has its name field focused and selected a moment later.
    QTRY_VERIFY_WITH_TIMEOUT(nameSelected(), 10000);
    saveScreenshot(QStringLiteral("editor-opened-on-file-record"));
    const QImage shot = DesktopSession::screenshot();
    const QRgb filesRow = shot.pixel(typeRow(0) + QPoint(60, 0));
    const QRgb textRow = shot.pixel(typeRow(1) + QPoint(60, 0));
    QVERIFY2(qBlue(filesRow) > qRed(filesRow) + 40, qPrintable(QColor(filesRow).name()));
    QVERIFY2(isWhite(textRow), qPrintable(QColor(textRow).name()));

    QVERIFY(typeText(QStringLiteral("Moved")));
    QVERIFY(keys({"Return"}));
    QTRY_COMPARE_WITH_TIMEOUT(storedOrder(1), (QStringList{"Copy Here@0", "Moved@1"}), 10000);
    QCOMPARE(stored(1).at(1).dropID, files.at(1).dropID);
    QCOMPARE(storedOrder(0), QStringList{"Count@0"});
}

void EditorDesktopTest::takenHotkeyIsRefused()
{
    // F5 alone is taken by the first action; with no modifier it is never grabbed, so the
    // key reaches the recording field.
    seed({action(0, 2, "A", {{"keyCode", KeyCodeF5}, {"modifiers", 0}}), action(0, 2, "B")});
    openEditor();
    const QRect name = selectAndFindNameField(1);
    QVERIFY(name.isValid());
    QVERIFY(clickAt(name.center()));
    // Tab to "Record Shortcut", press it, and the recording field has the focus. F5 is
    // refused and recording goes on: the free combination after it is taken.
    QVERIFY(keys({"Tab", "space", "F5", "ctrl+alt+j"}));
    QTRY_COMPARE_WITH_TIMEOUT(stored(0).value(1).keyCode, KeyCodeJ, 10000);
    saveScreenshot(QStringLiteral("hotkey-taken"));
    const QList<StoredDrop> drops = stored(0);
    QCOMPARE(drops.size(), 2);
    QCOMPARE(drops.at(1).modifiers, ControlFlag | OptionFlag);
    QCOMPARE(qMakePair(drops.at(0).keyCode, drops.at(0).modifiers), qMakePair(KeyCodeF5, 0));
}

// Wide enough for the editor with a settings panel beside its lists.
int main(int argc, char *argv[])
{
    return DesktopSession::run<EditorDesktopTest, QApplication>(argc, argv, session, "1600x900x24");
}

#include "tst_editordesktop.moc"
