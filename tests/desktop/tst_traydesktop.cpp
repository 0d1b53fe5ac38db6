// Runs the real tray application on a display of its own and drives it like a user: keys
// with xdotool, the clipboard as another program, notifications through the session bus.
#include "desktopsession.h"

#include <QApplication>
#include <QClipboard>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QProcess>
#include <QScreen>
#include <QTemporaryDir>
#include <QTest>

namespace {

DesktopSession *session = nullptr;

const QString mainWindowName = QStringLiteral("^Korvane actions$");
const QString dropHereName = QStringLiteral("^Korvane drop here$");

QString clipboardText()
{
    return QGuiApplication::clipboard()->text();
}

bool move(QPoint to)
{
    return DesktopSession::xdotool({QStringLiteral("mousemove"), QString::number(to.x()), QString::number(to.y())});
}

// Moves in steps, as a hand does: drag sources and drop targets see every step.
bool glide(QPoint from, QPoint to)
{
    for (int step = 1; step <= 12; ++step) {
        if (!move(from + (to - from) * step / 12))
            return false;
    }
    return true;
}

bool pressAndDrag(QPoint from, QPoint to)
{
    return move(from) && DesktopSession::xdotool({QStringLiteral("mousedown"), QStringLiteral("1")}) && glide(from, to);
}

const QColor lightBackground(0xF6, 0xF6, 0xF7);

} // namespace

class TrayDesktopTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void cleanupTestCase();
    void wakeHotkeyShowsTheClipboardsActions();
    void digitShortcutRunsItsRow();
    void actionHotkeyRunsAListedAction();
    void wrongInputIsToldEvenWhenMuted();
    void clickOnTheTrayIcon();
    void dragOntoTheTrayAndDropOnARow_data();
    void dragOntoTheTrayAndDropOnARow();
    void followsADarkDesktop();

private:
    QString korvaneRun(const QStringList &args);
    void setDefault(const QByteArray &line);
    void saveScreenshot(const QString &name);
    void waitForPopover(bool shown);
    // How many times Korvane has logged this so far.
    qsizetype logged(const QByteArray &line) { return (m_output += m_korvane.readAllStandardOutput()).count(line); }
    // A hotkey is ignored while the tray icon still animates the last run: wait until every
    // animation Korvane started has ended.
    void waitForIdleTray()
    {
        QTRY_VERIFY_WITH_TIMEOUT(logged("tray animation ended") == logged("tray animation started"), 15000);
    }

    QTemporaryDir m_home;
    QProcess m_korvane;
    QByteArray m_output;
    QProcessEnvironment m_env;
};

QString TrayDesktopTest::korvaneRun(const QStringList &args)
{
    QProcess process;
    QProcessEnvironment env = m_env;
    env.remove(QStringLiteral("DISPLAY"));
    process.setProcessEnvironment(env);
    process.start(QString::fromLocal8Bit(qgetenv("KORVANE_BINARY")), args);
    process.waitForFinished(30000);
    return QString::fromUtf8(process.readAllStandardOutput()).trimmed();
}

void TrayDesktopTest::setDefault(const QByteArray &line)
{
    QDir().mkpath(m_home.filePath(QStringLiteral("config/korvane")));
    QFile conf(m_home.filePath(QStringLiteral("config/korvane/korvane.conf")));
    QVERIFY(conf.open(QIODevice::WriteOnly));
    conf.write("[General]\n" + line + "\n");
}

void TrayDesktopTest::saveScreenshot(const QString &name)
{
    const QPixmap shot = QGuiApplication::primaryScreen()->grabWindow(0);
    QVERIFY(!shot.isNull());
    shot.save(m_home.filePath(name + QLatin1String(".png")));
    const QByteArray folder = qgetenv("KORVANE_SCREENSHOT_DIR");
    if (!folder.isEmpty())
        shot.save(QString::fromLocal8Bit(folder) + QLatin1Char('/') + name + QLatin1String(".png"));
}

void TrayDesktopTest::waitForPopover(bool shown)
{
    QTRY_VERIFY_WITH_TIMEOUT(DesktopSession::windowShown(mainWindowName) == shown, 15000);
}

