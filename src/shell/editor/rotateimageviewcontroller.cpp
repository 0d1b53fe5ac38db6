#include "shell/editor/rotateimageviewcontroller.h"

RotateImageViewController::RotateImageViewController(QWidget *parent)
    : ImageOutputViewController(OwnRowsFirst{}, parent)
{
    addMenu(qtTrId("rotateTarget"), QStringLiteral("rotateType"),
            {qtTrId("rotateClockwise"), qtTrId("rotateCounterClockwise"), qtTrId("rotateHalf"),
             qtTrId("mirrorLeftRight"), qtTrId("mirrorTopBottom")},
            qtTrId("rotateTargetTip"));
    addOutputRows();
}
