#include "shell/editor/customurlitemdelegate.h"

#include <QLineEdit>

#include <limits>

QWidget *CustomUrlItemDelegate::createEditor(QWidget *parent, const QStyleOptionViewItem &option,
                                             const QModelIndex &index) const
{
    QWidget *editor = QStyledItemDelegate::createEditor(parent, option, index);
    if (auto *field = qobject_cast<QLineEdit *>(editor)) {
        field->setMaxLength(std::numeric_limits<int>::max());
        field->setPlaceholderText(qtTrId("customUrlPlaceholder"));
    }
    Q_EMIT editorCreated(editor);
    return editor;
}
