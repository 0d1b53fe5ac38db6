#include "actions/file/filemanager.h"

#include "store/actionstore.h"
#include "actions/outputnaming.h"
#include "common/logtext.h"
#include "actions/file/renamejournal.h"
#include "actions/actionslogging.h"
#include "platform/mountid.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QLoggingCategory>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <vector>

#include <dirent.h>
#include <fcntl.h>
#include <sys/sendfile.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

class FileDescriptor final
{
public:
    explicit FileDescriptor(int fd = -1)
        : m_fd(fd)
    {}
    ~FileDescriptor() { reset(); }
    FileDescriptor(const FileDescriptor &) = delete;
    FileDescriptor &operator=(const FileDescriptor &) = delete;
    FileDescriptor &operator=(FileDescriptor &&other) noexcept
    {
        std::swap(m_fd, other.m_fd);
        return *this;
    }
    int get() const { return m_fd; }
    bool isValid() const { return m_fd >= 0; }
    void reset()
    {
        if (m_fd >= 0)
            ::close(m_fd);
        m_fd = -1;
    }
    // For owners that close it themselves, such as fdopendir.
    void release() { m_fd = -1; }
    // close(2) reports delayed write errors of some file systems; a copy must see them.
    int close()
    {
        const int rc = ::close(m_fd);
        m_fd = -1;
        return rc == 0 ? 0 : errno;
    }

private:
    int m_fd;
};

QByteArray realPath(const QByteArray &path)
{
    char *resolved = ::realpath(path.constData(), nullptr);
    if (!resolved)
        return QByteArray();
    const QByteArray result(resolved);
    std::free(resolved);
    return result;
}

int makePath(const QByteArray &path)
{
    struct stat st;
    if (::stat(path.constData(), &st) == 0)
        return S_ISDIR(st.st_mode) ? 0 : ENOTDIR;
    if (errno != ENOENT)
        return errno;
    const QByteArray parent = LocalPaths::parentOf(path);
    if (parent != path) {
        if (const int rc = makePath(parent))
            return rc;
    }
    if (::mkdir(path.constData(), 0777) == 0 || errno == EEXIST)
        return 0;
    return errno;
}

// copy_file_range lets the kernel (or the file system, by sharing extents) do the copy;
// sendfile and a plain loop with a large buffer cover the kernels and file systems that
// refuse it. All three advance the descriptors' own offsets, so they can take over midway.
int copyData(int in, int out)
{
    bool useRange = true;
    bool useSendfile = true;
    std::vector<char> buffer;
    for (;;) {
        ssize_t n;
        if (useRange) {
            n = ::copy_file_range(in, nullptr, out, nullptr, 1 << 30, 0);
            if (n < 0 && (errno == EXDEV || errno == ENOSYS || errno == EINVAL || errno == EOPNOTSUPP)) {
                useRange = false;
                continue;
            }
        } else if (useSendfile) {
            n = ::sendfile(out, in, nullptr, 1 << 30);
            if (n < 0 && (errno == EINVAL || errno == ENOSYS)) {
                useSendfile = false;
                continue;
            }
        } else {
            if (buffer.empty())
                buffer.resize(1 << 20);
            n = ::read(in, buffer.data(), buffer.size());
            for (ssize_t written = 0; n > 0 && written < n;) {
                const ssize_t w = ::write(out, buffer.data() + written, size_t(n - written));
                if (w < 0 && errno != EINTR)
                    return errno;
                written += w > 0 ? w : 0;
            }
        }
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return errno;
        }
        if (n == 0)
            return 0;
    }
}

// Fills an empty, open file with the source's bytes, mode and times, checks the size and
// flushes it to the disk.
int copyIntoOpenFile(int in, int out)
{
    if (const int rc = copyData(in, out))
        return rc;
    struct stat source;
    struct stat copy;
    if (::fstat(in, &source) != 0 || ::fstat(out, &copy) != 0)
        return errno;
    if (source.st_size != copy.st_size)
        return EIO;
    ::fchmod(out, source.st_mode & 07777);
    const struct timespec times[2] = {source.st_atim, source.st_mtim};
    ::futimens(out, times);
    return ::fsync(out) == 0 ? 0 : errno;
}

void emptyFolder(const QByteArray &folder);

int removeTree(const QByteArray &path)
{
    struct stat st;
    if (::lstat(path.constData(), &st) != 0)
        return errno == ENOENT ? 0 : errno;
    if (!S_ISDIR(st.st_mode))
        return ::unlink(path.constData()) == 0 ? 0 : errno;
    emptyFolder(path);
    return ::rmdir(path.constData()) == 0 ? 0 : errno;
}

