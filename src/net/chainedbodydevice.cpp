#include "net/chainedbodydevice.h"

#include <QFile>

#include <algorithm>
#include <cstring>

ChainedBodyDevice *ChainedBodyDevice::create(const QByteArray &head, const QString &filePath, const QByteArray &tail,
                                             QObject *parent)
{
    std::unique_ptr<QFile> file;
    if (!filePath.isEmpty()) {
        file = std::make_unique<QFile>(filePath);
        if (!file->open(QIODevice::ReadOnly))
            return nullptr;
    }
    auto *device = new ChainedBodyDevice(parent);
    device->m_head = head;
    device->m_tail = tail;
    device->m_fileSize = file ? file->size() : 0;
    device->m_file = std::move(file);
    device->open(QIODevice::ReadOnly);
    return device;
}

bool ChainedBodyDevice::seek(qint64 pos)
{
    if (pos < 0 || pos > size() || !QIODevice::seek(pos))
        return false;
    m_offset = pos;
    return true;
}

qint64 ChainedBodyDevice::readData(char *data, qint64 maxSize)
{
    qint64 done = 0;
    while (done < maxSize && m_offset < size()) {
        const qint64 fileEnd = m_head.size() + m_fileSize;
        qint64 got = 0;
        if (m_offset < m_head.size()) {
            got = std::min(maxSize - done, m_head.size() - m_offset);
            std::memcpy(data + done, m_head.constData() + m_offset, size_t(got));
        } else if (m_offset < fileEnd) {
            if (!m_file->seek(m_offset - m_head.size()))
                return done > 0 ? done : -1;
            got = m_file->read(data + done, std::min(maxSize - done, fileEnd - m_offset));
            // A file that shrinks or breaks while it is sent ends the body with an error, so
            // the upload fails instead of sending a body shorter than announced.
            if (got <= 0)
                return done > 0 ? done : -1;
        } else {
            got = std::min(maxSize - done, size() - m_offset);
            std::memcpy(data + done, m_tail.constData() + (m_offset - fileEnd), size_t(got));
        }
        done += got;
        m_offset += got;
    }
    return done;
}
