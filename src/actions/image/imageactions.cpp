#include "actions/image/imageactions.h"

#include "store/droplistentity.h"
#include "actions/file/filemanager.h"
#include "store/removemetadatasettings.h"
#include "image/imagecodec.h"
#include "image/imagestructure.h"
#include "store/compresssettings.h"
#include "store/convertsettings.h"
#include "actions/image/imagemanager.h"
#include "store/resizesettings.h"
#include "store/rotatesettings.h"
#include "actions/image/imagecategory.h"
#include "intake/droppayload.h"
#include "actions/outputnaming.h"
#include "common/logtext.h"
#include "actions/image/pixelbudget.h"
#include "platform/xdg/xdgtrash.h"
#include "actions/actionslogging.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLoggingCategory>
#include <QMutex>
#include <QTemporaryFile>
#include <QThreadPool>

#include <atomic>
#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

using DropPtr = std::shared_ptr<DropListEntity>;

// Where the outputs go, read on the main thread where the store lives.
struct Destination {
    QUrl folder;
    QString endName;

    bool inPlace() const { return folder.isEmpty() && endName.isEmpty(); }
};

template<typename Settings>
Destination destinationOf(const std::shared_ptr<Settings> &settings)
{
    if (!settings)
        return {};
    return {OutputNaming::savePathUrl(settings->savePath()), settings->endName()};
}

// The extension with its dot; a leading dot does not start one.
QString extensionOf(const QString &path)
{
    const qsizetype slash = path.lastIndexOf(QLatin1Char('/'));
    const qsizetype dot = path.lastIndexOf(QLatin1Char('.'));
    return dot > slash + 1 ? path.mid(dot) : QString();
}

// The wanted output path. A new suffix replaces the source's extension; otherwise the
// extension is kept. It is the source itself with no suffix text and no folder, or the
// source's own folder.
QString wantedPath(const Destination &destination, const QUrl &source, const QString &newSuffix)
{
    QString path = OutputNaming::destFile(destination.folder, source, destination.endName);
    const QString extension = extensionOf(source.toLocalFile());
    if (!newSuffix.isEmpty()) {
        if (destination.inPlace())
            path.chop(extension.size());
        return path + newSuffix;
    }
    return destination.inPlace() ? path : path + extension;
}

// Whether two paths name the same place: cleaned, and their folders resolved, so that "/p/./a.png",
// "/p//a.png" and a link to /p followed by "a.png" all are /p/a.png.
bool samePath(const QString &first, const QString &second)
{
    const auto normal = [](const QString &path) {
        const QFileInfo info(QDir::cleanPath(path));
        const QString folder = QFileInfo(info.path()).canonicalFilePath();
        return (folder.isEmpty() ? info.path() : folder) + QLatin1Char('/') + info.fileName();
    };
    return normal(first) == normal(second);
}

