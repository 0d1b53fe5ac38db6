#include "platform/headless/headlessclipboard.h"

void HeadlessClipboard::reset(Content content)
{
    m_content = content;
    m_text.clear();
    m_imageData.clear();
    m_imageMimeType.clear();
    m_objects.clear();
    m_pasteboard = TransferData();
    ++m_writeCount;
}

void HeadlessClipboard::writeText(const QString &text)
{
    reset(Content::Text);
    m_text = text;
    TransferItem item;
    item.setData(TransferType::String, text.toUtf8());
    m_pasteboard.addItem(item);
}

void HeadlessClipboard::writeImageData(const QByteArray &data, const QString &mimeType)
{
    reset(Content::ImageData);
    m_imageData = data;
    m_imageMimeType = mimeType;
    TransferItem item;
    item.setData(mimeType == QLatin1String("image/tiff") ? TransferType::TIFF : TransferType::PNG, data);
    m_pasteboard.addItem(item);
}

void HeadlessClipboard::writeObjects(const QVariantList &objects)
{
    reset(Content::Objects);
    m_objects = objects;
    for (const QVariant &object : objects) {
        if (object.canConvert<QUrl>() && object.typeId() == QMetaType::QUrl) {
            TransferItem item;
            const QUrl url = object.toUrl();
            item.setData(url.isLocalFile() ? TransferType::FileURL : TransferType::URL, url.toEncoded());
            m_pasteboard.addItem(item);
        }
    }
}
