#include "platform/privatefiles.h"

#include "platform/platformlogging.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLoggingCategory>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

void PrivateFiles::tighten(const QString &path)
{
    const QByteArray name = QFile::encodeName(path);
    struct stat info;
    if (::lstat(name.constData(), &info) != 0 || S_ISLNK(info.st_mode))
        return;
    const mode_t wanted = S_ISDIR(info.st_mode) ? 0700 : 0600;
    if ((info.st_mode & 0777 & ~wanted) == 0)
        return;
    if (::chmod(name.constData(), (info.st_mode & 0777) & wanted) == 0)
        qCWarning(lcPrivateFiles, "%s was readable by others (mode %03o); it is now %03o", name.constData(),
                  unsigned(info.st_mode & 0777), unsigned(info.st_mode & 0777 & wanted));
    else
        qCWarning(lcPrivateFiles, "%s is readable by others and cannot be made private: %s", name.constData(), std::strerror(errno));
}

bool PrivateFiles::makeFolder(const QString &path, QString *error)
{
    if (QFileInfo(path).isDir()) {
        tighten(path);
        return true;
    }
    if (!QDir().mkpath(path)) {
        *error = QStringLiteral("could not create %1").arg(path);
        return false;
    }
    ::chmod(QFile::encodeName(path).constData(), 0700);
    return true;
}

bool PrivateFiles::makeFile(const QString &path, QString *error)
{
    const QByteArray name = QFile::encodeName(path);
    const int fd = ::open(name.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
    if (fd >= 0) {
        // The umask may have taken bits the owner needs.
        ::fchmod(fd, 0600);
        ::close(fd);
        return true;
    }
    if (errno != EEXIST) {
        *error = QStringLiteral("could not create %1: %2").arg(path, QString::fromLocal8Bit(std::strerror(errno)));
        return false;
    }
    tighten(path);
    return true;
}
