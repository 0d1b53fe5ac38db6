#pragma once

#include <QHash>
#include <QList>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QString>

#include <functional>
#include <memory>

struct KorvaneEntityDescription;
class KorvaneManagedObject;

// The one object context of the action store: it hands out one object per stored record,
// keeps the changes callers make to them and writes them all in one transaction on save.
// In-memory values win: fetching again never overwrites a field a caller has changed.
// Bound to the thread that created it.
class KorvaneManagedObjectContext final
{
public:
    using ObjectPtr = std::shared_ptr<KorvaneManagedObject>;
    using Filter = std::function<bool(const KorvaneManagedObject &)>;

    KorvaneManagedObjectContext();
    ~KorvaneManagedObjectContext();
    KorvaneManagedObjectContext(const KorvaneManagedObjectContext &) = delete;
    KorvaneManagedObjectContext &operator=(const KorvaneManagedObjectContext &) = delete;

    // Opens (creating or migrating) the store file. On failure the context stays without
    // a store: fetches give nothing and saves fail.
    bool addStore(const QString &path, QString *error);
    bool hasStore() const { return m_hasStore; }

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
    QList<ObjectPtr> fetchOwnedBy(const QString &entityName, const KorvaneManagedObject &owner);
    // True when a stored or pending record of the entity has this value.
    bool containsValue(const QString &entityName, const QString &attribute, const QVariant &value);

    // Marks the object, and every record that belongs to it, for deletion at the next save.
    void deleteObject(const ObjectPtr &object);
    bool hasChanges() const;
    bool save(QString *error = nullptr);

    void objectDidChange(const ObjectPtr &object);

private:
    QList<ObjectPtr> load(const KorvaneEntityDescription *entity, const QString &where, const QVariantList &binds);
    QList<ObjectPtr> loadAll(const KorvaneEntityDescription *entity);
    qint64 dataVersion();
    void markDeleted(const ObjectPtr &object);
    bool writeObject(const ObjectPtr &object, QString *error);

    QSqlDatabase m_db;
    QString m_connectionName;
    bool m_hasStore = false;
    QHash<const KorvaneEntityDescription *, QSqlQuery> m_insertQueries;
    QHash<const KorvaneEntityDescription *, QSqlQuery> m_updateQueries;
    QHash<const KorvaneEntityDescription *, QHash<qint64, ObjectPtr>> m_registered;
    // The store's data version when each entity was last read whole; while no other
    // connection commits, the registered objects are the whole table.
    QHash<const KorvaneEntityDescription *, qint64> m_fullyLoaded;
    QList<ObjectPtr> m_inserted;
    QList<ObjectPtr> m_updated;
    QList<ObjectPtr> m_deleted;
};
