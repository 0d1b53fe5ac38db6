#pragma once

#include <QString>
#include <QWidget>

class ActionModel;
class QLabel;
class QToolButton;

// An action row of the catalog outline: icon, title, description and the add button.
class ActionKindCell final : public QWidget
{
    Q_OBJECT

public:
    ActionKindCell(const ActionModel &model, bool isDark, QWidget *parent = nullptr);

    qint64 catalog() const { return m_catalog; }
    int type() const { return m_type; }
    QToolButton *addButton() const { return m_addButton; }
    void setDark(bool isDark);

Q_SIGNALS:
    void actionsCellViewAddBtnPressed(qint64 catalog, int type);

protected:
    void resizeEvent(QResizeEvent *event) override;

private:
    QString m_fullDescription;
    QLabel *m_title;
    QLabel *m_description;
    QToolButton *m_addButton;
    qint64 m_catalog;
    int m_type;
};
