#include "platform/xdg/xdgautostart.h"

#include "platform/platformlogging.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLoggingCategory>
#include <QSaveFile>
#include <QStandardPaths>

namespace {

// Exec keys quote with double quotes and escape these four inside them.
QString quotedExec(const QString &program)
{
    QString escaped = program;
    for (const QLatin1String special : {QLatin1String("\\"), QLatin1String("\""), QLatin1String("`"), QLatin1String("$")})
        escaped.replace(special, QLatin1String("\\") + special);
    return QLatin1Char('"') + escaped + QLatin1Char('"');
}

// The korvane command, which starts the tray program: beside it in a build, in bin when the
// tray program is installed in lib/korvane. The running program itself when neither is there.
QString commandProgram()
{
    const QDir dir(QCoreApplication::applicationDirPath());
    for (const QLatin1String relative : {QLatin1String("korvane"), QLatin1String("../../bin/korvane")}) {
        const QString path = QDir::cleanPath(dir.filePath(relative));
        if (QFileInfo(path).isExecutable())
            return path;
    }
    return QCoreApplication::applicationFilePath();
}

} // namespace

XdgAutostart::XdgAutostart(const QString &program)
    : m_program(program)
{
}

QString XdgAutostart::entryPath()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) + QLatin1String("/autostart/com.korvane.Korvane.desktop");
}

QString XdgAutostart::legacyEntryPath()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) + QLatin1String("/autostart/korvane.desktop");
}

bool XdgAutostart::isEnabled() const
{
    return QFileInfo::exists(entryPath()) || QFileInfo::exists(legacyEntryPath());
}

bool XdgAutostart::setEnabled(bool enabled)
{
    // The entry is named after the app id now; the one an earlier version wrote goes.
    const QString legacy = legacyEntryPath();
    if (QFileInfo::exists(legacy) && !QFile::remove(legacy)) {
        qCWarning(lcAutostart, "cannot remove %s", qUtf8Printable(legacy));
        return false;
    }
    const QString path = entryPath();
    if (!enabled) {
        if (!QFileInfo::exists(path))
            return true;
        const bool removed = QFile::remove(path);
        if (!removed)
            qCWarning(lcAutostart, "cannot remove %s", qUtf8Printable(path));
        return removed;
    }
    if (!QDir().mkpath(QFileInfo(path).path())) {
        qCWarning(lcAutostart, "cannot create the folder of %s", qUtf8Printable(path));
        return false;
    }
    const QString program = m_program.isEmpty() ? commandProgram() : m_program;
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) {
        qCWarning(lcAutostart, "cannot write %s: %s", qUtf8Printable(path), qUtf8Printable(file.errorString()));
        return false;
    }
    const QString entry = QStringLiteral("[Desktop Entry]\n"
                                         "Type=Application\n"
                                         "Name=Korvane\n"
                                         "Comment=Drop files, images or text on the tray icon and run actions on them\n"
                                         "Exec=%1\n"
                                         "Icon=com.korvane.Korvane\n"
                                         "Terminal=false\n"
                                         "X-GNOME-Autostart-enabled=true\n")
                              .arg(quotedExec(program));
    file.write(entry.toUtf8());
    return file.commit();
}
