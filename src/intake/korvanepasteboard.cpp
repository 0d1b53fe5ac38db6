#include "intake/korvanepasteboard.h"

void KorvanePasteboardItem::setData(KorvanePasteboardType type, const QByteArray &data)
{
    const int i = int(type);
    m_data[i] = data;
    m_types |= 1u << i;
}

bool KorvanePasteboardItem::hasType(KorvanePasteboardType type) const
{
    return m_types & (1u << int(type));
}

QByteArray KorvanePasteboardItem::dataForType(KorvanePasteboardType type) const
{
    return m_data[int(type)];
}

QString KorvanePasteboardItem::stringForType(KorvanePasteboardType type) const
{
    return QString::fromUtf8(m_data[int(type)]);
}

void KorvanePasteboard::addItem(const KorvanePasteboardItem &item)
{
    m_items.append(item);
}

QByteArray KorvanePasteboard::dataForType(KorvanePasteboardType type) const
{
    for (const KorvanePasteboardItem &item : m_items) {
        if (item.hasType(type))
            return item.dataForType(type);
    }
    return {};
}
