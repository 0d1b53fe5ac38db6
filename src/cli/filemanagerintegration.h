#pragma once

#include <QString>
#include <QStringList>

// "Send to Korvane" in the file managers that take it per user: a Nautilus script, a
// Thunar custom action and a Dolphin service menu. Each file it writes carries a marker line; it removes only files
// with that line, and never touches a file someone else wrote.
class FileManagerIntegration final
{
public:
    // program: the korvane command the entries run.
    explicit FileManagerIntegration(const QString &program);

    // One line per file manager: what was written or why nothing was.
    QStringList install() const;
    QStringList remove() const;

    static QString nautilusScriptPath();
    static QString thunarActionsPath();
    static QString dolphinServiceMenuPath();

private:
    QString nautilusScript() const;
    QString thunarActions() const;
    QString dolphinServiceMenu() const;
    QString quotedProgram() const;

    QString m_program;
};
