#include "shell/actionlistpopup.h"

#include "shell/actioniconprovider.h"
#include "shell/actionrow.h"
#include "store/droplistentity.h"
#include "widgets/flatbutton.h"
#include "store/actionstore.h"
#include "intake/droppayload.h"
#include "shell/updatedialog.h"
#include "shell/userguide.h"
#include "shell/shelllogging.h"

#include <QApplication>
#include <QDropEvent>
#include <QFrame>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QIcon>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QLoggingCategory>
#include <QMenu>
#include <QPointer>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QTimer>
#include <QToolButton>
#include <QVBoxLayout>

#include <algorithm>
#include <limits>
#include <utility>

namespace {

// A text longer than this shows only its start in the field; the record keeps all of it.
const int previewLength = 2000;

// Wide enough for the longest default title in either language beside its shortcut.
const int popoverWidth = 300;
const int headerHeight = 46;
const int footerHeight = 36;
// The list is never taller than this share of the screen's free height.
const double maxScreenShare = 0.8;
// While a drag rests this near the list's top or bottom edge the list scrolls, by the step
// every tick.
const int autoScrollEdge = ActionRow::rowHeight / 2;
const int autoScrollStep = 8;
const int autoScrollInterval = 30;

// The row a digit key runs, or -1. The digits are keys of the popover while it has focus, not
// global grabs: desktops keep Super+digit for themselves, so Alt+digit always works and
// Super+digit where it arrives.
int digitRow(const QKeyEvent *key)
{
    const Qt::KeyboardModifiers modifiers = key->modifiers() & ~Qt::KeypadModifier;
    if ((modifiers != Qt::AltModifier && modifiers != Qt::MetaModifier) || key->key() < Qt::Key_0 || key->key() > Qt::Key_9)
        return -1;
    return key->key() == Qt::Key_0 ? 9 : key->key() - Qt::Key_1;
}

bool isDark(const QPalette &palette)
{
    return palette.color(QPalette::Window).lightness() < 128;
}

} // namespace

ActionListPopup::ActionListPopup(QWidget *parent)
    : QWidget(parent)
    , m_typeImageView(new QLabel)
    , m_topTitleLabel(new QLineEdit)
    , m_scrollArea(new QScrollArea)
    , m_listWidget(new QWidget)
    , m_listLayout(new QVBoxLayout(m_listWidget))
    , m_placeholder(new QWidget)
    , m_placeLabel(new QLabel(qtTrId("nothingRecognised")))
    , m_subPlaceLabel(new QLabel(qtTrId("nothingRecognisedInfo")))
    , m_placeImageView(new QLabel)
    , m_bottomView(new QWidget)
    , m_settingsButton(new QToolButton)
    , m_autoScroll(new QTimer(this))
{
    setObjectName(QStringLiteral("mainContentView"));
    auto *header = new QWidget;
    header->setFixedHeight(headerHeight);
    auto *top = new QHBoxLayout(header);
    top->setContentsMargins(12, 8, 12, 6);
    m_typeImageView->setFixedSize(22, 22);
    top->addWidget(m_typeImageView);
    m_topTitleLabel->setPlaceholderText(qtTrId("typeSomething"));
    m_topTitleLabel->setAccessibleName(qtTrId("typeSomething"));
    m_topTitleLabel->installEventFilter(this);
    top->addWidget(m_topTitleLabel);
    connect(m_topTitleLabel, &QLineEdit::textEdited, this, &ActionListPopup::controlTextDidChange);

    m_listLayout->setContentsMargins(0, 0, 0, 0);
    m_listLayout->setSpacing(0);
    m_listLayout->addStretch();
    m_listWidget->setFocusPolicy(Qt::StrongFocus);
    m_listWidget->installEventFilter(this);
    m_scrollArea->setWidget(m_listWidget);
    m_scrollArea->setWidgetResizable(true);
    m_scrollArea->setFrameShape(QFrame::NoFrame);
    m_scrollArea->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_scrollArea->viewport()->setAutoFillBackground(false);
    m_listWidget->setAutoFillBackground(false);

    auto *placeLayout = new QVBoxLayout(m_placeholder);
    placeLayout->addStretch();
    m_placeImageView->setAlignment(Qt::AlignCenter);
    placeLayout->addWidget(m_placeImageView);
    QFont big = m_placeLabel->font();
    big.setPointSizeF(big.pointSizeF() * 1.2);
    big.setBold(true);
    m_placeLabel->setFont(big);
    for (QLabel *label : {m_placeLabel, m_subPlaceLabel}) {
        label->setAlignment(Qt::AlignCenter);
        label->setWordWrap(true);
        placeLayout->addWidget(label);
    }
    placeLayout->addStretch();

    // The footer is part of the popover: a rule above it, the popover's own background.
    auto *footer = new QVBoxLayout(m_bottomView);
    footer->setContentsMargins(0, 0, 0, 0);
    footer->setSpacing(0);
    auto *rule = new QFrame;
    rule->setFrameShape(QFrame::HLine);
    rule->setFrameShadow(QFrame::Sunken);
    footer->addWidget(rule);
    auto *bottom = new QHBoxLayout;
    footer->addLayout(bottom, 1);
    bottom->setContentsMargins(10, 2, 10, 2);
    bottom->addStretch();
    m_settingsButton->setIcon(QIcon::fromTheme(QStringLiteral("configure"),
                                               QIcon::fromTheme(QStringLiteral("preferences-system"), QIcon(QStringLiteral(":/images/settings.svg")))));
    m_settingsButton->setToolButtonStyle(Qt::ToolButtonIconOnly);
    m_settingsButton->setAccessibleName(qtTrId("settings"));
    m_settingsButton->setAutoRaise(true);
    m_settingsButton->setToolTip(qtTrId("settings"));
    bottom->addWidget(m_settingsButton);
    m_bottomView->setFixedHeight(footerHeight);
    connect(m_settingsButton, &QToolButton::clicked, this, &ActionListPopup::settingButtonClick);

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(header);
    layout->addWidget(m_scrollArea, 1);
    layout->addWidget(m_placeholder, 1);
    layout->addWidget(m_bottomView);

    m_autoScroll->setInterval(autoScrollInterval);
    connect(m_autoScroll, &QTimer::timeout, this, &ActionListPopup::autoScroll);

    qCInfo(lcShell, "apperanceMode : %s", isDark(palette()) ? "Dark" : "Light");
    darkModeChanged();
    showPayload(DropPayload(), -1);
}

