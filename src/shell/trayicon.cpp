#include "shell/trayicon.h"

#include "actions/actionreply.h"
#include "shell/dropherepopup.h"
#include "shell/dropherearea.h"
#include "store/droplistentity.h"
#include "intake/actioncatalog.h"
#include "store/actionstore.h"
#include "platform/qt/desktopplatform.h"
#include "platform/dragmonitor.h"
#include "intake/droppayload.h"
#include "platform/notifier.h"
#include "intake/transferdata.h"
#include "platform/clipboard.h"
#include "platform/platform.h"
#include "shell/actionlistpopup.h"
#include "widgets/popoverwindow.h"
#include "shortcuts/globalshortcutregistry.h"
#include "platform/dbus/statusnotifiertracker.h"
#include "shell/trayglyph.h"
#include "shell/userguide.h"
#include "shell/shelllogging.h"

#include <QApplication>
#include <QCursor>
#include <QGuiApplication>
#include <QIcon>
#include <QLineEdit>
#include <QLoggingCategory>
#include <QMenu>
#include <QPointer>
#include <QScreen>
#include <QSystemTrayIcon>
#include <QTimer>
#include <QWindow>

#include <algorithm>
#include <utility>

namespace {

// How long the list may take to get the keyboard focus the clipboard needs on Wayland.
constexpr int kClipboardFocusLimitMs = 5000;

// About a panel icon's size: how much of the panel a reported icon position stands for.
constexpr int kReportedIconSize = 24;

// The glyph's colours for the panel that shows the tray icon, looked at each time the tray
// draws it. An XEmbed tray gives the icon's square, whose free edges show the panel; a
// StatusNotifier host keeps the icon's place to itself: around where it last reported it,
// else along the panel's strip a little inside its edges.
TrayGlyph::Style trayGlyphStyle(const QSystemTrayIcon *tray, const StatusNotifierTracker *tracker)
{
    const QRect icon = tray ? tray->geometry() : QRect();
    if (icon.isValid() && !icon.isEmpty())
        return TrayGlyph::styleFor(DesktopPlatform::trayForeground(), DesktopPlatform::panelBackground(icon));
    if (const std::optional<QPoint> known = tracker ? tracker->lastKnownIconPosition() : std::nullopt) {
        const QRect around(*known - QPoint(kReportedIconSize / 2, kReportedIconSize / 2), QSize(kReportedIconSize, kReportedIconSize));
        return TrayGlyph::styleFor(std::nullopt, DesktopPlatform::panelBackground(around));
    }
    const QRect panel = DesktopPlatform::panelEdge(QGuiApplication::primaryScreen());
    return TrayGlyph::styleFor(std::nullopt, panel.isEmpty() ? std::nullopt : DesktopPlatform::panelBackground(panel.adjusted(2, 2, -2, -2)));
}

QIcon trayIcon(const QString &name, QSystemTrayIcon *tray, StatusNotifierTracker *tracker)
{
    return TrayGlyph::icon(name, [tray = QPointer(tray), tracker = QPointer(tracker)] { return trayGlyphStyle(tray, tracker); });
}

// Whether one of Korvane's windows is at the point, by their frames: asking the window system
// finds the drag icon most file managers keep under the pointer instead.
bool ownWindowAt(const QPoint &point)
{
    const QWidgetList windows = QApplication::topLevelWidgets();
    return std::any_of(windows.cbegin(), windows.cend(), [&point](const QWidget *window) {
        return window->isVisible() && window->frameGeometry().contains(point);
    });
}

// What a popover points at for a point of the desktop: across the panel's whole thickness
// when the point is on a panel, so the popover opens beside the panel, not over it.
QRect anchorAt(const QPoint &point)
{
    const QRect panel = DesktopPlatform::panelEdge(QGuiApplication::screenAt(point));
    if (!panel.contains(point))
        return QRect(point, QSize(1, 1));
    if (panel.width() >= panel.height())
        return QRect(point.x(), panel.top(), 1, panel.height());
    return QRect(panel.left(), point.y(), panel.width(), 1);
}

} // namespace

