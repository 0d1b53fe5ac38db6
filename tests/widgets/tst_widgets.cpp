#include "widgets/flatbutton.h"
#include "widgets/popoverwindow.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QScreen>
#include <QSignalSpy>
#include <QStyle>
#include <QStyleFactory>
#include <QTemporaryDir>
#include <QTest>
#include <QVBoxLayout>
#include <QWindow>

#include <memory>

namespace {

QPalette lightPalette()
{
    const std::unique_ptr<QStyle> fusion(QStyleFactory::create(QStringLiteral("Fusion")));
    return fusion->standardPalette();
}

QPalette darkPalette()
{
    QPalette p;
    p.setColor(QPalette::Window, QColor(0x2d, 0x2d, 0x30));
    p.setColor(QPalette::WindowText, QColor(0xee, 0xee, 0xee));
    p.setColor(QPalette::Base, QColor(0x1e, 0x1e, 0x20));
    p.setColor(QPalette::Text, QColor(0xee, 0xee, 0xee));
    p.setColor(QPalette::Button, QColor(0x3a, 0x3a, 0x3d));
    p.setColor(QPalette::ButtonText, QColor(0xee, 0xee, 0xee));
    p.setColor(QPalette::Highlight, QColor(0x3d, 0x8e, 0xe6));
    p.setColor(QPalette::HighlightedText, Qt::white);
    return p;
}

QIcon glyphIcon(const QColor &color, const QString &glyph)
{
    QPixmap pixmap(56, 56);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    QLinearGradient fill(0, 0, 0, 56);
    fill.setColorAt(0, color.lighter(118));
    fill.setColorAt(1, color);
    painter.setPen(Qt::NoPen);
    painter.setBrush(fill);
    painter.drawRoundedRect(QRectF(2, 2, 52, 52), 13, 13);
    QFont font = painter.font();
    font.setPixelSize(24);
    font.setBold(true);
    painter.setFont(font);
    painter.setPen(Qt::white);
    painter.drawText(QRect(0, 0, 56, 56), Qt::AlignCenter, glyph);
    return QIcon(pixmap);
}

FlatButton *makeRow(const QString &title, const QIcon &icon, const QString &shortcut,
                    const QString &hotKey = QString())
{
    auto *button = new FlatButton;
    button->setTitle(title);
    button->setIcon(icon);
    button->setShortcutText(shortcut);
    if (!hotKey.isEmpty()) {
        button->setHotKeyText(hotKey);
        button->setTitleOffset(-8);
    }
    return button;
}

QWidget *makeListContent()
{
    auto *content = new QWidget;
    auto *layout = new QVBoxLayout(content);
    layout->setContentsMargins(0, 4, 0, 4);
    layout->setSpacing(0);
    auto *header = new QLabel(QStringLiteral("3 images"));
    QFont font = header->font();
    font.setBold(true);
    header->setFont(font);
    header->setContentsMargins(14, 2, 14, 6);
    layout->addWidget(header);
    const std::tuple<const char *, QRgb, const char *> rows[] = {
        {"Compress", 0x2f80ed, "C"}, {"Convert to PNG", 0x9b51e0, "P"}, {"Upload to Qiniu", 0x27ae60, "Q"}, {"Copy to folder", 0xf2994a, "F"}};
    for (int i = 0; i < 4; ++i) {
        const auto &[title, colour, glyph] = rows[i];
        // The second row is the one under the pointer, with a hotkey of its own.
        FlatButton *row = makeRow(title, glyphIcon(QColor(colour), glyph), QStringLiteral("Super+%1").arg(i + 1), i == 1 ? "Ctrl+Alt+P" : "");
        row->setOn(i == 1);
        layout->addWidget(row);
    }
    content->setFixedSize(300, content->sizeHint().height());
    return content;
}

QRect screenGeometry()
{
    return QGuiApplication::primaryScreen()->geometry();
}

QRect availableGeometry()
{
    return QGuiApplication::primaryScreen()->availableGeometry();
}

QRect topAnchor()
{
    const QRect g = screenGeometry();
    return QRect(g.center().x(), g.top(), 24, 24);
}

// Along the edge that carries the arrow, the coordinate that must meet the anchor's centre.
int alongEdge(Qt::Edge edge, const QPoint &point)
{
    return edge == Qt::TopEdge || edge == Qt::BottomEdge ? point.x() : point.y();
}

} // namespace

class WidgetsTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void cleanup();

    void placement_data();
    void placement();
    void followsContentSize_data();
    void followsContentSize();
    void oversizedContentStaysOnScreen();
    void closing_data();
    void closing();
    void reshowing();
    void backgroundColor_data();
    void backgroundColor();
    void shape();
    void renderPopover_data();
    void renderPopover();

    void reportedProgress_data();
    void reportedProgress();
    void result_data();
    void result();
    void secondFinishIsIgnored();
    void restartCancelsPendingResult();
    void mouse_data();
    void mouse();
    void renderRow_data();
    void renderRow();

private:
    void save(const QPixmap &pixmap, const QString &name, bool documented = true);

    QTemporaryDir m_dir;
};

QtMessageHandler testLogHandler = nullptr;

// The offscreen platform warns about every opacity step of the fades the tests force on.
void dropPlatformLimits(QtMsgType type, const QMessageLogContext &context, const QString &message)
{
    if (message.startsWith(QLatin1String("This plugin does not support")))
        return;
    testLogHandler(type, context, message);
}

void WidgetsTest::initTestCase()
{
    testLogHandler = qInstallMessageHandler(dropPlatformLimits);
    QVERIFY(m_dir.isValid());
    QApplication::setStyle(QStringLiteral("Fusion"));
    QApplication::setPalette(lightPalette());
}

void WidgetsTest::cleanup()
{
    QApplication::setPalette(lightPalette());
}

void WidgetsTest::save(const QPixmap &pixmap, const QString &name, bool documented)
{
    QVERIFY(!pixmap.isNull());
    QVERIFY(pixmap.save(m_dir.filePath(name)));
    // Set to refresh the pictures under docs/screenshots from a test run.
    const QString docs = qEnvironmentVariable("KORVANE_SCREENSHOT_DIR");
    if (documented && !docs.isEmpty())
        QVERIFY(pixmap.save(QDir(docs).filePath(name)));
}

void WidgetsTest::placement_data()
{
    QTest::addColumn<QRect>("anchor");
    QTest::addColumn<int>("edge");

    const QRect g = screenGeometry();
    const int s = 24;
    QTest::newRow("top, middle") << QRect(g.center().x(), g.top(), s, s) << int(Qt::TopEdge);
    QTest::newRow("top, right corner") << QRect(g.right() + 1 - s, g.top(), s, s) << int(Qt::TopEdge);
    QTest::newRow("top, right corner, scaled") << QRect(g.right() + 1 - s, g.top() + 1, s, s / 2) << int(Qt::TopEdge);
    QTest::newRow("top, left corner") << QRect(g.left(), g.top(), s, s) << int(Qt::TopEdge);
    QTest::newRow("bottom, middle") << QRect(g.center().x(), g.bottom() + 1 - s, s, s) << int(Qt::BottomEdge);
    QTest::newRow("bottom, right corner") << QRect(g.right() + 1 - s, g.bottom() + 1 - s, s, s) << int(Qt::BottomEdge);
    QTest::newRow("left, middle") << QRect(g.left(), g.center().y(), s, s) << int(Qt::LeftEdge);
    QTest::newRow("right, middle") << QRect(g.right() + 1 - s, g.center().y(), s, s) << int(Qt::RightEdge);
}

void WidgetsTest::placement()
{
    QFETCH(QRect, anchor);
    QFETCH(int, edge);

    PopoverWindow popover;
    auto *content = new QWidget;
    content->setFixedSize(300, 200);
    popover.setContentWidget(content);
    popover.showRelativeToRect(anchor);

    QCOMPARE(int(popover.arrowEdge()), edge);
    const QRect frame = popover.geometry();
    QVERIFY2(availableGeometry().contains(frame),
             qPrintable(QStringLiteral("%1,%2 %3x%4").arg(frame.x()).arg(frame.y()).arg(frame.width()).arg(frame.height())));

    // The tip points at the anchor's middle from the frame's edge that faces it: one step
    // towards the anchor leaves the frame.
    const QPoint tip = popover.arrowTip();
    QCOMPARE(alongEdge(popover.arrowEdge(), tip), alongEdge(popover.arrowEdge(), anchor.center()));
    const QPoint towards(qBound(-1, anchor.center().x() - tip.x(), 1), qBound(-1, anchor.center().y() - tip.y(), 1));
    QVERIFY(frame.contains(tip) && !frame.contains(tip + towards));
    QVERIFY(!frame.intersects(anchor));
    const bool vertical = edge == Qt::TopEdge || edge == Qt::BottomEdge;
    QCOMPARE(vertical ? frame.width() : frame.height(), (vertical ? 300 : 200) + 2 * PopoverWindow::kContentMargin);
    // The tip is part of the drawn shape, and the content sits fully inside the body.
    QVERIFY(popover.shapeRegion().contains(tip - frame.topLeft()));
    const QRect contentFrame(content->mapTo(&popover, QPoint(0, 0)), content->size());
    QCOMPARE(content->size(), QSize(300, 200));
    QVERIFY(popover.shapeRegion().contains(contentFrame));
}

