#pragma once

#include <QMutex>
#include <QWaitCondition>
#include <QtGlobal>

// The bytes of decoded pixels the image actions hold at once, over every batch. An image job
// reserves what its image decodes to before it decodes it, and waits while the reservations
// of others leave too little; an image larger than the whole budget waits until it runs
// alone. So a batch's memory follows the budget, not the number of cores.
class PixelBudget final
{
public:
    static constexpr qint64 DefaultBytes = qint64(1) << 30;

    explicit PixelBudget(qint64 limit = DefaultBytes)
        : m_limit(limit)
    {}
    static PixelBudget *instance();

    // What an image of the size holds while it is worked on: four bytes a pixel, the decoded
    // pixels or the encoded result, whichever is in memory.
    static qint64 bytesFor(int width, int height) { return qint64(width) * height * 4; }

    // Holds the bytes of the budget for its lifetime; blocks the calling worker until they fit.
    class Reservation final
    {
    public:
        Reservation(PixelBudget &budget, qint64 bytes);
        ~Reservation();
        Reservation(const Reservation &) = delete;
        Reservation &operator=(const Reservation &) = delete;

    private:
        PixelBudget &m_budget;
        qint64 m_bytes;
    };

    qint64 inFlight() const;

private:
    void acquire(qint64 bytes);
    void release(qint64 bytes);

    const qint64 m_limit;
    mutable QMutex m_mutex;
    QWaitCondition m_freed;
    qint64 m_inFlight = 0;
};
