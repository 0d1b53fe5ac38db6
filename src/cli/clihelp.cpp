#include "cli/clihelp.h"

#include "store/actiontransfer.h"
#include "cli/cliinput.h"
#include "actions/text/textactions.h"
#include "store/uploadhistory.h"

namespace {

const char inputHelp[] =
    "INPUT, in order, as items on the clipboard are:\n"
    "  PATH               a file or folder item (it need not exist; an existing folder is a folder)\n"
    "  --text TEXT        a text item\n"
    "  --text-file FILE   a text item holding FILE's UTF-8 content ('-' reads standard input)\n"
    "  --rtf FILE         an RTF item\n"
    "  --image FILE       an image-data item holding FILE's image bytes, as TIFF when they are\n"
    "                     TIFF and as PNG otherwise\n"
    "FILE must be a regular file (no FIFO or device); a text may hold %1 MiB, an image %2 MiB.\n";

QString inputLimits()
{
    return QString::fromUtf8(inputHelp)
        .arg(TextActions::MaximumTextLength >> 20)
        .arg(CliInput::MaximumImageBytes >> 20);
}

} // namespace

QString CliHelp::general()
{
    return QStringLiteral(
        "Usage: korvane [COMMAND [ARGS...]]\n"
        "\n"
        "Without a command, Korvane starts in the system tray. With one, it runs without a\n"
        "display on the same actions and settings.\n"
        "\n"
        "Commands:\n"
        "  list       the configured actions\n"
        "  classify   what some input classifies into, and the actions offered for it\n"
        "  kinds      the kinds of action that can be added\n"
        "  run        run one action on some input\n"
        "  add        add an action\n"
        "  set        change an action's fields or settings\n"
        "  remove     remove an action\n"
        "  preferences  open the preferences window (starts Korvane when it is not running)\n"
        "  show       the popover for the clipboard, or one action on it, as its hotkey does\n"
        "  window     open the drop window, for desktops without a tray\n"
        "  drop       the popover for some input, as a drop on the tray icon\n"
        "  integrate  add 'Send to Korvane' to the file managers that take it per user\n"
        "  export     write every action with its settings to a JSON file\n"
        "  import     add or replace actions from such a file\n"
        "  history    the links of the last 100 uploads, newest first\n"
        "\n"
        "Options:\n"
        "  --help     this text; 'korvane COMMAND --help' explains a command\n"
        "  --version  the version\n"
        "\n"
        "Exit status: 0 success, 1 failure, 2 usage error.\n"
        "\n"
        "Environment:\n"
        "  KORVANE_THREADS  how many images are worked on at once (default: one per core)\n"
        "\n"
        "Example:\n"
        "  korvane classify photo.jpg notes.txt --json\n");
}

