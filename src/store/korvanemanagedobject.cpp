#include "store/korvanemanagedobject.h"

#include "store/korvanemanagedobjectcontext.h"
#include "store/korvaneschema.h"

KorvaneManagedObject::KorvaneManagedObject(const KorvaneEntityDescription *entity, KorvaneManagedObjectContext *context)
    : m_entity(entity)
    , m_context(context)
{
    m_values.reserve(entity->attributes.size());
    for (const KorvaneAttributeDescription &attribute : entity->attributes)
        m_values.append(attribute.defaultValue);
}

KorvaneManagedObject::~KorvaneManagedObject() = default;

QVariant KorvaneManagedObject::value(const QString &attribute) const
{
    const int i = m_entity->attributeIndex(attribute);
    return i < 0 ? QVariant() : m_values.at(i);
}

bool KorvaneManagedObject::setValue(const QString &attribute, const QVariant &value)
{
    const int i = m_entity->attributeIndex(attribute);
    if (i < 0)
        return false;
    QVariant converted = value;
    if (!KorvaneSchema::convertValue(m_entity->attributes.at(i), &converted))
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

void KorvaneManagedObject::setOwner(const std::shared_ptr<KorvaneManagedObject> &owner)
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
