#pragma once

#include <QString>

class QWidget;
class SettingsPanel;

// Makes the settings panel of an identifier from SettingsPanel::identifierForKind.
class SettingsPanelFactory final
{
public:
    // Null for an identifier without a panel.
    static SettingsPanel *create(const QString &identifier, QWidget *parent = nullptr);
};
