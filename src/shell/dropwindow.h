#pragma once

#include <QList>
#include <QStringList>
#include <QWidget>

class TransferData;
class QLabel;
class QMimeData;
class QVBoxLayout;

// A small normal window with the drop-here look, for desktops where no client sees a drag
// near the tray icon (Wayland): dropping on it lists the fitting actions, dropping on one of
// its rows runs that action. Any window system's drag and drop reaches it.
class DropWindow final : public QWidget
{
    Q_OBJECT

public:
    explicit DropWindow(QWidget *parent = nullptr);

    // Rebuilds the rows from the store when its actions changed: every action, under a header
    // for what it takes (text, then files). Never while a drag is over the window: that waits
    // for the drag to end.
    void reloadActions();

Q_SIGNALS:
    void dropped(const TransferData &pasteboard);
    void droppedOnAction(qint32 dropID, const TransferData &pasteboard);

protected:
    bool event(QEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    struct Row {
        QWidget *widget;
        qint32 dropID;
        qint64 catalog;
        qint64 supportTypes;
    };

    // Grouped under the headers without a drag (dragged is null); during one, the rows that
    // take the dragged data first and the others dimmed. Rows are moved, never rebuilt.
    void arrangeRows(const QMimeData *dragged);
    // After a drag left the window or was dropped: the grouped order, and a reload it held up.
    void dragEnded();

    QVBoxLayout *m_rowLayout;
    QLabel *m_groupHeaders[2] = {};
    QList<Row> m_rows;
    bool m_arrangedForDrag = false;
    bool m_dragOver = false;
    bool m_reloadWaits = false;
    // What the rows show, one line per action, to tell whether the store changed them.
    QStringList m_shownActions;
};