void WidgetsTest::followsContentSize_data()
{
    QTest::addColumn<bool>("fixed");
    QTest::newRow("fixed size") << true;
    QTest::newRow("resized") << false;
}

void WidgetsTest::followsContentSize()
{
    QFETCH(bool, fixed);

    PopoverWindow popover;
    auto *content = new QWidget;
    content->resize(300, 150);
    if (fixed)
        content->setFixedSize(300, 150);
    popover.setContentWidget(content);
    const QRect anchor = topAnchor();
    popover.showRelativeToRect(anchor);
    const int extra = 2 * PopoverWindow::kContentMargin + PopoverWindow::kArrowLength;
    QCOMPARE(popover.height(), 150 + extra);

    if (fixed)
        content->setFixedSize(280, 400);
    else
        content->resize(280, 400);
    QTRY_COMPARE(popover.height(), 400 + extra);
    QCOMPARE(popover.width(), 280 + 2 * PopoverWindow::kContentMargin);
    QCOMPARE(content->size(), QSize(280, 400));
    QCOMPARE(popover.arrowTip().x(), anchor.center().x());
}

void WidgetsTest::oversizedContentStaysOnScreen()
{
    PopoverWindow popover;
    auto *content = new QWidget;
    content->resize(300, availableGeometry().height() * 3);
    popover.setContentWidget(content);
    const QRect anchor(screenGeometry().center().x(), screenGeometry().bottom() - 23, 24, 24);
    popover.showRelativeToRect(anchor);

    QCOMPARE(popover.arrowEdge(), Qt::BottomEdge);
    QVERIFY(availableGeometry().contains(popover.geometry()));
    QCOMPARE(popover.height(), availableGeometry().height());
    QVERIFY(content->height() < availableGeometry().height());
}

enum class CloseBy { EscapeOnWindow,
                     EscapeInChild,
                     OtherKey,
                     PressInOtherWindow,
                     PressInChild,
                     ApplicationInactive,
                     ApplicationInactiveBeforeActivation,
                     DeactivatedToNothing,
                     DeactivatedToOwnWindow,
                     ForceClose,
                     CloseRequest };
Q_DECLARE_METATYPE(CloseBy)

void WidgetsTest::closing_data()
{
    QTest::addColumn<CloseBy>("how");
    QTest::addColumn<bool>("fade");
    QTest::addColumn<bool>("closes");
    for (const bool fade : {false, true}) {
        const QString suffix = fade ? QStringLiteral(", fading") : QString();
        auto row = [&](const char *name) -> QTestData & { return QTest::newRow(qPrintable(QLatin1String(name) + suffix)); };
        row("escape on the window") << CloseBy::EscapeOnWindow << fade << true;
        row("escape in a child") << CloseBy::EscapeInChild << fade << true;
        row("another key") << CloseBy::OtherKey << fade << false;
        row("press in another window") << CloseBy::PressInOtherWindow << fade << true;
        row("press inside") << CloseBy::PressInChild << fade << false;
        row("application inactive") << CloseBy::ApplicationInactive << fade << true;
        row("application inactive, news from before the showing") << CloseBy::ApplicationInactiveBeforeActivation << fade << false;
        row("activation lost to another application") << CloseBy::DeactivatedToNothing << fade << true;
        row("activation moved to our own window") << CloseBy::DeactivatedToOwnWindow << fade << false;
        row("force close") << CloseBy::ForceClose << fade << true;
        row("close request") << CloseBy::CloseRequest << fade << true;
    }
}

