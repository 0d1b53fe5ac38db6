#include "actions/korvanehandlepbhelper.h"

#include "store/droplistentity.h"
#include "intake/korvaneactioncatalog.h"
#include "platform/korvaneclipboard.h"
#include "actions/korvanefileactions.h"
#include "intake/droppayload.h"
#include "actions/korvaneimageactions.h"
#include "actions/korvaneocractions.h"
#include "platform/korvanenotifier.h"
#include "actions/korvaneshareactions.h"
#include "platform/korvaneplatform.h"
#include "platform/korvanesettings.h"
#include "actions/korvanetextactions.h"
#include "actions/korvaneuploadactions.h"
#include "common/korvanelogging.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QLoggingCategory>
#include <QRandomGenerator>

#include <array>
#include <limits>

namespace {

using DropPtr = KorvaneHandlePbHelper::DropPtr;

// One slot of the dispatch tables. An action whose result is ready when it returns has a
// synchronous entry and never sees the completion, which the dispatcher reports for it; one
// that moves bytes reports progress.
struct ActionSlot {
    void (*synchronous)(const DropPtr &drop, const DropPayload &payload);
    void (*asynchronous)(const DropPtr &drop, const DropPayload &payload, const KorvaneCompletion &completion);
    void (*withProgress)(const DropPtr &drop, const DropPayload &payload, const KorvaneCompletion &completion,
                         const KorvaneProgress &progress) = nullptr;
};

// Indexed by kind. An empty slot is a kind whose action is not part of this build yet.
const ActionSlot actions[] = {
    {nullptr, &KorvaneTextActions::translateTextEntity},
    {&KorvaneTextActions::clearTextEntity, nullptr},
    {&KorvaneTextActions::countTextEntity, nullptr},
    {nullptr, &KorvaneShareActions::sendEmailDropEntity},
    {nullptr, &KorvaneShareActions::sendMessageDropEntity},
    {nullptr, &KorvaneTextActions::customUrlTextEntity},
    {&KorvaneTextActions::traditionalConversionTextEntity, nullptr},
    {nullptr, &KorvaneTextActions::rmbTextEntity},
    {nullptr, &KorvaneTextActions::engilshCaseConvert},
    {nullptr, &KorvaneTextActions::airDropTextDropEntity},
    {nullptr, &KorvaneImageActions::compressImageDropEntity},
    {nullptr, &KorvaneImageActions::fromatImageDropEntity},
    {nullptr, &KorvaneImageActions::resizeImageDropEntity},
    {nullptr, &KorvaneOcrActions::OCRImageDropEntity},
    {nullptr, &KorvaneImageActions::clearMsgImageDropEntity},
    {nullptr, nullptr, &KorvaneUploadActions::uploadImageToWeiboDropEntity},
    {nullptr, &KorvaneShareActions::imageToPhotoDropEntity},
    {nullptr, &KorvaneShareActions::airDropDropEntity},
    {nullptr, &KorvaneFileActions::moveFileDropEntity},
    {nullptr, &KorvaneFileActions::copyFileDropEntity},
    {nullptr, &KorvaneShareActions::sendEmailDropEntity},
    {nullptr, &KorvaneShareActions::sendMessageDropEntity},
    {nullptr, nullptr, &KorvaneUploadActions::uploadFileToQiniuDropEntity},
    {nullptr, nullptr, &KorvaneUploadActions::uploadFileToAliDropEntity},
    {nullptr, nullptr, &KorvaneUploadActions::uploadFileToQCloudDropEntity},
    {nullptr, nullptr, &KorvaneUploadActions::uploadFileToUpCDNDropEntity},
    {nullptr, &KorvaneImageActions::rotateImageDropEntity},
    {nullptr, &KorvaneFileActions::renameFileDropEntity},
};
static_assert(std::size(actions) == KindCount, "one slot per action kind");

const ActionSlot *slotFor(const DropListEntity &drop)
{
    const KorvaneActionCatalog::Entry *kind = KorvaneActionCatalog::entry(drop.catalog(), drop.type());
    return kind ? &actions[int(kind->kind)] : nullptr;
}

// The extension of a path's last component; a leading dot does not start one.
QString extensionOf(const QString &path)
{
    const int slash = path.lastIndexOf(QLatin1Char('/'));
    const int dot = path.lastIndexOf(QLatin1Char('.'));
    return dot > slash + 1 ? path.mid(dot + 1) : QString();
}

} // namespace

bool KorvaneHandlePbHelper::canHandleDropEntity(const DropListEntity &drop, bool *reportsResult)
{
    const ActionSlot *slot = slotFor(drop);
    if (!slot || (!slot->synchronous && !slot->asynchronous && !slot->withProgress))
        return false;
    if (reportsResult)
        *reportsResult = slot->asynchronous != nullptr || slot->withProgress != nullptr;
    return true;
}

