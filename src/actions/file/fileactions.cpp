#include "actions/file/fileactions.h"

#include "store/droplistentity.h"
#include "store/copysettings.h"
#include "actions/file/filemanager.h"
#include "store/movesettings.h"
#include "store/renamesettings.h"
#include "intake/droppayload.h"
#include "actions/outputnaming.h"
#include "common/logtext.h"
#include "actions/file/renamejournal.h"
#include "actions/actionslogging.h"

#include <QCoreApplication>
#include <QDate>
#include <QFile>
#include <QLoggingCategory>
#include <QThreadPool>

namespace {

using DropPtr = std::shared_ptr<DropListEntity>;

// The settings of a rename, read on the main thread where the store lives.
struct RenameOptions {
    bool needReplace = false;
    QString searchString;
    QString resultString;
    bool needAdd = false;
    QString addString;
    qint16 addPlaceType = 0;
    bool needCustomize = false;
    qint16 customizeType = 0;
    qint16 customizePlaceType = 0;
    QString customizeString;
    qint64 startNumber = 0;
    QString startLetter;
};

RenameOptions renameOptions(const DropListEntity &drop)
{
    RenameOptions options;
    const auto settings = drop.renameSettings();
    if (!settings)
        return options;
    options.needReplace = settings->needReplace();
    options.searchString = settings->replaceSearchString();
    options.resultString = settings->replaceResultString();
    options.needAdd = settings->needAdd();
    options.addString = settings->addString();
    options.addPlaceType = settings->addPlaceType();
    options.needCustomize = settings->needCustomize();
    options.customizeType = settings->customizeType();
    options.customizePlaceType = settings->customizePlaceType();
    options.customizeString = settings->customizeString();
    options.startNumber = settings->customizeStartNumber();
    options.startLetter = settings->customizeStartLetter();
    return options;
}

// The settings alone decide these failures, so they are found before any file is touched.
Korvane::Error renameOptionsError(const RenameOptions &options)
{
    if (options.needReplace && options.searchString.isEmpty())
        return Korvane::Error(FileActions::EmptySearchString, qtTrId("optionNotSetProperly"));
    if (options.needReplace && options.resultString.isEmpty())
        return Korvane::Error(FileActions::EmptyReplacement, qtTrId("optionNotSetProperly"));
    if (options.needAdd && options.addString.isEmpty())
        return Korvane::Error(FileActions::EmptyAddString, qtTrId("optionNotSetProperly"));
    return Korvane::Error();
}

QString trimmedOfSpacesAndTabs(const QString &text)
{
    qsizetype begin = 0;
    qsizetype end = text.size();
    const auto blank = [](QChar c) { return c == QLatin1Char(' ') || c == QLatin1Char('\t'); };
    while (begin < end && blank(text.at(begin)))
        ++begin;
    while (end > begin && blank(text.at(end - 1)))
        --end;
    return text.mid(begin, end - begin);
}

QString padded(qint64 number, int width)
{
    return QStringLiteral("%1").arg(number, width, 10, QLatin1Char('0'));
}

int digits(qint64 number)
{
    return int(QString::number(number).size());
}

QString attach(const QString &name, const QString &part, qint16 place)
{
    return place == 1 ? part + name : name + part;
}

// The new base name of the k-th of n files.
QString renamedBase(QString base, const RenameOptions &options, qint64 k, qint64 n, const QString &date)
{
    if (options.needReplace)
        base.replace(options.searchString, options.resultString);
    if (options.needAdd)
        base = attach(base, options.addString, options.addPlaceType);
    if (!options.needCustomize || options.customizeType < 0 || options.customizeType > 4)
        return base;
    if (options.customizeType <= 2) {
        const QString custom = trimmedOfSpacesAndTabs(options.customizeString);
        if (!custom.isEmpty())
            base = custom;
    }
    const qint64 number = options.startNumber + k;
    const QString numberText = padded(number, digits(options.startNumber + n - 1));
    const QString letter = OutputNaming::letterAt(options.startLetter, k);
    switch (options.customizeType) {
    case 0: {
        const QString sequence = QLatin1Char('-') + padded(k + 1, digits(n));
        return (options.customizePlaceType == 1 ? date + base : base + date) + sequence;
    }
    case 1:
        return attach(base, numberText, options.customizePlaceType);
    case 2:
        return attach(base, letter, options.customizePlaceType);
    case 3:
        return numberText;
    default:
        return letter;
    }
}

// The new name of a file: the new base name and the old extension (what follows the last ".").
QString renamedName(const QString &name, const RenameOptions &options, qint64 k, qint64 n, const QString &date)
{
    const qsizetype dot = name.lastIndexOf(QLatin1Char('.'));
    const QString base = dot < 0 ? name : name.left(dot);
    const QString extension = dot < 0 ? QString() : name.mid(dot + 1);
    const QString newName = renamedBase(base, options, k, n, date);
    return extension.isEmpty() ? newName : newName + QLatin1Char('.') + extension;
}

// Every file's source and wanted path, worked out before anything moves: one name that
// cannot be used refuses the whole run, so a batch is never half renamed by a bad pattern.
bool plannedPaths(const QList<QUrl> &files, const RenameOptions &options, const QString &date, QList<QByteArray> *sources,
                  QList<QByteArray> *wanted, Korvane::Error *error)
{
    const qint64 n = files.size();
    for (qint64 k = 0; k < n; ++k) {
        const QByteArray source = LocalPaths::withoutTrailingSlashes(FileManager::localPath(files[k]));
        const QByteArray name = LocalPaths::lastComponent(source);
        const QString text = QFile::decodeName(name);
        if (QFile::encodeName(text) != name) {
            *error = Korvane::Error(FileManager::NameNotUtf8, qtTrId("nameNotUtf8").arg(FileManager::displayName(source)));
            return false;
        }
        const QByteArray newName = QFile::encodeName(renamedName(text, options, k, n, date));
        const QString problem = FileManager::nameProblem(newName);
        if (!problem.isEmpty()) {
            *error = Korvane::Error(FileManager::BadName, problem);
            return false;
        }
        sources->append(source);
        wanted->append(LocalPaths::joinPath(LocalPaths::parentOf(source), newName));
    }
    return true;
}

bool hasFiles(const DropPayload &data)
{
    return data.containedFileType() & (FileKindImage | FileKindFolder | FileKindVideo | FileKindOther);
}

void report(const DropPtr &drop, const ActionReply &reply, bool success, const Korvane::Error &error,
            const char *successKey)
{
    Notification content = ActionReply::resultNotification(success, *drop);
    content.body = success ? qtTrId(successKey) : error.localizedDescription();
    reply.notify(content);
    reply(success, error);
}

void reportOnMain(const DropPtr &drop, const ActionReply &reply, bool success, const Korvane::Error &error,
                  const char *successKey)
{
    QMetaObject::invokeMethod(
        qApp, [=] { report(drop, reply, success, error, successKey); }, Qt::QueuedConnection);
}

void transferFiles(const DropPtr &drop, const DropPayload &payload, const ActionReply &reply, bool move)
{
    if (!drop || !hasFiles(payload)) {
        Korvane::finishOnMain(reply, false);
        return;
    }
    const QList<QUrl> files = payload.imgFileUrls() + payload.folderFileUrls() + payload.otherFileUrls() + payload.videoFileUrls();
    QString savePath;
    if (move && drop->moveSettings())
        savePath = drop->moveSettings()->savePath();
    else if (!move && drop->copySettings())
        savePath = drop->copySettings()->savePath();
    const QUrl folderUrl = OutputNaming::savePathUrl(savePath);
    const QString folder = folderUrl.isValid() ? folderUrl.toLocalFile() : QString();

    QThreadPool::globalInstance()->start([drop, reply, files, folder, move] {
        int done = 0;
        for (const QUrl &file : files) {
            Korvane::Error error;
            if (move ? FileManager::moveFile(file, folder, &error) : FileManager::copyFile(file, folder, &error))
                ++done;
            else
                qCWarning(lcFiles, "%s %s: %s", move ? "move" : "copy",
                          qUtf8Printable(LogText::summary(FileManager::localPath(file), lcFiles())),
                          qUtf8Printable(LogText::summary(error.localizedDescription(), lcFiles())));
        }
        Korvane::Error error;
        if (done == 0)
            error = move ? Korvane::Error(FileActions::MoveFolderFailed, qtTrId("MoveFolderFailed"))
                         : Korvane::Error(FileActions::CopyFolderFailed, qtTrId("CopyFolderFailed"));
        reportOnMain(drop, reply, done > 0, error, move ? "MoveFolderSucceed" : "CopyFolderSucceed");
    });
}

} // namespace

