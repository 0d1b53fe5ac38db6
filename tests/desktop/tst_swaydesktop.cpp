// Korvane on a tiling wlroots desktop: a headless Sway, which tiles ordinary windows and
// offers data control, a virtual pointer and keyboard, a private session bus and a stand-in
// notification server. Korvane runs as the user starts it; swaymsg, wtype, wl-copy and
// wl-paste drive and read the desktop.
#include "support/desktopsession.h"

#include <QDir>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include <unistd.h>

using namespace KorvaneTest;

namespace {

DesktopSession *session = nullptr;

constexpr auto tool = &DesktopSession::output;

QByteArray pasted()
{
    return tool(QStringLiteral("wl-paste"), {QStringLiteral("--no-newline")}).value_or(QByteArray());
}

// A window of the layout tree by its title: its container, or an empty object.
QJsonObject findWindow(const QJsonObject &node, const QString &title)
{
    if (node.value(QStringLiteral("name")).toString() == title && node.contains(QStringLiteral("pid")))
        return node;
    for (const char *children : {"nodes", "floating_nodes"}) {
        for (const QJsonValue &child : node.value(QLatin1String(children)).toArray()) {
            const QJsonObject found = findWindow(child.toObject(), title);
            if (!found.isEmpty())
                return found;
        }
    }
    return QJsonObject();
}

QJsonObject window(const QString &title)
{
    const QByteArray tree = tool(QStringLiteral("swaymsg"), {QStringLiteral("-t"), QStringLiteral("get_tree"), QStringLiteral("--raw")}).value_or(QByteArray());
    return findWindow(QJsonDocument::fromJson(tree).object(), title);
}

// The window's content on the screen.
QRect contentRect(const QJsonObject &window)
{
    const QJsonObject outer = window.value(QStringLiteral("rect")).toObject();
    const QJsonObject inner = window.value(QStringLiteral("window_rect")).toObject();
    return QRect(outer.value(QStringLiteral("x")).toInt() + inner.value(QStringLiteral("x")).toInt(),
                 outer.value(QStringLiteral("y")).toInt() + inner.value(QStringLiteral("y")).toInt(), inner.value(QStringLiteral("width")).toInt(),
                 inner.value(QStringLiteral("height")).toInt());
}

} // namespace

// The headless Sway, as an unprivileged user when the test runs as root (Sway refuses root),
// in a runtime folder both reach, with a virtual pointer so that its cursor commands reach
// clients.
class SwaySession final
{
public:
    ~SwaySession()
    {
        m_pointer.closeWriteChannel();
        DesktopSession::end(m_pointer);
        DesktopSession::end(m_sway);
    }

    bool start()
    {
        if (!m_runtime.isValid())
            return false;
        const QString runtime = m_runtime.path();
        QFile config(runtime + QStringLiteral("/config"));
        if (!config.open(QIODevice::WriteOnly) || config.write("output HEADLESS-1 resolution 1280x800 position 0,0\nxwayland disable\n") < 0)
            return false;
        config.close();
        QStringList launcher;
        if (geteuid() == 0) {
            if (QProcess::execute(QStringLiteral("chown"), {QStringLiteral("-R"), QStringLiteral("nobody:nogroup"), runtime}) != 0)
                return false;
            launcher = {QStringLiteral("setpriv"), QStringLiteral("--reuid=nobody"), QStringLiteral("--regid=nogroup"), QStringLiteral("--clear-groups")};
        }
        qputenv("XDG_RUNTIME_DIR", QFile::encodeName(runtime));
        qputenv("WLR_BACKENDS", "headless");
        qputenv("WLR_LIBINPUT_NO_DEVICES", "1");
        qputenv("WLR_RENDERER", "pixman");
        qputenv("WLR_HEADLESS_OUTPUTS", "1");
        qunsetenv("DISPLAY");
        qunsetenv("WAYLAND_DISPLAY");
        m_sway.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        m_sway.start(launcher.isEmpty() ? QStringLiteral("sway") : launcher.first(),
                     launcher.mid(1) + QStringList{QStringLiteral("sway"), QStringLiteral("-c"), config.fileName()});
        if (!m_sway.waitForStarted())
            return false;
        // Sway makes its IPC socket once it runs; the Wayland socket exists by then.
        for (QDeadlineTimer deadline(15000);; QThread::msleep(20)) {
            const QStringList sockets = QDir(runtime).entryList({QStringLiteral("sway-ipc.*.sock")}, QDir::System);
            const QStringList displays = QDir(runtime).entryList({QStringLiteral("wayland-*")}, QDir::System | QDir::Files);
            if (!sockets.isEmpty() && !displays.filter(QStringLiteral(".lock")).isEmpty()) {
                qputenv("SWAYSOCK", QFile::encodeName(runtime + QLatin1Char('/') + sockets.first()));
                QString display = displays.first();
                display.remove(QStringLiteral(".lock"));
                qputenv("WAYLAND_DISPLAY", display.toUtf8());
                break;
            }
            if (deadline.hasExpired() || m_sway.state() == QProcess::NotRunning)
                return false;
        }
        qputenv("QT_QPA_PLATFORM", "wayland");
        m_pointer.start(QStringLiteral(KORVANE_VIRTUALPOINTER), {QStringLiteral("1280"), QStringLiteral("800")});
        return answered("ready");
    }

