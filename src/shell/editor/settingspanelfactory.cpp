#include "settingspanelfactory.h"

#include "addtophotoviewcontroller.h"
#include "basesettingviewcontroller.h"
#include "charstatisticviewcontroller.h"
#include "chineseconverterviewcontroller.h"
#include "clearformatviewcontroller.h"
#include "compressimageviewcontroller.h"
#include "customurlviewcontroller.h"
#include "encaseconvertviewcontroller.h"
#include "filedestinationviewcontroller.h"
#include "imageformatviewcontroller.h"
#include "imageoutputviewcontroller.h"
#include "numbercnconverterviewcontroller.h"
#include "recipientsviewcontroller.h"
#include "renameviewcontroller.h"
#include "resizeimageviewcontroller.h"
#include "rotateimageviewcontroller.h"
#include "translationviewcontroller.h"
#include "uploadcloudviewcontroller.h"

#include <functional>
#include <vector>
#include <utility>

namespace {

using Maker = std::function<SettingsPanel *(QWidget *parent)>;

template <typename Panel>
Maker make()
{
    return [](QWidget *parent) -> SettingsPanel * { return new Panel(parent); };
}

const std::vector<std::pair<QString, Maker>> &makers()
{
    // Kinds with nothing to set beyond name and shortcut (nearby sharing, text recognition)
    // get the common panel.
    static const std::vector<std::pair<QString, Maker>> table = {
        {QStringLiteral("translationVC"), make<TranslationViewController>()},
        {QStringLiteral("clearFormatVC"), make<ClearFormatViewController>()},
        {QStringLiteral("charStatistic"), make<CharStatisticViewController>()},
        {QStringLiteral("sendEmail"), [](QWidget *parent) -> SettingsPanel * { return new RecipientsViewController(true, parent); }},
        {QStringLiteral("sendMessage"), [](QWidget *parent) -> SettingsPanel * { return new RecipientsViewController(false, parent); }},
        {QStringLiteral("customURLVC"), make<CustomURLViewController>()},
        {QStringLiteral("chineseConverter"), make<ChineseConverterViewController>()},
        {QStringLiteral("numberCNConverter"), make<NumberCNConverterViewController>()},
        {QStringLiteral("enCaseConvert"), make<EnCaseConvertViewController>()},
        {QStringLiteral("airDropText"), make<BaseSettingViewController>()},
        {QStringLiteral("compressVC"), make<CompressImageViewController>()},
        {QStringLiteral("imageFormatVC"), make<ImageFormatViewController>()},
        {QStringLiteral("resizeVC"), make<ResizeImageViewController>()},
        {QStringLiteral("ocrVC"), make<BaseSettingViewController>()},
        {QStringLiteral("removeMetaVC"), make<ImageOutputViewController>()},
        {QStringLiteral("uploadImgVC"), &UploadCloudViewController::weibo},
        {QStringLiteral("addToPhoto"), make<AddToPhotoViewController>()},
        {QStringLiteral("airDrop"), make<BaseSettingViewController>()},
        {QStringLiteral("moveTo"), make<FileDestinationViewController>()},
        {QStringLiteral("copyTo"), make<FileDestinationViewController>()},
        {QStringLiteral("uploadQiniu"), &UploadCloudViewController::qiniu},
        {QStringLiteral("uploadAli"), &UploadCloudViewController::ali},
        {QStringLiteral("uploadTencent"), &UploadCloudViewController::tencent},
        {QStringLiteral("uploadUP"), &UploadCloudViewController::upYun},
        {QStringLiteral("imageRotateVC"), make<RotateImageViewController>()},
        {QStringLiteral("renameVC"), make<RenameViewController>()},
    };
    return table;
}

} // namespace

SettingsPanel *SettingsPanelFactory::create(const QString &identifier, QWidget *parent)
{
    for (const auto &[name, maker] : makers()) {
        if (name == identifier)
            return maker(parent);
    }
    return nullptr;
}

QStringList SettingsPanelFactory::identifiers()
{
    QStringList result;
    for (const auto &entry : makers())
        result.append(entry.first);
    return result;
}
