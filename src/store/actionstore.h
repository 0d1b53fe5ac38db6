#pragma once

#include <QList>
#include <QStandardPaths>
#include <QString>
#include <QUrl>

#include <functional>
#include <memory>

class DropPayload;
class CustomUrl;
class DropListEntity;
class StoreContext;
struct EntityDescription;

using DropListEntityPtr = std::shared_ptr<DropListEntity>;

// Owns the store of configured actions and every operation the rest of Korvane performs on
// it. Main thread only.
class ActionStore final
{
public:
    static ActionStore *instance();

    ActionStore();
    ~ActionStore();

    QList<DropListEntityPtr> getAllDrops();
    QList<DropListEntityPtr> getDropsByCatalog(qint64 catalog);
    // The actions the list offers for the payload, in the order the user gave them.
    QList<DropListEntityPtr> dropsOffering(const DropPayload &payload);
    DropListEntityPtr fetchDropWith(quint32 keyCode, quint32 modifiers);
    // The action whose hotkey is these keys; null for none or an empty combination.
    DropListEntityPtr fetchDropWith(QKeyCombination keys);
    // The action with this identifier; null when there is none.
    DropListEntityPtr fetchDropWithID(qint32 dropID);
    DropListEntityPtr getNewDrop(qint64 catalog, qint64 type, qint32 index);
    // getNewDrop without the save, for callers that write many changes in one transaction.
    DropListEntityPtr insertNewDrop(qint64 catalog, qint64 type, qint32 index);
    // Puts the action at this place of its catalog's list (the end when past it) and numbers
    // the list 0…n−1 again, as a drag in the editor does. Saved with the next save.
    void placeDrop(const DropListEntityPtr &drop, int position);
    // The same, right before another action of the list (at the end when that is null or
    // no longer in the list).
    void placeDrop(const DropListEntityPtr &drop, const DropListEntityPtr &before);
    // Numbers the catalog's list 0…n−1 in its order, closing the gap a removal leaves.
    void renumber(qint64 catalog);
    bool deleteAction(const DropListEntityPtr &drop);
    // False when the store could not be written: the changes stay pending and
    // lastWriteError() says why, naming the store.
    bool saveDataChange();
    // Runs a read-modify-write under the store's write lock; see
    // StoreContext::perform. The error names the store.
    bool write(const std::function<bool(QString *error)> &change, QString *error = nullptr);
    QString lastWriteError() const { return m_lastWriteError; }
    // Told every failed write (with lastWriteError()) and, with an empty text, the first
    // write that succeeds after one failed.
    void setWriteStateHandler(std::function<void(const QString &error)> handler) { m_writeStateHandler = std::move(handler); }
    std::shared_ptr<CustomUrl> addNewCustomUrl(const DropListEntityPtr &drop);
    std::shared_ptr<CustomUrl> addNewCustomUrl(const DropListEntityPtr &drop, const QString &url);
    void deleteCustomUrl(const DropListEntityPtr &drop, const std::shared_ptr<CustomUrl> &url);
    // Fills an empty store with the default actions, under the write lock so two first
    // starts at once fill it once.
    bool initializationDefaultData();

    StoreContext *context();
    const QList<EntityDescription> &managedObjectModel() const;
    // True once the store file is open; false when it could not be opened or migrated.
    bool openStore();
    // Why the store could not be opened; empty while it is open.
    QString storeError() const { return m_storeError; }

    QUrl documentDirectoryURL();
    QString applicationSupportDirectory();
    static QString findOrCreateDirectory(QStandardPaths::StandardLocation directory, int domainMask,
                                         const QString &appendPathComponent, QString *error);

private:
    void insertDefaultData();
    static void numberInOrder(const QList<DropListEntityPtr> &drops);
    qint32 newDropID();
    static QList<DropListEntityPtr> sortedByIndex(const QList<std::shared_ptr<class StoredRecord>> &objects);

    std::unique_ptr<StoreContext> m_context;
    QString m_storePath;
    QString m_storeError;
    QString m_lastWriteError;
    std::function<void(const QString &)> m_writeStateHandler;
};