void FileActions::moveFiles(const std::shared_ptr<DropListEntity> &drop, const DropPayload &payload, const ActionReply &reply)
{
    transferFiles(drop, payload, reply, true);
}

void FileActions::copyFiles(const std::shared_ptr<DropListEntity> &drop, const DropPayload &payload, const ActionReply &reply)
{
    transferFiles(drop, payload, reply, false);
}

void FileActions::renameFiles(const std::shared_ptr<DropListEntity> &drop, const DropPayload &payload, const ActionReply &reply)
{
    if (!drop || !hasFiles(payload)) {
        Korvane::finishOnMain(reply, false);
        return;
    }
    const RenameOptions options = renameOptions(*drop);
    const Korvane::Error optionsError = renameOptionsError(options);
    if (!optionsError.isNull()) {
        Notification content = ActionReply::resultNotification(false, *drop);
        content.body = optionsError.localizedDescription();
        reply.notify(content);
        Korvane::finishOnMain(reply, false, optionsError);
        return;
    }
    const QList<QUrl> files = payload.allFileUrls();
    const QString tempFolder = FileManager::tempFolderPath();

    QThreadPool::globalInstance()->start([drop, reply, files, options, tempFolder] {
        const QString date = QDate::currentDate().toString(QStringLiteral("yyyy-MM-dd"));
        QList<QByteArray> sources;
        QList<QByteArray> wanted;
        Korvane::Error refusal;
        if (!plannedPaths(files, options, date, &sources, &wanted, &refusal)) {
            qCInfo(lcFiles, "rename refused: %s",
                   qUtf8Printable(LogText::summary(refusal.localizedDescription(), lcFiles())));
            reportOnMain(drop, reply, false, refusal, "renameSucceed");
            return;
        }
        Korvane::Error error;
        const QString temp = FileManager::initTempFolder(&error, tempFolder);
        RenameJournal journal(temp);
        const bool begun = !temp.isEmpty() && journal.begin(&error);
        if (!begun)
            qCWarning(lcFiles, "cannot start a rename: %s", qUtf8Printable(error.localizedDescription()));
        int done = 0;
        for (qsizetype k = 0; begun && k < sources.size(); ++k) {
            QString staged;
            Korvane::Error fileError;
            if (!FileManager::renameFile(sources[k], wanted[k], &staged, &fileError, journal))
                qCWarning(lcFiles, "rename %s: %s", qUtf8Printable(LogText::summary(sources[k], lcFiles())),
                          qUtf8Printable(LogText::summary(fileError.localizedDescription(), lcFiles())));
            else if (staged.isEmpty())
                ++done;
        }
        if (begun) {
            done += journal.stageAll();
            journal.finishAll();
            journal.end();
        }
        const Korvane::Error failure = done > 0 ? Korvane::Error() : Korvane::Error(RenameFailed, qtTrId("renameFailed"));
        reportOnMain(drop, reply, done > 0, failure, "renameSucceed");
    });
}
