// Runs the real tray application on a display of its own and drives it like a user: keys
// with xdotool, the clipboard as another program, notifications through the session bus.
#include "support/desktopsession.h"
#include "support/statusnotifierwatcher.h"

#include <QApplication>
#include <QClipboard>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QScreen>
#include <QTemporaryDir>
#include <QTest>

#include <cmath>

using namespace KorvaneTest;

namespace {

DesktopSession *session = nullptr;

const QString mainWindowName = QStringLiteral("^Korvane actions$");
const QString dropHereName = QStringLiteral("^Korvane drop here$");

constexpr auto move = &DesktopSession::mouseTo;

QString clipboardText()
{
    return QGuiApplication::clipboard()->text();
}

const QColor lightBackground(0xF6, 0xF6, 0xF7);

qreal luminance(const QColor &colour)
{
    const auto linear = [](qreal c) { return c <= 0.04045 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4); };
    return 0.2126 * linear(colour.redF()) + 0.7152 * linear(colour.greenF()) + 0.0722 * linear(colour.blueF());
}

// How far the tray glyph stands out from the panel: the largest difference in relative
// luminance between a pixel of the tray, which holds our icon alone, and its corner.
qreal trayGlyphContrast()
{
    const QImage tray = DesktopSession::screenshot().copy(DesktopSession::windowGeometry(QStringLiteral("^panel$")));
    qreal most = 0;
    for (int y = 0; y < tray.height(); ++y) {
        for (int x = 0; x < tray.width(); ++x)
            most = std::max(most, std::abs(luminance(tray.pixelColor(x, y)) - luminance(tray.pixelColor(0, 0))));
    }
    return most;
}

} // namespace

class TrayDesktopTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void digitShortcutRunsItsRow();
    void actionHotkeyRunsAListedAction();
    void wrongInputIsToldEvenWhenMuted();
    void clickOnTheTrayIcon();
    void dragOntoTheTrayAndDropOnARow_data();
    void dragOntoTheTrayAndDropOnARow();
    void commandsAndTheDropWindow();
    void followsADarkDesktop();
    void statusNotifierTray();
    void noTrayTellsHowToReachKorvane();

private:
    void restartKorvane(const QProcessEnvironment &env);
    // Starts a window at the point that drags the file, and waits until it is ready.
    void startDragSource(QProcess &source, const QPoint &at, const QString &file, const QString &program = QStringLiteral(KORVANE_DRAGSOURCE));
    // Presses on the drag source and drags in small steps to the point. Only the last step
    // may come near the tray: moving on inside the drop-here popover would drop into it.
    void dragTo(const QPoint &to);
    // Lets the drag go far from the tray: the drop-here popover closes.
    void dropAway();
    QString korvaneRun(const QStringList &args) { return QString::fromUtf8(m_korvane.run(args).out.trimmed()); }
    void setDefault(const QByteArray &line);
    void saveScreenshot(const QString &name) { QVERIFY(DesktopSession::keep(DesktopSession::screenshot(), m_home.path(), name)); }
    // Whether the list is shown (or hidden) within 15 s; checked where it is called, so a
    // failure names its step.
    bool popoverBecomes(bool shown);
    // How many times Korvane has logged this so far.
    qsizetype logged(const QByteArray &line) { return m_korvane.output.count(line); }
    // A hotkey is ignored while the tray icon still animates the last run: wait until every
    // animation Korvane started has ended.
    void waitForIdleTray()
    {
        QTRY_VERIFY_WITH_TIMEOUT(logged("tray animation ended") == logged("tray animation started"), 15000);
    }

    QTemporaryDir m_home;
    KorvaneProcess m_korvane{m_home.path()};
    QProcessEnvironment m_env;
    QString m_picture;
};

void TrayDesktopTest::setDefault(const QByteArray &line)
{
    QDir().mkpath(m_home.filePath(QStringLiteral("config/korvane")));
    QFile conf(m_home.filePath(QStringLiteral("config/korvane/korvane.conf")));
    QVERIFY(conf.open(QIODevice::WriteOnly));
    conf.write("[General]\n" + line + "\n");
}

bool TrayDesktopTest::popoverBecomes(bool shown)
{
    return QTest::qWaitFor([shown] { return DesktopSession::windowShown(mainWindowName) == shown; }, 15000);
}

