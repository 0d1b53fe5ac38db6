#include "actiontypemodel.h"

#include "actiontreenode.h"
#include "korvaneactioncatalog.h"

#include <QCoreApplication>

#include <initializer_list>

namespace {

struct Group {
    const char *key;
    std::initializer_list<int> types;
};

std::unique_ptr<ActionTreeNode> buildTree(qint64 catalog, std::initializer_list<Group> groups)
{
    auto root = std::make_unique<ActionTreeNode>(QStringLiteral("rootString"));
    for (const Group &group : groups) {
        ActionTreeNode *node = root->appendChild(ActionTypeModel(qtTrId(group.key)));
        for (int type : group.types) {
            const KorvaneActionCatalog::Entry *e = KorvaneActionCatalog::entry(catalog, type);
            node->appendChild(ActionModel(qtTrId(e->titleKey), QString::fromUtf8(e->imageName), catalog, type,
                                          qtTrId(e->descriptionKey)));
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
    return buildTree(0, {
        {QT_TRID_NOOP("CommonActions"), {9, 0, 8, 1, 2}},
        {QT_TRID_NOOP("SendTexts"), {3, 4}},
        {QT_TRID_NOOP("ProActions"), {5}},
        {QT_TRID_NOOP("ChineseActions"), {6, 7}},
    });
}

std::unique_ptr<ActionTreeNode> ActionTypeModel::getFileTypeRootTree()
{
    return buildTree(1, {
        {QT_TRID_NOOP("CommonActions"), {7, 17, 8, 9}},
        {QT_TRID_NOOP("ImageActions"), {0, 1, 2, 16, 3, 4, 6}},
        {QT_TRID_NOOP("SendFiles"), {10, 11, 5, 12, 13, 14, 15}},
    });
}
