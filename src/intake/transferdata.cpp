#include "intake/transferdata.h"

void TransferItem::setData(TransferType type, const QByteArray &data)
{
    const int i = int(type);
    m_data[i] = data;
    m_types |= 1u << i;
}

bool TransferItem::hasType(TransferType type) const
{
    return m_types & (1u << int(type));
}

QByteArray TransferItem::dataForType(TransferType type) const
{
    return m_data[int(type)];
}

QString TransferItem::stringForType(TransferType type) const
{
    return QString::fromUtf8(m_data[int(type)]);
}

void TransferData::addItem(const TransferItem &item)
{
    m_items.append(item);
}

QByteArray TransferData::dataForType(TransferType type) const
{
    for (const TransferItem &item : m_items) {
        if (item.hasType(type))
            return item.dataForType(type);
    }
    return {};
}
