#include "store/droplistentity.h"

#include "common/storedshortcutcodec.h"

#include "store/storecontext.h"
#include "store/storeschema.h"

#include "store/texttranslate.h"
#include "store/textclearstyle.h"
#include "store/textcharcount.h"
#include "store/textemail.h"
#include "store/textmsg.h"
#include "store/textcustomurl.h"
#include "store/texttraditionalconversion.h"
#include "store/textcapitalrmb.h"
#include "store/textupdownstring.h"
#include "store/textairdrop.h"
#include "store/imagecompression.h"
#include "store/imageformat.h"
#include "store/imageresize.h"
#include "store/imageocr.h"
#include "store/imageclearmsg.h"
#include "store/imageuploadweibo.h"
#include "store/imagetophoto.h"
#include "store/fileairdrop.h"
#include "store/filemove.h"
#include "store/filecopy.h"
#include "store/fileemail.h"
#include "store/filemsg.h"
#include "store/fileuploadqinniu.h"
#include "store/fileuploadali.h"
#include "store/fileuploadtencent.h"
#include "store/fileuploadup.h"
#include "store/imagerotate.h"
#include "store/filerename.h"

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

std::shared_ptr<TextTranslate> DropListEntity::textTranslate() const
{
    return std::dynamic_pointer_cast<TextTranslate>(settings());
}

std::shared_ptr<TextClearStyle> DropListEntity::textClearStyle() const
{
    return std::dynamic_pointer_cast<TextClearStyle>(settings());
}

std::shared_ptr<TextCharCount> DropListEntity::textCharCount() const
{
    return std::dynamic_pointer_cast<TextCharCount>(settings());
}

std::shared_ptr<TextEmail> DropListEntity::textEmail() const
{
    return std::dynamic_pointer_cast<TextEmail>(settings());
}

std::shared_ptr<TextMsg> DropListEntity::textMsg() const
{
    return std::dynamic_pointer_cast<TextMsg>(settings());
}

std::shared_ptr<TextCustomUrl> DropListEntity::textCustomUrl() const
{
    return std::dynamic_pointer_cast<TextCustomUrl>(settings());
}

std::shared_ptr<TextTraditionalConversion> DropListEntity::textTranditionalConversion() const
{
    return std::dynamic_pointer_cast<TextTraditionalConversion>(settings());
}

std::shared_ptr<TextCapitalRMB> DropListEntity::textCapitalRMB() const
{
    return std::dynamic_pointer_cast<TextCapitalRMB>(settings());
}

std::shared_ptr<TextUpDownString> DropListEntity::textUpDownString() const
{
    return std::dynamic_pointer_cast<TextUpDownString>(settings());
}

std::shared_ptr<TextAirDrop> DropListEntity::textAirDrop() const
{
    return std::dynamic_pointer_cast<TextAirDrop>(settings());
}

std::shared_ptr<ImageCompression> DropListEntity::imageCompression() const
{
    return std::dynamic_pointer_cast<ImageCompression>(settings());
}

std::shared_ptr<ImageFormat> DropListEntity::imageFormat() const
{
    return std::dynamic_pointer_cast<ImageFormat>(settings());
}

std::shared_ptr<ImageResize> DropListEntity::imageResize() const
{
    return std::dynamic_pointer_cast<ImageResize>(settings());
}

std::shared_ptr<ImageOCR> DropListEntity::imageOCR() const
{
    return std::dynamic_pointer_cast<ImageOCR>(settings());
}

std::shared_ptr<ImageClearMsg> DropListEntity::imageClearMsg() const
{
    return std::dynamic_pointer_cast<ImageClearMsg>(settings());
}

std::shared_ptr<ImageUploadWeiBo> DropListEntity::imageUploadWeiBo() const
{
    return std::dynamic_pointer_cast<ImageUploadWeiBo>(settings());
}

std::shared_ptr<ImageToPhoto> DropListEntity::imageToPhoto() const
{
    return std::dynamic_pointer_cast<ImageToPhoto>(settings());
}

std::shared_ptr<FileAirDrop> DropListEntity::fileAirDrop() const
{
    return std::dynamic_pointer_cast<FileAirDrop>(settings());
}

std::shared_ptr<FileMove> DropListEntity::fileMove() const
{
    return std::dynamic_pointer_cast<FileMove>(settings());
}

std::shared_ptr<FileCopy> DropListEntity::fileCopy() const
{
    return std::dynamic_pointer_cast<FileCopy>(settings());
}

std::shared_ptr<FileEmail> DropListEntity::fileEmail() const
{
    return std::dynamic_pointer_cast<FileEmail>(settings());
}

std::shared_ptr<FileMsg> DropListEntity::fileMsg() const
{
    return std::dynamic_pointer_cast<FileMsg>(settings());
}

std::shared_ptr<FileUploadQinNiu> DropListEntity::fileUploadQiNiu() const
{
    return std::dynamic_pointer_cast<FileUploadQinNiu>(settings());
}

std::shared_ptr<FileUploadAli> DropListEntity::fileUploadAli() const
{
    return std::dynamic_pointer_cast<FileUploadAli>(settings());
}

std::shared_ptr<FileUploadTencent> DropListEntity::fileUploadTencent() const
{
    return std::dynamic_pointer_cast<FileUploadTencent>(settings());
}

std::shared_ptr<FileUploadUP> DropListEntity::fileUploadUP() const
{
    return std::dynamic_pointer_cast<FileUploadUP>(settings());
}

std::shared_ptr<ImageRotate> DropListEntity::imageRotate() const
{
    return std::dynamic_pointer_cast<ImageRotate>(settings());
}

std::shared_ptr<FileRename> DropListEntity::fileRename() const
{
    return std::dynamic_pointer_cast<FileRename>(settings());
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
