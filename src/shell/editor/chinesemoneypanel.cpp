#include "shell/editor/chinesemoneypanel.h"

ChineseMoneyPanel::ChineseMoneyPanel(QWidget *parent)
    : FormSettingsPanel(parent)
{
    addCheckBox(qtTrId("capitalAutoBegin"), QStringLiteral("autoBegin"), qtTrId("capitalAutoBeginTip"));
    addCheckBox(qtTrId("capitalAutoEnd"), QStringLiteral("autoEnd"), qtTrId("capitalAutoEndTip"));
}
