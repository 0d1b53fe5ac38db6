#include "support/actionrun.h"

#include "shell/actionrow.h"
#include "shell/dropwindow.h"
#include "widgets/flatbutton.h"
#include "actions/text/translations.h"
#include "shell/actionlistpopup.h"
#include "shell/trayglyph.h"

#include <QApplication>
#include <QGraphicsOpacityEffect>
#include <QLabel>
#include <QLayout>
#include <QLineEdit>
#include <QMimeData>
#include <QPainter>
#include <QRegularExpression>
#include <QScrollArea>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QTranslator>

using namespace KorvaneTest;

namespace {

QStringList titles(const ActionListPopup &view)
{
    QStringList result;
    for (const auto &drop : view.dropList())
        result.append(drop->title());
    return result;
}

// The drop window's headers and rows as shown, top to bottom; a dimmed row with "~" before it.
QStringList shown(const DropWindow &window)
{
    QStringList result;
    const QLayout *layout = window.findChild<QScrollArea *>()->widget()->layout();
    for (int i = 0; i < layout->count(); ++i) {
        const QWidget *widget = layout->itemAt(i)->widget();
        if (!widget || widget->isHidden())
            continue;
        const QList<QLabel *> labels = widget->findChildren<QLabel *>();
        result.append(QLatin1String(widget->graphicsEffect() ? "~" : "") + (labels.isEmpty() ? qobject_cast<const QLabel *>(widget) : labels.last())->text());
    }
    return result;
}

} // namespace

class ActionListPopupTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void sizesAndTitles();
    void fillsFromTheDroppedData_data();
    void fillsFromTheDroppedData();
    void typingSwitchesToTextActions();
    void runningRowFreezesTheList();
    void dragLightsTheRowUnderItAndScrolls();
    void trayGlyphStandsOutOnItsPanel_data();
    void trayGlyphStandsOutOnItsPanel();

private:
    QTemporaryDir m_dir;
};

void ActionListPopupTest::initTestCase()
{
    qputenv("XDG_DATA_HOME", QFile::encodeName(m_dir.path()));
    Translations::install({QStringLiteral("en-US")});
    Platform::setNotifier(std::make_unique<HeadlessNotifier>());
    Platform::setClipboard(std::make_unique<HeadlessClipboard>());
    ActionStore::instance()->initializationDefaultData();
}

// The popover's height for its rows on a screen, at most 0.8 of it; the rows' digit keys; the
// title that counts what was dropped, in English and in Chinese.
void ActionListPopupTest::sizesAndTitles()
{
    const int heights[][3] = {{0, 900, 96}, {10, 860, 696}, {11, 860, 688}, {30, 600, 480}}; // rows, screen, height
    for (const auto &[rows, screen, height] : heights)
        QCOMPARE(ActionListPopup::heightForRows(rows, screen), height);
    const QStringList labels{ActionRow::shortcutLabel(0), ActionRow::shortcutLabel(9), ActionRow::shortcutLabel(10)};
    QCOMPARE(labels, (QStringList{"Alt+1", "Alt+0", ""}));

    const std::tuple<bool, int, int, int, const char *> titles[] = {
        {false, 0, 1, 0, "1 folder"},
        {false, 0, 0, 3, "3 images"},
        {false, 2, 1, 0, "2 files and 1 folder"},
        {false, 0, 2, 1, "1 image and 2 folders"},
        {false, 1, 0, 2, "2 images and 1 file"},
        {false, 2, 2, 1, "1 image, 2 files and 2 folders"},
        {true, 0, 1, 0, "1 个文件夹"},
        {true, 2, 1, 0, "2 个文件和 1 个文件夹"},
        {true, 0, 2, 1, "1 张图片和 2 个文件夹"},
        {true, 1, 0, 2, "2 张图片和 1 个文件"},
        {true, 1, 2, 3, "3 张图片、1 个文件和 2 个文件夹"},
    };
    // Removes itself from the application when it goes out of scope.
    QTranslator translator;
    QVERIFY(translator.load(QStringLiteral(":/i18n/korvane_zh_CN.qm")));
    for (const auto &[chinese, files, folders, images, title] : titles) {
        if (chinese)
            QCoreApplication::installTranslator(&translator);
        QCOMPARE(ActionListPopup::countTitle(files, folders, images), QString::fromUtf8(title));
    }
}

void ActionListPopupTest::fillsFromTheDroppedData_data()
{
    QTest::addColumn<QStringList>("items");
    QTest::addColumn<QString>("field");
    QTest::addColumn<int>("rowCount");
    QTest::addColumn<bool>("placeholder");
    QTest::newRow("text") << QStringList{"text:hello"} << "hello" << 8 << false;
    QTest::newRow("one image") << QStringList{"/d/a.jpg"} << "1 image" << 10 << false;
    QTest::newRow("image, file and folder") << QStringList{"/d/a.jpg", "/d/b.txt", "/d/c/"} << "1 image, 1 file and 1 folder" << 10 << false;
    QTest::newRow("image data counts as a file") << QStringList{"png"} << "1 file" << 6 << false;
    QTest::newRow("nothing") << QStringList{} << "" << 0 << true;
}