void KorvaneHandlePbHelper::handleDropEntity(const DropPtr &drop, const DropPayload &payload,
                                             const KorvaneCompletion &completion, const KorvaneProgress &progress)
{
    const ActionSlot *slot = drop ? slotFor(*drop) : nullptr;
    if (!slot || (!slot->synchronous && !slot->asynchronous && !slot->withProgress)) {
        finishOnMain(completion, KorvaneOutcome::NothingToReport);
        return;
    }
    const qsizetype textLength = payload.textString().size();
    if (drop->catalog() == 0 && textLength > KorvaneTextActions::MaximumTextLength) {
        const KorvaneError error(KorvaneTextActions::textTooLongErrorCode,
                                 qtTrId("textTooLong").arg(textLength).arg(KorvaneTextActions::MaximumTextLength));
        KorvaneNotificationContent content = defaultNotificationContentSucceed(false, *drop);
        content.body = error.localizedDescription();
        trigeerlocalNotificationWithContent(content);
        if (slot->synchronous)
            finishOnMain(completion, KorvaneOutcome::NothingToReport);
        else
            finishOnMain(completion, false, error);
        return;
    }
    if (slot->synchronous) {
        slot->synchronous(drop, payload);
        finishOnMain(completion, KorvaneOutcome::NothingToReport);
    } else if (slot->asynchronous) {
        slot->asynchronous(drop, payload, completion);
    } else {
        slot->withProgress(drop, payload, completion, progress);
    }
}

KorvaneNotificationContent KorvaneHandlePbHelper::defaultNotificationContentSucceed(bool success, const DropListEntity &drop)
{
    KorvaneNotificationContent content;
    content.attachmentImage = success ? QStringLiteral(":/images/notificationDone.png")
                                      : QStringLiteral(":/images/notificationFail.png");
    content.title = (success ? qtTrId("succeedNotif") : qtTrId("failureNotif")).arg(drop.title());
    content.badge = 0;
    return content;
}

void KorvaneHandlePbHelper::trigeerlocalNotificationWithContent(const KorvaneNotificationContent &content)
{
    if (KorvaneSettings::muteNotifi.read() == 1)
        return;
    KorvanePlatform::notifier()->post(content);
}

void KorvaneHandlePbHelper::pasteTextToPB(const QString &text)
{
    if (text.isEmpty())
        return;
    KorvanePlatform::clipboard()->writeText(text);
}

void KorvaneHandlePbHelper::pasteImagesToPB(const QVariantList &objects)
{
    KorvanePlatform::clipboard()->writeObjects(objects);
}

void KorvaneHandlePbHelper::pasteImageDataToPB(const QByteArray &data)
{
    pasteImageDataToPB(data, QStringLiteral("image/png"));
}

void KorvaneHandlePbHelper::pasteImageDataToPB(const QByteArray &data, const QString &mimeType)
{
    KorvanePlatform::clipboard()->writeImageData(data, mimeType);
}

QUrl KorvaneHandlePbHelper::getSavePathUrl(const QString &path)
{
    if (path.isEmpty())
        return QUrl();
    if (path == QLatin1String("~"))
        return QUrl::fromLocalFile(QDir::homePath());
    if (path.startsWith(QLatin1String("~/")))
        return QUrl::fromLocalFile(QDir::homePath() + QLatin1Char('/') + path.mid(2));
    return QUrl::fromLocalFile(path);
}

QString KorvaneHandlePbHelper::destFile(const QUrl &folder, const QUrl &sourceUrl, const QString &endName)
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

QString KorvaneHandlePbHelper::destFile(const QString &path)
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

QString KorvaneHandlePbHelper::getSizeDesc(qint64 bytes)
{
    if (bytes < 1024)
        return QString::number(bytes) + QLatin1Char('B');
    if (bytes < 1048576)
        return QString::number(double(bytes) * (1.0 / 1024), 'f', 2) + QLatin1Char('K');
    return QString::number(double(bytes) * (1.0 / 1048576), 'f', 2) + QLatin1Char('M');
}

QString KorvaneHandlePbHelper::URLEncodedString(const QString &string)
{
    // Unreserved characters always stay; these are the rest of the query's allowed set.
    return QString::fromLatin1(string.toUtf8().toPercentEncoding("!$&'()*+,/:;=?@"));
}

QString KorvaneHandlePbHelper::getCurrentLetter(const QString &startLetter, qint64 index)
{
    static const QString alphabet = QStringLiteral("abcdefghijklmnopqrstuvwxyz");
    const QString lower = startLetter.toLower();
    const qsizetype start = lower.isEmpty() ? 0 : qMax<qsizetype>(0, alphabet.indexOf(lower.at(0)));
    const qint64 position = ((start + index) % 26 + 26) % 26;
    const QString letter = alphabet.mid(position, 1);
    return startLetter == lower ? letter : letter.toUpper();
}

QString KorvaneHandlePbHelper::randomKey()
{
    // Keys name uploaded objects, so they come from the system's cryptographic source.
    static const QLatin1String characters("0123456789abcdefghijklmnopqrstuvwxyz");
    QString key;
    for (int i = 0; i < 5; ++i)
        key += characters[QRandomGenerator::system()->bounded(int(characters.size()))];
    return key;
}
