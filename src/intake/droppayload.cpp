#include "intake/droppayload.h"

#include "intake/transferdata.h"
#include "intake/filetypes.h"
#include "intake/intakelogging.h"

#include <QLoggingCategory>

DropPayload DropPayload::classify(const TransferData &pasteboard)
{
    DropPayload payload;
    const QList<TransferItem> &items = pasteboard.items();
    payload.m_itemsCount = items.size();

    // The order of the tests matters: a file item is never read as text, and the first
    // text item ends the scan while earlier file lists stay filled.
    for (const TransferItem &item : items) {
        if (item.hasType(TransferType::FileURL)) {
            payload.m_dataCatalog = DataCatalogFileOrImage;
            payload.m_dataSubCatalog = DataSubCatalogFiles;
            payload.addFileUrl(QUrl::fromEncoded(item.dataForType(TransferType::FileURL)));
        } else if (item.hasType(TransferType::PNG)) {
            payload.m_dataCatalog = DataCatalogFileOrImage;
            payload.m_dataSubCatalog = DataSubCatalogImageData;
            payload.m_imageData = pasteboard.dataForType(TransferType::PNG);
        } else if (item.hasType(TransferType::TIFF)) {
            payload.m_dataCatalog = DataCatalogFileOrImage;
            payload.m_dataSubCatalog = DataSubCatalogImageData;
            payload.m_imageData = pasteboard.dataForType(TransferType::TIFF);
        } else if (item.hasType(TransferType::String)) {
            payload.m_dataCatalog = DataCatalogText;
            payload.m_dataSubCatalog = DataSubCatalogText;
            payload.m_textString = item.stringForType(TransferType::String);
            break;
        } else if (item.hasType(TransferType::RTF)) {
            payload.m_dataCatalog = DataCatalogText;
            payload.m_dataSubCatalog = DataSubCatalogText;
            payload.m_textString = item.stringForType(TransferType::RTF);
            break;
        }
    }
    return payload;
}

void DropPayload::addFileUrl(const QUrl &url)
{
    m_containedFileType |= FileKindAnyFile;
    const QString path = url.path();
    const QString extension = FileTypes::pathExtension(path);
    qCDebug(lcIntake, "fileuti:%s", qUtf8Printable(FileTypes::identifierForExtension(extension)));
    m_allFileUrls.append(url);

    switch (FileTypes::kindForExtension(extension)) {
    case FileTypes::Image:
        m_imgFileUrls.append(url);
        m_containedFileType |= FileKindImage;
        return;
    case FileTypes::Video:
        m_videoFileUrls.append(url);
        m_containedFileType |= FileKindVideo;
        return;
    case FileTypes::SvgImage:
        m_otherFileUrls.append(url);
        m_containedFileType |= FileKindOther;
        return;
    case FileTypes::Other:
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
