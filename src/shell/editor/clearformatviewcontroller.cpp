#include "clearformatviewcontroller.h"

ClearFormatViewController::ClearFormatViewController(QWidget *parent)
    : BaseSettingViewController(parent)
{
}
