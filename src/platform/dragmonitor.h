#pragma once

#include <QObject>
#include <QPoint>
#include <QtGlobal>

// Watches drags anywhere on the desktop, whichever program started them. Positions are
// global, in the same coordinates as QWidget::mapToGlobal().
class DragMonitor : public QObject
{
    Q_OBJECT

public:
    using QObject::QObject;

    // Moves each time a new drag starts; the same value means the same drag.
    virtual qint64 changeCount() const = 0;
    virtual bool isDragging() const = 0;

Q_SIGNALS:
    // A drag began; changeCount is the new value of changeCount().
    void dragStarted(qint64 changeCount);
    // The pointer position while the drag lasts: once when it starts and on every change.
    void dragMoved(const QPoint &globalPos);
    // The left button was released: the drag was dropped or cancelled. Every dragStarted
    // is followed by exactly one dragEnded.
    void dragEnded();
};
