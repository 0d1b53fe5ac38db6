#pragma once

#include <QWidget>

#include <functional>
#include <memory>

class DropListEntity;
class DropPayload;
class FlatButton;
class QGraphicsOpacityEffect;

// One row of the action list: runs its action on a click, a drop, Return, its digit
// shortcut or the action's own hotkey, and shows the progress and the result.
class ActionRow final : public QWidget
{
    Q_OBJECT

public:
    explicit ActionRow(QWidget *parent = nullptr);

    // A row's height with the space to the next one.
    static constexpr int rowHeight = 60;

    void setRow(int row);
    int row() const { return m_row; }
    void setDropAction(const std::shared_ptr<DropListEntity> &drop);
    std::shared_ptr<DropListEntity> dropAction() const { return m_dropAction; }
    // Where a run takes its data: the list's payload, with the text the user edited in the
    // list's field when asked for (a text action started by a click or a key).
    using PayloadSource = std::function<DropPayload(bool withEditedText)>;
    void setPayloadSource(const PayloadSource &source) { m_payloadSource = source; }
    FlatButton *button() const { return m_button; }
    bool stopAction() const { return m_stopAction; }
    // The digit shortcut shown on the row ("Alt+1", which works on every desktop); empty from the eleventh row on.
    static QString shortcutLabel(int row);

    void onClickBtn();
    // Runs the row on the payload; false when it cannot run now (a run is on, or a row
    // dimmed by another row's run).
    bool start(const DropPayload &payload);
    void handleAction(const DropPayload &payload);
    // A drop on this row.
    void performDragOperation();

    // A row of the list started a run or ended one: while it runs every other row is dimmed
    // and deaf.
    void setRunningRow(int runningRow, bool running);
    // Lights this row if it is the given one and puts it out otherwise, unless a run made it deaf.
    void setLitRow(int row);
    // Return on the list runs the lit row.
    void runIfLit();
    // The list was refilled: a row that does not run goes off.
    void putOut();
    // A digit shortcut runs the row it names; the others go off.
    void runShortcut(int row);

Q_SIGNALS:
    // A run of this row started, or its result has been shown.
    void runStateChanged(int row, bool running);
    // A click or a drag came to this row: it is to be the only one lit.
    void lightRequested(int row);
    void editRequested(const std::shared_ptr<DropListEntity> &drop);
    // The row's menu closed without a choice.
    void menuDismissed();

protected:
    void dragEnterEvent(QDragEnterEvent *event) override;
    void dragMoveEvent(QDragMoveEvent *event) override;
    void dragLeaveEvent(QDragLeaveEvent *event) override;
    void dropEvent(QDropEvent *event) override;
    void contextMenuEvent(QContextMenuEvent *event) override;

private:
    void finish(bool success);
    void showRowMenu(const QPoint &globalPos);

    std::shared_ptr<DropListEntity> m_dropAction;
    FlatButton *m_button;
    QGraphicsOpacityEffect *m_opacity;
    PayloadSource m_payloadSource;
    int m_row = -1;
    bool m_stopAction = false;
};
