#include "shell/editor/imageoutputpanel.h"

#include "shell/editor/savepathfield.h"

#include <QLineEdit>

ImageOutputPanel::ImageOutputPanel(QWidget *parent)
    : FormSettingsPanel(parent)
{
    addOutputRows();
}

ImageOutputPanel::ImageOutputPanel(OwnRowsFirst, QWidget *parent)
    : FormSettingsPanel(parent)
{
}

void ImageOutputPanel::addOutputRows()
{
    m_savePath = new SavePathField(this);
    m_savePath->setToolTip(qtTrId("imageSavePathTip"));
    addRow(qtTrId("imageSavePath"), m_savePath);
    addRefresher([this] { m_savePath->setPath(setting(QStringLiteral("savePath")).toString()); });
    connect(m_savePath, &SavePathField::pathChosen, this,
            [this](const QString &path) { saveSetting(QStringLiteral("savePath"), path); });

    m_endName = addTextField(qtTrId("imageEndName"), QStringLiteral("endName"), qtTrId("imageEndNameTip"));
    m_endName->setPlaceholderText(qtTrId("imageEndNamePlaceholder"));
}
