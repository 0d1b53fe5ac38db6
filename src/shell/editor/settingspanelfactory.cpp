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

namespace {

// Kinds with nothing to set beyond name and shortcut (nearby sharing, text recognition) get
// the common panel; kinds that share a panel identifier share a panel class. Every kind has
// its case: the compiler names one left out.
SettingsPanel *panelFor(ActionKind kind, QWidget *parent)
{
    switch (kind) {
    case ActionKind::Translate:
        return new TranslationPanel(parent);
    case ActionKind::ClearStyle:
        return new ClearFormatPanel(parent);
    case ActionKind::CountCharacters:
        return new CharacterCountPanel(parent);
    case ActionKind::MailText:
    case ActionKind::MailFiles:
        return new RecipientsPanel(true, parent);
    case ActionKind::MessageText:
    case ActionKind::MessageFiles:
        return new RecipientsPanel(false, parent);
    case ActionKind::CustomUrls:
        return new CustomUrlPanel(parent);
    case ActionKind::ChineseScript:
        return new ChineseConversionPanel(parent);
    case ActionKind::CapitalAmount:
        return new ChineseMoneyPanel(parent);
    case ActionKind::LetterCase:
        return new LetterCasePanel(parent);
    case ActionKind::ShareText:
    case ActionKind::RecogniseText:
    case ActionKind::ShareFiles:
        return new FormSettingsPanel(parent);
    case ActionKind::Compress:
        return new CompressImagePanel(parent);
    case ActionKind::Convert:
        return new ImageFormatPanel(parent);
    case ActionKind::Resize:
        return new ResizeImagePanel(parent);
    case ActionKind::RemoveMetadata:
        return new ImageOutputPanel(parent);
    case ActionKind::UploadWeibo:
        return CloudUploadPanel::weibo(parent);
    case ActionKind::AddToPhotos:
        return new AddToPhotosPanel(parent);
    case ActionKind::Move:
    case ActionKind::Copy:
        return new FileDestinationPanel(parent);
    case ActionKind::UploadQiniu:
        return CloudUploadPanel::qiniu(parent);
    case ActionKind::UploadOss:
        return CloudUploadPanel::ali(parent);
    case ActionKind::UploadCos:
        return CloudUploadPanel::tencent(parent);
    case ActionKind::UploadUpyun:
        return CloudUploadPanel::upYun(parent);
    case ActionKind::Rotate:
        return new RotateImagePanel(parent);
    case ActionKind::Rename:
        return new RenamePanel(parent);
    case ActionKind::Count:
        break;
    }
    return nullptr;
}

} // namespace

SettingsPanel *SettingsPanelFactory::create(const QString &identifier, QWidget *parent)
{
    for (const ActionCatalog::Entry &kind : ActionCatalog::entries()) {
        if (identifier == QLatin1String(kind.settingsPanel))
            return panelFor(kind.kind, parent);
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
