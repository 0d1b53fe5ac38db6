#include "store/storecontext.h"

#include "store/customurl.h"
#include "store/droplistentity.h"
#include "store/storeschema.h"
#include "store/translatesettings.h"
#include "store/clearstylesettings.h"
#include "store/charactercountsettings.h"
#include "store/mailtextsettings.h"
#include "store/messagetextsettings.h"
#include "store/customurlsettings.h"
#include "store/chinesescriptsettings.h"
#include "store/capitalamountsettings.h"
#include "store/lettercasesettings.h"
#include "store/sharetextsettings.h"
#include "store/compresssettings.h"
#include "store/convertsettings.h"
#include "store/resizesettings.h"
#include "store/recognisetextsettings.h"
#include "store/removemetadatasettings.h"
#include "store/weibouploadsettings.h"
#include "store/addtophotossettings.h"
#include "store/sharefilessettings.h"
#include "store/movesettings.h"
#include "store/copysettings.h"
#include "store/mailfilessettings.h"
#include "store/messagefilessettings.h"
#include "store/qiniuuploadsettings.h"
#include "store/ossuploadsettings.h"
#include "store/cosuploadsettings.h"
#include "store/upyunuploadsettings.h"
#include "store/rotatesettings.h"
#include "store/renamesettings.h"
#include "store/storelogging.h"

#include <QAtomicInt>
#include <QLoggingCategory>
#include <QSqlError>
#include <QSet>
#include <QSqlQuery>
#include <QUrl>

#include <algorithm>
#include <limits>

namespace {

using ObjectPtr = StoreContext::ObjectPtr;

template<class T>
ObjectPtr make(const EntityDescription *entity, StoreContext *context)
{
    return std::make_shared<T>(entity, context);
}

ObjectPtr createObject(const EntityDescription *entity, StoreContext *context)
{
    using Maker = ObjectPtr (*)(const EntityDescription *, StoreContext *);
    static const QHash<QString, Maker> makers = {
        {QStringLiteral("DropListEntity"), &make<DropListEntity>},
        {QStringLiteral("CustomUrl"), &make<CustomUrl>},
        {QStringLiteral("TextTranslate"), &make<TranslateSettings>},
        {QStringLiteral("TextClearStyle"), &make<ClearStyleSettings>},
        {QStringLiteral("TextCharCount"), &make<CharacterCountSettings>},
        {QStringLiteral("TextEmail"), &make<MailTextSettings>},
        {QStringLiteral("TextMsg"), &make<MessageTextSettings>},
        {QStringLiteral("TextCustomUrl"), &make<CustomUrlSettings>},
        {QStringLiteral("TextTraditionalConversion"), &make<ChineseScriptSettings>},
        {QStringLiteral("TextCapitalRMB"), &make<CapitalAmountSettings>},
        {QStringLiteral("TextUpDownString"), &make<LetterCaseSettings>},
        {QStringLiteral("TextAirDrop"), &make<ShareTextSettings>},
        {QStringLiteral("ImageCompression"), &make<CompressSettings>},
        {QStringLiteral("ImageFormat"), &make<ConvertSettings>},
        {QStringLiteral("ImageResize"), &make<ResizeSettings>},
        {QStringLiteral("ImageOCR"), &make<RecogniseTextSettings>},
        {QStringLiteral("ImageClearMsg"), &make<RemoveMetadataSettings>},
        {QStringLiteral("ImageUploadWeiBo"), &make<WeiboUploadSettings>},
        {QStringLiteral("ImageToPhoto"), &make<AddToPhotosSettings>},
        {QStringLiteral("FileAirDrop"), &make<ShareFilesSettings>},
        {QStringLiteral("FileMove"), &make<MoveSettings>},
        {QStringLiteral("FileCopy"), &make<CopySettings>},
        {QStringLiteral("FileEmail"), &make<MailFilesSettings>},
        {QStringLiteral("FileMsg"), &make<MessageFilesSettings>},
        {QStringLiteral("FileUploadQinNiu"), &make<QiniuUploadSettings>},
        {QStringLiteral("FileUploadAli"), &make<OssUploadSettings>},
        {QStringLiteral("FileUploadTencent"), &make<CosUploadSettings>},
        {QStringLiteral("FileUploadUP"), &make<UpyunUploadSettings>},
        {QStringLiteral("ImageRotate"), &make<RotateSettings>},
        {QStringLiteral("FileRename"), &make<RenameSettings>},
    };
    return makers.value(entity->name)(entity, context);
}

QString quoted(const QString &name)
{
    return QLatin1Char('"') + name + QLatin1Char('"');
}

// Settings records are written after the actions they belong to, URLs after their settings.
int writeRank(const EntityDescription &entity)
{
    if (entity.ownerColumn.isEmpty())
        return 0;
    return entity.name == QLatin1String("CustomUrl") ? 2 : 1;
}

} // namespace

