#pragma once

// A desktop of the test's own: an Xvfb display (or Weston inside one), a private session bus
// with a stand-in notification server that records every Notify call, and on X11 an XEmbed
// tray host.

#include "notificationserver.h"
#include "xvfbserver.h"

#include <QDBusConnection>
#include <QColor>
#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QThread>
#include <QGuiApplication>
#include <QHash>
#include <QImage>
#include <QObject>
#include <QPixmap>
#include <QProcess>
#include <QRect>
#include <QScreen>
#include <QTest>
#include <QVariantMap>

#include <memory>
#include <optional>

class DesktopSession final
{
public:
    ~DesktopSession() { stop(); }

    // The main() of a desktop test on X11: the desktop starts before the application object.
    template<typename Test, typename Application>
    static int run(int argc, char *argv[], DesktopSession *&current, const QByteArray &screen = "1280x900x24")
    {
        DesktopSession desktop;
        if (!desktop.start(screen)) {
            qWarning("could not start Xvfb and a session bus");
            return 1;
        }
        current = &desktop;
        qputenv("QT_QPA_PLATFORM", "xcb");
        Application app(argc, argv);
        Test test;
        return QTest::qExec(&test, argc, argv);
    }

    // Starts the X server and the bus and points this process at them; call before the
    // application object exists.
    bool start(const QByteArray &screen = "1280x900x24")
    {
        if (!m_xvfb.start(screen.constData()))
            return false;
        m_display = m_xvfb.display();
        qputenv("DISPLAY", m_display);
        return startBus();
    }

    // The same on Wayland: Weston, on a socket in a runtime folder of its own. It runs as a
    // window of an Xvfb display only Weston sees, for the seat its headless backend lacks:
    // without keyboard focus no client reads the clipboard.
    bool startWayland()
    {
        if (!m_xvfb.start("1280x800x24"))
            return false;
        m_runtime = std::make_unique<QTemporaryDir>();
        qputenv("XDG_RUNTIME_DIR", QFile::encodeName(m_runtime->path()));
        qputenv("WAYLAND_DISPLAY", "wayland-korvane");
        qputenv("DISPLAY", m_xvfb.display());
        m_weston.start(QStringLiteral("weston"), {QStringLiteral("--backend=x11-backend.so"), QStringLiteral("--no-config"), QStringLiteral("--idle-time=0"), QStringLiteral("--socket=wayland-korvane")});
        qunsetenv("DISPLAY");
        // Weston opens its socket once it takes clients.
        for (QDeadlineTimer deadline(15000); !QFileInfo::exists(m_runtime->filePath(QStringLiteral("wayland-korvane"))); QThread::msleep(20)) {
            if (deadline.hasExpired() || m_weston.state() == QProcess::NotRunning)
                return false;
        }
        return startBus();
    }

    bool startBus()
    {
        m_bus.start(QStringLiteral("dbus-daemon"), {QStringLiteral("--session"), QStringLiteral("--nofork"), QStringLiteral("--print-address")});
        if (!m_bus.waitForStarted() || !m_bus.waitForReadyRead(10000))
            return false;
        m_busAddress = m_bus.readLine().trimmed();
        qputenv("DBUS_SESSION_BUS_ADDRESS", m_busAddress);
        return !m_busAddress.isEmpty();
    }

    // Needs the application object: registers the notification stand-in and starts the tray.
    bool startServices()
    {
        QDBusConnection bus = QDBusConnection::connectToBus(QString::fromLatin1(m_busAddress), QStringLiteral("notifications"));
        if (!bus.registerObject(QStringLiteral("/org/freedesktop/Notifications"), &notifications, QDBusConnection::ExportAllSlots)
            || !bus.registerService(QStringLiteral("org.freedesktop.Notifications")))
            return false;
        return m_display.isEmpty() || startTray();
    }

