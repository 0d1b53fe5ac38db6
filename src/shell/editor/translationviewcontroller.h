#pragma once

#include "basesettingviewcontroller.h"

// The translation action: the language the text is translated into.
class TranslationViewController final : public BaseSettingViewController
{
    Q_OBJECT

public:
    explicit TranslationViewController(QWidget *parent = nullptr);
};
