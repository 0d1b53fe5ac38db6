#include "shell/dropherearea.h"

#include "intake/droppayload.h"
#include "platform/qt/mimedataconverter.h"

#include <QDragEnterEvent>
#include <QMimeData>
#include <QPainter>

DropHereArea::DropHereArea(QWidget *parent)
    : QWidget(parent)
{
    setAcceptDrops(true);
    m_dropTimer.setSingleShot(true);
    m_dropTimer.setInterval(100);
    connect(&m_dropTimer, &QTimer::timeout, this, [this] {
        Q_EMIT dragClassified(m_payload);
        m_isHandling = false;
    });
}

void DropHereArea::dragEnterEvent(QDragEnterEvent *event)
{
    // Answering with no operation keeps the drag going to the list that replaces us.
    event->ignore();
    if (m_isHandling)
        return;
    m_isHandling = true;
    m_payload = DropPayload::classify(MimeDataConverter::fromMimeData(event->mimeData()));
    m_dropTimer.start();
}

void DropHereArea::hideEvent(QHideEvent *event)
{
    // Hidden before the list came: the drag was let go or cancelled meanwhile, and a list
    // opened now would stay on screen for a drag that is over.
    QWidget::hideEvent(event);
    m_dropTimer.stop();
    m_isHandling = false;
}

void DropHereArea::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    QPen pen(palette().color(QPalette::WindowText));
    pen.setStyle(Qt::DashLine);
    pen.setWidthF(1.5);
    QColor c = pen.color();
    c.setAlphaF(0.45);
    pen.setColor(c);
    painter.setPen(pen);
    painter.drawRoundedRect(QRectF(rect()).adjusted(6, 6, -6, -6), 10, 10);
}
