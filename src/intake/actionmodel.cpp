#include "intake/actionmodel.h"

ActionModel::ActionModel(const QString &title, const QString &imageName, qint64 catalog, int type, const QString &desStr)
    : m_type(type)
    , m_titleStr(title)
    , m_imgName(imageName)
    , m_catalog(catalog)
    , m_desStr(desStr)
{
}

QList<KorvanePasteboardType> ActionModel::writableTypesForPasteboard() const
{
    return {KorvanePasteboardType::String};
}

QVariant ActionModel::pasteboardPropertyListForType(KorvanePasteboardType type) const
{
    if (type == KorvanePasteboardType::String)
        return m_titleStr;
    return QVariant();
}
