#include "korvaneactioncatalog.h"

#include <QCoreApplication>

namespace {

// Description keys are the title key followed by "Info". Names are what the command line
// takes for a kind; they are English and never change.
const KorvaneActionCatalog::Entry textEntries[] = {
    {0, "translate", QT_TRID_NOOP("translate"), QT_TRID_NOOP("translateInfo"), "翻译", 0},
    {1, "clear-style", QT_TRID_NOOP("clearStyle"), QT_TRID_NOOP("clearStyleInfo"), "清除文本样式", 0},
    {2, "count-characters", QT_TRID_NOOP("charQuatity"), QT_TRID_NOOP("charQuatityInfo"), "字符统计", 0},
    {3, "mail-text", QT_TRID_NOOP("sendEmail"), QT_TRID_NOOP("sendEmailInfo"), "发送邮件", 0},
    {4, "message-text", QT_TRID_NOOP("sendMsg"), QT_TRID_NOOP("sendMsgInfo"), "发送消息", 0},
    {5, "custom-urls", QT_TRID_NOOP("openURL"), QT_TRID_NOOP("openURLInfo"), "自定义URL", 0},
    {6, "chinese-script", QT_TRID_NOOP("chineseConverter"), QT_TRID_NOOP("chineseConverterInfo"), "繁体", 0},
    {7, "capital-amount", QT_TRID_NOOP("capitalPrice"), QT_TRID_NOOP("capitalPriceInfo"), "大写金额", 0},
    {8, "letter-case", QT_TRID_NOOP("caseConvert"), QT_TRID_NOOP("caseConvertInfo"), "英文大小写", 0},
    {9, "share-text", QT_TRID_NOOP("airDropText"), QT_TRID_NOOP("airDropTextInfo"), "AirDrop", 0},
};

const KorvaneActionCatalog::Entry fileEntries[] = {
    {0, "compress", QT_TRID_NOOP("imageCompress"), QT_TRID_NOOP("imageCompressInfo"), "压缩体积", 4},
    {1, "convert", QT_TRID_NOOP("imageConvert"), QT_TRID_NOOP("imageConvertInfo"), "转换格式", 4},
    {2, "resize", QT_TRID_NOOP("imageResize"), QT_TRID_NOOP("imageResizeInfo"), "调整尺寸", 4},
    {3, "recognise-text", QT_TRID_NOOP("imageOCR"), QT_TRID_NOOP("imageOCRInfo"), "识别图中文字", 4},
    {4, "remove-metadata", QT_TRID_NOOP("imageDataRemove"), QT_TRID_NOOP("imageDataRemoveInfo"), "移除源信息", 4},
    {5, "upload-weibo", QT_TRID_NOOP("imageUplodaToBed"), QT_TRID_NOOP("imageUplodaToBedInfo"), "上传到图床", 4},
    {6, "add-to-photos", QT_TRID_NOOP("imageToPhoto"), QT_TRID_NOOP("imageToPhotoInfo"), "添加到照片", 20},
    {7, "share-files", QT_TRID_NOOP("airDrop"), QT_TRID_NOOP("airDropInfo"), "AirDrop", 2},
    {8, "move", QT_TRID_NOOP("moveToPath"), QT_TRID_NOOP("moveToPathInfo"), "移动到路径", 2},
    {9, "copy", QT_TRID_NOOP("copyFile"), QT_TRID_NOOP("copyFileInfo"), "复制到路径", 2},
    {10, "mail-files", QT_TRID_NOOP("sendEmail"), QT_TRID_NOOP("sendEmailInfo"), "发送邮件", 2},
    {11, "message-files", QT_TRID_NOOP("sendMsg"), QT_TRID_NOOP("sendMsgInfo"), "发送消息", 2},
    {12, "upload-qiniu", QT_TRID_NOOP("uploadQiniu"), QT_TRID_NOOP("uploadQiniuInfo"), "上传到七牛云", 2},
    {13, "upload-oss", QT_TRID_NOOP("uploadAli"), QT_TRID_NOOP("uploadAliInfo"), "上传到阿里云", 2},
    {14, "upload-cos", QT_TRID_NOOP("uploadTencent"), QT_TRID_NOOP("uploadTencentInfo"), "上传到腾讯云", 2},
    {15, "upload-upyun", QT_TRID_NOOP("uploadUP"), QT_TRID_NOOP("uploadUPInfo"), "上传到又拍云", 2},
    {16, "rotate", QT_TRID_NOOP("imageRotate"), QT_TRID_NOOP("imageRotateInfo"), "旋转图片", 4},
    {17, "rename", QT_TRID_NOOP("renameFiles"), QT_TRID_NOOP("renameFilesInfo"), "重命名文件", 2},
};

} // namespace

int KorvaneActionCatalog::typeCount(qint64 catalog)
{
    if (catalog == 0)
        return int(std::size(textEntries));
    if (catalog == 1)
        return int(std::size(fileEntries));
    return 0;
}

bool KorvaneActionCatalog::isKnown(qint64 catalog, qint64 type)
{
    return type >= 0 && type < typeCount(catalog);
}

const KorvaneActionCatalog::Entry *KorvaneActionCatalog::entry(qint64 catalog, qint64 type)
{
    if (!isKnown(catalog, type))
        return nullptr;
    return catalog == 0 ? &textEntries[type] : &fileEntries[type];
}

QString KorvaneActionCatalog::localizedTitle(qint64 catalog, qint64 type)
{
    const Entry *e = entry(catalog, type);
    return e ? qtTrId(e->titleKey) : QString();
}

QString KorvaneActionCatalog::localizedDescription(qint64 catalog, qint64 type)
{
    const Entry *e = entry(catalog, type);
    return e ? qtTrId(e->descriptionKey) : QString();
}

const KorvaneActionCatalog::Entry *KorvaneActionCatalog::entryNamed(const QString &name, qint64 *catalog)
{
    for (qint64 c : {0, 1}) {
        for (int type = 0; type < typeCount(c); ++type) {
            const Entry *e = entry(c, type);
            if (name == QLatin1String(e->name)) {
                *catalog = c;
                return e;
            }
        }
    }
    return nullptr;
}