// The output's path, claimed: the source itself when the naming rule gives its path, else the
// first free name, created empty so that no other job of the batch takes it. Empty when nothing
// is free.
QString claimOutput(const Destination &destination, const QUrl &source, const QString &newSuffix)
{
    const QString wanted = wantedPath(destination, source, newSuffix);
    if (samePath(wanted, source.toLocalFile()))
        return source.toLocalFile();
    for (int attempt = 0; attempt < 100; ++attempt) {
        const QString free = OutputNaming::destFile(wanted);
        if (free.isEmpty())
            return QString();
        const int fd = ::open(QFile::encodeName(free).constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
        if (fd >= 0) {
            ::close(fd);
            return free;
        }
        if (errno != EEXIST) {
            qCInfo(lcImageActions, "cannot create %s: %s",
                   qUtf8Printable(LogText::summary(free, lcImageActions())), strerror(errno));
            return QString();
        }
    }
    return QString();
}

struct BatchTexts {
    const char *success;
    const char *pending;
    const char *failure;
    int code;
};

// The counters of one run, shared by its jobs.
struct Batch {
    explicit Batch(int size)
        : total(size)
    {}

    const int total;
    std::atomic<int> processed{0};
    std::atomic<int> succeeded{0};
    std::atomic<int> failed{0};
    std::atomic<qint64> saved{0};
    // Originals that went to the Trash because their results took their names.
    std::atomic<int> trashed{0};
    QMutex mutex;
    // Why files were refused or left as they were, for the failure text.
    QStringList reasons;

    void addReason(const QString &reason)
    {
        const QMutexLocker locker(&mutex);
        reasons.append(reason);
    }
};

// Runs one file's work on its claimed output; a failed job gives the claimed name back. When the
// output is the source itself, the result is made under a hidden name beside it, then the
// original goes to the Trash and the result takes its name: nothing is lost, and a source that
// cannot be trashed is left as it was.
bool processFile(Batch &batch, const Destination &destination, const QUrl &source, const QString &newSuffix,
                 const std::function<bool(const QString &output)> &work)
{
    const QString path = source.toLocalFile();
    const QString output = claimOutput(destination, source, newSuffix);
    if (output.isEmpty())
        return false;
    if (output != path) {
        if (work(output))
            return true;
        QFile::remove(output);
        return false;
    }
    const QFileInfo info(path);
    QTemporaryFile claimed(info.dir().filePath(QStringLiteral(".XXXXXX-") + info.fileName()));
    claimed.setAutoRemove(false);
    if (!claimed.open())
        return false;
    const QString result = claimed.fileName();
    claimed.close();
    struct stat status {};
    if (!work(result) || ::stat(QFile::encodeName(path).constData(), &status) != 0) {
        QFile::remove(result);
        return false;
    }
    ::chmod(QFile::encodeName(result).constData(), status.st_mode & 07777);
    QString why;
    const XdgTrash::Trashed trashed = XdgTrash::moveToTrash(path, &why);
    if (trashed.file.isEmpty()) {
        QFile::remove(result);
        batch.addReason(qtTrId("originalNotTrashed").arg(path, why));
        return false;
    }
    if (::rename(QFile::encodeName(result).constData(), QFile::encodeName(path).constData()) != 0) {
        qCInfo(lcImageActions, "cannot put the result in place: %s", strerror(errno));
        XdgTrash::restore(trashed, path);
        QFile::remove(result);
        return false;
    }
    ++batch.trashed;
    return true;
}

// Whether a JPEG, PNG or WebP file is whole, with its checksums right; other files are left to
// their decoders.
bool isSoundFile(const QString &path)
{
    QFile file(path);
    return !file.open(QIODevice::ReadOnly | QIODevice::Unbuffered) || ImageStructure::isSound(&file);
}

// Logs a file's refusal and keeps its reason, which names it, for the batch's report.
void refuse(const Korvane::Error &error, QStringList *reasons, QMutex *mutex)
{
    qCInfo(lcImageActions, "refused: %s",
           qUtf8Printable(LogText::summary(error.localizedDescription(), lcImageActions())));
    if (mutex)
        mutex->lock();
    reasons->append(error.localizedDescription());
    if (mutex)
        mutex->unlock();
}

Korvane::Error damaged(const QString &path)
{
    return Korvane::Error(0, qtTrId("imageDamaged").arg(path));
}

// Whether the file may be worked on: a regular file whose name survives the trip through text,
// and, unless the work itself finds out while it reads the file, not a damaged image. Every image
// action asks this before it touches a file; a refused one is never worked on, and its reason,
// naming it, goes into the batch's report.
bool isReadable(const QUrl &file, QStringList *reasons, QMutex *mutex = nullptr, bool checkImage = true)
{
    Korvane::Error error;
    const QString path = FileManager::textPath(file, &error);
    if (!path.isEmpty() && FileManager::isRegularFile(path, &error)) {
        if (!checkImage || isSoundFile(path))
            return true;
        error = damaged(path);
    }
    refuse(error, reasons, mutex);
    return false;
}

void post(const ActionReply &reply, const DropListEntity &drop, bool success, const QString &body)
{
    Notification content = ActionReply::resultNotification(success, drop);
    content.body = body;
    reply.notify(content);
}

// The report of a batch, on the main thread. failureCount is the number the failure text shows.
// The reasons are sorted: the jobs of a batch finish in any order, their report does not.
void reportBatch(const DropPtr &drop, const ActionReply &reply, const BatchTexts &texts,
                 const QString &successText, int succeeded, int failed, int failureCount, int trashed,
                 QStringList reasons)
{
    reasons.sort();
    Korvane::Error error;
    if (failed > 0)
        error = Korvane::Error(texts.code, (QStringList{qtTrId(texts.failure, failureCount)} + reasons).join(QLatin1Char(' ')));
    if (succeeded > 0) {
        QString body = successText;
        if (trashed > 0)
            body += qtTrId("NOriginalsInTrash", trashed);
        if (failed > 0)
            body += (QStringList{qtTrId(texts.pending, failed)} + reasons).join(QLatin1Char(' '));
        reply(true, error);
        post(reply, *drop, true, body);
    } else {
        reply(false, error);
        post(reply, *drop, false, error.localizedDescription());
    }
}

void onMain(std::function<void()> step)
{
    QMetaObject::invokeMethod(qApp, std::move(step), Qt::QueuedConnection);
}

// Counts one file's outcome; the job whose count completes the batch gets true and reports.
bool count(Batch &batch, bool success)
{
    (success ? batch.succeeded : batch.failed).fetch_add(1);
    return batch.processed.fetch_add(1) + 1 == batch.total;
}

enum class Input {
    Nothing,
    ImageData,
    ImageFiles,
};

Input inputOf(const DropPayload &data)
{
    if (!data.imageData().isNull())
        return Input::ImageData;
    if ((data.containedFileType() & FileKindImage) && !data.imgFileUrls().isEmpty())
        return Input::ImageFiles;
    return Input::Nothing;
}

using HeaderReader = bool (*)(const QByteArray &data, ImageCodec::Header *header);

// Image data that does not decode fails the action, with nothing pasted.
bool failUndecodable(const DropPtr &drop, const ActionReply &reply, const QByteArray &input,
                     HeaderReader readHeader = &ImageCodec::readHeader)
{
    ImageCodec::Header header;
    if (readHeader(input, &header))
        return false;
    onMain([=] {
        const Korvane::Error error(ImageActions::ImageDataUndecodable,
                                   qtTrId("imageDataUndecodable").arg(input.size()).arg(ImageCodec::maxPixels));
        reply(false, error);
        post(reply, *drop, false, error.localizedDescription());
    });
    return true;
}

// Data mode of every action but compression: transform once, paste a result when there is
// one, and report success whatever came out of data that decodes.
void transformData(const DropPtr &drop, const QByteArray &input, const ActionReply &reply, const char *pastedKey,
                   std::function<QByteArray(const QByteArray &)> transform, HeaderReader readHeader = &ImageCodec::readHeader)
{
    QThreadPool::globalInstance()->start([=] {
        if (failUndecodable(drop, reply, input, readHeader))
            return;
        const QByteArray result = transform(input);
        onMain([=] {
            if (!result.isEmpty())
                reply.copyImageData(result, ImageCodec::mimeType(ImageCodec::formatOf(result)));
            post(reply, *drop, true, qtTrId(pastedKey));
            reply(true, Korvane::Error());
        });
    });
}

// File mode of every action but rotation: a job per file, the last one to finish reports. A
// metadata-only job finds a damaged image itself, in the one pass it reads the file in.
void transformFiles(const DropPtr &drop, const QList<QUrl> &files, const ActionReply &reply, const BatchTexts &texts,
                    std::function<bool(Batch &batch, const QUrl &source)> job, bool metadataOnly = false)
{
    auto batch = std::make_shared<Batch>(int(files.size()));
    for (const QUrl &file : files) {
        QThreadPool::globalInstance()->start([=] {
            bool success = false;
            if (isReadable(file, &batch->reasons, &batch->mutex, !metadataOnly)) {
                const PixelBudget::Reservation pixels(*PixelBudget::instance(),
                                                      ImageManager::workingBytes(file.toLocalFile(), metadataOnly));
                success = job(*batch, file);
            }
            if (!count(*batch, success))
                return;
            const int succeeded = batch->succeeded;
            const int failed = batch->failed;
            const int trashed = batch->trashed;
            const QStringList reasons = batch->reasons;
            onMain([=] {
                reportBatch(drop, reply, texts, qtTrId(texts.success, succeeded), succeeded, failed, failed, trashed,
                            reasons);
            });
        });
    }
}

} // namespace

