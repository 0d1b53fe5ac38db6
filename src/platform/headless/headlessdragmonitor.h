#pragma once

#include "platform/dragmonitor.h"

// Sees no drag by itself; drags are delivered by hand. Used where there is no display
// it can watch, and by the tests.
class HeadlessDragMonitor final : public DragMonitor
{
    Q_OBJECT

public:
    using DragMonitor::DragMonitor;

    qint64 changeCount() const override { return m_changeCount; }
    bool isDragging() const override { return m_dragging; }

    // Starts a new drag at pos, ending the one in progress first.
    void startDrag(const QPoint &pos);
    // Ignored while no drag is in progress.
    void movePointer(const QPoint &pos);
    void endDrag();

private:
    qint64 m_changeCount = 0;
    bool m_dragging = false;
    QPoint m_pos;
};
