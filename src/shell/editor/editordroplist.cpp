#include "shell/editor/editordroplist.h"

#include "store/droplistentity.h"
#include "store/actionstore.h"
#include "store/storecontext.h"

namespace {

ActionStore *store()
{
    return ActionStore::instance();
}

} // namespace

void EditorDropList::load(qint64 catalog)
{
    m_catalog = catalog;
    m_dropList = store()->getDropsByCatalog(catalog);
}

EditorDropList::Drop EditorDropList::at(int row) const
{
    return row >= 0 && row < count() ? m_dropList.at(row) : nullptr;
}

// Each change is placed in the list as the store holds it now, under its write lock, so an
// action the command line added meanwhile keeps its place and no two share one. A failed
// write leaves the change pending: the store helper reports it.
EditorDropList::Drop EditorDropList::newDrop(qint64 type, const Drop &before)
{
    Drop drop;
    store()->write([&](QString *) {
        drop = store()->insertNewDrop(m_catalog, type, 0);
        store()->placeDrop(drop, before);
        return true;
    });
    return drop;
}

int EditorDropList::appendDrop(qint64 type)
{
    m_dropList.append(newDrop(type, nullptr));
    return count() - 1;
}

int EditorDropList::insertDrop(qint64 type, int row)
{
    row = qBound(0, row, count());
    const Drop drop = newDrop(type, at(row));
    m_dropList.insert(row, drop);
    if (m_currentPreviewSelectRow >= row)
        ++m_currentPreviewSelectRow;
    return row;
}

bool EditorDropList::canMove(int from, int row) const
{
    if (from < 0 || from >= count() || row < 0 || row > count())
        return false;
    // Dropping a row between itself and its neighbours leaves it where it is.
    return row != from && row - from != 1;
}

int EditorDropList::moveDrop(int from, int row)
{
    if (!canMove(from, row))
        return -1;
    const Drop highlighted = at(m_currentPreviewSelectRow);
    const int to = row > from ? row - 1 : row;
    const Drop moved = at(from);
    const Drop before = at(row);
    store()->write([&](QString *) {
        store()->placeDrop(moved, before);
        return true;
    });
    m_dropList.move(from, to);
    if (highlighted)
        m_currentPreviewSelectRow = rowOf(highlighted);
    return to;
}

int EditorDropList::removeDrop(const Drop &drop)
{
    const int row = rowOf(drop);
    if (row < 0)
        return -1;
    if (row == m_currentPreviewSelectRow)
        m_currentPreviewSelectRow = -1;
    else if (m_currentPreviewSelectRow > row)
        --m_currentPreviewSelectRow;
    store()->write([&](QString *) {
        store()->context()->deleteObject(drop);
        store()->renumber(m_catalog);
        return true;
    });
    m_dropList.removeAt(row);
    return row;
}
