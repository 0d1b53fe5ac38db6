#include "shell/editor/rotateimagepanel.h"

RotateImagePanel::RotateImagePanel(QWidget *parent)
    : ImageOutputPanel(OwnRowsFirst{}, parent)
{
    addMenu(qtTrId("rotateTarget"), QStringLiteral("rotateType"),
            {qtTrId("rotateClockwise"), qtTrId("rotateCounterClockwise"), qtTrId("rotateHalf"),
             qtTrId("mirrorLeftRight"), qtTrId("mirrorTopBottom")},
            qtTrId("rotateTargetTip"));
    addOutputRows();
}
