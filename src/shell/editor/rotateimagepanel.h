#pragma once

#include "shell/editor/imageoutputpanel.h"

// The rotate action: which turn or mirroring is applied.
class RotateImagePanel final : public ImageOutputPanel
{
    Q_OBJECT

public:
    explicit RotateImagePanel(QWidget *parent = nullptr);
};
