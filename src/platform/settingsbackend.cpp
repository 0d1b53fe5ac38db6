#include "platform/settingsbackend.h"

#include "platform/settings.h"

#include <QLocale>

QStringList SettingsBackend::preferredLanguages() const
{
    const QStringList languages = Korvane::Settings::appleLanguages.stored(*this).value_or(QStringList());
    return languages.isEmpty() ? QLocale::system().uiLanguages() : languages;
}