StoreContext::StoreContext()
{
    static QAtomicInt counter;
    m_connectionName = QStringLiteral("korvane-store-%1").arg(counter.fetchAndAddRelaxed(1));
}

StoreContext::~StoreContext()
{
    m_insertQueries.clear();
    m_updateQueries.clear();
    m_registered.clear();
    m_inserted.clear();
    m_updated.clear();
    m_deleted.clear();
    if (m_db.isValid()) {
        m_db.close();
        m_db = QSqlDatabase();
        QSqlDatabase::removeDatabase(m_connectionName);
    }
}

bool StoreContext::open(const QString &name, const QString &options, QString *error)
{
    if (m_db.isOpen())
        m_db.close();
    m_db.setDatabaseName(name);
    m_db.setConnectOptions(options);
    if (m_db.open())
        return true;
    *error = m_db.lastError().text();
    return false;
}

bool StoreContext::addStore(const QString &path, QString *error)
{
    m_db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), m_connectionName);
    // A second Korvane (the command line beside the tray) may hold the write lock for a moment.
    const QString busy = QStringLiteral("QSQLITE_BUSY_TIMEOUT=%1").arg(BusyTimeoutMs);
    if (!open(path, busy, error))
        return false;
    StoreSchema::OpenFailure failure = StoreSchema::OpenFailure::Other;
    if (!StoreSchema::createOrMigrate(m_db, error, &failure)) {
        if (failure != StoreSchema::OpenFailure::CannotRead) {
            m_db.close();
            return false;
        }
        // Reading a store in write-ahead-log mode makes its side files: in a read-only
        // folder or on a full disk that fails. Such a store is still read, as an unchanging
        // file, and every write to it fails with this reason.
        const QString reason = *error;
        const QString immutable = QUrl::fromLocalFile(path).toString(QUrl::FullyEncoded) + QLatin1String("?immutable=1");
        if (!open(immutable, busy + QLatin1String(";QSQLITE_OPEN_URI;QSQLITE_OPEN_READONLY"), error)
            || !StoreSchema::createOrMigrate(m_db, error, &failure)) {
            *error = reason;
            m_db.close();
            return false;
        }
        m_writeError = QStringLiteral("the store can be read but not written (%1)").arg(reason);
        qCWarning(lcStore, "%s", qUtf8Printable(m_writeError));
    }
    QSqlQuery pragma(m_db);
    pragma.exec(QStringLiteral("PRAGMA foreign_keys = ON"));
    if (m_writeError.isEmpty()) {
        // A write-ahead log lets the tray read while the command line writes, and makes each
        // save one append instead of a rewritten journal.
        if (!pragma.exec(QStringLiteral("PRAGMA journal_mode = WAL")))
            qCWarning(lcStore, "the store keeps its journal mode: %s", qUtf8Printable(pragma.lastError().text()));
        pragma.exec(QStringLiteral("PRAGMA synchronous = NORMAL"));
    }
    m_hasStore = true;
    return true;
}

ObjectPtr StoreContext::insertNewObject(const QString &entityName)
{
    const EntityDescription *entity = StoreSchema::entity(entityName);
    if (!entity)
        return nullptr;
    ObjectPtr object = createObject(entity, this);
    object->m_changed = true;
    m_inserted.append(object);
    return object;
}

