#include "shell/editor/settingspanel.h"

#include "intake/actioncatalog.h"

SettingsPanel::SettingsPanel(QWidget *parent)
    : QWidget(parent)
{
}

QString SettingsPanel::identifierForKind(qint64 catalog, qint64 type)
{
    const ActionCatalog::Entry *kind = ActionCatalog::entry(catalog, type);
    return kind ? QString::fromLatin1(kind->settingsPanel) : QString();
}
