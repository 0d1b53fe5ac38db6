#include "actions/share/shareactions.h"

#include "store/droplistentity.h"
#include "store/mailfilessettings.h"
#include "store/messagefilessettings.h"
#include "store/addtophotossettings.h"
#include "intake/droppayload.h"
#include "actions/share/shareservice.h"
#include "store/mailtextsettings.h"
#include "store/messagetextsettings.h"
#include "actions/actionslogging.h"

#include <QCoreApplication>
#include <QLoggingCategory>
#include <QThreadPool>
#include <QTimer>

namespace {

using DropPtr = ShareActions::DropPtr;

void notify(const ActionReply &reply, bool success, const DropListEntity &drop, const QString &body)
{
    Notification content = ActionReply::resultNotification(success, drop);
    content.body = body;
    reply.notify(content);
}

void finishLater(const ActionReply &reply, bool success, const Korvane::Error &error = Korvane::Error())
{
    QTimer::singleShot(ShareActions::airDropCompletionDelayMs, QCoreApplication::instance(),
                       [reply, success, error] { reply(success, error); });
}

void onMain(std::function<void()> work)
{
    QMetaObject::invokeMethod(QCoreApplication::instance(), std::move(work), Qt::QueuedConnection);
}

// Images, folders, other files, videos: each list in its own order.
QList<QUrl> droppedFiles(const DropPayload &data)
{
    return data.imgFileUrls() + data.folderFileUrls() + data.otherFileUrls() + data.videoFileUrls();
}

// Mail and message read the text settings for text and the file settings for files. The
// choice follows the data rather than how it arrived, so text from the clipboard or a drag
// keeps the text action's recipients instead of going out to nobody.
bool isText(const DropPayload &data)
{
    return data.dataCatalog() == DataCatalogText;
}

void shareFailed(const DropListEntity &drop, const ActionReply &reply, const Korvane::Error &error)
{
    notify(reply, false, drop, error.localizedDescription());
    Korvane::finishOnMain(reply, false, error);
}

// A text too long for one argument would be cut or never arrive; it is refused, not sent.
bool refusedTooLong(const DropListEntity &drop, const ActionReply &reply, const QString &text)
{
    const qsizetype bytes = text.toUtf8().size();
    if (bytes <= ShareService::MaximumArgumentBytes)
        return false;
    shareFailed(drop, reply,
                Korvane::Error(ShareService::shareErrorCode, qtTrId("textTooLongToSend").arg(bytes).arg(ShareService::MaximumArgumentBytes)));
    return true;
}

} // namespace

QStringList ShareActions::recipientList(const QString &recipients)
{
    return recipients.isNull() ? QStringList() : recipients.split(QLatin1Char(','));
}

void ShareActions::sendEmail(const DropPtr &drop, const DropPayload &payload, const ActionReply &reply)
{
    QString recipients;
    QString title;
    QList<QUrl> files;
    if (isText(payload)) {
        if (const auto settings = drop->mailTextSettings()) {
            recipients = settings->recipients();
            title = settings->title();
        }
    } else {
        if (const auto settings = drop->mailFilesSettings()) {
            recipients = settings->recipients();
            title = settings->title();
        }
        files = droppedFiles(payload);
    }
    if (refusedTooLong(*drop, reply, payload.textString()))
        return;
    ShareService::instance()->shareOnEmail(payload.textString(), files, title, recipientList(recipients));
    Korvane::finishOnMain(reply, true);
}

void ShareActions::sendMessage(const DropPtr &drop, const DropPayload &payload, const ActionReply &reply)
{
    QString recipients;
    QList<QUrl> files;
    if (isText(payload)) {
        if (const auto settings = drop->messageTextSettings())
            recipients = settings->recipients();
    } else {
        if (const auto settings = drop->messageFilesSettings())
            recipients = settings->recipients();
        files = droppedFiles(payload);
    }
    if (refusedTooLong(*drop, reply, payload.textString()))
        return;
    ShareService::instance()->shareOnIMessage(
        payload.textString(), files, recipientList(recipients), [drop, reply](const Korvane::Error &error) {
            if (error.isNull())
                Korvane::finishOnMain(reply, true);
            else
                shareFailed(*drop, reply, error);
        });
}

void ShareActions::shareFiles(const DropPtr &drop, const DropPayload &payload, const ActionReply &reply)
{
    if (!(payload.containedFileType() & (FileKindImage | FileKindFolder | FileKindVideo | FileKindOther))) {
        finishLater(reply, false);
        return;
    }
    const QList<QUrl> items = droppedFiles(payload);
    ShareService::instance()->shareOnAirDrop(items, [drop, reply, count = items.size()](const Korvane::Error &error) {
        if (!error.isNull()) {
            notify(reply, false, *drop, error.localizedDescription());
            finishLater(reply, false, error);
            return;
        }
        finishLater(reply, true);
        notify(reply, true, *drop, qtTrId("AirDropFilesShared", int(count)));
    });
}

void ShareActions::addToPhotos(const DropPtr &drop, const DropPayload &payload, const ActionReply &reply)
{
    const auto settings = drop->addToPhotosSettings();
    const bool needLaunch = settings && settings->needLaunch();

    if (!payload.imageData().isEmpty()) {
        const QByteArray bytes = payload.imageData();
        QThreadPool::globalInstance()->start([drop, reply, bytes, needLaunch] {
            ShareService::instance()->addToPhoto({}, {}, bytes, needLaunch);
            onMain([drop, reply] {
                Korvane::finishOnMain(reply, true);
                notify(reply, true, *drop, qtTrId("ImageAddedToPhotos"));
            });
        });
        return;
    }
    if (!(payload.containedFileType() & (FileKindImage | FileKindVideo))) {
        Korvane::finishOnMain(reply, false);
        return;
    }
    QList<QUrl> images = payload.imgFileUrls();
    images.removeIf([](const QUrl &url) {
        const QString name = url.fileName();
        const qsizetype dot = name.lastIndexOf(QLatin1Char('.'));
        return dot > 0 && name.mid(dot + 1) == QLatin1String("svg");
    });
    const QList<QUrl> videos = payload.videoFileUrls();
    const qsizetype count = images.size() + videos.size();
    if (count == 0) {
        // Deliberately the same Chinese text in every language.
        shareFailed(*drop, reply, Korvane::Error(ShareService::shareErrorCode, QStringLiteral("无法添加到照片")));
        return;
    }
    QThreadPool::globalInstance()->start([drop, reply, images, videos, needLaunch, count] {
        const QStringList written = ShareService::instance()->addToPhoto(images, videos, QByteArray(), needLaunch);
        qCInfo(lcShare, "added %lld of %lld items to the photo folder", qint64(written.size()), qint64(count));
        onMain([drop, reply, count] {
            Korvane::finishOnMain(reply, true);
            notify(reply, true, *drop, qtTrId("NImageAddedToPhotos", int(count)));
        });
    });
}
