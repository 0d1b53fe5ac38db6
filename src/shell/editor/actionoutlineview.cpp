#include "shell/editor/actionoutlineview.h"

#include "shell/editor/actionlistview.h"

#include <QDrag>
#include <QHeaderView>

ActionOutlineView::ActionOutlineView(QWidget *parent)
    : QTreeWidget(parent)
{
    setHeaderHidden(true);
    setRootIsDecorated(false);
    setItemsExpandable(false);
    setExpandsOnDoubleClick(false);
    setIndentation(0);
    setDragEnabled(true);
    setDragDropMode(QAbstractItemView::DragOnly);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setVerticalScrollMode(QAbstractItemView::ScrollPerPixel);
    setFrameShape(QFrame::NoFrame);
}

void ActionOutlineView::startDrag(Qt::DropActions)
{
    QTreeWidgetItem *item = currentItem();
    if (!item || !item->data(0, TypeRole).isValid())
        return;
    auto *drag = new QDrag(this);
    drag->setMimeData(ActionListView::dragData(item->data(0, TypeRole).toLongLong()));
    if (QWidget *cell = itemWidget(item, 0))
        drag->setPixmap(cell->grab());
    drag->exec(Qt::CopyAction);
}
