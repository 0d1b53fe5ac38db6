#pragma once

#include <QString>
#include <QVariant>

// The user-defaults store: application settings by key.
class KorvaneUserDefaults
{
public:
    virtual ~KorvaneUserDefaults() = default;

    virtual QVariant value(const QString &key, const QVariant &defaultValue = QVariant()) const = 0;
    virtual void setValue(const QString &key, const QVariant &value) = 0;
    virtual void remove(const QString &key) = 0;

    // The integer stored under the key; the default when absent or not a number.
    int integerForKey(const QString &key, int defaultValue = 0) const;
    bool boolForKey(const QString &key, bool defaultValue = false) const;
    // The desktop's preferred UI languages, most preferred first ("AppleLanguages").
    QStringList preferredLanguages() const;
};