    // An XEmbed tray in a panel at the top right, in place of the one running: of the GTK
    // theme's colour, or of its own.
    bool startTray(std::optional<QRgb> colour = std::nullopt)
    {
        stopTray();
        QStringList args{QStringLiteral("--edge"), QStringLiteral("top"), QStringLiteral("--align"), QStringLiteral("right"), QStringLiteral("--widthtype"), QStringLiteral("request"), QStringLiteral("--height"), QStringLiteral("24"), QStringLiteral("--SetDockType"), QStringLiteral("true"), QStringLiteral("--transparent")};
        if (!colour)
            args << QStringLiteral("false");
        else
            args << QStringLiteral("true") << QStringLiteral("--alpha") << QStringLiteral("0") << QStringLiteral("--tint") << QStringLiteral("0x%1").arg(*colour & 0xffffff, 6, 16, QLatin1Char('0'));
        m_tray.start(QStringLiteral("trayer"), args);
        return m_tray.waitForStarted();
    }

    void stop()
    {
        stopTray();
        end(m_bus);
        end(m_weston);
        m_xvfb.stop();
    }

    // The desktop goes on without any tray.
    void stopTray() { end(m_tray); }

    // The environment of a korvane started on this desktop: this process's, with the XDG
    // folders in home, English texts, the X11 platform and our own logging shown.
    static QProcessEnvironment korvaneEnvironment(const QString &home)
    {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("XDG_DATA_HOME"), home + QStringLiteral("/data"));
        env.insert(QStringLiteral("XDG_CONFIG_HOME"), home + QStringLiteral("/config"));
        env.insert(QStringLiteral("XDG_CACHE_HOME"), home + QStringLiteral("/cache"));
        env.insert(QStringLiteral("LANG"), QStringLiteral("en_US.UTF-8"));
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
        env.insert(QStringLiteral("QT_LOGGING_RULES"), QStringLiteral("korvane.*.info=true"));
        return env;
    }

    QByteArray display() const { return m_display; }
    QByteArray busAddress() const { return m_busAddress; }

    // Runs xdotool on the test display and waits for it; gives its output, or nothing when it fails.
    static std::optional<QByteArray> xdotoolOutput(const QStringList &args)
    {
        QProcess process;
        process.start(QStringLiteral("xdotool"), args);
        if (!process.waitForFinished(10000) || process.exitCode() != 0)
            return std::nullopt;
        return process.readAllStandardOutput();
    }

    static bool xdotool(const QStringList &args) { return xdotoolOutput(args).has_value(); }

    static bool mouseTo(const QPoint &to) { return xdotool({"mousemove", QString::number(to.x()), QString::number(to.y())}); }

    // Moves in steps, as a hand does: drag sources and drop targets see every step.
    static bool glide(const QPoint &from, const QPoint &to, int steps = 12)
    {
        for (int step = 1; step <= steps; ++step) {
            if (!mouseTo(from + (to - from) * step / steps))
                return false;
        }
        return true;
    }

    static bool pressAndDrag(const QPoint &from, const QPoint &to, int steps = 12)
    {
        return mouseTo(from) && xdotool({"mousedown", "1"}) && glide(from, to, steps);
    }

    // The ids of the visible windows that match (--name or --class and a pattern).
    static QList<QByteArray> windows(const QString &by, const QString &pattern)
    {
        QList<QByteArray> ids = xdotoolOutput({QStringLiteral("search"), QStringLiteral("--onlyvisible"), by, pattern}).value_or(QByteArray()).split('\n');
        ids.removeAll(QByteArray());
        return ids;
    }

    static bool windowShown(const QString &name) { return !windows(QStringLiteral("--name"), name).isEmpty(); }

    // How many windows of this class are on screen.
    static int windowCount(const QString &className) { return int(windows(QStringLiteral("--class"), className).size()); }

    static QImage screenshot() { return QGuiApplication::primaryScreen()->grabWindow(0).toImage(); }

    // Keeps a picture beside the test's files and, when KORVANE_SCREENSHOT_DIR is set, there too.
    static bool keep(const QImage &shot, const QString &folder, const QString &name)
    {
        const QByteArray wanted = qgetenv("KORVANE_SCREENSHOT_DIR");
        if (!wanted.isEmpty())
            shot.save(QString::fromLocal8Bit(wanted) + QLatin1Char('/') + name + QLatin1String(".png"));
        return shot.save(folder + QLatin1Char('/') + name + QLatin1String(".png"));
    }

    // Whether the window is drawn: the pixel just inside its left edge, halfway down, has
    // the window's background colour (an unpainted window shows what was under it).
    static bool windowDrawnWith(const QString &name, const QColor &background)
    {
        const QRect window = windowGeometry(name);
        return window.isValid() && screenshot().pixelColor(window.left() + 3, window.center().y()) == background;
    }

    // Whether the window has painted itself over what the screen showed before it came.
    static bool windowPaintedOver(const QString &name, const QImage &before)
    {
        const QRect window = windowGeometry(name);
        const QPoint probe(window.left() + 3, window.center().y());
        return window.isValid() && screenshot().pixelColor(probe) != before.pixelColor(probe);
    }

    // The geometry of the first visible window whose name matches and that has a size, or an
    // invalid rectangle.
    static QRect windowGeometry(const QString &name)
    {
        for (const QByteArray &id : windows(QStringLiteral("--name"), name)) {
            const std::optional<QByteArray> shell = xdotoolOutput({QStringLiteral("getwindowgeometry"), QStringLiteral("--shell"), QString::fromLatin1(id)});
            QHash<QString, int> values;
            for (const QByteArray &line : shell.value_or(QByteArray()).split('\n')) {
                const int eq = line.indexOf('=');
                if (eq > 0)
                    values.insert(QString::fromLatin1(line.left(eq)), line.mid(eq + 1).toInt());
            }
            const QRect rect(values.value(QStringLiteral("X")), values.value(QStringLiteral("Y")), values.value(QStringLiteral("WIDTH")),
                             values.value(QStringLiteral("HEIGHT")));
            if (rect.isValid() && rect.width() > 1 && rect.height() > 1)
                return rect;
        }
        return QRect();
    }

    NotificationServer notifications;

    // Ends a helper process: asked first, killed when it does not go.
    static void end(QProcess &process)
    {
        if (process.state() != QProcess::NotRunning) {
            process.terminate();
            if (!process.waitForFinished(3000))
                process.kill();
            process.waitForFinished(1000);
        }
    }

