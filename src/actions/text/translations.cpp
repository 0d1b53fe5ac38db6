#include "actions/text/translations.h"

#include <QCoreApplication>
#include <QTranslator>

namespace {

void load(const QString &resource)
{
    auto *translator = new QTranslator(QCoreApplication::instance());
    if (translator->load(resource))
        QCoreApplication::installTranslator(translator);
    else
        delete translator;
}

} // namespace

bool Translations::isChinese(const QStringList &preferredLanguages)
{
    return !preferredLanguages.isEmpty() && preferredLanguages.first().startsWith(QLatin1String("zh"));
}

void Translations::install(const QStringList &preferredLanguages)
{
    load(QStringLiteral(":/i18n/korvane_en.qm"));
    // The translator installed last is asked first.
    if (isChinese(preferredLanguages))
        load(QStringLiteral(":/i18n/korvane_zh_CN.qm"));
}
