#include "shell/editor/addtophotospanel.h"

AddToPhotosPanel::AddToPhotosPanel(QWidget *parent)
    : FormSettingsPanel(parent)
{
    addCheckBox(qtTrId("photoNeedLaunch"), QStringLiteral("needLaunch"), qtTrId("photoNeedLaunchTip"));
}
