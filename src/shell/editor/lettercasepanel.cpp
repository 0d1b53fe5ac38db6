#include "shell/editor/lettercasepanel.h"

LetterCasePanel::LetterCasePanel(QWidget *parent)
    : FormSettingsPanel(parent)
{
    addMenu(qtTrId("caseTarget"), QStringLiteral("handleType"),
            {qtTrId("caseCapitalised"), qtTrId("caseUpper"), qtTrId("caseLower")}, qtTrId("caseTargetTip"));
}
