#pragma once

#include "common/error.h"

#include <QByteArray>
#include <QList>
#include <QSet>
#include <QString>

// One rename run's staging area and its journal in "Temp".
//
// A run moves every file into a staging folder of its own and from there to its new name,
// each step an atomic rename(2) on one file system: the run folder in "Temp", or, for files
// on another file system, a hidden run folder beside the file. Before each batch of moves
// the journal gets a line per move (original path, staged path, final path) and is flushed
// to the disk, so whenever the process stops, the journal says where every file may be.
// A live run holds a lock on its journal; a journal nobody holds belongs to a run that
// ended without finishing, and recovery moves its staged files on to their final names or
// back to their original ones before it removes the run's folders and the journal.
class RenameJournal final
{
public:
    // Recovers every run in the folder that is no longer alive; running ones are left alone.
    static void recoverIn(const QString &tempFolder);

    explicit RenameJournal(const QString &tempFolder);
    ~RenameJournal();
    RenameJournal(const RenameJournal &) = delete;
    RenameJournal &operator=(const RenameJournal &) = delete;

    // Creates and locks the journal.
    bool begin(Korvane::Error *error);
    // Chooses the staging path of a file to be renamed to the wanted path: its new name,
    // made free with "-1", "-2", ... among the run's files bound for the same folder. The move
    // itself waits for stageAll().
    bool planStaging(const QByteArray &source, quint64 mount, const QByteArray &wanted, QByteArray *staged,
                     Korvane::Error *error);
    // Moves every planned file into staging; gives how many got there.
    int stageAll();
    // Moves every staged file into its wanted folder under a free name ("x.txt", "x1.txt").
    // A file that cannot go there goes back to where it came from.
    void finishAll();
    // Removes the run's folders and the journal once nothing is left in staging.
    void end();

private:
    struct Entry {
        QByteArray source;
        QByteArray staged;
        QByteArray finalFolder;
        QByteArray finalName;
        bool isStaged = false;
    };

    bool append(const QByteArray &records);
    bool moveToFree(const Entry &entry, const QByteArray &destination, bool undo);

    QByteArray m_tempFolder;
    QByteArray m_runId;
    QByteArray m_journalPath;
    quint64 m_tempMount = 0;
    int m_fd = -1;
    QList<Entry> m_entries;
    QList<QByteArray> m_folders;
    int m_foldersWritten = 0;
    int m_entriesWritten = 0;
    QSet<QByteArray> m_plannedFinals;
    QSet<QByteArray> m_stagedPaths;
    QSet<QByteArray> m_takenFinals;
    bool m_keepJournal = false;
};
