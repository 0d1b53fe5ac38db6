#include "shell/dropwindow.h"

#include "shell/actioniconprovider.h"
#include "store/droplistentity.h"
#include "store/korvanecoredatahelper.h"
#include "shell/korvanenotificationcenter.h"
#include "platform/mimedatapasteboard.h"
#include "widgets/popoverwindow.h"

#include <QDragEnterEvent>
#include <QDropEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QScrollArea>
#include <QTimer>
#include <QVBoxLayout>

#include <functional>

namespace {

// A part of the window that takes every drag and hands the dropped data on. The data is
// read while the drop lasts: the drag's MIME data is gone after it.
class DropTarget final : public QWidget
{
public:
    using Handler = std::function<void(const KorvanePasteboard &)>;

    DropTarget(bool dashed, Handler handler)
        : m_dashed(dashed)
        , m_handler(std::move(handler))
    {
        setAcceptDrops(true);
    }

protected:
    void dragEnterEvent(QDragEnterEvent *event) override
    {
        event->acceptProposedAction();
        setHovered(true);
    }
    void dragLeaveEvent(QDragLeaveEvent *) override { setHovered(false); }
    void dropEvent(QDropEvent *event) override
    {
        setHovered(false);
        event->acceptProposedAction();
        const KorvanePasteboard pasteboard = MimeDataPasteboard::fromMimeData(event->mimeData());
        // Popovers open after the drag source has heard the drop went well. The call is queued
        // on the window, which outlives this row: the rows are rebuilt when the list changes,
        // and that may happen between the drop and the call.
        QTimer::singleShot(0, window(), [handler = m_handler, pasteboard] { handler(pasteboard); });
    }
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
    void setHovered(bool hovered)
    {
        m_hovered = hovered;
        update();
    }

    bool m_dashed;
    bool m_hovered = false;
    Handler m_handler;
};

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

    auto *area = new DropTarget(true, [this](const KorvanePasteboard &pasteboard) { Q_EMIT dropped(pasteboard); });
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
    scroll->viewport()->setAutoFillBackground(false);
    rows->setAutoFillBackground(false);

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(10, 10, 10, 10);
    layout->setSpacing(8);
    layout->addWidget(area);
    layout->addWidget(scroll, 1);

    KorvaneNotificationCenter::defaultCenter()->observe(QStringLiteral("reloadPreview"), this, [this](const QVariantMap &) { reloadActions(); });
    reloadActions();
}

void DropWindow::reloadActions()
{
    KorvaneCoreDataHelper *store = KorvaneCoreDataHelper::shareInstance();
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
        delete item->widget();
        delete item;
    }
    for (const DropListEntityPtr &drop : drops) {
        const qint32 dropID = drop->dropID();
        auto *row = new DropTarget(false, [this, dropID](const KorvanePasteboard &pasteboard) { Q_EMIT droppedOnAction(dropID, pasteboard); });
        row->setObjectName(QStringLiteral("dropWindowRow"));
        row->setMinimumHeight(38);
        auto *icon = new QLabel;
        icon->setPixmap(ActionIconProvider::iconForAction(drop->catalog(), drop->type(), 22, devicePixelRatioF()));
        auto *name = new QLabel(drop->title());
        auto *rowLayout = new QHBoxLayout(row);
        rowLayout->setContentsMargins(10, 4, 10, 4);
        rowLayout->setSpacing(10);
        for (QLabel *label : {icon, name}) {
            label->setAttribute(Qt::WA_TransparentForMouseEvents);
            rowLayout->addWidget(label);
        }
        rowLayout->addStretch(1);
        m_rowLayout->addWidget(row);
    }
    if (drops.isEmpty()) {
        auto *empty = new QLabel(qtTrId("dropWindowEmpty"));
        empty->setWordWrap(true);
        empty->setAlignment(Qt::AlignCenter);
        m_rowLayout->addWidget(empty);
    }
    m_rowLayout->addStretch(1);
}

bool DropWindow::event(QEvent *event)
{
    // The editor or the command line may have changed the list while the window stayed open.
    if (event->type() == QEvent::WindowActivate)
        reloadActions();
    return QWidget::event(event);
}