void TrayDesktopTest::initTestCase()
{
    QVERIFY(session->startServices());
    m_env = DesktopSession::korvaneEnvironment(m_home.path());

    // Hotkeys of our own: Super+Shift+C counts characters, Super+Shift+M moves files.
    korvaneRun({QStringLiteral("list")});
    const QString counter = korvaneRun({QStringLiteral("add"), QStringLiteral("0"), QStringLiteral("2"), QStringLiteral("--title"), QStringLiteral("Count It"),
                                        QStringLiteral("--set"), QStringLiteral("keyCode=8"), QStringLiteral("--set"), QStringLiteral("modifiers=1179648")});
    QVERIFY(counter.toInt() > 0);
    const QString move = korvaneRun({QStringLiteral("add"), QStringLiteral("1"), QStringLiteral("8"), QStringLiteral("--title"), QStringLiteral("Move Away"),
                                     QStringLiteral("--set"), QStringLiteral("keyCode=46"), QStringLiteral("--set"), QStringLiteral("modifiers=1179648")});
    QVERIFY(move.toInt() > 0);
    // A copy action first in the file list, so its row is the first under the field.
    QVERIFY(QDir().mkpath(m_home.filePath(QStringLiteral("copies"))));
    const QString copy = korvaneRun({QStringLiteral("add"), QStringLiteral("1"), QStringLiteral("9"), QStringLiteral("--title"), QStringLiteral("Copy Here"),
                                     QStringLiteral("--set"), QStringLiteral("savePath=") + m_home.filePath(QStringLiteral("copies")),
                                     QStringLiteral("--set"), QStringLiteral("drop.index=-1")});
    QVERIFY(copy.toInt() > 0);

    m_korvane.setProcessEnvironment(m_env);
    m_korvane.setProcessChannelMode(QProcess::MergedChannels);
    m_korvane.start(QString::fromLocal8Bit(qgetenv("KORVANE_BINARY")), {});
    QVERIFY(m_korvane.waitForStarted());
    QByteArray output;
    QTRY_VERIFY2_WITH_TIMEOUT((output += m_korvane.readAllStandardOutput()).contains("started with") || m_korvane.state() != QProcess::Running,
                              output.constData(), 10000);
    QCOMPARE(m_korvane.state(), QProcess::Running);
}

void TrayDesktopTest::cleanupTestCase()
{
    m_korvane.terminate();
    if (!m_korvane.waitForFinished(5000))
        m_korvane.kill();
}

void TrayDesktopTest::wakeHotkeyShowsTheClipboardsActions()
{
    QGuiApplication::clipboard()->setText(QStringLiteral("中文 ab cd1"));
    QVERIFY(!DesktopSession::windowShown(mainWindowName));
    QVERIFY(DesktopSession::xdotool({QStringLiteral("key"), QStringLiteral("super+d")}));
    waitForPopover(true);
    QTRY_VERIFY_WITH_TIMEOUT(DesktopSession::windowDrawnWith(mainWindowName, lightBackground), 10000);
    saveScreenshot(QStringLiteral("main-popover-text"));
    // The same key closes it again.
    QVERIFY(DesktopSession::xdotool({QStringLiteral("key"), QStringLiteral("super+d")}));
    waitForPopover(false);
}

void TrayDesktopTest::digitShortcutRunsItsRow()
{
    QGuiApplication::clipboard()->setText(QStringLiteral("中文 ab cd1"));
    QVERIFY(DesktopSession::xdotool({QStringLiteral("key"), QStringLiteral("super+d")}));
    waitForPopover(true);
    const int before = int(session->notifications.calls.size());
    // Rows of the English defaults for text: 0 share, 1 clear style, 2 count characters.
    QVERIFY(DesktopSession::xdotool({QStringLiteral("key"), QStringLiteral("super+3")}));
    QTRY_COMPARE_WITH_TIMEOUT(clipboardText(), QStringLiteral("Characters: 11. Letters: 4. English words: 1. "), 15000);
    QTRY_COMPARE_WITH_TIMEOUT(int(session->notifications.calls.size()), before + 1, 15000);
    QCOMPARE(session->notifications.calls.last().summary, QStringLiteral("Character Counter succeeded"));
    QCOMPARE(session->notifications.calls.last().appName, QStringLiteral("Korvane"));
    // The row reports, then the popover closes by itself.
    waitForPopover(false);
    // Without the list on screen the digits belong to other programs again. The wake key
    // pressed after it shows that Korvane has had both keys.
    QGuiApplication::clipboard()->setText(QStringLiteral("untouched"));
    QVERIFY(DesktopSession::xdotool({QStringLiteral("key"), QStringLiteral("super+3")}));
    QVERIFY(DesktopSession::xdotool({QStringLiteral("key"), QStringLiteral("super+d")}));
    waitForPopover(true);
    QCOMPARE(clipboardText(), QStringLiteral("untouched"));
    QVERIFY(DesktopSession::xdotool({QStringLiteral("key"), QStringLiteral("super+d")}));
    waitForPopover(false);
}