void TrayDesktopTest::restartKorvane(const QProcessEnvironment &env)
{
    // Asked to quit, Korvane goes at once.
    m_korvane.process.terminate();
    QVERIFY(m_korvane.process.state() == QProcess::NotRunning || m_korvane.process.waitForFinished(5000));
    m_korvane.env = env;
    QVERIFY2(m_korvane.start(), m_korvane.output.constData());
}

void TrayDesktopTest::startDragSource(QProcess &source, const QPoint &at, const QString &file, const QString &program)
{
    source.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    source.start(program, {QString::number(at.x()), QString::number(at.y()), QStringLiteral("200"), QStringLiteral("150"), file});
    QVERIFY(source.waitForStarted());
    QByteArray said;
    QTRY_VERIFY2_WITH_TIMEOUT((said += source.readAllStandardOutput()).contains("ready"), said.constData(), 15000);
}

void TrayDesktopTest::dragTo(const QPoint &to)
{
    QVERIFY(DesktopSession::pressAndDrag(QPoint(200, 475), to, 20));
    QTRY_VERIFY_WITH_TIMEOUT(DesktopSession::windowShown(QStringLiteral("^Korvane drop here$")), 15000);
}

void TrayDesktopTest::dropAway()
{
    QVERIFY(move(QPoint(300, 700)));
    QTest::qWait(100);
    QVERIFY(DesktopSession::xdotool({QStringLiteral("mouseup"), QStringLiteral("1")}));
    QTRY_VERIFY_WITH_TIMEOUT(!DesktopSession::windowShown(QStringLiteral("^Korvane drop here$")), 15000);
}

void TrayDesktopTest::initTestCase()
{
    QVERIFY(session->startServices());
    m_env = m_korvane.env;
    QImage picture(40, 30, QImage::Format_RGB32);
    picture.fill(Qt::darkCyan);
    m_picture = m_home.filePath(QStringLiteral("holiday.png"));
    QVERIFY(picture.save(m_picture));

    // Hotkeys of our own: Super+Shift+C counts characters, Super+Shift+M moves files.
    korvaneRun({QStringLiteral("list")});
    const QString counter = korvaneRun({QStringLiteral("add"), QStringLiteral("0"), QStringLiteral("2"), QStringLiteral("--title"), QStringLiteral("Count It"),
                                        QStringLiteral("--set"), QStringLiteral("hotkey=Shift+Super+C")});
    QVERIFY(counter.toInt() > 0);
    const QString move = korvaneRun({QStringLiteral("add"), QStringLiteral("1"), QStringLiteral("8"), QStringLiteral("--title"), QStringLiteral("Move Away"),
                                     QStringLiteral("--set"), QStringLiteral("hotkey=Shift+Super+M")});
    QVERIFY(move.toInt() > 0);
    // A copy action first in the file list, so its row is the first under the field.
    QVERIFY(QDir().mkpath(m_home.filePath(QStringLiteral("copies"))));
    const QString copy = korvaneRun({QStringLiteral("add"), QStringLiteral("1"), QStringLiteral("9"), QStringLiteral("--title"), QStringLiteral("Copy Here"),
                                     QStringLiteral("--set"), QStringLiteral("savePath=") + m_home.filePath(QStringLiteral("copies")),
                                     QStringLiteral("--index"), QStringLiteral("0")});
    QVERIFY(copy.toInt() > 0);

    // Installed, as the desktop's icon theme has the tray glyph under its symbolic name.
    const QString icons = m_home.filePath(QStringLiteral("share/icons/hicolor/symbolic/apps"));
    QVERIFY(QDir().mkpath(icons));
    QVERIFY(QFile::copy(QStringLiteral(KORVANE_TRAY_GLYPH), icons + QStringLiteral("/com.korvane.Korvane-tray-symbolic.svg")));
    m_env.insert(QStringLiteral("XDG_DATA_DIRS"), m_home.filePath(QStringLiteral("share")) + QStringLiteral(":/usr/share"));
    restartKorvane(m_env);
    // The first start says where Korvane is, and where starting at login is turned off.
    QTRY_COMPARE_WITH_TIMEOUT(int(session->notifications.calls.size()), 1, 10000);
    QVERIFY2(session->notifications.calls.first().body.contains(QStringLiteral("system tray: click it")) && session->notifications.calls.first().body.contains(QStringLiteral("“Start Korvane when I log in” in Preferences, on the General tab")), qPrintable(session->notifications.calls.first().body));
}

