#include "platform/qt/imagemimedata.h"

#include <QBuffer>
#include <QImage>

namespace {
const QString pngType = QStringLiteral("image/png");
}

ImageMimeData::ImageMimeData(const QByteArray &data, const QString &mimeType)
    : m_data(data)
    , m_mimeType(mimeType)
{
}

QStringList ImageMimeData::formats() const
{
    if (m_mimeType == pngType)
        return {m_mimeType};
    return {m_mimeType, pngType};
}

bool ImageMimeData::hasFormat(const QString &mimeType) const
{
    return mimeType == m_mimeType || mimeType == pngType;
}

QVariant ImageMimeData::retrieveData(const QString &mimeType, QMetaType type) const
{
    Q_UNUSED(type);
    if (mimeType == m_mimeType)
        return m_data;
    if (mimeType != pngType)
        return {};
    if (!m_pngTried) {
        m_pngTried = true;
        const QImage image = QImage::fromData(m_data);
        QBuffer buffer(&m_png);
        buffer.open(QIODevice::WriteOnly);
        if (image.isNull() || !image.save(&buffer, "PNG"))
            m_png.clear();
    }
    return m_png.isEmpty() ? QVariant() : QVariant(m_png);
}