void TrayDesktopTest::actionHotkeyRunsAListedAction()
{
    waitForIdleTray();
    QGuiApplication::clipboard()->setText(QStringLiteral("one two"));
    const int before = int(session->notifications.calls.size());
    QVERIFY(DesktopSession::xdotool({QStringLiteral("key"), QStringLiteral("super+shift+c")}));
    QTRY_COMPARE_WITH_TIMEOUT(int(session->notifications.calls.size()), before + 1, 15000);
    QCOMPARE(session->notifications.calls.last().summary, QStringLiteral("Count It succeeded"));
    QCOMPARE(clipboardText(), QStringLiteral("Characters: 7. Letters: 6. English words: 2. "));
    waitForPopover(false);
}

void TrayDesktopTest::wrongInputIsToldEvenWhenMuted()
{
    waitForIdleTray();
    setDefault("muteNotifi=1\nwakeHotKey=2, 1048576");
    QGuiApplication::clipboard()->setText(QStringLiteral("text is no file"));
    const int before = int(session->notifications.calls.size());
    QVERIFY(DesktopSession::xdotool({QStringLiteral("key"), QStringLiteral("super+shift+m")}));
    QTRY_COMPARE_WITH_TIMEOUT(int(session->notifications.calls.size()), before + 1, 15000);
    QCOMPARE(session->notifications.calls.last().summary, QStringLiteral("Move Away failed"));
    QCOMPARE(session->notifications.calls.last().body, QStringLiteral("This action does not take what is on the clipboard."));
    QVERIFY(!DesktopSession::windowShown(mainWindowName));
    setDefault("wakeHotKey=2, 1048576");
}

void TrayDesktopTest::clickOnTheTrayIcon()
{
    QGuiApplication::clipboard()->clear();
    // The tray host holds our icon alone: click the middle of it.
    const QRect tray = DesktopSession::windowGeometry(QStringLiteral("^panel$"));
    QVERIFY(tray.isValid());
    QVERIFY(DesktopSession::xdotool({QStringLiteral("mousemove"), QString::number(tray.center().x()), QString::number(tray.center().y()),
                                     QStringLiteral("click"), QStringLiteral("1")}));
    waitForPopover(true);
    QTRY_VERIFY_WITH_TIMEOUT(DesktopSession::windowDrawnWith(mainWindowName, lightBackground), 10000);
    saveScreenshot(QStringLiteral("main-popover-empty"));
    QVERIFY(DesktopSession::xdotool({QStringLiteral("key"), QStringLiteral("Escape")}));
    waitForPopover(false);
}

void TrayDesktopTest::dragOntoTheTrayAndDropOnARow_data()
{
    QTest::addColumn<QString>("source");
    QTest::newRow("Qt source") << QStringLiteral(KORVANE_DRAGSOURCE);
    QTest::newRow("GTK source") << QStringLiteral(KORVANE_GTKDRAGSOURCE);
}

