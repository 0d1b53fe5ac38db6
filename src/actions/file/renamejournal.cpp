#include "actions/file/renamejournal.h"

#include "actions/file/localpaths.h"
#include "actions/outputnaming.h"
#include "common/logtext.h"
#include "actions/actionslogging.h"
#include "platform/mountid.h"

#include <QFile>
#include <QHash>
#include <QLoggingCategory>

#include <cerrno>
#include <cstring>

#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

const QByteArray journalHeader("korvane-rename 1\n");
const QByteArray journalSuffix(".journal");
const QByteArray newJournalSuffix(".journal.new");

// Journal fields are percent-encoded, so names with spaces, line feeds or bytes that are
// not UTF-8 keep every byte and never break a line.
QByteArray record(const char *kind, const QByteArray &first, const QByteArray &second = QByteArray())
{
    QByteArray line(kind);
    line += ' ' + first.toPercentEncoding();
    if (!second.isNull())
        line += ' ' + second.toPercentEncoding();
    return line + '\n';
}

QList<QByteArray> entriesOf(const QByteArray &folder)
{
    QList<QByteArray> names;
    if (DIR *dir = ::opendir(folder.constData())) {
        while (const dirent *entry = ::readdir(dir)) {
            if (std::strcmp(entry->d_name, ".") != 0 && std::strcmp(entry->d_name, "..") != 0)
                names.append(QByteArray(entry->d_name));
        }
        ::closedir(dir);
    }
    return names;
}

// The staging rule for a name taken within the run: "x.txt", "x-1.txt", "x-2.txt".
QByteArray stagingName(const QByteArray &name, qint64 n)
{
    if (n == 0)
        return name;
    const int dot = name.lastIndexOf('.');
    if (dot <= 0 || dot == name.size() - 1)
        return name + '-' + QByteArray::number(n);
    return name.left(dot) + '-' + QByteArray::number(n) + name.mid(dot);
}

// Moves a file to the path, or to its first free numbered form in the same folder; never
// replaces anything. Gives 0 or the error of the last attempt.
int moveToFreeName(const QByteArray &from, const QByteArray &to, QByteArray *landed)
{
    const QByteArray folder = LocalPaths::parentOf(to);
    const QByteArray name = LocalPaths::lastComponent(to);
    for (qint64 n = 0;; ++n) {
        const QByteArray candidate = LocalPaths::joinPath(folder, LocalPaths::numberedName(name, n));
        if (LocalPaths::exists(candidate))
            continue;
        const int rc = LocalPaths::renameNoReplace(from, candidate);
        if (rc == EEXIST)
            continue;
        if (rc == 0)
            *landed = candidate;
        return rc;
    }
}

// Puts every file of a run that stopped where its journal says it belongs: on to its final
// name when the last step had begun, back to its original name otherwise.
bool replay(const QByteArray &journalPath, int fd)
{
    QByteArray content;
    char buffer[65536];
    ssize_t n;
    while ((n = ::pread(fd, buffer, sizeof buffer, content.size())) > 0)
        content.append(buffer, n);
    // A line the process did not finish writing was never flushed, so its move never began.
    content.truncate(content.lastIndexOf('\n') + 1);

    QList<QPair<QByteArray, QByteArray>> staged;
    QHash<QByteArray, QByteArray> finals;
    QList<QByteArray> folders;
    for (const QByteArray &line : content.split('\n')) {
        const QList<QByteArray> fields = line.split(' ');
        if (fields.size() == 2 && fields[0] == "dir")
            folders.append(QByteArray::fromPercentEncoding(fields[1]));
        else if (fields.size() == 3 && fields[0] == "stage")
            staged.append({QByteArray::fromPercentEncoding(fields[1]), QByteArray::fromPercentEncoding(fields[2])});
        else if (fields.size() == 3 && fields[0] == "final")
            finals.insert(QByteArray::fromPercentEncoding(fields[1]), QByteArray::fromPercentEncoding(fields[2]));
    }

    bool complete = true;
    int forward = 0;
    int back = 0;
    QSet<QByteArray> touched;
    for (const auto &[source, stagedPath] : staged) {
        if (!LocalPaths::exists(stagedPath))
            continue;
        const bool onward = finals.contains(stagedPath);
        QByteArray landed;
        const int rc = moveToFreeName(stagedPath, onward ? finals.value(stagedPath) : source, &landed);
        if (rc) {
            complete = false;
            qCWarning(lcFiles, "cannot put back %s from an interrupted rename: %s",
                      qUtf8Printable(LogText::summary(stagedPath, lcFiles())),
                      std::strerror(rc));
            continue;
        }
        touched.insert(LocalPaths::parentOf(landed));
        ++(onward ? forward : back);
    }
    for (const QByteArray &folder : std::as_const(touched))
        LocalPaths::fsyncPath(folder);
    for (const QByteArray &folder : std::as_const(folders)) {
        if (::rmdir(folder.constData()) != 0 && errno != ENOENT) {
            complete = false;
            qCWarning(lcFiles, "the folder %s of an interrupted rename is not empty; it stays",
                      qUtf8Printable(LogText::summary(folder, lcFiles())));
        }
    }
    if (forward + back > 0)
        qCWarning(lcFiles, "finished an interrupted rename: %d files renamed, %d put back", forward, back);
    if (complete)
        ::unlink(journalPath.constData());
    return complete;
}

