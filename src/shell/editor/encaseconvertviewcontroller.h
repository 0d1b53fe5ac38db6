#pragma once

#include "shell/editor/basesettingviewcontroller.h"

// The letter case action: which case the text is changed to.
class EnCaseConvertViewController final : public BaseSettingViewController
{
    Q_OBJECT

public:
    explicit EnCaseConvertViewController(QWidget *parent = nullptr);
};
