#include "platform/xdg/qsettingsbackend.h"

#include "platform/privatefiles.h"

#include <QFileInfo>
#include <QStandardPaths>

QSettingsBackend::QSettingsBackend()
    : QSettingsBackend(QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation)
                       + QLatin1String("/korvane/korvane.conf"))
{
}

QSettingsBackend::QSettingsBackend(const QString &fileName)
    : m_settings(fileName, QSettings::IniFormat)
{
    // It holds the Weibo cookie. Made private before the first write: a rewrite keeps the
    // mode of the file it replaces.
    QString ignored;
    if (PrivateFiles::makeFolder(QFileInfo(fileName).path(), &ignored))
        PrivateFiles::makeFile(fileName, &ignored);
}

QVariant QSettingsBackend::value(const QString &key, const QVariant &defaultValue) const
{
    m_settings.sync();
    return m_settings.value(key, defaultValue);
}

void QSettingsBackend::setValue(const QString &key, const QVariant &value)
{
    m_settings.setValue(key, value);
    m_settings.sync();
}

void QSettingsBackend::remove(const QString &key)
{
    m_settings.remove(key);
    m_settings.sync();
}
