#include "shell/editor/actionlistview.h"

#include <QDrag>
#include <QDragEnterEvent>
#include <QMimeData>
#include <QPainter>

ActionListView::ActionListView(QWidget *parent)
    : QListWidget(parent)
{
    setSelectionMode(QAbstractItemView::SingleSelection);
    setDragEnabled(true);
    setAcceptDrops(true);
    viewport()->setAcceptDrops(true);
    setDragDropMode(QAbstractItemView::DragDrop);
    setDropIndicatorShown(false);
    setVerticalScrollMode(QAbstractItemView::ScrollPerPixel);
    setFrameShape(QFrame::NoFrame);
}

// Nineteen digits and a sign: the longest qint64.
constexpr qsizetype kMaximumDragText = 20;

// The number travels as decimal text: any program can offer this type, and a serialized list
// would let its first four bytes ask for billions of entries.
QMimeData *ActionListView::dragData(qint64 number)
{
    auto *data = new QMimeData;
    data->setData(DragType, QByteArray::number(number));
    return data;
}

std::optional<qint64> ActionListView::dragNumber(const QMimeData *data)
{
    if (!data || !data->hasFormat(DragType))
        return std::nullopt;
    const QByteArray text = data->data(DragType);
    if (text.size() > kMaximumDragText)
        return std::nullopt;
    bool ok = false;
    const qint64 number = text.toLongLong(&ok);
    return ok ? std::optional<qint64>(number) : std::nullopt;
}

int ActionListView::dropRowAt(const QPoint &point) const
{
    for (int row = 0; row < count(); ++row) {
        const QRect rect = visualItemRect(item(row));
        if (point.y() < rect.center().y())
            return row;
        if (point.y() < rect.bottom())
            return row + 1;
    }
    return count();
}

void ActionListView::startDrag(Qt::DropActions)
{
    const int row = currentRow();
    if (row < 0)
        return;
    // Our own drag: the default one would remove the row itself after a move.
    auto *drag = new QDrag(this);
    drag->setMimeData(dragData(row));
    if (QWidget *cell = itemWidget(item(row)))
        drag->setPixmap(cell->grab());
    drag->exec(Qt::MoveAction);
}

bool ActionListView::acceptDrag(QDropEvent *event)
{
    if (!dragNumber(event->mimeData())) {
        event->ignore();
        return false;
    }
    // From ourselves it is a move; from the catalog outline a copy.
    const bool own = event->source() == this;
    if (!own && !event->source()) {
        event->ignore();
        return false;
    }
    event->setDropAction(own ? Qt::MoveAction : Qt::CopyAction);
    event->accept();
    return true;
}

void ActionListView::dragEnterEvent(QDragEnterEvent *event)
{
    acceptDrag(event);
}

void ActionListView::dragMoveEvent(QDragMoveEvent *event)
{
    if (!acceptDrag(event))
        return;
    const int row = dropRowAt(event->position().toPoint());
    const bool own = event->source() == this;
    const int from = currentRow();
    if (own && (row == from || row - from == 1)) {
        event->ignore();
        m_dropRow = -1;
    } else {
        m_dropRow = row;
    }
    viewport()->update();
}

void ActionListView::dragLeaveEvent(QDragLeaveEvent *event)
{
    m_dropRow = -1;
    viewport()->update();
    QListWidget::dragLeaveEvent(event);
}

void ActionListView::dropEvent(QDropEvent *event)
{
    m_dropRow = -1;
    viewport()->update();
    if (!acceptDrag(event))
        return;
    const int row = dropRowAt(event->position().toPoint());
    const qint64 number = *dragNumber(event->mimeData());
    if (event->source() == this)
        Q_EMIT moveRequested(int(number), row);
    else
        Q_EMIT addRequested(number, row);
}

void ActionListView::paintEvent(QPaintEvent *event)
{
    QListWidget::paintEvent(event);
    if (m_dropRow < 0)
        return;
    int y = 0;
    if (m_dropRow < count())
        y = visualItemRect(item(m_dropRow)).top();
    else if (count() > 0)
        y = visualItemRect(item(count() - 1)).bottom() + 1;
    QPainter painter(viewport());
    painter.setPen(QPen(palette().color(QPalette::Highlight), 2));
    painter.drawLine(6, y, viewport()->width() - 6, y);
}