void ImageActions::compress(const DropPtr &drop, const DropPayload &payload, const ActionReply &reply)
{
    const Input input = inputOf(payload);
    if (!drop || input == Input::Nothing) {
        Korvane::finishOnMain(reply, Korvane::Outcome::NothingToReport);
        return;
    }
    const auto settings = drop->compressSettings();
    const float quality = settings ? settings->compressionRatio() : 0;
    const bool pngToJpeg = settings && settings->autoPNGtoJPG();
    const Destination destination = destinationOf(settings);

    if (input == Input::ImageData) {
        const QByteArray source = payload.imageData();
        QThreadPool::globalInstance()->start([=] {
            if (failUndecodable(drop, reply, source, &ImageManager::metadataHeader))
                return;
            const QByteArray result = ImageManager::compress(quality, source);
            onMain([=] {
                if (source.size() < result.size()) {
                    const Korvane::Error error(CompressedImageIsLarger, qtTrId("CompressedImageIsLarger"));
                    reply(false, error);
                    post(reply, *drop, false, error.localizedDescription());
                    return;
                }
                if (!result.isEmpty())
                    reply.copyImageData(result, ImageCodec::mimeType(ImageCodec::Format::Jpeg));
                post(reply, *drop, true,
                     qtTrId("pasteBoardImageCompressed").arg(OutputNaming::sizeText(source.size() - result.size())));
                reply(true, Korvane::Error());
            });
        });
        return;
    }

    const QList<QUrl> files = payload.imgFileUrls();
    auto batch = std::make_shared<Batch>(int(files.size()));
    for (const QUrl &file : files) {
        QThreadPool::globalInstance()->start([=] {
            const bool refusedPng = !pngToJpeg && file.toLocalFile().endsWith(QLatin1String(".png"));
            bool success = false;
            if (!refusedPng && isReadable(file, &batch->reasons, &batch->mutex)) {
                const PixelBudget::Reservation pixels(*PixelBudget::instance(), ImageManager::workingBytes(file.toLocalFile()));
                const QByteArray source = ImageManager::readFile(file.toLocalFile());
                const QByteArray result = source.isEmpty() ? QByteArray() : ImageManager::compress(quality, source);
                // A result larger than its source is worth nothing, so no name is claimed for it.
                if (!result.isEmpty() && result.size() <= source.size()) {
                    success = processFile(*batch, destination, file, QStringLiteral(".jpg"),
                                          [&](const QString &output) { return ImageManager::writeFile(output, result); });
                    batch->saved.fetch_add(source.size() - result.size());
                }
            }
            if (!count(*batch, success))
                return;
            const int succeeded = batch->succeeded;
            const int failed = batch->failed;
            const int processed = batch->processed;
            const qint64 saved = batch->saved;
            const int trashed = batch->trashed;
            const QStringList reasons = batch->reasons;
            const BatchTexts texts = refusedPng
                ? BatchTexts{"NImagesCompressed", "NImagesCanNotCompressPending", "NPNGImagesCanNotCompressed", PNGNotCompressed}
                : BatchTexts{"NImagesCompressed", "NImagesCanNotCompressPending", "NImagesCanNotCompressed", NotCompressed};
            onMain([=] {
                const QString successText =
                    qtTrId(texts.success, succeeded).arg(OutputNaming::sizeText(saved));
                reportBatch(drop, reply, texts, successText, succeeded, failed,
                            refusedPng ? failed : processed - succeeded, trashed, reasons);
            });
        });
    }
}

