#include "shell/editor/charstatisticviewcontroller.h"

CharStatisticViewController::CharStatisticViewController(QWidget *parent)
    : BaseSettingViewController(parent)
{
    addCheckBox(qtTrId("countTotal"), QStringLiteral("countTotal"), qtTrId("countTotalTip"));
    addCheckBox(qtTrId("countLetter"), QStringLiteral("countLetter"), qtTrId("countLetterTip"));
    addCheckBox(qtTrId("countEnWord"), QStringLiteral("countEnWord"), qtTrId("countEnWordTip"));
}
