#include "shell/editor/addtophotoviewcontroller.h"

AddToPhotoViewController::AddToPhotoViewController(QWidget *parent)
    : BaseSettingViewController(parent)
{
    addCheckBox(qtTrId("photoNeedLaunch"), QStringLiteral("needLaunch"), qtTrId("photoNeedLaunchTip"));
}
