#include "actions/ocr/ocractions.h"

#include "actions/ocr/cloudocrrecognizer.h"
#include "store/droplistentity.h"
#include "actions/file/filemanager.h"
#include "intake/droppayload.h"
#include "actions/networkservices.h"
#include "net/networkoperations.h"
#include "actions/ocr/offlineocrrecognizer.h"

#include <QCoreApplication>

namespace {

using DropPtr = std::shared_ptr<DropListEntity>;

void post(const ActionReply &reply, const DropListEntity &drop, bool success, const QString &body)
{
    Notification content = ActionReply::resultNotification(success, drop);
    content.body = body;
    reply.notify(content);
}

void succeed(const DropPtr &drop, const ActionReply &reply, const QString &text)
{
    reply(true, Korvane::Error());
    reply.copyText(text);
    post(reply, *drop, true, QString(text).replace(QLatin1Char('\n'), QLatin1Char(' ')));
}

// A reason the user can act on replaces the plain "could not recognise".
void fail(const DropPtr &drop, const ActionReply &reply, const QString &reason)
{
    const Korvane::Error error(OcrActions::CanNotOCR, reason.isEmpty() ? qtTrId("CanNotOCR") : reason);
    reply(false, error);
    post(reply, *drop, false, error.localizedDescription());
}

// One run over image files; the answers arrive on the main thread, so no lock.
struct FileRun {
    QMap<qint64, QStringList> results;
    qint64 processed = 0;
    qint64 batchSize = 0;
    QString reason;
};

} // namespace

QString OcrActions::getTextFromArray(const QStringList &lines)
{
    if (lines.isEmpty())
        return QString();
    return lines.join(QLatin1Char('\n'));
}

QString OcrActions::getTextFromDic(const QMap<qint64, QStringList> &results)
{
    if (results.isEmpty())
        return QString();
    QString text;
    for (const QStringList &lines : results) {
        for (const QString &line : lines)
            text += line + QLatin1String("\n\n");
    }
    return text;
}

std::shared_ptr<OcrRecognizer> OcrActions::recognizer()
{
    const NetworkOperations *network = NetworkServices::operations();
    if (network && !network->serviceHost().isEmpty())
        return std::make_shared<CloudOcrRecognizer>();
    return std::make_shared<OfflineOcrRecognizer>(OfflineOcrRecognizer::configuredLanguages());
}

void OcrActions::recognizeText(const DropPtr &drop, const DropPayload &payload, const ActionReply &reply)
{
    const bool imageData = !payload.imageData().isNull();
    const bool imageFiles = (payload.containedFileType() & FileKindImage) && !payload.imgFileUrls().isEmpty();
    if (!drop || (!imageData && !imageFiles)) {
        Korvane::finishOnMain(reply, Korvane::Outcome::NothingToReport);
        return;
    }
    const std::shared_ptr<OcrRecognizer> ocr = recognizer();

    if (imageData) {
        ocr->recognize(QString(), payload.imageData(), [=](bool success, const QStringList &lines, const QString &reason) {
            if (success && !lines.isEmpty())
                succeed(drop, reply, getTextFromArray(lines));
            else
                fail(drop, reply, reason);
        });
        return;
    }

    const QList<QUrl> files = payload.imgFileUrls();
    auto run = std::make_shared<FileRun>();
    run->batchSize = files.size();
    const auto answered = [=](bool success, const QStringList &lines, const QString &reason) {
        ++run->processed;
        if (success && !lines.isEmpty())
            run->results.insert(run->processed, lines);
        if (run->reason.isEmpty())
            run->reason = reason;
        if (run->processed != run->batchSize)
            return;
        if (run->results.isEmpty())
            fail(drop, reply, run->reason);
        else
            succeed(drop, reply, getTextFromDic(run->results));
    };
    for (const QUrl &file : files) {
        // A FIFO, a device or a name that is not UTF-8 is refused before it is opened; a file
        // that is gone fails in the recogniser like any unreadable image.
        Korvane::Error refusal;
        const QString path = FileManager::textPath(file, &refusal);
        if (path.isEmpty() || (!FileManager::isRegularFile(path, &refusal) && refusal.code() != FileManager::NoFile)) {
            const QString reason = refusal.localizedDescription();
            QMetaObject::invokeMethod(
                QCoreApplication::instance(), [=] { answered(false, {}, reason); }, Qt::QueuedConnection);
        } else {
            ocr->recognize(path, QByteArray(), answered);
        }
    }
}
