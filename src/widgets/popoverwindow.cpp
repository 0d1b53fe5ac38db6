#include "widgets/popoverwindow.h"

#include <QApplication>
#include <QBitmap>
#include <QCloseEvent>
#include <QDropEvent>
#include <QKeyEvent>
#include <QPainter>
#include <QPainterPath>
#include <QPropertyAnimation>
#include <QScreen>
#include <QWindow>

#include <algorithm>

namespace {

// Distance between the anchor and the arrow's tip.
constexpr int kGap = 2;

// The window system's answers, from the platform layer through the shell.
std::function<bool()> &composites()
{
    static std::function<bool()> query;
    return query;
}

std::function<bool()> &carriesOpacity()
{
    static std::function<bool()> query;
    return query;
}

QScreen *screenFor(const QRect &anchor)
{
    if (QScreen *screen = QGuiApplication::screenAt(anchor.center()))
        return screen;
    return QGuiApplication::primaryScreen();
}

// The screen side the anchor sits on. A panel shows as a strip of the screen outside the
// available geometry; without one (auto-hidden panels, platforms that report none) the
// nearest screen edge decides, horizontal panels first on a tie since they are the common case.
Qt::Edge anchorEdge(const QRect &anchor, const QRect &screen, const QRect &available)
{
    const QPoint centre = anchor.center();
    if (centre.y() < available.top())
        return Qt::TopEdge;
    if (centre.y() > available.bottom())
        return Qt::BottomEdge;
    if (centre.x() < available.left())
        return Qt::LeftEdge;
    if (centre.x() > available.right())
        return Qt::RightEdge;

    const std::pair<int, Qt::Edge> top{anchor.top() - screen.top(), Qt::TopEdge};
    const std::pair<int, Qt::Edge> bottom{screen.bottom() - anchor.bottom(), Qt::BottomEdge};
    const std::pair<int, Qt::Edge> left{anchor.left() - screen.left(), Qt::LeftEdge};
    const std::pair<int, Qt::Edge> right{screen.right() - anchor.right(), Qt::RightEdge};
    const auto horizontal = std::min(top, bottom);
    const auto vertical = std::min(left, right);
    // An icon in a corner touches two edges, by a pixel more or less depending on the scale
    // factor's rounding: only an edge clearly nearer than the other's makes a side panel.
    const int slack = std::min(anchor.width(), anchor.height()) / 2;
    return horizontal.first <= vertical.first + slack ? horizontal.second : vertical.second;
}

bool isVertical(Qt::Edge edge)
{
    return edge == Qt::TopEdge || edge == Qt::BottomEdge;
}

} // namespace

PopoverWindow::PopoverWindow(QWidget *parent)
    : QWidget(parent, Qt::Tool | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint | Qt::NoDropShadowWindowHint)
    , m_fade(new QPropertyAnimation(this, "windowOpacity", this))
    , m_colorName(QStringLiteral("customStatusBG"))
{
    setAttribute(Qt::WA_TranslucentBackground);
    setAttribute(Qt::WA_QuitOnClose, false);
    m_fade->setDuration(kFadeMs);
    m_fade->setEasingCurve(QEasingCurve::OutCubic);
    connect(m_fade, &QPropertyAnimation::finished, this, [this] {
        if (m_state == State::Closing)
            finishClose();
    });
}

PopoverWindow::~PopoverWindow()
{
    watchApplication(false);
}

void PopoverWindow::setContentWidget(QWidget *content)
{
    if (content == m_content)
        return;
    if (m_content) {
        m_content->removeEventFilter(this);
        m_content->hide();
        m_content->deleteLater();
    }
    m_content = content;
    m_requestedSize = QSize();
    m_assignedSize = QSize();
    if (!content)
        return;
    content->setParent(this);
    content->installEventFilter(this);
    content->show();
    if (m_state != State::Hidden)
        place();
}

QWidget *PopoverWindow::contentWidget() const
{
    return m_content;
}

void PopoverWindow::setBackgroundColorName(const QString &name)
{
    m_colorName = name;
    update();
}

QString PopoverWindow::backgroundColorName() const
{
    return m_colorName;
}

QColor PopoverWindow::backgroundColor() const
{
    const QColor color = namedColor(m_colorName, isDarkPalette(palette()));
    return color.isValid() ? color : palette().color(QPalette::Window);
}

QColor PopoverWindow::borderColor() const
{
    return isDarkPalette(palette()) ? QColor(255, 255, 255, 40) : QColor(0, 0, 0, 56);
}

