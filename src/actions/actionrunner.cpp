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

#include <optional>
#include <limits>

namespace {

using DropPtr = ActionRunner::DropPtr;

// How a kind runs. An action whose result is ready when it returns is synchronous and never
// ends the run, which the dispatcher does for it; one that moves bytes reports progress.
struct ActionSlot {
    void (*synchronous)(const DropPtr &drop, const DropPayload &payload, const ActionReply &reply) = nullptr;
    void (*asynchronous)(const DropPtr &drop, const DropPayload &payload, const ActionReply &reply) = nullptr;
    void (*withProgress)(const DropPtr &drop, const DropPayload &payload, const ActionReply &reply,
                         const KorvaneProgress &progress) = nullptr;
};

// Every kind has its case: the compiler names one left out. An empty slot would be a kind
// whose action is not part of this build yet.
ActionSlot slotFor(ActionKind kind)
{
    switch (kind) {
    case ActionKind::Translate:
        return {nullptr, &TextActions::translate};
    case ActionKind::ClearStyle:
        return {&TextActions::clearFormat};
    case ActionKind::CountCharacters:
        return {&TextActions::countCharacters};
    case ActionKind::MailText:
    case ActionKind::MailFiles:
        return {nullptr, &ShareActions::sendEmail};
    case ActionKind::MessageText:
    case ActionKind::MessageFiles:
        return {nullptr, &ShareActions::sendMessage};
    case ActionKind::CustomUrls:
        return {nullptr, &TextActions::openCustomUrl};
    case ActionKind::ChineseScript:
        return {&TextActions::convertChinese};
    case ActionKind::CapitalAmount:
        return {nullptr, &TextActions::writeMoneyInChinese};
    case ActionKind::LetterCase:
        return {nullptr, &TextActions::convertLetterCase};
    case ActionKind::ShareText:
        return {nullptr, &TextActions::shareText};
    case ActionKind::Compress:
        return {nullptr, &ImageActions::compress};
    case ActionKind::Convert:
        return {nullptr, &ImageActions::convertFormat};
    case ActionKind::Resize:
        return {nullptr, &ImageActions::resize};
    case ActionKind::RecogniseText:
        return {nullptr, &OcrActions::recognizeText};
    case ActionKind::RemoveMetadata:
        return {nullptr, &ImageActions::stripMetadata};
    case ActionKind::UploadWeibo:
        return {nullptr, nullptr, &UploadActions::uploadToWeibo};
    case ActionKind::AddToPhotos:
        return {nullptr, &ShareActions::addToPhotos};
    case ActionKind::ShareFiles:
        return {nullptr, &ShareActions::shareFiles};
    case ActionKind::Move:
        return {nullptr, &FileActions::moveFiles};
    case ActionKind::Copy:
        return {nullptr, &FileActions::copyFiles};
    case ActionKind::UploadQiniu:
        return {nullptr, nullptr, &UploadActions::uploadToQiniu};
    case ActionKind::UploadOss:
        return {nullptr, nullptr, &UploadActions::uploadToOss};
    case ActionKind::UploadCos:
        return {nullptr, nullptr, &UploadActions::uploadToCos};
    case ActionKind::UploadUpyun:
        return {nullptr, nullptr, &UploadActions::uploadToUpYun};
    case ActionKind::Rotate:
        return {nullptr, &ImageActions::rotate};
    case ActionKind::Rename:
        return {nullptr, &FileActions::renameFiles};
    case ActionKind::Count:
        break;
    }
    return {};
}

std::optional<ActionSlot> slotFor(const DropListEntity &drop)
{
    const ActionCatalog::Entry *kind = ActionCatalog::entry(drop.catalog(), drop.type());
    if (!kind)
        return std::nullopt;
    return slotFor(kind->kind);
}

} // namespace

bool ActionRunner::canRun(const DropListEntity &drop, bool *reportsResult)
{
    const std::optional<ActionSlot> slot = slotFor(drop);
    if (!slot || (!slot->synchronous && !slot->asynchronous && !slot->withProgress))
        return false;
    if (reportsResult)
        *reportsResult = slot->asynchronous != nullptr || slot->withProgress != nullptr;
    return true;
}

void ActionRunner::run(const DropPtr &drop, const DropPayload &payload,
                       const ActionReply &reply, const KorvaneProgress &progress)
{
    const std::optional<ActionSlot> slot = drop ? slotFor(*drop) : std::nullopt;
    if (!slot || (!slot->synchronous && !slot->asynchronous && !slot->withProgress)) {
        finishOnMain(reply, KorvaneOutcome::NothingToReport);
        return;
    }
    const qsizetype textLength = payload.textString().size();
    if (drop->catalog() == 0 && textLength > TextActions::MaximumTextLength) {
        const KorvaneError error(TextActions::textTooLongErrorCode,
                                 qtTrId("textTooLong").arg(textLength).arg(TextActions::MaximumTextLength));
        Notification content = ActionReply::resultNotification(false, *drop);
        content.body = error.localizedDescription();
        reply.notify(content);
        if (slot->synchronous)
            finishOnMain(reply, KorvaneOutcome::NothingToReport);
        else
            finishOnMain(reply, false, error);
        return;
    }
    if (slot->synchronous) {
        slot->synchronous(drop, payload, reply);
        finishOnMain(reply, KorvaneOutcome::NothingToReport);
    } else if (slot->asynchronous) {
        slot->asynchronous(drop, payload, reply);
    } else {
        slot->withProgress(drop, payload, reply, progress);
    }
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
