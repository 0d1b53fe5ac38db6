#include "platform/qt/guiclipboard.h"

#include "platform/qt/desktopplatform.h"
#include "platform/qt/mimedataconverter.h"
#include "platform/wayland/waylanddatacontrol.h"
#include "platform/platformlogging.h"

#include <QClipboard>
#include <QCoreApplication>
#include <QGuiApplication>
#include <QLoggingCategory>
#include <QMimeData>
#include <QProcess>
#include <QStandardPaths>
#include <QUrl>

#include <memory>

namespace {

// Hands the data to wl-copy, which takes the selection with focus of its own (or through
// the data-control protocol where the compositor offers it) and serves it until another
// program takes the clipboard. One type, the richest the data has.
bool copyThroughWlCopy(const QMimeData &mime)
{
    const QString program = QStandardPaths::findExecutable(QStringLiteral("wl-copy"));
    if (program.isEmpty())
        return false;
    QStringList arguments;
    QByteArray data;
    if (mime.hasUrls()) {
        arguments = {QStringLiteral("--type"), QStringLiteral("text/uri-list")};
        for (const QUrl &url : mime.urls())
            data += url.toEncoded() + "\r\n";
    } else if (mime.hasFormat(QStringLiteral("image/png"))) {
        arguments = {QStringLiteral("--type"), QStringLiteral("image/png")};
        data = mime.data(QStringLiteral("image/png"));
    } else if (mime.hasText()) {
        data = mime.text().toUtf8();
    } else {
        return false;
    }
    auto *process = new QProcess(QCoreApplication::instance());
    QObject::connect(process, &QProcess::finished, process, [process](int status) {
        if (status != 0)
            qCWarning(lcPlatform, "wl-copy could not take the clipboard (status %d)", status);
        process->deleteLater();
    });
    QObject::connect(process, &QProcess::errorOccurred, process, [process](QProcess::ProcessError error) {
        if (error == QProcess::FailedToStart)
            process->deleteLater();
    });
    process->start(program, arguments);
    process->write(data);
    process->closeWriteChannel();
    return true;
}

// A Wayland compositor gives the selection only to a client with keyboard focus, and only
// for an input event newer than the last selection's. An action that a shortcut started, or
// that finished after its list closed, has neither, and even the focused list has had no
// input when it runs the clipboard's action: the toolkit's write would be dropped without a
// word.
void publish(QMimeData *mime)
{
    std::unique_ptr<QMimeData> data(mime);
    if (DesktopPlatform::isWayland() && copyThroughWlCopy(*data))
        return;
    QGuiApplication::clipboard()->setMimeData(data.release());
}

} // namespace

TransferData GuiClipboard::pasteboard() const
{
    if (DesktopPlatform::isWayland() && WaylandDataControl::isAvailable()) {
        if (const std::optional<TransferData> read = WaylandDataControl::read())
            return *read;
    }
    return MimeDataConverter::fromMimeData(QGuiApplication::clipboard()->mimeData());
}

void GuiClipboard::writeText(const QString &text)
{
    publish(MimeDataConverter::mimeDataForText(text));
}

void GuiClipboard::writeImageData(const QByteArray &data, const QString &mimeType)
{
    publish(MimeDataConverter::mimeDataForImage(data, mimeType));
}

void GuiClipboard::writeObjects(const QVariantList &objects)
{
    publish(MimeDataConverter::mimeDataForObjects(objects));
}