void TrayDesktopTest::digitShortcutRunsItsRow()
{
    QGuiApplication::clipboard()->setText(QStringLiteral("中文 ab cd1"));
    QVERIFY(DesktopSession::xdotool({QStringLiteral("key"), QStringLiteral("super+shift+k")}));
    QVERIFY(popoverBecomes(true));
    QTRY_VERIFY_WITH_TIMEOUT(DesktopSession::windowDrawnWith(mainWindowName, lightBackground), 10000);
    saveScreenshot(QStringLiteral("main-popover-text"));
    const int before = int(session->notifications.calls.size());
    // Rows of the English defaults for text: 0 share, 1 clear style, 2 count characters.
    // Alt+digit is a key of the popover, which has focus; no global grab is involved.
    QVERIFY(DesktopSession::xdotool({QStringLiteral("key"), QStringLiteral("alt+3")}));
    QTRY_COMPARE_WITH_TIMEOUT(clipboardText(), QStringLiteral("Characters: 11. Letters: 4. English words: 1. "), 15000);
    QTRY_COMPARE_WITH_TIMEOUT(int(session->notifications.calls.size()), before + 1, 15000);
    QCOMPARE(session->notifications.calls.last().summary, QStringLiteral("Character Counter succeeded"));
    QCOMPARE(session->notifications.calls.last().appName, QStringLiteral("Korvane"));
    // The row reports, then the popover closes by itself.
    QVERIFY(popoverBecomes(false));
    // Without the list on screen the digits belong to other programs again. The wake key
    // pressed after it shows that Korvane has had both keys.
    QGuiApplication::clipboard()->setText(QStringLiteral("untouched"));
    QVERIFY(DesktopSession::xdotool({QStringLiteral("key"), QStringLiteral("alt+3")}));
    QVERIFY(DesktopSession::xdotool({QStringLiteral("key"), QStringLiteral("super+shift+k")}));
    QVERIFY(popoverBecomes(true));
    QCOMPARE(clipboardText(), QStringLiteral("untouched"));
    // The wake key toggles the list however soon it follows the last press.
    for (int i = 0; i < 13; ++i) {
        QVERIFY(DesktopSession::xdotool({QStringLiteral("key"), QStringLiteral("super+shift+k")}));
        QVERIFY(popoverBecomes(i % 2 == 1));
    }
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
    QVERIFY(popoverBecomes(false));
}

void TrayDesktopTest::wrongInputIsToldEvenWhenMuted()
{
    waitForIdleTray();
    setDefault("muteNotifi=1\nwakeHotKey=40, 1179648");
    QGuiApplication::clipboard()->setText(QStringLiteral("text is no file"));
    const int before = int(session->notifications.calls.size());
    QVERIFY(DesktopSession::xdotool({QStringLiteral("key"), QStringLiteral("super+shift+m")}));
    QTRY_COMPARE_WITH_TIMEOUT(int(session->notifications.calls.size()), before + 1, 15000);
    QCOMPARE(session->notifications.calls.last().summary, QStringLiteral("Move Away failed"));
    QCOMPARE(session->notifications.calls.last().body, QStringLiteral("This action does not take what is on the clipboard."));
    QVERIFY(!DesktopSession::windowShown(mainWindowName));
    setDefault("wakeHotKey=40, 1179648");
}

