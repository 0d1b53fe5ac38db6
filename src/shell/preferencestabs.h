#pragma once

#include <QList>
#include <QSize>
#include <QWidget>

class QButtonGroup;
class QStackedWidget;
class QToolButton;

// The tab bar and pages of the preferences window: the action editor, the general settings
// and the about page, in that order.
class PreferencesTabs final : public QWidget
{
    Q_OBJECT

public:
    enum Tab { EditorTab = 0,
               GeneralTab = 1,
               AboutTab = 2 };

    explicit PreferencesTabs(QWidget *parent = nullptr);

    void addTab(QWidget *page, const QString &title, const QIcon &icon, const QSize &contentSize);
    void setCurrentIndex(int index);
    int currentIndex() const;
    QWidget *page(int index) const;
    QString tabTitle(int index) const;
    QSize contentSize(int index) const;
    QToolButton *tabButton(int index) const;
    // The height of the tab bar above the pages.
    int barHeight() const;

Q_SIGNALS:
    void tabSelected(int index);

private:
    QWidget *m_toolbar;
    QButtonGroup *m_buttons;
    QStackedWidget *m_pages;
    QList<QString> m_titles;
    QList<QSize> m_sizes;
};