// Opens a journal or a journal being created and locks it when no live run holds it.
int lockAbandoned(const QByteArray &path)
{
    const int fd = ::open(path.constData(), O_RDWR | O_CLOEXEC | O_NOFOLLOW);
    if (fd < 0)
        return -1;
    struct stat opened;
    struct stat named;
    // The run may have finished and removed it between the open and the lock.
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0 || ::fstat(fd, &opened) != 0 || ::lstat(path.constData(), &named) != 0
        || opened.st_ino != named.st_ino || opened.st_dev != named.st_dev) {
        ::close(fd);
        return -1;
    }
    return fd;
}

} // namespace

void RenameJournal::recoverIn(const QString &tempFolder)
{
    const QByteArray temp = QFile::encodeName(tempFolder);
    const QList<QByteArray> names = entriesOf(temp);
    bool changed = false;
    for (const QByteArray &name : names) {
        const QByteArray path = LocalPaths::joinPath(temp, name);
        if (name.endsWith(journalSuffix)) {
            const int fd = lockAbandoned(path);
            if (fd >= 0) {
                replay(path, fd);
                ::close(fd);
                changed = true;
            }
        } else if (name.endsWith(newJournalSuffix)) {
            // A run that stopped before its journal had a name had not touched any file.
            const int fd = lockAbandoned(path);
            if (fd >= 0) {
                ::unlink(path.constData());
                ::close(fd);
                changed = true;
            }
        }
    }
    // A run folder outlives its journal only when a removal failed; an empty one can go.
    for (const QByteArray &name : entriesOf(temp)) {
        if (name.endsWith(journalSuffix) || name.endsWith(newJournalSuffix)
            || LocalPaths::exists(LocalPaths::joinPath(temp, name + journalSuffix)))
            continue;
        const QByteArray path = LocalPaths::joinPath(temp, name);
        struct stat st;
        if (::lstat(path.constData(), &st) == 0 && S_ISDIR(st.st_mode) && ::rmdir(path.constData()) == 0)
            changed = true;
    }
    if (changed)
        LocalPaths::fsyncPath(temp);
}

RenameJournal::RenameJournal(const QString &tempFolder)
    : m_tempFolder(LocalPaths::withoutTrailingSlashes(QFile::encodeName(tempFolder)))
{
}

RenameJournal::~RenameJournal()
{
    if (m_fd >= 0)
        ::close(m_fd);
}

