#include "platform/x11/x11dragmonitor.h"

#include "support/xvfbserver.h"

#include <QGuiApplication>
#include <QProcess>
#include <QSignalSpy>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

#include <xcb/xcb.h>

#include <algorithm>
#include <cstdlib>
#include <memory>

using namespace KorvaneTest;

namespace {

// The drag source's window, in root coordinates; Xvfb has no window manager to move it.
const QRect kSourceWindow(100, 100, 200, 150);

// Everything a monitor says, in the order it says it.
class DragRecorder final : public QObject
{
    Q_OBJECT

public:
    struct Event {
        enum Kind { Started,
                    Moved,
                    Ended } kind;
        qint64 changeCount = 0;
        QPoint pos;
    };

    explicit DragRecorder(DragMonitor *monitor)
    {
        connect(monitor, &DragMonitor::dragStarted, this, [this](qint64 count) { record({Event::Started, count, {}}); });
        connect(monitor, &DragMonitor::dragMoved, this, [this](const QPoint &pos) { record({Event::Moved, 0, pos}); });
        connect(monitor, &DragMonitor::dragEnded, this, [this] { record({Event::Ended, 0, {}}); });
    }

    QList<Event> events;

    int count(Event::Kind kind) const
    {
        return int(std::count_if(events.cbegin(), events.cend(), [kind](const Event &e) { return e.kind == kind; }));
    }

    QList<Event::Kind> kinds(bool withMoves = true) const
    {
        QList<Event::Kind> result;
        for (const Event &e : events) {
            if (withMoves || e.kind != Event::Moved)
                result.append(e.kind);
        }
        return result;
    }

    QList<QPoint> positions() const
    {
        QList<QPoint> result;
        for (const Event &e : events) {
            if (e.kind == Event::Moved)
                result.append(e.pos);
        }
        return result;
    }

    // Waits until an event satisfying the predicate has been recorded; false when none came.
    template<typename Predicate>
    bool waitFor(Predicate predicate)
    {
        QSignalSpy spy(this, &DragRecorder::recorded);
        while (std::none_of(events.cbegin(), events.cend(), predicate)) {
            if (!spy.wait())
                return false;
        }
        return true;
    }

    bool waitForKind(Event::Kind kind)
    {
        return waitFor([kind](const Event &e) { return e.kind == kind; });
    }

    bool waitForPosition(const QPoint &pos)
    {
        return waitFor([pos](const Event &e) { return e.kind == Event::Moved && e.pos == pos; });
    }

Q_SIGNALS:
    void recorded();

private:
    void record(const Event &event)
    {
        events.append(event);
        Q_EMIT recorded();
    }
};

// One more X client, standing for another program that takes the selection.
class OtherClient final
{
public:
    explicit OtherClient(const QByteArray &display)
        : m_connection(xcb_connect(display.constData(), nullptr))
    {
        const xcb_screen_t *screen = xcb_setup_roots_iterator(xcb_get_setup(m_connection)).data;
        m_window = xcb_generate_id(m_connection);
        xcb_create_window(m_connection, XCB_COPY_FROM_PARENT, m_window, screen->root, 0, 0, 1, 1, 0,
                          XCB_WINDOW_CLASS_INPUT_ONLY, screen->root_visual, 0, nullptr);
        static const char name[] = "XdndSelection";
        xcb_intern_atom_reply_t *atom = xcb_intern_atom_reply(
            m_connection, xcb_intern_atom(m_connection, 0, sizeof name - 1, name), nullptr);
        m_selection = atom ? atom->atom : XCB_NONE;
        std::free(atom);
    }
    ~OtherClient() { xcb_disconnect(m_connection); }

    bool isValid() const { return !xcb_connection_has_error(m_connection) && m_selection != XCB_NONE; }

    void takeSelection() { setOwner(m_window); }
    void releaseSelection() { setOwner(XCB_NONE); }

private:
    void setOwner(xcb_window_t owner)
    {
        xcb_set_selection_owner(m_connection, owner, m_selection, XCB_CURRENT_TIME);
        // A round trip: the request has reached the server when this returns.
        std::free(xcb_get_input_focus_reply(m_connection, xcb_get_input_focus(m_connection), nullptr));
    }

    xcb_connection_t *m_connection;
    xcb_window_t m_window = 0;
    xcb_atom_t m_selection = XCB_NONE;
};

} // namespace

class X11DragMonitorTest final : public QObject
{
    Q_OBJECT

public:
    explicit X11DragMonitorTest(const QByteArray &display)
        : m_display(display)
    {}

private Q_SLOTS:
    void initTestCase();
    void init();
    void cleanup();
    void cleanupTestCase();
    void dragFromAnotherProgram();
    void buttonPressWithoutDragIsNoDrag();
    void ownerTakenMidDragStartsAnotherDrag();
    void releasedSelectionIsNoDrag();

private:
    // The words of the command line, split at spaces.
    void xdotool(const QString &command);
    void waitForSourceLine(const QByteArray &line);
    // Presses on the source window and moves until the drag has begun.
    void beginSourceDrag(DragRecorder &recorder);

