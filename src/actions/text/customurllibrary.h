#pragma once

#include <QList>
#include <QString>

// The fixed library of search addresses the custom URL panel offers, each a template with
// "{text}" where the dropped text goes.
class CustomUrlLibrary final
{
public:
    struct Entry {
        // Either shown as it is (a site's own name) or a key of the translated texts.
        QString name;
        bool nameIsKey = false;
        QString url;
    };

    CustomUrlLibrary() = delete;

    static const QList<Entry> &entries();
    static QString displayName(const Entry &entry);
};