void ImageActions::convertFormat(const DropPtr &drop, const DropPayload &payload, const ActionReply &reply)
{
    const Input input = inputOf(payload);
    if (!drop || input == Input::Nothing) {
        Korvane::finishOnMain(reply, Korvane::Outcome::NothingToReport);
        return;
    }
    const auto settings = drop->convertSettings();
    const qint16 type = settings ? settings->convertType() : 0;
    // An unknown type keeps the ".jpg" suffix but is written as PNG.
    const ImageCodec::Format format = type == 0 ? ImageCodec::Format::Jpeg
        : type == 2                             ? ImageCodec::Format::Bmp
                                                : ImageCodec::Format::Png;
    const QString suffix = type == 1 ? QStringLiteral(".png") : type == 2 ? QStringLiteral(".bmp")
                                                                          : QStringLiteral(".jpg");

    if (input == Input::ImageData) {
        transformData(drop, payload.imageData(), reply, "pasteBoardImageConverted",
                      [format](const QByteArray &image) { return ImageCategory::saveAsImgWithType(image, format); });
        return;
    }
    const Destination destination = destinationOf(settings);
    transformFiles(drop, payload.imgFileUrls(), reply, {"NImagesConverted", "NImagesCanNotConvertPending", "NImagesCanNotConvert", NotConverted},
                   [=](Batch &batch, const QUrl &file) {
                       if (file.toLocalFile().endsWith(suffix))
                           return false;
                       const QByteArray source = ImageManager::readFile(file.toLocalFile());
                       ImageCodec::Header header;
                       if (!ImageCodec::readHeader(source, &header))
                           return false;
                       return processFile(batch, destination, file, suffix, [&](const QString &output) {
                           return ImageCategory::saveAsImgWithName(source, output, format);
                       });
                   });
}

