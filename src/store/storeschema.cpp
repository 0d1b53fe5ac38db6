#include "store/storeschema.h"

#include "intake/actioncatalog.h"
#include "store/storelogging.h"

#include <QLoggingCategory>
#include <QRandomGenerator>
#include <QSet>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>

#include <limits>

namespace {

QString quoted(const QString &name)
{
    return QLatin1Char('"') + name + QLatin1Char('"');
}

QString columnType(AttributeType type)
{
    switch (type) {
    case AttributeType::Float:
    case AttributeType::Double:
        return QStringLiteral("REAL");
    case AttributeType::String:
        return QStringLiteral("TEXT");
    default:
        return QStringLiteral("INTEGER");
    }
}

QString sqlLiteral(const AttributeDescription &attribute)
{
    const QVariant &v = attribute.defaultValue;
    if (v.isNull())
        return QStringLiteral("NULL");
    switch (attribute.type) {
    case AttributeType::String: {
        QString text = v.toString();
        text.replace(QLatin1Char('\''), QLatin1String("''"));
        return QLatin1Char('\'') + text + QLatin1Char('\'');
    }
    case AttributeType::Boolean:
        return v.toBool() ? QStringLiteral("1") : QStringLiteral("0");
    case AttributeType::Float:
    case AttributeType::Double:
        return QString::number(v.toDouble(), 'g', 17);
    default:
        return QString::number(v.toLongLong());
    }
}

QString columnDefinition(const AttributeDescription &attribute)
{
    return quoted(attribute.name) + QLatin1Char(' ') + columnType(attribute.type) + QLatin1String(" DEFAULT ")
        + sqlLiteral(attribute);
}

QString ownerTable(const EntityDescription &entity)
{
    return entity.ownerColumn == QLatin1String("textCustomUrl") ? QStringLiteral("TextCustomUrl")
                                                                : QStringLiteral("DropListEntity");
}

QSet<QString> existingColumns(QSqlDatabase &db, const QString &table)
{
    QSet<QString> columns;
    QSqlQuery query(db);
    if (query.exec(QStringLiteral("PRAGMA table_info(%1)").arg(quoted(table)))) {
        while (query.next())
            columns.insert(query.value(1).toString());
    }
    return columns;
}

bool exec(QSqlQuery &query, const QString &sql, QString *error)
{
    if (query.exec(sql))
        return true;
    *error = query.lastError().text();
    return false;
}

// Stores written before dropIDs were drawn to be unique may hold one value many times
// (the old formula clamped every value to the same number): give the repeats new ones.
bool redrawRepeatedDropIDs(QSqlDatabase &db, QString *error)
{
    QSqlQuery query(db);
    if (!exec(query, QStringLiteral("SELECT Z_PK, dropID FROM DropListEntity ORDER BY Z_PK"), error))
        return false;
    QSet<qint64> seen;
    QList<qint64> repeated;
    while (query.next()) {
        const qint64 id = query.value(1).toLongLong();
        if (seen.contains(id))
            repeated.append(query.value(0).toLongLong());
        seen.insert(id);
    }
    QSqlQuery update(db);
    update.prepare(QStringLiteral("UPDATE DropListEntity SET dropID = ? WHERE Z_PK = ?"));
    for (qint64 pk : repeated) {
        qint64 id;
        do {
            id = QRandomGenerator::global()->bounded(100000000, 2000000000);
        } while (seen.contains(id));
        seen.insert(id);
        update.addBindValue(id);
        update.addBindValue(pk);
        if (!update.exec()) {
            *error = update.lastError().text();
            return false;
        }
    }
    return true;
}

bool migrate(QSqlDatabase &db, int fromVersion, QString *error)
{
    QSqlQuery query(db);
    for (const EntityDescription &entity : StoreSchema::entities()) {
        const QSet<QString> columns = existingColumns(db, entity.name);
        if (columns.isEmpty()) {
            QStringList definitions{QStringLiteral("Z_PK INTEGER PRIMARY KEY AUTOINCREMENT")};
            for (const AttributeDescription &attribute : entity.attributes)
                definitions.append(columnDefinition(attribute));
            if (!entity.ownerColumn.isEmpty()) {
                definitions.append(QStringLiteral("%1 INTEGER REFERENCES %2(Z_PK) ON DELETE CASCADE")
                                       .arg(quoted(entity.ownerColumn), quoted(ownerTable(entity))));
            }
            if (!exec(query, QStringLiteral("CREATE TABLE %1 (%2)").arg(quoted(entity.name), definitions.join(QLatin1String(", "))), error))
                return false;
            if (!entity.ownerColumn.isEmpty()
                && !exec(query, QStringLiteral("CREATE INDEX %1 ON %2(%3)").arg(quoted(entity.name + QLatin1String("_owner")), quoted(entity.name), quoted(entity.ownerColumn)),
                         error))
                return false;
            continue;
        }
        for (const AttributeDescription &attribute : entity.attributes) {
            if (columns.contains(attribute.name))
                continue;
            if (!exec(query, QStringLiteral("ALTER TABLE %1 ADD COLUMN %2").arg(quoted(entity.name), columnDefinition(attribute)), error))
                return false;
        }
    }
    if (fromVersion > 0 && !redrawRepeatedDropIDs(db, error))
        return false;
    return exec(query, QStringLiteral("PRAGMA user_version = %1").arg(StoreSchema::CurrentVersion), error);
}

} // namespace

