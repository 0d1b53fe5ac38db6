// The tray application on a display of its own: how fast the wake hotkey brings up the
// list, how much memory it holds while idle, and whether it wakes up while nothing happens.
#include "support/desktopsession.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QHash>
#include <QTemporaryDir>
#include <QThread>

#include <xcb/xcb.h>
#include <xcb/xtest.h>

#include <algorithm>
#include <cstdio>
#include <vector>

using namespace KorvaneTest;

namespace {

// X keycodes of the standard evdev keymap that Xvfb uses.
const xcb_keycode_t superKey = 133;
const xcb_keycode_t dKey = 40;

qint64 statusField(const QString &path, const char *field)
{
    QFile status(path);
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray &line : status.readAll().split('\n')) {
        if (line.startsWith(field))
            return line.mid(qstrlen(field)).trimmed().split(' ').first().toLongLong();
    }
    return -1;
}

// Context switches of each thread of the process, by thread id.
QHash<QString, qint64> switchesByThread(qint64 pid)
{
    QHash<QString, qint64> result;
    const QDir tasks(QStringLiteral("/proc/%1/task").arg(pid));
    for (const QString &task : tasks.entryList(QDir::Dirs | QDir::NoDotAndDotDot)) {
        const QString path = tasks.filePath(task) + QLatin1String("/status");
        result.insert(task, statusField(path, "voluntary_ctxt_switches:") + statusField(path, "nonvoluntary_ctxt_switches:"));
    }
    return result;
}

bool isPopover(xcb_connection_t *c, xcb_window_t window)
{
    const xcb_atom_t wmName = XCB_ATOM_WM_NAME;
    xcb_get_property_reply_t *reply = xcb_get_property_reply(c, xcb_get_property(c, 0, window, wmName, XCB_GET_PROPERTY_TYPE_ANY, 0, 64), nullptr);
    if (!reply)
        return false;
    const QByteArray name(static_cast<const char *>(xcb_get_property_value(reply)), xcb_get_property_value_length(reply));
    free(reply);
    return name == "Korvane actions";
}

// Presses Super+D and waits until the list's window is mapped (or unmapped); milliseconds.
double pressWake(xcb_connection_t *c, bool wantMapped)
{
    QElapsedTimer timer;
    timer.start();
    for (auto [type, key] : {std::pair{XCB_KEY_PRESS, superKey}, {XCB_KEY_PRESS, dKey}, {XCB_KEY_RELEASE, dKey}, {XCB_KEY_RELEASE, superKey}})
        xcb_test_fake_input(c, uint8_t(type), key, XCB_CURRENT_TIME, XCB_NONE, 0, 0, 0);
    xcb_flush(c);
    while (timer.elapsed() < 5000) {
        xcb_generic_event_t *event = xcb_poll_for_event(c);
        if (!event) {
            QThread::usleep(200);
            continue;
        }
        const uint8_t kind = event->response_type & 0x7f;
        bool done = false;
        if (wantMapped && kind == XCB_MAP_NOTIFY)
            done = isPopover(c, reinterpret_cast<xcb_map_notify_event_t *>(event)->window);
        else if (!wantMapped && kind == XCB_UNMAP_NOTIFY)
            done = isPopover(c, reinterpret_cast<xcb_unmap_notify_event_t *>(event)->window);
        free(event);
        if (done)
            return double(timer.nsecsElapsed()) / 1e6;
    }
    return -1;
}

} // namespace

int main(int argc, char *argv[])
{
    DesktopSession desktop;
    if (!desktop.start()) {
        std::fprintf(stderr, "could not start Xvfb\n");
        return 1;
    }
    QCoreApplication app(argc, argv);
    const QString korvane = QCoreApplication::applicationDirPath() + QLatin1String("/../src/korvane");
    QTemporaryDir home;
    QProcess process;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("XDG_DATA_HOME"), home.filePath(QStringLiteral("data")));
    env.insert(QStringLiteral("XDG_CONFIG_HOME"), home.filePath(QStringLiteral("config")));
    env.insert(QStringLiteral("XDG_CACHE_HOME"), home.filePath(QStringLiteral("cache")));
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
    env.insert(QStringLiteral("QT_LOGGING_RULES"), QStringLiteral("korvane.*.info=true"));
    process.setProcessEnvironment(env);
    process.setProcessChannelMode(QProcess::MergedChannels);
    process.start(korvane, {});
    if (!process.waitForStarted()) {
        std::fprintf(stderr, "could not start %s\n", qPrintable(korvane));
        return 1;
    }
    QElapsedTimer wait;
    wait.start();
    while (!process.readAllStandardOutput().contains("started with") && wait.elapsed() < 10000)
        process.waitForReadyRead(200);

    xcb_connection_t *c = xcb_connect(desktop.display().constData(), nullptr);
    xcb_screen_t *screen = xcb_setup_roots_iterator(xcb_get_setup(c)).data;
    const uint32_t mask = XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY;
    xcb_change_window_attributes(c, screen->root, XCB_CW_EVENT_MASK, &mask);
    xcb_flush(c);

    std::vector<double> open;
    for (int i = 0; i < 51; ++i) {
        const double shown = pressWake(c, true);
        if (shown >= 0 && i > 0)
            open.push_back(shown);
        QThread::msleep(150);
        pressWake(c, false);
        QThread::msleep(150);
    }
    std::sort(open.begin(), open.end());
    if (open.empty()) {
        std::printf("wake hotkey: the list never appeared\n");
    } else {
        std::printf("wake hotkey press to list mapped: median %.1f ms over %zu presses (min %.1f, max %.1f); target < 50 ms\n",
                    open[open.size() / 2], open.size(), open.front(), open.back());
    }

    QThread::sleep(3);
    const qint64 pid = process.processId();
    const qint64 rss = statusField(QStringLiteral("/proc/%1/status").arg(pid), "VmRSS:");
    const QHash<QString, qint64> before = switchesByThread(pid);
    const int idleSeconds = qEnvironmentVariableIntValue("KORVANE_IDLE_SECONDS") > 0 ? qEnvironmentVariableIntValue("KORVANE_IDLE_SECONDS") : 60;
    QThread::sleep(unsigned(idleSeconds));
    const QHash<QString, qint64> after = switchesByThread(pid);
    const QString mainThread = QString::number(pid);
    qint64 others = 0;
    for (auto it = after.constBegin(); it != after.constEnd(); ++it) {
        if (it.key() != mainThread && before.contains(it.key()))
            others += it.value() - before.value(it.key());
    }
    std::printf("idle resident memory: %.1f MiB; target < 60 MB\n", double(rss) / 1024.0);
    std::printf("wake-ups over %d s idle: main thread (where our timers run) %lld, Qt's and the libraries' other threads %lld\n",
                idleSeconds, after.value(mainThread) - before.value(mainThread), others);

    xcb_disconnect(c);
    process.terminate();
    process.waitForFinished(5000);
    return 0;
}
