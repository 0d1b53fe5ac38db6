#pragma once

#include <QList>

#include <memory>

class DropListEntity;

// The action list of one catalog as the editor edits it: the records in the order of their
// `index`, kept equal to their positions by every change, each saved to the store at once.
// Also knows which row is highlighted, so the highlight can follow its record.
class EditorDropList final
{
public:
    using Drop = std::shared_ptr<DropListEntity>;

    void load(qint64 catalog);
    qint64 catalog() const { return m_catalog; }
    const QList<Drop> &dropList() const { return m_dropList; }
    int count() const { return int(m_dropList.size()); }
    Drop at(int row) const;
    int rowOf(const Drop &drop) const { return int(m_dropList.indexOf(drop)); }

    int currentPreviewSelectRow() const { return m_currentPreviewSelectRow; }
    void setCurrentPreviewSelectRow(int row) { m_currentPreviewSelectRow = row; }

    // A new record of the type at the end; its row.
    int appendDrop(qint64 type);
    // A new record of the type at drop row r (clamped to the list); later records move down.
    int insertDrop(qint64 type, int row);
    // Whether a row dragged from position from may be dropped at drop row row.
    bool canMove(int from, int row) const;
    // Moves the record at from to drop row row (both as the list was before); its new row, or
    // -1 when refused.
    int moveDrop(int from, int row);
    // Removes the record from the store and the list; its former row, or -1 when it is not in
    // the list.
    int removeDrop(const Drop &drop);

private:
    Drop newDrop(qint64 type, const Drop &before);

    QList<Drop> m_dropList;
    qint64 m_catalog = 0;
    int m_currentPreviewSelectRow = -1;
};
