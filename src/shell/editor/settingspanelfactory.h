#pragma once

#include <QString>
#include <QStringList>

class QWidget;
class SettingsPanel;

// Makes the settings panel of an action kind from its identifier
// (SettingsPanel::identifierForKind()).
class SettingsPanelFactory final
{
public:
    SettingsPanelFactory() = delete;

    // A new panel, owned by parent; nullptr for an identifier no kind has.
    static SettingsPanel *create(const QString &identifier, QWidget *parent = nullptr);
    // Every identifier create() knows, in catalog order.
    static QStringList identifiers();
};