void ImageActions::resize(const DropPtr &drop, const DropPayload &payload, const ActionReply &reply)
{
    const Input input = inputOf(payload);
    if (!drop || input == Input::Nothing) {
        Korvane::finishOnMain(reply, Korvane::Outcome::NothingToReport);
        return;
    }
    const auto settings = drop->resizeSettings();
    const qint16 type = settings ? settings->resizeType() : 0;
    const float pixels = settings ? settings->targetPixels() : 0;
    const float percent = settings ? settings->targetRatio() : 0;

    if (input == Input::ImageData) {
        transformData(drop, payload.imageData(), reply, "pasteBoardImageResized", [=](const QByteArray &image) {
            switch (type) {
            case 0:
                return ImageManager::changeDataToWidth(image, pixels);
            case 1:
                return ImageManager::changeDataToHeight(image, pixels);
            case 2:
                return ImageManager::changeDataToPercent(image, percent);
            default:
                return QByteArray();
            }
        });
        return;
    }
    const Destination destination = destinationOf(settings);
    transformFiles(drop, payload.imgFileUrls(), reply, {"NImagesResized", "NImagesCanNotResizePending", "NImagesCanNotResize", NotResized},
                   [=](Batch &batch, const QUrl &file) {
                       if (type < 0 || type > 2)
                           return false;
                       return processFile(batch, destination, file, QString(), [&](const QString &output) {
                           const QString source = file.toLocalFile();
                           if (type == 0)
                               return ImageManager::changeFileWithDestFileToWidth(source, output, pixels);
                           if (type == 1)
                               return ImageManager::changeFileWithDestFileToHeight(source, output, pixels);
                           return ImageManager::changeFileWithDestFileToPercent(source, output, percent);
                       });
                   });
}