void WidgetsTest::closing()
{
    QFETCH(CloseBy, how);
    QFETCH(bool, fade);
    QFETCH(bool, closes);

    QWidget other;
    other.resize(200, 100);
    other.move(availableGeometry().bottomLeft() - QPoint(0, 150));
    other.show();
    QVERIFY(QTest::qWaitForWindowExposed(&other));

    PopoverWindow popover;
    auto *content = new QWidget;
    auto *field = new QLineEdit(content);
    field->setGeometry(10, 10, 200, 24);
    content->setFixedSize(300, 120);
    popover.setContentWidget(content);
    popover.setFadeEnabled(fade);
    QSignalSpy closed(&popover, &PopoverWindow::closed);
    QApplicationStateChangeEvent inactive(Qt::ApplicationInactive);
    popover.showRelativeToRect(topAnchor());
    if (how == CloseBy::ApplicationInactiveBeforeActivation)
        QCoreApplication::sendEvent(qApp, &inactive);
    QVERIFY(QTest::qWaitForWindowExposed(&popover));
    QVERIFY(popover.isShown());
    QTRY_COMPARE(popover.windowOpacity(), 1.0);

    switch (how) {
    case CloseBy::EscapeOnWindow:
        QTest::keyClick(&popover, Qt::Key_Escape);
        break;
    case CloseBy::EscapeInChild:
        QTest::keyClick(field, Qt::Key_Escape);
        break;
    case CloseBy::OtherKey:
        QTest::keyClick(field, Qt::Key_A);
        break;
    case CloseBy::PressInOtherWindow:
        QTest::mousePress(&other, Qt::LeftButton, {}, QPoint(20, 20));
        break;
    case CloseBy::PressInChild:
        QTest::mousePress(field, Qt::LeftButton, {}, QPoint(5, 5));
        break;
    case CloseBy::ApplicationInactive:
        QVERIFY(QTest::qWaitForWindowActive(&popover));
        QCoreApplication::sendEvent(qApp, &inactive);
        break;
    case CloseBy::ApplicationInactiveBeforeActivation:
        QVERIFY(QTest::qWaitForWindowActive(&popover));
        break;
    case CloseBy::DeactivatedToNothing: {
        // A window that is no widget's stands for another application's.
        QVERIFY(QTest::qWaitForWindowActive(&popover));
        QWindow elsewhere;
        elsewhere.show();
        elsewhere.requestActivate();
        QVERIFY(QTest::qWaitForWindowActive(&elsewhere));
        break;
    }
    case CloseBy::DeactivatedToOwnWindow:
        QVERIFY(QTest::qWaitForWindowActive(&popover));
        other.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&other));
        break;
    case CloseBy::ForceClose:
        popover.forceClose();
        QCOMPARE(closed.count(), 1);
        QVERIFY(popover.isHidden());
        break;
    case CloseBy::CloseRequest:
        popover.close();
        break;
    }

    if (closes) {
        // A fade keeps it on screen, and shown, a little longer; only force-closing skips it.
        const bool immediate = !fade || how == CloseBy::ForceClose;
        QCOMPARE(closed.count(), immediate ? 1 : 0);
        QCOMPARE(popover.isShown(), !immediate);
        QTRY_COMPARE(closed.count(), 1);
        QVERIFY(!popover.isShown());
        QVERIFY(popover.isHidden());
        QCOMPARE(popover.windowOpacity(), 1.0);
        // Closing once more, however, reports nothing new.
        popover.forceClose();
        QTest::keyClick(&popover, Qt::Key_Escape);
    }
    QTest::qWait(3 * PopoverWindow::kFadeMs);
    QCOMPARE(closed.count(), closes ? 1 : 0);
    QCOMPARE(popover.isShown(), !closes);
    QCOMPARE(popover.isVisible(), !closes);
}

void WidgetsTest::reshowing()
{
    PopoverWindow popover;
    auto *content = new QWidget;
    content->setFixedSize(200, 100);
    popover.setContentWidget(content);
    popover.setFadeEnabled(true);
    QSignalSpy closed(&popover, &PopoverWindow::closed);

    popover.showRelativeToRect(topAnchor());
    QTest::keyClick(&popover, Qt::Key_Escape);
    QTRY_COMPARE(closed.count(), 1);
    QVERIFY(popover.isHidden());

    // Closed, it shows again, fully; showing while shown moves it to the new anchor without closing.
    const QRect g = screenGeometry();
    popover.showRelativeToRect(topAnchor());
    QVERIFY(popover.isShown() && popover.isVisible());
    QTRY_COMPARE(popover.windowOpacity(), 1.0);
    const QRect bottom(g.center().x() - 100, g.bottom() - 23, 24, 24);
    popover.showRelativeToRect(bottom);
    QCOMPARE(popover.arrowEdge(), Qt::BottomEdge);
    QCOMPARE(popover.arrowTip().x(), bottom.center().x());
    QCOMPARE(closed.count(), 1);
    popover.forceClose();
    QCOMPARE(closed.count(), 2);

    // Still fading out, it counts as shown until it has closed; shown again then, it closes
    // first and comes back fully.
    popover.showRelativeToRect(topAnchor());
    QVERIFY(popover.windowOpacity() < 1.0);
    QTRY_COMPARE(popover.windowOpacity(), 1.0);
    popover.dismiss();
    QVERIFY(popover.isShown());
    QCOMPARE(closed.count(), 2);
    popover.showRelativeToRect(topAnchor());
    QCOMPARE(closed.count(), 3);
    QVERIFY(popover.isShown());
    QTest::qWait(3 * PopoverWindow::kFadeMs);
    QVERIFY(popover.isVisible());
    QCOMPARE(popover.windowOpacity(), 1.0);
    QCOMPARE(closed.count(), 3);
}