void TrayDesktopTest::clickOnTheTrayIcon()
{
    // An XEmbed tray shows the glyph as drawn: on this light panel, dark.
    QTRY_VERIFY2_WITH_TIMEOUT(trayGlyphContrast() > 0.45, qPrintable(QString::number(trayGlyphContrast())), 10000);
    saveScreenshot(QStringLiteral("tray-light"));
    QGuiApplication::clipboard()->clear();
    // The tray host holds our icon alone: click the middle of it.
    const QRect tray = DesktopSession::windowGeometry(QStringLiteral("^panel$"));
    QVERIFY(tray.isValid());
    QVERIFY(DesktopSession::xdotool({QStringLiteral("mousemove"), QString::number(tray.center().x()), QString::number(tray.center().y()),
                                     QStringLiteral("click"), QStringLiteral("1")}));
    QVERIFY(popoverBecomes(true));
    QTRY_VERIFY_WITH_TIMEOUT(DesktopSession::windowDrawnWith(mainWindowName, lightBackground), 10000);
    saveScreenshot(QStringLiteral("main-popover-empty"));
    QVERIFY(DesktopSession::xdotool({QStringLiteral("key"), QStringLiteral("Escape")}));
    QVERIFY(popoverBecomes(false));
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
    const QString copied = m_home.filePath(QStringLiteral("copies/holiday.png"));
    QFile::remove(copied);

    QProcess dragSource;
    startDragSource(dragSource, QPoint(100, 400), m_picture, source);
    QByteArray said;
    const auto sourceSaid = [&](const QByteArray &line) { return (said += dragSource.readAllStandardOutput()).count(line + '\n'); };
    // The source says "accepted" or "refused" each time the answer under the drag changes.
    const auto accepting = [&] { return (said += dragSource.readAllStandardOutput()).endsWith("accepted\n"); };

    const QRect tray = DesktopSession::windowGeometry(QStringLiteral("^panel$"));
    QVERIFY(tray.isValid());
    const QPoint inSource(200, 475);
    const QPoint nearTray(tray.center().x() - 40, tray.bottom() + 40);
    const qsizetype opened = logged("drop-here popover opened");
    QVERIFY(DesktopSession::pressAndDrag(inSource, nearTray));
    QTRY_COMPARE_WITH_TIMEOUT(logged("drop-here popover opened"), opened + 1, 15000);
    saveScreenshot(QStringLiteral("drop-here-popover"));

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
    QVERIFY(QFile::exists(m_picture));
    QVERIFY(popoverBecomes(false));

    // A new drag opens the drop-here popover again, once; let go far away, nothing stays open.
    waitForIdleTray();
    QVERIFY(DesktopSession::pressAndDrag(inSource, nearTray));
    QTRY_COMPARE_WITH_TIMEOUT(logged("drop-here popover opened"), opened + 2, 15000);
    QVERIFY(DesktopSession::glide(nearTray, QPoint(300, 700)));
    QVERIFY(DesktopSession::xdotool({QStringLiteral("mouseup"), QStringLiteral("1")}));
    QTRY_COMPARE_WITH_TIMEOUT(sourceSaid("finished"), 2, 15000);
    QTRY_VERIFY_WITH_TIMEOUT(!DesktopSession::windowShown(dropHereName) && !DesktopSession::windowShown(mainWindowName), 15000);
    QCOMPARE(logged("drop-here popover opened"), opened + 2);
    dragSource.closeWriteChannel();
    QVERIFY(dragSource.waitForFinished(5000));
}

