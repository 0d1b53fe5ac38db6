#include "uploadbatch.h"

#include <QCoreApplication>
#include <QLoggingCategory>
#include <QThread>

namespace {

Q_LOGGING_CATEGORY(lcBatch, "korvane.actions.upload", QtWarningMsg)

QList<qint64> sizesOf(const QList<UploadBatch::Unit> &units)
{
    QList<qint64> sizes;
    for (const UploadBatch::Unit &unit : units)
        sizes.append(unit.size);
    return sizes;
}

} // namespace

UploadBatch::UploadBatch(const DropPtr &drop, const KorvaneCompletion &completion, ResultStep resultStep,
                         const QString &store, const QList<Unit> &units, const KorvaneProgress &progress)
    : m_drop(drop)
    , m_completion(completion)
    , m_resultStep(resultStep)
    , m_store(store)
    , m_units(units)
    , m_progress(progress, sizesOf(units))
{
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
    m_progress.unitFinished(unit);
}

void UploadBatch::answer(qsizetype unit, const QString &url)
{
    if (m_finished >= total()) {
        qCWarning(lcBatch, "an answer after the batch was complete is ignored");
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
    for (QObject *object : std::as_const(m_owned))
        object->deleteLater();
    m_owned.clear();
    UploadHistory::append(m_stored);
    m_stored.clear();
    m_resultStep(m_drop, failCount, m_completion, urls);
}
