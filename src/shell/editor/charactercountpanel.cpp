#include "shell/editor/charactercountpanel.h"

CharacterCountPanel::CharacterCountPanel(QWidget *parent)
    : FormSettingsPanel(parent)
{
    addCheckBox(qtTrId("countTotal"), QStringLiteral("countTotal"), qtTrId("countTotalTip"));
    addCheckBox(qtTrId("countLetter"), QStringLiteral("countLetter"), qtTrId("countLetterTip"));
    addCheckBox(qtTrId("countEnWord"), QStringLiteral("countEnWord"), qtTrId("countEnWordTip"));
}
