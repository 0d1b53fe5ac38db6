#pragma once

#include <QWidget>

#include <memory>

class DropListEntity;
class QLabel;
class QToolButton;

// A row of the editor's action list: icon, title, hotkey and the remove button.
class ActionPreviewCell final : public QWidget
{
    Q_OBJECT

public:
    explicit ActionPreviewCell(const std::shared_ptr<DropListEntity> &drop, QWidget *parent = nullptr);

    std::shared_ptr<DropListEntity> action() const { return m_drop; }
    // Shows the record's title and hotkey again.
    void reload();
    void makeStyleSeleceted(bool selected);
    void setDark(bool isDark);
    bool isSelected() const { return m_selected; }

Q_SIGNALS:
    void removeBtnPressed(const std::shared_ptr<DropListEntity> &drop);

protected:
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    void showTitle();
    std::shared_ptr<DropListEntity> m_drop;
    QLabel *m_icon;
    QLabel *m_title;
    QLabel *m_hotKey;
    QToolButton *m_removeButton;
    bool m_selected = false;
    bool m_isDark = false;
};
