#pragma once

#include <QLatin1String>
#include <QListWidget>

#include <optional>

class QMimeData;

// The editor's action list. Its rows are dragged to reorder them, and catalog rows are
// dragged onto it to add actions; both travel as the private type "korVane.add" holding one
// number: the source row from here, the action type from the outline.
class ActionListView final : public QListWidget
{
    Q_OBJECT

public:
    static constexpr QLatin1String DragType{"korVane.add"};

    explicit ActionListView(QWidget *parent = nullptr);

    static QMimeData *dragData(qint64 number);
    static std::optional<qint64> dragNumber(const QMimeData *data);

    // The drop row for a point in the viewport: the gap above the row under it, or below it
    // in its lower half, or the end.
    int dropRowAt(const QPoint &point) const;

Q_SIGNALS:
    // A row dragged from position from was let go at drop row row.
    void moveRequested(int from, int row);
    // A catalog entry of that type was let go at drop row row.
    void addRequested(qint64 type, int row);

protected:
    void startDrag(Qt::DropActions supportedActions) override;
    void dragEnterEvent(QDragEnterEvent *event) override;
    void dragMoveEvent(QDragMoveEvent *event) override;
    void dragLeaveEvent(QDragLeaveEvent *event) override;
    void dropEvent(QDropEvent *event) override;
    void paintEvent(QPaintEvent *event) override;

private:
    bool acceptDrag(QDropEvent *event);

    int m_dropRow = -1;
};