QList<ObjectPtr> StoreContext::load(const EntityDescription *entity, const QString &where,
                                    const QVariantList &binds)
{
    QList<ObjectPtr> result;
    if (!m_hasStore)
        return result;

    QStringList columns{QStringLiteral("Z_PK")};
    for (const AttributeDescription &attribute : entity->attributes)
        columns.append(quoted(attribute.name));
    if (!entity->ownerColumn.isEmpty())
        columns.append(quoted(entity->ownerColumn));

    QString sql = QStringLiteral("SELECT %1 FROM %2").arg(columns.join(QLatin1Char(',')), quoted(entity->name));
    if (!where.isEmpty())
        sql += QLatin1String(" WHERE ") + where;
    sql += QLatin1String(" ORDER BY Z_PK");

    QSqlQuery query(m_db);
    query.setForwardOnly(true);
    query.prepare(sql);
    for (const QVariant &bind : binds)
        query.addBindValue(bind);
    if (!query.exec()) {
        qCWarning(lcStore, "fetch of %s failed: %s", qUtf8Printable(entity->name), qUtf8Printable(query.lastError().text()));
        return result;
    }

    QHash<qint64, ObjectPtr> &registered = m_registered[entity];
    const int attributeCount = entity->attributes.size();
    while (query.next()) {
        const qint64 id = query.value(0).toLongLong();
        ObjectPtr &slot = registered[id];
        if (!slot) {
            slot = createObject(entity, this);
            slot->m_objectID = id;
        }
        // Another process may have changed the row since it was last read.
        for (int i = 0; i < attributeCount; ++i) {
            if (slot->m_dirty & (quint64(1) << i))
                continue;
            QVariant v = query.value(i + 1);
            if (!StoreSchema::convertValue(entity->attributes.at(i), &v))
                v = entity->attributes.at(i).defaultValue;
            slot->m_values[i] = v;
        }
        if (!entity->ownerColumn.isEmpty() && !slot->m_ownerDirty) {
            slot->m_ownerID = query.value(attributeCount + 1).toLongLong();
            slot->m_owner.reset();
        }
        if (!slot->isDeleted())
            result.append(slot);
    }
    return result;
}

qint64 StoreContext::dataVersion()
{
    QSqlQuery query(m_db);
    if (!query.exec(QStringLiteral("PRAGMA data_version")) || !query.next())
        return -1;
    return query.value(0).toLongLong();
}

QList<ObjectPtr> StoreContext::loadAll(const EntityDescription *entity)
{
    const qint64 version = dataVersion();
    auto known = m_fullyLoaded.constFind(entity);
    if (version >= 0 && known != m_fullyLoaded.constEnd() && *known == version) {
        QList<ObjectPtr> result;
        const QHash<qint64, ObjectPtr> &registered = m_registered[entity];
        result.reserve(registered.size());
        for (const ObjectPtr &object : registered) {
            if (!object->isDeleted())
                result.append(object);
        }
        std::sort(result.begin(), result.end(), [](const ObjectPtr &a, const ObjectPtr &b) { return a->m_objectID < b->m_objectID; });
        return result;
    }

    const QList<ObjectPtr> result = load(entity, QString(), {});
    // Rows another connection deleted are gone; objects changed here stay until saved.
    QSet<qint64> present;
    for (const ObjectPtr &object : result)
        present.insert(object->m_objectID);
    QHash<qint64, ObjectPtr> &registered = m_registered[entity];
    for (auto it = registered.begin(); it != registered.end();) {
        if (!present.contains(it.key()) && !it.value()->m_changed && !it.value()->isDeleted())
            it = registered.erase(it);
        else
            ++it;
    }
    if (version >= 0)
        m_fullyLoaded.insert(entity, version);
    return result;
}

QList<ObjectPtr> StoreContext::fetch(const QString &entityName, const Filter &filter)
{
    QList<ObjectPtr> result;
    const EntityDescription *entity = StoreSchema::entity(entityName);
    if (!entity || !m_hasStore)
        return result;
    const QList<ObjectPtr> stored = loadAll(entity);
    result.reserve(stored.size());
    for (const ObjectPtr &object : stored) {
        if (!filter || filter(*object))
            result.append(object);
    }
    for (const ObjectPtr &object : std::as_const(m_inserted)) {
        if (&object->entity() == entity && !object->isDeleted() && (!filter || filter(*object)))
            result.append(object);
    }
    return result;
}

QList<ObjectPtr> StoreContext::fetchOwnedBy(const QString &entityName, const StoredRecord &owner)
{
    QList<ObjectPtr> result;
    const EntityDescription *entity = StoreSchema::entity(entityName);
    if (!entity || entity->ownerColumn.isEmpty() || !m_hasStore)
        return result;
    if (owner.objectID() != 0)
        load(entity, quoted(entity->ownerColumn) + QLatin1String(" = ?"), {owner.objectID()});

    // The owner may have changed in memory since the last save: decide by what the objects say now.
    auto consider = [&](const ObjectPtr &object) {
        if (object->isDeleted())
            return;
        const ObjectPtr live = object->m_owner.lock();
        const bool owned = live ? live.get() == &owner : object->m_ownerID != 0 && object->m_ownerID == owner.objectID();
        if (owned)
            result.append(object);
    };
    for (const ObjectPtr &object : m_registered.value(entity))
        consider(object);
    for (const ObjectPtr &object : std::as_const(m_inserted)) {
        if (&object->entity() == entity)
            consider(object);
    }
    std::sort(result.begin(), result.end(), [](const ObjectPtr &a, const ObjectPtr &b) {
        const qint64 x = a->objectID() ? a->objectID() : std::numeric_limits<qint64>::max();
        const qint64 y = b->objectID() ? b->objectID() : std::numeric_limits<qint64>::max();
        return x < y;
    });
    return result;
}

