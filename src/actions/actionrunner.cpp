#include "actions/actionrunner.h"

#include "actions/actionjob.h"

#include "store/droplistentity.h"
#include "intake/actioncatalog.h"
#include "actions/file/fileactions.h"
#include "intake/droppayload.h"
#include "actions/image/imageactions.h"
#include "actions/ocr/ocractions.h"
#include "actions/share/shareactions.h"
#include "actions/text/textactions.h"
#include "actions/upload/uploadactions.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QLoggingCategory>
#include <QPointer>
#include <QRandomGenerator>

#include <limits>

namespace {

using DropPtr = ActionRunner::DropPtr;

const ActionCatalog::Entry *kindOf(const DropListEntity &drop)
{
    return ActionCatalog::entry(drop.catalog(), drop.type());
}

// Clear style, character count and the Chinese conversion have their result when they
// return and never end the run themselves.
bool endsItsOwnRun(ActionKind kind)
{
    return kind != ActionKind::ClearStyle && kind != ActionKind::CountCharacters && kind != ActionKind::ChineseScript;
}

// Every kind has its case: the compiler names one left out.
void dispatch(ActionKind kind, const DropPtr &drop, const DropPayload &payload, const ActionReply &reply,
              const Korvane::Progress &progress)
{
    switch (kind) {
    case ActionKind::Translate:
        return TextActions::translate(drop, payload, reply);
    case ActionKind::ClearStyle:
        return TextActions::clearFormat(drop, payload, reply);
    case ActionKind::CountCharacters:
        return TextActions::countCharacters(drop, payload, reply);
    case ActionKind::MailText:
    case ActionKind::MailFiles:
        return ShareActions::sendEmail(drop, payload, reply);
    case ActionKind::MessageText:
    case ActionKind::MessageFiles:
        return ShareActions::sendMessage(drop, payload, reply);
    case ActionKind::CustomUrls:
        return TextActions::openCustomUrl(drop, payload, reply);
    case ActionKind::ChineseScript:
        return TextActions::convertChinese(drop, payload, reply);
    case ActionKind::CapitalAmount:
        return TextActions::writeMoneyInChinese(drop, payload, reply);
    case ActionKind::LetterCase:
        return TextActions::convertLetterCase(drop, payload, reply);
    case ActionKind::ShareText:
        return TextActions::shareText(drop, payload, reply);
    case ActionKind::Compress:
        return ImageActions::compress(drop, payload, reply);
    case ActionKind::Convert:
        return ImageActions::convertFormat(drop, payload, reply);
    case ActionKind::Resize:
        return ImageActions::resize(drop, payload, reply);
    case ActionKind::RecogniseText:
        return OcrActions::recognizeText(drop, payload, reply);
    case ActionKind::RemoveMetadata:
        return ImageActions::stripMetadata(drop, payload, reply);
    case ActionKind::UploadWeibo:
        return UploadActions::uploadToWeibo(drop, payload, reply, progress);
    case ActionKind::AddToPhotos:
        return ShareActions::addToPhotos(drop, payload, reply);
    case ActionKind::ShareFiles:
        return ShareActions::shareFiles(drop, payload, reply);
    case ActionKind::Move:
        return FileActions::moveFiles(drop, payload, reply);
    case ActionKind::Copy:
        return FileActions::copyFiles(drop, payload, reply);
    case ActionKind::UploadQiniu:
        return UploadActions::uploadToQiniu(drop, payload, reply, progress);
    case ActionKind::UploadOss:
        return UploadActions::uploadToOss(drop, payload, reply, progress);
    case ActionKind::UploadCos:
        return UploadActions::uploadToCos(drop, payload, reply, progress);
    case ActionKind::UploadUpyun:
        return UploadActions::uploadToUpYun(drop, payload, reply, progress);
    case ActionKind::Rotate:
        return ImageActions::rotate(drop, payload, reply);
    case ActionKind::Rename:
        return FileActions::renameFiles(drop, payload, reply);
    case ActionKind::Count:
        break;
    }
}

} // namespace

bool ActionRunner::canRun(const DropListEntity &drop, bool *reportsResult)
{
    const ActionCatalog::Entry *kind = kindOf(drop);
    if (!kind || kind->kind == ActionKind::Count)
        return false;
    if (reportsResult)
        *reportsResult = endsItsOwnRun(kind->kind);
    return true;
}

void ActionRunner::run(const DropPtr &drop, const DropPayload &payload,
                       const ActionReply &reply, const Korvane::Progress &progress)
{
    const ActionCatalog::Entry *kind = drop ? kindOf(*drop) : nullptr;
    if (!kind || kind->kind == ActionKind::Count) {
        Korvane::finishOnMain(reply, Korvane::Outcome::NothingToReport);
        return;
    }
    const bool endsOnItsOwn = endsItsOwnRun(kind->kind);
    const qsizetype textLength = payload.textString().size();
    if (drop->catalog() == 0 && textLength > TextActions::MaximumTextLength) {
        const Korvane::Error error(TextActions::textTooLongErrorCode,
                                   qtTrId("textTooLong").arg(textLength).arg(TextActions::MaximumTextLength));
        Notification content = ActionReply::resultNotification(false, *drop);
        content.body = error.localizedDescription();
        reply.notify(content);
        if (endsOnItsOwn)
            Korvane::finishOnMain(reply, false, error);
        else
            Korvane::finishOnMain(reply, Korvane::Outcome::NothingToReport);
        return;
    }
    dispatch(kind->kind, drop, payload, reply, progress);
    if (!endsOnItsOwn)
        Korvane::finishOnMain(reply, Korvane::Outcome::NothingToReport);
}

ActionJob *ActionRunner::start(const DropPtr &drop, const DropPayload &payload, ActionReply::Delivery delivery)
{
    auto *job = new ActionJob;
    const QPointer<ActionJob> guard(job);
    const ActionReply reply = ActionReply::collecting(delivery, [guard](const ActionResult &result) {
        if (!guard)
            return;
        Q_EMIT guard->finished(result);
        guard->deleteLater();
    });
    run(drop, payload, reply, [guard](qint64 done, qint64 total) {
        if (guard)
            Q_EMIT guard->progressed(done, total);
    });
    return job;
}
