#include "store/droplistentity.h"

#include "common/storedshortcutcodec.h"

#include "store/storecontext.h"
#include "store/storeschema.h"

#include "store/translatesettings.h"
#include "store/clearstylesettings.h"
#include "store/charactercountsettings.h"
#include "store/mailtextsettings.h"
#include "store/messagetextsettings.h"
#include "store/customurlsettings.h"
#include "store/chinesescriptsettings.h"
#include "store/capitalamountsettings.h"
#include "store/lettercasesettings.h"
#include "store/sharetextsettings.h"
#include "store/compresssettings.h"
#include "store/convertsettings.h"
#include "store/resizesettings.h"
#include "store/recognisetextsettings.h"
#include "store/removemetadatasettings.h"
#include "store/weibouploadsettings.h"
#include "store/addtophotossettings.h"
#include "store/sharefilessettings.h"
#include "store/movesettings.h"
#include "store/copysettings.h"
#include "store/mailfilessettings.h"
#include "store/messagefilessettings.h"
#include "store/qiniuuploadsettings.h"
#include "store/ossuploadsettings.h"
#include "store/cosuploadsettings.h"
#include "store/upyunuploadsettings.h"
#include "store/rotatesettings.h"
#include "store/renamesettings.h"

std::shared_ptr<StoredRecord> DropListEntity::settings() const
{
    if (!m_settingsLoaded && managedObjectContext()) {
        m_settingsLoaded = true;
        // Any catalog other than text keeps the settings of the file and image kinds.
        if (const EntityDescription *entity = StoreSchema::settingsRecord(catalog() == 0 ? 0 : 1, type())) {
            if (objectID() != 0) {
                const auto owned = managedObjectContext()->fetchOwnedBy(entity->name, *this);
                if (!owned.isEmpty())
                    m_settings = owned.first();
            }
        }
    }
    if (m_settings && m_settings->isDeleted())
        return nullptr;
    return m_settings;
}

void DropListEntity::setSettings(const std::shared_ptr<StoredRecord> &settings)
{
    m_settings = settings;
    m_settingsLoaded = true;
    if (settings)
        settings->setOwner(std::const_pointer_cast<StoredRecord>(shared_from_this()));
}

std::shared_ptr<TranslateSettings> DropListEntity::translateSettings() const
{
    return std::dynamic_pointer_cast<TranslateSettings>(settings());
}

std::shared_ptr<ClearStyleSettings> DropListEntity::clearStyleSettings() const
{
    return std::dynamic_pointer_cast<ClearStyleSettings>(settings());
}

std::shared_ptr<CharacterCountSettings> DropListEntity::characterCountSettings() const
{
    return std::dynamic_pointer_cast<CharacterCountSettings>(settings());
}

std::shared_ptr<MailTextSettings> DropListEntity::mailTextSettings() const
{
    return std::dynamic_pointer_cast<MailTextSettings>(settings());
}

std::shared_ptr<MessageTextSettings> DropListEntity::messageTextSettings() const
{
    return std::dynamic_pointer_cast<MessageTextSettings>(settings());
}

std::shared_ptr<CustomUrlSettings> DropListEntity::customUrlSettings() const
{
    return std::dynamic_pointer_cast<CustomUrlSettings>(settings());
}

std::shared_ptr<ChineseScriptSettings> DropListEntity::chineseScriptSettings() const
{
    return std::dynamic_pointer_cast<ChineseScriptSettings>(settings());
}

std::shared_ptr<CapitalAmountSettings> DropListEntity::capitalAmountSettings() const
{
    return std::dynamic_pointer_cast<CapitalAmountSettings>(settings());
}

std::shared_ptr<LetterCaseSettings> DropListEntity::letterCaseSettings() const
{
    return std::dynamic_pointer_cast<LetterCaseSettings>(settings());
}

std::shared_ptr<ShareTextSettings> DropListEntity::shareTextSettings() const
{
    return std::dynamic_pointer_cast<ShareTextSettings>(settings());
}

std::shared_ptr<CompressSettings> DropListEntity::compressSettings() const
{
    return std::dynamic_pointer_cast<CompressSettings>(settings());
}

std::shared_ptr<ConvertSettings> DropListEntity::convertSettings() const
{
    return std::dynamic_pointer_cast<ConvertSettings>(settings());
}

std::shared_ptr<ResizeSettings> DropListEntity::resizeSettings() const
{
    return std::dynamic_pointer_cast<ResizeSettings>(settings());
}

std::shared_ptr<RecogniseTextSettings> DropListEntity::recogniseTextSettings() const
{
    return std::dynamic_pointer_cast<RecogniseTextSettings>(settings());
}

std::shared_ptr<RemoveMetadataSettings> DropListEntity::removeMetadataSettings() const
{
    return std::dynamic_pointer_cast<RemoveMetadataSettings>(settings());
}

std::shared_ptr<WeiboUploadSettings> DropListEntity::weiboUploadSettings() const
{
    return std::dynamic_pointer_cast<WeiboUploadSettings>(settings());
}

std::shared_ptr<AddToPhotosSettings> DropListEntity::addToPhotosSettings() const
{
    return std::dynamic_pointer_cast<AddToPhotosSettings>(settings());
}

std::shared_ptr<ShareFilesSettings> DropListEntity::shareFilesSettings() const
{
    return std::dynamic_pointer_cast<ShareFilesSettings>(settings());
}

std::shared_ptr<MoveSettings> DropListEntity::moveSettings() const
{
    return std::dynamic_pointer_cast<MoveSettings>(settings());
}

std::shared_ptr<CopySettings> DropListEntity::copySettings() const
{
    return std::dynamic_pointer_cast<CopySettings>(settings());
}

std::shared_ptr<MailFilesSettings> DropListEntity::mailFilesSettings() const
{
    return std::dynamic_pointer_cast<MailFilesSettings>(settings());
}

std::shared_ptr<MessageFilesSettings> DropListEntity::messageFilesSettings() const
{
    return std::dynamic_pointer_cast<MessageFilesSettings>(settings());
}

std::shared_ptr<QiniuUploadSettings> DropListEntity::qiniuUploadSettings() const
{
    return std::dynamic_pointer_cast<QiniuUploadSettings>(settings());
}

std::shared_ptr<OssUploadSettings> DropListEntity::ossUploadSettings() const
{
    return std::dynamic_pointer_cast<OssUploadSettings>(settings());
}

std::shared_ptr<CosUploadSettings> DropListEntity::cosUploadSettings() const
{
    return std::dynamic_pointer_cast<CosUploadSettings>(settings());
}

std::shared_ptr<UpyunUploadSettings> DropListEntity::upyunUploadSettings() const
{
    return std::dynamic_pointer_cast<UpyunUploadSettings>(settings());
}

std::shared_ptr<RotateSettings> DropListEntity::rotateSettings() const
{
    return std::dynamic_pointer_cast<RotateSettings>(settings());
}

std::shared_ptr<RenameSettings> DropListEntity::renameSettings() const
{
    return std::dynamic_pointer_cast<RenameSettings>(settings());
}

std::optional<QKeyCombination> DropListEntity::keyCombination() const
{
    return StoredShortcutCodec::decode(quint32(keyCode()), quint32(modifiers()));
}

bool DropListEntity::setKeyCombination(QKeyCombination keys)
{
    const std::optional<StoredShortcutCodec::StoredShortcut> stored = StoredShortcutCodec::encode(keys);
    if (!stored)
        return false;
    setKeyCode(qint32(stored->keyCode));
    setModifiers(qint32(stored->modifiers));
    return true;
}
