#include "config.h"
#include "platform/dbus/dbussingleinstance.h"
#include "platform/qt/guiclipboard.h"
#include "platform/headless/headlessclipboard.h"
#include "platform/qt/desktopplatform.h"
#include "platform/wayland/waylanddatacontrol.h"
#include "shell/application.h"
#include "cli/commandline.h"
#include "platform/platform.h"
#include "actions/text/translations.h"
#include "platform/settingsbackend.h"

#include <QApplication>
#include <QEventLoop>
#include <QRasterWindow>
#include <QIcon>
#include <QProcess>
#include <QTimer>

#include <cstdio>
#include <optional>

namespace {

// Set in the environment of a tray program started to take a request over, so that it
// serves the request instead of starting yet another one.
const char startedForRequest[] = "KORVANE_STARTED_FOR_REQUEST";

bool forwardRequest(SingleInstance &instance, const Korvane::CommandLine::TrayRequest &request)
{
    switch (request.kind) {
    case Korvane::CommandLine::TrayRequest::Show:
        return instance.forwardShow();
    case Korvane::CommandLine::TrayRequest::ShowAction:
        return instance.forwardShowAction(request.dropID);
    case Korvane::CommandLine::TrayRequest::Drop:
        return instance.forwardDrop(request.pasteboard);
    case Korvane::CommandLine::TrayRequest::DropWindow:
        return instance.forwardDropWindow();
    case Korvane::CommandLine::TrayRequest::Start:
        break;
    }
    return instance.forward(QString());
}

void performRequest(Korvane::Application &korvane, const Korvane::CommandLine::TrayRequest &request)
{
    switch (request.kind) {
    case Korvane::CommandLine::TrayRequest::Show:
        korvane.show();
        break;
    case Korvane::CommandLine::TrayRequest::ShowAction:
        korvane.showAction(request.dropID);
        break;
    case Korvane::CommandLine::TrayRequest::Drop:
        korvane.drop(request.pasteboard);
        break;
    case Korvane::CommandLine::TrayRequest::DropWindow:
        korvane.openDropWindow();
        break;
    case Korvane::CommandLine::TrayRequest::Start:
        break;
    }
}

// Qt aborts without a display to connect to: say so in one line instead.
bool hasGraphicalSession()
{
    if (DesktopPlatform::hasGraphicalSession())
        return true;
    std::fprintf(stderr, "korvane: the tray program needs a graphical session, and %s; the commands work without one (korvane --help)\n",
                 qEnvironmentVariableIsSet("WAYLAND_DISPLAY") || qEnvironmentVariableIsSet("DISPLAY")
                     ? "the display named by WAYLAND_DISPLAY or DISPLAY does not answer"
                     : "neither WAYLAND_DISPLAY nor DISPLAY is set");
    return false;
}

// How long a window of ours may take to get the keyboard focus that reading the clipboard
// needs on a Wayland desktop without data control.
constexpr int clipboardFocusLimitMs = 5000;

// The clipboard read by a small window of ours once it has the focus; nothing when the focus
// did not come in time.
std::optional<TransferData> readClipboardWithFocus()
{
    QRasterWindow window;
    window.setTitle(QStringLiteral("Korvane"));
    window.resize(120, 40);
    QEventLoop loop;
    QObject::connect(qGuiApp, &QGuiApplication::focusWindowChanged, &loop, [&loop, &window](QWindow *focused) {
        if (focused == &window)
            loop.quit();
    });
    QTimer::singleShot(clipboardFocusLimitMs, &loop, &QEventLoop::quit);
    window.show();
    window.requestActivate();
    if (QGuiApplication::focusWindow() != &window)
        loop.exec();
    if (QGuiApplication::focusWindow() != &window)
        return std::nullopt;
    return GuiClipboard().pasteboard();
}

// The desktop's clipboard classified as the wake hotkey reads it. Where it cannot be read,
// that is said and the command fails: an unread clipboard is not an empty one.
int classifyClipboard(int argc, char *argv[], const QList<QByteArray> &args)
{
    QGuiApplication app(argc, argv);
    QCoreApplication::setApplicationVersion(QStringLiteral(KORVANE_VERSION));
    Translations::install(Platform::settingsBackend()->preferredLanguages());
    if (!DesktopPlatform::isWayland() || args.contains("--help") || args.contains("-h")) {
        Platform::setClipboard(std::make_unique<GuiClipboard>());
        return Korvane::CommandLine().exec(args);
    }
    const bool dataControl = WaylandDataControl::isAvailable();
    const std::optional<TransferData> pasteboard = dataControl ? WaylandDataControl::read() : readClipboardWithFocus();
    if (!pasteboard) {
        std::fprintf(stderr, "korvane: the clipboard could not be read: %s\n",
                     dataControl ? "wl-paste did not answer through the desktop's data control"
                                 : "this desktop lets only a focused window read it, and Korvane's window did not get the focus");
        return Korvane::CommandLine::Failure;
    }
    auto clipboard = std::make_unique<HeadlessClipboard>();
    clipboard->setData(*pasteboard);
    Platform::setClipboard(std::move(clipboard));
    return Korvane::CommandLine().exec(args);
}

} // namespace

