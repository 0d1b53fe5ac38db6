#pragma once

#include "shell/editor/imageoutputviewcontroller.h"

// The conversion action: the format images are converted to.
class ImageFormatViewController final : public ImageOutputViewController
{
    Q_OBJECT

public:
    explicit ImageFormatViewController(QWidget *parent = nullptr);
};
