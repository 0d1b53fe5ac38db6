#pragma once

#include <QString>
#include <QVariant>

// The user-defaults store: application settings by key.
class SettingsBackend
{
public:
    virtual ~SettingsBackend() = default;

    virtual QVariant value(const QString &key, const QVariant &defaultValue = QVariant()) const = 0;
    virtual void setValue(const QString &key, const QVariant &value) = 0;
    virtual void remove(const QString &key) = 0;

    // The desktop's preferred UI languages, most preferred first: the stored ones, else the system's.
    QStringList preferredLanguages() const;
};