bool RenameJournal::begin(Korvane::Error *error)
{
    if (m_tempFolder.isEmpty() || !MountId::of(m_tempFolder.constData(), &m_tempMount)) {
        *error = LocalPaths::systemError(errno ? errno : ENOENT, m_tempFolder);
        return false;
    }
    m_runId = QByteArray::number(qint64(::getpid())) + '-' + OutputNaming::randomKey().toLatin1();
    m_journalPath = LocalPaths::joinPath(m_tempFolder, m_runId + journalSuffix);
    // The journal gets its lock before its name, so recovery never takes a live run for a
    // dead one.
    const QByteArray newPath = LocalPaths::joinPath(m_tempFolder, '.' + m_runId + newJournalSuffix);
    m_fd = ::open(newPath.constData(), O_WRONLY | O_CREAT | O_EXCL | O_APPEND | O_CLOEXEC, 0600);
    if (m_fd < 0) {
        *error = LocalPaths::systemError(errno, newPath);
        return false;
    }
    if (::flock(m_fd, LOCK_EX) != 0 || ::write(m_fd, journalHeader.constData(), size_t(journalHeader.size())) != journalHeader.size()
        || ::fsync(m_fd) != 0 || ::rename(newPath.constData(), m_journalPath.constData()) != 0) {
        *error = LocalPaths::systemError(errno ? errno : EIO, newPath);
        ::unlink(newPath.constData());
        ::close(m_fd);
        m_fd = -1;
        return false;
    }
    LocalPaths::fsyncPath(m_tempFolder);
    return true;
}

bool RenameJournal::planStaging(const QByteArray &source, quint64 mount, const QByteArray &wanted, QByteArray *staged,
                                Korvane::Error *error)
{
    if (m_fd < 0) {
        *error = LocalPaths::systemError(EBADF, m_journalPath);
        return false;
    }
    // Staging on the file's own mount keeps every step a rename, never a copy.
    const QByteArray folder = mount == m_tempMount
        ? LocalPaths::joinPath(m_tempFolder, m_runId)
        : LocalPaths::joinPath(LocalPaths::parentOf(source), ".korvane-" + m_runId);
    if (!m_folders.contains(folder))
        m_folders.append(folder);
    // The "-1" of a name taken within the run belongs to the file's own folder; a name taken
    // in the shared staging folder by a file of another folder is numbered there only.
    const QByteArray finalFolder = LocalPaths::parentOf(wanted);
    const QByteArray name = LocalPaths::lastComponent(wanted);
    QByteArray finalName;
    for (qint64 n = 0; finalName.isEmpty(); ++n) {
        const QByteArray candidate = stagingName(name, n);
        if (!m_plannedFinals.contains(LocalPaths::joinPath(finalFolder, candidate)))
            finalName = candidate;
    }
    m_plannedFinals.insert(LocalPaths::joinPath(finalFolder, finalName));
    staged->clear();
    for (qint64 n = 0; staged->isEmpty(); ++n) {
        const QByteArray candidate = LocalPaths::joinPath(folder, stagingName(finalName, n));
        if (!m_stagedPaths.contains(candidate))
            *staged = candidate;
    }
    m_stagedPaths.insert(*staged);
    m_entries.append({source, *staged, finalFolder, finalName});
    return true;
}

bool RenameJournal::append(const QByteArray &records)
{
    for (qsizetype written = 0; written < records.size();) {
        const ssize_t n = ::write(m_fd, records.constData() + written, size_t(records.size() - written));
        if (n < 0 && errno != EINTR)
            return false;
        written += n > 0 ? n : 0;
    }
    return ::fsync(m_fd) == 0;
}

int RenameJournal::stageAll()
{
    QByteArray records;
    for (; m_foldersWritten < m_folders.size(); ++m_foldersWritten)
        records += record("dir", m_folders[m_foldersWritten]);
    const int first = m_entriesWritten;
    for (; m_entriesWritten < m_entries.size(); ++m_entriesWritten)
        records += record("stage", m_entries[m_entriesWritten].source, m_entries[m_entriesWritten].staged);
    if (!append(records)) {
        qCWarning(lcFiles, "cannot write the rename journal %s: %s", m_journalPath.constData(), std::strerror(errno));
        m_keepJournal = true;
        return 0;
    }
    for (const QByteArray &folder : std::as_const(m_folders)) {
        if (::mkdir(folder.constData(), 0700) != 0 && errno != EEXIST)
            qCWarning(lcFiles, "cannot create the staging folder %s: %s",
                      qUtf8Printable(LogText::summary(folder, lcFiles())),
                      std::strerror(errno));
    }
    int count = 0;
    for (int i = first; i < m_entries.size(); ++i) {
        Entry &entry = m_entries[i];
        const int rc = LocalPaths::renameNoReplace(entry.source, entry.staged);
        entry.isStaged = rc == 0;
        if (rc)
            qCWarning(lcFiles, "cannot stage %s: %s",
                      qUtf8Printable(LogText::summary(entry.source, lcFiles())), std::strerror(rc));
        else
            ++count;
    }
    return count;
}

