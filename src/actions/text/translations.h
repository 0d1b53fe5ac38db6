#pragma once

#include <QStringList>

// Loads Korvane's texts for the user's language; English stays underneath as the fallback.
class Translations final
{
public:
    static void install(const QStringList &preferredLanguages);
    static bool isChinese(const QStringList &preferredLanguages);
};