// The tray application, started by the korvane command for everything that is not a command,
// and for the commands that need the desktop.
int main(int argc, char *argv[])
{
    QList<QByteArray> args;
    for (int i = 1; i < argc; ++i)
        args.append(QByteArray(argv[i]));
    // The store and settings are found by this name, shared with the command line.
    QCoreApplication::setApplicationName(QStringLiteral("korvane"));
    // Desktops tie windows to the desktop entry by this name (the Wayland app id, and the id
    // a newer Qt registers with the portal); it must be set before the application object.
    QGuiApplication::setDesktopFileName(QStringLiteral("com.korvane.Korvane"));
    const bool help = args.contains("--help") || args.contains("-h");
    if (!args.isEmpty() && args.first() == "classify")
        return help || hasGraphicalSession() ? classifyClipboard(argc, argv, args) : Korvane::CommandLine::Failure;

    QString preferencesTab;
    const bool openPreferences = Korvane::CommandLine::preferencesRequest(args, &preferencesTab);
    const bool trayRequest = Korvane::CommandLine::isTrayRequest(args);
    const bool served = qEnvironmentVariableIsSet(startedForRequest);
    qunsetenv(startedForRequest);
    Korvane::CommandLine::TrayRequest request;
    if (trayRequest && !served) {
        // Handing a request over needs no display: key bindings run this often.
        QCoreApplication handover(argc, argv);
        int status = Korvane::CommandLine::Success;
        if (!Korvane::CommandLine().trayRequest(args, &request, &status))
            return status;
        if (request.kind != Korvane::CommandLine::TrayRequest::Start) {
            DBusSingleInstance running;
            if (running.isClaimed())
                return forwardRequest(running, request) ? Korvane::CommandLine::Success : Korvane::CommandLine::Failure;
            // None runs: start one that serves the request, and return at once.
            QProcess tray;
            tray.setProgram(QCoreApplication::applicationFilePath());
            tray.setArguments(QCoreApplication::arguments().mid(1));
            QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
            env.insert(QString::fromLatin1(startedForRequest), QStringLiteral("1"));
            tray.setProcessEnvironment(env);
            return tray.startDetached() ? Korvane::CommandLine::Success : Korvane::CommandLine::Failure;
        }
    }

    if (!help && !hasGraphicalSession())
        return Korvane::CommandLine::Failure;
    QApplication app(argc, argv);
    QCoreApplication::setApplicationVersion(QStringLiteral(KORVANE_VERSION));
    QApplication::setQuitOnLastWindowClosed(false);
    QApplication::setWindowIcon(QIcon::fromTheme(QStringLiteral("com.korvane.Korvane"), QIcon(QStringLiteral(":/images/appIcon.svg"))));
    if (trayRequest && served) {
        int status = Korvane::CommandLine::Success;
        if (!Korvane::CommandLine().trayRequest(args, &request, &status))
            return status;
    }
    // One Korvane per session: a later start hands its request over and leaves, so there is
    // never a second tray icon.
    DBusSingleInstance instance;
    if (!instance.claim()) {
        const bool answered = request.kind == Korvane::CommandLine::TrayRequest::Start ? instance.forward(preferencesTab) : forwardRequest(instance, request);
        return answered ? Korvane::CommandLine::Success : Korvane::CommandLine::Failure;
    }
    Korvane::Application korvane;
    korvane.start(&instance);
    if (openPreferences)
        korvane.openPreferences(preferencesTab);
    QTimer::singleShot(0, &korvane, [&korvane, request] { performRequest(korvane, request); });
    return app.exec();
}
