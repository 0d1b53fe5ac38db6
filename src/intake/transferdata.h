#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

#include <array>

// The kinds of data a pasteboard item can carry that Korvane reads or writes.
enum class TransferType {
    FileURL,
    URL,
    PNG,
    TIFF,
    String,
    RTF,
};

// One item of a pasteboard: for each type it carries, the bytes of that type.
class TransferItem final
{
public:
    void setData(TransferType type, const QByteArray &data);
    bool hasType(TransferType type) const;
    QByteArray dataForType(TransferType type) const;
    // The item's bytes for a textual type, read as UTF-8.
    QString stringForType(TransferType type) const;

private:
    static constexpr int TypeCount = int(TransferType::RTF) + 1;
    std::array<QByteArray, TypeCount> m_data;
    unsigned m_types = 0;
};

// A snapshot of a pasteboard (a drag's or the clipboard's) as the classifier sees it.
class TransferData final
{
public:
    void addItem(const TransferItem &item);
    const QList<TransferItem> &items() const { return m_items; }
    // The bytes of the first item that carries the type, empty when none does.
    QByteArray dataForType(TransferType type) const;

private:
    QList<TransferItem> m_items;
};
