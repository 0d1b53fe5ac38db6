#pragma once

#include "intake/droppayload.h"
#include "intake/transferdata.h"
#include "widgets/popoverwindow.h"

#include <QDateTime>
#include <QObject>
#include <QPointer>
#include <QRect>

#include <memory>
#include <utility>

class DropHerePopup;
class DropListEntity;
class DragMonitor;
class ActionListPopup;
class StatusNotifierTracker;

class QMenu;
class QSystemTrayIcon;
class QTimer;

// The tray icon and its two popovers: the drop-here popover while something is dragged near
// the icon, and the list of actions that fit the data. Decides when data is classified and
// how a drop, a click or a hotkey runs an action. Main thread only.
class TrayIcon final : public QObject
{
    Q_OBJECT

public:
    TrayIcon();
    ~TrayIcon() override;

    void iconActivated();
    void showPopover();
    void hidePopover();
    void animateMenuImage();
    // The wake hotkey's path: the list for the clipboard, or closing the popover.
    void toggleClipboardList();
    // An action hotkey's path for any action: when it takes the clipboard's data, the list
    // is shown and the action's row runs; otherwise the wrong-input notification.
    void runActionOnClipboard(const std::shared_ptr<DropListEntity> &drop);
    // A drop on an action's row outside the list (the drop window): runs it, or once the
    // running action is done; a second drop while one waits is refused, and told so.
    void runDroppedAction(const std::shared_ptr<DropListEntity> &drop, const TransferData &pasteboard);
    // A drop's path: the list for the dropped data.
    void dropData(const TransferData &pasteboard);
    // Where a drag must come to open the drop-here popover, in global coordinates; empty
    // while nothing tells where the tray is.
    QRect dropTargetRect() const;
    // The tray icon's place as far as it is known: its geometry (XEmbed trays), else where a
    // StatusNotifier host last reported it, else the panel's strip of the screen; else empty.
    QRect statusItemRect() const;

    QSystemTrayIcon *statusItem() const { return m_statusItem; }
    StatusNotifierTracker *statusNotifier() const { return m_statusNotifier; }
    PopoverWindow *popoverController() const { return m_popoverController; }
    ActionListPopup *mainContentView();
    bool isAnimating() const { return m_isAnimating; }
    int currentIndex() const { return m_currentIndex; }
    qint64 currentRow() const { return m_currentRow; }

Q_SIGNALS:
    void openAboutRequested();
    // The preferences window on a tab: 0 the action editor, 1 general settings, 2 about.
    void openPreferencesRequested(int tab);
    void openDropWindowRequested();
    // The user chose to edit a listed action.
    void editActionRequested(const std::shared_ptr<DropListEntity> &drop);
    // The image the tray shows changed ("menubarIcon" or an animation frame).
    void statusImageChanged(const QString &name);

private:
    void addEvent();
    void checkMouseIsNearApp(const QPoint &pos);
    void showListForDrop(const DropPayload &payload);
    static DropPayload clipboardPayload();
    // An action hotkey's or a drop's data, dropped somewhere else than on the list: the list
    // shows it and the action's row runs on it. False when the action does not take the data.
    bool runActionOn(const std::shared_ptr<DropListEntity> &drop, const DropPayload &payload);
    void rowRunStateChanged(int row, bool running);
    void showPopoverWith(QWidget *content, const QString &colorName);
    // What the popover about to show points at; empty lets the window system place it.
    QRect popoverAnchor() const;
    void setStatusImage(const QString &name);
    QTimer *timer();
    // The list for the clipboard, from a click on the icon or the wake hotkey.
    void showClipboardList(bool fromActivation);
    // The list, shown before the clipboard could be read, now has the focus to read it.
    void readClipboardIntoList();
    // Runs the action waiting for the clipboard once the list has the keyboard focus.
    void runPendingClipboardAction();
    void clipboardFocusTimedOut();

    StatusNotifierTracker *m_statusNotifier;
    QSystemTrayIcon *m_statusItem;
    std::unique_ptr<QMenu> m_trayMenu;
    QPointer<PopoverWindow> m_popoverController;
    PopoverWindow *m_dropHerePopover = nullptr;
    PopoverWindow *m_mainPopover = nullptr;
    DropHerePopup *m_contentView = nullptr;
    ActionListPopup *m_mainContentView = nullptr;
    std::unique_ptr<DragMonitor> m_dragMonitor;
    QTimer *m_timer = nullptr;
    // The action a hotkey asked for while the clipboard is unreadable until the list has focus.
    std::shared_ptr<DropListEntity> m_pendingClipboardDrop;
    QTimer *m_focusDeadline = nullptr;
    // A drop on a row that came while an action ran, to run once it is done.
    std::pair<std::shared_ptr<DropListEntity>, DropPayload> m_droppedWhileRunning;
    // The list shown is for the clipboard, which is read once the list has the focus.
    bool m_clipboardUnread = false;
    QDateTime m_lastDate;
    qint64 m_lastChangeCount = -1;
    qint64 m_currentRow = -1;
    // Where the drag that opened the drop-here popover was, for trays without a geometry.
    QPoint m_dragPos;
    // The tray was just activated: the host's reported position places the popover.
    bool m_fromActivation = false;
    int m_currentIndex = 1;
    bool m_needBecomeFirstRes = false;
    bool m_hangAction = false;
    bool m_isAnimating = false;
    bool m_stopAnimate = false;
};
