#pragma once

#include "shell/editor/formsettingspanel.h"

// The character count action: which counts the result shows.
class CharacterCountPanel final : public FormSettingsPanel
{
    Q_OBJECT

public:
    explicit CharacterCountPanel(QWidget *parent = nullptr);
};
