#pragma once

#include <QHash>
#include <QList>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QString>

#include <functional>
#include <memory>

struct EntityDescription;
class StoredRecord;

// The one object context of the action store: it hands out one object per stored record,
// keeps the changes callers make to them and writes them all in one transaction on save.
// In-memory values win: fetching again never overwrites a field a caller has changed, and
// brings every other field up to what the store holds now. A save writes only the fields
// changed here. Bound to the thread that created it.
class StoreContext final
{
public:
    using ObjectPtr = std::shared_ptr<StoredRecord>;
    using Filter = std::function<bool(const StoredRecord &)>;

    StoreContext();
    ~StoreContext();
    StoreContext(const StoreContext &) = delete;
    StoreContext &operator=(const StoreContext &) = delete;

    // How long a write waits for another process's write to finish.
    static constexpr int BusyTimeoutMs = 5000;

    // Opens (creating or migrating) the store file. On failure the context stays without
    // a store: fetches give nothing and saves fail. A store that can be read but not
    // written opens read-only: fetches work and every save fails.
    bool addStore(const QString &path, QString *error);
    bool hasStore() const { return m_hasStore; }
    bool isReadOnly() const { return !m_writeError.isEmpty(); }

    ObjectPtr insertNewObject(const QString &entityName);
    template<class T>
    std::shared_ptr<T> insertNewObject()
    {
        return std::static_pointer_cast<T>(insertNewObject(T::entityName()));
    }

    // Every record of the entity that passes the filter, in store order.
    QList<ObjectPtr> fetch(const QString &entityName, const Filter &filter = {});
    // The records of an entity that belong to the owner (settings of an action, URLs of
    // a custom-URL settings record).
    QList<ObjectPtr> fetchOwnedBy(const QString &entityName, const StoredRecord &owner);
    // True when a stored or pending record of the entity has this value.
    bool containsValue(const QString &entityName, const QString &attribute, const QVariant &value);

    // Marks the object, and every record that belongs to it, for deletion at the next save.
    void deleteObject(const ObjectPtr &object);
    bool hasChanges() const;
    // Writes every pending change in one transaction; on failure the store is as it was and
    // the changes stay pending. Inside perform, the write waits for perform's end.
    bool save(QString *error = nullptr);
    // Runs a read-modify-write under the store's write lock (BEGIN IMMEDIATE): what change
    // fetches is the store as it is now, no other process writes until the changes it
    // makes are saved with the transaction. change returning false rolls everything back.
    bool perform(const std::function<bool(QString *error)> &change, QString *error);

    void objectDidChange(const ObjectPtr &object);

private:
    QList<ObjectPtr> load(const EntityDescription *entity, const QString &where, const QVariantList &binds);
    QList<ObjectPtr> loadAll(const EntityDescription *entity);
    qint64 dataVersion();
    void markDeleted(const ObjectPtr &object);
    bool writeObject(const ObjectPtr &object, QString *error);
    bool writePending(QList<ObjectPtr> *written, QString *error);
    void didSave(const QList<ObjectPtr> &inserted);
    bool open(const QString &name, const QString &options, QString *error);

    QSqlDatabase m_db;
    QString m_connectionName;
    bool m_hasStore = false;
    bool m_inTransaction = false;
    // Why the store cannot be written; empty while it can.
    QString m_writeError;
    QHash<const EntityDescription *, QSqlQuery> m_insertQueries;
    // Keyed by the statement: an update names only the changed columns.
    QHash<QString, QSqlQuery> m_updateQueries;
    QHash<const EntityDescription *, QHash<qint64, ObjectPtr>> m_registered;
    // The store's data version when each entity was last read whole; while no other
    // connection commits, the registered objects are the whole table.
    QHash<const EntityDescription *, qint64> m_fullyLoaded;
    QList<ObjectPtr> m_inserted;
    QList<ObjectPtr> m_updated;
    QList<ObjectPtr> m_deleted;
};
