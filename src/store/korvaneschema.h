#pragma once

#include <QList>
#include <QString>
#include <QVariant>

class QSqlDatabase;

enum class KorvaneAttributeType {
    Int16,
    Int32,
    Int64,
    Boolean,
    Float,
    Double,
    String,
};

struct KorvaneAttributeDescription {
    QString name;
    KorvaneAttributeType type;
    QVariant defaultValue;
    int sinceVersion;
    bool secret; // never printed, logged or shown
};

struct KorvaneEntityDescription {
    QString name;
    // The to-one relationship of DropListEntity that holds this settings entity.
    QString relationshipName;
    // The column that links a record to its owner (dropAction, textCustomUrl).
    QString ownerColumn;
    qint64 catalog;
    qint64 type;
    int sinceVersion;
    QList<KorvaneAttributeDescription> attributes;

    int attributeIndex(const QString &attribute) const;
};

// The versioned schema of the action store. Every version only adds entities and
// attributes, so an older store is brought up to date by adding what it lacks.
class KorvaneSchema final
{
public:
    static constexpr int CurrentVersion = 2;

    static const QList<KorvaneEntityDescription> &entities();
    static const KorvaneEntityDescription *entity(const QString &name);
    static const KorvaneEntityDescription *settingsEntity(qint64 catalog, qint64 type);

    // Creates the tables of a new store or adds what an older one lacks, in one transaction.
    // A store from a newer version, or one that is not a store at all, is left untouched.
    static bool createOrMigrate(QSqlDatabase &db, QString *error);
    // Brings a value into the attribute's stored type; false when it does not convert.
    static bool convertValue(const KorvaneAttributeDescription &attribute, QVariant *value);
};
