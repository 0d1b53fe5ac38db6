#pragma once

#include "platform/dragmonitor.h"

#include <QAbstractNativeEventFilter>
#include <QTimer>

#include <optional>

struct xcb_connection_t;

// Drags on X11. Every XDND drag starts with its source taking the XdndSelection selection,
// which XFixes reports to us; from then on the pointer is followed until the left button is
// up. The pointer is read only while a drag lasts: an idle desktop costs nothing.
class X11DragMonitor final : public DragMonitor, public QAbstractNativeEventFilter
{
    Q_OBJECT

public:
    static constexpr int PollInterval = 30;

    // Needs a QGuiApplication on the xcb platform and an X server with XFixes; otherwise
    // isValid() is false and no drag is ever seen.
    explicit X11DragMonitor(QObject *parent = nullptr);
    ~X11DragMonitor() override;

    bool isValid() const { return m_connection != nullptr; }

    qint64 changeCount() const override { return m_changeCount; }
    bool isDragging() const override { return m_dragging; }
    bool isPolling() const { return m_pollTimer.isActive(); }

    bool nativeEventFilter(const QByteArray &eventType, void *message, qintptr *result) override;

private:
    void startDrag();
    void endDrag();
    void onPollTimeout();

    xcb_connection_t *m_connection = nullptr;
    quint32 m_root = 0;
    quint32 m_selection = 0;
    quint8 m_selectionNotify = 0;
    qint64 m_changeCount = 0;
    bool m_dragging = false;
    std::optional<QPoint> m_lastPos;
    QTimer m_pollTimer;
};
