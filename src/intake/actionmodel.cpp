#include "intake/actionmodel.h"

ActionModel::ActionModel(const QString &title, const QString &imageName, qint64 catalog, int type, const QString &desStr)
    : m_type(type)
    , m_titleStr(title)
    , m_imgName(imageName)
    , m_catalog(catalog)
    , m_desStr(desStr)
{
}

QList<TransferType> ActionModel::writableTypesForPasteboard() const
{
    return {TransferType::String};
}

QVariant ActionModel::pasteboardPropertyListForType(TransferType type) const
{
    if (type == TransferType::String)
        return m_titleStr;
    return QVariant();
}
