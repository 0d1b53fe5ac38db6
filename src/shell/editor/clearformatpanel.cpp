#include "shell/editor/clearformatpanel.h"

ClearFormatPanel::ClearFormatPanel(QWidget *parent)
    : FormSettingsPanel(parent)
{
}