void TrayDesktopTest::commandsAndTheDropWindow()
{
    waitForIdleTray();
    // The clipboard as Nautilus leaves it after copying a folder: no trailing slash.
    const QString folder = m_home.filePath(QStringLiteral("Shots"));
    QVERIFY(QDir().mkpath(folder));
    // Another program owns the clipboard from here on: it is set with xclip.
    const auto xclip = [](const QString &type, const QByteArray &bytes) {
        QProcess process;
        process.start(QStringLiteral("xclip"), {QStringLiteral("-selection"), QStringLiteral("clipboard"), QStringLiteral("-t"), type});
        process.write(bytes);
        process.closeWriteChannel();
        return process.waitForFinished(10000) && process.exitCode() == 0;
    };
    QVERIFY(xclip(QStringLiteral("x-special/gnome-copied-files"), "copy\nfile://" + QFile::encodeName(folder)));
    const QJsonObject classified = QJsonDocument::fromJson(korvaneRun({QStringLiteral("classify"), QStringLiteral("--clipboard"), QStringLiteral("--json")}).toUtf8()).object();
    QCOMPARE(classified.value("folderFileUrls").toArray(), QJsonArray{folder + QLatin1Char('/')});
    QCOMPARE(classified.value("containedFileType").toInt(), 2 | 8);

    // A desktop's key binding: the action's hotkey path, through the running Korvane.
    QVERIFY(xclip(QStringLiteral("UTF8_STRING"), "one two"));
    const int before = int(session->notifications.calls.size());
    korvaneRun({QStringLiteral("show"), QStringLiteral("--action"), QStringLiteral("Count It")});
    QTRY_COMPARE_WITH_TIMEOUT(int(session->notifications.calls.size()), before + 1, 15000);
    QCOMPARE(session->notifications.calls.last().summary, QStringLiteral("Count It succeeded"));
    QVERIFY(popoverBecomes(false));
    waitForIdleTray();

    // The drop window from the tray menu, and a real drag dropped on it.
    const QRect tray = DesktopSession::windowGeometry(QStringLiteral("^panel$"));
    const int windowsBeforeMenu = DesktopSession::windowCount(QStringLiteral("korvane"));
    const QImage beforeDropWindow = DesktopSession::screenshot();
    QVERIFY(DesktopSession::xdotool({QStringLiteral("mousemove"), QString::number(tray.center().x()), QString::number(tray.center().y()),
                                     QStringLiteral("click"), QStringLiteral("3")}));
    QTRY_VERIFY_WITH_TIMEOUT(DesktopSession::windowCount(QStringLiteral("korvane")) > windowsBeforeMenu, 15000);
    QVERIFY(DesktopSession::xdotool({QStringLiteral("key"), QStringLiteral("Down"), QStringLiteral("Down"), QStringLiteral("Down"), QStringLiteral("Return")}));
    QTRY_VERIFY_WITH_TIMEOUT(DesktopSession::windowShown(QStringLiteral("^Korvane$")), 15000);
    const QRect window = DesktopSession::windowGeometry(QStringLiteral("^Korvane$"));
    QTRY_VERIFY_WITH_TIMEOUT(DesktopSession::windowPaintedOver(QStringLiteral("^Korvane$"), beforeDropWindow), 15000);
    saveScreenshot(QStringLiteral("drop-window"));
    QProcess source;
    startDragSource(source, QPoint(950, 500), folder);
    QVERIFY(DesktopSession::pressAndDrag(QPoint(1050, 575), QPoint(window.center().x(), window.top() + 50), 20));
    // Released only once the window has told the source it takes the drag: a release before
    // that answer is a drop the source itself cancels.
    QByteArray said;
    QTRY_VERIFY2_WITH_TIMEOUT((said += source.readAllStandardOutput()).endsWith("accepted\n"), said.constData(), 15000);
    QVERIFY(DesktopSession::xdotool({QStringLiteral("mouseup"), QStringLiteral("1")}));
    QVERIFY2(popoverBecomes(true), m_korvane.output.right(600).constData());
    QVERIFY(DesktopSession::xdotool({QStringLiteral("key"), QStringLiteral("Escape")}));
    QVERIFY(popoverBecomes(false));
    source.closeWriteChannel();
    source.waitForFinished(3000);
}

void TrayDesktopTest::followsADarkDesktop()
{
    // The same Korvane on a desktop whose GTK theme is dark.
    QProcessEnvironment dark = m_env;
    dark.insert(QStringLiteral("QT_QPA_PLATFORMTHEME"), QStringLiteral("gtk3"));
    dark.insert(QStringLiteral("GTK_THEME"), QStringLiteral("Adwaita:dark"));
    QVERIFY(session->startTray(0x303030));
    restartKorvane(dark);
    QTRY_VERIFY2_WITH_TIMEOUT(trayGlyphContrast() > 0.45, qPrintable(QString::number(trayGlyphContrast())), 10000);
    saveScreenshot(QStringLiteral("tray-dark"));
    QGuiApplication::clipboard()->setText(QStringLiteral("Good evening"));
    QVERIFY(DesktopSession::xdotool({QStringLiteral("key"), QStringLiteral("super+shift+k")}));
    QVERIFY(popoverBecomes(true));
    QTRY_VERIFY_WITH_TIMEOUT(DesktopSession::windowDrawnWith(mainWindowName, QColor(0x2A, 0x2A, 0x2D)), 10000);
    saveScreenshot(QStringLiteral("main-popover-dark"));
    QTRY_VERIFY2(m_korvane.output.contains("apperanceMode : Dark"), m_korvane.output.constData());
    const QRect list = DesktopSession::windowGeometry(mainWindowName);
    QVERIFY(list.isValid());
    // The list's background, beside the first row.
    const QColor background = DesktopSession::screenshot().pixelColor(list.left() + 12, list.top() + 140);
    QVERIFY2(background.lightness() < 100, qPrintable(background.name()));
    QVERIFY(DesktopSession::xdotool({QStringLiteral("key"), QStringLiteral("Escape")}));
    QVERIFY(popoverBecomes(false));
}