bool RenameJournal::moveToFree(const Entry &entry, const QByteArray &destination, bool undo)
{
    const QByteArray folder = LocalPaths::parentOf(destination);
    const QByteArray name = LocalPaths::lastComponent(destination);
    for (qint64 n = 0;; ++n) {
        const QByteArray candidate = LocalPaths::joinPath(folder, LocalPaths::numberedName(name, n));
        if (m_takenFinals.contains(candidate) || LocalPaths::exists(candidate))
            continue;
        if (!append(record("final", entry.staged, candidate))) {
            m_keepJournal = true;
            return false;
        }
        const int rc = LocalPaths::renameNoReplace(entry.staged, candidate);
        if (rc == EEXIST)
            continue;
        if (rc) {
            qCWarning(lcFiles, "cannot move %s %s %s: %s", qUtf8Printable(LogText::summary(entry.staged, lcFiles())),
                      undo ? "back to" : "to", qUtf8Printable(LogText::summary(candidate, lcFiles())), std::strerror(rc));
            return false;
        }
        m_takenFinals.insert(candidate);
        return true;
    }
}

void RenameJournal::finishAll()
{
    // One flushed batch of final names for the common case: names that are free when chosen.
    QList<QByteArray> targets(m_entries.size());
    QByteArray records;
    for (int i = 0; i < m_entries.size(); ++i) {
        const Entry &entry = m_entries[i];
        if (!entry.isStaged)
            continue;
        for (qint64 n = 0; targets[i].isEmpty(); ++n) {
            const QByteArray candidate = LocalPaths::joinPath(entry.finalFolder, LocalPaths::numberedName(entry.finalName, n));
            if (!m_takenFinals.contains(candidate) && !LocalPaths::exists(candidate))
                targets[i] = candidate;
        }
        m_takenFinals.insert(targets[i]);
        records += record("final", entry.staged, targets[i]);
    }
    if (records.isEmpty())
        return;
    if (!append(records)) {
        qCWarning(lcFiles, "cannot write the rename journal %s: %s", m_journalPath.constData(), std::strerror(errno));
        m_keepJournal = true;
        return;
    }
    QSet<QByteArray> touched;
    for (int i = 0; i < m_entries.size(); ++i) {
        Entry &entry = m_entries[i];
        if (!entry.isStaged)
            continue;
        const int rc = LocalPaths::renameNoReplace(entry.staged, targets[i]);
        if (rc != 0) {
            m_takenFinals.remove(targets[i]);
            // Someone took the name meanwhile: the next free one. A name the file system
            // refuses: the file goes back to its own name.
            const QByteArray wanted = LocalPaths::joinPath(entry.finalFolder, entry.finalName);
            if (!(rc == EEXIST && moveToFree(entry, wanted, false)) && !moveToFree(entry, entry.source, true)) {
                m_keepJournal = true;
                continue;
            }
        }
        entry.isStaged = false;
        touched.insert(entry.finalFolder);
    }
    // The journal may go only once the moves it describes are on the disk.
    for (const QByteArray &folder : std::as_const(touched))
        LocalPaths::fsyncPath(folder);
    for (const QByteArray &folder : std::as_const(m_folders))
        LocalPaths::fsyncPath(folder);
}

void RenameJournal::end()
{
    if (m_fd < 0)
        return;
    for (const QByteArray &folder : std::as_const(m_folders)) {
        if (::rmdir(folder.constData()) != 0 && errno != ENOENT) {
            qCWarning(lcFiles, "the staging folder %s is not empty; it stays for the next start",
                      qUtf8Printable(LogText::summary(folder, lcFiles())));
            m_keepJournal = true;
        }
    }
    if (!m_keepJournal) {
        ::unlink(m_journalPath.constData());
        LocalPaths::fsyncPath(m_tempFolder);
    }
    ::close(m_fd);
    m_fd = -1;
}