ActionListPopup::~ActionListPopup() = default;

int ActionListPopup::heightForRows(int rowCount, int screenHeight)
{
    const double h = maxScreenShare * screenHeight;
    const int needed = ActionRow::rowHeight * rowCount + 86;
    return h < needed ? int(h) : ActionRow::rowHeight * rowCount + 96;
}

int ActionListPopup::availableScreenHeight()
{
    const QScreen *screen = QGuiApplication::primaryScreen();
    return screen ? screen->availableGeometry().height() : 900;
}

bool ActionListPopup::placeholderShown() const
{
    return !m_placeholder->isHidden();
}

void ActionListPopup::showPlaceholder(bool show)
{
    m_placeholder->setVisible(show);
    m_scrollArea->setVisible(!show);
    m_typeImageView->setVisible(!show);
}

void ActionListPopup::setTypeImage(bool text)
{
    m_typeImageView->setPixmap(ActionIconProvider::typeImage(text, 22, palette().color(QPalette::WindowText), devicePixelRatioF()));
}

void ActionListPopup::showPayload(const DropPayload &payload, int runningRow)
{
    if (runningRow >= 0)
        return;
    m_payload = payload;
    ActionStore *store = ActionStore::instance();
    if (m_payload.dataCatalog() == DataCatalogNone) {
        showEmpty("nothingRecognised", "nothingRecognisedInfo");
        return;
    }
    showPlaceholder(false);
    if (m_payload.dataCatalog() == DataCatalogText) {
        setTypeImage(true);
        m_topTitleLabel->setText(m_payload.textString().left(previewLength));
        m_topTitleLabel->setCursorPosition(0);
    } else {
        setTypeImage(false);
        const qint64 images = m_payload.imgFileUrls().size();
        const qint64 folders = m_payload.folderFileUrls().size();
        // Image data fills no file list, so it counts as a file.
        m_topTitleLabel->setText(countTitle(std::max<qint64>(0, m_payload.itemsCount() - images - folders), folders, images));
    }
    m_dropList = store->dropsOffering(m_payload);
    if (m_needBecomeFirstRes)
        m_topTitleLabel->setFocus();
    reloadData();
    forEachRow([](ActionRow *row) { row->putOut(); });

    setFixedSize(popoverWidth, heightForRows(int(m_dropList.size()), availableScreenHeight()));
}

QString ActionListPopup::countTitle(qint64 files, qint64 folders, qint64 images)
{
    QStringList parts;
    const std::pair<const char *, qint64> counts[] = {{"imagesNumber", images}, {"fileNumber", files}, {"folderNumber", folders}};
    for (const auto &[key, count] : counts) {
        if (count > 0)
            parts.append(qtTrId(key, int(std::min<qint64>(count, std::numeric_limits<int>::max()))));
    }
    switch (parts.size()) {
    case 0:
        return QString();
    case 1:
        return parts.first();
    case 2:
        return qtTrId("countPair").arg(parts.at(0), parts.at(1));
    default:
        return qtTrId("countTriple").arg(parts.at(0), parts.at(1), parts.at(2));
    }
}

