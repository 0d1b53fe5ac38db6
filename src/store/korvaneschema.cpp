#include "korvaneschema.h"

#include <QLoggingCategory>
#include <QRandomGenerator>
#include <QSet>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>

Q_DECLARE_LOGGING_CATEGORY(lcStore)

namespace {

QString quoted(const QString &name)
{
    return QLatin1Char('"') + name + QLatin1Char('"');
}

QString columnType(KorvaneAttributeType type)
{
    switch (type) {
    case KorvaneAttributeType::Float:
    case KorvaneAttributeType::Double:
        return QStringLiteral("REAL");
    case KorvaneAttributeType::String:
        return QStringLiteral("TEXT");
    default:
        return QStringLiteral("INTEGER");
    }
}

QString sqlLiteral(const KorvaneAttributeDescription &attribute)
{
    const QVariant &v = attribute.defaultValue;
    if (v.isNull())
        return QStringLiteral("NULL");
    switch (attribute.type) {
    case KorvaneAttributeType::String: {
        QString text = v.toString();
        text.replace(QLatin1Char('\''), QLatin1String("''"));
        return QLatin1Char('\'') + text + QLatin1Char('\'');
    }
    case KorvaneAttributeType::Boolean:
        return v.toBool() ? QStringLiteral("1") : QStringLiteral("0");
    case KorvaneAttributeType::Float:
    case KorvaneAttributeType::Double:
        return QString::number(v.toDouble(), 'g', 17);
    default:
        return QString::number(v.toLongLong());
    }
}

QString columnDefinition(const KorvaneAttributeDescription &attribute)
{
    return quoted(attribute.name) + QLatin1Char(' ') + columnType(attribute.type) + QLatin1String(" DEFAULT ")
        + sqlLiteral(attribute);
}

QString ownerTable(const KorvaneEntityDescription &entity)
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
    for (const KorvaneEntityDescription &entity : KorvaneSchema::entities()) {
        const QSet<QString> columns = existingColumns(db, entity.name);
        if (columns.isEmpty()) {
            QStringList definitions{QStringLiteral("Z_PK INTEGER PRIMARY KEY AUTOINCREMENT")};
            for (const KorvaneAttributeDescription &attribute : entity.attributes)
                definitions.append(columnDefinition(attribute));
            if (!entity.ownerColumn.isEmpty()) {
                definitions.append(QStringLiteral("%1 INTEGER REFERENCES %2(Z_PK) ON DELETE CASCADE")
                                       .arg(quoted(entity.ownerColumn), quoted(ownerTable(entity))));
            }
            if (!exec(query, QStringLiteral("CREATE TABLE %1 (%2)").arg(quoted(entity.name), definitions.join(QLatin1String(", "))), error))
                return false;
            if (!entity.ownerColumn.isEmpty()
                && !exec(query, QStringLiteral("CREATE INDEX %1 ON %2(%3)")
                                    .arg(quoted(entity.name + QLatin1String("_owner")), quoted(entity.name), quoted(entity.ownerColumn)),
                         error))
                return false;
            continue;
        }
        for (const KorvaneAttributeDescription &attribute : entity.attributes) {
            if (columns.contains(attribute.name))
                continue;
            if (!exec(query, QStringLiteral("ALTER TABLE %1 ADD COLUMN %2").arg(quoted(entity.name), columnDefinition(attribute)), error))
                return false;
        }
    }
    if (fromVersion > 0 && !redrawRepeatedDropIDs(db, error))
        return false;
    return exec(query, QStringLiteral("PRAGMA user_version = %1").arg(KorvaneSchema::CurrentVersion), error);
}

} // namespace

int KorvaneEntityDescription::attributeIndex(const QString &attribute) const
{
    for (int i = 0; i < attributes.size(); ++i) {
        if (attributes.at(i).name == attribute)
            return i;
    }
    return -1;
}

const KorvaneEntityDescription *KorvaneSchema::entity(const QString &name)
{
    for (const KorvaneEntityDescription &e : entities()) {
        if (e.name == name)
            return &e;
    }
    return nullptr;
}

const KorvaneEntityDescription *KorvaneSchema::settingsEntity(qint64 catalog, qint64 type)
{
    for (const KorvaneEntityDescription &e : entities()) {
        if (!e.relationshipName.isEmpty() && e.catalog == catalog && e.type == type)
            return &e;
    }
    return nullptr;
}

bool KorvaneSchema::createOrMigrate(QSqlDatabase &db, QString *error)
{
    QSqlQuery query(db);
    // Reading the version is the first access to the file: one that is not a database fails here.
    if (!query.exec(QStringLiteral("PRAGMA user_version")) || !query.next()) {
        *error = query.lastError().text();
        return false;
    }
    const int version = query.value(0).toInt();
    query.finish();
    if (version > CurrentVersion) {
        *error = QStringLiteral("The store was written by a newer version of Korvane (schema %1, this one knows %2).")
                     .arg(version)
                     .arg(CurrentVersion);
        return false;
    }
    if (version == CurrentVersion)
        return true;

    if (!db.transaction()) {
        *error = db.lastError().text();
        return false;
    }
    if (!migrate(db, version, error)) {
        db.rollback();
        return false;
    }
    if (!db.commit()) {
        *error = db.lastError().text();
        db.rollback();
        return false;
    }
    if (version > 0)
        qCInfo(lcStore, "migrated the store from schema %d to %d", version, CurrentVersion);
    return true;
}

bool KorvaneSchema::convertValue(const KorvaneAttributeDescription &attribute, QVariant *value)
{
    if (value->isNull()) {
        if (attribute.type == KorvaneAttributeType::String)
            return true;
        *value = attribute.defaultValue;
        return true;
    }
    bool ok = true;
    switch (attribute.type) {
    case KorvaneAttributeType::Int16: {
        const qlonglong v = value->toLongLong(&ok);
        ok = ok && v >= -32768 && v <= 32767;
        *value = QVariant::fromValue<qint16>(qint16(v));
        break;
    }
    case KorvaneAttributeType::Int32: {
        const qlonglong v = value->toLongLong(&ok);
        ok = ok && v >= INT32_MIN && v <= INT32_MAX;
        *value = QVariant::fromValue<qint32>(qint32(v));
        break;
    }
    case KorvaneAttributeType::Int64:
        *value = QVariant::fromValue<qint64>(value->toLongLong(&ok));
        break;
    case KorvaneAttributeType::Boolean:
        if (value->typeId() == QMetaType::QString) {
            const QString text = value->toString().toLower();
            ok = text == QLatin1String("1") || text == QLatin1String("0") || text == QLatin1String("true")
                || text == QLatin1String("false");
            *value = text == QLatin1String("1") || text == QLatin1String("true");
        } else {
            *value = value->toBool();
        }
        break;
    case KorvaneAttributeType::Float:
        *value = QVariant::fromValue<float>(value->toFloat(&ok));
        break;
    case KorvaneAttributeType::Double:
        *value = value->toDouble(&ok);
        break;
    case KorvaneAttributeType::String:
        *value = value->toString();
        break;
    }
    return ok;
}
