#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

#include <array>

// The kinds of data a pasteboard item can carry that Korvane reads or writes.
enum class KorvanePasteboardType {
    FileURL,
    URL,
    PNG,
    TIFF,
    String,
    RTF,
};

// One item of a pasteboard: for each type it carries, the bytes of that type.
class KorvanePasteboardItem final
{
public:
    void setData(KorvanePasteboardType type, const QByteArray &data);
    bool hasType(KorvanePasteboardType type) const;
    QByteArray dataForType(KorvanePasteboardType type) const;
    // The item's bytes for a textual type, read as UTF-8.
    QString stringForType(KorvanePasteboardType type) const;

private:
    static constexpr int TypeCount = int(KorvanePasteboardType::RTF) + 1;
    std::array<QByteArray, TypeCount> m_data;
    unsigned m_types = 0;
};

// A snapshot of a pasteboard (a drag's or the clipboard's) as the classifier sees it.
class KorvanePasteboard final
{
public:
    void addItem(const KorvanePasteboardItem &item);
    const QList<KorvanePasteboardItem> &pasteboardItems() const { return m_items; }
    // The bytes of the first item that carries the type, empty when none does.
    QByteArray dataForType(KorvanePasteboardType type) const;

private:
    QList<KorvanePasteboardItem> m_items;
};