TrayIcon::TrayIcon()
    : m_statusNotifier(new StatusNotifierTracker(this))
    , m_statusItem(new QSystemTrayIcon(this))
    , m_lastDate(QDateTime::currentDateTime())
{
    m_statusItem->setIcon(trayIcon(QStringLiteral("menubarIcon"), m_statusItem, m_statusNotifier));
    m_statusItem->setToolTip(QStringLiteral("Korvane"));
    connect(m_statusItem, &QSystemTrayIcon::activated, this, [this](QSystemTrayIcon::ActivationReason reason) {
        if (reason == QSystemTrayIcon::Trigger || reason == QSystemTrayIcon::DoubleClick)
            iconActivated();
    });
    m_trayMenu = std::make_unique<QMenu>();
    m_trayMenu->addAction(qtTrId("editActions"), this, [this] { Q_EMIT openPreferencesRequested(0); });
    m_trayMenu->addAction(qtTrId("preferences"), this, [this] { Q_EMIT openPreferencesRequested(1); });
    m_trayMenu->addAction(qtTrId("dropWindow"), this, &TrayIcon::openDropWindowRequested);
    m_trayMenu->addSeparator();
    m_trayMenu->addAction(QIcon::fromTheme(QStringLiteral("help-contents")), qtTrId("help"), this, &UserGuide::open);
    m_trayMenu->addAction(qtTrId("about"), this, &TrayIcon::openAboutRequested);
    m_trayMenu->addSeparator();
    m_trayMenu->addAction(qtTrId("quitKorvane"), qApp, &QCoreApplication::quit);
    m_statusItem->setContextMenu(m_trayMenu.get());
    m_statusItem->show();

    m_contentView = new DropHerePopup;
    m_dropHerePopover = new PopoverWindow;
    m_dropHerePopover->setContentWidget(m_contentView);
    m_dropHerePopover->setBackgroundColorName(QStringLiteral("dropHereBG"));
    m_dropHerePopover->setWindowTitle(QStringLiteral("Korvane drop here"));
    // The drop-here popover must not take the focus from the window the drag comes from.
    m_dropHerePopover->setAttribute(Qt::WA_ShowWithoutActivating);

    m_focusDeadline = new QTimer(this);
    m_focusDeadline->setSingleShot(true);
    m_focusDeadline->setInterval(kClipboardFocusLimitMs);
    connect(m_focusDeadline, &QTimer::timeout, this, &TrayIcon::clipboardFocusTimedOut);
    connect(qGuiApp, &QGuiApplication::focusWindowChanged, this, [this](QWindow *window) {
        if (!m_mainPopover || !window || window != m_mainPopover->windowHandle())
            return;
        // A late focus still reads the clipboard, even after the list said it could not.
        if (m_pendingClipboardDrop)
            runPendingClipboardAction();
        else if (m_clipboardUnread && m_mainPopover->isShown())
            readClipboardIntoList();
    });

    addEvent();
}

TrayIcon::~TrayIcon()
{
    delete m_dropHerePopover;
    delete m_mainPopover;
}

void TrayIcon::addEvent()
{
    m_dragMonitor = DesktopPlatform::createDragMonitor();
    connect(m_dragMonitor.get(), &DragMonitor::dragMoved, this, &TrayIcon::checkMouseIsNearApp);
    connect(m_dragMonitor.get(), &DragMonitor::dragEnded, this, [this] {
        // A drag let go outside Korvane's windows closes the list; one let go on the drop
        // window was a drop that opened it. The drop-here popover takes no drop: its drag is
        // over wherever it ended.
        if (m_popoverController && m_popoverController->isShown()
            && (m_popoverController == m_dropHerePopover || !ownWindowAt(QCursor::pos())))
            hidePopover();
    });

    connect(m_contentView->area(), &DropHereArea::dragClassified, this, &TrayIcon::showListForDrop);
    GlobalShortcutRegistry *shortcuts = GlobalShortcutRegistry::instance();
    connect(shortcuts, &GlobalShortcutRegistry::wakeActivated, this, &TrayIcon::toggleClipboardList);
    connect(shortcuts, &GlobalShortcutRegistry::actionActivated, this, &TrayIcon::runActionOnClipboard);
}

ActionListPopup *TrayIcon::mainContentView()
{
    if (!m_mainContentView) {
        m_mainContentView = new ActionListPopup;
        connect(m_mainContentView, &ActionListPopup::openAbout, this, [this] {
            hidePopover();
            Q_EMIT openAboutRequested();
        });
        connect(m_mainContentView, &ActionListPopup::openActionEditor, this, [this] {
            hidePopover();
            Q_EMIT openPreferencesRequested(0);
        });
        connect(m_mainContentView, &ActionListPopup::openPreferences, this, [this] {
            hidePopover();
            Q_EMIT openPreferencesRequested(1);
        });
        connect(m_mainContentView, &ActionListPopup::quitApp, qApp, &QCoreApplication::quit);
        connect(m_mainContentView, &ActionListPopup::runStateChanged, this, &TrayIcon::rowRunStateChanged);
        connect(m_mainContentView, &ActionListPopup::rowMenuDismissed, this, &TrayIcon::hidePopover);
        connect(m_mainContentView, &ActionListPopup::editActionRequested, this, [this](const DropListEntityPtr &drop) {
            hidePopover();
            Q_EMIT editActionRequested(drop);
        });
        m_mainPopover = new PopoverWindow;
        m_mainPopover->setContentWidget(m_mainContentView);
        m_mainPopover->setBackgroundColorName(QStringLiteral("customStatusBG"));
        m_mainPopover->setWindowTitle(QStringLiteral("Korvane actions"));
        connect(m_mainPopover, &PopoverWindow::closed, this, [] { qCInfo(lcShell, "the list closed"); });
    }
    return m_mainContentView;
}