void TrayDesktopTest::statusNotifierTray()
{
    // A panel 28 pixels high at the top, whose tray is a StatusNotifier host.
    StatusNotifierWatcher watcher;
    QDBusConnection bus = QDBusConnection::sessionBus();
    QVERIFY(bus.registerObject(QStringLiteral("/StatusNotifierWatcher"), &watcher, QDBusConnection::ExportAllContents));
    QVERIFY(bus.registerService(QStringLiteral("org.kde.StatusNotifierWatcher")));
    const auto setWorkArea = [](const QString &area) {
        return QProcess::execute(QStringLiteral("xprop"), {QStringLiteral("-root"), QStringLiteral("-f"), QStringLiteral("_NET_WORKAREA"), QStringLiteral("32c"), QStringLiteral("-set"), QStringLiteral("_NET_WORKAREA"), area}) == 0;
    };
    QVERIFY(setWorkArea(QStringLiteral("0, 28, 1280, 872")));
    restartKorvane(m_env);
    QTRY_COMPARE_WITH_TIMEOUT(watcher.items.size(), 1, 10000);
    QCOMPARE(watcher.toolTipTitle(), QStringLiteral("Korvane"));
    const QByteArray idleIcon = watcher.iconPixels();
    QVERIFY(!idleIcon.isEmpty());
    // Hosts that colour symbolic icons find the glyph by its name; the others show pixels that
    // read on the panel, dark here: light ones (ARGB, alpha first).
    QCOMPARE(watcher.itemProperty(QStringLiteral("IconName")).toString(), QStringLiteral("com.korvane.Korvane-tray-symbolic"));
    qreal lightest = 0;
    for (qsizetype i = 0; i + 3 < idleIcon.size(); i += 4) {
        if (quint8(idleIcon.at(i)) == 0xff)
            lightest = std::max(lightest, luminance(QColor(quint8(idleIcon.at(i + 1)), quint8(idleIcon.at(i + 2)), quint8(idleIcon.at(i + 3)))));
    }
    QVERIFY2(lightest > 0.6, qPrintable(QString::number(lightest)));
    const QStringList menu = watcher.menuLabels();
    QVERIFY2(menu.contains(QStringLiteral("Preferences…")) && menu.contains(QStringLiteral("Help")) && menu.contains(QStringLiteral("Quit Korvane")), qPrintable(menu.join(u',')));

    // Nothing tells where the icon is: a drag near the panel opens the drop-here popover under
    // the panel where the drag came.
    QProcess source;
    startDragSource(source, QPoint(100, 400), m_picture);
    dragTo(QPoint(200, 120));
    const QRect dropHere = DesktopSession::windowGeometry(QStringLiteral("^Korvane drop here$"));
    QVERIFY2(qAbs(dropHere.center().x() - 200) <= 1 && dropHere.top() == 30, qPrintable(QStringLiteral("%1,%2").arg(dropHere.x()).arg(dropHere.y())));
    dropAway();

    // The host activates the item at its icon: the list hangs under the panel there, wherever
    // the pointer is.
    QGuiApplication::clipboard()->setText(QStringLiteral("tray words"));
    QVERIFY(move(QPoint(200, 600)));
    const QImage beforeList = DesktopSession::screenshot();
    QVERIFY(watcher.callItem(QStringLiteral("Activate"), 1000, 12));
    QVERIFY(popoverBecomes(true));
    QRect list = DesktopSession::windowGeometry(mainWindowName);
    QVERIFY2(qAbs(list.center().x() - 1000) <= 1 && list.top() == 30, qPrintable(QStringLiteral("%1,%2").arg(list.x()).arg(list.y())));
    QTRY_VERIFY_WITH_TIMEOUT(DesktopSession::windowPaintedOver(mainWindowName, beforeList), 15000);
    saveScreenshot(QStringLiteral("statusnotifier-popover"));

    // Running the third row (count characters) animates the item's icon through its frames.
    const int newIcons = watcher.newIcons;
    QVERIFY(DesktopSession::xdotool({QStringLiteral("key"), QStringLiteral("super+3")}));
    QTRY_VERIFY_WITH_TIMEOUT(watcher.iconPixels() != idleIcon, 5000);
    QVERIFY(popoverBecomes(false));
    waitForIdleTray();
    QTRY_COMPARE(watcher.iconPixels(), idleIcon);
    QVERIFY2(watcher.newIcons - newIcons >= 14, qPrintable(QString::number(watcher.newIcons - newIcons)));

    // A new drag opens the drop-here popover again. Without the panel, drags are still noticed
    // near where the icon was activated.
    QVERIFY(setWorkArea(QStringLiteral("0, 0, 1280, 900")));
    dragTo(QPoint(895, 110));
    QVERIFY(qAbs(DesktopSession::windowGeometry(QStringLiteral("^Korvane drop here$")).center().x() - 1000) <= 1);
    dropAway();
    source.closeWriteChannel();
    source.waitForFinished(3000);

    // A host that reports no position: the list comes to the pointer.
    QVERIFY(move(QPoint(400, 850)));
    QVERIFY(watcher.callItem(QStringLiteral("Activate"), 0, 0));
    QVERIFY(popoverBecomes(true));
    list = DesktopSession::windowGeometry(mainWindowName);
    QVERIFY2(qAbs(list.center().x() - 400) <= 1 && list.bottom() == 847, qPrintable(QStringLiteral("%1,%2").arg(list.x()).arg(list.bottom())));
    QVERIFY(watcher.callItem(QStringLiteral("Activate"), 0, 0));
    QVERIFY(popoverBecomes(false));
    bus.unregisterService(QStringLiteral("org.kde.StatusNotifierWatcher"));
    bus.unregisterObject(QStringLiteral("/StatusNotifierWatcher"));
}