int EntityDescription::attributeIndex(const QString &attribute) const
{
    for (int i = 0; i < attributes.size(); ++i) {
        if (attributes.at(i).name == attribute)
            return i;
    }
    return -1;
}

const EntityDescription *StoreSchema::entity(const QString &name)
{
    for (const EntityDescription &e : entities()) {
        if (e.name == name)
            return &e;
    }
    return nullptr;
}

const EntityDescription *StoreSchema::settingsRecord(qint64 catalog, qint64 type)
{
    const ActionCatalog::Entry *kind = ActionCatalog::entry(catalog, type);
    return kind ? entity(QLatin1String(kind->settingsRecord)) : nullptr;
}

namespace {

struct Header {
    qint64 applicationId = 0;
    int version = 0;
    int objects = 0;
    bool hasActions = false;
};

bool readHeader(QSqlDatabase &db, Header *header, QString *error, QString *nativeCode)
{
    // One statement, so one snapshot: read apart, another process's creation of the store
    // could land between the mark and the tables. It is also the first access to the
    // file: one that is not a database fails here.
    QSqlQuery query(db);
    if (!query.exec(QStringLiteral("SELECT (SELECT application_id FROM pragma_application_id), (SELECT user_version FROM pragma_user_version), "
                                   "(SELECT count(*) FROM sqlite_master), "
                                   "(SELECT count(*) FROM sqlite_master WHERE type = 'table' AND name = 'DropListEntity')"))
        || !query.next()) {
        *error = query.lastError().text();
        *nativeCode = query.lastError().nativeErrorCode();
        return false;
    }
    header->applicationId = query.value(0).toLongLong();
    header->version = query.value(1).toInt();
    header->objects = query.value(2).toInt();
    header->hasActions = query.value(3).toInt() > 0;
    return true;
}

// Whether the database may be used as a store; error says why not.
bool isOurs(const Header &header, QString *error)
{
    const bool stamped = header.applicationId == StoreSchema::ApplicationId;
    // Stores written before the header carried our mark are known by their table and version.
    const bool unstamped = header.applicationId == 0 && header.hasActions && header.version > 0;
    const bool empty = header.applicationId == 0 && header.objects == 0;
    if (!stamped && !unstamped && !empty) {
        *error = QStringLiteral("the file is a database of another program, not a Korvane store");
        return false;
    }
    if (header.version > StoreSchema::CurrentVersion) {
        *error = QStringLiteral("The store was written by a newer version of Korvane (schema %1, this one knows %2).")
                     .arg(header.version)
                     .arg(StoreSchema::CurrentVersion);
        return false;
    }
    return true;
}

bool upToDate(const Header &header)
{
    return header.applicationId == StoreSchema::ApplicationId && header.version == StoreSchema::CurrentVersion;
}

} // namespace

