#include "intake/droppayload.h"

#include "intake/korvanepasteboard.h"
#include "intake/korvanetypeidentifier.h"
#include "common/korvanelogging.h"

#include <QLoggingCategory>

DropPayload DropPayload::fromPasteboard(const KorvanePasteboard &pasteboard)
{
    DropPayload payload;
    const QList<KorvanePasteboardItem> &items = pasteboard.pasteboardItems();
    payload.m_itemsCount = items.size();

    // The order of the tests matters: a file item is never read as text, and the first
    // text item ends the scan while earlier file lists stay filled.
    for (const KorvanePasteboardItem &item : items) {
        if (item.hasType(KorvanePasteboardType::FileURL)) {
            payload.m_dataCatalog = DataCatalogFileOrImage;
            payload.m_dataSubCatalog = DataSubCatalogFiles;
            payload.addFileUrl(QUrl::fromEncoded(item.dataForType(KorvanePasteboardType::FileURL)));
        } else if (item.hasType(KorvanePasteboardType::PNG)) {
            payload.m_dataCatalog = DataCatalogFileOrImage;
            payload.m_dataSubCatalog = DataSubCatalogImageData;
            payload.m_imageData = pasteboard.dataForType(KorvanePasteboardType::PNG);
        } else if (item.hasType(KorvanePasteboardType::TIFF)) {
            payload.m_dataCatalog = DataCatalogFileOrImage;
            payload.m_dataSubCatalog = DataSubCatalogImageData;
            payload.m_imageData = pasteboard.dataForType(KorvanePasteboardType::TIFF);
        } else if (item.hasType(KorvanePasteboardType::String)) {
            payload.m_dataCatalog = DataCatalogText;
            payload.m_dataSubCatalog = DataSubCatalogText;
            payload.m_textString = item.stringForType(KorvanePasteboardType::String);
            break;
        } else if (item.hasType(KorvanePasteboardType::RTF)) {
            payload.m_dataCatalog = DataCatalogText;
            payload.m_dataSubCatalog = DataSubCatalogText;
            payload.m_textString = item.stringForType(KorvanePasteboardType::RTF);
            break;
        }
    }
    return payload;
}

void DropPayload::addFileUrl(const QUrl &url)
{
    m_containedFileType |= FileKindAnyFile;
    const QString path = url.path();
    const QString extension = KorvaneTypeIdentifier::pathExtension(path);
    qCDebug(lcIntake, "fileuti:%s", qUtf8Printable(KorvaneTypeIdentifier::identifierForExtension(extension)));
    m_allFileUrls.append(url);

    switch (KorvaneTypeIdentifier::kindForExtension(extension)) {
    case KorvaneTypeIdentifier::Image:
        m_imgFileUrls.append(url);
        m_containedFileType |= FileKindImage;
        return;
    case KorvaneTypeIdentifier::Video:
        m_videoFileUrls.append(url);
        m_containedFileType |= FileKindVideo;
        return;
    case KorvaneTypeIdentifier::SvgImage:
        m_otherFileUrls.append(url);
        m_containedFileType |= FileKindOther;
        return;
    case KorvaneTypeIdentifier::Other:
        break;
    }
    // Folders come off a pasteboard with a trailing slash; the file system is not asked.
    if (path.endsWith(QLatin1Char('/'))) {
        m_folderFileUrls.append(url);
        m_containedFileType |= FileKindFolder;
    } else {
        m_otherFileUrls.append(url);
        m_containedFileType |= FileKindOther;
    }
}

DropPayload DropPayload::fromText(const QString &text)
{
    DropPayload payload;
    payload.m_dataCatalog = DataCatalogText;
    payload.m_dataSubCatalog = DataSubCatalogText;
    payload.m_textString = text;
    return payload;
}