    // "move X Y", "press" or "release", once the compositor has handled it.
    bool pointer(const QByteArray &command)
    {
        m_pointer.write(command + '\n');
        return answered("ok");
    }

private:
    bool answered(const QByteArray &answer)
    {
        return (m_pointer.canReadLine() || m_pointer.waitForReadyRead(10000)) && m_pointer.readLine().trimmed() == answer;
    }

    QTemporaryDir m_runtime;
    QProcess m_sway;
    QProcess m_pointer;
};

namespace {
SwaySession *sway = nullptr;
} // namespace

class SwayDesktopTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void cleanupTestCase();
    void wakeListReadsTheClipboard();
    void dropWindowTakesEveryDrop();

private:
    bool screenshot(const QString &name) const;

    QTemporaryDir m_home;
    QTemporaryDir m_target;
    KorvaneProcess m_korvane{m_home.path()};
};

bool SwayDesktopTest::screenshot(const QString &name) const
{
    const QString file = m_home.filePath(name + QStringLiteral(".png"));
    if (!tool(QStringLiteral("grim"), {file}))
        return false;
    return DesktopSession::keep(QImage(file), m_home.path(), name);
}

void SwayDesktopTest::initTestCase()
{
    QVERIFY(session->startServices());
    m_korvane.env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("wayland"));

    // Two actions alone: one for text, one for files. They are added before the default ones
    // go, since an empty store is given the defaults again.
    QCOMPARE(m_korvane.run({QStringLiteral("add"), QStringLiteral("0"), QStringLiteral("2"), QStringLiteral("--title"), QStringLiteral("Count It")}).exitCode, 0);
    QCOMPARE(m_korvane.run({QStringLiteral("add"), QStringLiteral("copy"), QStringLiteral("--title"), QStringLiteral("Copy Here"), QStringLiteral("--set"),
                            QStringLiteral("savePath=") + m_target.path()})
                 .exitCode,
             0);
    const QJsonArray actions = QJsonDocument::fromJson(m_korvane.run({QStringLiteral("list"), QStringLiteral("--json")}).out).array();
    for (const QJsonValue &action : actions) {
        const QString title = action.toObject().value(QStringLiteral("title")).toString();
        if (title != QLatin1String("Count It") && title != QLatin1String("Copy Here"))
            QCOMPARE(m_korvane.run({QStringLiteral("remove"), QString::number(action.toObject().value(QStringLiteral("dropID")).toInt())}).exitCode, 0);
    }
    QCOMPARE(m_korvane.run({QStringLiteral("list")}).out.count('\n'), 3);
    QVERIFY2(m_korvane.start(), m_korvane.output.constData());
}

void SwayDesktopTest::cleanupTestCase()
{
    DesktopSession::end(m_korvane.process);
}

void SwayDesktopTest::wakeListReadsTheClipboard()
{
    // Another program owns the clipboard and Korvane has no focused window: the desktop's
    // data control reads it all the same, for the list and for the command line.
    QCOMPARE(QProcess::execute(QStringLiteral("wl-copy"), {QStringLiteral("one two")}), 0);
    const KorvaneProcess::Result classified = m_korvane.run({QStringLiteral("classify"), QStringLiteral("--clipboard"), QStringLiteral("--json")});
    QCOMPARE(classified.exitCode, 0);
    QCOMPARE(QJsonDocument::fromJson(classified.out).object().value(QStringLiteral("textString")).toString(), QStringLiteral("one two"));

    QCOMPARE(m_korvane.run({QStringLiteral("show")}).exitCode, 0);
    QTRY_VERIFY_WITH_TIMEOUT(!window(QStringLiteral("Korvane actions")).isEmpty(), 15000);
    // The list floats at its own size, instead of filling a tile.
    const QJsonObject list = window(QStringLiteral("Korvane actions"));
    QCOMPARE(list.value(QStringLiteral("type")).toString(), QStringLiteral("floating_con"));
    QVERIFY2(contentRect(list).width() < 400, qPrintable(QString::number(contentRect(list).width())));
    QTRY_VERIFY_WITH_TIMEOUT(window(QStringLiteral("Korvane actions")).value(QStringLiteral("focused")).toBool(), 10000);
    QVERIFY(screenshot(QStringLiteral("sway-wake-list")));

    // Alt+1 runs the first row on the clipboard's text.
    QCOMPARE(QProcess::execute(QStringLiteral("wtype"), {QStringLiteral("-s"), QStringLiteral("300"), QStringLiteral("-M"), QStringLiteral("alt"), QStringLiteral("1"), QStringLiteral("-m"), QStringLiteral("alt")}), 0);
    QTRY_COMPARE_WITH_TIMEOUT(session->notifications.count(QStringLiteral("Count It succeeded")), 1, 15000);
    QTRY_VERIFY2_WITH_TIMEOUT(pasted().contains("7"), pasted().constData(), 5000);
}

