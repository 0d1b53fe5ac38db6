#pragma once

#include "shell/editor/basesettingviewcontroller.h"

// The character count action: which counts the result shows.
class CharStatisticViewController final : public BaseSettingViewController
{
    Q_OBJECT

public:
    explicit CharStatisticViewController(QWidget *parent = nullptr);
};
