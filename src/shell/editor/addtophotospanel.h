#pragma once

#include "shell/editor/formsettingspanel.h"

// The photos action: whether the photo library opens after adding.
class AddToPhotosPanel final : public FormSettingsPanel
{
    Q_OBJECT

public:
    explicit AddToPhotosPanel(QWidget *parent = nullptr);
};
