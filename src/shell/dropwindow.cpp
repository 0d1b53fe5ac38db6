#include "shell/dropwindow.h"

#include "shell/actioniconprovider.h"
#include "intake/actioncatalog.h"
#include "intake/droppayload.h"
#include "store/droplistentity.h"
#include "store/actionstore.h"
#include "platform/qt/mimedataconverter.h"
#include "widgets/popoverwindow.h"
#include "shell/shelllogging.h"

#include <QCoreApplication>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QGraphicsOpacityEffect>
#include <QHBoxLayout>
#include <QLabel>
#include <QMimeData>
#include <QPainter>
#include <QPointer>
#include <QScrollArea>
#include <QTimer>
#include <QVBoxLayout>
#include <QWindow>

#include <algorithm>
#include <functional>

namespace {

// A part of the window that takes every drag and hands the dropped data on. The data is
// read while the drop lasts: the drag's MIME data is gone after it.
class DropTarget final : public QWidget
{
public:
    using Handler = std::function<void(const TransferData &)>;

    DropTarget(bool dashed, Handler handler)
        : m_dashed(dashed)
        , m_handler(std::move(handler))
    {
        setAcceptDrops(true);
    }

    // Whether it takes what is dragged now: a row whose action does not take it refuses, so
    // the drag source shows that a drop there does nothing.
    void setTakesDrops(bool takes) { m_takesDrops = takes; }
    bool takesDrops() const { return m_takesDrops; }

    // The window hands it the drop: see DropWindow::eventFilter.
    void takeDrop(QDropEvent *event)
    {
        setHovered(false);
        event->acceptProposedAction();
        const TransferData pasteboard = MimeDataConverter::fromMimeData(event->mimeData());
        // Popovers open after the drag source has heard the drop went well. The call is queued
        // on the window, which outlives this row: the rows are rebuilt when the list changes,
        // and that may happen between the drop and the call.
        QTimer::singleShot(0, window(), [handler = m_handler, pasteboard] { handler(pasteboard); });
    }

protected:
    void dragEnterEvent(QDragEnterEvent *event) override
    {
        answer(event);
        setHovered(m_takesDrops);
    }
    void dragMoveEvent(QDragMoveEvent *event) override
    {
        answer(event);
        setHovered(m_takesDrops);
    }
    void dragLeaveEvent(QDragLeaveEvent *) override { setHovered(false); }
    void paintEvent(QPaintEvent *) override
    {
        QPainter painter(this);
        painter.setRenderHint(QPainter::Antialiasing);
        QColor ink = palette().color(QPalette::WindowText);
        const QRectF box = QRectF(rect()).adjusted(3, 3, -3, -3);
        if (m_hovered) {
            QColor fill = palette().color(QPalette::Highlight);
            fill.setAlphaF(0.22);
            painter.setPen(Qt::NoPen);
            painter.setBrush(fill);
            painter.drawRoundedRect(box, 8, 8);
        }
        if (!m_dashed)
            return;
        QPen pen(ink);
        pen.setStyle(Qt::DashLine);
        pen.setWidthF(1.5);
        ink.setAlphaF(0.45);
        pen.setColor(ink);
        painter.setPen(pen);
        painter.setBrush(Qt::NoBrush);
        painter.drawRoundedRect(box, 10, 10);
    }

private:
    void answer(QDragMoveEvent *event)
    {
        if (m_takesDrops)
            event->acceptProposedAction();
        else
            event->ignore();
    }
    void setHovered(bool hovered)
    {
        m_hovered = hovered;
        update();
    }

    bool m_dashed;
    bool m_hovered = false;
    bool m_takesDrops = true;
    Handler m_handler;
};

// What the popover shows of the rows it does not run.
constexpr qreal dimmedOpacity = 0.35;

} // namespace