void TrayDesktopTest::noTrayTellsHowToReachKorvane()
{
    session->stopTray();
    const int before = int(session->notifications.calls.size());
    restartKorvane(m_env);
    QTRY_COMPARE_WITH_TIMEOUT(int(session->notifications.calls.size()), before + 1, 10000);
    const NotificationServer::Call told = session->notifications.calls.last();
    QCOMPARE(told.summary, QStringLiteral("Korvane is running"));
    QVERIFY2(told.body.contains(QStringLiteral("Press Shift+Super+K or run “korvane show”")) && told.body.contains(QStringLiteral("drop window")), qPrintable(told.body));
    QCOMPARE(told.appIcon, QStringLiteral("com.korvane.Korvane"));
    QCOMPARE(told.hints.value(QStringLiteral("desktop-entry")).toString(), QStringLiteral("com.korvane.Korvane"));

    // Told once: the next start posts nothing before what the user asks for.
    restartKorvane(m_env);
    QGuiApplication::clipboard()->setText(QStringLiteral("text is no file"));
    QVERIFY(DesktopSession::xdotool({QStringLiteral("key"), QStringLiteral("super+shift+m")}));
    QTRY_COMPARE_WITH_TIMEOUT(int(session->notifications.calls.size()), before + 2, 10000);
    QCOMPARE(session->notifications.calls.last().summary, QStringLiteral("Move Away failed"));

    // Neither a notification service nor a tray: the notification goes to stderr.
    QDBusConnection(QStringLiteral("notifications")).unregisterService(QStringLiteral("org.freedesktop.Notifications"));
    QVERIFY(DesktopSession::xdotool({QStringLiteral("key"), QStringLiteral("super+shift+m")}));
    QTRY_VERIFY2_WITH_TIMEOUT(m_korvane.output.contains("korvane: Move Away failed: This action does not take what is on the clipboard."),
                              m_korvane.output.constData(), 10000);
    QCOMPARE(int(session->notifications.calls.size()), before + 2);
}

int main(int argc, char *argv[])
{
    return DesktopSession::run<TrayDesktopTest, QApplication>(argc, argv, session);
}

#include "tst_traydesktop.moc"
