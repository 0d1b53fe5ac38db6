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

// The extension of a path's last component; a leading dot does not start one.
QString extensionOf(const QString &path)
{
    const int slash = path.lastIndexOf(QLatin1Char('/'));
    const int dot = path.lastIndexOf(QLatin1Char('.'));
    return dot > slash + 1 ? path.mid(dot + 1) : QString();
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
        Notification content = resultNotification(false, *drop);
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

Notification ActionRunner::resultNotification(bool success, const DropListEntity &drop)
{
    Notification content;
    content.attachmentImage = success ? QStringLiteral(":/images/notificationDone.png")
                                      : QStringLiteral(":/images/notificationFail.png");
    content.title = (success ? qtTrId("succeedNotif") : qtTrId("failureNotif")).arg(drop.title());
    content.badge = 0;
    return content;
}

QUrl ActionRunner::savePathUrl(const QString &path)
{
    if (path.isEmpty())
        return QUrl();
    if (path == QLatin1String("~"))
        return QUrl::fromLocalFile(QDir::homePath());
    if (path.startsWith(QLatin1String("~/")))
        return QUrl::fromLocalFile(QDir::homePath() + QLatin1Char('/') + path.mid(2));
    return QUrl::fromLocalFile(path);
}

QString ActionRunner::destFile(const QUrl &folder, const QUrl &sourceUrl, const QString &endName)
{
    const QString source = sourceUrl.toLocalFile();
    const int slash = source.lastIndexOf(QLatin1Char('/'));
    const QString name = source.mid(slash + 1);
    const QString extension = extensionOf(name);
    const QString base = extension.isEmpty() ? name : name.left(name.size() - extension.size() - 1);
    const QString dir = slash > 0 ? source.left(slash) : QStringLiteral("/");

    const QString folderPath = folder.isValid() ? folder.toLocalFile() : QString();
    if (!folderPath.isEmpty())
        return QDir(folderPath).filePath(base) + endName;
    if (!endName.isEmpty())
        return QDir(dir).filePath(base) + endName;
    return source;
}

QString ActionRunner::destFile(const QString &path)
{
    if (!QFileInfo::exists(path) && !QFileInfo(path).isSymLink())
        return path;
    const QString extension = extensionOf(path);
    const QString stem = extension.isEmpty() ? path : path.left(path.size() - extension.size() - 1);
    for (qint64 n = 1; n < std::numeric_limits<qint64>::max() - 1; ++n) {
        const QString candidate = extension.isEmpty() ? stem + QString::number(n)
                                                      : stem + QString::number(n) + QLatin1Char('.') + extension;
        const QFileInfo info(candidate);
        if (!info.exists() && !info.isSymLink())
            return candidate;
    }
    return QString();
}

QString ActionRunner::sizeText(qint64 bytes)
{
    if (bytes < 1024)
        return QString::number(bytes) + QLatin1Char('B');
    if (bytes < 1048576)
        return QString::number(double(bytes) * (1.0 / 1024), 'f', 2) + QLatin1Char('K');
    return QString::number(double(bytes) * (1.0 / 1048576), 'f', 2) + QLatin1Char('M');
}

QString ActionRunner::urlEncoded(const QString &string)
{
    // Unreserved characters always stay; these are the rest of the query's allowed set.
    return QString::fromLatin1(string.toUtf8().toPercentEncoding("!$&'()*+,/:;=?@"));
}

QString ActionRunner::letterAt(const QString &startLetter, qint64 index)
{
    static const QString alphabet = QStringLiteral("abcdefghijklmnopqrstuvwxyz");
    const QString lower = startLetter.toLower();
    const qsizetype start = lower.isEmpty() ? 0 : qMax<qsizetype>(0, alphabet.indexOf(lower.at(0)));
    const qint64 position = ((start + index) % 26 + 26) % 26;
    const QString letter = alphabet.mid(position, 1);
    return startLetter == lower ? letter : letter.toUpper();
}

QString ActionRunner::randomKey()
{
    // Keys name uploaded objects, so they come from the system's cryptographic source.
    static const QLatin1String characters("0123456789abcdefghijklmnopqrstuvwxyz");
    QString key;
    for (int i = 0; i < 5; ++i)
        key += characters[QRandomGenerator::system()->bounded(int(characters.size()))];
    return key;
}
