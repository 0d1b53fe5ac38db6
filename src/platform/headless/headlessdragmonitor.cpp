#include "platform/headless/headlessdragmonitor.h"

void HeadlessDragMonitor::startDrag(const QPoint &pos)
{
    endDrag();
    ++m_changeCount;
    m_dragging = true;
    m_pos = pos;
    Q_EMIT dragStarted(m_changeCount);
    Q_EMIT dragMoved(pos);
}

void HeadlessDragMonitor::movePointer(const QPoint &pos)
{
    if (!m_dragging || pos == m_pos)
        return;
    m_pos = pos;
    Q_EMIT dragMoved(pos);
}

void HeadlessDragMonitor::endDrag()
{
    if (!m_dragging)
        return;
    m_dragging = false;
    Q_EMIT dragEnded();
}
