#include "image/backgroundwriter.h"

#include <QThreadPool>

#include <algorithm>
#include <array>
#include <cerrno>
#include <sys/uio.h>
#include <unistd.h>

BackgroundWriter::BackgroundWriter(int fd)
    : m_fd(fd)
{
}

std::unique_ptr<BackgroundWriter> BackgroundWriter::start(int fd)
{
    std::unique_ptr<BackgroundWriter> writer(new BackgroundWriter(fd));
    BackgroundWriter *self = writer.get();
    QMutexLocker lock(&self->m_mutex);
    self->m_running = QThreadPool::globalInstance()->tryStart([self] { self->writeOut(); });
    lock.unlock();
    return self->m_running ? std::move(writer) : nullptr;
}

BackgroundWriter::~BackgroundWriter()
{
    QMutexLocker lock(&m_mutex);
    m_closed = true;
    m_ok = false;
    m_changed.wakeAll();
    while (m_running)
        m_changed.wait(&m_mutex);
}

void BackgroundWriter::write(const QByteArray &block, qsizetype offset, qsizetype size)
{
    QMutexLocker lock(&m_mutex);
    while (m_waiting.size() + m_writing >= maxWaiting && m_running)
        m_changed.wait(&m_mutex);
    m_waiting.append({block, offset, size});
    m_changed.wakeAll();
}

bool BackgroundWriter::writeAll(int fd, const QList<Piece> &pieces)
{
    std::array<iovec, maxWaiting> vector{};
    std::size_t count = 0;
    for (const Piece &piece : pieces) {
        if (piece.size > 0)
            vector[count++] = {const_cast<char *>(piece.block.constData()) + piece.offset, std::size_t(piece.size)};
    }
    iovec *next = vector.data();
    while (count > 0) {
        const ssize_t wrote = ::writev(fd, next, int(count));
        if (wrote < 0 && errno == EINTR)
            continue;
        if (wrote <= 0)
            return false;
        // A write may end anywhere: what follows goes again.
        for (std::size_t left = std::size_t(wrote); left > 0;) {
            const std::size_t taken = std::min(left, next->iov_len);
            next->iov_base = static_cast<char *>(next->iov_base) + taken;
            next->iov_len -= taken;
            left -= taken;
            if (next->iov_len == 0) {
                ++next;
                --count;
            }
        }
    }
    return true;
}

// The thread's work: the blocks in order until the giver is done, all that wait written at once,
// which is cheaper for the file system than block by block.
void BackgroundWriter::writeOut()
{
    QMutexLocker lock(&m_mutex);
    for (;;) {
        while (m_waiting.isEmpty() && !m_closed)
            m_changed.wait(&m_mutex);
        if (m_waiting.isEmpty())
            break;
        QList<Piece> pieces = std::exchange(m_waiting, QList<Piece>());
        m_writing = pieces.size();
        const bool write = m_ok;
        lock.unlock();
        const bool wrote = write && writeAll(m_fd, pieces);
        // The giver may reuse a block it alone holds.
        pieces.clear();
        lock.relock();
        m_writing = 0;
        m_ok = m_ok && wrote;
        m_changed.wakeAll();
    }
    m_running = false;
    m_changed.wakeAll();
}

bool BackgroundWriter::finish()
{
    QMutexLocker lock(&m_mutex);
    m_closed = true;
    m_changed.wakeAll();
    while (m_running)
        m_changed.wait(&m_mutex);
    return m_ok;
}

void BackgroundWriter::patch(qint64 offset, QByteArrayView bytes)
{
    if (!finish())
        return;
    while (!bytes.isEmpty()) {
        const ssize_t wrote = ::pwrite(m_fd, bytes.data(), size_t(bytes.size()), offset);
        if (wrote < 0 && errno == EINTR)
            continue;
        if (wrote <= 0) {
            QMutexLocker lock(&m_mutex);
            m_ok = false;
            return;
        }
        bytes = bytes.sliced(wrote);
        offset += wrote;
    }
}
