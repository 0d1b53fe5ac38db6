#pragma once

#include "shell/editor/imageoutputviewcontroller.h"

// The rotate action: which turn or mirroring is applied.
class RotateImageViewController final : public ImageOutputViewController
{
    Q_OBJECT

public:
    explicit RotateImageViewController(QWidget *parent = nullptr);
};