void ActionListPopup::showClipboardState(ClipboardState state)
{
    if (state == ClipboardReading)
        showEmpty("clipboardReading", "clipboardReadingInfo");
    else
        showEmpty("clipboardUnreadable", "clipboardUnreadableInfo");
}

void ActionListPopup::showEmpty(const char *title, const char *info)
{
    m_dropList.clear();
    reloadData();
    setFixedSize(popoverWidth, 450);
    m_topTitleLabel->clear();
    m_placeLabel->setText(qtTrId(title));
    m_subPlaceLabel->setText(qtTrId(info));
    m_placeImageView->setPixmap(ActionIconProvider::typeImage(false, 64, palette().color(QPalette::PlaceholderText), devicePixelRatioF()));
    showPlaceholder(true);
}

void ActionListPopup::reloadData()
{
    qDeleteAll(m_rows);
    m_rows.clear();
    m_selectedRow = -1;
    for (int i = 0; i < m_dropList.size(); ++i) {
        auto *cell = new ActionRow(m_listWidget);
        cell->setRow(i);
        cell->setDropAction(m_dropList.at(i));
        cell->setPayloadSource([this](bool withEditedText) {
            // Only text the user typed or edited replaces what was dropped: the field may show
            // just the start of a long text.
            if (withEditedText && m_topTitleLabel->isModified() && !m_topTitleLabel->text().isEmpty())
                m_payload = DropPayload::fromText(m_topTitleLabel->text());
            return m_payload;
        });
        cell->installEventFilter(this);
        connect(cell, &ActionRow::runStateChanged, this, [this](int running, bool on) {
            forEachRow([running, on](ActionRow *row) { row->setRunningRow(running, on); });
            Q_EMIT runStateChanged(running, on);
        });
        connect(cell, &ActionRow::lightRequested, this, &ActionListPopup::lightRow);
        connect(cell, &ActionRow::editRequested, this, &ActionListPopup::editActionRequested);
        connect(cell, &ActionRow::menuDismissed, this, &ActionListPopup::rowMenuDismissed);
        m_listLayout->insertWidget(i, cell);
        m_rows.append(cell);
    }
}

void ActionListPopup::controlTextDidChange(const QString &text)
{
    if (text.isEmpty() || m_payload.dataCatalog() == DataCatalogText)
        return;
    m_payload.setDataCatalog(DataCatalogText);
    m_dropList = ActionStore::instance()->dropsOffering(m_payload);
    reloadData();
    showPlaceholder(false);
    setTypeImage(true);
    setFixedSize(popoverWidth, heightForRows(int(m_dropList.size()), availableScreenHeight()));
}

void ActionListPopup::selectRow(int row)
{
    if (m_rows.isEmpty())
        return;
    m_selectedRow = qBound(0, row, int(m_rows.size()) - 1);
    m_scrollArea->ensureWidgetVisible(m_rows.at(m_selectedRow));
    lightRow(m_selectedRow);
}

void ActionListPopup::forEachRow(const std::function<void(ActionRow *row)> &call)
{
    const QList<QPointer<ActionRow>> rows(m_rows.cbegin(), m_rows.cend());
    for (const QPointer<ActionRow> &row : rows) {
        if (row)
            call(row);
    }
}

void ActionListPopup::lightRow(int row)
{
    forEachRow([row](ActionRow *cell) { cell->setLitRow(row); });
}

void ActionListPopup::runShortcut(int row)
{
    forEachRow([row](ActionRow *cell) { cell->runShortcut(row); });
}

void ActionListPopup::runLitRow()
{
    forEachRow([](ActionRow *cell) { cell->runIfLit(); });
}

bool ActionListPopup::startRowOf(qint32 dropID, const DropPayload &payload)
{
    for (ActionRow *row : std::as_const(m_rows)) {
        if (row->dropAction() && row->dropAction()->dropID() == dropID)
            return row->start(payload);
    }
    return false;
}

ActionRow *ActionListPopup::rowAt(const QPoint &globalPos) const
{
    for (ActionRow *row : m_rows) {
        if (row->rect().contains(row->mapFromGlobal(globalPos)))
            return row;
    }
    return nullptr;
}

