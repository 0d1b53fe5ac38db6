#pragma once

#include "shell/editor/formsettingspanel.h"

// The clear-style action has nothing to set beyond its name and shortcut.
class ClearFormatPanel final : public FormSettingsPanel
{
    Q_OBJECT

public:
    explicit ClearFormatPanel(QWidget *parent = nullptr);
};
