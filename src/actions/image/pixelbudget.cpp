#include "actions/image/pixelbudget.h"

PixelBudget *PixelBudget::instance()
{
    static PixelBudget instance;
    return &instance;
}

PixelBudget::Reservation::Reservation(PixelBudget &budget, qint64 bytes)
    : m_budget(budget)
    , m_bytes(qMax<qint64>(bytes, 0))
{
    m_budget.acquire(m_bytes);
}

PixelBudget::Reservation::~Reservation()
{
    m_budget.release(m_bytes);
}

qint64 PixelBudget::inFlight() const
{
    const QMutexLocker lock(&m_mutex);
    return m_inFlight;
}

void PixelBudget::acquire(qint64 bytes)
{
    QMutexLocker lock(&m_mutex);
    while (m_inFlight > 0 && m_inFlight + bytes > m_limit)
        m_freed.wait(&m_mutex);
    m_inFlight += bytes;
}

void PixelBudget::release(qint64 bytes)
{
    {
        const QMutexLocker lock(&m_mutex);
        m_inFlight -= bytes;
    }
    m_freed.wakeAll();
}
