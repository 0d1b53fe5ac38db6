#include "platform/settingsbackend.h"

#include "platform/korvanesettings.h"

#include <QLocale>

QStringList SettingsBackend::preferredLanguages() const
{
    const QStringList languages = KorvaneSettings::appleLanguages.stored(*this).value_or(QStringList());
    return languages.isEmpty() ? QLocale::system().uiLanguages() : languages;
}
