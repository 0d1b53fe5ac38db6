#pragma once

#include "shell/editor/basesettingviewcontroller.h"

// The capital amount action: the words around the amount.
class NumberCNConverterViewController final : public BaseSettingViewController
{
    Q_OBJECT

public:
    explicit NumberCNConverterViewController(QWidget *parent = nullptr);
};
