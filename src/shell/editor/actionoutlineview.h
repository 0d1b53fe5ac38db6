#pragma once

#include <QTreeWidget>

// The catalog outline: group headings that are always open and cannot be selected, and
// action entries that can be dragged onto the action list.
class ActionOutlineView final : public QTreeWidget
{
    Q_OBJECT

public:
    static constexpr int TypeRole = Qt::UserRole + 1;

    explicit ActionOutlineView(QWidget *parent = nullptr);

protected:
    void startDrag(Qt::DropActions supportedActions) override;
};
