#include "mimedatapasteboard.h"

#include "imagemimedata.h"

#include <QBuffer>
#include <QImage>
#include <QMimeData>
#include <QUrl>

namespace {

const QString uriList = QStringLiteral("text/uri-list");

QString plainText(const QMimeData *mime)
{
    if (mime->hasText())
        return mime->text();
    const QStringList formats = mime->formats();
    for (const QString &format : formats) {
        if (format.startsWith(QLatin1String("text/plain")))
            return QString::fromUtf8(mime->data(format));
    }
    return QString();
}

} // namespace

KorvanePasteboard MimeDataPasteboard::fromMimeData(const QMimeData *mime)
{
    KorvanePasteboard pasteboard;
    if (!mime)
        return pasteboard;

    bool hasFiles = false;
    if (mime->hasFormat(uriList)) {
        // Read the raw list: QUrl round trips keep names that are not valid UTF-8 percent-encoded.
        const QList<QByteArray> lines = mime->data(uriList).split('\n');
        for (QByteArray line : lines) {
            line = line.trimmed();
            if (line.isEmpty() || line.startsWith('#'))
                continue;
            KorvanePasteboardItem item;
            const QUrl url = QUrl::fromEncoded(line);
            item.setData(url.isLocalFile() ? KorvanePasteboardType::FileURL : KorvanePasteboardType::URL, line);
            hasFiles = hasFiles || url.isLocalFile();
            pasteboard.addItem(item);
        }
    }
    const struct {
        const char *mimeType;
        KorvanePasteboardType type;
    } others[] = {
        {"image/png", KorvanePasteboardType::PNG},
        {"image/tiff", KorvanePasteboardType::TIFF},
        {"text/plain;charset=utf-8", KorvanePasteboardType::String},
        {"text/rtf", KorvanePasteboardType::RTF},
    };
    bool hasText = false;
    for (const auto &other : others) {
        const QString format = QString::fromLatin1(other.mimeType);
        if (other.type == KorvanePasteboardType::String) {
            // File managers describe dragged files as text too; that text is not the data.
            // A dragged web link, though, is text to act on.
            const QString text = plainText(mime);
            if (text.isNull() || hasFiles)
                continue;
            KorvanePasteboardItem item;
            item.setData(other.type, text.toUtf8());
            pasteboard.addItem(item);
            hasText = true;
            continue;
        }
        if (!mime->hasFormat(format))
            continue;
        KorvanePasteboardItem item;
        item.setData(other.type, mime->data(format));
        pasteboard.addItem(item);
    }
    // Image data offered only as a decoded image (some applications copy that way).
    if (!hasText && mime->hasImage() && !mime->hasFormat(QStringLiteral("image/png")) && !mime->hasFormat(QStringLiteral("image/tiff"))) {
        QByteArray png;
        QBuffer buffer(&png);
        buffer.open(QIODevice::WriteOnly);
        if (qvariant_cast<QImage>(mime->imageData()).save(&buffer, "PNG")) {
            KorvanePasteboardItem item;
            item.setData(KorvanePasteboardType::PNG, png);
            pasteboard.addItem(item);
        }
    }
    return pasteboard;
}

QMimeData *MimeDataPasteboard::mimeDataForText(const QString &text)
{
    auto *mime = new QMimeData;
    mime->setText(text);
    return mime;
}

QMimeData *MimeDataPasteboard::mimeDataForImage(const QByteArray &data, const QString &mimeType)
{
    return new ImageMimeData(data, mimeType);
}

QMimeData *MimeDataPasteboard::mimeDataForObjects(const QVariantList &objects)
{
    auto *mime = new QMimeData;
    QList<QUrl> urls;
    for (const QVariant &object : objects) {
        if (object.typeId() == QMetaType::QUrl)
            urls.append(object.toUrl());
        else if (object.typeId() == QMetaType::QImage && !mime->hasImage())
            mime->setImageData(object);
    }
    if (!urls.isEmpty())
        mime->setUrls(urls);
    return mime;
}