bool StoreSchema::createOrMigrate(QSqlDatabase &db, QString *error, OpenFailure *failure)
{
    *failure = OpenFailure::Other;
    Header header;
    QString code;
    if (!readHeader(db, &header, error, &code)) {
        // SQLITE_NOTADB and SQLITE_CORRUPT: the bytes are the problem, not the access; and
        // a busy store is no reason to read it without its locks.
        if (code != QLatin1String("26") && code != QLatin1String("11") && code != QLatin1String("5"))
            *failure = OpenFailure::CannotRead;
        return false;
    }
    if (!isOurs(header, error))
        return false;
    if (upToDate(header))
        return true;

    QSqlQuery query(db);
    if (!query.exec(QStringLiteral("BEGIN IMMEDIATE"))) {
        // A store of this version that only lacks the mark is read as it is; it gets the
        // mark when it can be written.
        if (header.version == CurrentVersion)
            return true;
        *error = query.lastError().text();
        return false;
    }
    // Another process may have created or migrated the store while this one waited.
    const bool ok = readHeader(db, &header, error, &code) && isOurs(header, error)
        && (upToDate(header)
            || (migrate(db, header.version, error)
                && exec(query, QStringLiteral("PRAGMA application_id = %1").arg(ApplicationId), error)));
    if (!ok || !exec(query, QStringLiteral("COMMIT"), error)) {
        query.exec(QStringLiteral("ROLLBACK"));
        return false;
    }
    if (header.version > 0 && header.version < CurrentVersion)
        qCInfo(lcStore, "migrated the store from schema %d to %d", header.version, CurrentVersion);
    return true;
}

ValueRange StoreSchema::valueRange(const AttributeDescription &attribute)
{
    // Whole numbers past 2^53 do not survive a JSON export.
    constexpr double exactInJson = double(qint64(1) << 53);
    ValueRange range{0, 0};
    switch (attribute.type) {
    case AttributeType::Int16:
        range = {-32768, 32767};
        break;
    case AttributeType::Int32:
        range = {double(INT32_MIN), double(INT32_MAX)};
        break;
    case AttributeType::Int64:
        range = {-exactInJson, exactInJson};
        break;
    case AttributeType::Float:
        range = {-double(std::numeric_limits<float>::max()), double(std::numeric_limits<float>::max())};
        break;
    case AttributeType::Double:
        range = {-std::numeric_limits<double>::max(), std::numeric_limits<double>::max()};
        break;
    case AttributeType::Boolean:
    case AttributeType::String:
        return range;
    }
    // The rename fields keep their own rules, checked where a pattern is read.
    static const QSet<QString> signedNumbers{QStringLiteral("addPlaceType"), QStringLiteral("customizePlaceType"),
                                             QStringLiteral("customizeStartNumber"), QStringLiteral("customizeType")};
    if (signedNumbers.contains(attribute.name))
        return range;
    // Every other number counts, measures, places or names something: none is negative.
    range.lowest = 0;
    if (attribute.name == QLatin1String("compressionRato"))
        range.highest = 1;
    return range;
}

bool StoreSchema::convertValue(const AttributeDescription &attribute, QVariant *value)
{
    if (value->isNull()) {
        if (attribute.type == AttributeType::String)
            return true;
        *value = attribute.defaultValue;
        return true;
    }
    bool ok = true;
    const ValueRange range = valueRange(attribute);
    switch (attribute.type) {
    case AttributeType::Int16:
    case AttributeType::Int32:
    case AttributeType::Int64: {
        const qlonglong v = value->toLongLong(&ok);
        ok = ok && double(v) >= range.lowest && double(v) <= range.highest;
        if (attribute.type == AttributeType::Int16)
            *value = QVariant::fromValue<qint16>(qint16(v));
        else if (attribute.type == AttributeType::Int32)
            *value = QVariant::fromValue<qint32>(qint32(v));
        else
            *value = QVariant::fromValue<qint64>(v);
        break;
    }
    case AttributeType::Boolean:
        if (value->typeId() == QMetaType::QString) {
            const QString text = value->toString().toLower();
            ok = text == QLatin1String("1") || text == QLatin1String("0") || text == QLatin1String("true")
                || text == QLatin1String("false");
            *value = text == QLatin1String("1") || text == QLatin1String("true");
        } else {
            *value = value->toBool();
        }
        break;
    case AttributeType::Float:
    case AttributeType::Double: {
        // NaN fails both comparisons.
        const double v = value->toDouble(&ok);
        ok = ok && v >= range.lowest && v <= range.highest;
        if (attribute.type == AttributeType::Float)
            *value = QVariant::fromValue<float>(float(v));
        else
            *value = v;
        break;
    }
    case AttributeType::String:
        *value = value->toString();
        break;
    }
    return ok;
}
