#include "cli/filemanagerintegration.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStandardPaths>

namespace {

const QLatin1String marker("Written by 'korvane integrate'; 'korvane integrate --remove' removes it.");
// Files of other programs are read only to find the marker: a larger one is not ours.
constexpr qint64 MaximumOwnFileSize = 1024 * 1024;

bool writtenByUs(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly) || file.size() > MaximumOwnFileSize)
        return false;
    return file.readAll().contains(QByteArray(marker.data(), marker.size()));
}

// The service menu a user's own install puts in the user's folder: Korvane's, but not written here.
bool installedWithKorvane(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly) || file.size() > MaximumOwnFileSize)
        return false;
    const QByteArray content = file.readAll();
    return !content.contains(QByteArray(marker.data(), marker.size())) && content.contains("[Desktop Action sendToKorvane]");
}

bool writeFile(const QString &path, const QString &content, QFileDevice::Permissions permissions, QString *error)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) {
        *error = file.errorString();
        return false;
    }
    file.write(content.toUtf8());
    file.setPermissions(permissions);
    if (!file.commit()) {
        *error = file.errorString();
        return false;
    }
    return true;
}

QString xmlEscaped(const QString &text)
{
    return text.toHtmlEscaped();
}

struct FileManager {
    QLatin1String name;
    QLatin1String executable;
};

const FileManager nautilus{QLatin1String("Nautilus"), QLatin1String("nautilus")};
const FileManager thunar{QLatin1String("Thunar"), QLatin1String("thunar")};
const FileManager dolphin{QLatin1String("Dolphin"), QLatin1String("dolphin")};

// The program as one quoted argument of a desktop entry's Exec key. Inside the quotes a
// backslash escapes ", `, $ and itself; the key file's own escaping then doubles every
// backslash and spells out the characters that would end the line.
QString desktopExecArgument(const QString &program)
{
    QString quoted;
    for (const QChar c : program) {
        if (c == QLatin1Char('"') || c == QLatin1Char('`') || c == QLatin1Char('$') || c == QLatin1Char('\\'))
            quoted += QLatin1String("\\\\");
        if (c == QLatin1Char('\\'))
            quoted += QLatin1String("\\\\");
        else if (c == QLatin1Char('\n'))
            quoted += QLatin1String("\\n");
        else if (c == QLatin1Char('\r'))
            quoted += QLatin1String("\\r");
        else if (c == QLatin1Char('%'))
            quoted += QLatin1String("%%");
        else
            quoted += c;
    }
    return QLatin1Char('"') + quoted + QLatin1Char('"');
}

// Owner may write; everyone may read and run. Dolphin runs a service menu outside the system
// folders only when it is executable.
const QFileDevice::Permissions executablePermissions = QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner
    | QFileDevice::ReadGroup | QFileDevice::ExeGroup | QFileDevice::ReadOther | QFileDevice::ExeOther;

} // namespace

FileManagerIntegration::FileManagerIntegration(const QString &program)
    : m_program(program)
{
}

QString FileManagerIntegration::nautilusScriptPath()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) + QStringLiteral("/nautilus/scripts/Send to Korvane");
}

QString FileManagerIntegration::thunarActionsPath()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) + QStringLiteral("/Thunar/uca.xml");
}

QString FileManagerIntegration::dolphinServiceMenuPath()
{
    // The installed menu's name: this one takes its place instead of showing beside it.
    return QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation)
        + QStringLiteral("/kio/servicemenus/com.korvane.Korvane.sendto.desktop");
}

QString FileManagerIntegration::dolphinServiceMenu() const
{
    return QStringLiteral("# %1\n"
                          "[Desktop Entry]\n"
                          "Type=Service\n"
                          "MimeType=all/all;\n"
                          "Actions=sendToKorvane;\n"
                          "X-KDE-Priority=TopLevel\n"
                          "\n"
                          "[Desktop Action sendToKorvane]\n"
                          "Name=Send to Korvane\n"
                          "Name[zh_CN]=发送到 Korvane\n"
                          "Icon=com.korvane.Korvane\n"
                          "Exec=%2 drop %F\n")
        .arg(marker, desktopExecArgument(m_program));
}

QString FileManagerIntegration::quotedProgram() const
{
    QString quoted = m_program;
    quoted.replace(QLatin1Char('\''), QLatin1String("'\\''"));
    return QLatin1Char('\'') + quoted + QLatin1Char('\'');
}

QString FileManagerIntegration::nautilusScript() const
{
    // Nautilus hands a script the selected files as arguments, relative to the folder shown,
    // which is the script's working folder.
    return QStringLiteral("#!/bin/sh\n# %1\nexec %2 drop \"$@\"\n").arg(marker, quotedProgram());
}

