#pragma once

#include "shell/editor/formsettingspanel.h"

class SavePathField;

// Image actions that write files: where the output goes and the suffix added to its name.
// Used as it is for metadata removal; the other image panels add their own rows above.
class ImageOutputPanel : public FormSettingsPanel
{
    Q_OBJECT

public:
    explicit ImageOutputPanel(QWidget *parent = nullptr);

    SavePathField *savePathField() const { return m_savePath; }
    QLineEdit *endNameField() const { return m_endName; }

protected:
    // For kinds with rows of their own: they call addOutputRows() after them.
    struct OwnRowsFirst {};
    ImageOutputPanel(OwnRowsFirst, QWidget *parent);
    void addOutputRows();

private:
    SavePathField *m_savePath = nullptr;
    QLineEdit *m_endName = nullptr;
};
