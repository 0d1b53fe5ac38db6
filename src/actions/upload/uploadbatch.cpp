#include "actions/upload/uploadbatch.h"

#include "actions/actionslogging.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QLoggingCategory>
#include <QThread>

namespace {

QList<qint64> sizesOf(const QList<UploadBatch::Unit> &units)
{
    QList<qint64> sizes;
    for (const UploadBatch::Unit &unit : units)
        sizes.append(unit.size);
    return sizes;
}

} // namespace

UploadBatch::Unit UploadBatch::Unit::ofFile(const QString &path, const QString &key)
{
    const QFileInfo info(path);
    return {info.fileName(), info.size(), key, path, QByteArray()};
}

UploadBatch::Unit UploadBatch::Unit::ofData(const QByteArray &bytes, const QString &key)
{
    return {QString(), bytes.size(), key, QString(), bytes};
}

UploadBatch::UploadBatch(const DropPtr &drop, const ActionReply &reply, ResultStep resultStep,
                         const QString &store, const QList<Unit> &units, const Korvane::Progress &progress)
    : m_drop(drop)
    , m_reply(reply)
    , m_resultStep(resultStep)
    , m_store(store)
    , m_units(units)
    , m_progress(progress, sizesOf(units))
    , m_running(units.size(), false)
{
}

void UploadBatch::start(qsizetype unit, std::function<void()> upload)
{
    // A unit sent again (to another endpoint, under another name) keeps the place it has.
    if (unit >= 0 && unit < m_running.size() && m_running[unit]) {
        upload();
        return;
    }
    m_waiting.append({unit, std::move(upload)});
    startWaiting();
}

void UploadBatch::startEach(qsizetype first, const std::function<void(qsizetype unit)> &upload)
{
    for (qsizetype unit = first; unit < total(); ++unit)
        start(unit, [upload, unit] { upload(unit); });
}

bool UploadBatch::completeIfEmpty()
{
    if (total() > 0)
        return false;
    complete(0, {});
    return true;
}

UploadCallbacks UploadBatch::callbacks(qsizetype unit, const Link &link)
{
    const std::shared_ptr<UploadBatch> self = shared_from_this();
    return {[self, unit, link](const UploadCallbacks::Outcome &outcome) {
                self->answer(unit, outcome.stored ? link(outcome) : QString());
            },
            [self, unit](qint64 sent, qint64 bodySize) { self->unitSent(unit, sent, bodySize); }};
}

void UploadBatch::startWaiting()
{
    // An upload that answers at once starts the next one from this loop, not from deeper down.
    if (m_starting)
        return;
    m_starting = true;
    while (m_runningCount < MaximumRunningUploads && !m_waiting.isEmpty()) {
        auto [unit, upload] = m_waiting.takeFirst();
        if (unit >= 0 && unit < m_running.size()) {
            m_running[unit] = true;
            ++m_runningCount;
        }
        upload();
    }
    m_starting = false;
}

void UploadBatch::unitSent(qsizetype unit, qint64 sent, qint64 bodySize)
{
    m_progress.unitSent(unit, sent, bodySize);
}

void UploadBatch::unitAnswered(qsizetype unit, const QString &url)
{
    Q_ASSERT(QThread::currentThread() == QCoreApplication::instance()->thread());
    if (!url.isEmpty() && unit >= 0 && unit < m_units.size())
        m_stored.append({QDateTime::currentDateTimeUtc(), m_units.at(unit).fileName, url, m_store});
    if (url.isEmpty() && unit >= 0 && unit < m_units.size() && !m_units.at(unit).fileName.isEmpty())
        m_failures.append(qtTrId("uploadNotStored").arg(m_units.at(unit).fileName));
    m_progress.unitFinished(unit);
    if (unit >= 0 && unit < m_running.size() && m_running[unit]) {
        m_running[unit] = false;
        --m_runningCount;
        startWaiting();
    }
}

void UploadBatch::answer(qsizetype unit, const QString &url)
{
    if (m_finished >= total()) {
        qCWarning(lcUpload, "an answer after the batch was complete is ignored");
        return;
    }
    unitAnswered(unit, url);
    if (url.isEmpty())
        ++m_failed;
    else
        m_urls.append(url);
    if (++m_finished == total())
        complete(m_failed, m_urls);
}

void UploadBatch::complete(qint64 failCount, const QStringList &urls)
{
    UploadHistory::append(m_stored);
    m_stored.clear();
    m_resultStep(m_drop, failCount, m_reply, urls, m_failures);
}
