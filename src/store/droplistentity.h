#pragma once

#include "store/storedrecord.h"

#include <optional>

class TextTranslate;
class TextClearStyle;
class TextCharCount;
class TextEmail;
class TextMsg;
class TextCustomUrl;
class TextTraditionalConversion;
class TextCapitalRMB;
class TextUpDownString;
class TextAirDrop;
class ImageCompression;
class ImageFormat;
class ImageResize;
class ImageOCR;
class ImageClearMsg;
class ImageUploadWeiBo;
class ImageToPhoto;
class FileAirDrop;
class FileMove;
class FileCopy;
class FileEmail;
class FileMsg;
class FileUploadQinNiu;
class FileUploadAli;
class FileUploadTencent;
class FileUploadUP;
class ImageRotate;
class FileRename;

// One configured action: its place in its catalog's list, its kind, its title, its optional
// global hotkey and the kinds of files it accepts. Its settings live in the one settings
// record that belongs to its kind.
class DropListEntity final : public StoredRecord
{
public:
    using StoredRecord::StoredRecord;

    static QString entityName() { return QStringLiteral("DropListEntity"); }

    qint16 catalog() const { return int16Value(QStringLiteral("catalog")); }
    void setCatalog(qint16 value) { setValue(QStringLiteral("catalog"), value); }
    qint32 dropID() const { return int32Value(QStringLiteral("dropID")); }
    void setDropID(qint32 value) { setValue(QStringLiteral("dropID"), value); }
    qint32 index() const { return int32Value(QStringLiteral("index")); }
    void setIndex(qint32 value) { setValue(QStringLiteral("index"), value); }
    qint32 keyCode() const { return int32Value(QStringLiteral("keyCode")); }
    void setKeyCode(qint32 value) { setValue(QStringLiteral("keyCode"), value); }
    qint32 modifiers() const { return int32Value(QStringLiteral("modifiers")); }
    void setModifiers(qint32 value) { setValue(QStringLiteral("modifiers"), value); }
    qint16 subCatalog() const { return int16Value(QStringLiteral("subCatalog")); }
    void setSubCatalog(qint16 value) { setValue(QStringLiteral("subCatalog"), value); }
    qint64 supportTypes() const { return int64Value(QStringLiteral("supportTypes")); }
    void setSupportTypes(qint64 value) { setValue(QStringLiteral("supportTypes"), value); }
    QString title() const { return stringValue(QStringLiteral("title")); }
    void setTitle(const QString &value) { setValue(QStringLiteral("title"), value); }
    qint32 type() const { return int32Value(QStringLiteral("type")); }
    void setType(qint32 value) { setValue(QStringLiteral("type"), value); }

    // A hotkey is bound when either the key code or the modifiers are not 0.
    bool hasHotKey() const { return keyCode() != 0 || modifiers() != 0; }
    // The hotkey as a key combination, empty for none; nothing when the stored numbers name
    // no key Korvane can bind.
    std::optional<QKeyCombination> keyCombination() const;
    // False, and nothing changed, for a combination that has no stored form.
    bool setKeyCombination(QKeyCombination keys);

    // The settings record of the action's kind; null for a record without one.
    std::shared_ptr<StoredRecord> settings() const;
    void setSettings(const std::shared_ptr<StoredRecord> &settings);

    // Each is the settings record when it belongs to the record's kind, null otherwise.
    std::shared_ptr<TextTranslate> textTranslate() const;
    std::shared_ptr<TextClearStyle> textClearStyle() const;
    std::shared_ptr<TextCharCount> textCharCount() const;
    std::shared_ptr<TextEmail> textEmail() const;
    std::shared_ptr<TextMsg> textMsg() const;
    std::shared_ptr<TextCustomUrl> textCustomUrl() const;
    std::shared_ptr<TextTraditionalConversion> textTranditionalConversion() const;
    std::shared_ptr<TextCapitalRMB> textCapitalRMB() const;
    std::shared_ptr<TextUpDownString> textUpDownString() const;
    std::shared_ptr<TextAirDrop> textAirDrop() const;
    std::shared_ptr<ImageCompression> imageCompression() const;
    std::shared_ptr<ImageFormat> imageFormat() const;
    std::shared_ptr<ImageResize> imageResize() const;
    std::shared_ptr<ImageOCR> imageOCR() const;
    std::shared_ptr<ImageClearMsg> imageClearMsg() const;
    std::shared_ptr<ImageUploadWeiBo> imageUploadWeiBo() const;
    std::shared_ptr<ImageToPhoto> imageToPhoto() const;
    std::shared_ptr<FileAirDrop> fileAirDrop() const;
    std::shared_ptr<FileMove> fileMove() const;
    std::shared_ptr<FileCopy> fileCopy() const;
    std::shared_ptr<FileEmail> fileEmail() const;
    std::shared_ptr<FileMsg> fileMsg() const;
    std::shared_ptr<FileUploadQinNiu> fileUploadQiNiu() const;
    std::shared_ptr<FileUploadAli> fileUploadAli() const;
    std::shared_ptr<FileUploadTencent> fileUploadTencent() const;
    std::shared_ptr<FileUploadUP> fileUploadUP() const;
    std::shared_ptr<ImageRotate> imageRotate() const;
    std::shared_ptr<FileRename> fileRename() const;

private:
    mutable std::shared_ptr<StoredRecord> m_settings;
    mutable bool m_settingsLoaded = false;
};
