#pragma once

#include "shell/editor/basesettingviewcontroller.h"

// The clear-style action has nothing to set beyond its name and shortcut.
class ClearFormatViewController final : public BaseSettingViewController
{
    Q_OBJECT

public:
    explicit ClearFormatViewController(QWidget *parent = nullptr);
};
