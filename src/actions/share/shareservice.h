#pragma once

#include "common/error.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>
#include <QUrl>

#include <functional>

// Hands dropped data to the desktop's sharing services: mail through xdg-email, messages and
// nearby sharing through a paired KDE Connect device, and the photo folder. One instance for
// the process; it keeps nothing between calls, so overlapping shares are independent.
class ShareService final
{
public:
    enum class ShareKind { AirDrop,
                           Message,
                           Email,
                           Photos };

    // Error code of a share that could not be handed over.
    static constexpr int shareErrorCode = 4100;
    // The longest single argument Linux passes to a program (MAX_ARG_STRLEN, 128 KiB with its
    // closing zero byte); a mail or message text goes to the mail client or KDE Connect as one.
    static constexpr qsizetype MaximumArgumentBytes = 128 * 1024 - 1;

    // Told on the main thread, once, whether the items were handed over; a null error means
    // they were.
    using Handover = std::function<void(const Korvane::Error &error)>;

    static ShareService *instance();

    // Opens the mail composer. An absent or empty text, title or list is left out; recipients
    // are passed as given. Without a composer only the log tells. Any thread.
    void shareOnEmail(const QString &text, const QList<QUrl> &files, const QString &title, const QStringList &emails);
    // Sends the text by SMS to each recipient through the paired device, then shares the
    // files with it. Any thread.
    void shareOnIMessage(const QString &text, const QList<QUrl> &files, const QStringList &phones,
                         const Handover &handover = {});
    // Shares the files with the paired device, in order. Any thread.
    void shareOnAirDrop(const QList<QUrl> &items, const Handover &handover = {});
    // Copies the images that decode, the videos and the image bytes (as PNG) into the photo
    // folder under free names, and with isOpen shows that folder first. Works on the calling
    // thread: callers run it on the thread pool. Gives the paths written, in order.
    QStringList addToPhoto(const QList<QUrl> &images, const QList<QUrl> &videos, const QByteArray &imageData,
                           bool isOpen);

    // Where added photos go: the "Korvane" folder in the user's pictures folder.
    static QString photoFolder();

    void sharingServiceDidShareItems(ShareKind kind);
    void sharingServiceDidFailToShareItems(ShareKind kind, const Korvane::Error &error);

    ShareService(const ShareService &) = delete;
    ShareService &operator=(const ShareService &) = delete;

private:
    ShareService() = default;

    using DeviceTask = std::function<QList<QStringList>(const QString &device)>;
    // Finds a reachable paired device, then runs the kdeconnect-cli commands the task makes for
    // it one after another.
    void sendThroughDevice(ShareKind kind, const DeviceTask &task, const Handover &handover);
};
