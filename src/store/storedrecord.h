#pragma once

#include <QString>
#include <QVariant>
#include <QVector>

#include <memory>

struct EntityDescription;
class StoreContext;

// A record of the action store as callers see it: they change its fields and the
// context makes the changes durable when it saves.
class StoredRecord : public std::enable_shared_from_this<StoredRecord>
{
public:
    StoredRecord(const EntityDescription *entity, StoreContext *context);
    virtual ~StoredRecord();

    const EntityDescription &entity() const { return *m_entity; }
    StoreContext *managedObjectContext() const { return m_context; }
    // The row in the store; 0 until the object is first saved.
    qint64 objectID() const { return m_objectID; }
    bool isDeleted() const { return m_deleted; }
    bool hasChanges() const { return m_changed || m_objectID == 0; }

    QVariant value(const QString &attribute) const;
    // Converts the value to the attribute's stored type; false for an unknown attribute or
    // a value that does not convert, and nothing changes then.
    bool setValue(const QString &attribute, const QVariant &value);

    // The record this one belongs to (a settings record's action, a URL's settings record).
    std::shared_ptr<StoredRecord> owner() const { return m_owner.lock(); }
    void setOwner(const std::shared_ptr<StoredRecord> &owner);

protected:
    bool boolValue(const QString &attribute) const { return value(attribute).toBool(); }
    qint16 int16Value(const QString &attribute) const { return qint16(value(attribute).toInt()); }
    qint32 int32Value(const QString &attribute) const { return value(attribute).toInt(); }
    qint64 int64Value(const QString &attribute) const { return value(attribute).toLongLong(); }
    float floatValue(const QString &attribute) const { return value(attribute).toFloat(); }
    double doubleValue(const QString &attribute) const { return value(attribute).toDouble(); }
    QString stringValue(const QString &attribute) const { return value(attribute).toString(); }

private:
    friend class StoreContext;

    const EntityDescription *m_entity;
    StoreContext *m_context;
    QVector<QVariant> m_values;
    std::weak_ptr<StoredRecord> m_owner;
    qint64 m_ownerID = 0;
    qint64 m_objectID = 0;
    // Which attributes (one bit each) and whether the owner were changed here since the
    // last save: only those are written, so a save never puts back a value another
    // process has changed since this one read it.
    quint64 m_dirty = 0;
    bool m_ownerDirty = false;
    bool m_changed = false;
    bool m_deleted = false;
};
