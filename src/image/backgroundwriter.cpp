#include "image/backgroundwriter.h"

#include <QThreadPool>

#include <cerrno>
#include <utility>
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

void BackgroundWriter::write(QByteArrayView bytes)
{
    while (!bytes.isEmpty()) {
        if (m_filling.capacity() == 0) {
            QMutexLocker lock(&m_mutex);
            while (m_free.isEmpty() && m_blocks == blockCount && m_running)
                m_changed.wait(&m_mutex);
            if (!m_running)
                return;
            if (m_free.isEmpty()) {
                ++m_blocks;
                m_filling.reserve(blockSize);
            } else {
                m_filling = m_free.takeLast();
            }
        }
        const qsizetype step = qMin(bytes.size(), blockSize - m_filling.size());
        m_filling.append(bytes.first(step));
        bytes = bytes.sliced(step);
        if (m_filling.size() == blockSize) {
            QMutexLocker lock(&m_mutex);
            m_full.append(std::exchange(m_filling, QByteArray()));
            m_changed.wakeAll();
        }
    }
}

// The thread's work: the full blocks in order until the giver is done.
void BackgroundWriter::writeOut()
{
    QMutexLocker lock(&m_mutex);
    for (;;) {
        while (m_full.isEmpty() && !m_closed)
            m_changed.wait(&m_mutex);
        if (m_full.isEmpty())
            break;
        QByteArray block = m_full.takeFirst();
        const bool write = m_ok;
        lock.unlock();
        const bool wrote = write && writeAll(m_fd, block);
        block.resize(0);
        lock.relock();
        m_ok = m_ok && wrote;
        m_free.append(std::move(block));
        m_changed.wakeAll();
    }
    m_running = false;
    m_changed.wakeAll();
}

bool BackgroundWriter::drained()
{
    QMutexLocker lock(&m_mutex);
    if (!m_filling.isEmpty())
        m_full.append(std::exchange(m_filling, QByteArray()));
    m_closed = true;
    m_changed.wakeAll();
    while (m_running)
        m_changed.wait(&m_mutex);
    return m_ok;
}

void BackgroundWriter::patch(qint64 offset, QByteArrayView bytes)
{
    if (!drained())
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

bool BackgroundWriter::finish()
{
    return drained();
}
