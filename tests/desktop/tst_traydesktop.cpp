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

bool windowShown(const QString &name)
{
    QProcess search;
    search.start(QStringLiteral("xdotool"), {QStringLiteral("search"), QStringLiteral("--onlyvisible"), QStringLiteral("--name"), name});
    return search.waitForFinished(5000) && search.exitCode() == 0 && !search.readAllStandardOutput().trimmed().isEmpty();
}

QString clipboardText()
{
    return QGuiApplication::clipboard()->text();
}

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
    void dragOntoTheTrayAndDropOnARow();
    void followsADarkDesktop();

private:
    QString korvaneRun(const QStringList &args);
    void setDefault(const QByteArray &line);
    void saveScreenshot(const QString &name);
    void waitForPopover(bool shown);
    // A hotkey is ignored while the tray icon still animates the last run: wait until every
    // animation Korvane started has ended.
    void waitForIdleTray()
    {
        QTRY_VERIFY_WITH_TIMEOUT((m_output += m_korvane.readAllStandardOutput()).count("tray animation ended")
                                     == m_output.count("tray animation started"),
                                 15000);
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
    QTRY_VERIFY_WITH_TIMEOUT(windowShown(mainWindowName) == shown, 15000);
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
    QVERIFY(!windowShown(mainWindowName));
    QVERIFY(DesktopSession::xdotool({QStringLiteral("key"), QStringLiteral("super+d")}));
    waitForPopover(true);
    QTest::qWait(300);
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
    // Alt+digit is a key of the popover, which has focus; no global grab is involved.
    QVERIFY(DesktopSession::xdotool({QStringLiteral("key"), QStringLiteral("alt+3")}));
    QTRY_COMPARE_WITH_TIMEOUT(clipboardText(), QStringLiteral("Characters: 11. Letters: 4. English words: 1. "), 15000);
    QTRY_COMPARE_WITH_TIMEOUT(int(session->notifications.calls.size()), before + 1, 15000);
    QCOMPARE(session->notifications.calls.last().summary, QStringLiteral("Character Counter succeeded"));
    QCOMPARE(session->notifications.calls.last().appName, QStringLiteral("Korvane"));
    // The row reports, then the popover closes by itself.
    waitForPopover(false);
    // Without the list on screen the digits belong to other programs again.
    QGuiApplication::clipboard()->setText(QStringLiteral("untouched"));
    QVERIFY(DesktopSession::xdotool({QStringLiteral("key"), QStringLiteral("alt+3")}));
    QTest::qWait(500);
    QCOMPARE(clipboardText(), QStringLiteral("untouched"));
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
    QVERIFY(!windowShown(mainWindowName));
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
    QTest::qWait(300);
    saveScreenshot(QStringLiteral("main-popover-empty"));
    QVERIFY(DesktopSession::xdotool({QStringLiteral("key"), QStringLiteral("Escape")}));
    waitForPopover(false);
}

