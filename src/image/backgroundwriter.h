#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QList>
#include <QMutex>
#include <QWaitCondition>

#include <memory>

// Writes to a file on a thread of the global pool while the giver prepares what comes next:
// reading and checking a file on one core and writing its copy on another. The giver's blocks
// are kept until written rather than copied, and at most maxWaiting of them wait or are being
// written, so the memory it takes is bounded whatever is written.
class BackgroundWriter final
{
public:
    static constexpr int maxWaiting = 4;

    // A writer for the descriptor, which stays the caller's and is written from its current
    // position on; none when no thread of the pool is free (a batch keeps them all busy), and
    // writing on the giver's own thread is then as fast.
    static std::unique_ptr<BackgroundWriter> start(int fd);
    // Waits for the thread; what was not written by then is dropped.
    ~BackgroundWriter();

    // The bytes of block from the offset on, the block shared, not copied.
    void write(const QByteArray &block, qsizetype offset, qsizetype size);
    // Writes over bytes written before, once everything given is written.
    void patch(qint64 offset, QByteArrayView bytes);
    // Waits until everything given is written, and says whether it all was.
    bool finish();

private:
    struct Piece {
        QByteArray block;
        qsizetype offset;
        qsizetype size;
    };

    explicit BackgroundWriter(int fd);

    static bool writeAll(int fd, const QList<Piece> &pieces);

    void writeOut();

    const int m_fd;
    QMutex m_mutex;
    QWaitCondition m_changed;
    QList<Piece> m_waiting;
    // Taken by the thread and being written.
    qsizetype m_writing = 0;
    bool m_running = false;
    bool m_closed = false;
    bool m_ok = true;
};
