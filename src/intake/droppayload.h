#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <QUrl>

class TransferData;

enum DataCatalog : qint64 {
    DataCatalogNone = 0,
    DataCatalogText = 1,
    DataCatalogFileOrImage = 2,
};

enum DataSubCatalog : qint64 {
    DataSubCatalogFiles = 0,
    DataSubCatalogImageData = 1,
    DataSubCatalogText = 2,
};

// Bits of containedFileType; an action record's supportTypes mask uses the same values.
enum FileKind : quint64 {
    FileKindAnyFile = 2,
    FileKindImage = 4,
    FileKindFolder = 8,
    FileKindVideo = 16,
    FileKindOther = 32,
};

// What the user handed over, classified once: text, image data or files sorted by kind. It
// is a value: each list, row and run holds the payload it was shown or started on, and a
// later drop does not change it.
class DropPayload final
{
public:
    static DropPayload classify(const TransferData &pasteboard);
    // Text the user typed or edited in the list, which replaces what was dropped.
    static DropPayload fromText(const QString &text);

    qint64 dataCatalog() const { return m_dataCatalog; }
    void setDataCatalog(qint64 value) { m_dataCatalog = value; }
    qint64 dataSubCatalog() const { return m_dataSubCatalog; }
    void setDataSubCatalog(qint64 value) { m_dataSubCatalog = value; }
    quint64 containedFileType() const { return m_containedFileType; }
    void setContainedFileType(quint64 value) { m_containedFileType = value; }
    qint64 itemsCount() const { return m_itemsCount; }
    void setItemsCount(qint64 value) { m_itemsCount = value; }

    // A null byte array or string means absent.
    const QByteArray &imageData() const { return m_imageData; }
    void setImageData(const QByteArray &data) { m_imageData = data; }
    const QString &textString() const { return m_textString; }
    void setTextString(const QString &text) { m_textString = text; }

    QList<QUrl> &imgFileUrls() { return m_imgFileUrls; }
    QList<QUrl> &folderFileUrls() { return m_folderFileUrls; }
    QList<QUrl> &videoFileUrls() { return m_videoFileUrls; }
    QList<QUrl> &otherFileUrls() { return m_otherFileUrls; }
    QList<QUrl> &allFileUrls() { return m_allFileUrls; }
    const QList<QUrl> &imgFileUrls() const { return m_imgFileUrls; }
    const QList<QUrl> &folderFileUrls() const { return m_folderFileUrls; }
    const QList<QUrl> &videoFileUrls() const { return m_videoFileUrls; }
    const QList<QUrl> &otherFileUrls() const { return m_otherFileUrls; }
    const QList<QUrl> &allFileUrls() const { return m_allFileUrls; }
    void setImgFileUrls(const QList<QUrl> &urls) { m_imgFileUrls = urls; }
    void setFolderFileUrls(const QList<QUrl> &urls) { m_folderFileUrls = urls; }
    void setVideoFileUrls(const QList<QUrl> &urls) { m_videoFileUrls = urls; }
    void setOtherFileUrls(const QList<QUrl> &urls) { m_otherFileUrls = urls; }
    void setAllFileUrls(const QList<QUrl> &urls) { m_allFileUrls = urls; }

private:
    void addFileUrl(const QUrl &url);

    qint64 m_dataCatalog = DataCatalogNone;
    qint64 m_dataSubCatalog = DataSubCatalogFiles;
    quint64 m_containedFileType = 0;
    qint64 m_itemsCount = 0;
    QByteArray m_imageData;
    QString m_textString;
    QList<QUrl> m_imgFileUrls;
    QList<QUrl> m_folderFileUrls;
    QList<QUrl> m_videoFileUrls;
    QList<QUrl> m_otherFileUrls;
    QList<QUrl> m_allFileUrls;
};
