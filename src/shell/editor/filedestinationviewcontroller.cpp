#include "shell/editor/filedestinationviewcontroller.h"

#include "shell/editor/savepathfield.h"

FileDestinationViewController::FileDestinationViewController(QWidget *parent)
    : BaseSettingViewController(parent)
    , m_savePath(new SavePathField(this))
{
    m_savePath->setToolTip(qtTrId("fileSavePathTip"));
    addRow(qtTrId("fileSavePath"), m_savePath);
    addRefresher([this] { m_savePath->setPath(setting(QStringLiteral("savePath")).toString()); });
    connect(m_savePath, &SavePathField::pathChosen, this,
            [this](const QString &path) { saveSetting(QStringLiteral("savePath"), path); });
}
