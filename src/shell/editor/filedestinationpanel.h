#pragma once

#include "shell/editor/formsettingspanel.h"

class SavePathField;

// The copy and move actions: the folder the files go to.
class FileDestinationPanel final : public FormSettingsPanel
{
    Q_OBJECT

public:
    explicit FileDestinationPanel(QWidget *parent = nullptr);

    SavePathField *savePathField() const { return m_savePath; }

private:
    SavePathField *m_savePath;
};