void ActionListPopup::autoScroll()
{
    const QWidget *viewport = m_scrollArea->viewport();
    const QPoint at = viewport->mapFromGlobal(m_dragPos);
    int step = 0;
    if (at.y() < autoScrollEdge)
        step = -autoScrollStep;
    else if (at.y() >= viewport->height() - autoScrollEdge)
        step = autoScrollStep;
    if (!m_dragging || step == 0 || !viewport->rect().contains(at)) {
        m_autoScroll->stop();
        return;
    }
    QScrollBar *bar = m_scrollArea->verticalScrollBar();
    const int before = bar->value();
    bar->setValue(before + step);
    if (bar->value() == before)
        return;
    // The rows move under a pointer that rests: the light moves to the row now under it.
    const ActionRow *under = rowAt(m_dragPos);
    lightRow(under ? under->row() : -1);
}

bool ActionListPopup::dragEventFilter(ActionRow *row, QEvent *event)
{
    switch (event->type()) {
    case QEvent::DragEnter:
    case QEvent::DragMove:
        m_dragPos = row->mapToGlobal(static_cast<QDragMoveEvent *>(event)->position().toPoint());
        m_dragging = true;
        if (!m_autoScroll->isActive())
            m_autoScroll->start();
        return false;
    case QEvent::DragLeave:
        m_dragging = false;
        return false;
    case QEvent::Drop: {
        m_dragging = false;
        m_autoScroll->stop();
        // The toolkit hands the drop to the row that had the last move; after the list has
        // scrolled under a resting pointer that is no longer the row under it.
        auto *drop = static_cast<QDropEvent *>(event);
        const QPoint global = row->mapToGlobal(drop->position().toPoint());
        ActionRow *under = rowAt(global);
        if (!under || under == row)
            return false;
        // A drop event sent on would go back to the toolkit's target row.
        drop->setDropAction(Qt::CopyAction);
        drop->accept();
        under->performDragOperation();
        return true;
    }
    default:
        return false;
    }
}

bool ActionListPopup::eventFilter(QObject *watched, QEvent *event)
{
    if (auto *row = qobject_cast<ActionRow *>(watched))
        return dragEventFilter(row, event) || QWidget::eventFilter(watched, event);
    if (event->type() == QEvent::KeyPress) {
        auto *key = static_cast<QKeyEvent *>(event);
        if (const int row = digitRow(key); row >= 0) {
            runShortcut(row);
            return true;
        }
        if (watched == m_topTitleLabel && key->key() == Qt::Key_Down) {
            qCDebug(lcShell, "str:moveDown:");
            m_listWidget->setFocus();
            selectRow(0);
            return true;
        }
        if (watched == m_listWidget && (key->key() == Qt::Key_Down || key->key() == Qt::Key_Up)) {
            selectRow(m_selectedRow + (key->key() == Qt::Key_Down ? 1 : -1));
            return true;
        }
    }
    if (event->type() == QEvent::KeyRelease && watched == m_listWidget) {
        auto *key = static_cast<QKeyEvent *>(event);
        if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) {
            runLitRow();
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

void ActionListPopup::keyPressEvent(QKeyEvent *event)
{
    if (const int row = digitRow(event); row >= 0)
        runShortcut(row);
    else
        QWidget::keyPressEvent(event);
}

void ActionListPopup::keyReleaseEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter)
        runLitRow();
    QWidget::keyReleaseEvent(event);
}

void ActionListPopup::hideEvent(QHideEvent *event)
{
    QWidget::hideEvent(event);
    UpdateChecker::checkAutomatically();
}

void ActionListPopup::settingButtonClick()
{
    if (!m_amenu) {
        m_amenu = std::make_unique<QMenu>();
        m_amenu->addAction(qtTrId("editActions"), QKeySequence(QStringLiteral("Ctrl+,")), this, &ActionListPopup::openActionEditor);
        m_amenu->addAction(qtTrId("preferences"), this, &ActionListPopup::openPreferences);
        m_amenu->addSeparator();
        m_amenu->addAction(QIcon::fromTheme(QStringLiteral("help-contents")), qtTrId("help"), QKeySequence::HelpContents, this, &UserGuide::open);
        m_amenu->addAction(qtTrId("about"), this, &ActionListPopup::openAbout);
        m_amenu->addSeparator();
        m_amenu->addAction(qtTrId("quitKorvane"), QKeySequence(QStringLiteral("Ctrl+Q")), this, &ActionListPopup::quitApp);
    }
    m_amenu->popup(m_settingsButton->mapToGlobal(QPoint(12, 12)));
}

void ActionListPopup::changeEvent(QEvent *event)
{
    if (event->type() == QEvent::PaletteChange)
        darkModeChanged();
    QWidget::changeEvent(event);
}

void ActionListPopup::darkModeChanged()
{
    if (m_payload.dataCatalog() != DataCatalogNone)
        setTypeImage(m_payload.dataCatalog() == DataCatalogText);
}
