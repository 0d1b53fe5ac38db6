#pragma once

#include "shell/editor/formsettingspanel.h"

// The letter case action: which case the text is changed to.
class LetterCasePanel final : public FormSettingsPanel
{
    Q_OBJECT

public:
    explicit LetterCasePanel(QWidget *parent = nullptr);
};
