#include "shell/editor/settingspanelfactory.h"

#include "shell/editor/addtophotoviewcontroller.h"
#include "shell/editor/basesettingviewcontroller.h"
#include "shell/editor/charstatisticviewcontroller.h"
#include "shell/editor/chineseconverterviewcontroller.h"
#include "shell/editor/clearformatviewcontroller.h"
#include "shell/editor/compressimageviewcontroller.h"
#include "shell/editor/customurlviewcontroller.h"
#include "shell/editor/encaseconvertviewcontroller.h"
#include "shell/editor/filedestinationviewcontroller.h"
#include "shell/editor/imageformatviewcontroller.h"
#include "shell/editor/imageoutputviewcontroller.h"
#include "intake/korvaneactioncatalog.h"
#include "shell/editor/numbercnconverterviewcontroller.h"
#include "shell/editor/recipientsviewcontroller.h"
#include "shell/editor/renameviewcontroller.h"
#include "shell/editor/resizeimageviewcontroller.h"
#include "shell/editor/rotateimageviewcontroller.h"
#include "shell/editor/translationviewcontroller.h"
#include "shell/editor/uploadcloudviewcontroller.h"

#include <iterator>

namespace {

using Maker = SettingsPanel *(*)(QWidget *parent);

template<typename Panel>
SettingsPanel *make(QWidget *parent)
{
    return new Panel(parent);
}

SettingsPanel *mail(QWidget *parent)
{
    return new RecipientsViewController(true, parent);
}

SettingsPanel *message(QWidget *parent)
{
    return new RecipientsViewController(false, parent);
}

// Indexed by kind. Kinds with nothing to set beyond name and shortcut (nearby sharing, text
// recognition) get the common panel; kinds that share a panel identifier share its maker.
const Maker makers[] = {
    &make<TranslationViewController>,
    &make<ClearFormatViewController>,
    &make<CharStatisticViewController>,
    &mail,
    &message,
    &make<CustomURLViewController>,
    &make<ChineseConverterViewController>,
    &make<NumberCNConverterViewController>,
    &make<EnCaseConvertViewController>,
    &make<BaseSettingViewController>,
    &make<CompressImageViewController>,
    &make<ImageFormatViewController>,
    &make<ResizeImageViewController>,
    &make<BaseSettingViewController>,
    &make<ImageOutputViewController>,
    [](QWidget *parent) -> SettingsPanel * { return UploadCloudViewController::weibo(parent); },
    &make<AddToPhotoViewController>,
    &make<BaseSettingViewController>,
    &make<FileDestinationViewController>,
    &make<FileDestinationViewController>,
    &mail,
    &message,
    [](QWidget *parent) -> SettingsPanel * { return UploadCloudViewController::qiniu(parent); },
    [](QWidget *parent) -> SettingsPanel * { return UploadCloudViewController::ali(parent); },
    [](QWidget *parent) -> SettingsPanel * { return UploadCloudViewController::tencent(parent); },
    [](QWidget *parent) -> SettingsPanel * { return UploadCloudViewController::upYun(parent); },
    &make<RotateImageViewController>,
    &make<RenameViewController>,
};
static_assert(std::size(makers) == KindCount, "one settings panel per action kind");

} // namespace

SettingsPanel *SettingsPanelFactory::create(const QString &identifier, QWidget *parent)
{
    for (const KorvaneActionCatalog::Entry &kind : KorvaneActionCatalog::entries()) {
        if (identifier == QLatin1String(kind.settingsPanel))
            return makers[int(kind.kind)](parent);
    }
    return nullptr;
}

QStringList SettingsPanelFactory::identifiers()
{
    QStringList result;
    for (const KorvaneActionCatalog::Entry &kind : KorvaneActionCatalog::entries()) {
        const QString identifier = QString::fromLatin1(kind.settingsPanel);
        if (!result.contains(identifier))
            result.append(identifier);
    }
    return result;
}
