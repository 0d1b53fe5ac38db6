#include "platform/settings.h"

#include "platform/platformlogging.h"

#include <QLoggingCategory>

namespace Korvane {

template<>
std::optional<bool> Setting<bool>::convert(const QVariant &value) const
{
    const QString text = value.toString().trimmed().toLower();
    if (text == QLatin1String("true") || text == QLatin1String("1"))
        return true;
    if (text == QLatin1String("false") || text == QLatin1String("0"))
        return false;
    qCWarning(lcDefaults, "the setting %s is not a boolean; using %s", qUtf8Printable(m_key), m_default ? "true" : "false");
    return std::nullopt;
}

template<>
std::optional<int> Setting<int>::convert(const QVariant &value) const
{
    bool ok = false;
    const int result = value.toInt(&ok);
    if (ok)
        return result;
    qCWarning(lcDefaults, "the setting %s is not a number; using %d", qUtf8Printable(m_key), m_default);
    return std::nullopt;
}

template<>
std::optional<QString> Setting<QString>::convert(const QVariant &value) const
{
    return value.toString();
}

template<>
std::optional<QStringList> Setting<QStringList>::convert(const QVariant &value) const
{
    return value.toStringList();
}

template<>
std::optional<QDateTime> Setting<QDateTime>::convert(const QVariant &value) const
{
    return value.toDateTime();
}

template<>
std::optional<StoredShortcut> Setting<StoredShortcut>::convert(const QVariant &value) const
{
    const QVariantList numbers = value.toList();
    if (numbers.size() != 2)
        return std::nullopt;
    return StoredShortcut(numbers.at(0).toUInt(), numbers.at(1).toUInt());
}

template<>
QVariant Setting<StoredShortcut>::toVariant(const StoredShortcut &value)
{
    return QVariantList{value.first, value.second};
}

std::optional<int> SettingChecks::positive(const int &stored)
{
    return stored > 0 ? std::optional<int>(stored) : std::nullopt;
}

std::optional<QString> SettingChecks::filled(const QString &stored)
{
    const QString text = stored.trimmed();
    return text.isEmpty() ? std::nullopt : std::optional<QString>(text);
}

} // namespace Korvane
