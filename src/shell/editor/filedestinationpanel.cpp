#include "shell/editor/filedestinationpanel.h"

#include "shell/editor/savepathfield.h"

FileDestinationPanel::FileDestinationPanel(QWidget *parent)
    : FormSettingsPanel(parent)
    , m_savePath(new SavePathField(this))
{
    m_savePath->setToolTip(qtTrId("fileSavePathTip"));
    addRow(qtTrId("fileSavePath"), m_savePath);
    addRefresher([this] { m_savePath->setPath(setting(QStringLiteral("savePath")).toString()); });
    connect(m_savePath, &SavePathField::pathChosen, this,
            [this](const QString &path) { saveSetting(QStringLiteral("savePath"), path); });
}
