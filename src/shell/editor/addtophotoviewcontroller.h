#pragma once

#include "shell/editor/basesettingviewcontroller.h"

// The photos action: whether the photo library opens after adding.
class AddToPhotoViewController final : public BaseSettingViewController
{
    Q_OBJECT

public:
    explicit AddToPhotoViewController(QWidget *parent = nullptr);
};
