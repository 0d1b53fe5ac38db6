#pragma once

#include "intake/transferdata.h"

#include <QByteArray>
#include <QList>
#include <QString>

#include <memory>

class DropListEntity;
class ActionStore;

namespace Korvane {

class Error;

// The command line: list, classify, run and edit actions without a display, on the same
// store and settings as the tray application.
class CommandLine final
{
public:
    enum ExitStatus {
        Success = 0,
        Failure = 1,
        UsageError = 2,
    };

    // What the tray application is asked to do by "show [--action ACTION]", "window" and
    // "drop [INPUT...]"; a drop without input is a plain start.
    struct TrayRequest {
        enum Kind {
            Start,
            Show,
            ShowAction,
            Drop,
            DropWindow,
        };
        Kind kind = Start;
        qint32 dropID = 0;
        TransferData pasteboard;
    };

    static bool isCommand(const QByteArray &firstArgument);
    // True for the commands that the tray program runs: preferences, show, window, drop, and
    // classify --clipboard, which needs the display's clipboard.
    static bool needsDesktop(const QList<QByteArray> &args);
    static bool isTrayRequest(const QList<QByteArray> &args);
    // True for "preferences [--tab editor|general|about]", with the tab ("editor" when not
    // given); the tray application opens its window. Anything else about it is exec's.
    static bool preferencesRequest(const QList<QByteArray> &args, QString *tab);

    // args: the arguments after the program name, as bytes (file names need not be UTF-8).
    int exec(const QList<QByteArray> &args);
    // Reads a show or drop command into a request; false with the exit status in *status
    // when the command ends here (help, usage error, unknown action).
    bool trayRequest(const QList<QByteArray> &args, TrayRequest *request, int *status);

private:
    int list(QList<QByteArray> args);
    int classify(QList<QByteArray> args);
    int kinds(QList<QByteArray> args);
    int run(QList<QByteArray> args);
    int add(QList<QByteArray> args);
    int set(QList<QByteArray> args);
    int remove(QList<QByteArray> args);
    int preferences(const QList<QByteArray> &args);
    int exportActions(QList<QByteArray> args);
    int importActions(QList<QByteArray> args);
    int history(QList<QByteArray> args);
    int integrate(QList<QByteArray> args);

    bool openStore();
    int convertTextFile(const std::shared_ptr<DropListEntity> &drop, const QString &path);
    int usageError(const QString &reason, const QString &command = QString());
    // The action ACTION names among those fitting the current input; a title shared by several
    // actions is ambiguous only when more than one of them takes the input.
    std::shared_ptr<DropListEntity> findAction(const QString &name, const QList<std::shared_ptr<DropListEntity>> &fitting,
                                               Error *error);
    // The action a DROPID argument names; null with the exit status set when there is none.
    std::shared_ptr<DropListEntity> actionByID(const QByteArray &argument, const QString &command, int *status);
    bool applyAssignment(const std::shared_ptr<DropListEntity> &drop, const QString &assignment, QString *error);
    // "hotkey=TEXT": the shortcut as the desktop writes it; empty removes it.
    bool applyHotKey(const std::shared_ptr<DropListEntity> &drop, const QString &text, QString *error);

    ActionStore *m_store = nullptr;
};

} // namespace Korvane
