#include "support/files.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>

#include <dirent.h>
#include <fcntl.h>
#include <sys/mount.h>
#include <sys/stat.h>
#include <unistd.h>

namespace KorvaneTest {

bool writeFile(const QString &path, const QByteArray &content)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(content) == content.size();
}

QString writtenFile(const QString &path, const QByteArray &content)
{
    return writeFile(path, content) ? path : QString();
}

bool writeScript(const QString &path, const QByteArray &body)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write("#!/bin/sh\n" + body) < 0)
        return false;
    file.close();
    return file.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
}

QByteArray readFile(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
}

QMap<QString, QByteArray> tree(const QString &root)
{
    QMap<QString, QByteArray> result;
    QDirIterator it(root, QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        const QFileInfo info = it.fileInfo();
        const QString relative = QDir(root).relativeFilePath(path);
        if (info.isSymLink()) {
            char target[4096];
            const ssize_t n = ::readlink(QFile::encodeName(path).constData(), target, sizeof target);
            result.insert(relative, "->" + QByteArray(target, n > 0 ? int(n) : 0));
        } else if (info.isDir())
            result.insert(relative + QLatin1Char('/'), QByteArray());
        else
            result.insert(relative, readFile(path));
    }
    return result;
}

quint64 deviceOf(const QString &path)
{
    struct stat st;
    return ::stat(QFile::encodeName(path).constData(), &st) == 0 ? quint64(st.st_dev) : 0;
}

TmpfsMount::TmpfsMount(const QString &path, const QByteArray &options)
    : m_path(QFile::encodeName(path))
{
    QDir().mkpath(path);
    m_mounted = ::geteuid() == 0 && ::mount("tmpfs", m_path.constData(), "tmpfs", 0, options.constData()) == 0;
}

TmpfsMount::~TmpfsMount()
{
    if (m_mounted)
        ::umount2(m_path.constData(), MNT_DETACH);
}

QStringList withRawArgument(const QString &program, const QStringList &arguments, const QByteArray &raw)
{
    QString format;
    for (const char c : raw)
        format += uchar(c) < 0x80 ? QString(QLatin1Char(c)) : QStringLiteral("\\%1").arg(uchar(c), 3, 8, QLatin1Char('0'));
    return QStringList{QStringLiteral("-c"), QStringLiteral("exec \"$@\" \"$(printf \"$0\")\""), format, program} + arguments;
}

QMap<QByteArray, QByteArray> rawEntries(const QByteArray &folder)
{
    QMap<QByteArray, QByteArray> entries;
    DIR *dir = ::opendir(folder.constData());
    while (const dirent *entry = dir ? ::readdir(dir) : nullptr) {
        const QByteArray name(entry->d_name);
        QByteArray content(64, '\0');
        const int fd = name.startsWith('.') ? -1 : ::open((folder + '/' + name).constData(), O_RDONLY);
        content.resize(fd >= 0 ? qMax<ssize_t>(::read(fd, content.data(), 64), 0) : 0);
        if (fd >= 0 && ::close(fd) == 0)
            entries.insert(name, content);
    }
    if (dir)
        ::closedir(dir);
    return entries;
}

} // namespace KorvaneTest
