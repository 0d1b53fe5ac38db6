#include "shell/editor/settingspanel.h"

#include "intake/korvaneactioncatalog.h"

SettingsPanel::SettingsPanel(QWidget *parent)
    : QWidget(parent)
{
}

QString SettingsPanel::identifierForKind(qint64 catalog, qint64 type)
{
    const KorvaneActionCatalog::Entry *kind = KorvaneActionCatalog::entry(catalog, type);
    return kind ? QString::fromLatin1(kind->settingsPanel) : QString();
}
