#pragma once

#include <QList>
#include <QString>
#include <QVariant>

class QSqlDatabase;

enum class AttributeType {
    Int16,
    Int32,
    Int64,
    Boolean,
    Float,
    Double,
    String,
};

// The store's entity and column names, and the export keys made from them, are kept as spelled
// ("compressionRato", "coverntType", "relpaceSearchString", ...), misspellings included: they
// are on disk in every user's store and export files. Code reads them through the C++ names
// that tools/generate-entities.py maps them to.
struct AttributeDescription {
    QString name;
    AttributeType type;
    QVariant defaultValue;
    int sinceVersion;
    bool secret; // never printed, logged or shown
};

struct EntityDescription {
    QString name;
    // The to-one relationship of DropListEntity that holds this settings entity.
    QString relationshipName;
    // The column that links a record to its owner (dropAction, textCustomUrl).
    QString ownerColumn;
    int sinceVersion;
    QList<AttributeDescription> attributes;

    int attributeIndex(const QString &attribute) const;
};

// The numbers a numeric attribute may hold: its stored type's range, narrowed where the
// attribute counts or measures something.
struct ValueRange {
    double lowest;
    double highest;
};

// The versioned schema of the action store. Every version only adds entities and
// attributes, so an older store is brought up to date by adding what it lacks.
class StoreSchema final
{
public:
    static constexpr int CurrentVersion = 2;
    // "KVCD" in the store's header: a database without it is not taken for a store.
    static constexpr int ApplicationId = 0x4B564344;

    enum class OpenFailure {
        Other,
        // The file could not even be read in the mode the store is written in.
        CannotRead,
    };

    static const QList<EntityDescription> &entities();
    static const EntityDescription *entity(const QString &name);
    static const EntityDescription *settingsRecord(qint64 catalog, qint64 type);

    // Creates the tables of a new store or adds what an older one lacks, in one transaction
    // that holds the write lock, so a second process starting at once waits and then finds
    // the work done. A store already up to date is only read. A store from a newer version,
    // a database of another program and a file that is no database are left untouched.
    static bool createOrMigrate(QSqlDatabase &db, QString *error, OpenFailure *failure);
    // Brings a value into the attribute's stored type; false when it does not convert or
    // lies outside valueRange.
    static bool convertValue(const AttributeDescription &attribute, QVariant *value);
    static ValueRange valueRange(const AttributeDescription &attribute);
};