bool StoreContext::containsValue(const QString &entityName, const QString &attribute, const QVariant &value)
{
    const EntityDescription *entity = StoreSchema::entity(entityName);
    if (!entity)
        return false;
    for (const ObjectPtr &object : std::as_const(m_inserted)) {
        if (&object->entity() == entity && object->value(attribute) == value)
            return true;
    }
    for (const ObjectPtr &object : m_registered.value(entity)) {
        if (object->m_changed && object->value(attribute) == value)
            return true;
    }
    if (!m_hasStore)
        return false;
    QSqlQuery query(m_db);
    query.prepare(QStringLiteral("SELECT 1 FROM %1 WHERE %2 = ? LIMIT 1").arg(quoted(entityName), quoted(attribute)));
    query.addBindValue(value);
    return query.exec() && query.next();
}

void StoreContext::markDeleted(const ObjectPtr &object)
{
    if (!object || object->m_deleted)
        return;
    object->m_deleted = true;
    if (object->m_objectID != 0)
        m_deleted.append(object);
    else
        m_inserted.removeAll(object);

    // Deleting a record takes what belongs to it along: an action its settings record,
    // a custom-URL settings record its URLs.
    // Row numbers repeat across tables: only an owner of the right table is asked, or a
    // URL or another kind's settings would take along URLs whose owner has its number.
    const bool isAction = object->entity().name == QLatin1String("DropListEntity");
    const bool ownsUrls = object->entity().name == QLatin1String("TextCustomUrl");
    for (const EntityDescription &entity : StoreSchema::entities()) {
        if (entity.ownerColumn.isEmpty())
            continue;
        const bool isUrl = entity.name == QLatin1String("CustomUrl");
        if (isUrl ? !ownsUrls : !isAction)
            continue;
        const QList<ObjectPtr> owned = fetchOwnedBy(entity.name, *object);
        for (const ObjectPtr &child : owned)
            markDeleted(child);
    }
}

void StoreContext::deleteObject(const ObjectPtr &object)
{
    markDeleted(object);
}

bool StoreContext::hasChanges() const
{
    return !m_inserted.isEmpty() || !m_updated.isEmpty() || !m_deleted.isEmpty();
}

void StoreContext::objectDidChange(const ObjectPtr &object)
{
    if (object->m_objectID != 0 && !m_updated.contains(object))
        m_updated.append(object);
}

bool StoreContext::writeObject(const ObjectPtr &object, QString *error)
{
    const EntityDescription &entity = object->entity();
    const bool inserting = object->m_objectID == 0;
    const bool withOwner = !entity.ownerColumn.isEmpty() && (inserting || object->m_ownerDirty);
    QStringList columns;
    QVariantList values;
    for (int i = 0; i < entity.attributes.size(); ++i) {
        if (inserting || (object->m_dirty & (quint64(1) << i))) {
            columns.append(quoted(entity.attributes.at(i).name));
            values.append(object->m_values.at(i));
        }
    }
    if (withOwner) {
        columns.append(quoted(entity.ownerColumn));
        const ObjectPtr owner = object->m_owner.lock();
        const qint64 ownerID = owner ? owner->objectID() : object->m_ownerID;
        values.append(ownerID != 0 ? QVariant(ownerID) : QVariant(QMetaType::fromType<qint64>()));
    }
    if (columns.isEmpty())
        return true;

    // Saving a reordered list writes hundreds of rows: prepare each statement once.
    QSqlQuery *query;
    if (inserting) {
        auto cached = m_insertQueries.find(&entity);
        if (cached == m_insertQueries.end()) {
            QStringList marks;
            for (int i = 0; i < columns.size(); ++i)
                marks.append(QStringLiteral("?"));
            QSqlQuery prepared(m_db);
            if (!prepared.prepare(QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)")
                                      .arg(quoted(entity.name), columns.join(QLatin1Char(',')), marks.join(QLatin1Char(','))))) {
                *error = prepared.lastError().text();
                return false;
            }
            cached = m_insertQueries.insert(&entity, prepared);
        }
        query = &*cached;
    } else {
        const QString sql = QStringLiteral("UPDATE %1 SET %2 = ? WHERE Z_PK = ?")
                                .arg(quoted(entity.name), columns.join(QLatin1String(" = ?,")));
        auto cached = m_updateQueries.find(sql);
        if (cached == m_updateQueries.end()) {
            QSqlQuery prepared(m_db);
            if (!prepared.prepare(sql)) {
                *error = prepared.lastError().text();
                return false;
            }
            cached = m_updateQueries.insert(sql, prepared);
        }
        query = &*cached;
        values.append(object->m_objectID);
    }
    for (const QVariant &v : std::as_const(values))
        query->addBindValue(v);
    if (!query->exec()) {
        *error = query->lastError().text();
        query->finish();
        return false;
    }
    if (inserting)
        object->m_objectID = query->lastInsertId().toLongLong();
    query->finish();
    return true;
}

