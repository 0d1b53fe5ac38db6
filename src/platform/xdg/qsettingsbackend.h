#pragma once

#include "platform/settingsbackend.h"

#include <QSettings>

// User defaults kept in korvane.conf under the user's XDG config folder.
class QSettingsBackend final : public SettingsBackend
{
public:
    QSettingsBackend();
    explicit QSettingsBackend(const QString &fileName);

    QVariant value(const QString &key, const QVariant &defaultValue = QVariant()) const override;
    void setValue(const QString &key, const QVariant &value) override;
    void remove(const QString &key) override;

    QString fileName() const { return m_settings.fileName(); }

private:
    mutable QSettings m_settings;
};
