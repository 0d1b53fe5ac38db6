#pragma once

#include "shell/editor/imageoutputpanel.h"

// The conversion action: the format images are converted to.
class ImageFormatPanel final : public ImageOutputPanel
{
    Q_OBJECT

public:
    explicit ImageFormatPanel(QWidget *parent = nullptr);
};
