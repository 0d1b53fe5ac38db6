#include "editordroplist.h"

#include "droplistentity.h"
#include "korvanecoredatahelper.h"

namespace {

KorvaneCoreDataHelper *store()
{
    return KorvaneCoreDataHelper::shareInstance();
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

int EditorDropList::appendDrop(qint64 type)
{
    m_dropList.append(store()->getNewDrop(m_catalog, type, count()));
    return count() - 1;
}

int EditorDropList::insertDrop(qint64 type, int row)
{
    row = qBound(0, row, count());
    const Drop drop = store()->getNewDrop(m_catalog, type, row);
    if (row < count()) {
        for (int i = row; i < count(); ++i)
            m_dropList.at(i)->setIndex(m_dropList.at(i)->index() + 1);
        store()->saveDataChange();
    }
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
    if (row > from) {
        for (int i = from + 1; i <= row - 1; ++i)
            m_dropList.at(i)->setIndex(m_dropList.at(i)->index() - 1);
    } else {
        for (int i = row; i <= from - 1; ++i)
            m_dropList.at(i)->setIndex(m_dropList.at(i)->index() + 1);
    }
    m_dropList.at(from)->setIndex(to);
    store()->saveDataChange();
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
    if (row < count() - 1) {
        for (int i = row + 1; i < count(); ++i)
            m_dropList.at(i)->setIndex(m_dropList.at(i)->index() - 1);
        store()->saveDataChange();
    }
    store()->deleteDropEntity(drop);
    m_dropList.removeAt(row);
    return row;
}
