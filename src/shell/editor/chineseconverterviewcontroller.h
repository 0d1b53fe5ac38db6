#pragma once

#include "shell/editor/basesettingviewcontroller.h"

// The Chinese conversion action: the script variant the text is written in.
class ChineseConverterViewController final : public BaseSettingViewController
{
    Q_OBJECT

public:
    explicit ChineseConverterViewController(QWidget *parent = nullptr);
};