void WidgetsTest::backgroundColor_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("dark");
    for (const char *name : {"dropHereBG", "customStatusBG", "noSuchColor"}) {
        QTest::addRow("%s, light", name) << QString(name) << false;
        QTest::addRow("%s, dark", name) << QString(name) << true;
    }
}

void WidgetsTest::backgroundColor()
{
    QFETCH(QString, name);
    QFETCH(bool, dark);

    PopoverWindow popover;
    popover.setBackgroundColorName(name);
    popover.setPalette(dark ? lightPalette() : darkPalette());
    QApplication::setPalette(dark ? darkPalette() : lightPalette());
    popover.setPalette(QPalette());
    QCOMPARE(PopoverWindow::isDarkPalette(popover.palette()), dark);

    const QColor expected = PopoverWindow::namedColor(name, dark);
    if (name == QLatin1String("noSuchColor")) {
        QVERIFY(!expected.isValid());
        QCOMPARE(popover.backgroundColor(), popover.palette().color(QPalette::Window));
        return;
    }
    QVERIFY(expected.isValid());
    QCOMPARE(popover.backgroundColor(), expected);
    QVERIFY(expected != PopoverWindow::namedColor(name, !dark));
    // Text of the palette stays readable on the chosen background.
    QVERIFY(qAbs(expected.lightness() - popover.palette().color(QPalette::WindowText).lightness()) > 128);
}

void WidgetsTest::shape()
{
    PopoverWindow popover;
    auto *content = new QWidget;
    content->setFixedSize(200, 100);
    popover.setContentWidget(content);
    popover.showRelativeToRect(topAnchor());
    QCOMPARE(popover.arrowEdge(), Qt::TopEdge);

    const QRegion region = popover.shapeRegion();
    const int w = popover.width();
    const int h = popover.height();
    const int bodyTop = PopoverWindow::kArrowLength;
    QVERIFY(region.contains(QPoint(w / 2, h / 2)));
    QVERIFY(region.contains(popover.arrowTip() - popover.pos()));
    // Beside the arrow, above the body: outside.
    QVERIFY(!region.contains(QPoint(2, 2)));
    // The body's rounded corners leave their outer pixels out, their edges in.
    QVERIFY(!region.contains(QPoint(0, bodyTop)));
    QVERIFY(!region.contains(QPoint(w - 1, h - 1)));
    QVERIFY(region.contains(QPoint(0, bodyTop + PopoverWindow::kCornerRadius + 2)));
    QVERIFY(region.contains(QPoint(w / 2, h - 1)));

    // Nothing to point at: no arrow, the body takes the whole window.
    popover.showRelativeToRect(QRect());
    QCOMPARE(popover.height(), 100 + 2 * PopoverWindow::kContentMargin);
    QVERIFY(popover.shapeRegion().contains(QPoint(w / 2, 0)));
}

enum class Anchor { TopMiddle,
                    TopRightCorner,
                    BottomLeftCorner };
Q_DECLARE_METATYPE(Anchor)

void WidgetsTest::renderPopover_data()
{
    QTest::addColumn<bool>("dark");
    QTest::addColumn<Anchor>("anchor");
    QTest::addColumn<QString>("file");
    QTest::newRow("light") << false << Anchor::TopMiddle << "popover-light.png";
    QTest::newRow("dark") << true << Anchor::TopMiddle << "popover-dark.png";
    QTest::newRow("light, top right corner") << false << Anchor::TopRightCorner << "popover-top-right.png";
    QTest::newRow("dark, bottom left corner") << true << Anchor::BottomLeftCorner << "popover-bottom-left.png";
}

