#include "actions/file/localpaths.h"

#include <QFile>

#include <cerrno>
#include <cstdio>
#include <cstring>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

QByteArray LocalPaths::withoutTrailingSlashes(QByteArray path)
{
    while (path.size() > 1 && path.endsWith('/'))
        path.chop(1);
    return path;
}

QByteArray LocalPaths::joinPath(const QByteArray &folder, const QByteArray &name)
{
    return folder.endsWith('/') ? folder + name : folder + '/' + name;
}

QByteArray LocalPaths::lastComponent(const QByteArray &path)
{
    const QByteArray clean = LocalPaths::withoutTrailingSlashes(path);
    return clean.mid(clean.lastIndexOf('/') + 1);
}

QByteArray LocalPaths::parentOf(const QByteArray &path)
{
    const QByteArray clean = LocalPaths::withoutTrailingSlashes(path);
    const int slash = clean.lastIndexOf('/');
    return slash > 0 ? clean.left(slash) : QByteArray("/");
}

Korvane::Error LocalPaths::systemError(int errorNumber, const QByteArray &path)
{
    return Korvane::Error(errorNumber,
                          QStringLiteral("%1: %2").arg(QFile::decodeName(path), QString::fromLocal8Bit(std::strerror(errorNumber))),
                          QStringLiteral("posix"));
}

QByteArray LocalPaths::numberedName(const QByteArray &name, qint64 n)
{
    if (n == 0)
        return name;
    const int dot = name.lastIndexOf('.');
    if (dot <= 0 || dot == name.size() - 1)
        return name + QByteArray::number(n);
    return name.left(dot) + QByteArray::number(n) + name.mid(dot);
}

int LocalPaths::renameNoReplace(const QByteArray &from, const QByteArray &to)
{
    if (::renameat2(AT_FDCWD, from.constData(), AT_FDCWD, to.constData(), RENAME_NOREPLACE) == 0)
        return 0;
    if (errno != EINVAL && errno != ENOSYS)
        return errno;
    // WORKAROUND(file systems without RENAME_NOREPLACE): a hard link refuses an existing name
    // just as well; folders, which cannot be linked, get the check before the rename.
    if (::link(from.constData(), to.constData()) == 0)
        return ::unlink(from.constData()) == 0 ? 0 : errno;
    if (errno == EEXIST)
        return EEXIST;
    if (exists(to))
        return EEXIST;
    return ::rename(from.constData(), to.constData()) == 0 ? 0 : errno;
}

int LocalPaths::replace(const QByteArray &from, const QByteArray &to)
{
    // ext4 (without noauto_da_alloc) allocates and submits the renamed file's blocks inside a
    // rename that replaces, which takes longer than a metadata change's whole writing; a swap
    // does not. Where a swap cannot be made, the rename does what is asked all the same; should
    // the removal fail, the replaced entry is left under the other name, which loses nothing.
    if (::renameat2(AT_FDCWD, from.constData(), AT_FDCWD, to.constData(), RENAME_EXCHANGE) == 0) {
        ::unlink(from.constData());
        return 0;
    }
    return ::rename(from.constData(), to.constData()) == 0 ? 0 : errno;
}

bool LocalPaths::fsyncPath(const QByteArray &path)
{
    const int fd = ::open(path.constData(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return false;
    const bool synced = ::fsync(fd) == 0;
    ::close(fd);
    return synced;
}

bool LocalPaths::exists(const QByteArray &path)
{
    struct stat st;
    return ::lstat(path.constData(), &st) == 0;
}