void TrayDesktopTest::dragOntoTheTrayAndDropOnARow()
{
    waitForIdleTray();
    // A copy action first in the file list, so its row is the first under the field.
    const QString target = m_home.filePath(QStringLiteral("copies"));
    QVERIFY(QDir().mkpath(target));
    const QString copy = korvaneRun({QStringLiteral("add"), QStringLiteral("1"), QStringLiteral("9"), QStringLiteral("--title"), QStringLiteral("Copy Here"),
                                     QStringLiteral("--set"), QStringLiteral("savePath=") + target, QStringLiteral("--set"), QStringLiteral("drop.index=-1")});
    QVERIFY(copy.toInt() > 0);
    QImage picture(40, 30, QImage::Format_RGB32);
    picture.fill(Qt::darkCyan);
    const QString file = m_home.filePath(QStringLiteral("holiday.png"));
    QVERIFY(picture.save(file));

    QProcess source;
    source.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    source.start(QStringLiteral(KORVANE_DRAGSOURCE), {QStringLiteral("100"), QStringLiteral("400"), QStringLiteral("200"), QStringLiteral("150"), file});
    QVERIFY(source.waitForStarted());
    QByteArray said;
    QTRY_VERIFY2_WITH_TIMEOUT((said += source.readAllStandardOutput()).contains("ready"), said.constData(), 15000);

    const QRect tray = DesktopSession::windowGeometry(QStringLiteral("^panel$"));
    QVERIFY(tray.isValid());
    const auto move = [](QPoint to) {
        return DesktopSession::xdotool({QStringLiteral("mousemove"), QString::number(to.x()), QString::number(to.y())});
    };
    // Press on the source and drag in small steps towards the tray icon.
    QVERIFY(move(QPoint(200, 475)));
    QVERIFY(DesktopSession::xdotool({QStringLiteral("mousedown"), QStringLiteral("1")}));
    QPoint at(200, 475);
    const QPoint nearTray(tray.center().x() - 40, tray.bottom() + 40);
    for (int step = 1; step <= 20; ++step) {
        QVERIFY(move(at + (nearTray - at) * step / 20));
        QTest::qWait(30);
    }
    QTRY_VERIFY_WITH_TIMEOUT(windowShown(QStringLiteral("^Korvane drop here$")), 15000);
    saveScreenshot(QStringLiteral("drop-here-popover"));

    // Into the drop area: the drag is classified and the list replaces the small popover.
    // The drop area hangs under the tray icon, its arrow at the icon's middle.
    const QPoint dropArea(tray.center().x() - 100, tray.bottom() + 70);
    for (int step = 0; step < 4; ++step) {
        QVERIFY(move(dropArea + QPoint(step * 3, step * 3)));
        QTest::qWait(60);
    }
    waitForPopover(true);
    QTRY_VERIFY_WITH_TIMEOUT(!windowShown(QStringLiteral("^Korvane drop here$")), 3000);
    const QRect list = DesktopSession::windowGeometry(mainWindowName);
    QVERIFY(list.isValid());
    const int before = int(session->notifications.calls.size());
    const QPoint firstRow(list.center().x(), list.top() + 85);
    for (int step = 0; step < 4; ++step) {
        QVERIFY(move(firstRow + QPoint(step * 4, 0)));
        QTest::qWait(60);
    }
    saveScreenshot(QStringLiteral("main-popover-drag"));
    QVERIFY(DesktopSession::xdotool({QStringLiteral("mouseup"), QStringLiteral("1")}));

    QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(target + QLatin1String("/holiday.png")), 15000);
    QTRY_COMPARE_WITH_TIMEOUT(int(session->notifications.calls.size()), before + 1, 15000);
    QCOMPARE(session->notifications.calls.last().summary, QStringLiteral("Copy Here succeeded"));
    QVERIFY(QFile::exists(file));
    waitForPopover(false);

    // A new drag opens the drop-here popover again; let go far away, it closes.
    waitForIdleTray();
    QVERIFY(move(QPoint(200, 475)));
    QVERIFY(DesktopSession::xdotool({QStringLiteral("mousedown"), QStringLiteral("1")}));
    at = QPoint(200, 475);
    for (int step = 1; step <= 20; ++step) {
        QVERIFY(move(at + (nearTray - at) * step / 20));
        QTest::qWait(30);
    }
    QTRY_VERIFY_WITH_TIMEOUT(windowShown(QStringLiteral("^Korvane drop here$")), 15000);
    QVERIFY(move(QPoint(300, 700)));
    QTest::qWait(100);
    QVERIFY(DesktopSession::xdotool({QStringLiteral("mouseup"), QStringLiteral("1")}));
    QTRY_VERIFY_WITH_TIMEOUT(!windowShown(QStringLiteral("^Korvane drop here$")), 15000);
    source.closeWriteChannel();
    source.waitForFinished(3000);
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
    QTest::qWait(300);
    saveScreenshot(QStringLiteral("main-popover-dark"));
    output += m_korvane.readAllStandardOutput();
    QVERIFY2(output.contains("apperanceMode : Dark"), output.constData());
    const QRect list = DesktopSession::windowGeometry(mainWindowName);
    QVERIFY(list.isValid());
    const QImage shot = QGuiApplication::primaryScreen()->grabWindow(0).toImage();
    // The list's background, beside the first row.
    const QColor background = shot.pixelColor(list.left() + 12, list.top() + 140);
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
