#pragma once

#include <QList>
#include <QString>
#include <QVariant>

#include "intake/transferdata.h"

// One entry of the action catalog as the editor shows and drags it.
class ActionModel final
{
public:
    ActionModel(const QString &title, const QString &imageName, qint64 catalog, int type, const QString &desStr);

    int type() const { return m_type; }
    void setType(int type) { m_type = type; }
    QString titleStr() const { return m_titleStr; }
    void setTitleStr(const QString &title) { m_titleStr = title; }
    QString imgName() const { return m_imgName; }
    void setImgName(const QString &name) { m_imgName = name; }
    qint64 catalog() const { return m_catalog; }
    void setCatalog(qint64 catalog) { m_catalog = catalog; }
    QString desStr() const { return m_desStr; }
    void setDesStr(const QString &desStr) { m_desStr = desStr; }

    // Dragged into the action list, an entry offers its title as plain text and nothing else.
    QList<TransferType> writableTypes() const;
    QVariant valueForType(TransferType type) const;

private:
    int m_type;
    QString m_titleStr;
    QString m_imgName;
    qint64 m_catalog;
    QString m_desStr;
};
