#pragma once

#include "intake/droppayload.h"

#include <QTimer>
#include <QWidget>

// The drop-here popover's drop area: classifies a drag as it enters and tells the status
// item, which then shows the action list. It takes no drop itself.
class DropHereArea final : public QWidget
{
    Q_OBJECT

public:
    explicit DropHereArea(QWidget *parent = nullptr);

    bool isHandling() const { return m_isHandling; }

Q_SIGNALS:
    // A drag came over the area and its data was classified: the list is to replace us.
    void dragClassified(const DropPayload &payload);

protected:
    void dragEnterEvent(QDragEnterEvent *event) override;
    void paintEvent(QPaintEvent *event) override;
    void hideEvent(QHideEvent *event) override;

private:
    QTimer m_dropTimer;
    DropPayload m_payload;
    bool m_isHandling = false;
};