void WidgetsTest::renderPopover()
{
    QFETCH(bool, dark);
    QFETCH(Anchor, anchor);
    QFETCH(QString, file);
    QApplication::setPalette(dark ? darkPalette() : lightPalette());

    PopoverWindow popover;
    popover.setBackgroundColorName(QStringLiteral("customStatusBG"));
    popover.setContentWidget(makeListContent());
    const QRect g = screenGeometry();
    const QRect anchors[] = {QRect(g.center().x() + 60, g.top(), 24, 24),
                             QRect(g.right() - 23, g.top(), 24, 24),
                             QRect(g.left(), g.bottom() - 23, 24, 24)};
    popover.showRelativeToRect(anchors[int(anchor)]);
    QVERIFY(QTest::qWaitForWindowExposed(&popover));

    const QImage image = popover.grab().toImage();
    const int w = image.width();
    const int h = image.height();
    const int arrow = PopoverWindow::kArrowLength;
    const bool up = popover.arrowEdge() == Qt::TopEdge;
    QCOMPARE(up, anchor != Anchor::BottomLeftCorner);
    // The margin beside the content shows the named background; outside the shape nothing.
    const QColor background = PopoverWindow::namedColor(QStringLiteral("customStatusBG"), dark);
    QCOMPARE(image.pixelColor(w / 2, up ? arrow + 3 : 3).rgb(), background.rgb());
    QCOMPARE(image.pixelColor(0, 0).alpha(), 0);
    QCOMPARE(image.pixelColor(w - 1, h - 1).alpha(), 0);
    // Where the arrow takes over a corner, that corner is filled to its edge.
    const QPoint corner = anchor == Anchor::BottomLeftCorner ? QPoint(0, h - arrow - 2) : QPoint(w - 1, arrow + 1);
    QCOMPARE(image.pixelColor(corner).alpha() > 0, anchor != Anchor::TopMiddle);

    save(popover.grab(), file, anchor == Anchor::TopMiddle);
}

void WidgetsTest::reportedProgress_data()
{
    QTest::addColumn<int>("estimateMs"); // how long the estimate runs before the first report
    QTest::addColumn<QList<qreal>>("reports");
    QTest::addColumn<qreal>("shown"); // where the bar rests after the reports

    QTest::newRow("rising") << 0 << QList<qreal>{0.1, 0.4, 0.8} << 0.8;
    QTest::newRow("a report going back") << 0 << QList<qreal>{0.5, 0.3, 0.6} << 0.6;
    QTest::newRow("beyond the ends") << 0 << QList<qreal>{-0.5, 0.2, 1.5} << 1.0;
    QTest::newRow("estimate ahead waits") << FlatButton::kHalfMs / 2 << QList<qreal>{0.05} << -1.0;
}

// The bar follows what the action reports, never going back, and the result still comes
// from finishProgress.
void WidgetsTest::reportedProgress()
{
    QFETCH(int, estimateMs);
    QFETCH(QList<qreal>, reports);
    QFETCH(qreal, shown);

    FlatButton button;
    QSignalSpy shownResult(&button, &FlatButton::resultShown);
    button.startHalfProgress();
    if (estimateMs > 0)
        QTest::qWait(estimateMs);
    qreal lowest = button.progress();
    const qreal estimate = button.progress();
    for (const qreal report : reports) {
        button.showProgress(report);
        for (int i = 0; i < 15; ++i) {
            QTest::qWait(10);
            QVERIFY2(button.progress() >= lowest - 1e-9, qPrintable(QStringLiteral("%1 after %2").arg(button.progress()).arg(lowest)));
            lowest = button.progress();
        }
    }
    QTest::qWait(2 * FlatButton::kStepMs);
    // Where the estimate was ahead, the bar stays where the estimate stopped.
    const qreal expected = shown < 0 ? estimate : shown;
    QVERIFY2(qAbs(button.progress() - expected) < 0.02, qPrintable(QString::number(button.progress())));
    QVERIFY(!button.isShowingResult());
    button.finishProgress(true);
    QTRY_COMPARE_WITH_TIMEOUT(shownResult.count(), 1, 3000);
    QCOMPARE(shownResult.first().first().toBool(), true);
}

enum class Start { Idle,
                   Half,
                   HalfDone,
                   Full };
Q_DECLARE_METATYPE(Start)

void WidgetsTest::result_data()
{
    QTest::addColumn<Start>("start");
    QTest::addColumn<bool>("success");

    QTest::newRow("full progress") << Start::Full << true;
    QTest::newRow("half, then success") << Start::HalfDone << true;
    QTest::newRow("half, then failure") << Start::HalfDone << false;
    QTest::newRow("failure during half") << Start::Half << false;
    QTest::newRow("success during half") << Start::Half << true;
    QTest::newRow("failure without start") << Start::Idle << false;
}

