#pragma once

#include "shell/editor/formsettingspanel.h"

// The capital amount action: the words around the amount.
class ChineseMoneyPanel final : public FormSettingsPanel
{
    Q_OBJECT

public:
    explicit ChineseMoneyPanel(QWidget *parent = nullptr);
};