QColor PopoverWindow::namedColor(const QString &name, bool dark)
{
    // The drop-here popover is tinted so it reads as a target while something is dragged;
    // the main popover stays neutral behind the rows' own colours.
    if (name == QLatin1String("dropHereBG"))
        return dark ? QColor(0x26, 0x31, 0x40) : QColor(0xEC, 0xF3, 0xFC);
    if (name == QLatin1String("customStatusBG"))
        return dark ? QColor(0x2A, 0x2A, 0x2D) : QColor(0xF6, 0xF6, 0xF7);
    return QColor();
}

bool PopoverWindow::isDarkPalette(const QPalette &palette)
{
    return palette.color(QPalette::Window).lightness() < 128;
}

void PopoverWindow::setWindowSystemQueries(const std::function<bool()> &composites,
                                           const std::function<bool()> &carriesOpacity)
{
    ::composites() = composites;
    ::carriesOpacity() = carriesOpacity;
}

void PopoverWindow::showRelativeToRect(const QRect &anchor)
{
    if (m_state == State::Closing)
        finishClose();
    const bool wasShown = m_state == State::Shown;
    m_anchor = anchor;
    m_state = State::Shown;
    m_compositing = !composites() || composites()();
    m_fading = m_fadeEnabled.value_or(m_compositing && carriesOpacity() && carriesOpacity()());
    place();
    if (wasShown)
        return;

    watchApplication(true);
    m_activated = false;
    m_fade->stop();
    setWindowOpacity(m_fading ? 0.0 : 1.0);
    show();
    raise();
    if (!testAttribute(Qt::WA_ShowWithoutActivating))
        activateWindow();
    if (m_fading) {
        m_fade->setStartValue(0.0);
        m_fade->setEndValue(1.0);
        m_fade->start();
    }
}

void PopoverWindow::dismiss()
{
    if (m_state != State::Shown)
        return;
    if (!m_fading || !isVisible()) {
        finishClose();
        return;
    }
    m_state = State::Closing;
    m_fade->stop();
    m_fade->setStartValue(windowOpacity());
    m_fade->setEndValue(0.0);
    m_fade->start();
}

void PopoverWindow::forceClose()
{
    if (m_state != State::Hidden)
        finishClose();
}

void PopoverWindow::setFadeEnabled(bool enabled)
{
    m_fadeEnabled = enabled;
}

bool PopoverWindow::isShown() const
{
    return m_state != State::Hidden;
}

Qt::Edge PopoverWindow::arrowEdge() const
{
    return m_arrowEdge;
}

QPoint PopoverWindow::arrowTip() const
{
    const QRect frame = geometry();
    switch (m_arrowEdge) {
    case Qt::TopEdge:
        return {frame.left() + m_arrowOffset, frame.top()};
    case Qt::BottomEdge:
        return {frame.left() + m_arrowOffset, frame.bottom()};
    case Qt::LeftEdge:
        return {frame.left(), frame.top() + m_arrowOffset};
    case Qt::RightEdge:
        return {frame.right(), frame.top() + m_arrowOffset};
    }
    return frame.topLeft();
}

QRegion PopoverWindow::shapeRegion() const
{
    QBitmap bitmap(size());
    bitmap.fill(Qt::color0);
    QPainter painter(&bitmap);
    painter.setPen(Qt::color1);
    painter.setBrush(Qt::color1);
    painter.drawPath(outline());
    painter.end();
    return QRegion(bitmap);
}

bool PopoverWindow::event(QEvent *event)
{
    switch (event->type()) {
    case QEvent::LayoutRequest:
        if (m_state == State::Shown)
            place();
        break;
    case QEvent::WindowActivate:
        m_activated = true;
        break;
    case QEvent::WindowDeactivate:
        // Another window of ours (a row's context menu, the editor) taking activation is
        // not the user leaving; only losing it to another application is.
        if (leftByDeactivation() && !QApplication::activeWindow() && !QApplication::activePopupWidget())
            dismiss();
        break;
    case QEvent::Show:
        // Drags reach the content through the platform window, which exists once shown.
        windowHandle()->installEventFilter(this);
        break;
    case QEvent::PaletteChange:
    case QEvent::ApplicationPaletteChange:
    case QEvent::StyleChange:
        update();
        break;
    default:
        break;
    }
    return QWidget::event(event);
}

bool PopoverWindow::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == windowHandle() && watched)
        return filterDrag(event);
    if (watched == m_content) {
        // A size set from outside becomes the size to show; ours come from place() itself.
        if (event->type() == QEvent::Resize && !m_layingOut && m_state == State::Shown)
            QCoreApplication::postEvent(this, new QEvent(QEvent::LayoutRequest));
        return false;
    }
    if (!m_watching)
        return false;

    switch (event->type()) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick:
        if (auto *widget = qobject_cast<QWidget *>(watched)) {
            QWidget *window = widget->window();
            if (window != this && window->windowType() != Qt::Popup)
                dismiss();
        }
        break;
    case QEvent::ApplicationStateChange:
        // On X11 the application hears it lost activation only once the window system's
        // focus-out has settled, up to 400 ms later: a drop on the drop window from another
        // application's drag shows the list first, and the news of the drag source's
        // activation at its start comes after.
        if (static_cast<QApplicationStateChangeEvent *>(event)->applicationState() != Qt::ApplicationActive
            && leftByDeactivation())
            dismiss();
        break;
    default:
        break;
    }
    return false;
}

