#include "shell/editor/imageformatviewcontroller.h"

ImageFormatViewController::ImageFormatViewController(QWidget *parent)
    : ImageOutputViewController(OwnRowsFirst{}, parent)
{
    addMenu(qtTrId("formatTarget"), QStringLiteral("coverntType"),
            {QStringLiteral("JPEG"), QStringLiteral("PNG"), QStringLiteral("BMP")}, qtTrId("formatTargetTip"));
    addOutputRows();
}
