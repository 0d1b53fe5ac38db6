#pragma once

#include <QList>
#include <QStandardPaths>
#include <QString>
#include <QUrl>

#include <memory>

class CustomUrl;
class DropListEntity;
class KorvaneManagedObjectContext;
struct KorvaneEntityDescription;

using DropListEntityPtr = std::shared_ptr<DropListEntity>;

// Owns the store of configured actions and every operation the rest of Korvane performs on
// it. Main thread only.
class KorvaneCoreDataHelper final
{
public:
    static KorvaneCoreDataHelper *shareInstance();

    KorvaneCoreDataHelper();
    ~KorvaneCoreDataHelper();

    QList<DropListEntityPtr> getAllDrops();
    QList<DropListEntityPtr> getDropsByCatalog(qint64 catalog);
    // The actions that fit the data in KorvaneHandleData.
    QList<DropListEntityPtr> getDropsByKorvaneHandleData();
    DropListEntityPtr fetchDropWith(quint32 keyCode, quint32 modifiers);
    // The action with this identifier; null when there is none.
    DropListEntityPtr fetchDropWithID(qint32 dropID);
    void initializationHotKey();
    DropListEntityPtr getNewDrop(qint64 catalog, qint64 type, qint32 index);
    // getNewDrop without the save, for callers that write many changes in one transaction.
    DropListEntityPtr insertNewDrop(qint64 catalog, qint64 type, qint32 index);
    void deleteDropEntity(const DropListEntityPtr &drop);
    void saveDataChange();
    std::shared_ptr<CustomUrl> addNewCustomUrl(const DropListEntityPtr &drop);
    std::shared_ptr<CustomUrl> addNewCustomUrl(const DropListEntityPtr &drop, const QString &url);
    void deleteCustomUrl(const DropListEntityPtr &drop, const std::shared_ptr<CustomUrl> &url);
    void initializationDefaultData();

    KorvaneManagedObjectContext *context();
    const QList<KorvaneEntityDescription> &managedObjectModel() const;
    // True once the store file is open; false when it could not be opened or migrated.
    bool persistentStoreCoordinator();
    // Why the store could not be opened; empty while it is open.
    QString storeError() const { return m_storeError; }

    QUrl documentDirectoryURL();
    QString applicationSupportDirectory();
    static QString findOrCreateDirectory(QStandardPaths::StandardLocation directory, int domainMask,
                                         const QString &appendPathComponent, QString *error);

private:
    qint32 newDropID();
    static QList<DropListEntityPtr> sortedByIndex(const QList<std::shared_ptr<class KorvaneManagedObject>> &objects);

    std::unique_ptr<KorvaneManagedObjectContext> m_context;
    bool m_storeOpened = false;
    QString m_storeError;
};