void ActionListPopupTest::fillsFromTheDroppedData()
{
    QFETCH(QStringList, items);
    QFETCH(int, rowCount);
    QFETCH(bool, placeholder);
    dropItems(items);
    ActionListPopup view;
    view.showPayload(*KorvaneTest::dropped(), -1);
    QTEST(view.topTitleLabel()->text(), "field");
    QCOMPARE(view.rows().size(), rowCount);
    QCOMPARE(view.placeholderShown(), placeholder);
    if (placeholder)
        QCOMPARE(view.size(), QSize(300, 450));

    // The drop window groups every action by what it takes; the same data dragged over it
    // puts the actions the list shows first and dims the rest, moving its rows, not making them anew.
    DropWindow window;
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    const QList<QWidget *> rows = window.findChildren<QWidget *>(QStringLiteral("dropWindowRow"));
    const QStringList grouped = shown(window);
    QCOMPARE(grouped.first(), QStringLiteral("Text"));
    QCOMPARE(grouped.indexOf(QStringLiteral("Files")), 9);
    QMimeData mime;
    QList<QUrl> urls;
    for (const QString &item : items) {
        if (item.startsWith(QLatin1Char('/')))
            urls.append(QUrl::fromLocalFile(item));
        else if (item == QLatin1String("png"))
            mime.setData(QStringLiteral("image/png"), "\x89PNG-bytes");
        else
            mime.setText(item.section(QLatin1Char(':'), 1));
    }
    mime.setUrls(urls);
    QDragEnterEvent enter(rows.first()->mapTo(&window, QPoint(5, 5)), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(window.windowHandle(), &enter);
    QTRY_VERIFY(!shown(window).contains(QStringLiteral("Text")));
    const QStringList during = shown(window);
    const qsizetype lit = titles(view).size();
    QCOMPARE(during.mid(0, lit), titles(view));
    QCOMPARE(during.mid(lit).filter(QRegularExpression(QStringLiteral("^~"))).size(), grouped.size() - 2 - lit);
    // A dimmed row refuses the drag and a drop on it runs nothing; the drop ends the drag.
    const auto dimmed = std::find_if(rows.cbegin(), rows.cend(), [](const QWidget *row) { return row->graphicsEffect(); });
    QVERIFY(dimmed != rows.cend());
    const QPoint onDimmed = (*dimmed)->mapTo(&window, (*dimmed)->rect().center());
    QDragMoveEvent over(onDimmed, Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(window.windowHandle(), &over);
    QVERIFY(!over.isAccepted());
    QSignalSpy ran(&window, &DropWindow::droppedOnAction);
    QDropEvent drop(onDimmed, Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(window.windowHandle(), &drop);
    QVERIFY(!drop.isAccepted());
    QTRY_COMPARE(shown(window), grouped);
    QCOMPARE(ran.size(), 0);
    QCOMPARE(window.findChildren<QWidget *>(QStringLiteral("dropWindowRow")), rows);
}

void ActionListPopupTest::typingSwitchesToTextActions()
{
    dropItems({"/d/a.jpg"});
    ActionListPopup view;
    view.showPayload(*KorvaneTest::dropped(), -1);
    QVERIFY(!titles(view).contains(QStringLiteral("Character Counter")));
    QTest::keyClicks(view.topTitleLabel(), QStringLiteral("x"));
    QCOMPARE(view.payload().dataCatalog(), qint64(DataCatalogText));
    QCOMPARE(view.rows().size(), 8);
    QVERIFY(titles(view).contains(QStringLiteral("Character Counter")));
}

void ActionListPopupTest::runningRowFreezesTheList()
{
    dropItems({"text:abc"});
    ActionListPopup view;
    view.showPayload(*KorvaneTest::dropped(), -1);
    const QStringList before = titles(view);
    Q_EMIT view.rows().at(2)->runStateChanged(2, true);
    for (ActionRow *row : view.rows()) {
        const auto *effect = qobject_cast<QGraphicsOpacityEffect *>(row->graphicsEffect());
        QCOMPARE(effect->opacity(), row->row() == 2 ? 1.0 : 0.2);
        QVERIFY(row->button()->ignoresMouse());
    }
    // A running row keeps the list as it is, whatever was classified meanwhile.
    dropItems({"/d/a.jpg"});
    view.showPayload(*KorvaneTest::dropped(), 2);
    QCOMPARE(titles(view), before);
    Q_EMIT view.rows().at(2)->runStateChanged(2, false);
    for (ActionRow *row : view.rows()) {
        QCOMPARE(qobject_cast<QGraphicsOpacityEffect *>(row->graphicsEffect())->opacity(), 1.0);
        QVERIFY(!row->button()->ignoresMouse());
    }
}

void ActionListPopupTest::dragLightsTheRowUnderItAndScrolls()
{
    dropItems({"/d/a.jpg"});
    ActionListPopup view;
    view.showPayload(*KorvaneTest::dropped(), -1);
    const QList<ActionRow *> rows = view.rows();
    QCOMPARE(rows.size(), 10);
    // Four whole rows are shown; the list scrolls to the others.
    view.setFixedHeight(ActionListPopup::heightForRows(4, 10000));
    view.show();
    QVERIFY(QTest::qWaitForWindowExposed(&view));
    const auto lit = [&] {
        QList<int> on;
        for (ActionRow *row : rows)
            on += row->button()->isOn() ? QList<int>{row->row()} : QList<int>();
        return on;
    };
    QMimeData mime;
    const auto enter = [&](ActionRow *row, const QPoint &at) {
        QDragEnterEvent event(at, Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(row, &event);
        QVERIFY(event.isAccepted());
    };
    enter(rows.at(0), QPoint(100, 30));
    QCOMPARE(lit(), QList<int>{0});
    QDragLeaveEvent leave;
    QApplication::sendEvent(rows.at(0), &leave);
    enter(rows.at(2), QPoint(100, 30));
    QCOMPARE(lit(), QList<int>{2});
    // Resting near the bottom edge scrolls to the end; the light moves with the rows.
    const QPoint pointer = rows.at(3)->mapToGlobal(QPoint(100, 45));
    enter(rows.at(3), QPoint(100, 45));
    auto *bar = view.findChild<QScrollArea *>()->verticalScrollBar();
    QTRY_COMPARE(bar->value(), bar->maximum());
    QCOMPARE(lit(), QList<int>{9});
    // The toolkit drops on the row of the last move; the row now under the pointer takes it.
    QDropEvent drop(rows.at(3)->mapFromGlobal(pointer), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(rows.at(3), &drop);
    QVERIFY(rows.at(9)->stopAction() && !rows.at(3)->stopAction());
}

void ActionListPopupTest::trayGlyphStandsOutOnItsPanel_data()
{
    QTest::addColumn<QColor>("announced");
    QTest::addColumn<QColor>("panel");
    QTest::addColumn<QColor>("fill");
    QTest::addColumn<bool>("outlined");
    const QColor light(0xdc, 0xdc, 0xdc), dark(0x23, 0x26, 0x29);
    // Trayer in the GTK theme's colour, where the glyph's own light grey once nearly vanished.
    QTest::newRow("light panel") << QColor() << QColor(0xdc, 0xda, 0xd5) << dark << false;
    QTest::newRow("white panel") << QColor() << QColor(Qt::white) << dark << false;
    QTest::newRow("grey panel") << QColor() << QColor(0x80, 0x80, 0x80) << light << false;
    QTest::newRow("dark panel") << QColor() << QColor(0x30, 0x30, 0x30) << light << false;
    QTest::newRow("colour the tray announces") << QColor(0xff, 0x88, 0x00) << QColor(0x30, 0x30, 0x30) << QColor(0xff, 0x88, 0x00) << false;
    QTest::newRow("panel unknown") << QColor() << QColor() << light << true;
}

void ActionListPopupTest::trayGlyphStandsOutOnItsPanel()
{
    QFETCH(QColor, announced);
    QFETCH(QColor, panel);
    QFETCH(QColor, fill);
    const auto known = [](const QColor &colour) { return colour.isValid() ? std::optional<QColor>(colour) : std::nullopt; };
    const TrayGlyph::Style style = TrayGlyph::styleFor(known(announced), known(panel));
    QCOMPARE(style.fill, fill);
    QTEST(style.outline.isValid(), "outlined");
    if (announced.isValid())
        return;
    // What the panel shows: the glyph drawn over its background, for each panel it may be on.
    for (const QColor &background : panel.isValid() ? QList<QColor>{panel} : QList<QColor>{Qt::white, QColor(0xdc, 0xda, 0xd5), Qt::black}) {
        for (const QString &name : {QStringLiteral("menubarIcon"), QStringLiteral("7")}) {
            QImage shown(22, 22, QImage::Format_RGB32);
            shown.fill(background);
            QPainter(&shown).drawImage(0, 0, TrayGlyph::image(name, 22, style));
            qreal best = 0;
            for (int y = 0; y < shown.height(); ++y) {
                for (int x = 0; x < shown.width(); ++x)
                    best = std::max(best, TrayGlyph::contrast(shown.pixelColor(x, y), background));
            }
            QVERIFY2(best > 0.45, qPrintable(QStringLiteral("%1 on %2: %3").arg(name, background.name()).arg(best)));
        }
    }
}

QTEST_MAIN(ActionListPopupTest)
#include "tst_actionlistpopup.moc"
