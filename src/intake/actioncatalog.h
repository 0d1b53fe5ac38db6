#pragma once

#include "intake/actionkind.h"

#include <QString>
#include <QtGlobal>

#include <array>

class DropPayload;

// The one description of every action kind: catalog 0 holds the text actions (types 0 to 9),
// catalog 1 the file and image actions (types 0 to 17). Every other table of kinds is built
// from it or indexed by ActionKind.
class ActionCatalog final
{
public:
    struct Entry {
        ActionKind kind;
        qint64 catalog;
        int type;
        const char *name; // what the command line takes; English, never changes
        const char *titleKey;
        const char *descriptionKey;
        const char *imageName;
        qint64 supportTypes; // the FileKind mask a new record gets; 0 for text actions
        bool takesLoneFolders; // offered when every dropped item is a folder (given the mask allows files)
        const char *settingsRecord;
        const char *settingsPanel;
    };

    static const std::array<Entry, KindCount> &entries();
    static const Entry &of(ActionKind kind) { return entries()[std::size_t(kind)]; }

    static bool isKnown(qint64 catalog, qint64 type);
    // The entry of a known kind; nullptr otherwise.
    static const Entry *entry(qint64 catalog, qint64 type);
    static int typeCount(qint64 catalog);
    // The kind the command line names so ("resize"), with its catalog; nullptr for none.
    static const Entry *entryNamed(const QString &name, qint64 *catalog);

    static QString localizedTitle(qint64 catalog, qint64 type);
    static QString localizedDescription(qint64 catalog, qint64 type);

    // Whether a record of this catalog, with this supportTypes mask, fits the dropped
    // data: an action's own hotkey runs it only then, and tells the user otherwise.
    static bool accepts(const DropPayload &data, qint64 catalog, qint64 supportTypes);
    // Whether the list (in the popover and on the command line) offers it: it fits, and a drop
    // made only of folders offers no kind that cannot take them (the Qiniu upload). A hotkey
    // for such a kind fits but finds no row to run, so nothing happens.
    static bool offers(const DropPayload &data, qint64 catalog, qint64 type, qint64 supportTypes);

private:
    static bool onlyFolders(const DropPayload &data);
};
