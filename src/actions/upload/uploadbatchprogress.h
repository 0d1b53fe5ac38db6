#pragma once

#include "common/completion.h"

#include <QList>

// The bytes sent over a whole batch of uploads. Each unit weighs its size (an empty file one
// byte, so that every batch moves forward); a unit counts what its request has sent, as a
// share of its size, and all of its size once it has answered, stored or not. Reports go to
// the progress callback on the main thread, never going back, at most once per thousandth of
// the batch, and (total, total) exactly once: when the last unit has answered.
class UploadBatchProgress final
{
public:
    UploadBatchProgress(const Korvane::Progress &progress, const QList<qint64> &unitSizes);

    qint64 total() const { return m_total; }
    // A unit's request has sent sent of its total body bytes. A unit sent again (a retry
    // under another name, another endpoint) counts only what goes beyond its best so far.
    void unitSent(qsizetype unit, qint64 sent, qint64 total);
    void unitFinished(qsizetype unit);

private:
    void setUnitDone(qsizetype unit, qint64 done);
    void report();

    Korvane::Progress m_progress;
    QList<qint64> m_sizes;
    QList<qint64> m_done;
    QList<bool> m_finished;
    qsizetype m_finishedCount = 0;
    qint64 m_total = 0;
    qint64 m_sent = 0;
    qint64 m_lastStep = -1;
};
