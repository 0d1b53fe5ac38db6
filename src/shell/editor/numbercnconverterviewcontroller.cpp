#include "shell/editor/numbercnconverterviewcontroller.h"

NumberCNConverterViewController::NumberCNConverterViewController(QWidget *parent)
    : BaseSettingViewController(parent)
{
    addCheckBox(qtTrId("capitalAutoBegin"), QStringLiteral("autoBegin"), qtTrId("capitalAutoBeginTip"));
    addCheckBox(qtTrId("capitalAutoEnd"), QStringLiteral("autoEnd"), qtTrId("capitalAutoEndTip"));
}
