#include "shell/editor/settingspanelfactory.h"

#include "shell/editor/addtophotospanel.h"
#include "shell/editor/formsettingspanel.h"
#include "shell/editor/charactercountpanel.h"
#include "shell/editor/chineseconversionpanel.h"
#include "shell/editor/clearformatpanel.h"
#include "shell/editor/compressimagepanel.h"
#include "shell/editor/customurlpanel.h"
#include "shell/editor/lettercasepanel.h"
#include "shell/editor/filedestinationpanel.h"
#include "shell/editor/imageformatpanel.h"
#include "shell/editor/imageoutputpanel.h"
#include "intake/actioncatalog.h"
#include "shell/editor/chinesemoneypanel.h"
#include "shell/editor/recipientspanel.h"
#include "shell/editor/renamepanel.h"
#include "shell/editor/resizeimagepanel.h"
#include "shell/editor/rotateimagepanel.h"
#include "shell/editor/translationpanel.h"
#include "shell/editor/clouduploadpanel.h"

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
    return new RecipientsPanel(true, parent);
}

SettingsPanel *message(QWidget *parent)
{
    return new RecipientsPanel(false, parent);
}

// Indexed by kind. Kinds with nothing to set beyond name and shortcut (nearby sharing, text
// recognition) get the common panel; kinds that share a panel identifier share its maker.
const Maker makers[] = {
    &make<TranslationPanel>,
    &make<ClearFormatPanel>,
    &make<CharacterCountPanel>,
    &mail,
    &message,
    &make<CustomUrlPanel>,
    &make<ChineseConversionPanel>,
    &make<ChineseMoneyPanel>,
    &make<LetterCasePanel>,
    &make<FormSettingsPanel>,
    &make<CompressImagePanel>,
    &make<ImageFormatPanel>,
    &make<ResizeImagePanel>,
    &make<FormSettingsPanel>,
    &make<ImageOutputPanel>,
    [](QWidget *parent) -> SettingsPanel * { return CloudUploadPanel::weibo(parent); },
    &make<AddToPhotosPanel>,
    &make<FormSettingsPanel>,
    &make<FileDestinationPanel>,
    &make<FileDestinationPanel>,
    &mail,
    &message,
    [](QWidget *parent) -> SettingsPanel * { return CloudUploadPanel::qiniu(parent); },
    [](QWidget *parent) -> SettingsPanel * { return CloudUploadPanel::ali(parent); },
    [](QWidget *parent) -> SettingsPanel * { return CloudUploadPanel::tencent(parent); },
    [](QWidget *parent) -> SettingsPanel * { return CloudUploadPanel::upYun(parent); },
    &make<RotateImagePanel>,
    &make<RenamePanel>,
};
static_assert(std::size(makers) == KindCount, "one settings panel per action kind");

} // namespace

SettingsPanel *SettingsPanelFactory::create(const QString &identifier, QWidget *parent)
{
    for (const ActionCatalog::Entry &kind : ActionCatalog::entries()) {
        if (identifier == QLatin1String(kind.settingsPanel))
            return makers[int(kind.kind)](parent);
    }
    return nullptr;
}

QStringList SettingsPanelFactory::identifiers()
{
    QStringList result;
    for (const ActionCatalog::Entry &kind : ActionCatalog::entries()) {
        const QString identifier = QString::fromLatin1(kind.settingsPanel);
        if (!result.contains(identifier))
            result.append(identifier);
    }
    return result;
}