    QByteArray m_display;
    QTemporaryDir m_dir;
    QProcess m_source;
    QByteArray m_sourceOutput;
    std::unique_ptr<X11DragMonitor> m_monitor;
};

void X11DragMonitorTest::initTestCase()
{
    QCOMPARE(QGuiApplication::platformName(), QStringLiteral("xcb"));
    QVERIFY(!QStandardPaths::findExecutable(QStringLiteral("xdotool")).isEmpty());
    QVERIFY(m_dir.isValid());
    const QString file = m_dir.filePath(QStringLiteral("dragged.txt"));
    QFile out(file);
    QVERIFY(out.open(QIODevice::WriteOnly));
    out.write("dragged\n");
    out.close();

    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("DISPLAY"), QString::fromLatin1(m_display));
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
    m_source.setProcessEnvironment(env);
    m_source.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    m_source.start(QStringLiteral(KORVANE_DRAGSOURCE),
                   {QString::number(kSourceWindow.x()), QString::number(kSourceWindow.y()),
                    QString::number(kSourceWindow.width()), QString::number(kSourceWindow.height()), file});
    QVERIFY(m_source.waitForStarted());
    waitForSourceLine("ready");
}

void X11DragMonitorTest::cleanupTestCase()
{
    m_source.closeWriteChannel();
    QVERIFY(m_source.waitForFinished());
    QCOMPARE(m_source.exitCode(), 0);
}

void X11DragMonitorTest::init()
{
    m_monitor = std::make_unique<X11DragMonitor>();
    QVERIFY(m_monitor->isValid());
}

void X11DragMonitorTest::cleanup()
{
    m_monitor.reset();
    // No button stays down into the next test, whatever happened in this one.
    QProcess::execute(QStringLiteral("xdotool"), {QStringLiteral("mouseup"), QStringLiteral("1")});
}

void X11DragMonitorTest::xdotool(const QString &command)
{
    QProcess process;
    process.start(QStringLiteral("xdotool"), command.split(QLatin1Char(' ')));
    QVERIFY(process.waitForFinished());
    QCOMPARE(process.exitCode(), 0);
}

void X11DragMonitorTest::waitForSourceLine(const QByteArray &line)
{
    while (true) {
        // Lines may have come in already while another wait ran the event loop.
        m_sourceOutput += m_source.readAllStandardOutput();
        const qsizetype end = m_sourceOutput.indexOf('\n');
        if (end >= 0) {
            const QByteArray got = m_sourceOutput.left(end);
            m_sourceOutput.remove(0, end + 1);
            // What the windows under the drag answered is no business of the monitor.
            if (got == "accepted" || got == "refused")
                continue;
            QCOMPARE(got, line);
            return;
        }
        QVERIFY2(m_source.waitForReadyRead(), "the drag source said nothing");
    }
}

void X11DragMonitorTest::beginSourceDrag(DragRecorder &recorder)
{
    const QPoint press = kSourceWindow.center();
    xdotool(QStringLiteral("mousemove %1 %2 mousedown 1").arg(press.x()).arg(press.y()));
    // Small steps past the start distance; the drag begins on one of them.
    for (int step = 1; step <= 4; ++step)
        xdotool(QStringLiteral("mousemove %1 %2").arg(press.x() + 8 * step).arg(press.y()));
    QVERIFY(recorder.waitForKind(DragRecorder::Event::Started));
}

