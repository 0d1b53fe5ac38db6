#include "platform/xdg/xdgtrash.h"
#include "platform/mountid.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

QString systemError(const QString &what, int code)
{
    return what + QStringLiteral(": ") + QString::fromLocal8Bit(std::strerror(code));
}

// A trash folder of ours, made 0700 when missing. One that exists must be a folder that is no
// link and belongs to us: a folder another user prepared could hand our files to them.
bool ensureFolder(const QString &path, QString *error)
{
    const QByteArray name = QFile::encodeName(path);
    if (::mkdir(name.constData(), 0700) != 0 && errno != EEXIST) {
        *error = systemError(path, errno);
        return false;
    }
    struct stat status {};
    if (::lstat(name.constData(), &status) != 0) {
        *error = systemError(path, errno);
        return false;
    }
    if (!S_ISDIR(status.st_mode) || status.st_uid != ::getuid()) {
        *error = systemError(path, ENOTDIR);
        return false;
    }
    return true;
}

// The top folder of the mount that holds path: the last ancestor on the same mount.
QString topFolder(const QString &path, quint64 mount)
{
    QString top = QFileInfo(path).absolutePath();
    while (top != QLatin1String("/")) {
        const QString parent = QFileInfo(top).absolutePath();
        quint64 parentMount = 0;
        if (!MountId::of(QFile::encodeName(parent).constData(), &parentMount) || parentMount != mount)
            break;
        top = parent;
    }
    return top;
}

struct TrashFolder {
    QString path;
    // What the .trashinfo's Path is relative to; empty for absolute paths.
    QString base;
};

// The trash for a file on mount: the home trash when it lives there, else the one at the top
// of the file's mount.
TrashFolder trashFolderFor(const QString &path, quint64 mount, QString *error)
{
    const QString dataHome = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
    QDir().mkpath(dataHome);
    quint64 homeMount = 0;
    if (MountId::of(QFile::encodeName(dataHome).constData(), &homeMount) && homeMount == mount) {
        const QString home = dataHome + QStringLiteral("/Trash");
        return ensureFolder(home, error) ? TrashFolder{home, QString()} : TrashFolder{};
    }
    const QString top = topFolder(path, mount);
    const QString uid = QString::number(::getuid());
    const QString shared = top + QStringLiteral("/.Trash");
    struct stat status {};
    if (::lstat(QFile::encodeName(shared).constData(), &status) == 0 && S_ISDIR(status.st_mode) && (status.st_mode & S_ISVTX)) {
        QString ignored;
        if (ensureFolder(shared + QLatin1Char('/') + uid, &ignored))
            return {shared + QLatin1Char('/') + uid, top};
    }
    const QString own = top + QStringLiteral("/.Trash-") + uid;
    return ensureFolder(own, error) ? TrashFolder{own, top} : TrashFolder{};
}

// "a.png", then "a.2.png", "a.3.png", ...; a leading dot starts no extension.
QString candidateName(const QString &name, int attempt)
{
    if (attempt == 1)
        return name;
    const qsizetype dot = name.lastIndexOf(QLatin1Char('.'));
    if (dot <= 0)
        return name + QLatin1Char('.') + QString::number(attempt);
    return name.left(dot) + QLatin1Char('.') + QString::number(attempt) + name.mid(dot);
}

} // namespace

XdgTrash::Trashed XdgTrash::moveToTrash(const QString &path, QString *error)
{
    const QString absolute = QDir::cleanPath(QFileInfo(path).absoluteFilePath());
    const QByteArray source = QFile::encodeName(absolute);
    quint64 mount = 0;
    if (!MountId::of(source.constData(), &mount, false)) {
        *error = systemError(absolute, errno);
        return {};
    }
    const TrashFolder trash = trashFolderFor(absolute, mount, error);
    if (trash.path.isEmpty() || !ensureFolder(trash.path + QStringLiteral("/files"), error)
        || !ensureFolder(trash.path + QStringLiteral("/info"), error))
        return {};

    const QString stored = trash.base.isEmpty() ? absolute : QDir(trash.base).relativeFilePath(absolute);
    const QByteArray info = "[Trash Info]\nPath=" + QFile::encodeName(stored).toPercentEncoding("/")
        + "\nDeletionDate="
        + QDateTime::currentDateTime().toString(QStringLiteral("yyyy-MM-dd'T'HH:mm:ss")).toLatin1() + '\n';
    const QString name = QFileInfo(absolute).fileName();
    for (int attempt = 1; attempt <= maxNameAttempts; ++attempt) {
        const QString candidate = candidateName(name, attempt);
        Trashed trashed{trash.path + QStringLiteral("/files/") + candidate,
                        trash.path + QStringLiteral("/info/") + candidate + QStringLiteral(".trashinfo")};
        const QByteArray infoName = QFile::encodeName(trashed.info);
        // Creating the .trashinfo exclusively is what claims the name against other programs.
        const int fd = ::open(infoName.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
        if (fd < 0 && errno == EEXIST)
            continue;
        if (fd < 0) {
            *error = systemError(trashed.info, errno);
            return {};
        }
        const bool written = ::write(fd, info.constData(), size_t(info.size())) == info.size();
        const int writeError = errno;
        ::close(fd);
        struct stat taken {};
        if (written && ::lstat(QFile::encodeName(trashed.file).constData(), &taken) == 0) {
            ::unlink(infoName.constData());
            continue;
        }
        if (!written) {
            ::unlink(infoName.constData());
            *error = systemError(trashed.info, writeError);
            return {};
        }
        if (::rename(source.constData(), QFile::encodeName(trashed.file).constData()) != 0) {
            *error = systemError(trashed.file, errno);
            ::unlink(infoName.constData());
            return {};
        }
        return trashed;
    }
    *error = systemError(trash.path + QStringLiteral("/files/") + name, EEXIST);
    return {};
}

bool XdgTrash::restore(const Trashed &trashed, const QString &path)
{
    const QByteArray target = QFile::encodeName(path);
    struct stat status {};
    if (::lstat(target.constData(), &status) == 0 || errno != ENOENT)
        return false;
    if (::rename(QFile::encodeName(trashed.file).constData(), target.constData()) != 0)
        return false;
    QFile::remove(trashed.info);
    return true;
}