DropWindow::DropWindow(QWidget *parent)
    : QWidget(parent, Qt::Window)
    , m_rowLayout(new QVBoxLayout)
{
    setWindowTitle(QStringLiteral("Korvane"));
    setObjectName(QStringLiteral("dropWindow"));
    QPalette tinted = palette();
    tinted.setColor(QPalette::Window, PopoverWindow::namedColor(QStringLiteral("dropHereBG"), PopoverWindow::isDarkPalette(palette())));
    setPalette(tinted);
    setAutoFillBackground(true);
    // A fixed size also makes tiling compositors float it instead of filling a tile with it.
    setFixedSize(280, 380);

    auto *area = new DropTarget(true, [this](const TransferData &pasteboard) { Q_EMIT dropped(pasteboard); });
    area->setMinimumHeight(110);
    auto *title = new QLabel(qtTrId("dropHere"));
    QFont font = title->font();
    font.setPointSizeF(font.pointSizeF() * 1.15);
    font.setBold(true);
    title->setFont(font);
    auto *info = new QLabel(qtTrId("dropWindowInfo"));
    info->setWordWrap(true);
    for (QLabel *label : {title, info}) {
        label->setAlignment(Qt::AlignCenter);
        // Labels must not take the drag away from the drop area under them.
        label->setAttribute(Qt::WA_TransparentForMouseEvents);
    }
    auto *areaLayout = new QVBoxLayout(area);
    areaLayout->setContentsMargins(16, 12, 16, 12);
    areaLayout->addStretch(1);
    areaLayout->addWidget(title);
    areaLayout->addWidget(info);
    areaLayout->addStretch(1);

    auto *rows = new QWidget;
    rows->setLayout(m_rowLayout);
    m_rowLayout->setContentsMargins(0, 0, 0, 0);
    m_rowLayout->setSpacing(2);
    auto *scroll = new QScrollArea;
    scroll->setWidget(rows);
    scroll->setWidgetResizable(true);
    scroll->setFrameShape(QFrame::NoFrame);
    scroll->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    scroll->viewport()->setAutoFillBackground(false);
    rows->setAutoFillBackground(false);
    const char *groups[] = {"dropWindowText", "dropWindowFiles"};
    for (int group = 0; group < 2; ++group) {
        m_groupHeaders[group] = new QLabel(qtTrId(groups[group]), rows);
        m_groupHeaders[group]->setObjectName(QStringLiteral("dropWindowGroup"));
        m_groupHeaders[group]->setContentsMargins(10, 4, 10, 0);
        m_groupHeaders[group]->setForegroundRole(QPalette::PlaceholderText);
        m_groupHeaders[group]->setAttribute(Qt::WA_TransparentForMouseEvents);
    }

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(10, 10, 10, 10);
    layout->setSpacing(8);
    layout->addWidget(area);
    layout->addWidget(scroll, 1);

    reloadActions();
}

void DropWindow::reloadActions()
{
    if (m_dragOver) {
        m_reloadWaits = true;
        return;
    }
    ActionStore *store = ActionStore::instance();
    const QList<DropListEntityPtr> drops = store->getDropsByCatalog(0) + store->getDropsByCatalog(1);
    // Rebuilt only when the list changed: a rebuild under a drag in progress takes the row
    // under the pointer away.
    QStringList shown;
    for (const DropListEntityPtr &drop : drops)
        shown.append(QStringLiteral("%1 %2 %3 %4").arg(drop->dropID()).arg(drop->catalog()).arg(drop->type()).arg(drop->title()));
    if (shown == m_shownActions && !m_rowLayout->isEmpty())
        return;
    m_shownActions = shown;
    while (QLayoutItem *item = m_rowLayout->takeAt(0)) {
        if (item->widget() != m_groupHeaders[0] && item->widget() != m_groupHeaders[1])
            delete item->widget();
        delete item;
    }
    m_rows.clear();
    for (const DropListEntityPtr &drop : drops) {
        const qint32 dropID = drop->dropID();
        auto *row = new DropTarget(false, [this, dropID](const TransferData &pasteboard) { Q_EMIT droppedOnAction(dropID, pasteboard); });
        row->setObjectName(QStringLiteral("dropWindowRow"));
        row->setMinimumHeight(38);
        auto *icon = new QLabel;
        icon->setPixmap(ActionIconProvider::iconForAction(drop->catalog(), drop->type(), 22, devicePixelRatioF()));
        auto *name = new QLabel(drop->title());
        // The window's width is fixed: a long title takes a second line, not a sideways scroll.
        name->setWordWrap(true);
        auto *rowLayout = new QHBoxLayout(row);
        rowLayout->setContentsMargins(10, 4, 10, 4);
        rowLayout->setSpacing(10);
        for (QLabel *label : {icon, name}) {
            label->setAttribute(Qt::WA_TransparentForMouseEvents);
            rowLayout->addWidget(label);
        }
        rowLayout->setStretchFactor(name, 1);
        m_rows.append({row, dropID, drop->catalog(), drop->supportTypes()});
    }
    if (drops.isEmpty()) {
        auto *empty = new QLabel(qtTrId("dropWindowEmpty"));
        empty->setWordWrap(true);
        empty->setAlignment(Qt::AlignCenter);
        m_rowLayout->addWidget(empty);
    }
    m_rowLayout->addStretch(1);
    arrangeRows(nullptr);
}