QRect TrayIcon::statusItemRect() const
{
    const QRect geometry = m_statusItem->geometry();
    if (geometry.isValid() && !geometry.isEmpty())
        return geometry;
    if (const std::optional<QPoint> known = m_statusNotifier->lastKnownIconPosition())
        return QRect(*known - QPoint(kReportedIconSize / 2, kReportedIconSize / 2), QSize(kReportedIconSize, kReportedIconSize));
    return DesktopPlatform::panelEdge(QGuiApplication::primaryScreen());
}

QRect TrayIcon::dropTargetRect() const
{
    // The icon's place grown by 100 pixels to each side and 100 towards the middle of the
    // screen: what lies beyond the screen's edge cannot be reached anyway.
    const QRect icon = statusItemRect();
    if (icon.isEmpty())
        return QRect();
    const QScreen *screen = QGuiApplication::screenAt(icon.center());
    const QRect grown = icon.adjusted(-100, -100, 100, 100);
    return screen ? grown & screen->geometry() : grown;
}

QRect TrayIcon::popoverAnchor() const
{
    const QRect geometry = m_statusItem->geometry();
    if (geometry.isValid() && !geometry.isEmpty())
        return geometry;
    if (!DesktopPlatform::placesWindows())
        return QRect();
    // The list a drop opens takes the drop-here popover's place.
    if (m_popoverController == m_dropHerePopover || m_hangAction) {
        if (const std::optional<QPoint> known = m_statusNotifier->lastKnownIconPosition())
            return anchorAt(*known);
        // The drag came near the panel's strip: point at the panel where it came.
        const QRect panel = statusItemRect();
        if (panel.isEmpty())
            return anchorAt(m_dragPos);
        return anchorAt(QPoint(std::clamp(m_dragPos.x(), panel.left(), panel.right()),
                               std::clamp(m_dragPos.y(), panel.top(), panel.bottom())));
    }
    // A click places the popover where the host saw it; a hotkey where the icon was seen.
    const std::optional<QPoint> reported = m_fromActivation ? m_statusNotifier->lastReportedPosition()
                                                            : m_statusNotifier->lastKnownIconPosition();
    return anchorAt(reported ? *reported : QCursor::pos());
}

void TrayIcon::checkMouseIsNearApp(const QPoint &pos)
{
    if (m_hangAction)
        return;
    if (!dropTargetRect().contains(pos) || (m_popoverController && m_popoverController->isShown()))
        return;
    const qint64 count = m_dragMonitor->changeCount();
    qCDebug(lcShell, "pbcount:%lld --- before:%lld", count, m_lastChangeCount);
    if (count == m_lastChangeCount)
        return;
    m_lastDate = QDateTime::currentDateTime();
    m_lastChangeCount = count;
    m_dragPos = pos;
    m_needBecomeFirstRes = false;
    showPopoverWith(m_contentView, QStringLiteral("dropHereBG"));
    qCInfo(lcShell, "drop-here popover opened for drag %lld", count);
}

void TrayIcon::showPopoverWith(QWidget *content, const QString &colorName)
{
    PopoverWindow *popover = content == m_contentView ? m_dropHerePopover : m_mainPopover;
    popover->setBackgroundColorName(colorName);
    m_popoverController = popover;
    showPopover();
}

void TrayIcon::showPopover()
{
    if (!m_popoverController || m_popoverController->isShown())
        return;
    if (m_mainContentView && m_popoverController == m_mainPopover) {
        m_mainContentView->topTitleLabel()->setFocusPolicy(m_needBecomeFirstRes ? Qt::StrongFocus : Qt::ClickFocus);
        m_mainContentView->setNeedBecomeFirstResponder(m_needBecomeFirstRes);
    }
    m_popoverController->showRelativeToRect(popoverAnchor());
    if (m_needBecomeFirstRes && m_popoverController == m_mainPopover) {
        QTimer::singleShot(200, this, [this] {
            if (m_popoverController == m_mainPopover && m_mainPopover->isShown()) {
                m_mainPopover->activateWindow();
                m_mainContentView->topTitleLabel()->setFocus();
            }
        });
    }
}

