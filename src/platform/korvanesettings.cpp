#include "platform/korvanesettings.h"

#include "platform/platformlogging.h"

#include <QLoggingCategory>

template<>
std::optional<bool> KorvaneSetting<bool>::convert(const QVariant &value) const
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
std::optional<int> KorvaneSetting<int>::convert(const QVariant &value) const
{
    bool ok = false;
    const int result = value.toInt(&ok);
    if (ok)
        return result;
    qCWarning(lcDefaults, "the setting %s is not a number; using %d", qUtf8Printable(m_key), m_default);
    return std::nullopt;
}

template<>
std::optional<QString> KorvaneSetting<QString>::convert(const QVariant &value) const
{
    return value.toString();
}

template<>
std::optional<QStringList> KorvaneSetting<QStringList>::convert(const QVariant &value) const
{
    return value.toStringList();
}

template<>
std::optional<QDateTime> KorvaneSetting<QDateTime>::convert(const QVariant &value) const
{
    return value.toDateTime();
}

template<>
std::optional<KorvaneKeyCombination> KorvaneSetting<KorvaneKeyCombination>::convert(const QVariant &value) const
{
    const QVariantList numbers = value.toList();
    if (numbers.size() != 2)
        return std::nullopt;
    return KorvaneKeyCombination(numbers.at(0).toUInt(), numbers.at(1).toUInt());
}

template<>
QVariant KorvaneSetting<KorvaneKeyCombination>::toVariant(const KorvaneKeyCombination &value)
{
    return QVariantList{value.first, value.second};
}

std::optional<int> KorvaneSettingChecks::positive(const int &stored)
{
    return stored > 0 ? std::optional<int>(stored) : std::nullopt;
}

std::optional<QString> KorvaneSettingChecks::filled(const QString &stored)
{
    const QString text = stored.trimmed();
    return text.isEmpty() ? std::nullopt : std::optional<QString>(text);
}
