#pragma once

#include "shell/editor/basesettingviewcontroller.h"

class SavePathField;

// Image actions that write files: where the output goes and the suffix added to its name.
// Used as it is for metadata removal; the other image panels add their own rows above.
class ImageOutputViewController : public BaseSettingViewController
{
    Q_OBJECT

public:
    explicit ImageOutputViewController(QWidget *parent = nullptr);

    SavePathField *savePathField() const { return m_savePath; }
    QLineEdit *endNameField() const { return m_endName; }

protected:
    // For kinds with rows of their own: they call addOutputRows() after them.
    struct OwnRowsFirst {};
    ImageOutputViewController(OwnRowsFirst, QWidget *parent);
    void addOutputRows();

private:
    SavePathField *m_savePath = nullptr;
    QLineEdit *m_endName = nullptr;
};
