#pragma once

// A desktop of the test's own: an Xvfb display (or Weston inside one), a private session bus
// with a stand-in notification server that records every Notify call, and on X11 an XEmbed
// tray host.

#include "support/korvanecli.h"
#include "support/notificationserver.h"
#include "support/xvfbserver.h"

#include <QColor>
#include <QGuiApplication>
#include <QImage>
#include <QPixmap>
#include <QProcess>
#include <QRect>
#include <QScreen>
#include <QTemporaryDir>
#include <QTest>

#include <memory>
#include <optional>

namespace KorvaneTest {

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
    bool start(const QByteArray &screen = "1280x900x24");

    // The same on Wayland: Weston, on a socket in a runtime folder of its own. It runs as a
    // window of an Xvfb display only Weston sees, for the seat its headless backend lacks:
    // without keyboard focus no client reads the clipboard.
    bool startWayland();

    bool startBus();

    // Needs the application object: registers the notification stand-in and starts the tray.
    bool startServices();

    // An XEmbed tray in a panel at the top right, in place of the one running: of the GTK
    // theme's colour, or of its own.
    bool startTray(std::optional<QRgb> colour = std::nullopt);

    void stop();

    // The desktop goes on without any tray.
    void stopTray() { end(m_tray); }

    // The environment of a korvane started on this desktop: this process's, with the XDG
    // folders in home, English texts, the X11 platform and our own logging shown.
    static QProcessEnvironment korvaneEnvironment(const QString &home);

    QByteArray display() const { return m_display; }
    QByteArray busAddress() const { return m_busAddress; }

    // Runs a desktop tool and waits for it; gives its output, or nothing when it fails.
    static std::optional<QByteArray> output(const QString &program, const QStringList &args);

    static std::optional<QByteArray> xdotoolOutput(const QStringList &args) { return output(QStringLiteral("xdotool"), args); }

    static bool xdotool(const QStringList &args) { return xdotoolOutput(args).has_value(); }

    static bool mouseTo(const QPoint &to) { return xdotool({"mousemove", QString::number(to.x()), QString::number(to.y())}); }

    // Moves in steps, as a hand does: drag sources and drop targets see every step.
    static bool glide(const QPoint &from, const QPoint &to, int steps = 12);

    static bool pressAndDrag(const QPoint &from, const QPoint &to, int steps = 12);

    // The ids of the visible windows that match (--name or --class and a pattern).
    static QList<QByteArray> windows(const QString &by, const QString &pattern);

    static bool windowShown(const QString &name) { return !windows(QStringLiteral("--name"), name).isEmpty(); }

    // How many windows of this class are on screen.
    static int windowCount(const QString &className) { return int(windows(QStringLiteral("--class"), className).size()); }

    static QImage screenshot() { return QGuiApplication::primaryScreen()->grabWindow(0).toImage(); }

    // Keeps a picture beside the test's files and, when KORVANE_SCREENSHOT_DIR is set, there too.
    static bool keep(const QImage &shot, const QString &folder, const QString &name);

    // Whether the window is drawn: the pixel just inside its left edge, halfway down, has
    // the window's background colour (an unpainted window shows what was under it).
    static bool windowDrawnWith(const QString &name, const QColor &background);

    // Whether the window has painted itself over what the screen showed before it came.
    static bool windowPaintedOver(const QString &name, const QImage &before);

    // The geometry of the first visible window whose name matches and that has a size, or an
    // invalid rectangle.
    static QRect windowGeometry(const QString &name);

    NotificationServer notifications;

    // Ends a helper process: asked first, killed when it does not go.
    static void end(QProcess &process);

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
    using Result = KorvaneTest::Result;

    // What the program prints is read as it comes, so that it never waits on a full pipe.
    explicit KorvaneProcess(const QString &home)
        : env(DesktopSession::korvaneEnvironment(home))
    {
        QObject::connect(&process, &QProcess::readyRead, [this] { output += process.readAll(); });
    }
    ~KorvaneProcess() { DesktopSession::end(process); }

    static QString binary() { return korvaneBinary(); }

    // Starts the program and waits until it says it runs; false when it ended first, with
    // what it printed in output.
    bool start(const QStringList &args = {});

    // Runs a command and waits for it.
    Result run(const QStringList &args) const;

    QProcessEnvironment env;
    // A command and its arguments that start the program, when set (such as a bus of its own).
    QStringList launcher;
    QProcess process;
    QByteArray output;
};

} // namespace KorvaneTest
