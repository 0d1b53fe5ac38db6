#pragma once

#include "store/storedrecord.h"

#include <optional>

class TranslateSettings;
class ClearStyleSettings;
class CharacterCountSettings;
class MailTextSettings;
class MessageTextSettings;
class CustomUrlSettings;
class ChineseScriptSettings;
class CapitalAmountSettings;
class LetterCaseSettings;
class ShareTextSettings;
class CompressSettings;
class ConvertSettings;
class ResizeSettings;
class RecogniseTextSettings;
class RemoveMetadataSettings;
class WeiboUploadSettings;
class AddToPhotosSettings;
class ShareFilesSettings;
class MoveSettings;
class CopySettings;
class MailFilesSettings;
class MessageFilesSettings;
class QiniuUploadSettings;
class OssUploadSettings;
class CosUploadSettings;
class UpyunUploadSettings;
class RotateSettings;
class RenameSettings;

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
    std::shared_ptr<TranslateSettings> translateSettings() const;
    std::shared_ptr<ClearStyleSettings> clearStyleSettings() const;
    std::shared_ptr<CharacterCountSettings> characterCountSettings() const;
    std::shared_ptr<MailTextSettings> mailTextSettings() const;
    std::shared_ptr<MessageTextSettings> messageTextSettings() const;
    std::shared_ptr<CustomUrlSettings> customUrlSettings() const;
    std::shared_ptr<ChineseScriptSettings> chineseScriptSettings() const;
    std::shared_ptr<CapitalAmountSettings> capitalAmountSettings() const;
    std::shared_ptr<LetterCaseSettings> letterCaseSettings() const;
    std::shared_ptr<ShareTextSettings> shareTextSettings() const;
    std::shared_ptr<CompressSettings> compressSettings() const;
    std::shared_ptr<ConvertSettings> convertSettings() const;
    std::shared_ptr<ResizeSettings> resizeSettings() const;
    std::shared_ptr<RecogniseTextSettings> recogniseTextSettings() const;
    std::shared_ptr<RemoveMetadataSettings> removeMetadataSettings() const;
    std::shared_ptr<WeiboUploadSettings> weiboUploadSettings() const;
    std::shared_ptr<AddToPhotosSettings> addToPhotosSettings() const;
    std::shared_ptr<ShareFilesSettings> shareFilesSettings() const;
    std::shared_ptr<MoveSettings> moveSettings() const;
    std::shared_ptr<CopySettings> copySettings() const;
    std::shared_ptr<MailFilesSettings> mailFilesSettings() const;
    std::shared_ptr<MessageFilesSettings> messageFilesSettings() const;
    std::shared_ptr<QiniuUploadSettings> qiniuUploadSettings() const;
    std::shared_ptr<OssUploadSettings> ossUploadSettings() const;
    std::shared_ptr<CosUploadSettings> cosUploadSettings() const;
    std::shared_ptr<UpyunUploadSettings> upyunUploadSettings() const;
    std::shared_ptr<RotateSettings> rotateSettings() const;
    std::shared_ptr<RenameSettings> renameSettings() const;

private:
    mutable std::shared_ptr<StoredRecord> m_settings;
    mutable bool m_settingsLoaded = false;
};