// Removes what the folder holds, as far as it can; the folder itself stays.
void emptyFolder(const QByteArray &folder)
{
    DIR *dir = ::opendir(folder.constData());
    if (!dir)
        return;
    QList<QByteArray> names;
    while (const dirent *entry = ::readdir(dir)) {
        if (std::strcmp(entry->d_name, ".") != 0 && std::strcmp(entry->d_name, "..") != 0)
            names.append(QByteArray(entry->d_name));
    }
    ::closedir(dir);
    for (const QByteArray &name : names)
        removeTree(LocalPaths::joinPath(folder, name));
}

// Copies a file, a link or a whole folder to a path that does not exist yet. Links are
// copied as links and never followed, so nothing outside the dropped folder is read.
int copyTree(const QByteArray &source, const QByteArray &target, QByteArray *failedPath)
{
    *failedPath = source;
    struct stat st;
    if (::lstat(source.constData(), &st) != 0)
        return errno;
    if (S_ISLNK(st.st_mode)) {
        QByteArray link(qMax<qsizetype>(st.st_size, 64) + 1, Qt::Uninitialized);
        ssize_t n;
        while ((n = ::readlink(source.constData(), link.data(), size_t(link.size()))) >= link.size())
            link.resize(link.size() * 2);
        if (n < 0)
            return errno;
        link.truncate(n);
        *failedPath = target;
        return ::symlink(link.constData(), target.constData()) == 0 ? 0 : errno;
    }
    if (S_ISREG(st.st_mode)) {
        FileDescriptor in(::open(source.constData(), O_RDONLY | O_NOFOLLOW | O_CLOEXEC));
        if (!in.isValid())
            return errno;
        *failedPath = target;
        FileDescriptor out(::open(target.constData(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600));
        if (!out.isValid())
            return errno;
        if (const int rc = copyIntoOpenFile(in.get(), out.get()))
            return rc;
        return out.close();
    }
    if (S_ISDIR(st.st_mode)) {
        *failedPath = target;
        if (::mkdir(target.constData(), 0700) != 0)
            return errno;
        *failedPath = source;
        FileDescriptor folder(::open(source.constData(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC));
        DIR *dir = folder.isValid() ? ::fdopendir(folder.get()) : nullptr;
        if (!dir)
            return errno;
        folder.release();
        int rc = 0;
        errno = 0;
        while (const dirent *entry = ::readdir(dir)) {
            if (std::strcmp(entry->d_name, ".") == 0 || std::strcmp(entry->d_name, "..") == 0)
                continue;
            const QByteArray name(entry->d_name);
            rc = copyTree(LocalPaths::joinPath(source, name), LocalPaths::joinPath(target, name), failedPath);
            if (rc)
                break;
        }
        ::closedir(dir);
        if (rc)
            return rc;
        ::chmod(target.constData(), st.st_mode & 07777);
        const struct timespec times[2] = {st.st_atim, st.st_mtim};
        ::utimensat(AT_FDCWD, target.constData(), times, AT_SYMLINK_NOFOLLOW);
        return LocalPaths::fsyncPath(target) ? 0 : errno;
    }
    return EOPNOTSUPP;
}

// Removes what a cross-device move has copied. An entry goes only when its copy is there
// with the same kind and size, so whatever appeared in the source during the copy stays.
bool removeCopied(const QByteArray &source, const QByteArray &copy)
{
    struct stat st;
    struct stat copied;
    if (::lstat(source.constData(), &st) != 0 || ::lstat(copy.constData(), &copied) != 0)
        return false;
    if ((st.st_mode & S_IFMT) != (copied.st_mode & S_IFMT))
        return false;
    if (S_ISDIR(st.st_mode)) {
        DIR *dir = ::opendir(source.constData());
        if (!dir)
            return false;
        QList<QByteArray> names;
        while (const dirent *entry = ::readdir(dir)) {
            if (std::strcmp(entry->d_name, ".") != 0 && std::strcmp(entry->d_name, "..") != 0)
                names.append(QByteArray(entry->d_name));
        }
        ::closedir(dir);
        bool all = true;
        for (const QByteArray &name : names)
            all = removeCopied(LocalPaths::joinPath(source, name), LocalPaths::joinPath(copy, name)) && all;
        return all && ::rmdir(source.constData()) == 0;
    }
    if (S_ISREG(st.st_mode) && st.st_size != copied.st_size)
        return false;
    return ::unlink(source.constData()) == 0;
}

QByteArray partName()
{
    return ".korvane-" + OutputNaming::randomKey().toLatin1() + ".part";
}

// Makes a complete copy of the source in the folder and gives it the first free name of
// the copy rule. A file is written unnamed (O_TMPFILE) and linked in once flushed; a folder
// or link is built under a hidden name and renamed in. Either way the last step refuses to
// replace an entry, so a name taken meanwhile only moves the copy on to the next number.
bool publishCopy(const QByteArray &source, const QByteArray &folder, const QByteArray &name, QByteArray *published,
                 Korvane::Error *error)
{
    struct stat st;
    if (::lstat(source.constData(), &st) != 0) {
        *error = LocalPaths::systemError(errno, source);
        return false;
    }
    FileDescriptor unnamed;
    QByteArray part;
    if (S_ISREG(st.st_mode)) {
        FileDescriptor in(::open(source.constData(), O_RDONLY | O_NOFOLLOW | O_CLOEXEC));
        if (!in.isValid()) {
            *error = LocalPaths::systemError(errno, source);
            return false;
        }
        unnamed = FileDescriptor(::open(folder.constData(), O_TMPFILE | O_WRONLY | O_CLOEXEC, 0600));
        if (unnamed.isValid()) {
            if (const int rc = copyIntoOpenFile(in.get(), unnamed.get())) {
                *error = LocalPaths::systemError(rc, LocalPaths::joinPath(folder, name));
                return false;
            }
        }
    }
    if (!unnamed.isValid()) {
        part = LocalPaths::joinPath(folder, partName());
        QByteArray failedPath;
        if (const int rc = copyTree(source, part, &failedPath)) {
            removeTree(part);
            *error = LocalPaths::systemError(rc, failedPath);
            return false;
        }
    }
    const QByteArray procPath = "/proc/self/fd/" + QByteArray::number(unnamed.get());
    for (qint64 n = 0;; ++n) {
        const QByteArray candidate = LocalPaths::joinPath(folder, LocalPaths::numberedName(name, n));
        if (LocalPaths::exists(candidate))
            continue;
        int rc;
        if (unnamed.isValid())
            rc = ::linkat(AT_FDCWD, procPath.constData(), AT_FDCWD, candidate.constData(), AT_SYMLINK_FOLLOW) == 0 ? 0 : errno;
        else
            rc = LocalPaths::renameNoReplace(part, candidate);
        if (rc == EEXIST)
            continue;
        if (rc == 0) {
            *published = candidate;
            LocalPaths::fsyncPath(folder);
            return true;
        }
        if (!part.isEmpty())
            removeTree(part);
        *error = LocalPaths::systemError(rc, candidate);
        return false;
    }
}

} // namespace

QByteArray FileManager::localPath(const QUrl &url)
{
    if (!url.isLocalFile())
        return QByteArray();
    return QByteArray::fromPercentEncoding(url.path(QUrl::FullyEncoded).toLatin1());
}

QByteArray FileManager::cleanPath(const QByteArray &path)
{
    const QByteArray absolute = path.startsWith('/') ? path : QFile::encodeName(QDir::currentPath()) + '/' + path;
    QList<QByteArray> parts;
    for (const QByteArray &part : absolute.split('/')) {
        if (part.isEmpty() || part == ".")
            continue;
        if (part == "..") {
            if (!parts.isEmpty())
                parts.removeLast();
            continue;
        }
        parts.append(part);
    }
    return '/' + parts.join('/');
}

QString FileManager::displayName(const QByteArray &name)
{
    // Valid UTF-8 shows as it is; every other byte as \xNN, so two names never look alike.
    QString shown;
    const auto *bytes = reinterpret_cast<const uchar *>(name.constData());
    for (qsizetype i = 0; i < name.size();) {
        const uchar lead = bytes[i];
        const int length = lead < 0x80 ? 1 : (lead >> 5) == 0x6 ? 2
            : (lead >> 4) == 0xe                                ? 3
            : (lead >> 3) == 0x1e                               ? 4
                                                                : 0;
        const QByteArray sequence = length > 0 && i + length <= name.size() ? name.mid(i, length) : QByteArray();
        const QString decoded = QString::fromUtf8(sequence);
        if (!sequence.isEmpty() && decoded.toUtf8() == sequence) {
            shown += decoded;
            i += length;
        } else {
            shown += QStringLiteral("\\x") + QString::number(lead, 16).toUpper().rightJustified(2, QLatin1Char('0'));
            ++i;
        }
    }
    return shown;
}

QString FileManager::textPath(const QUrl &url, Korvane::Error *error)
{
    const QByteArray bytes = localPath(url);
    const QString path = QFile::decodeName(bytes);
    if (!bytes.isEmpty() && QFile::encodeName(path) == bytes)
        return path;
    if (error)
        *error = Korvane::Error(NameNotUtf8, qtTrId("nameNotUtf8").arg(displayName(bytes)));
    return QString();
}

bool FileManager::isRegularFile(const QByteArray &path, Korvane::Error *error)
{
    struct stat st;
    if (::stat(path.constData(), &st) != 0) {
        if (error)
            *error = errno == ENOENT ? Korvane::Error(NoFile, qtTrId("NoFile")) : LocalPaths::systemError(errno, path);
        return false;
    }
    if (S_ISREG(st.st_mode))
        return true;
    if (error)
        *error = Korvane::Error(NotRegularFile, qtTrId("notRegularFile").arg(displayName(path)));
    return false;
}

bool FileManager::isRegularFile(const QString &path, Korvane::Error *error)
{
    return isRegularFile(QFile::encodeName(path), error);
}

QString FileManager::nameProblem(const QByteArray &name)
{
    if (!name.isEmpty() && name != "." && name != ".." && !name.contains('/') && !name.contains('\0')
        && name.size() <= maximumNameBytes)
        return QString();
    return qtTrId("badNewName").arg(displayName(name)).arg(maximumNameBytes);
}

bool FileManager::copyFile(const QUrl &file, const QString &toFolder, Korvane::Error *error)
{
    return copyFile(file, toFolder, false, error);
}

bool FileManager::moveFile(const QUrl &file, const QString &toFolder, Korvane::Error *error)
{
    return copyFile(file, toFolder, true, error);
}

bool FileManager::copyFile(const QUrl &file, const QString &toFolder, bool isDeleteFile, Korvane::Error *error,
                           QString *outFile)
{
    Korvane::Error ignored;
    Korvane::Error &failure = error ? *error : ignored;
    const QByteArray given = localPath(file);
    const QByteArray source = given.isEmpty() ? QByteArray() : cleanPath(given);
    struct stat st;
    if (source.isEmpty() || ::lstat(source.constData(), &st) != 0) {
        failure = Korvane::Error(NoFile, qtTrId("NoFile"));
        return false;
    }
    const QByteArray folder = LocalPaths::withoutTrailingSlashes(QFile::encodeName(toFolder));
    const QByteArray name = LocalPaths::lastComponent(source);
    // Checked on the paths as given before anything is created, and on the real paths after.
    // Every folder is inside "/", so the root is never copied or moved anywhere.
    const auto isInside = [](const QByteArray &inner, const QByteArray &outer) {
        return outer == "/" || (!outer.isEmpty() && (inner == outer || inner.startsWith(outer + '/')));
    };
    const QByteArray cleanFolder = cleanPath(QFile::encodeName(toFolder));
    const QByteArray &cleanSource = source;
    const auto refuseIntoItself = [&] {
        failure = Korvane::Error(EINVAL, qtTrId("folderIntoItself"), QStringLiteral("posix"));
        qCWarning(lcFiles, "refused to put the folder %s into itself",
                  qUtf8Printable(LogText::summary(source, lcFiles())));
        return false;
    };
    if (S_ISDIR(st.st_mode) && isInside(cleanFolder, cleanSource))
        return refuseIntoItself();
    struct stat folderStat;
    if (::stat(folder.constData(), &folderStat) == 0) {
        if (!S_ISDIR(folderStat.st_mode)) {
            failure = Korvane::Error(MustBeFolder, qtTrId("MustBeFolder"));
            return false;
        }
    } else if (const int rc = folder.isEmpty() ? ENOENT : makePath(folder)) {
        failure = LocalPaths::systemError(rc, folder);
        return false;
    }

    const QByteArray realFolder = realPath(folder);
    const QByteArray realSourceFolder = realPath(LocalPaths::parentOf(source));
    if (S_ISDIR(st.st_mode) && isInside(realFolder, LocalPaths::joinPath(realSourceFolder, name)))
        return refuseIntoItself();
    QByteArray target;
    if (isDeleteFile && !realFolder.isEmpty() && realFolder == realSourceFolder) {
        target = source;
    } else if (isDeleteFile) {
        for (qint64 n = 0; target.isEmpty(); ++n) {
            const QByteArray candidate = LocalPaths::joinPath(folder, LocalPaths::numberedName(name, n));
            if (LocalPaths::exists(candidate))
                continue;
            const int rc = LocalPaths::renameNoReplace(source, candidate);
            if (rc == 0) {
                target = candidate;
                LocalPaths::fsyncPath(folder);
                LocalPaths::fsyncPath(LocalPaths::parentOf(source));
            } else if (rc == EXDEV) {
                if (!publishCopy(source, folder, name, &target, &failure))
                    return false;
                if (!removeCopied(source, target))
                    qCWarning(lcFiles, "moved %s to %s, but some of the source stays where it was",
                              qUtf8Printable(LogText::summary(source, lcFiles())),
                              qUtf8Printable(LogText::summary(target, lcFiles())));
            } else if (rc != EEXIST) {
                failure = LocalPaths::systemError(rc, source);
                return false;
            }
        }
    } else if (!publishCopy(source, folder, name, &target, &failure)) {
        return false;
    }
    if (outFile)
        *outFile = QFile::decodeName(target);
    return true;
}

bool FileManager::renameFile(const QByteArray &source, const QByteArray &toNewFile, QString *outFile, Korvane::Error *error,
                             RenameJournal &journal)
{
    Korvane::Error ignored;
    Korvane::Error &failure = error ? *error : ignored;
    if (outFile)
        outFile->clear();
    const QByteArray path = LocalPaths::withoutTrailingSlashes(source);
    quint64 mount = 0;
    if (path.isEmpty() || !MountId::of(path.constData(), &mount, false)) {
        failure = Korvane::Error(NoFile, qtTrId("NoFile"));
        return false;
    }
    const QByteArray wanted = LocalPaths::withoutTrailingSlashes(toNewFile);
    if (wanted == path)
        return true;
    // The last word on every name: a rename never takes a file out of its folder.
    const QByteArray name = toNewFile.mid(toNewFile.lastIndexOf('/') + 1);
    const QString problem = nameProblem(name);
    if (!problem.isEmpty() || LocalPaths::parentOf(cleanPath(wanted)) != LocalPaths::parentOf(cleanPath(path))) {
        failure = Korvane::Error(BadName, problem.isEmpty() ? nameProblem("/") : problem);
        return false;
    }
    QByteArray staged;
    if (!journal.planStaging(path, mount, wanted, &staged, &failure))
        return false;
    if (outFile)
        *outFile = QFile::decodeName(staged);
    return true;
}

void FileManager::recoverRenames()
{
    const QString temp = tempFolderPath();
    if (!temp.isEmpty())
        RenameJournal::recoverIn(temp);
}

QString FileManager::initTempFolder(Korvane::Error *error, QString tempFolder)
{
    const QString temp = tempFolder.isEmpty() ? tempFolderPath() : tempFolder;
    const int rc = temp.isEmpty() ? ENOENT : makePath(QFile::encodeName(temp));
    if (rc) {
        if (error)
            *error = LocalPaths::systemError(rc, QFile::encodeName(temp));
        return QString();
    }
    RenameJournal::recoverIn(temp);
    return temp;
}

QUrl FileManager::saveCacheFile(const QString &text, Korvane::Error *error)
{
    if (text.isEmpty())
        return QUrl();
    const QString cache = cacheFolderPath();
    const QByteArray folder = QFile::encodeName(cache);
    if (const int rc = cache.isEmpty() ? ENOENT : makePath(folder)) {
        if (error)
            *error = LocalPaths::systemError(rc, folder);
        return QUrl();
    }
    emptyFolder(folder);
    QString name = text.left(15);
    name.remove(QLatin1Char('/'));
    const QString path = cache + QLatin1Char('/') + name + QStringLiteral(".txt");
    QFile out(path);
    if (!out.open(QIODevice::WriteOnly | QIODevice::Truncate) || out.write(text.toUtf8()) < 0 || !out.flush()) {
        if (error)
            *error = LocalPaths::systemError(EIO, QFile::encodeName(path));
        return QUrl();
    }
    return QUrl::fromLocalFile(path);
}

QString FileManager::applicationSupportDirectory()
{
    return ActionStore::instance()->applicationSupportDirectory();
}

QString FileManager::findOrCreateDirectory(QStandardPaths::StandardLocation directory, int domainMask,
                                           const QString &appendPathComponent, Korvane::Error *error)
{
    QString message;
    const QString path = ActionStore::findOrCreateDirectory(directory, domainMask, appendPathComponent, &message);
    if (path.isEmpty() && error)
        *error = Korvane::Error(ENOENT, message, QStringLiteral("posix"));
    return path;
}

QString FileManager::tempFolderPath()
{
    const QString support = applicationSupportDirectory();
    return support.isEmpty() ? QString() : support + QStringLiteral("/Temp");
}

QString FileManager::cacheFolderPath()
{
    const QString support = applicationSupportDirectory();
    return support.isEmpty() ? QString() : support + QStringLiteral("/Cache");
}