void TrayDesktopTest::dragOntoTheTrayAndDropOnARow()
{
    QFETCH(QString, source);
    waitForIdleTray();
    QImage picture(40, 30, QImage::Format_RGB32);
    picture.fill(Qt::darkCyan);
    const QString file = m_home.filePath(QStringLiteral("holiday.png"));
    const QString copied = m_home.filePath(QStringLiteral("copies/holiday.png"));
    QVERIFY(picture.save(file));
    QFile::remove(copied);

    QProcess dragSource;
    dragSource.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    dragSource.start(source, {QStringLiteral("100"), QStringLiteral("400"), QStringLiteral("200"), QStringLiteral("150"), file});
    QVERIFY(dragSource.waitForStarted());
    QByteArray said;
    const auto sourceSaid = [&](const QByteArray &line) { return (said += dragSource.readAllStandardOutput()).count(line + '\n'); };
    // The source says "accepted" or "refused" each time the answer under the drag changes.
    const auto accepting = [&] { return (said += dragSource.readAllStandardOutput()).endsWith("accepted\n"); };
    QTRY_VERIFY2_WITH_TIMEOUT(sourceSaid("ready"), said.constData(), 15000);

    const QRect tray = DesktopSession::windowGeometry(QStringLiteral("^panel$"));
    QVERIFY(tray.isValid());
    const QPoint inSource(200, 475);
    const QPoint nearTray(tray.center().x() - 40, tray.bottom() + 40);
    const qsizetype opened = logged("drop-here popover opened");
    QVERIFY(pressAndDrag(inSource, nearTray));
    QTRY_COMPARE_WITH_TIMEOUT(logged("drop-here popover opened"), opened + 1, 15000);

    // Into the drop area: the drag is classified and the list replaces the small popover.
    // The drop area hangs under the tray icon, its arrow at the icon's middle.
    const QPoint dropArea(tray.center().x() - 100, tray.bottom() + 70);
    int wiggle = 0;
    QTRY_VERIFY_WITH_TIMEOUT((move(dropArea + QPoint(++wiggle % 4 * 3, 0)), DesktopSession::windowShown(mainWindowName)), 15000);
    QVERIFY(!DesktopSession::windowShown(dropHereName));
    const QRect list = DesktopSession::windowGeometry(mainWindowName);
    QVERIFY(list.isValid());
    const int before = int(session->notifications.calls.size());
    // Onto the first row until the source hears that it takes the drop, then let go.
    const QPoint firstRow(list.center().x(), list.top() + 85);
    QTRY_VERIFY_WITH_TIMEOUT((move(firstRow + QPoint(++wiggle % 4 * 4, 0)), accepting()), 15000);
    saveScreenshot(QStringLiteral("main-popover-drag"));
    QVERIFY(DesktopSession::xdotool({QStringLiteral("mouseup"), QStringLiteral("1")}));

    QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(copied), 15000);
    QTRY_COMPARE_WITH_TIMEOUT(int(session->notifications.calls.size()), before + 1, 15000);
    QCOMPARE(session->notifications.calls.last().summary, QStringLiteral("Copy Here succeeded"));
    QVERIFY(QFile::exists(file));
    waitForPopover(false);

    // A new drag opens the drop-here popover again, once; let go far away, nothing stays open.
    waitForIdleTray();
    QVERIFY(pressAndDrag(inSource, nearTray));
    QTRY_COMPARE_WITH_TIMEOUT(logged("drop-here popover opened"), opened + 2, 15000);
    QVERIFY(glide(nearTray, QPoint(300, 700)));
    QVERIFY(DesktopSession::xdotool({QStringLiteral("mouseup"), QStringLiteral("1")}));
    QTRY_COMPARE_WITH_TIMEOUT(sourceSaid("finished"), 2, 15000);
    QTRY_VERIFY_WITH_TIMEOUT(!DesktopSession::windowShown(dropHereName) && !DesktopSession::windowShown(mainWindowName), 15000);
    QCOMPARE(logged("drop-here popover opened"), opened + 2);
    dragSource.closeWriteChannel();
    QVERIFY(dragSource.waitForFinished(5000));
}

void TrayDesktopTest::followsADarkDesktop()
{
    // The same Korvane on a desktop whose GTK theme is dark.
    m_korvane.terminate();
    QVERIFY(m_korvane.waitForFinished(5000));
    QProcessEnvironment dark = m_env;
    dark.insert(QStringLiteral("QT_QPA_PLATFORMTHEME"), QStringLiteral("gtk3"));
    dark.insert(QStringLiteral("GTK_THEME"), QStringLiteral("Adwaita:dark"));
    m_korvane.setProcessEnvironment(dark);
    m_korvane.start(QString::fromLocal8Bit(qgetenv("KORVANE_BINARY")), {});
    QByteArray output;
    QTRY_VERIFY2_WITH_TIMEOUT((output += m_korvane.readAllStandardOutput()).contains("started with"), output.constData(), 10000);
    QGuiApplication::clipboard()->setText(QStringLiteral("Good evening"));
    QVERIFY(DesktopSession::xdotool({QStringLiteral("key"), QStringLiteral("super+d")}));
    waitForPopover(true);
    QTRY_VERIFY_WITH_TIMEOUT(DesktopSession::windowDrawnWith(mainWindowName, QColor(0x2A, 0x2A, 0x2D)), 10000);
    saveScreenshot(QStringLiteral("main-popover-dark"));
    output += m_korvane.readAllStandardOutput();
    QVERIFY2(output.contains("apperanceMode : Dark"), output.constData());
    const QRect list = DesktopSession::windowGeometry(mainWindowName);
    QVERIFY(list.isValid());
    // The list's background, beside the first row.
    const QColor background = QGuiApplication::primaryScreen()->grabWindow(0).toImage().pixelColor(list.left() + 12, list.top() + 140);
    QVERIFY2(background.lightness() < 100, qPrintable(background.name()));
    QVERIFY(DesktopSession::xdotool({QStringLiteral("key"), QStringLiteral("Escape")}));
    waitForPopover(false);
}

int main(int argc, char *argv[])
{
    DesktopSession desktop;
    if (!desktop.start()) {
        qWarning("could not start Xvfb and a session bus");
        return 1;
    }
    session = &desktop;
    qputenv("QT_QPA_PLATFORM", "xcb");
    QApplication app(argc, argv);
    TrayDesktopTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_traydesktop.moc"
