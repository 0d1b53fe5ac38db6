#include "intake/actiontypemodel.h"

#include "intake/actiontreenode.h"
#include "intake/actioncatalog.h"

#include <QCoreApplication>

#include <initializer_list>

namespace {

using K = ActionKind;

struct Group {
    const char *key;
    std::initializer_list<ActionKind> kinds;
};

std::unique_ptr<ActionTreeNode> buildTree(std::initializer_list<Group> groups)
{
    auto root = std::make_unique<ActionTreeNode>(QStringLiteral("rootString"));
    for (const Group &group : groups) {
        ActionTreeNode *node = root->appendChild(ActionTypeModel(qtTrId(group.key)));
        for (ActionKind kind : group.kinds) {
            const ActionCatalog::Entry &e = ActionCatalog::of(kind);
            node->appendChild(ActionModel(qtTrId(e.titleKey), QString::fromUtf8(e.imageName), e.catalog, e.type,
                                          qtTrId(e.descriptionKey)));
        }
    }
    return root;
}

} // namespace

ActionTypeModel::ActionTypeModel(const QString &title)
    : m_titleString(title)
{
}

std::unique_ptr<ActionTreeNode> ActionTypeModel::getTextTypeRootTree()
{
    return buildTree({
        {QT_TRID_NOOP("CommonActions"), {K::ShareText, K::Translate, K::LetterCase, K::ClearStyle, K::CountCharacters}},
        {QT_TRID_NOOP("SendTexts"), {K::MailText, K::MessageText}},
        {QT_TRID_NOOP("ProActions"), {K::CustomUrls}},
        {QT_TRID_NOOP("ChineseActions"), {K::ChineseScript, K::CapitalAmount}},
    });
}

std::unique_ptr<ActionTreeNode> ActionTypeModel::getFileTypeRootTree()
{
    return buildTree({
        {QT_TRID_NOOP("CommonActions"), {K::ShareFiles, K::Rename, K::Move, K::Copy}},
        {QT_TRID_NOOP("ImageActions"), {K::Compress, K::Convert, K::Resize, K::Rotate, K::RecogniseText, K::RemoveMetadata, K::AddToPhotos}},
        {QT_TRID_NOOP("SendFiles"), {K::MailFiles, K::MessageFiles, K::UploadWeibo, K::UploadQiniu, K::UploadOss, K::UploadCos, K::UploadUpyun}},
    });
}
