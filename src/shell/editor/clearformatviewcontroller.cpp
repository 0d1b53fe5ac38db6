#include "shell/editor/clearformatviewcontroller.h"

ClearFormatViewController::ClearFormatViewController(QWidget *parent)
    : BaseSettingViewController(parent)
{
}
