#include "intake/actionmodel.h"

ActionModel::ActionModel(const QString &title, const QString &imageName, qint64 catalog, int type, const QString &desStr)
    : m_type(type)
    , m_titleStr(title)
    , m_imgName(imageName)
    , m_catalog(catalog)
    , m_desStr(desStr)
{
}

QList<TransferType> ActionModel::writableTypes() const
{
    return {TransferType::String};
}

QVariant ActionModel::valueForType(TransferType type) const
{
    if (type == TransferType::String)
        return m_titleStr;
    return QVariant();
}
