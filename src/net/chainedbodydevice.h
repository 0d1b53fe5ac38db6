#pragma once

#include <QByteArray>
#include <QIODevice>
#include <QString>

#include <memory>

// A request body made of bytes in memory, a file read from disk as it is sent, and more
// bytes: a multipart body whose file part never sits in memory whole.
class ChainedBodyDevice final : public QIODevice
{
    Q_OBJECT

public:
    // An unreadable or missing file gives no device; filePath may be empty for no file.
    static ChainedBodyDevice *create(const QByteArray &head, const QString &filePath, const QByteArray &tail,
                                     QObject *parent = nullptr);

    bool isSequential() const override { return false; }
    qint64 size() const override { return m_head.size() + m_fileSize + m_tail.size(); }
    bool seek(qint64 pos) override;
    bool atEnd() const override { return m_offset >= size(); }

protected:
    qint64 readData(char *data, qint64 maxSize) override;
    qint64 writeData(const char *, qint64) override { return -1; }

private:
    ChainedBodyDevice(QObject *parent)
        : QIODevice(parent)
    {}

    QByteArray m_head;
    QByteArray m_tail;
    std::unique_ptr<QIODevice> m_file;
    qint64 m_fileSize = 0;
    qint64 m_offset = 0;
};