bool StoreContext::writePending(QList<ObjectPtr> *written, QString *error)
{
    QList<ObjectPtr> inserted = m_inserted;
    std::stable_sort(inserted.begin(), inserted.end(), [](const ObjectPtr &a, const ObjectPtr &b) {
        return writeRank(a->entity()) < writeRank(b->entity());
    });
    for (const ObjectPtr &object : std::as_const(inserted)) {
        if (!writeObject(object, error))
            return false;
        written->append(object);
    }
    for (const ObjectPtr &object : std::as_const(m_updated)) {
        if (!object->m_deleted && !writeObject(object, error))
            return false;
    }
    for (const ObjectPtr &object : std::as_const(m_deleted)) {
        QSqlQuery query(m_db);
        query.prepare(QStringLiteral("DELETE FROM %1 WHERE Z_PK = ?").arg(quoted(object->entity().name)));
        query.addBindValue(object->m_objectID);
        if (!query.exec()) {
            *error = query.lastError().text();
            return false;
        }
    }
    return true;
}

void StoreContext::didSave(const QList<ObjectPtr> &inserted)
{
    for (const ObjectPtr &object : inserted)
        m_registered[&object->entity()].insert(object->m_objectID, object);
    for (const QList<ObjectPtr> *list : {&inserted, &std::as_const(m_updated)}) {
        for (const ObjectPtr &object : *list) {
            object->m_changed = false;
            object->m_dirty = 0;
            object->m_ownerDirty = false;
            if (const ObjectPtr owner = object->m_owner.lock())
                object->m_ownerID = owner->m_objectID;
        }
    }
    for (const ObjectPtr &object : std::as_const(m_deleted))
        m_registered[&object->entity()].remove(object->m_objectID);
    m_inserted.clear();
    m_updated.clear();
    m_deleted.clear();
}

bool StoreContext::save(QString *error)
{
    if (m_inTransaction || !hasChanges())
        return true;
    return perform({}, error);
}

bool StoreContext::perform(const std::function<bool(QString *)> &change, QString *error)
{
    QString failure;
    if (m_inTransaction) {
        if (change && !change(&failure)) {
            if (error)
                *error = failure;
            return false;
        }
        return true;
    }
    if (!change && !hasChanges())
        return true;
    if (!m_hasStore || !m_writeError.isEmpty()) {
        if (error)
            *error = m_hasStore ? m_writeError : QStringLiteral("the store is not open");
        return false;
    }

    QSqlQuery begin(m_db);
    // Immediate: the write lock is taken before anything is read, so what the change
    // reads cannot be changed by another process before it is written.
    if (!begin.exec(QStringLiteral("BEGIN IMMEDIATE"))) {
        failure = begin.lastError().text();
        if (error)
            *error = failure;
        qCWarning(lcStore, "writing the store failed: %s", qUtf8Printable(failure));
        return false;
    }
    m_inTransaction = true;
    const bool changed = !change || change(&failure);
    bool ok = changed;
    QList<ObjectPtr> written;
    if (ok)
        ok = writePending(&written, &failure);
    QSqlQuery end(m_db);
    if (ok && !end.exec(QStringLiteral("COMMIT"))) {
        ok = false;
        failure = end.lastError().text();
    }
    m_inTransaction = false;
    if (!ok) {
        end.exec(QStringLiteral("ROLLBACK"));
        // The rows were never written: the objects stay pending for the next save.
        for (const ObjectPtr &object : std::as_const(written))
            object->m_objectID = 0;
        if (error)
            *error = failure;
        // A change that gave up is its caller's to report.
        if (changed)
            qCWarning(lcStore, "writing the store failed: %s", qUtf8Printable(failure));
        return false;
    }
    didSave(written);
    return true;
}
