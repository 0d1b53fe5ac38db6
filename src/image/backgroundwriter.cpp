#include "image/backgroundwriter.h"

#include <QThreadPool>

#include <cerrno>
#include <unistd.h>

namespace {

bool writeAll(int fd, QByteArrayView bytes)
{
    while (!bytes.isEmpty()) {
        const ssize_t wrote = ::write(fd, bytes.data(), size_t(bytes.size()));
        if (wrote < 0 && errno == EINTR)
            continue;
        if (wrote <= 0)
            return false;
        bytes = bytes.sliced(wrote);
    }
    return true;
}

} // namespace

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
    while (m_waiting.size() >= maxWaiting && m_running)
        m_changed.wait(&m_mutex);
    m_waiting.append({block, offset, size});
    m_changed.wakeAll();
}

// The thread's work: the blocks in order until the giver is done.
void BackgroundWriter::writeOut()
{
    QMutexLocker lock(&m_mutex);
    for (;;) {
        while (m_waiting.isEmpty() && !m_closed)
            m_changed.wait(&m_mutex);
        if (m_waiting.isEmpty())
            break;
        Piece piece = m_waiting.takeFirst();
        const bool write = m_ok;
        lock.unlock();
        const bool wrote = write && writeAll(m_fd, QByteArrayView(piece.block).sliced(piece.offset, piece.size));
        // The giver may reuse a block it alone holds.
        piece.block = QByteArray();
        lock.relock();
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