void TrayIcon::hidePopover()
{
    m_clipboardUnread = false;
    if (m_popoverController)
        m_popoverController->forceClose();
    m_popoverController = nullptr;
}

void TrayIcon::showListForDrop(const DropPayload &payload)
{
    if (m_hangAction) {
        qCInfo(lcShell, "a drop right after the last one is left alone");
        return;
    }
    m_hangAction = true;
    m_dropHerePopover->forceClose();
    m_popoverController = nullptr;
    mainContentView()->showPayload(payload, int(m_currentRow));
    m_needBecomeFirstRes = false;
    showPopoverWith(m_mainContentView, QStringLiteral("customStatusBG"));
    qCInfo(lcShell, "the list for a drop shows %lld actions", qint64(m_mainContentView->dropList().size()));
    QTimer::singleShot(150, this, [this] { m_hangAction = false; });
}

DropPayload TrayIcon::clipboardPayload()
{
    return DropPayload::classify(Platform::clipboard()->pasteboard());
}

void TrayIcon::iconActivated()
{
    if (m_popoverController && m_popoverController->isShown()) {
        hidePopover();
        return;
    }
    showClipboardList(true);
}

void TrayIcon::toggleClipboardList()
{
    if (m_popoverController && m_popoverController->isShown()) {
        hidePopover();
        return;
    }
    m_popoverController = nullptr;
    showClipboardList(false);
}

void TrayIcon::showClipboardList(bool fromActivation)
{
    if (DesktopPlatform::readsClipboardOnlyWithFocus()) {
        // Read once the list has the keyboard focus; until then the list says it is reading.
        m_clipboardUnread = true;
        m_focusDeadline->start();
        mainContentView()->showClipboardState(ActionListPopup::ClipboardReading);
    } else {
        mainContentView()->showPayload(clipboardPayload(), int(m_currentRow));
        qCInfo(lcShell, "the list for the clipboard shows %lld actions", qint64(m_mainContentView->dropList().size()));
    }
    m_needBecomeFirstRes = true;
    m_fromActivation = fromActivation;
    showPopoverWith(m_mainContentView, QStringLiteral("customStatusBG"));
    m_fromActivation = false;
}

void TrayIcon::readClipboardIntoList()
{
    m_clipboardUnread = false;
    if (m_focusDeadline->isActive() && !m_pendingClipboardDrop)
        m_focusDeadline->stop();
    mainContentView()->showPayload(clipboardPayload(), int(m_currentRow));
    qCInfo(lcShell, "the list for the clipboard shows %lld actions, read once it had the focus", qint64(m_mainContentView->dropList().size()));
}

void TrayIcon::runActionOnClipboard(const DropListEntityPtr &drop)
{
    if (m_isAnimating || !drop)
        return;
    if (!DesktopPlatform::readsClipboardOnlyWithFocus()) {
        runActionOn(drop, clipboardPayload());
        return;
    }
    // The clipboard is read once the list, shown and activated, has the keyboard focus.
    m_pendingClipboardDrop = drop;
    m_focusDeadline->start();
    if (m_popoverController == m_mainPopover && m_mainPopover && m_mainPopover->isShown()) {
        if (QGuiApplication::focusWindow() == m_mainPopover->windowHandle()) {
            runPendingClipboardAction();
            return;
        }
        m_mainPopover->activateWindow();
        return;
    }
    hidePopover();
    mainContentView()->showClipboardState(ActionListPopup::ClipboardReading);
    m_needBecomeFirstRes = true;
    showPopoverWith(m_mainContentView, QStringLiteral("customStatusBG"));
}

void TrayIcon::runPendingClipboardAction()
{
    m_focusDeadline->stop();
    const DropListEntityPtr drop = std::exchange(m_pendingClipboardDrop, nullptr);
    if (m_isAnimating)
        return;
    const DropPayload payload = clipboardPayload();
    // The list was shown before the clipboard could be read.
    mainContentView()->showPayload(payload, int(m_currentRow));
    if (!runActionOn(drop, payload))
        hidePopover();
}