void DropWindow::arrangeRows(const QMimeData *dragged)
{
    m_arrangedForDrag = dragged;
    QList<bool> fits(m_rows.size(), true);
    if (dragged) {
        const DropPayload data = DropPayload::classify(MimeDataConverter::fromMimeData(dragged));
        for (int i = 0; i < m_rows.size(); ++i)
            fits[i] = ActionCatalog::accepts(data, m_rows.at(i).catalog, m_rows.at(i).supportTypes);
    }
    // Two passes: text actions, then file actions; during a drag, those that fit, then the rest.
    QList<QWidget *> order;
    for (int pass = 0; pass < 2; ++pass) {
        bool groupShown = false;
        if (!dragged)
            order.append(m_groupHeaders[pass]);
        for (int i = 0; i < m_rows.size(); ++i) {
            if (dragged ? fits.at(i) != (pass == 0) : m_rows.at(i).catalog != pass)
                continue;
            order.append(m_rows.at(i).widget);
            groupShown = true;
        }
        m_groupHeaders[pass]->setVisible(!dragged && groupShown);
    }
    for (int i = 0; i < order.size(); ++i) {
        m_rowLayout->removeWidget(order.at(i));
        m_rowLayout->insertWidget(i, order.at(i));
    }
    for (int i = 0; i < m_rows.size(); ++i) {
        QGraphicsOpacityEffect *dimmed = nullptr;
        if (!fits.at(i)) {
            dimmed = new QGraphicsOpacityEffect;
            dimmed->setOpacity(dimmedOpacity);
        }
        m_rows.at(i).widget->setGraphicsEffect(dimmed);
        static_cast<DropTarget *>(m_rows.at(i).widget)->setTakesDrops(fits.at(i));
    }
    // Now, not when the event loop next runs: a compositor may hand over several moves of
    // the drag at once, and each looks for the row under the pointer.
    m_rowLayout->activate();
}

void DropWindow::dragEnded()
{
    if (m_dragOver)
        return;
    arrangeRows(nullptr);
    if (m_reloadWaits) {
        m_reloadWaits = false;
        reloadActions();
    }
}

bool DropWindow::eventFilter(QObject *watched, QEvent *event)
{
    // The window as a whole: one enter when a drag comes over it, one leave or drop when it
    // goes, whichever of its parts the drag crosses meanwhile.
    if (watched != windowHandle())
        return QWidget::eventFilter(watched, event);
    if (event->type() == QEvent::DragEnter) {
        m_dragOver = true;
        m_arrangedForDrag = false;
        // Reading the data waits for the drag source (X11 asks it for the selection), which
        // may drop before it hears back: it first hears that the window takes the drag, and
        // the rows move right after. The pointer only watches whether the data outlives that.
        QPointer<QMimeData> dragged(const_cast<QMimeData *>(static_cast<QDragEnterEvent *>(event)->mimeData()));
        QTimer::singleShot(0, this, [this, dragged] {
            if (m_dragOver && dragged)
                arrangeRows(dragged);
        });
    } else if (event->type() == QEvent::DragLeave) {
        m_dragOver = false;
        QTimer::singleShot(0, this, &DropWindow::dragEnded);
    } else if (event->type() == QEvent::Drop) {
        // The toolkit drops on the part that took the last move, and the rows may have moved
        // under the pointer since: the part the user sees there takes the drop, and the
        // toolkit's own target hears that the drag left.
        auto *drop = static_cast<QDropEvent *>(event);
        // A drop may come before the rows were arranged for its drag (a compositor that hands
        // over the enter, the moves and the drop at once): they are arranged first, so the drop
        // lands on the row the drag's moves were answered for.
        if (!m_arrangedForDrag)
            arrangeRows(drop->mimeData());
        QWidget *under = childAt(drop->position().toPoint());
        while (under && !dynamic_cast<DropTarget *>(under))
            under = under->parentWidget();
        const auto row = std::find_if(m_rows.cbegin(), m_rows.cend(), [under](const Row &row) { return row.widget == under; });
        const bool takes = under && static_cast<DropTarget *>(under)->takesDrops();
        if (row != m_rows.cend())
            qCInfo(lcShell, "a drop on the drop window's row of action %d%s", row->dropID, takes ? "" : ", which does not take it");
        else if (under)
            qCInfo(lcShell, "a drop on the drop window's drop area");
        else
            qCWarning(lcShell, "a drop on the drop window at %d,%d fell on none of its parts and was refused",
                      drop->position().toPoint().x(), drop->position().toPoint().y());
        if (takes)
            static_cast<DropTarget *>(under)->takeDrop(drop);
        else
            drop->ignore();
        QDragLeaveEvent leave;
        QCoreApplication::sendEvent(windowHandle(), &leave);
        return true;
    }
    return QWidget::eventFilter(watched, event);
}

bool DropWindow::event(QEvent *event)
{
    // The editor or the command line may have changed the list while the window stayed open.
    if (event->type() == QEvent::WindowActivate)
        reloadActions();
    // Drags reach the window's widgets through its platform window, which exists once shown.
    if (event->type() == QEvent::Show)
        windowHandle()->installEventFilter(this);
    return QWidget::event(event);
}
