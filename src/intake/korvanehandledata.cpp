#include "intake/korvanehandledata.h"

#include "intake/korvanepasteboard.h"
#include "intake/korvanetypeidentifier.h"
#include "common/korvanelogging.h"

#include <QLoggingCategory>

KorvaneHandleData *KorvaneHandleData::shareInstance()
{
    static KorvaneHandleData instance;
    return &instance;
}

void KorvaneHandleData::handleDataWith(const KorvanePasteboard &pasteboard)
{
    m_dataCatalog = DataCatalogNone;
    m_containedFileType = 0;
    m_imageData = QByteArray();
    m_textString = QString();
    m_imgFileUrls = {};
    m_folderFileUrls = {};
    m_videoFileUrls = {};
    m_otherFileUrls = {};
    m_allFileUrls = {};

    const QList<KorvanePasteboardItem> &items = pasteboard.pasteboardItems();
    m_itemsCount = items.size();

    // The order of the tests matters: a file item is never read as text, and the first
    // text item ends the scan while earlier file lists stay filled.
    for (const KorvanePasteboardItem &item : items) {
        if (item.hasType(KorvanePasteboardType::FileURL)) {
            m_dataCatalog = DataCatalogFileOrImage;
            m_dataSubCatalog = DataSubCatalogFiles;
            addFileUrl(QUrl::fromEncoded(item.dataForType(KorvanePasteboardType::FileURL)));
        } else if (item.hasType(KorvanePasteboardType::PNG)) {
            m_dataCatalog = DataCatalogFileOrImage;
            m_dataSubCatalog = DataSubCatalogImageData;
            m_imageData = pasteboard.dataForType(KorvanePasteboardType::PNG);
        } else if (item.hasType(KorvanePasteboardType::TIFF)) {
            m_dataCatalog = DataCatalogFileOrImage;
            m_dataSubCatalog = DataSubCatalogImageData;
            m_imageData = pasteboard.dataForType(KorvanePasteboardType::TIFF);
        } else if (item.hasType(KorvanePasteboardType::String)) {
            m_dataCatalog = DataCatalogText;
            m_dataSubCatalog = DataSubCatalogText;
            m_textString = item.stringForType(KorvanePasteboardType::String);
            break;
        } else if (item.hasType(KorvanePasteboardType::RTF)) {
            m_dataCatalog = DataCatalogText;
            m_dataSubCatalog = DataSubCatalogText;
            m_textString = item.stringForType(KorvanePasteboardType::RTF);
            break;
        }
    }
}

void KorvaneHandleData::addFileUrl(const QUrl &url)
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

void KorvaneHandleData::resetHandleDataWith(const QString &text)
{
    m_dataCatalog = DataCatalogText;
    m_dataSubCatalog = DataSubCatalogText;
    // The video list is left as it is; only these four are dropped.
    m_allFileUrls = {};
    m_imgFileUrls = {};
    m_folderFileUrls = {};
    m_otherFileUrls = {};
    m_itemsCount = 0;
    m_textString = text;
}
