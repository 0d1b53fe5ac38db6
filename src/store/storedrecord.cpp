#include "store/storedrecord.h"

#include "store/storecontext.h"
#include "store/storeschema.h"

StoredRecord::StoredRecord(const EntityDescription *entity, StoreContext *context)
    : m_entity(entity)
    , m_context(context)
{
    m_values.reserve(entity->attributes.size());
    for (const AttributeDescription &attribute : entity->attributes)
        m_values.append(attribute.defaultValue);
}

StoredRecord::~StoredRecord() = default;

QVariant StoredRecord::value(const QString &attribute) const
{
    const int i = m_entity->attributeIndex(attribute);
    return i < 0 ? QVariant() : m_values.at(i);
}

bool StoredRecord::setValue(const QString &attribute, const QVariant &value)
{
    const int i = m_entity->attributeIndex(attribute);
    if (i < 0)
        return false;
    QVariant converted = value;
    if (!StoreSchema::convertValue(m_entity->attributes.at(i), &converted))
        return false;
    m_values[i] = converted;
    m_dirty |= quint64(1) << i;
    if (!m_changed) {
        m_changed = true;
        if (m_context)
            m_context->objectDidChange(shared_from_this());
    }
    return true;
}

void StoredRecord::setOwner(const std::shared_ptr<StoredRecord> &owner)
{
    m_owner = owner;
    m_ownerID = owner ? owner->objectID() : 0;
    m_ownerDirty = true;
    if (!m_changed) {
        m_changed = true;
        if (m_context)
            m_context->objectDidChange(shared_from_this());
    }
}
