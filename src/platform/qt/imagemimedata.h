#pragma once

#include <QMimeData>

// Image data as an action produced it, offered under its own type and as image/png: browsers
// and chat programs often paste only PNG. The PNG is encoded when a program asks for it, once.
class ImageMimeData final : public QMimeData
{
    Q_OBJECT
public:
    ImageMimeData(const QByteArray &data, const QString &mimeType);

    QStringList formats() const override;
    bool hasFormat(const QString &mimeType) const override;

protected:
    QVariant retrieveData(const QString &mimeType, QMetaType type) const override;

private:
    QByteArray m_data;
    QString m_mimeType;
    mutable QByteArray m_png;
    mutable bool m_pngTried = false;
};
