#pragma once

#include "platform/clipboard.h"

#include <QUrl>

// A clipboard of the process's own: the command line prints what was written to it, the
// tests read it back.
class HeadlessClipboard final : public Clipboard
{
public:
    enum class Content {
        Empty,
        Text,
        ImageData,
        Objects,
    };

    TransferData pasteboard() const override { return m_pasteboard; }
    void writeText(const QString &text) override;
    void writeImageData(const QByteArray &data, const QString &mimeType) override;
    void writeObjects(const QVariantList &objects) override;

    void setData(const TransferData &pasteboard) { m_pasteboard = pasteboard; }
    Content content() const { return m_content; }
    QString text() const { return m_text; }
    QByteArray imageData() const { return m_imageData; }
    QString imageMimeType() const { return m_imageMimeType; }
    QVariantList objects() const { return m_objects; }
    int writeCount() const { return m_writeCount; }

private:
    void reset(Content content);

    TransferData m_pasteboard;
    Content m_content = Content::Empty;
    QString m_text;
    QByteArray m_imageData;
    QString m_imageMimeType;
    QVariantList m_objects;
    int m_writeCount = 0;
};