bool PopoverWindow::filterDrag(QEvent *event)
{
    switch (event->type()) {
    case QEvent::DragEnter:
    case QEvent::DragMove:
    case QEvent::Drop:
        m_dragOver = event->type() != QEvent::Drop;
        // A drag source that has not moved since the popover closed still drops on it: the
        // drop is refused, so that the source hears the drag is over and nothing hidden runs.
        if (m_state == State::Hidden) {
            static_cast<QDropEvent *>(event)->ignore();
            return true;
        }
        return false;
    case QEvent::DragLeave:
        m_dragOver = false;
        return false;
    default:
        return false;
    }
}

void PopoverWindow::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(borderColor(), 1.0));
    painter.setBrush(backgroundColor());
    painter.drawPath(outline());
}

void PopoverWindow::keyPressEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
        dismiss();
        event->accept();
        return;
    }
    QWidget::keyPressEvent(event);
}

void PopoverWindow::closeEvent(QCloseEvent *event)
{
    if (m_state == State::Hidden) {
        event->accept();
        return;
    }
    event->ignore();
    dismiss();
}

void PopoverWindow::hideEvent(QHideEvent *event)
{
    QWidget::hideEvent(event);
    if (m_state != State::Hidden)
        finishClose();
}

void PopoverWindow::place()
{
    QScreen *screen = hasArrow() ? screenFor(m_anchor) : QGuiApplication::primaryScreen();
    if (!screen)
        return;
    const QRect available = screen->availableGeometry();
    m_arrowEdge = anchorEdge(m_anchor, screen->geometry(), available);
    const bool vertical = isVertical(m_arrowEdge);
    const int arrowLength = hasArrow() ? kArrowLength : 0;

    const QSize content = preferredContentSize();
    const QSize size =
        QSize(content.width() + 2 * kContentMargin + (vertical ? 0 : arrowLength),
              content.height() + 2 * kContentMargin + (vertical ? arrowLength : 0))
            .boundedTo(available.size());

    if (!hasArrow()) {
        QRect frame(QPoint(), size);
        frame.moveCenter(available.center());
        m_arrowOffset = 0;
        setFrame(frame);
        return;
    }

    const QPoint centre = m_anchor.center();
    QPoint pos;
    switch (m_arrowEdge) {
    case Qt::TopEdge:
        pos = {centre.x() - size.width() / 2, m_anchor.bottom() + 1 + kGap};
        break;
    case Qt::BottomEdge:
        pos = {centre.x() - size.width() / 2, m_anchor.top() - kGap - size.height()};
        break;
    case Qt::LeftEdge:
        pos = {m_anchor.right() + 1 + kGap, centre.y() - size.height() / 2};
        break;
    case Qt::RightEdge:
        pos = {m_anchor.left() - kGap - size.width(), centre.y() - size.height() / 2};
        break;
    }
    pos.setX(std::clamp(pos.x(), available.left(), available.right() + 1 - size.width()));
    pos.setY(std::clamp(pos.y(), available.top(), available.bottom() + 1 - size.height()));

    // Near a screen corner the window stops at the edge while the arrow keeps pointing at the
    // anchor; there the arrow takes over the body's rounded corner (see outline()).
    const int along = vertical ? centre.x() - pos.x() : centre.y() - pos.y();
    const int extent = vertical ? size.width() : size.height();
    m_arrowOffset = extent > 2 * kArrowHalfWidth + 1
        ? std::clamp(along, kArrowHalfWidth, extent - 1 - kArrowHalfWidth)
        : extent / 2;

    setFrame(QRect(pos, size));
}

void PopoverWindow::setFrame(const QRect &frame)
{
    m_layingOut = true;
    // Tiling compositors (Sway and the like) float a window whose size is fixed, as a popover
    // must be, instead of stretching it to a tile.
    setFixedSize(frame.size());
    setGeometry(frame);
    layoutContent();
    m_layingOut = false;
    if (m_compositing)
        clearMask();
    else
        setMask(shapeRegion());
    update();
}

