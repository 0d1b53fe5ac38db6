#include "shell/editor/chineseconverterviewcontroller.h"

ChineseConverterViewController::ChineseConverterViewController(QWidget *parent)
    : BaseSettingViewController(parent)
{
    addMenu(qtTrId("conversionTarget"), QStringLiteral("conversionType"),
            {qtTrId("conversionMainland"), qtTrId("conversionHongKong"), qtTrId("conversionTaiwan")},
            qtTrId("conversionTargetTip"));
}
