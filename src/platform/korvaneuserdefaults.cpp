#include "korvaneuserdefaults.h"

#include <QLocale>
#include <QLoggingCategory>

Q_LOGGING_CATEGORY(lcDefaults, "korvane.platform.defaults", QtWarningMsg)

int KorvaneUserDefaults::integerForKey(const QString &key, int defaultValue) const
{
    const QVariant v = value(key);
    if (!v.isValid())
        return defaultValue;
    bool ok = false;
    const int result = v.toInt(&ok);
    if (!ok) {
        qCWarning(lcDefaults, "the setting %s is not a number; using %d", qUtf8Printable(key), defaultValue);
        return defaultValue;
    }
    return result;
}

bool KorvaneUserDefaults::boolForKey(const QString &key, bool defaultValue) const
{
    const QVariant v = value(key);
    if (!v.isValid())
        return defaultValue;
    const QString text = v.toString().trimmed().toLower();
    if (text == QLatin1String("true") || text == QLatin1String("1"))
        return true;
    if (text == QLatin1String("false") || text == QLatin1String("0"))
        return false;
    qCWarning(lcDefaults, "the setting %s is not a boolean; using %s", qUtf8Printable(key), defaultValue ? "true" : "false");
    return defaultValue;
}

QStringList KorvaneUserDefaults::preferredLanguages() const
{
    const QVariant stored = value(QStringLiteral("AppleLanguages"));
    if (stored.isValid()) {
        const QStringList languages = stored.toStringList();
        if (!languages.isEmpty())
            return languages;
    }
    return QLocale::system().uiLanguages();
}
