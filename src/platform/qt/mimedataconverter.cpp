#include "platform/qt/mimedataconverter.h"

#include "platform/qt/imagemimedata.h"
#include "intake/filetypes.h"
#include "platform/platformlogging.h"

#include <QBuffer>
#include <QFile>
#include <QImage>
#include <QLoggingCategory>
#include <QMimeData>
#include <QUrl>

#include <sys/stat.h>

namespace {

// The lists of files that file managers offer, most common first. GNOME's list starts
// with a line "copy" or "cut"; KDE's own list names files by KIO URLs where the standard one
// has local paths, so it is read only when the standard one is missing.
const struct {
    QLatin1String mimeType;
    bool startsWithOperation;
} fileLists[] = {
    {QLatin1String("text/uri-list"), false},
    {QLatin1String("x-special/gnome-copied-files"), true},
    {QLatin1String("application/x-kde4-urilist"), false},
};

// The entries of a file list: one URI a line, lines ending in CRLF or LF, "#" comments.
QList<QByteArray> fileListEntries(const QMimeData *mime)
{
    for (const auto &list : fileLists) {
        if (!mime->hasFormat(list.mimeType))
            continue;
        QList<QByteArray> entries;
        const QList<QByteArray> lines = mime->data(list.mimeType).split('\n');
        for (int i = list.startsWithOperation ? 1 : 0; i < lines.size(); ++i) {
            const QByteArray line = lines.at(i).trimmed();
            if (!line.isEmpty() && !line.startsWith('#'))
                entries.append(line);
        }
        return entries;
    }
    return {};
}

// File managers write folders without the trailing slash the classifier knows them by: ask
// the file system, but only about names whose extension does not decide their kind first.
QByteArray withFolderSlash(const QByteArray &entry, const QUrl &url)
{
    const QString path = url.toLocalFile();
    if (path.isEmpty() || path.endsWith(QLatin1Char('/'))
        || FileTypes::kindForExtension(FileTypes::pathExtension(path)) != FileTypes::Other)
        return entry;
    struct stat st;
    if (::stat(QFile::encodeName(path).constData(), &st) == 0 && S_ISDIR(st.st_mode))
        return entry + '/';
    return entry;
}

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

TransferData MimeDataConverter::fromMimeData(const QMimeData *mime)
{
    TransferData pasteboard;
    if (!mime)
        return pasteboard;

    bool hasFiles = false;
    // Read the raw list: QUrl round trips keep names that are not valid UTF-8 percent-encoded.
    QList<QByteArray> entries = fileListEntries(mime);
    if (entries.size() > MaximumFileItems) {
        qCWarning(lcMimeData, "a list of %lld files: only the first %d are taken", qint64(entries.size()), MaximumFileItems);
        entries.resize(MaximumFileItems);
    }
    for (const QByteArray &entry : std::as_const(entries)) {
        TransferItem item;
        const QUrl url = QUrl::fromEncoded(entry);
        if (url.isLocalFile())
            item.setData(TransferType::FileURL, withFolderSlash(entry, url));
        else
            item.setData(TransferType::URL, entry);
        hasFiles = hasFiles || url.isLocalFile();
        pasteboard.addItem(item);
    }
    const struct {
        const char *mimeType;
        TransferType type;
    } others[] = {
        {"image/png", TransferType::PNG},
        {"image/tiff", TransferType::TIFF},
        {"text/plain;charset=utf-8", TransferType::String},
        {"text/rtf", TransferType::RTF},
    };
    bool hasText = false;
    for (const auto &other : others) {
        const QString format = QString::fromLatin1(other.mimeType);
        if (other.type == TransferType::String) {
            // File managers describe dragged files as text too; that text is not the data.
            // A dragged web link, though, is text to act on.
            const QString text = plainText(mime);
            if (text.isNull() || hasFiles)
                continue;
            TransferItem item;
            item.setData(other.type, text.toUtf8());
            pasteboard.addItem(item);
            hasText = true;
            continue;
        }
        if (!mime->hasFormat(format))
            continue;
        TransferItem item;
        item.setData(other.type, mime->data(format));
        pasteboard.addItem(item);
    }
    // Image data offered only as a decoded image (some applications copy that way).
    if (!hasText && mime->hasImage() && !mime->hasFormat(QStringLiteral("image/png")) && !mime->hasFormat(QStringLiteral("image/tiff"))) {
        QByteArray png;
        QBuffer buffer(&png);
        buffer.open(QIODevice::WriteOnly);
        if (qvariant_cast<QImage>(mime->imageData()).save(&buffer, "PNG")) {
            TransferItem item;
            item.setData(TransferType::PNG, png);
            pasteboard.addItem(item);
        }
    }
    return pasteboard;
}

QMimeData *MimeDataConverter::mimeDataForText(const QString &text)
{
    auto *mime = new QMimeData;
    mime->setText(text);
    return mime;
}

QMimeData *MimeDataConverter::mimeDataForImage(const QByteArray &data, const QString &mimeType)
{
    return new ImageMimeData(data, mimeType);
}

QMimeData *MimeDataConverter::mimeDataForObjects(const QVariantList &objects)
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
