#include "intake/actioncatalog.h"

#include "intake/droppayload.h"

#include <QCoreApplication>

namespace {

using K = ActionKind;

// Description keys are the title key followed by "Info".
constexpr std::array<ActionCatalog::Entry, KindCount> kinds{{
    {K::Translate, 0, 0, "translate", QT_TRID_NOOP("translate"), QT_TRID_NOOP("translateInfo"), "翻译", 0, true, "TextTranslate", "translationVC"},
    {K::ClearStyle, 0, 1, "clear-style", QT_TRID_NOOP("clearStyle"), QT_TRID_NOOP("clearStyleInfo"), "清除文本样式", 0, true, "TextClearStyle", "clearFormatVC"},
    {K::CountCharacters, 0, 2, "count-characters", QT_TRID_NOOP("charQuatity"), QT_TRID_NOOP("charQuatityInfo"), "字符统计", 0, true, "TextCharCount", "charStatistic"},
    {K::MailText, 0, 3, "mail-text", QT_TRID_NOOP("sendEmail"), QT_TRID_NOOP("sendEmailInfo"), "发送邮件", 0, true, "TextEmail", "sendEmail"},
    {K::MessageText, 0, 4, "message-text", QT_TRID_NOOP("sendMsg"), QT_TRID_NOOP("sendMsgInfo"), "发送消息", 0, true, "TextMsg", "sendMessage"},
    {K::CustomUrls, 0, 5, "custom-urls", QT_TRID_NOOP("openURL"), QT_TRID_NOOP("openURLInfo"), "自定义URL", 0, true, "TextCustomUrl", "customURLVC"},
    {K::ChineseScript, 0, 6, "chinese-script", QT_TRID_NOOP("chineseConverter"), QT_TRID_NOOP("chineseConverterInfo"), "繁体", 0, true, "TextTraditionalConversion", "chineseConverter"},
    {K::CapitalAmount, 0, 7, "capital-amount", QT_TRID_NOOP("capitalPrice"), QT_TRID_NOOP("capitalPriceInfo"), "大写金额", 0, true, "TextCapitalRMB", "numberCNConverter"},
    {K::LetterCase, 0, 8, "letter-case", QT_TRID_NOOP("caseConvert"), QT_TRID_NOOP("caseConvertInfo"), "英文大小写", 0, true, "TextUpDownString", "enCaseConvert"},
    {K::ShareText, 0, 9, "share-text", QT_TRID_NOOP("airDropText"), QT_TRID_NOOP("airDropTextInfo"), "AirDrop", 0, true, "TextAirDrop", "airDropText"},
    {K::Compress, 1, 0, "compress", QT_TRID_NOOP("imageCompress"), QT_TRID_NOOP("imageCompressInfo"), "压缩体积", FileKindImage, true, "ImageCompression", "compressVC"},
    {K::Convert, 1, 1, "convert", QT_TRID_NOOP("imageConvert"), QT_TRID_NOOP("imageConvertInfo"), "转换格式", FileKindImage, true, "ImageFormat", "imageFormatVC"},
    {K::Resize, 1, 2, "resize", QT_TRID_NOOP("imageResize"), QT_TRID_NOOP("imageResizeInfo"), "调整尺寸", FileKindImage, true, "ImageResize", "resizeVC"},
    {K::RecogniseText, 1, 3, "recognise-text", QT_TRID_NOOP("imageOCR"), QT_TRID_NOOP("imageOCRInfo"), "识别图中文字", FileKindImage, true, "ImageOCR", "ocrVC"},
    {K::RemoveMetadata, 1, 4, "remove-metadata", QT_TRID_NOOP("imageDataRemove"), QT_TRID_NOOP("imageDataRemoveInfo"), "移除源信息", FileKindImage, true, "ImageClearMsg", "removeMetaVC"},
    {K::UploadWeibo, 1, 5, "upload-weibo", QT_TRID_NOOP("imageUplodaToBed"), QT_TRID_NOOP("imageUplodaToBedInfo"), "上传到图床", FileKindImage, true, "ImageUploadWeiBo", "uploadImgVC"},
    {K::AddToPhotos, 1, 6, "add-to-photos", QT_TRID_NOOP("imageToPhoto"), QT_TRID_NOOP("imageToPhotoInfo"), "添加到照片", FileKindImage | FileKindVideo, true, "ImageToPhoto", "addToPhoto"},
    {K::ShareFiles, 1, 7, "share-files", QT_TRID_NOOP("airDrop"), QT_TRID_NOOP("airDropInfo"), "AirDrop", FileKindAnyFile, true, "FileAirDrop", "airDrop"},
    {K::Move, 1, 8, "move", QT_TRID_NOOP("moveToPath"), QT_TRID_NOOP("moveToPathInfo"), "移动到路径", FileKindAnyFile, true, "FileMove", "moveTo"},
    {K::Copy, 1, 9, "copy", QT_TRID_NOOP("copyFile"), QT_TRID_NOOP("copyFileInfo"), "复制到路径", FileKindAnyFile, true, "FileCopy", "copyTo"},
    {K::MailFiles, 1, 10, "mail-files", QT_TRID_NOOP("sendEmail"), QT_TRID_NOOP("sendEmailInfo"), "发送邮件", FileKindAnyFile, true, "FileEmail", "sendEmail"},
    {K::MessageFiles, 1, 11, "message-files", QT_TRID_NOOP("sendMsg"), QT_TRID_NOOP("sendMsgInfo"), "发送消息", FileKindAnyFile, true, "FileMsg", "sendMessage"},
    {K::UploadQiniu, 1, 12, "upload-qiniu", QT_TRID_NOOP("uploadQiniu"), QT_TRID_NOOP("uploadQiniuInfo"), "上传到七牛云", FileKindAnyFile, false, "FileUploadQinNiu", "uploadQiniu"},
    {K::UploadOss, 1, 13, "upload-oss", QT_TRID_NOOP("uploadAli"), QT_TRID_NOOP("uploadAliInfo"), "上传到阿里云", FileKindAnyFile, true, "FileUploadAli", "uploadAli"},
    {K::UploadCos, 1, 14, "upload-cos", QT_TRID_NOOP("uploadTencent"), QT_TRID_NOOP("uploadTencentInfo"), "上传到腾讯云", FileKindAnyFile, true, "FileUploadTencent", "uploadTencent"},
    {K::UploadUpyun, 1, 15, "upload-upyun", QT_TRID_NOOP("uploadUP"), QT_TRID_NOOP("uploadUPInfo"), "上传到又拍云", FileKindAnyFile, true, "FileUploadUP", "uploadUP"},
    {K::Rotate, 1, 16, "rotate", QT_TRID_NOOP("imageRotate"), QT_TRID_NOOP("imageRotateInfo"), "旋转图片", FileKindImage, true, "ImageRotate", "imageRotateVC"},
    {K::Rename, 1, 17, "rename", QT_TRID_NOOP("renameFiles"), QT_TRID_NOOP("renameFilesInfo"), "重命名文件", FileKindAnyFile, true, "FileRename", "renameVC"},
}};

constexpr int textCount()
{
    int count = 0;
    while (count < KindCount && kinds[count].catalog == 0)
        ++count;
    return count;
}

// Lookups by catalog and type read the table as the text kinds followed by the file kinds,
// each numbered from 0 in enum order.
constexpr bool inKindOrder()
{
    for (int i = 0; i < KindCount; ++i) {
        const bool text = i < textCount();
        if (int(kinds[i].kind) != i || kinds[i].catalog != (text ? 0 : 1) || kinds[i].type != (text ? i : i - textCount()))
            return false;
    }
    return true;
}
static_assert(inKindOrder(), "the kinds are listed in enum order, text first, types counting from 0");

} // namespace

