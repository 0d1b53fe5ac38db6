#pragma once

#include <QStyledItemDelegate>

// Edits a URL template in a field without the usual length limit, so a long template is
// never cut short, and tells which field is open.
class CustomUrlItemDelegate final : public QStyledItemDelegate
{
    Q_OBJECT

public:
    using QStyledItemDelegate::QStyledItemDelegate;

    QWidget *createEditor(QWidget *parent, const QStyleOptionViewItem &option, const QModelIndex &index) const override;

Q_SIGNALS:
    void editorCreated(QWidget *editor) const;
};