void TrayIcon::clipboardFocusTimedOut()
{
    const DropListEntityPtr drop = std::exchange(m_pendingClipboardDrop, nullptr);
    if (!drop) {
        if (m_clipboardUnread && m_mainPopover && m_mainPopover->isShown()) {
            qCWarning(lcShell, "the list did not get the keyboard focus within %d ms; it waits for the focus to read the clipboard",
                      kClipboardFocusLimitMs);
            mainContentView()->showClipboardState(ActionListPopup::ClipboardUnreadable);
        }
        return;
    }
    qCWarning(lcShell, "the list did not get the keyboard focus within %d ms; the clipboard stays unread",
              kClipboardFocusLimitMs);
    hidePopover();
    Notification content = ActionReply::resultNotification(false, *drop);
    content.body = qtTrId("clipboardFocusTimedOut").arg(kClipboardFocusLimitMs / 1000);
    Platform::notifier()->post(content);
}

bool TrayIcon::runActionOn(const DropListEntityPtr &drop, const DropPayload &payload)
{
    if (m_isAnimating || !drop)
        return false;
    if (!ActionCatalog::accepts(payload, drop->catalog(), drop->supportTypes())) {
        // Told even when notifications are muted: the user pressed a key and nothing ran.
        Notification content = ActionReply::resultNotification(false, *drop);
        content.body = qtTrId("wrongInputContent");
        Platform::notifier()->post(content);
        return false;
    }
    if (!m_popoverController || !m_popoverController->isShown()) {
        mainContentView()->showPayload(payload, int(m_currentRow));
        m_needBecomeFirstRes = true;
        showPopoverWith(m_mainContentView, QStringLiteral("customStatusBG"));
    }
    // The row lights up in the list a moment before it runs. What happens in that moment (a
    // click on another row, the list rebuilt) can keep it from running: that is said, never silent.
    QTimer::singleShot(100, this, [this, drop, payload] {
        if (mainContentView()->startRowOf(drop->dropID(), payload))
            return;
        qCWarning(lcShell, "the row of action %d could not start: the list does not show it or another run holds it", drop->dropID());
        Notification content = ActionReply::resultNotification(false, *drop);
        content.body = qtTrId("actionNotStarted");
        Platform::notifier()->post(content);
    });
    return true;
}

void TrayIcon::runDroppedAction(const DropListEntityPtr &drop, const TransferData &pasteboard)
{
    if (!m_isAnimating) {
        runActionOn(drop, DropPayload::classify(pasteboard));
        return;
    }
    // One drop waits for the running action; the window's rows take drops at any time.
    if (!m_droppedWhileRunning.first) {
        qCInfo(lcShell, "a drop on a row waits for the running action");
        m_droppedWhileRunning = {drop, DropPayload::classify(pasteboard)};
        return;
    }
    qCInfo(lcShell, "a drop on a row while another one waits is refused");
    Notification content = ActionReply::resultNotification(false, *drop);
    content.body = qtTrId("dropWhileBusy");
    Platform::notifier()->post(content);
}

void TrayIcon::dropData(const TransferData &pasteboard)
{
    // The running action reads the data it was started on until it completes.
    if (m_currentRow >= 0) {
        qCInfo(lcShell, "a drop while an action runs is left alone");
        return;
    }
    showListForDrop(DropPayload::classify(pasteboard));
}

QTimer *TrayIcon::timer()
{
    if (!m_timer) {
        m_timer = new QTimer(this);
        m_timer->setInterval(100);
        connect(m_timer, &QTimer::timeout, this, &TrayIcon::animateMenuImage);
    }
    return m_timer;
}

void TrayIcon::rowRunStateChanged(int row, bool running)
{
    if (!running) {
        hidePopover();
        if (m_isAnimating) {
            m_stopAnimate = true;
            m_currentRow = -1;
        }
        return;
    }
    if (m_isAnimating)
        return;
    qCInfo(lcShell, "tray animation started");
    m_currentIndex = 1;
    timer()->start();
    animateMenuImage();
    m_isAnimating = true;
    m_currentRow = row;
}

void TrayIcon::animateMenuImage()
{
    setStatusImage(QString::number(m_currentIndex));
    m_currentIndex = (m_currentIndex < 13 ? m_currentIndex : 0) + 1;
    // Stopping only here makes the animation always end after frame 1 of a new cycle.
    if (m_currentIndex == 2 && m_stopAnimate) {
        m_isAnimating = false;
        m_stopAnimate = false;
        m_timer->stop();
        m_timer->deleteLater();
        m_timer = nullptr;
        setStatusImage(QStringLiteral("menubarIcon"));
        qCInfo(lcShell, "tray animation ended");
        if (auto [drop, payload] = std::exchange(m_droppedWhileRunning, {}); drop)
            runActionOn(drop, payload);
    }
}

void TrayIcon::setStatusImage(const QString &name)
{
    m_statusItem->setIcon(trayIcon(name, m_statusItem, m_statusNotifier));
    Q_EMIT statusImageChanged(name);
}