void SwayDesktopTest::dropWindowTakesEveryDrop()
{
    QCOMPARE(m_korvane.run({QStringLiteral("window")}).exitCode, 0);
    QTRY_VERIFY_WITH_TIMEOUT(!window(QStringLiteral("Korvane")).isEmpty(), 15000);
    const QJsonObject dropWindow = window(QStringLiteral("Korvane"));
    QCOMPARE(dropWindow.value(QStringLiteral("type")).toString(), QStringLiteral("floating_con"));
    const QRect content = contentRect(dropWindow);
    QCOMPARE(content.size(), QSize(280, 380));

    // A file manager's window, tiled behind the floating drop window.
    QTemporaryDir sources;
    const QString file = sources.filePath(QStringLiteral("photo été 1.txt"));
    QFile data(file);
    QVERIFY(data.open(QIODevice::WriteOnly) && data.write("exact bytes\n") > 0);
    data.close();
    QProcess dragSource;
    dragSource.start(QStringLiteral(KORVANE_DRAGSOURCE), {QStringLiteral("0"), QStringLiteral("0"), QStringLiteral("400"), QStringLiteral("300"), file});
    QVERIFY(dragSource.waitForReadyRead(15000) && dragSource.readLine().trimmed() == "ready");

    // During a drag of a file, "Copy Here" is the first row below the drop area. Where fonts put
    // it is found on the first drag by walking down from the drop area: the area takes the drag,
    // the gap below refuses it, the row takes it again.
    const QPoint area(content.center().x(), content.top() + 40);
    const QPoint from(60, 60);
    QVERIFY(!content.contains(from));
    QVERIFY(screenshot(QStringLiteral("sway-drop-window")));
    constexpr int drops = 20;
    const auto moveTo = [](const QPoint &at) { return sway->pointer(QStringLiteral("move %1 %2").arg(at.x()).arg(at.y()).toLatin1()); };
    QPoint row;
    for (int i = 1; i <= drops; ++i) {
        // The list a run shows floats over the drop window until the run is done.
        QTRY_VERIFY_WITH_TIMEOUT(window(QStringLiteral("Korvane actions")).isEmpty(), 15000);
        QVERIFY(moveTo(from) && sway->pointer("press"));
        const QPoint target = row.isNull() ? area : row;
        for (int step = 1; step <= 12; ++step)
            QVERIFY(moveTo(from + (target - from) * step / 12));
        // The source starts its drag when it has read the moves, maybe after the last one: the
        // pointer stirs on the target until it has taken the drag, and no later answer says otherwise.
        QByteArray said;
        int stir = 0;
        for (QDeadlineTimer deadline(10000); !deadline.hasExpired(); said += dragSource.readAll()) {
            if (said.trimmed().endsWith("accepted") && !dragSource.waitForReadyRead(200))
                break;
            QVERIFY(moveTo(target + QPoint(++stir % 2, 0)));
            dragSource.waitForReadyRead(100);
        }
        QVERIFY2(said.trimmed().endsWith("accepted"), qPrintable(QStringLiteral("drop %1: %2").arg(i).arg(QString::fromUtf8(said))));
        if (row.isNull()) {
            bool refused = false;
            for (QPoint at = area; at.y() < content.bottom() && row.isNull(); at.ry() += 3) {
                QVERIFY(moveTo(at));
                if (!dragSource.waitForReadyRead(150))
                    continue;
                said = dragSource.readAll().trimmed();
                refused = refused || said.contains("refused");
                // An answer comes a few steps late at most; a row is 38 high.
                if (refused && said.endsWith("accepted"))
                    row = at + QPoint(0, 6);
            }
            QVERIFY2(!row.isNull(), "no row took the drag below the drop area");
            QVERIFY(moveTo(row));
        }
        QVERIFY(sway->pointer("release"));
        // Each drop runs its row, or the test names the drop that was lost.
        QTRY_VERIFY2_WITH_TIMEOUT(session->notifications.count(QStringLiteral("Copy Here succeeded")) == i,
                                  qPrintable(QStringLiteral("drop %1; last notice \"%2\"; Korvane said:\n%3")
                                                 .arg(i)
                                                 .arg(session->notifications.calls.value(session->notifications.calls.size() - 1).summary)
                                                 .arg(QString::fromUtf8(m_korvane.output.right(500)))),
                                  15000);
    }
    QCOMPARE(QDir(m_target.path()).entryList(QDir::Files).size(), drops);
    dragSource.closeWriteChannel();
    DesktopSession::end(dragSource);
}

int main(int argc, char *argv[])
{
    SwaySession swaySession;
    DesktopSession desktop;
    if (!swaySession.start() || !desktop.startBus()) {
        qWarning("could not start a headless Sway and a session bus");
        return 1;
    }
    session = &desktop;
    sway = &swaySession;
    QCoreApplication app(argc, argv);
    SwayDesktopTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_swaydesktop.moc"
