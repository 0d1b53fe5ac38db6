#pragma once

#include "shell/editor/formsettingspanel.h"

// The Chinese conversion action: the script variant the text is written in.
class ChineseConversionPanel final : public FormSettingsPanel
{
    Q_OBJECT

public:
    explicit ChineseConversionPanel(QWidget *parent = nullptr);
};