void WidgetsTest::result()
{
    QFETCH(Start, start);
    QFETCH(bool, success);

    FlatButton button;
    button.resize(300, 50);
    button.setOn(true);
    QStringList events;
    connect(&button, &FlatButton::resultShown, this, [&](bool ok) {
        // The colour is still up when the row is told, and the button still on.
        events << QStringLiteral("resultShown %1 showing %2 on %3")
                      .arg(ok)
                      .arg(button.isShowingResult())
                      .arg(button.isOn());
    });
    connect(&button, &FlatButton::finished, this, [&] {
        events << QStringLiteral("finished on %1 showing %2 progress %3")
                      .arg(button.isOn())
                      .arg(button.isShowingResult())
                      .arg(button.progress());
    });

    switch (start) {
    case Start::Idle:
        button.finishProgress(success);
        break;
    case Start::Half:
        button.startHalfProgress();
        QTest::qWait(200);
        QVERIFY(button.progress() > 0.0 && button.progress() < FlatButton::kHalfProgress);
        button.finishProgress(success);
        break;
    case Start::HalfDone:
        button.startHalfProgress();
        QTRY_VERIFY_WITH_TIMEOUT(qAbs(button.progress() - FlatButton::kHalfProgress) < 1e-6, 3 * FlatButton::kHalfMs);
        // It waits there, in the highlight colour, for the action's answer.
        QTest::qWait(300);
        QVERIFY(qAbs(button.progress() - FlatButton::kHalfProgress) < 1e-6 && button.barColor() == button.palette().color(QPalette::Highlight));
        button.finishProgress(success);
        break;
    case Start::Full:
        button.startFullProgress();
        break;
    }

    QVERIFY(!button.isShowingResult());
    QTRY_VERIFY(button.isShowingResult());
    QCOMPARE(button.progress(), 1.0);
    const QColor expected = success ? QColor::fromRgbF(0.114f, 0.843f, 0.267f) : QColor::fromRgbF(1.0f, 0.149f, 0.290f);
    QCOMPARE(button.barColor(), expected);
    QCOMPARE(button.barColor().alphaF(), 1.0f);
    QVERIFY(events.isEmpty());

    QTRY_COMPARE(events.size(), 2);
    QCOMPARE(events.at(0), QStringLiteral("resultShown %1 showing 1 on 1").arg(success));
    QCOMPARE(events.at(1), QStringLiteral("finished on 0 showing 0 progress 0"));

    // Nothing runs afterwards.
    QTest::qWait(FlatButton::kTurnOffMs);
    QCOMPARE(events.size(), 2);
    QCOMPARE(button.progress(), 0.0);
    QVERIFY(!button.isOn());
}

void WidgetsTest::secondFinishIsIgnored()
{
    FlatButton button;
    QSignalSpy shown(&button, &FlatButton::resultShown);
    QSignalSpy finished(&button, &FlatButton::finished);

    button.startHalfProgress();
    button.finishProgress(false);
    button.finishProgress(true);
    QTRY_VERIFY(button.isShowingResult());
    button.finishProgress(true);
    QCOMPARE(button.barColor(), FlatButton::failureColor());
    QTRY_COMPARE(finished.count(), 1);
    QCOMPARE(shown.count(), 1);
    QCOMPARE(shown.at(0).at(0).toBool(), false);
}

void WidgetsTest::restartCancelsPendingResult()
{
    FlatButton button;
    button.setOn(true);
    QSignalSpy shown(&button, &FlatButton::resultShown);
    QSignalSpy finished(&button, &FlatButton::finished);

    button.startFullProgress();
    QTRY_VERIFY(button.isShowingResult());
    button.startHalfProgress();
    QVERIFY(!button.isShowingResult());
    QTest::qWait(2 * FlatButton::kTurnOffMs);
    QCOMPARE(shown.count(), 0);
    QCOMPARE(finished.count(), 0);
    QVERIFY(button.isOn());
    QVERIFY(button.progress() > 0.0);
}

void WidgetsTest::mouse_data()
{
    QTest::addColumn<Qt::MouseButton>("mouseButton");
    QTest::addColumn<bool>("ignoring");
    QTest::addColumn<bool>("releaseOutside");
    QTest::addColumn<int>("clicks");
    QTest::addColumn<int>("menus");

    QTest::newRow("left click") << Qt::LeftButton << false << false << 1 << 0;
    QTest::newRow("left click, ignoring") << Qt::LeftButton << true << false << 0 << 0;
    QTest::newRow("left, released outside") << Qt::LeftButton << false << true << 0 << 0;
    QTest::newRow("right click") << Qt::RightButton << false << false << 0 << 1;
    QTest::newRow("right click, ignoring") << Qt::RightButton << true << false << 0 << 0;
    QTest::newRow("middle click") << Qt::MiddleButton << false << false << 0 << 0;
}