const std::array<ActionCatalog::Entry, KindCount> &ActionCatalog::entries()
{
    return kinds;
}

int ActionCatalog::typeCount(qint64 catalog)
{
    if (catalog == 0)
        return textCount();
    if (catalog == 1)
        return KindCount - textCount();
    return 0;
}

bool ActionCatalog::isKnown(qint64 catalog, qint64 type)
{
    return type >= 0 && type < typeCount(catalog);
}

const ActionCatalog::Entry *ActionCatalog::entry(qint64 catalog, qint64 type)
{
    if (!isKnown(catalog, type))
        return nullptr;
    return &kinds[std::size_t(catalog == 0 ? type : textCount() + type)];
}

QString ActionCatalog::localizedTitle(qint64 catalog, qint64 type)
{
    const Entry *e = entry(catalog, type);
    return e ? qtTrId(e->titleKey) : QString();
}

QString ActionCatalog::localizedDescription(qint64 catalog, qint64 type)
{
    const Entry *e = entry(catalog, type);
    return e ? qtTrId(e->descriptionKey) : QString();
}

const ActionCatalog::Entry *ActionCatalog::entryNamed(const QString &name, qint64 *catalog)
{
    for (const Entry &e : kinds) {
        if (name == QLatin1String(e.name)) {
            *catalog = e.catalog;
            return &e;
        }
    }
    return nullptr;
}

bool ActionCatalog::accepts(const DropPayload &data, qint64 catalog, qint64 supportTypes)
{
    // Text typed into the list's field makes the record text while the rest stays as it was.
    if (data.dataCatalog() == DataCatalogText)
        return catalog == 0;
    if (data.dataCatalog() != DataCatalogFileOrImage || catalog != 1)
        return false;
    if (data.dataSubCatalog() == DataSubCatalogImageData)
        return (supportTypes & FileKindImage) != 0;
    if (onlyFolders(data))
        return (supportTypes & FileKindAnyFile) != 0;
    return (supportTypes & qint64(data.containedFileType())) != 0;
}

bool ActionCatalog::offers(const DropPayload &data, qint64 catalog, qint64 type, qint64 supportTypes)
{
    if (!accepts(data, catalog, supportTypes))
        return false;
    const Entry *e = entry(catalog, type);
    return !onlyFolders(data) || !e || e->takesLoneFolders;
}

bool ActionCatalog::onlyFolders(const DropPayload &data)
{
    const qsizetype folders = data.folderFileUrls().size();
    return folders > 0 && data.itemsCount() == folders;
}
