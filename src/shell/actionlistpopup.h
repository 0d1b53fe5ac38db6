#pragma once

#include "intake/droppayload.h"

#include <QList>
#include <QPoint>
#include <QWidget>

#include <functional>
#include <memory>

class ActionRow;
class DropListEntity;
class QLabel;
class QLineEdit;
class QMenu;
class QScrollArea;
class QTimer;
class QToolButton;
class QVBoxLayout;

// The main popover's content: the dropped text or item count, the actions that fit the
// data, and the bar with the settings menu.
class ActionListPopup final : public QWidget
{
    Q_OBJECT

public:
    explicit ActionListPopup(QWidget *parent = nullptr);
    ~ActionListPopup() override;

    enum ClipboardState {
        ClipboardReading,
        ClipboardUnreadable,
    };

    // Fills the view for the payload; while a row runs (runningRow >= 0) nothing changes.
    void showPayload(const DropPayload &payload, int runningRow);
    const DropPayload &payload() const { return m_payload; }
    // Where only a focused window reads the clipboard: the list before it could read it, and
    // when the focus did not come in time. Never "nothing to work on" for an unread clipboard.
    void showClipboardState(ClipboardState state);
    // The popover's height for n listed actions on a screen of the given height.
    static int heightForRows(int rowCount, int screenHeight);
    // The header of a drop of files, folders and images, each counted as what it is
    // ("2 files and 1 folder"), in the installed language.
    static QString countTitle(qint64 files, qint64 folders, qint64 images);

    QLineEdit *topTitleLabel() const { return m_topTitleLabel; }
    QList<std::shared_ptr<DropListEntity>> dropList() const { return m_dropList; }
    QList<ActionRow *> rows() const { return m_rows; }
    // Starts the row of an action on the payload; false when no row shows it or it cannot run now.
    bool startRowOf(qint32 dropID, const DropPayload &payload);
    bool placeholderShown() const;
    void setNeedBecomeFirstResponder(bool focus) { m_needBecomeFirstRes = focus; }

    void darkModeChanged();

Q_SIGNALS:
    // A row started a run, or showed the result of one.
    void runStateChanged(int row, bool running);
    void editActionRequested(const std::shared_ptr<DropListEntity> &drop);
    void rowMenuDismissed();
    void openActionEditor();
    void openPreferences();
    void openAbout();
    void quitApp();

protected:
    void hideEvent(QHideEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void keyReleaseEvent(QKeyEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;
    void changeEvent(QEvent *event) override;

private:
    void reloadData();
    void controlTextDidChange(const QString &text);
    void selectRow(int row);
    // Calls on every row, safely when a call refills the list.
    void forEachRow(const std::function<void(ActionRow *row)> &call);
    void lightRow(int row);
    void runShortcut(int row);
    void runLitRow();
    void settingButtonClick();
    void setTypeImage(bool text);
    void showPlaceholder(bool show);
    void showEmpty(const char *title, const char *info);
    static int availableScreenHeight();
    ActionRow *rowAt(const QPoint &globalPos) const;
    // Follows a drag over the rows: scrolls near the edges, hands a drop to the row under it.
    bool dragEventFilter(ActionRow *row, QEvent *event);
    void autoScroll();

    QLabel *m_typeImageView;
    QLineEdit *m_topTitleLabel;
    QScrollArea *m_scrollArea;
    QWidget *m_listWidget;
    QVBoxLayout *m_listLayout;
    QWidget *m_placeholder;
    QLabel *m_placeLabel;
    QLabel *m_subPlaceLabel;
    QLabel *m_placeImageView;
    QWidget *m_bottomView;
    QToolButton *m_settingsButton;
    QTimer *m_autoScroll;
    std::unique_ptr<QMenu> m_amenu;
    DropPayload m_payload;
    QList<std::shared_ptr<DropListEntity>> m_dropList;
    QList<ActionRow *> m_rows;
    QPoint m_dragPos;
    int m_selectedRow = -1;
    bool m_dragging = false;
    bool m_needBecomeFirstRes = false;
};
