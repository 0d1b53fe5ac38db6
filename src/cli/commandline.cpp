#include "cli/commandline.h"

#include "store/customurl.h"
#include "store/actiontransfer.h"
#include "store/droplistentity.h"
#include "store/renamesettings.h"
#include "intake/actioncatalog.h"
#include "cli/clihelp.h"
#include "cli/cliinput.h"
#include "cli/filemanagerintegration.h"
#include "store/actionstore.h"
#include "intake/droppayload.h"
#include "actions/actionjob.h"
#include "platform/clipboard.h"
#include "actions/actionrunner.h"
#include "store/storecontext.h"
#include "platform/platform.h"
#include "store/storeschema.h"
#include "platform/singleinstance.h"
#include "actions/text/textactions.h"
#include "actions/file/filemanager.h"
#include "platform/shortcuttext.h"
#include "store/customurlsettings.h"
#include "store/uploadhistory.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSaveFile>

#include <algorithm>
#include <cstdio>
#include <limits>

namespace Korvane {

namespace {

// A control character in a title or a file name would reach the terminal as a command
// (ESC [2J clears it): it is shown as an escape instead. Line breaks and tabs stay only in
// messages, where they cannot split a listed record.
QString shown(const QString &text, bool keepLines = false)
{
    QString result;
    result.reserve(text.size());
    for (const QChar c : text) {
        const char16_t u = c.unicode();
        if (keepLines && (u == u'\n' || u == u'\t'))
            result += c;
        else if (u == 0x1b)
            result += QLatin1String("\\e");
        else if (u < 0x20 || (u >= 0x7f && u <= 0x9f))
            result += QStringLiteral("\\x%1").arg(unsigned(u), 2, 16, QLatin1Char('0'));
        else
            result += c;
    }
    return result;
}

void printOut(const QString &text)
{
    const QByteArray bytes = text.toUtf8();
    std::fwrite(bytes.constData(), 1, size_t(bytes.size()), stdout);
}

void printErr(const QString &text)
{
    const QByteArray bytes = shown(text, true).toUtf8();
    std::fwrite(bytes.constData(), 1, size_t(bytes.size()), stderr);
}

// JSON escapes the C0 controls itself; DEL and the C1 controls (U+0080 to U+009F, after the
// lead byte 0xC2 in UTF-8) are escaped here, the same way.
QByteArray escapedJson(const QByteArray &json)
{
    QByteArray result;
    result.reserve(json.size());
    for (qsizetype i = 0; i < json.size(); ++i) {
        const uchar b = uchar(json.at(i));
        if (b == 0x7f) {
            result += "\\u007f";
        } else if (b == 0xc2 && i + 1 < json.size() && uchar(json.at(i + 1)) >= 0x80 && uchar(json.at(i + 1)) <= 0x9f) {
            result += "\\u00" + QByteArray::number(uchar(json.at(i + 1)), 16);
            ++i;
        } else {
            result += char(b);
        }
    }
    return result;
}

void printJson(const QJsonDocument &document)
{
    const QByteArray bytes = escapedJson(document.toJson(QJsonDocument::Indented));
    std::fwrite(bytes.constData(), 1, size_t(bytes.size()), stdout);
}

QString arg(const QByteArray &bytes)
{
    return QString::fromLocal8Bit(bytes);
}

// Removes a flag from the arguments; true when it was there.
bool takeFlag(QList<QByteArray> *args, const char *flag)
{
    return args->removeAll(QByteArray(flag)) > 0;
}

// Removes every "OPTION VALUE" pair; false when an option lacks its value.
bool takeOption(QList<QByteArray> *args, const char *option, QList<QByteArray> *values)
{
    for (int i = 0; i < args->size();) {
        if (args->at(i) != option) {
            ++i;
            continue;
        }
        if (i + 1 >= args->size())
            return false;
        values->append(args->at(i + 1));
        args->remove(i, 2);
    }
    return true;
}

bool wantsHelp(const QList<QByteArray> &args)
{
    return args.contains("--help") || args.contains("-h");
}

QString hotKeyText(const DropListEntity &drop, ShortcutText::Language language)
{
    return ShortcutText::text(quint32(drop.keyCode()), quint32(drop.modifiers()), QString(), language);
}

QJsonObject actionJson(const DropListEntity &drop)
{
    return QJsonObject{
        {QStringLiteral("dropID"), drop.dropID()},
        {QStringLiteral("catalog"), drop.catalog()},
        {QStringLiteral("type"), drop.type()},
        {QStringLiteral("index"), drop.index()},
        {QStringLiteral("title"), drop.title()},
        {QStringLiteral("keyCode"), drop.keyCode()},
        {QStringLiteral("modifiers"), drop.modifiers()},
        {QStringLiteral("hotkey"), drop.hasHotKey() ? QJsonValue(hotKeyText(drop, ShortcutText::Language::Portable)) : QJsonValue()},
        {QStringLiteral("supportTypes"), drop.supportTypes()},
    };
}

QString actionLine(const DropListEntity &drop)
{
    const QString hotkey = drop.hasHotKey() ? hotKeyText(drop, ShortcutText::Language::Native) : QStringLiteral("-");
    return QStringLiteral("%1\t%2\t%3\t%4\t%5\t%6\n")
        .arg(drop.dropID())
        .arg(drop.catalog())
        .arg(drop.type())
        .arg(drop.index())
        .arg(shown(drop.title()), hotkey);
}

QString urlText(const QUrl &url)
{
    return url.isLocalFile() ? url.toLocalFile() : url.toString();
}

QJsonArray pathsJson(const QList<QUrl> &urls)
{
    QJsonArray array;
    for (const QUrl &url : urls)
        array.append(urlText(url));
    return array;
}

// The actions the popover lists for the data just classified.
// Codes of the refusals the command line makes itself, before or instead of an action's own.
enum CliErrorCode {
    CliErrorUnknownAction = 1,
    CliErrorInputNotTaken = 2,
    CliErrorAmbiguous = 3,
    CliErrorCannotRun = 4,
    CliErrorNothingDone = 5,
};

Error cliError(CliErrorCode code, const QString &message)
{
    return Error(code, message, QStringLiteral("com.tarnwel.korvane.CommandLine"));
}

// The one object "run --json" prints. A success can carry an error too (an upload that stored
// some files reports the rest); a failure that gave no error has "error": null.
QJsonDocument runResultJson(bool success, const Error &failure, const QJsonValue &notification,
                            const QJsonValue &pasteboard)
{
    QJsonValue error;
    if (!failure.isNull()) {
        error = QJsonObject{{QStringLiteral("domain"), failure.domain()},
                            {QStringLiteral("code"), failure.code()},
                            {QStringLiteral("message"), failure.localizedDescription()}};
    }
    const QJsonObject object{{QStringLiteral("success"), success},
                             {QStringLiteral("error"), error},
                             {QStringLiteral("notification"), notification},
                             {QStringLiteral("pasteboard"), pasteboard}};
    return QJsonDocument(object);
}

QJsonValue nullable(const QString &text)
{
    return text.isNull() ? QJsonValue() : QJsonValue(text);
}

} // namespace

bool CommandLine::isCommand(const QByteArray &firstArgument)
{
    // Any word is a command (an unknown one is a usage error); other options are Qt's own
    // options for the tray application, such as -platform.
    if (firstArgument == "--help" || firstArgument == "-h" || firstArgument == "--version")
        return true;
    return !firstArgument.isEmpty() && !firstArgument.startsWith('-');
}

bool CommandLine::isTrayRequest(const QList<QByteArray> &args)
{
    return !args.isEmpty() && (args.first() == "show" || args.first() == "window" || args.first() == "drop");
}

bool CommandLine::needsDesktop(const QList<QByteArray> &args)
{
    QString tab;
    return preferencesRequest(args, &tab) || isTrayRequest(args)
        || (!args.isEmpty() && args.first() == "classify" && args.contains("--clipboard"));
}

bool CommandLine::trayRequest(const QList<QByteArray> &args, TrayRequest *request, int *status)
{
    const QString command = arg(args.first());
    QList<QByteArray> rest = args.mid(1);
    if (wantsHelp(rest)) {
        printOut(CliHelp::forCommand(command));
        *status = Success;
        return false;
    }
    if (command == QLatin1String("window")) {
        if (!rest.isEmpty()) {
            *status = usageError(QStringLiteral("window takes no argument '%1'").arg(arg(rest.first())), command);
            return false;
        }
        request->kind = TrayRequest::DropWindow;
        return true;
    }
    if (command == QLatin1String("show")) {
        QList<QByteArray> actions;
        if (!takeOption(&rest, "--action", &actions) || actions.size() > 1) {
            *status = usageError(QStringLiteral("--action needs one ACTION (a dropID or an exact title)"), command);
            return false;
        }
        if (!rest.isEmpty()) {
            *status = usageError(QStringLiteral("show takes no argument '%1'").arg(arg(rest.first())), command);
            return false;
        }
        if (actions.isEmpty()) {
            request->kind = TrayRequest::Show;
            return true;
        }
        if (!openStore()) {
            *status = Failure;
            return false;
        }
        // The running instance reads the clipboard; here every action could still take it.
        Error error;
        const DropListEntityPtr drop = findAction(arg(actions.first()), m_store->getAllDrops(), &error);
        if (!drop) {
            printErr(QStringLiteral("korvane: %1\n").arg(error.localizedDescription()));
            *status = Failure;
            return false;
        }
        request->kind = TrayRequest::ShowAction;
        request->dropID = drop->dropID();
        return true;
    }
    CliInput input;
    QString error;
    if (!input.parse(&rest, &error)) {
        *status = usageError(error, command);
        return false;
    }
    if (!rest.isEmpty()) {
        *status = usageError(QStringLiteral("unknown option '%1'").arg(arg(rest.first())), command);
        return false;
    }
    const QList<TransferItem> &items = input.pasteboard().items();
    qint64 bytes = 0;
    for (const TransferItem &item : items) {
        for (const TransferType type : {TransferType::PNG, TransferType::TIFF,
                                        TransferType::String, TransferType::RTF})
            bytes += item.dataForType(type).size();
    }
    if (items.size() > SingleInstance::MaximumDropItems || bytes > SingleInstance::MaximumDropBytes) {
        printErr(QStringLiteral("korvane: a drop takes at most %1 items and %2 MiB of text and image data; "
                                "run the action with 'korvane run' instead\n")
                     .arg(SingleInstance::MaximumDropItems)
                     .arg(SingleInstance::MaximumDropBytes / (1024 * 1024)));
        *status = Failure;
        return false;
    }
    request->kind = input.isEmpty() ? TrayRequest::Start : TrayRequest::Drop;
    request->pasteboard = input.pasteboard();
    return true;
}

bool CommandLine::preferencesRequest(const QList<QByteArray> &args, QString *tab)
{
    if (args.isEmpty() || args.first() != "preferences")
        return false;
    QByteArray name = "editor";
    if (args.size() == 3 && args.at(1) == "--tab")
        name = args.at(2);
    else if (args.size() == 2 && args.at(1).startsWith("--tab="))
        name = args.at(1).mid(6);
    else if (args.size() != 1)
        return false;
    if (name != "editor" && name != "general" && name != "about")
        return false;
    *tab = QString::fromLatin1(name);
    return true;
}

int CommandLine::preferences(const QList<QByteArray> &args)
{
    // Reached only with arguments preferencesRequest refused.
    const QString command = QStringLiteral("preferences");
    QByteArray name;
    if (args.size() == 2 && args.first() == "--tab")
        name = args.at(1);
    else if (args.size() == 1 && args.first().startsWith("--tab="))
        name = args.first().mid(6);
    else if (args.size() == 1 && args.first() == "--tab")
        return usageError(QStringLiteral("--tab needs a tab: editor, general or about"), command);
    else
        return usageError(QStringLiteral("preferences takes only --tab editor|general|about"), command);
    return usageError(QStringLiteral("there is no tab '%1' (editor, general or about)").arg(arg(name)), command);
}

int CommandLine::usageError(const QString &reason, const QString &command)
{
    const QString hint = command.isEmpty() ? QStringLiteral("korvane --help") : QStringLiteral("korvane %1 --help").arg(command);
    printErr(QStringLiteral("korvane: %1 (see '%2')\n").arg(reason, hint));
    return UsageError;
}

bool CommandLine::openStore()
{
    m_store = ActionStore::instance();
    if (!m_store->openStore()) {
        printErr(QStringLiteral("korvane: the action store cannot be opened; it was left as it is (%1)\n").arg(m_store->storeError()));
        return false;
    }
    FileManager::recoverRenames();
    if (!m_store->initializationDefaultData()) {
        printErr(QStringLiteral("korvane: %1\n").arg(m_store->lastWriteError()));
        return false;
    }
    return true;
}

int CommandLine::exec(const QList<QByteArray> &args)
{
    if (args.isEmpty() || args.first() == "--help" || args.first() == "-h" || args.first() == "help") {
        printOut(CliHelp::general());
        return Success;
    }
    if (args.first() == "--version") {
        printOut(QStringLiteral("korvane %1\n").arg(QCoreApplication::applicationVersion()));
        return Success;
    }
    const QByteArray command = args.first();
    QList<QByteArray> rest = args.mid(1);
    const QString help = CliHelp::forCommand(arg(command));
    if (help.isEmpty())
        return usageError(QStringLiteral("unknown command '%1'").arg(arg(command)));
    if (wantsHelp(rest)) {
        printOut(help);
        return Success;
    }
    if (command == "list")
        return list(rest);
    if (command == "classify")
        return classify(rest);
    if (command == "kinds")
        return kinds(rest);
    if (command == "run")
        return run(rest);
    if (command == "add")
        return add(rest);
    if (command == "set")
        return set(rest);
    if (command == "preferences")
        return preferences(rest);
    if (command == "export")
        return exportActions(rest);
    if (command == "import")
        return importActions(rest);
    if (command == "history")
        return history(rest);
    if (command == "integrate")
        return integrate(rest);
    if (isTrayRequest(args)) {
        // Reached only where no tray program could take it over.
        printErr(QStringLiteral("korvane: %1 needs the tray program korvane-desktop\n").arg(arg(command)));
        return Failure;
    }
    return remove(rest);
}

int CommandLine::list(QList<QByteArray> args)
{
    const bool json = takeFlag(&args, "--json");
    if (!args.isEmpty())
        return usageError(QStringLiteral("list takes no argument '%1'").arg(arg(args.first())), QStringLiteral("list"));
    if (!openStore())
        return Failure;

    QList<DropListEntityPtr> drops = m_store->getDropsByCatalog(0) + m_store->getDropsByCatalog(1);
    if (json) {
        QJsonArray array;
        for (const auto &drop : drops)
            array.append(actionJson(*drop));
        printJson(QJsonDocument(array));
        return Success;
    }
    printOut(QStringLiteral("dropID\tcatalog\ttype\tindex\ttitle\thotkey\n"));
    for (const auto &drop : drops)
        printOut(actionLine(*drop));
    return Success;
}

int CommandLine::kinds(QList<QByteArray> args)
{
    const bool json = takeFlag(&args, "--json");
    if (!args.isEmpty())
        return usageError(QStringLiteral("kinds takes no argument '%1'").arg(arg(args.first())), QStringLiteral("kinds"));
    QJsonArray array;
    if (!json)
        printOut(QStringLiteral("name\tcatalog\ttype\ttitle\n"));
    for (const qint64 catalog : {0, 1}) {
        for (int type = 0; type < ActionCatalog::typeCount(catalog); ++type) {
            const QString name = QLatin1String(ActionCatalog::entry(catalog, type)->name);
            const QString title = ActionCatalog::localizedTitle(catalog, type);
            if (!json) {
                printOut(QStringLiteral("%1\t%2\t%3\t%4\n").arg(name).arg(catalog).arg(type).arg(title));
                continue;
            }
            array.append(QJsonObject{{QStringLiteral("name"), name},
                                     {QStringLiteral("catalog"), catalog},
                                     {QStringLiteral("type"), type},
                                     {QStringLiteral("title"), title}});
        }
    }
    if (json)
        printJson(QJsonDocument(array));
    return Success;
}

int CommandLine::classify(QList<QByteArray> args)
{
    const bool json = takeFlag(&args, "--json");
    const bool clipboard = takeFlag(&args, "--clipboard");
    CliInput input;
    QString error;
    if (!input.parse(&args, &error) && !input.isUnreadable())
        return usageError(error, QStringLiteral("classify"));
    if (input.isUnreadable()) {
        printErr(QStringLiteral("korvane: %1\n").arg(error));
        return Failure;
    }
    if (!args.isEmpty())
        return usageError(QStringLiteral("unknown option '%1'").arg(arg(args.first())), QStringLiteral("classify"));
    if (clipboard && !input.isEmpty())
        return usageError(QStringLiteral("--clipboard takes no INPUT"), QStringLiteral("classify"));
    if (!openStore())
        return Failure;

    const DropPayload payload = DropPayload::classify(clipboard ? Platform::clipboard()->pasteboard() : input.pasteboard());
    const QList<DropListEntityPtr> actions = m_store->dropsOffering(payload);

    if (json) {
        QJsonArray actionArray;
        for (const auto &drop : actions)
            actionArray.append(actionJson(*drop));
        const QJsonObject object{
            {QStringLiteral("dataCatalog"), payload.dataCatalog()},
            {QStringLiteral("dataSubCatalog"), payload.dataSubCatalog()},
            {QStringLiteral("containedFileType"), qint64(payload.containedFileType())},
            {QStringLiteral("itemsCount"), payload.itemsCount()},
            {QStringLiteral("imgFileUrls"), pathsJson(payload.imgFileUrls())},
            {QStringLiteral("folderFileUrls"), pathsJson(payload.folderFileUrls())},
            {QStringLiteral("videoFileUrls"), pathsJson(payload.videoFileUrls())},
            {QStringLiteral("otherFileUrls"), pathsJson(payload.otherFileUrls())},
            {QStringLiteral("allFileUrls"), pathsJson(payload.allFileUrls())},
            {QStringLiteral("textString"), nullable(payload.textString())},
            {QStringLiteral("imageData"), payload.imageData().isNull() ? QJsonValue() : QJsonValue(qint64(payload.imageData().size()))},
            {QStringLiteral("actions"), actionArray},
        };
        printJson(QJsonDocument(object));
        return Success;
    }

    static const char *const catalogs[] = {"nothing recognised", "text", "image data or files"};
    printOut(QStringLiteral("data: %1 (catalog %2, sub-catalog %3), %4 %5, file kinds %6\n")
                 .arg(QString::fromLatin1(catalogs[qBound(qint64(0), payload.dataCatalog(), qint64(2))]))
                 .arg(payload.dataCatalog())
                 .arg(payload.dataSubCatalog())
                 .arg(payload.itemsCount())
                 .arg(payload.itemsCount() == 1 ? QStringLiteral("item") : QStringLiteral("items"))
                 .arg(payload.containedFileType()));
    const struct {
        const char *name;
        const QList<QUrl> &urls;
    } lists[] = {{"images", payload.imgFileUrls()}, {"folders", payload.folderFileUrls()}, {"videos", payload.videoFileUrls()}, {"others", payload.otherFileUrls()}};
    for (const auto &l : lists) {
        for (const QUrl &url : l.urls)
            printOut(QStringLiteral("%1\t%2\n").arg(QString::fromLatin1(l.name), shown(urlText(url))));
    }
    if (!payload.imageData().isNull())
        printOut(QStringLiteral("image data\t%1 bytes\n").arg(payload.imageData().size()));
    printOut(QStringLiteral("actions:\n"));
    for (const auto &drop : actions)
        printOut(actionLine(*drop));
    return Success;
}

std::shared_ptr<DropListEntity> CommandLine::findAction(const QString &name, const QList<DropListEntityPtr> &fitting,
                                                        Error *error)
{
    bool numeric = false;
    const qint32 id = name.toInt(&numeric);
    DropListEntityPtr byID = numeric ? m_store->fetchDropWithID(id) : nullptr;
    QList<DropListEntityPtr> matches;
    if (byID) {
        matches.append(byID);
    } else {
        for (const auto &drop : m_store->getAllDrops()) {
            if (drop->title() == name)
                matches.append(drop);
        }
    }
    if (matches.isEmpty()) {
        *error = cliError(CliErrorUnknownAction,
                          QStringLiteral("no action has the dropID or title '%1' (see 'korvane list')").arg(name));
        return nullptr;
    }
    // A title several actions share names the one whose kind takes the input.
    QList<DropListEntityPtr> taking;
    for (const auto &drop : matches) {
        if (fitting.contains(drop))
            taking.append(drop);
    }
    if (taking.size() == 1)
        return taking.first();
    if (taking.isEmpty()) {
        *error = cliError(CliErrorInputNotTaken, matches.size() == 1 ? QStringLiteral("\"%1\" does not take this input (see 'korvane classify')").arg(matches.first()->title()) : QStringLiteral("none of the %1 actions titled '%2' takes this input (see 'korvane classify')").arg(matches.size()).arg(name));
        return nullptr;
    }
    QStringList ids;
    for (const auto &drop : taking)
        ids.append(QString::number(drop->dropID()));
    *error = cliError(CliErrorAmbiguous, QStringLiteral("%1 actions titled '%2' take this input; name one by its dropID: %3").arg(taking.size()).arg(name, ids.join(QLatin1String(", "))));
    return nullptr;
}

int CommandLine::run(QList<QByteArray> args)
{
    const bool json = takeFlag(&args, "--json");
    const bool showProgress = takeFlag(&args, "--progress");
    QList<QByteArray> outs;
    if (!takeOption(&args, "--out", &outs))
        return usageError(QStringLiteral("--out needs a file"), QStringLiteral("run"));
    if (outs.size() > 1)
        return usageError(QStringLiteral("--out is given more than once"), QStringLiteral("run"));
    if (args.isEmpty() || args.first().startsWith("--"))
        return usageError(QStringLiteral("run needs an ACTION (a dropID or an exact title)"), QStringLiteral("run"));
    const QString actionName = arg(args.takeFirst());
    // A text file for the Chinese conversion is converted in pieces, straight to the output,
    // so that a long one is never held whole; any other action, and --json, which prints the
    // result inside its object, read it as usual.
    if (!json && args.size() == 2 && args.at(0) == "--text-file" && args.at(1) != "-") {
        if (!openStore())
            return Failure;
        Error refusal;
        const DropListEntityPtr drop = findAction(actionName, m_store->dropsOffering(DropPayload::fromText(QString())), &refusal);
        if (drop && TextActions::isTraditionalConversion(*drop))
            return convertTextFile(drop, QFile::decodeName(args.at(1)));
    }
    CliInput input;
    QString error;
    if (!input.parse(&args, &error) && !input.isUnreadable())
        return usageError(error, QStringLiteral("run"));
    if (input.isUnreadable()) {
        printErr(QStringLiteral("korvane: %1\n").arg(error));
        return Failure;
    }
    if (!args.isEmpty())
        return usageError(QStringLiteral("unknown option '%1'").arg(arg(args.first())), QStringLiteral("run"));
    if (!m_store && !openStore())
        return Failure;
    // Refusals before the action runs print the same one object under --json as a run does.
    const auto refuse = [json](const Error &failure) {
        if (json)
            printJson(runResultJson(false, failure, QJsonValue(), QJsonValue()));
        else
            printErr(QStringLiteral("korvane: %1\n").arg(failure.localizedDescription()));
        return Failure;
    };

    const DropPayload payload = DropPayload::classify(input.isEmpty() ? Platform::clipboard()->pasteboard() : input.pasteboard());
    Error refusal;
    const DropListEntityPtr drop = findAction(actionName, m_store->dropsOffering(payload), &refusal);
    if (!drop)
        return refuse(refusal);
    bool reportsResult = false;
    if (!ActionRunner::canRun(*drop, &reportsResult)) {
        return refuse(cliError(CliErrorCannotRun, QStringLiteral("\"%1\" (%2) is an action this build of Korvane cannot run yet").arg(drop->title(), ActionCatalog::localizedTitle(drop->catalog(), drop->type()))));
    }

    // The result is ours to print: the headless process has no clipboard or notifications
    // a user would see.
    ActionResult result;
    bool finished = false;
    QEventLoop loop;
    ActionJob *job = ActionRunner::start(drop, payload, ActionReply::Delivery::ToCaller);
    if (showProgress) {
        QObject::connect(job, &ActionJob::progressed, job, [](qint64 done, qint64 total) {
            printErr(QStringLiteral("progress %1/%2\n").arg(done).arg(total));
        });
    }
    QObject::connect(job, &ActionJob::finished, job, [&](const ActionResult &ended) {
        finished = true;
        result = ended;
        loop.quit();
    });
    if (!finished)
        loop.exec();
    // A synchronous action is done when it returns and has no failure to tell; any other
    // action with nothing to report found nothing to work on.
    if (result.outcome == Outcome::NothingToReport && reportsResult)
        return refuse(cliError(CliErrorNothingDone, QStringLiteral("\"%1\" found nothing to work on in the input").arg(drop->title())));
    const bool success = result.outcome != Outcome::Failed;
    const Error failure = result.error;

    QJsonValue notificationJson;
    if (!result.notifications.isEmpty()) {
        const Notification &content = result.notifications.last();
        notificationJson = QJsonObject{{QStringLiteral("title"), content.title}, {QStringLiteral("body"), content.body}};
        if (!json)
            printErr(QStringLiteral("%1: %2\n").arg(content.title, content.body));
    }

    QJsonValue pasteboardJson;
    switch (result.content) {
    case ActionResult::Content::Text:
        pasteboardJson = QJsonObject{{QStringLiteral("text"), result.text}};
        if (!json)
            printOut(result.text + QLatin1Char('\n'));
        break;
    case ActionResult::Content::ImageData: {
        pasteboardJson = QJsonObject{{QStringLiteral("image"),
                                      QJsonObject{{QStringLiteral("type"), result.imageMimeType},
                                                  {QStringLiteral("length"), qint64(result.imageData.size())}}}};
        if (!outs.isEmpty()) {
            QFile out(QFile::decodeName(outs.first()));
            if (!out.open(QIODevice::WriteOnly) || out.write(result.imageData) != result.imageData.size()) {
                printErr(QStringLiteral("korvane: cannot write %1: %2\n").arg(out.fileName(), out.errorString()));
                return Failure;
            }
        } else if (!json) {
            printErr(QStringLiteral("korvane: the result is %1 bytes of %2; write it with --out FILE\n")
                         .arg(result.imageData.size())
                         .arg(result.imageMimeType));
        }
        break;
    }
    case ActionResult::Content::Objects: {
        QJsonArray urls;
        for (const QVariant &object : result.objects) {
            if (object.typeId() != QMetaType::QUrl)
                continue;
            urls.append(urlText(object.toUrl()));
            if (!json)
                printOut(shown(urlText(object.toUrl())) + QLatin1Char('\n'));
        }
        pasteboardJson = QJsonObject{{QStringLiteral("urls"), urls}};
        break;
    }
    case ActionResult::Content::None:
        break;
    }

    if (json) {
        printJson(runResultJson(success, failure, notificationJson, pasteboardJson));
    } else if (!success && notificationJson.isNull()) {
        printErr(QStringLiteral("korvane: \"%1\" failed: %2\n").arg(drop->title(), failure.localizedDescription()));
    }
    return success ? Success : Failure;
}

int CommandLine::convertTextFile(const DropListEntityPtr &drop, const QString &path)
{
    QFile input;
    QString error;
    if (!CliInput::openTextFile(path, &input, &error)) {
        printErr(QStringLiteral("korvane: %1\n").arg(error));
        return Failure;
    }
    QFile output;
    std::fflush(stdout);
    output.open(stdout, QIODevice::WriteOnly);
    const ActionReply reply(Completion(), ActionReply::Delivery::ToCaller);
    const bool success = TextActions::traditionalConversionTextStream(drop, input, output, reply) && output.write("\n") == 1;
    output.close();
    if (!reply.result().notifications.isEmpty()) {
        const Notification &content = reply.result().notifications.last();
        printErr(QStringLiteral("%1: %2\n").arg(content.title, content.body));
    }
    return success ? Success : Failure;
}

bool CommandLine::applyAssignment(const DropListEntityPtr &drop, const QString &assignment, QString *error)
{
    const int plus = assignment.indexOf(QLatin1String("+="));
    const int equals = assignment.indexOf(QLatin1Char('='));
    if (plus > 0 && plus < equals) {
        const QString field = assignment.left(plus);
        if (field != QLatin1String("urls")) {
            *error = QStringLiteral("only urls takes +=, not %1").arg(field);
            return false;
        }
        if (!drop->customUrlSettings()) {
            *error = QStringLiteral("\"%1\" is not a custom-URL action; it has no urls").arg(drop->title());
            return false;
        }
        m_store->addNewCustomUrl(drop, assignment.mid(plus + 2));
        return true;
    }
    if (equals <= 0) {
        *error = QStringLiteral("'%1' is not FIELD=VALUE").arg(assignment);
        return false;
    }
    QString field = assignment.left(equals);
    const QString value = assignment.mid(equals + 1);
    if (field == QLatin1String("hotkey") || field == QLatin1String("drop.hotkey"))
        return applyHotKey(drop, value, error);
    const std::shared_ptr<StoredRecord> settings = drop->settings();

    bool onRecord = field.startsWith(QLatin1String("drop."));
    if (onRecord)
        field = field.mid(5);
    else
        onRecord = !settings || settings->entity().attributeIndex(field) < 0;

    if (onRecord) {
        static const QStringList editable{QStringLiteral("title"), QStringLiteral("index"), QStringLiteral("keyCode"),
                                          QStringLiteral("modifiers"), QStringLiteral("supportTypes")};
        if (drop->entity().attributeIndex(field) >= 0 && !editable.contains(field)) {
            *error = QStringLiteral("%1 of an action is fixed when it is made").arg(field);
            return false;
        }
        if (field == QLatin1String("index")) {
            bool ok = false;
            const int position = value.toInt(&ok);
            if (!ok || position < 0) {
                *error = QStringLiteral("'%1' is not a valid value for index (a place from 0)").arg(value);
                return false;
            }
            m_store->placeDrop(drop, position);
            return true;
        }
        if (!editable.contains(field)) {
            QStringList fields = editable;
            if (settings) {
                for (const auto &attribute : settings->entity().attributes)
                    fields.append(attribute.name);
            }
            *error = QStringLiteral("\"%1\" has no field %2; its fields: %3").arg(drop->title(), field, fields.join(QLatin1String(", ")));
            return false;
        }
        if (!drop->setValue(field, value)) {
            *error = QStringLiteral("'%1' is not a valid value for %2").arg(value, field);
            return false;
        }
        return true;
    }
    if (settings->entity().name == RenameSettings::entityName()) {
        *error = RenameSettings::namePartProblem(field, value);
        if (!error->isEmpty())
            return false;
    }
    if (!settings->setValue(field, value)) {
        *error = QStringLiteral("'%1' is not a valid value for %2 of %3").arg(value, field, settings->entity().name);
        return false;
    }
    return true;
}

bool CommandLine::applyHotKey(const DropListEntityPtr &drop, const QString &text, QString *error)
{
    const std::optional<ShortcutText::Shortcut> shortcut = ShortcutText::parse(text);
    if (!shortcut) {
        *error = QStringLiteral("'%1' is not a shortcut; write one as the desktop's keyboard settings do, "
                                "such as Ctrl+Alt+K or Super+D (an empty hotkey= removes it)")
                     .arg(text);
        return false;
    }
    if ((shortcut->keyCode != 0 || shortcut->modifiers != 0) && !ShortcutText::isBindable(*shortcut)) {
        *error = QStringLiteral("'%1' cannot be a global shortcut: it needs Ctrl, Alt or Super, unless the key is "
                                "a function key (F1 to F20)")
                     .arg(text);
        return false;
    }
    if (shortcut->modifiers != 0) {
        const DropListEntityPtr holder = m_store->fetchDropWith(shortcut->keyCode, shortcut->modifiers);
        if (holder && holder->dropID() != drop->dropID()) {
            *error = QStringLiteral("'%1' is already the hotkey of \"%2\" (%3)").arg(text, holder->title()).arg(holder->dropID());
            return false;
        }
    }
    drop->setKeyCode(qint32(shortcut->keyCode));
    drop->setModifiers(qint32(shortcut->modifiers));
    return true;
}

int CommandLine::add(QList<QByteArray> args)
{
    QList<QByteArray> indexes, titles, assignments;
    if (!takeOption(&args, "--index", &indexes) || !takeOption(&args, "--title", &titles) || !takeOption(&args, "--set", &assignments))
        return usageError(QStringLiteral("--index, --title and --set need a value"), QStringLiteral("add"));
    if (args.size() != 1 && args.size() != 2)
        return usageError(QStringLiteral("add needs a KIND, or CATALOG and TYPE"), QStringLiteral("add"));
    qint64 catalog = -1;
    qint64 type = -1;
    if (args.size() == 1) {
        const ActionCatalog::Entry *kind = ActionCatalog::entryNamed(arg(args.first()), &catalog);
        if (!kind)
            return usageError(QStringLiteral("no action kind is named '%1' (see 'korvane kinds')").arg(arg(args.first())), QStringLiteral("add"));
        type = kind->type;
    } else {
        bool okCatalog = false, okType = false;
        catalog = arg(args.at(0)).toLongLong(&okCatalog);
        type = arg(args.at(1)).toLongLong(&okType);
        if (!okCatalog || !okType || !ActionCatalog::isKnown(catalog, type))
            return usageError(QStringLiteral("no action kind has catalog %1 and type %2 (see 'korvane kinds')")
                                  .arg(arg(args.at(0)), arg(args.at(1))),
                              QStringLiteral("add"));
    }
    qint32 index = -1;
    if (!indexes.isEmpty()) {
        bool ok = false;
        index = arg(indexes.last()).toInt(&ok);
        if (!ok || index < 0)
            return usageError(QStringLiteral("--index takes a number from 0"), QStringLiteral("add"));
    }
    if (!openStore())
        return Failure;

    DropListEntityPtr drop;
    QString usage, error;
    // The place is chosen under the write lock: two adds at once get two places.
    const bool written = m_store->write([&](QString *failure) {
        drop = m_store->insertNewDrop(catalog, type, 0);
        m_store->placeDrop(drop, index < 0 ? std::numeric_limits<int>::max() : index);
        if (!titles.isEmpty())
            drop->setTitle(arg(titles.last()));
        for (const QByteArray &assignment : std::as_const(assignments)) {
            if (!applyAssignment(drop, arg(assignment), &usage)) {
                *failure = usage;
                return false;
            }
        }
        return true;
    },
                                        &error);
    if (!usage.isEmpty())
        return usageError(usage, QStringLiteral("add"));
    if (!written) {
        printErr(QStringLiteral("korvane: %1; nothing was added\n").arg(error));
        return Failure;
    }
    printOut(QStringLiteral("%1\n").arg(drop->dropID()));
    return Success;
}

DropListEntityPtr CommandLine::actionByID(const QByteArray &argument, const QString &command, int *status)
{
    bool ok = false;
    const qint32 id = arg(argument).toInt(&ok);
    if (!ok) {
        *status = usageError(QStringLiteral("'%1' is not a dropID").arg(arg(argument)), command);
        return nullptr;
    }
    if (!openStore()) {
        *status = Failure;
        return nullptr;
    }
    DropListEntityPtr drop = m_store->fetchDropWithID(id);
    if (!drop) {
        printErr(QStringLiteral("korvane: no action has the dropID %1 (see 'korvane list')\n").arg(id));
        *status = Failure;
    }
    return drop;
}

int CommandLine::set(QList<QByteArray> args)
{
    if (args.size() < 2)
        return usageError(QStringLiteral("set needs a DROPID and at least one FIELD=VALUE"), QStringLiteral("set"));
    int status = Success;
    const DropListEntityPtr drop = actionByID(args.first(), QStringLiteral("set"), &status);
    if (!drop)
        return status;
    QString usage, error;
    const bool written = m_store->write([&](QString *failure) {
        // Read again under the lock: what another process changed meanwhile stays changed.
        if (!m_store->fetchDropWithID(drop->dropID())) {
            *failure = QStringLiteral("the action was removed meanwhile");
            return false;
        }
        for (const QByteArray &assignment : args.mid(1)) {
            if (!applyAssignment(drop, arg(assignment), &usage)) {
                *failure = usage;
                return false;
            }
        }
        return true;
    },
                                        &error);
    if (!usage.isEmpty())
        return usageError(usage, QStringLiteral("set"));
    if (!written) {
        printErr(QStringLiteral("korvane: %1; nothing was changed\n").arg(error));
        return Failure;
    }
    return Success;
}

int CommandLine::remove(QList<QByteArray> args)
{
    if (args.size() != 1)
        return usageError(QStringLiteral("remove needs exactly one DROPID"), QStringLiteral("remove"));
    int status = Success;
    const DropListEntityPtr drop = actionByID(args.first(), QStringLiteral("remove"), &status);
    if (!drop)
        return status;
    QString error;
    const bool written = m_store->write([&](QString *) {
        m_store->context()->deleteObject(drop);
        m_store->renumber(drop->catalog());
        return true;
    },
                                        &error);
    if (!written) {
        printErr(QStringLiteral("korvane: %1; nothing was removed\n").arg(error));
        return Failure;
    }
    return Success;
}

int CommandLine::exportActions(QList<QByteArray> args)
{
    const bool withSecrets = takeFlag(&args, "--with-secrets");
    if (args.size() > 1 || (!args.isEmpty() && args.first().startsWith("--") && args.first() != "-"))
        return usageError(QStringLiteral("export takes at most one FILE and --with-secrets"), QStringLiteral("export"));
    if (!openStore())
        return Failure;
    const QByteArray json = escapedJson(ActionTransfer(m_store).exportActions(withSecrets));
    if (args.isEmpty() || args.first() == "-") {
        std::fwrite(json.constData(), 1, size_t(json.size()), stdout);
        return Success;
    }
    // Written whole or not at all, so a failed export never clobbers an older one.
    QSaveFile file(QFile::decodeName(args.first()));
    if (!file.open(QIODevice::WriteOnly)) {
        printErr(QStringLiteral("korvane: cannot write %1: %2\n").arg(file.fileName(), file.errorString()));
        return Failure;
    }
    // Keys and passwords in the file: only its owner may read it, like the store.
    if (withSecrets)
        file.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    if (file.write(json) != json.size() || !file.commit()) {
        printErr(QStringLiteral("korvane: cannot write %1: %2\n").arg(file.fileName(), file.errorString()));
        return Failure;
    }
    return Success;
}

int CommandLine::importActions(QList<QByteArray> args)
{
    const bool replace = takeFlag(&args, "--replace");
    if (args.size() != 1 || args.first().startsWith("--"))
        return usageError(QStringLiteral("import needs exactly one FILE ('-' reads standard input)"), QStringLiteral("import"));
    const QString name = args.first() == "-" ? QStringLiteral("standard input") : QFile::decodeName(args.first());
    QFile file(name);
    const bool opened = args.first() == "-" ? file.open(stdin, QIODevice::ReadOnly) : file.open(QIODevice::ReadOnly);
    if (!opened) {
        printErr(QStringLiteral("korvane: cannot read %1: %2\n").arg(name, file.errorString()));
        return Failure;
    }
    // Read one byte past the limit so an oversized file is refused without reading it whole.
    const QByteArray json = file.read(ActionTransfer::MaximumFileSize + 1);
    if (file.error() != QFileDevice::NoError) {
        printErr(QStringLiteral("korvane: cannot read %1: %2\n").arg(name, file.errorString()));
        return Failure;
    }
    if (!openStore())
        return Failure;
    ActionTransfer transfer(m_store);
    QString error;
    if (!transfer.importActions(json, replace, &error)) {
        printErr(QStringLiteral("korvane: %1: %2; nothing was imported\n").arg(name, error));
        return Failure;
    }
    printErr(QStringLiteral("korvane: imported %1 %2%3\n")
                 .arg(transfer.importedCount())
                 .arg(transfer.importedCount() == 1 ? QStringLiteral("action") : QStringLiteral("actions"))
                 .arg(replace ? QStringLiteral(" in place of the list") : QString()));
    if (transfer.missingSecretCount() > 0) {
        printErr(QStringLiteral("korvane: the file carried no keys or passwords for %1 of them; enter them in the preferences "
                                "or export with --with-secrets\n")
                     .arg(transfer.missingSecretCount()));
    }
    return Success;
}

int CommandLine::history(QList<QByteArray> args)
{
    const bool json = takeFlag(&args, "--json");
    if (!args.isEmpty())
        return usageError(QStringLiteral("history takes no argument '%1'").arg(arg(args.first())), QStringLiteral("history"));
    QList<UploadHistory::Entry> entries = UploadHistory::entries();
    std::reverse(entries.begin(), entries.end());
    if (json) {
        QJsonArray array;
        for (const UploadHistory::Entry &entry : std::as_const(entries)) {
            array.append(QJsonObject{{QStringLiteral("time"), entry.time.toUTC().toString(Qt::ISODateWithMs)},
                                     {QStringLiteral("fileName"), entry.fileName},
                                     {QStringLiteral("url"), entry.url},
                                     {QStringLiteral("store"), entry.store}});
        }
        printJson(QJsonDocument(array));
        return Success;
    }
    for (const UploadHistory::Entry &entry : std::as_const(entries)) {
        printOut(QStringLiteral("%1\t%2\t%3\t%4\n")
                     .arg(entry.time.toLocalTime().toString(Qt::ISODate), shown(entry.store), shown(entry.fileName), shown(entry.url)));
    }
    return Success;
}

int CommandLine::integrate(QList<QByteArray> args)
{
    const bool remove = takeFlag(&args, "--remove");
    if (!args.isEmpty())
        return usageError(QStringLiteral("integrate takes only --remove"), QStringLiteral("integrate"));
    FileManagerIntegration integration(QCoreApplication::applicationFilePath());
    const QStringList report = remove ? integration.remove() : integration.install();
    for (const QString &line : report)
        printOut(line + QLatin1Char('\n'));
    return Success;
}

} // namespace Korvane