QString FileManagerIntegration::thunarActions() const
{
    const QString action = QStringLiteral(
                               "<action>\n"
                               "\t<icon>com.korvane.Korvane</icon>\n"
                               "\t<name>Send to Korvane</name>\n"
                               "\t<submenu></submenu>\n"
                               "\t<unique-id>korvane-send-to</unique-id>\n"
                               "\t<command>%1 drop %F</command>\n"
                               "\t<description>The Korvane actions for these files</description>\n"
                               "\t<range>*</range>\n"
                               "\t<patterns>*</patterns>\n"
                               "\t<directories/>\n\t<audio-files/>\n\t<image-files/>\n\t<other-files/>\n\t<text-files/>\n\t<video-files/>\n"
                               "</action>\n")
                               .arg(xmlEscaped(quotedProgram()));
    // Thunar reads the user's file instead of the system's, not beside it: keep the system's
    // actions (such as "Open Terminal Here") in the copy.
    QString system;
    const QString systemPath = QStandardPaths::locate(QStandardPaths::GenericConfigLocation, QStringLiteral("Thunar/uca.xml"),
                                                      QStandardPaths::LocateFile);
    if (!systemPath.isEmpty() && systemPath != thunarActionsPath()) {
        QFile file(systemPath);
        if (file.size() <= MaximumOwnFileSize && file.open(QIODevice::ReadOnly))
            system = QString::fromUtf8(file.readAll());
    }
    const int end = system.lastIndexOf(QLatin1String("</actions>"));
    if (end < 0)
        return QStringLiteral("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<!-- %1 -->\n<actions>\n%2</actions>\n").arg(marker, action);
    system.insert(end, action);
    const int body = system.indexOf(QLatin1String("<actions"));
    system.insert(body, QStringLiteral("<!-- %1 -->\n").arg(marker));
    return system;
}

QStringList FileManagerIntegration::install() const
{
    QStringList report;
    const struct {
        const FileManager &manager;
        QString path;
        QString content;
        QFileDevice::Permissions permissions;
        QString where;
    } entries[] = {
        {nautilus, nautilusScriptPath(), nautilusScript(), executablePermissions, QStringLiteral("Scripts > Send to Korvane")},
        {thunar, thunarActionsPath(), thunarActions(),
         QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ReadGroup | QFileDevice::ReadOther,
         QStringLiteral("Send to Korvane; Thunar reads it when it starts next")},
        {dolphin, dolphinServiceMenuPath(), dolphinServiceMenu(), executablePermissions, QStringLiteral("Send to Korvane")},
    };
    for (const auto &entry : entries) {
        const QString name = entry.manager.name;
        if (QStandardPaths::findExecutable(entry.manager.executable).isEmpty()) {
            report.append(QStringLiteral("%1: not installed; skipped").arg(name));
            continue;
        }
        if (&entry.manager == &dolphin && installedWithKorvane(entry.path)) {
            // A user's own install ('make install PREFIX=~/.local') put the menu where this
            // command would: it only needs to be executable.
            QFile::setPermissions(entry.path, QFile::permissions(entry.path) | QFileDevice::ExeOwner | QFileDevice::ExeGroup | QFileDevice::ExeOther);
            report.append(QStringLiteral("%1: %2 came with Korvane's install (%3)").arg(name, entry.path, entry.where));
            continue;
        }
        if (QFileInfo::exists(entry.path) && !writtenByUs(entry.path)) {
            report.append(QStringLiteral("%1: %2 is not Korvane's and is left as it is; add a custom action running "
                                         "'%3 drop %F' in %1 yourself")
                              .arg(name, entry.path, m_program));
            continue;
        }
        QString error;
        if (!writeFile(entry.path, entry.content, entry.permissions, &error)) {
            report.append(QStringLiteral("%1: cannot write %2: %3").arg(name, entry.path, error));
            continue;
        }
        report.append(QStringLiteral("%1: wrote %2 (%3)").arg(name, entry.path, entry.where));
    }
    report.append(QStringLiteral("Files, Dolphin, Thunar and Nemo also list Korvane under \"Open With\""));
    return report;
}

QStringList FileManagerIntegration::remove() const
{
    QStringList report;
    const struct {
        const FileManager &manager;
        QString path;
    } entries[] = {{nautilus, nautilusScriptPath()}, {thunar, thunarActionsPath()}, {dolphin, dolphinServiceMenuPath()}};
    for (const auto &entry : entries) {
        const QString name = entry.manager.name;
        if (!QFileInfo::exists(entry.path)) {
            report.append(QStringLiteral("%1: nothing to remove").arg(name));
        } else if (!writtenByUs(entry.path)) {
            report.append(QStringLiteral("%1: %2 is not Korvane's and is left as it is").arg(name, entry.path));
        } else if (!QFile::remove(entry.path)) {
            report.append(QStringLiteral("%1: cannot remove %2").arg(name, entry.path));
        } else {
            report.append(QStringLiteral("%1: removed %2").arg(name, entry.path));
        }
    }
    return report;
}
