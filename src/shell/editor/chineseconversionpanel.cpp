#include "shell/editor/chineseconversionpanel.h"

ChineseConversionPanel::ChineseConversionPanel(QWidget *parent)
    : FormSettingsPanel(parent)
{
    addMenu(qtTrId("conversionTarget"), QStringLiteral("conversionType"),
            {qtTrId("conversionMainland"), qtTrId("conversionHongKong"), qtTrId("conversionTaiwan")},
            qtTrId("conversionTargetTip"));
}
