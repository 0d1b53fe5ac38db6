#include "platform/wayland/waylanddatacontrol.h"

#include "platform/platformlogging.h"
#include "platform/qt/mimedataconverter.h"

#include <QLoggingCategory>
#include <QElapsedTimer>
#include <QMimeData>
#include <QProcess>
#include <QStandardPaths>

#include <wayland-client.h>

#include <cstring>

namespace {

// The clipboard's types in the order they are taken, each stored under the type the pasteboard
// reads; the first offered text type wins.
const struct {
    const char *offered;
    const char *stored;
} wantedTypes[] = {
    {"text/uri-list", "text/uri-list"},
    {"x-special/gnome-copied-files", "x-special/gnome-copied-files"},
    {"application/x-kde4-urilist", "application/x-kde4-urilist"},
    {"image/png", "image/png"},
    {"image/tiff", "image/tiff"},
    {"text/plain;charset=utf-8", "text/plain"},
    {"text/plain", "text/plain"},
    {"UTF8_STRING", "text/plain"},
    {"text/rtf", "text/rtf"},
};

void addGlobal(void *data, wl_registry *, uint32_t, const char *interface, uint32_t)
{
    if (std::strcmp(interface, "ext_data_control_manager_v1") == 0 || std::strcmp(interface, "zwlr_data_control_manager_v1") == 0)
        *static_cast<bool *>(data) = true;
}

void removeGlobal(void *, wl_registry *, uint32_t)
{
}

const wl_registry_listener registryListener{addGlobal, removeGlobal};

bool compositorOffersDataControl()
{
    wl_display *display = wl_display_connect(nullptr);
    if (!display)
        return false;
    bool offered = false;
    wl_registry *registry = wl_display_get_registry(display);
    wl_registry_add_listener(registry, &registryListener, &offered);
    wl_display_roundtrip(display);
    wl_registry_destroy(registry);
    wl_display_disconnect(display);
    return offered;
}

QString wlPaste()
{
    return QStandardPaths::findExecutable(QStringLiteral("wl-paste"));
}

// wl-paste says so, and exits 1, for a clipboard that holds nothing.
bool saysEmpty(const QByteArray &error)
{
    return error.contains("Nothing is copied") || error.contains("No selection");
}

std::optional<QByteArray> runWlPaste(const QStringList &arguments, bool *empty)
{
    QProcess process;
    process.start(wlPaste(), arguments);
    if (!process.waitForStarted(WaylandDataControl::ReadTimeoutMs)) {
        qCWarning(lcPlatform, "wl-paste did not start");
        return std::nullopt;
    }
    QByteArray out;
    QElapsedTimer clock;
    clock.start();
    for (;;) {
        out += process.readAllStandardOutput();
        const bool tooLarge = out.size() > WaylandDataControl::MaximumBytes;
        if (process.state() == QProcess::NotRunning && !tooLarge)
            break;
        const qint64 left = WaylandDataControl::ReadTimeoutMs - clock.elapsed();
        if (left <= 0 || tooLarge) {
            process.kill();
            process.waitForFinished();
            qCWarning(lcPlatform, "wl-paste %s: the clipboard was not read (%s)", qUtf8Printable(arguments.join(QLatin1Char(' '))),
                      tooLarge ? "more data than Korvane takes" : "no answer in time");
            return std::nullopt;
        }
        process.waitForReadyRead(int(left));
    }
    if (process.exitStatus() == QProcess::NormalExit && process.exitCode() == 0)
        return out;
    if (empty && saysEmpty(process.readAllStandardError())) {
        *empty = true;
        return QByteArray();
    }
    qCWarning(lcPlatform, "wl-paste failed with status %d", process.exitCode());
    return std::nullopt;
}

} // namespace

bool WaylandDataControl::isAvailable()
{
    static const bool available = !wlPaste().isEmpty() && compositorOffersDataControl();
    return available;
}

std::optional<TransferData> WaylandDataControl::read()
{
    bool empty = false;
    const std::optional<QByteArray> listed = runWlPaste({QStringLiteral("--list-types")}, &empty);
    if (!listed)
        return std::nullopt;
    if (empty)
        return TransferData();
    const QList<QByteArray> offered = listed->split('\n');
    QMimeData mime;
    for (const auto &wanted : wantedTypes) {
        const QString stored = QString::fromLatin1(wanted.stored);
        if (!offered.contains(QByteArray(wanted.offered)) || mime.hasFormat(stored))
            continue;
        const std::optional<QByteArray> data = runWlPaste({QStringLiteral("--no-newline"), QStringLiteral("--type"), QString::fromLatin1(wanted.offered)}, nullptr);
        if (!data)
            return std::nullopt;
        mime.setData(stored, *data);
    }
    return MimeDataConverter::fromMimeData(&mime);
}