void WidgetsTest::mouse()
{
    QFETCH(Qt::MouseButton, mouseButton);
    QFETCH(bool, ignoring);
    QFETCH(bool, releaseOutside);
    QFETCH(int, clicks);
    QFETCH(int, menus);

    FlatButton button;
    button.resize(300, 50);
    button.setIgnoresMouse(ignoring);
    QSignalSpy clicked(&button, &FlatButton::clicked);
    QSignalSpy menu(&button, &FlatButton::contextMenuRequested);

    const QPoint inside(40, 20);
    QTest::mousePress(&button, mouseButton, {}, inside);
    QTest::mouseRelease(&button, mouseButton, {}, releaseOutside ? QPoint(400, 20) : inside);
    QCOMPARE(clicked.count(), clicks);
    QCOMPARE(menu.count(), menus);
    if (menus)
        QCOMPARE(menu.at(0).at(0).toPoint(), button.mapToGlobal(inside));

    // Hovering turns the row on and leaving turns it off, unless it ignores the mouse.
    QEnterEvent enter(QPointF(10, 10), QPointF(10, 10), QPointF(10, 10));
    QCoreApplication::sendEvent(&button, &enter);
    QCOMPARE(button.isOn(), !ignoring);
    button.setOn(true);
    QEvent leave(QEvent::Leave);
    QCoreApplication::sendEvent(&button, &leave);
    QCOMPARE(button.isOn(), ignoring);

    // Pressed while listening, released while deaf: no click either.
    if (mouseButton == Qt::LeftButton && !ignoring && !releaseOutside) {
        QTest::mousePress(&button, Qt::LeftButton, {}, inside);
        button.setIgnoresMouse(true);
        QTest::mouseRelease(&button, Qt::LeftButton, {}, inside);
        QCOMPARE(clicked.count(), 1);
    }
}

enum class RowState { Running,
                      Success,
                      Failure };
Q_DECLARE_METATYPE(RowState)

void WidgetsTest::renderRow_data()
{
    QTest::addColumn<RowState>("state");
    QTest::addColumn<bool>("dark");
    QTest::addColumn<QString>("file");

    QTest::newRow("running, light") << RowState::Running << false << "row-running.png";
    QTest::newRow("success, light") << RowState::Success << false << "row-success.png";
    QTest::newRow("failure, light") << RowState::Failure << false << "row-failure.png";
    QTest::newRow("running, dark") << RowState::Running << true << "row-running-dark.png";
    QTest::newRow("success, dark") << RowState::Success << true << "row-success-dark.png";
    QTest::newRow("failure, dark") << RowState::Failure << true << "row-failure-dark.png";
}

void WidgetsTest::renderRow()
{
    QFETCH(RowState, state);
    QFETCH(bool, dark);
    QFETCH(QString, file);
    QApplication::setPalette(dark ? darkPalette() : lightPalette());

    QWidget frame;
    frame.setAutoFillBackground(true);
    QPalette palette = frame.palette();
    palette.setColor(QPalette::Window, PopoverWindow::namedColor(QStringLiteral("customStatusBG"), dark));
    frame.setPalette(palette);
    auto *layout = new QVBoxLayout(&frame);
    layout->setContentsMargins(6, 6, 6, 6);
    FlatButton *button = makeRow(QStringLiteral("Compress"), glyphIcon(QColor(0x2f, 0x80, 0xed), QStringLiteral("C")),
                                 QStringLiteral("Super+1"), QStringLiteral("Ctrl+Alt+C"));
    layout->addWidget(button);
    frame.resize(312, 62);
    frame.show();
    QVERIFY(QTest::qWaitForWindowExposed(&frame));
    button->setOn(true);

    button->startHalfProgress();
    QTRY_VERIFY_WITH_TIMEOUT(qAbs(button->progress() - FlatButton::kHalfProgress) < 1e-6, 3 * FlatButton::kHalfMs);
    if (state != RowState::Running) {
        button->finishProgress(state == RowState::Success);
        QTRY_VERIFY(button->isShowingResult());
    }
    const QImage image = frame.grab().toImage();
    QVERIFY(button->progress() > 0.5);

    // Inside the bar, away from text and icon, the result shows its colour as it is.
    const QPoint inBar = button->mapTo(&frame, QPoint(button->width() / 2, 4));
    const QColor pixel = image.pixelColor(inBar);
    if (state == RowState::Running) {
        QVERIFY(pixel.rgb() != FlatButton::successColor().rgb());
        QVERIFY(pixel.rgb() != FlatButton::failureColor().rgb());
    } else {
        QCOMPARE(pixel.rgb(), button->barColor().rgb());
    }
    save(frame.grab(), file, !dark);
}

QTEST_MAIN(WidgetsTest)
#include "tst_widgets.moc"