QString CliHelp::forCommand(const QString &command)
{
    if (command == QLatin1String("preferences")) {
        return QStringLiteral(
            "Usage: korvane preferences [--tab editor|general|about]\n"
            "\n"
            "Opens the preferences window on the desktop, on the action editor unless another\n"
            "tab is given. When Korvane already runs, its window opens and this command ends;\n"
            "otherwise Korvane starts in the system tray with the window open.\n"
            "\n"
            "Example:\n"
            "  korvane preferences --tab general\n");
    }
    if (command == QLatin1String("show")) {
        return QStringLiteral(
            "Usage: korvane show [--action ACTION]\n"
            "\n"
            "Does what the wake hotkey does: opens the popover with the actions for the\n"
            "clipboard (or closes it when open). With --action, does what that action's hotkey\n"
            "does: runs it on the clipboard when it takes what is there. ACTION is a dropID or\n"
            "an exact title. Starts Korvane when it is not running, and returns at once: bind\n"
            "it to a key in the desktop's keyboard settings.\n"
            "\n"
            "Example:\n"
            "  korvane show --action 'Character Counter'\n");
    }
    if (command == QLatin1String("window")) {
        return QStringLiteral(
            "Usage: korvane window\n"
            "\n"
            "Opens the drop window, or raises it when it is open: drop files, images or text\n"
            "on it for the list of fitting actions, or on one of its rows to run that action.\n"
            "It is the way in on desktops without a tray and where no drag near the tray icon\n"
            "can be seen (Wayland). Starts Korvane when it is not running, and returns at once.\n"
            "\n"
            "Example:\n"
            "  korvane window\n");
    }
    if (command == QLatin1String("drop")) {
        return QStringLiteral(
                   "Usage: korvane drop [INPUT...]\n"
                   "\n"
                   "Does what a drop on the tray icon does: opens the popover with the actions for\n"
                   "the input. Starts Korvane when it is not running, and returns at once. File\n"
                   "managers run it for \"Open With\" and \"Send to Korvane\".\n"
                   "\n")
            + inputLimits()
            + QStringLiteral(
                   "\n"
                   "Example:\n"
                   "  korvane drop ~/Pictures/*.png\n");
    }
    if (command == QLatin1String("integrate")) {
        return QStringLiteral(
            "Usage: korvane integrate [--remove]\n"
            "\n"
            "Adds \"Send to Korvane\" to the file managers that keep such entries per user: a\n"
            "Nautilus script, a Thunar custom action and a Dolphin service menu. A file manager\n"
            "that is not installed, or whose file was written by someone else, is skipped with a\n"
            "line saying so. The \"Open With\" entry comes with the package.\n"
            "\n"
            "  --remove   remove what this command wrote, and nothing else\n"
            "\n"
            "Example:\n"
            "  korvane integrate\n");
    }
    if (command == QLatin1String("list")) {
        return QStringLiteral(
            "Usage: korvane list [--json]\n"
            "\n"
            "Lists the configured actions, text actions first, each in its list order:\n"
            "dropID, catalog (0 text, 1 files and images), type, index, title and hotkey\n"
            "(as the desktop's keyboard settings write it, such as Ctrl+Alt+K; - for none).\n"
            "\n"
            "  --json   an array of objects with dropID, catalog, type, index, title, keyCode,\n"
            "           modifiers, hotkey (in English, null for none) and supportTypes\n"
            "\n"
            "Example:\n"
            "  korvane list --json\n");
    }
    if (command == QLatin1String("kinds")) {
        return QStringLiteral(
            "Usage: korvane kinds [--json]\n"
            "\n"
            "Lists the kinds of action 'korvane add' takes: name, catalog (0 text, 1 files\n"
            "and images), type and title (the title a new action of the kind gets).\n"
            "\n"
            "  --json   an array of objects with name, catalog, type and title\n"
            "\n"
            "Example:\n"
            "  korvane kinds --json\n");
    }
    if (command == QLatin1String("classify")) {
        return QStringLiteral(
                   "Usage: korvane classify [INPUT...|--clipboard] [--json]\n"
                   "\n"
                   "Classifies the input as the tray does a drop, and lists the actions the\n"
                   "popover would offer for it, in order. --clipboard classifies the desktop's\n"
                   "clipboard instead, as the wake hotkey does (this needs the display).\n"
                   "\n")
            + inputLimits()
            + QStringLiteral(
                   "\n"
                   "  --json   one object: dataCatalog, dataSubCatalog, containedFileType, itemsCount,\n"
                   "           imgFileUrls, folderFileUrls, videoFileUrls, otherFileUrls, allFileUrls\n"
                   "           (as paths), textString, imageData (its length) and actions\n"
                   "\n"
                   "Example:\n"
                   "  korvane classify a.jpg b.svg c.mov --json\n");
    }
    if (command == QLatin1String("run")) {
        return QStringLiteral(
                   "Usage: korvane run ACTION [INPUT...] [--json] [--progress] [--out FILE]\n"
                   "\n"
                   "Runs one action on the input and waits until it has finished. ACTION is a\n"
                   "dropID or an exact title. What the action puts on the clipboard goes to\n"
                   "standard output, its notification to standard error as 'title: body'.\n"
                   "\n")
            + inputLimits()
            + QStringLiteral(
                   "\n"
                   "  --out FILE   write an image result to FILE\n"
                   "  --progress   while an upload runs, write 'progress SENT/TOTAL' lines to standard\n"
                   "               error: the bytes sent so far over the whole batch and its size\n"
                   "  --json       one object: success, error (domain, code, message), notification\n"
                   "               (title, body) and pasteboard (what went to the clipboard: text,\n"
                   "               image or urls)\n"
                   "\n"
                   "Exit status: 0 when the action succeeded, 1 when it failed or had nothing to do.\n"
                   "\n"
                   "Example:\n"
                   "  korvane run 'Character Counter' --text 'Hello world'\n");
    }
    if (command == QLatin1String("add")) {
        return QStringLiteral(
            "Usage: korvane add KIND|CATALOG TYPE [--index N] [--title T] [--set FIELD=VALUE]...\n"
            "\n"
            "Adds an action of a kind, named as 'korvane kinds' lists it (resize) or by its\n"
            "catalog and type (1 2), with its default settings, and prints its dropID.\n"
            "\n"
            "  --index N           its place in its catalog's list (default: the end)\n"
            "  --title T           its title (default: the kind's name)\n"
            "  --set FIELD=VALUE   a field as 'korvane set' takes it; may repeat\n"
            "\n"
            "Example:\n"
            "  korvane add copy --title 'Copy to Backup' --set savePath=~/Backup --set hotkey=Ctrl+Alt+B\n");
    }
    if (command == QLatin1String("set")) {
        return QStringLiteral(
            "Usage: korvane set DROPID FIELD=VALUE...\n"
            "\n"
            "Changes an action. FIELD is a stored name of the action's settings (savePath,\n"
            "needCopy, compressionRato, ...) or of the action itself (title, index, keyCode,\n"
            "modifiers, supportTypes). Where both have the name, the bare name means the\n"
            "settings' and drop.NAME the action's. Booleans take 1/0 or true/false.\n"
            "urls+=TEMPLATE adds a URL template to a custom-URL action. hotkey=SHORTCUT sets\n"
            "the action's global shortcut as the desktop's keyboard settings write it\n"
            "(Ctrl+Alt+K, Super+F5; Ctrl, Alt or Super with a key, or a function key alone);\n"
            "hotkey= with nothing after it removes it. The tray takes it at its next start.\n"
            "\n"
            "Example:\n"
            "  korvane set 123451234 title='Search the web' hotkey=Super+S\n");
    }
    if (command == QLatin1String("remove")) {
        return QStringLiteral(
            "Usage: korvane remove DROPID\n"
            "\n"
            "Removes an action with its settings.\n"
            "\n"
            "Example:\n"
            "  korvane remove 123451234\n");
    }
    if (command == QLatin1String("export")) {
        return QStringLiteral(
            "Usage: korvane export [FILE] [--with-secrets]\n"
            "\n"
            "Writes every action, text actions first and each catalog in its list order, with\n"
            "its settings and custom URL templates, as JSON to FILE (default: standard output).\n"
            "Fields carry the names the store uses. Keys and passwords of the upload actions\n"
            "are left out.\n"
            "\n"
            "  --with-secrets   include keys and passwords; the file is then readable by its\n"
            "                   owner only\n"
            "\n"
            "Example:\n"
            "  korvane export ~/korvane-actions.json\n");
    }
    if (command == QLatin1String("history")) {
        return QStringLiteral(
                   "Usage: korvane history [--json]\n"
                   "\n"
                   "Lists the links of the last %1 files uploaded by the upload actions, from the tray\n"
                   "or the command line, newest first: time, store (qiniu, oss, cos, upyun or weibo),\n"
                   "file name (empty for image data) and link. Failed uploads are not listed.\n"
                   "\n"
                   "  --json   an array of objects with time (UTC, ISO 8601), fileName, url and store,\n"
                   "           newest first\n"
                   "\n"
                   "Example:\n"
                   "  korvane history --json\n")
            .arg(UploadHistory::MaximumEntries);
    }
    if (command == QLatin1String("import")) {
        return QStringLiteral(
                   "Usage: korvane import FILE [--replace]\n"
                   "\n"
                   "Adds the actions of a file 'korvane export' wrote at the end of their catalogs'\n"
                   "lists, with new dropIDs; Korvane takes their hotkeys when it next starts. FILE\n"
                   "'-' reads standard input. The whole file is checked first: a file with unknown\n"
                   "action kinds, fields of the wrong type, a hotkey already taken or more than %1\n"
                   "actions is refused with its first problem and line, and no action is changed.\n"
                   "\n"
                   "  --replace   remove every action first, so the list becomes the file's\n"
                   "\n"
                   "Example:\n"
                   "  korvane import ~/korvane-actions.json --replace\n")
            .arg(ActionTransfer::MaximumActions);
    }
    return QString();
}