QSize PopoverWindow::preferredContentSize()
{
    if (!m_content)
        return QSize(0, 0);
    if (m_content->testAttribute(Qt::WA_Resized) && m_content->size() != m_assignedSize)
        m_requestedSize = m_content->size();
    QSize size = m_requestedSize;
    if (!size.isValid()) {
        size = m_content->sizeHint().expandedTo(m_content->minimumSizeHint());
        if (!size.isValid())
            size = m_content->size();
    }
    return size.expandedTo(m_content->minimumSize()).boundedTo(m_content->maximumSize());
}

QRect PopoverWindow::bodyRect() const
{
    QRect body = rect();
    if (!hasArrow())
        return body;
    switch (m_arrowEdge) {
    case Qt::TopEdge:
        body.setTop(kArrowLength);
        break;
    case Qt::BottomEdge:
        body.setBottom(body.bottom() - kArrowLength);
        break;
    case Qt::LeftEdge:
        body.setLeft(kArrowLength);
        break;
    case Qt::RightEdge:
        body.setRight(body.right() - kArrowLength);
        break;
    }
    return body;
}

QPainterPath PopoverWindow::outline() const
{
    const QRectF body = QRectF(bodyRect()).adjusted(0.5, 0.5, -0.5, -0.5);
    QPainterPath path;
    path.addRoundedRect(body, kCornerRadius, kCornerRadius);
    if (!hasArrow())
        return path;

    // Drawn pointing up with the tip on the window's edge, then turned to its edge. Its base
    // reaches a corner radius into the body so the union leaves no seam; an arrow that comes
    // within a radius of a corner widens its base to square that corner off, rather than
    // leave a notch between itself and the rounding.
    const qreal half = kArrowHalfWidth;
    const qreal length = kArrowLength;
    const qreal t = 0.16;
    const qreal tip = m_arrowOffset + 0.5;
    const int extent = isVertical(m_arrowEdge) ? width() : height();
    const qreal start = m_arrowOffset - kArrowHalfWidth < kCornerRadius ? 0.5 : tip - half;
    const qreal end = extent - 1 - m_arrowOffset - kArrowHalfWidth < kCornerRadius
        ? extent - 0.5
        : tip + half;
    // Turning by 180 or -90 degrees reverses the direction along the edge.
    const bool reversed = m_arrowEdge == Qt::BottomEdge || m_arrowEdge == Qt::LeftEdge;
    const qreal low = reversed ? tip - end : start - tip;
    const qreal high = reversed ? tip - start : end - tip;

    QPainterPath arrow;
    arrow.moveTo(low, length + kCornerRadius);
    arrow.lineTo(low, length);
    arrow.lineTo(-half, length);
    arrow.lineTo(-half * t, length * t);
    arrow.quadTo(0, -0.8, half * t, length * t);
    arrow.lineTo(half, length);
    arrow.lineTo(high, length);
    arrow.lineTo(high, length + kCornerRadius);
    arrow.closeSubpath();

    QTransform transform;
    switch (m_arrowEdge) {
    case Qt::TopEdge:
        transform.translate(tip, 0);
        break;
    case Qt::BottomEdge:
        transform.translate(tip, height()).rotate(180);
        break;
    case Qt::LeftEdge:
        transform.translate(0, tip).rotate(-90);
        break;
    case Qt::RightEdge:
        transform.translate(width(), tip).rotate(90);
        break;
    }
    return path.united(transform.map(arrow)).simplified();
}

void PopoverWindow::layoutContent()
{
    if (!m_content)
        return;
    const QRect area =
        bodyRect().adjusted(kContentMargin, kContentMargin, -kContentMargin, -kContentMargin);
    m_content->setGeometry(area);
    m_assignedSize = m_content->size();
}

void PopoverWindow::finishClose()
{
    m_fade->stop();
    m_state = State::Hidden;
    watchApplication(false);
    hide();
    setWindowOpacity(1.0);
    // Qt keeps a hidden window as its focus window until the window system's focus-out has
    // settled (on X11 up to 400 ms later), and then sends the application's deactivation:
    // a showing that came before would take it for the user leaving and close. A new native
    // window carries no focus of the old one. One a drag is over stays: the drag source
    // still talks to it, and waits for the answer to its drop.
    if (windowHandle() && QGuiApplication::focusWindow() == windowHandle() && !m_dragOver)
        destroy();
    Q_EMIT closed();
}

bool PopoverWindow::leftByDeactivation() const
{
    return m_activated || testAttribute(Qt::WA_ShowWithoutActivating);
}

void PopoverWindow::watchApplication(bool watch)
{
    if (watch == m_watching || !qApp)
        return;
    m_watching = watch;
    // Only while shown: an application-wide filter sees every event of the process.
    if (watch)
        qApp->installEventFilter(this);
    else
        qApp->removeEventFilter(this);
}