void ImageActions::rotate(const DropPtr &drop, const DropPayload &payload, const ActionReply &reply)
{
    const Input input = inputOf(payload);
    if (!drop || input == Input::Nothing) {
        Korvane::finishOnMain(reply, Korvane::Outcome::NothingToReport);
        return;
    }
    const auto settings = drop->rotateSettings();
    const qint16 type = settings ? settings->rotateType() : -1;
    const ImageManager::Mirror turn = type == 3 ? ImageManager::Mirror(true) : type == 4 ? ImageManager::Mirror(false)
                                                                                         : std::nullopt;
    const double degrees = type == 0 ? 90 : type == 1 ? -90
        : type == 2                                   ? 180
                                                      : 0;

    if (input == Input::ImageData) {
        transformData(
            drop, payload.imageData(), reply, "pasteBoardImageRotate",
            [=](const QByteArray &image) { return ImageManager::rotateImage(image, turn, degrees); },
            &ImageManager::metadataHeader);
        return;
    }
    const Destination destination = destinationOf(settings);
    const QList<QUrl> files = payload.imgFileUrls();
    QThreadPool::globalInstance()->start([=] {
        Batch batch(int(files.size()));
        for (const QUrl &file : files) {
            bool success = false;
            if (isReadable(file, &batch.reasons, nullptr, false)) {
                const PixelBudget::Reservation pixels(*PixelBudget::instance(),
                                                      ImageManager::workingBytes(file.toLocalFile(), true));
                bool broken = false;
                success = processFile(batch, destination, file, QString(), [&](const QString &output) {
                    return ImageManager::rotateImage(file.toLocalFile(), output, turn, degrees, &broken);
                });
                if (broken)
                    refuse(damaged(file.toLocalFile()), &batch.reasons, nullptr);
            }
            count(batch, success);
        }
        const int succeeded = batch.succeeded;
        const int failed = batch.failed;
        const int trashed = batch.trashed;
        const QStringList reasons = batch.reasons;
        const int total = int(files.size());
        onMain([=] {
            const BatchTexts texts{"NImagesRoated", "NImagesCanNotRoatedPending",
                                   "NImagesCanNotRoated", NotRotated};
            reportBatch(drop, reply, texts, qtTrId(texts.success, succeeded), succeeded, failed, total - succeeded,
                        trashed, reasons);
        });
    });
}

void ImageActions::stripMetadata(const DropPtr &drop, const DropPayload &payload, const ActionReply &reply)
{
    const Input input = inputOf(payload);
    if (!drop || input == Input::Nothing) {
        Korvane::finishOnMain(reply, Korvane::Outcome::NothingToReport);
        return;
    }
    if (input == Input::ImageData) {
        transformData(
            drop, payload.imageData(), reply, "pasteBoardImageMetadataRemoved",
            [](const QByteArray &image) { return ImageManager::removeMetadata(image); }, &ImageManager::metadataHeader);
        return;
    }
    const Destination destination = destinationOf(drop->removeMetadataSettings());
    transformFiles(
        drop, payload.imgFileUrls(), reply,
        {"NImagesRemovedMetadata", "NImagesCanNotRemoveMetadata", "NImagesCanNotRemoveData", MetadataNotRemoved},
        [=](Batch &batch, const QUrl &file) {
            bool broken = false;
            const bool done = processFile(batch, destination, file, QString(), [&](const QString &output) {
                return ImageManager::removeMetadata(file.toLocalFile(), output, &broken);
            });
            if (broken)
                refuse(damaged(file.toLocalFile()), &batch.reasons, &batch.mutex);
            return done;
        },
        true);
}
