#include "shell/editor/encaseconvertviewcontroller.h"

EnCaseConvertViewController::EnCaseConvertViewController(QWidget *parent)
    : BaseSettingViewController(parent)
{
    addMenu(qtTrId("caseTarget"), QStringLiteral("handleType"),
            {qtTrId("caseCapitalised"), qtTrId("caseUpper"), qtTrId("caseLower")}, qtTrId("caseTargetTip"));
}