void X11DragMonitorTest::dragFromAnotherProgram()
{
    // An idle desktop costs nothing: no drag, no polling.
    QVERIFY(!m_monitor->isPolling());
    DragRecorder recorder(m_monitor.get());
    beginSourceDrag(recorder);
    if (QTest::currentTestFailed())
        return;
    QCOMPARE(recorder.count(DragRecorder::Event::Started), 1);
    QCOMPARE(recorder.events.first().kind, DragRecorder::Event::Started);
    QCOMPARE(recorder.events.first().changeCount, 1);
    QCOMPARE(m_monitor->changeCount(), 1);
    QVERIFY(m_monitor->isDragging());
    QVERIFY(m_monitor->isPolling());

    // Out of the source window and across the screen, waiting for each position in turn.
    const QList<QPoint> path{{200, 220}, {260, 280}, {330, 330}, {420, 380}, {500, 420}};
    for (const QPoint &p : path) {
        xdotool(QStringLiteral("mousemove %1 %2").arg(p.x()).arg(p.y()));
        QVERIFY2(recorder.waitForPosition(p), qPrintable(QStringLiteral("no dragMoved at %1,%2").arg(p.x()).arg(p.y())));
    }
    QVERIFY(m_monitor->isPolling());
    QCOMPARE(recorder.count(DragRecorder::Event::Ended), 0);

    xdotool(QStringLiteral("mouseup 1"));
    QVERIFY(recorder.waitForKind(DragRecorder::Event::Ended));
    waitForSourceLine("finished");

    QCOMPARE(recorder.events.last().kind, DragRecorder::Event::Ended);
    QCOMPARE(recorder.count(DragRecorder::Event::Started), 1);
    QCOMPARE(recorder.count(DragRecorder::Event::Ended), 1);
    QVERIFY(!m_monitor->isDragging());
    QVERIFY(!m_monitor->isPolling());

    // Every position reported is one the pointer went through, in the order it went, and
    // none is reported twice in a row.
    const QPoint press = kSourceWindow.center();
    QList<QPoint> visited;
    for (int step = 1; step <= 4; ++step)
        visited.append(press + QPoint(8 * step, 0));
    visited += path;
    const QList<QPoint> positions = recorder.positions();
    QVERIFY(!positions.isEmpty());
    qsizetype at = 0;
    for (qsizetype i = 0; i < positions.size(); ++i) {
        const qsizetype found = visited.indexOf(positions.at(i), at);
        QVERIFY2(found >= 0, qPrintable(QStringLiteral("unexpected position %1,%2").arg(positions.at(i).x()).arg(positions.at(i).y())));
        if (i > 0)
            QVERIFY(found > at);
        at = found;
    }
    QCOMPARE(positions.last(), path.last());
}

void X11DragMonitorTest::buttonPressWithoutDragIsNoDrag()
{
    DragRecorder recorder(m_monitor.get());
    // A press and moves on the bare root window: no program starts a drag.
    xdotool(QStringLiteral("mousemove 450 50 mousedown 1 mousemove 500 60 mousemove 550 70 mouseup 1"));
    QVERIFY(!m_monitor->isPolling());

    // Then another program takes the selection with no button down. The server handles
    // requests in order, so once that is seen anything the press caused has been seen too.
    OtherClient other(m_display);
    QVERIFY(other.isValid());
    other.takeSelection();
    QVERIFY(recorder.waitForKind(DragRecorder::Event::Ended));
    QCOMPARE(m_monitor->changeCount(), 1);
    // With the button up the drag is over at once: no position, no polling.
    QCOMPARE(recorder.kinds(), (QList<DragRecorder::Event::Kind>{DragRecorder::Event::Started, DragRecorder::Event::Ended}));
    QVERIFY(!m_monitor->isDragging());
    QVERIFY(!m_monitor->isPolling());
}

void X11DragMonitorTest::ownerTakenMidDragStartsAnotherDrag()
{
    DragRecorder recorder(m_monitor.get());
    OtherClient other(m_display);
    QVERIFY(other.isValid());
    xdotool(QStringLiteral("mousemove 450 50 mousedown 1"));
    other.takeSelection();
    QVERIFY(recorder.waitForPosition({450, 50}));
    QVERIFY(m_monitor->isPolling());

    other.takeSelection();
    QVERIFY(recorder.waitFor([](const DragRecorder::Event &e) {
        return e.kind == DragRecorder::Event::Started && e.changeCount == 2;
    }));
    xdotool(QStringLiteral("mousemove 460 60"));
    QVERIFY(recorder.waitForPosition({460, 60}));
    xdotool(QStringLiteral("mouseup 1"));
    QVERIFY(recorder.waitFor([&recorder](const DragRecorder::Event &) {
        return recorder.count(DragRecorder::Event::Ended) == 2;
    }));

    // Each drag is closed before the next one opens.
    QCOMPARE(recorder.kinds(false), (QList<DragRecorder::Event::Kind>{DragRecorder::Event::Started, DragRecorder::Event::Ended, DragRecorder::Event::Started, DragRecorder::Event::Ended}));
    QCOMPARE(recorder.events.first().changeCount, 1);
    QVERIFY(!m_monitor->isPolling());
}

void X11DragMonitorTest::releasedSelectionIsNoDrag()
{
    DragRecorder recorder(m_monitor.get());
    OtherClient other(m_display);
    QVERIFY(other.isValid());
    other.takeSelection();
    QVERIFY(recorder.waitForKind(DragRecorder::Event::Ended));
    other.releaseSelection();
    // A marker after the release: once its start is seen, the release has been handled.
    other.takeSelection();
    QVERIFY(recorder.waitFor([](const DragRecorder::Event &e) {
        return e.kind == DragRecorder::Event::Started && e.changeCount == 2;
    }));
    QCOMPARE(recorder.count(DragRecorder::Event::Started), 2);
    QCOMPARE(m_monitor->changeCount(), 2);
}

int main(int argc, char *argv[])
{
    return XvfbServer::run<X11DragMonitorTest>(argc, argv);
}

#include "tst_x11dragmonitor.moc"
