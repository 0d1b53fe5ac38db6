#include "shell/editor/imageformatpanel.h"

ImageFormatPanel::ImageFormatPanel(QWidget *parent)
    : ImageOutputPanel(OwnRowsFirst{}, parent)
{
    addMenu(qtTrId("formatTarget"), QStringLiteral("coverntType"),
            {QStringLiteral("JPEG"), QStringLiteral("PNG"), QStringLiteral("BMP")}, qtTrId("formatTargetTip"));
    addOutputRows();
}
