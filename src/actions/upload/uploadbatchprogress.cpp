#include "actions/upload/uploadbatchprogress.h"

#include <QCoreApplication>
#include <QThread>

#include <algorithm>

namespace {

constexpr qint64 steps = 1000;

} // namespace

UploadBatchProgress::UploadBatchProgress(const Korvane::Progress &progress, const QList<qint64> &unitSizes)
    : m_progress(progress)
{
    for (const qint64 size : unitSizes) {
        m_sizes.append(std::max<qint64>(size, 1));
        m_total += m_sizes.last();
    }
    m_done.fill(0, m_sizes.size());
    m_finished.fill(false, m_sizes.size());
}

void UploadBatchProgress::unitSent(qsizetype unit, qint64 sent, qint64 total)
{
    if (unit < 0 || unit >= m_sizes.size() || m_finished.at(unit) || total <= 0)
        return;
    // The body is a little larger than the file (form fields, headers of the part); its last
    // bytes count once the store has answered.
    const qint64 share = qint64(double(m_sizes.at(unit)) * double(std::clamp(sent, qint64(0), total)) / double(total));
    setUnitDone(unit, std::min(share, m_sizes.at(unit) - 1));
}

void UploadBatchProgress::unitFinished(qsizetype unit)
{
    if (unit < 0 || unit >= m_sizes.size() || m_finished.at(unit))
        return;
    m_finished[unit] = true;
    ++m_finishedCount;
    setUnitDone(unit, m_sizes.at(unit));
}

void UploadBatchProgress::setUnitDone(qsizetype unit, qint64 done)
{
    Q_ASSERT(QThread::currentThread() == QCoreApplication::instance()->thread());
    if (done <= m_done.at(unit))
        return;
    m_sent += done - m_done.at(unit);
    m_done[unit] = done;
    report();
}

void UploadBatchProgress::report()
{
    if (m_total == 0)
        return;
    const bool complete = m_finishedCount == m_sizes.size();
    // Until the last answer the batch shows at most one step short of complete, so that
    // complete is reported once, at the end.
    const qint64 step = complete ? steps : std::min(m_sent * steps / m_total, steps - 1);
    if (step <= m_lastStep)
        return;
    m_lastStep = step;
    if (m_progress)
        m_progress(complete ? m_total : std::min(m_sent, m_total - 1), m_total);
}
