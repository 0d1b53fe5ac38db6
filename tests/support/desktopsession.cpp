#include "support/desktopsession.h"

#include <QCoreApplication>
#include <QDBusConnection>
#include <QDeadlineTimer>
#include <QFileInfo>
#include <QGuiApplication>
#include <QHash>
#include <QScreen>
#include <QThread>

namespace KorvaneTest {

bool DesktopSession::start(const QByteArray &screen)
{
    if (!m_xvfb.start(screen.constData()))
        return false;
    m_display = m_xvfb.display();
    qputenv("DISPLAY", m_display);
    return startBus();
}

bool DesktopSession::startWayland()
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

bool DesktopSession::startBus()
{
    m_bus.start(QStringLiteral("dbus-daemon"), {QStringLiteral("--session"), QStringLiteral("--nofork"), QStringLiteral("--print-address")});
    if (!m_bus.waitForStarted() || !m_bus.waitForReadyRead(10000))
        return false;
    m_busAddress = m_bus.readLine().trimmed();
    qputenv("DBUS_SESSION_BUS_ADDRESS", m_busAddress);
    return !m_busAddress.isEmpty();
}

bool DesktopSession::startServices()
{
    QDBusConnection bus = QDBusConnection::connectToBus(QString::fromLatin1(m_busAddress), QStringLiteral("notifications"));
    if (!bus.registerObject(QStringLiteral("/org/freedesktop/Notifications"), &notifications, QDBusConnection::ExportAllSlots)
        || !bus.registerService(QStringLiteral("org.freedesktop.Notifications")))
        return false;
    return m_display.isEmpty() || startTray();
}

bool DesktopSession::startTray(std::optional<QRgb> colour)
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

void DesktopSession::stop()
{
    stopTray();
    end(m_bus);
    end(m_weston);
    m_xvfb.stop();
}

QProcessEnvironment DesktopSession::korvaneEnvironment(const QString &home)
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

std::optional<QByteArray> DesktopSession::output(const QString &program, const QStringList &args)
{
    QProcess process;
    process.start(program, args);
    if (!process.waitForFinished(10000) || process.exitStatus() != QProcess::NormalExit || process.exitCode() != 0)
        return std::nullopt;
    return process.readAllStandardOutput();
}

bool DesktopSession::glide(const QPoint &from, const QPoint &to, int steps)
{
    for (int step = 1; step <= steps; ++step) {
        if (!mouseTo(from + (to - from) * step / steps))
            return false;
    }
    return true;
}

bool DesktopSession::pressAndDrag(const QPoint &from, const QPoint &to, int steps)
{
    return mouseTo(from) && xdotool({"mousedown", "1"}) && glide(from, to, steps);
}

QList<QByteArray> DesktopSession::windows(const QString &by, const QString &pattern)
{
    QList<QByteArray> ids = xdotoolOutput({QStringLiteral("search"), QStringLiteral("--onlyvisible"), by, pattern}).value_or(QByteArray()).split('\n');
    ids.removeAll(QByteArray());
    return ids;
}

bool DesktopSession::keep(const QImage &shot, const QString &folder, const QString &name)
{
    const QByteArray wanted = qgetenv("KORVANE_SCREENSHOT_DIR");
    if (!wanted.isEmpty())
        shot.save(QString::fromLocal8Bit(wanted) + QLatin1Char('/') + name + QLatin1String(".png"));
    return shot.save(folder + QLatin1Char('/') + name + QLatin1String(".png"));
}

bool DesktopSession::windowDrawnWith(const QString &name, const QColor &background)
{
    const QRect window = windowGeometry(name);
    return window.isValid() && screenshot().pixelColor(window.left() + 3, window.center().y()) == background;
}

bool DesktopSession::windowPaintedOver(const QString &name, const QImage &before)
{
    const QRect window = windowGeometry(name);
    const QPoint probe(window.left() + 3, window.center().y());
    return window.isValid() && screenshot().pixelColor(probe) != before.pixelColor(probe);
}

QRect DesktopSession::windowGeometry(const QString &name)
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

void DesktopSession::end(QProcess &process)
{
    if (process.state() != QProcess::NotRunning) {
        process.terminate();
        if (!process.waitForFinished(3000))
            process.kill();
        process.waitForFinished(1000);
    }
}

bool KorvaneProcess::start(const QStringList &args)
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

Result KorvaneProcess::run(const QStringList &args) const
{
    return runProgram(binary(), args, env, 30000);
}

} // namespace KorvaneTest
