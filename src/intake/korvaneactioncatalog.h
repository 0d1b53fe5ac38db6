#pragma once

#include <QString>
#include <QtGlobal>

// The fixed vocabulary of action kinds: catalog 0 holds the text actions (types 0 to 9),
// catalog 1 the file and image actions (types 0 to 17).
class KorvaneActionCatalog final
{
public:
    struct Entry {
        int type;
        const char *name;
        const char *titleKey;
        const char *descriptionKey;
        const char *imageName;
        qint64 supportTypes; // 0 for text actions
    };

    static bool isKnown(qint64 catalog, qint64 type);
    // The entry of a known kind; nullptr otherwise.
    static const Entry *entry(qint64 catalog, qint64 type);
    static int typeCount(qint64 catalog);
    // The kind the command line names so ("resize"), with its catalog; nullptr for none.
    static const Entry *entryNamed(const QString &name, qint64 *catalog);

    static QString localizedTitle(qint64 catalog, qint64 type);
    static QString localizedDescription(qint64 catalog, qint64 type);
};