private:
    XvfbServer m_xvfb;
    std::unique_ptr<QTemporaryDir> m_runtime;
    QProcess m_weston;
    QByteArray m_display;
    QByteArray m_busAddress;
    QProcess m_bus;
    QProcess m_tray;
};

// Korvane as the desktop tests run it, with a home of its own: the tray program started on
// the test's desktop, and its commands run beside it.
class KorvaneProcess final
{
public:
    struct Result {
        int exitCode = -1;
        QByteArray out;
        QByteArray err;
    };

    // What the program prints is read as it comes, so that it never waits on a full pipe.
    explicit KorvaneProcess(const QString &home)
        : env(DesktopSession::korvaneEnvironment(home))
    {
        QObject::connect(&process, &QProcess::readyRead, [this] { output += process.readAll(); });
    }
    ~KorvaneProcess() { DesktopSession::end(process); }

    static QString binary() { return QString::fromLocal8Bit(qgetenv("KORVANE_BINARY")); }

    // Starts the program and waits until it says it runs; false when it ended first, with
    // what it printed in output.
    bool start(const QStringList &args = {})
    {
        DesktopSession::end(process);
        output.clear();
        process.setProcessEnvironment(env);
        process.setProcessChannelMode(QProcess::MergedChannels);
        if (launcher.isEmpty())
            process.start(binary(), args);
        else
            process.start(launcher.first(), launcher.mid(1) + QStringList{binary()} + args);
        // The test's own stand-ins answer on this thread while it waits.
        for (QDeadlineTimer deadline(15000); !output.contains("started with") && process.state() != QProcess::NotRunning && !deadline.hasExpired();) {
            QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
            process.waitForReadyRead(20);
        }
        return process.state() == QProcess::Running && output.contains("started with");
    }

    // Runs a command and waits for it.
    Result run(const QStringList &args) const
    {
        QProcess command;
        command.setProcessEnvironment(env);
        command.start(binary(), args);
        Result result;
        if (!command.waitForFinished(30000)) {
            command.kill();
            command.waitForFinished();
            return result;
        }
        result.exitCode = command.exitCode();
        result.out = command.readAllStandardOutput();
        result.err = command.readAllStandardError();
        return result;
    }

    QProcessEnvironment env;
    // A command and its arguments that start the program, when set (such as a bus of its own).
    QStringList launcher;
    QProcess process;
    QByteArray output;
};
