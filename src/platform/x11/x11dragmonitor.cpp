#include "platform/x11/x11dragmonitor.h"

#include "platform/platformlogging.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <QRect>
#include <QScreen>

#include <xcb/xcb.h>
#include <xcb/xfixes.h>

#include <cstdlib>
#include <memory>

namespace {

struct FreeDeleter {
    void operator()(void *p) const { std::free(p); }
};
template<typename T>
using XcbReply = std::unique_ptr<T, FreeDeleter>;

// The X server reports device pixels. Qt keeps each screen's top-left corner where X has
// it and scales the rest of the screen by its device pixel ratio.
QPoint logicalPosition(const QPoint &native)
{
    const QList<QScreen *> screens = QGuiApplication::screens();
    for (const QScreen *screen : screens) {
        const QRect logical = screen->geometry();
        const qreal ratio = screen->devicePixelRatio();
        const QRect physical(logical.topLeft(), logical.size() * ratio);
        if (physical.contains(native))
            return logical.topLeft() + (native - logical.topLeft()) / ratio;
    }
    return native;
}

} // namespace

X11DragMonitor::X11DragMonitor(QObject *parent)
    : DragMonitor(parent)
{
    m_pollTimer.setInterval(PollInterval);
    connect(&m_pollTimer, &QTimer::timeout, this, &X11DragMonitor::onPollTimeout);

    auto *x11 = qGuiApp ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
    if (!x11 || !x11->connection()) {
        qCInfo(lcX11, "not on X11: drags are not watched");
        return;
    }
    xcb_connection_t *connection = x11->connection();

    const xcb_query_extension_reply_t *xfixes = xcb_get_extension_data(connection, &xcb_xfixes_id);
    if (!xfixes || !xfixes->present) {
        qCWarning(lcX11, "the X server has no XFixes extension: drags are not watched");
        return;
    }
    // XFixes answers a client only after it has said which version it speaks.
    XcbReply<xcb_xfixes_query_version_reply_t> version(xcb_xfixes_query_version_reply(
        connection, xcb_xfixes_query_version(connection, XCB_XFIXES_MAJOR_VERSION, XCB_XFIXES_MINOR_VERSION), nullptr));
    if (!version) {
        qCWarning(lcX11, "XFixes did not answer: drags are not watched");
        return;
    }

    static const char selectionName[] = "XdndSelection";
    XcbReply<xcb_intern_atom_reply_t> atom(xcb_intern_atom_reply(
        connection, xcb_intern_atom(connection, 0, sizeof selectionName - 1, selectionName), nullptr));
    if (!atom) {
        qCWarning(lcX11, "the XdndSelection atom is not available: drags are not watched");
        return;
    }

    m_connection = connection;
    m_selection = atom->atom;
    m_selectionNotify = quint8(xfixes->first_event + XCB_XFIXES_SELECTION_NOTIFY);
    // Selections belong to the whole display, so one root window hears of every owner.
    m_root = xcb_setup_roots_iterator(xcb_get_setup(m_connection)).data->root;
    xcb_xfixes_select_selection_input(m_connection, m_root, m_selection,
                                      XCB_XFIXES_SELECTION_EVENT_MASK_SET_SELECTION_OWNER);
    xcb_flush(m_connection);
    QCoreApplication::instance()->installNativeEventFilter(this);
}

X11DragMonitor::~X11DragMonitor()
{
    // After the application is gone the connection is closed, and our interest with it.
    if (!m_connection || !QCoreApplication::instance())
        return;
    QCoreApplication::instance()->removeNativeEventFilter(this);
    xcb_xfixes_select_selection_input(m_connection, m_root, m_selection, 0);
    xcb_flush(m_connection);
}

bool X11DragMonitor::nativeEventFilter(const QByteArray &eventType, void *message, qintptr *result)
{
    Q_UNUSED(result)
    if (!m_connection || eventType != "xcb_generic_event_t")
        return false;
    const auto *event = static_cast<const xcb_generic_event_t *>(message);
    if ((event->response_type & ~0x80) != m_selectionNotify)
        return false;
    const auto *notify = static_cast<const xcb_xfixes_selection_notify_event_t *>(message);
    // A new owner of XdndSelection means a new drag has started. An owner of None is a
    // source letting go after its drag, which the button has already told us about.
    if (notify->window == m_root && notify->selection == m_selection
        && notify->subtype == XCB_XFIXES_SELECTION_EVENT_SET_SELECTION_OWNER && notify->owner != XCB_NONE) {
        qCDebug(lcX11, "XdndSelection taken by window 0x%x", notify->owner);
        startDrag();
    }
    // Qt's clipboard watches selection owners too; the event stays in its stream.
    return false;
}

void X11DragMonitor::startDrag()
{
    // Every start has its end, even when another client takes the selection mid-drag.
    endDrag();
    ++m_changeCount;
    m_dragging = true;
    m_lastPos.reset();
    Q_EMIT dragStarted(m_changeCount);
    // The drag was started by some button and pointer position: report where it is now,
    // and end it at once if the button has been let go already.
    onPollTimeout();
    if (m_dragging)
        m_pollTimer.start();
}

void X11DragMonitor::endDrag()
{
    m_pollTimer.stop();
    if (!m_dragging)
        return;
    m_dragging = false;
    Q_EMIT dragEnded();
}

void X11DragMonitor::onPollTimeout()
{
    XcbReply<xcb_query_pointer_reply_t> pointer(
        xcb_query_pointer_reply(m_connection, xcb_query_pointer(m_connection, m_root), nullptr));
    if (!pointer || !(pointer->mask & XCB_BUTTON_MASK_1)) {
        endDrag();
        return;
    }
    const QPoint pos = logicalPosition(QPoint(pointer->root_x, pointer->root_y));
    if (pos == m_lastPos)
        return;
    m_lastPos = pos;
    Q_EMIT dragMoved(pos);
}
