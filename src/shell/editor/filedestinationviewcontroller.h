#pragma once

#include "shell/editor/basesettingviewcontroller.h"

class SavePathField;

// The copy and move actions: the folder the files go to.
class FileDestinationViewController final : public BaseSettingViewController
{
    Q_OBJECT

public:
    explicit FileDestinationViewController(QWidget *parent = nullptr);

    SavePathField *savePathField() const { return m_savePath; }

private:
    SavePathField *m_savePath;
};
