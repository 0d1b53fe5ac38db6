#include "shell/preferencestabs.h"

#include "widgets/accessibility.h"

#include <QButtonGroup>
#include <QFrame>
#include <QHBoxLayout>
#include <QStackedWidget>
#include <QToolButton>
#include <QVBoxLayout>

PreferencesTabs::PreferencesTabs(QWidget *parent)
    : QWidget(parent)
    , m_toolbar(new QWidget)
    , m_buttons(new QButtonGroup(this))
    , m_pages(new QStackedWidget)
{
    Accessibility::setRole(m_toolbar, QAccessible::PageTabList);
    auto *bar = new QHBoxLayout(m_toolbar);
    bar->setContentsMargins(8, 4, 8, 4);
    bar->setSpacing(4);
    auto *line = new QFrame;
    line->setFrameShape(QFrame::HLine);
    line->setFrameShadow(QFrame::Plain);
    line->setEnabled(false);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(m_toolbar);
    layout->addWidget(line);
    layout->addWidget(m_pages, 1);
    connect(m_buttons, &QButtonGroup::idClicked, this, &PreferencesTabs::setCurrentIndex);
}

void PreferencesTabs::addTab(QWidget *page, const QString &title, const QIcon &icon, const QSize &contentSize)
{
    const int index = m_pages->addWidget(page);
    m_titles.append(title);
    m_sizes.append(contentSize);
    auto *button = new QToolButton;
    Accessibility::setRole(button, QAccessible::PageTab);
    button->setText(title);
    button->setIcon(icon);
    button->setIconSize(QSize(24, 24));
    button->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    button->setCheckable(true);
    button->setAutoRaise(true);
    button->setMinimumWidth(96);
    m_buttons->addButton(button, index);
    auto *bar = static_cast<QHBoxLayout *>(m_toolbar->layout());
    // A flexible space after the second item puts the about tab on the far side.
    if (index == 2)
        bar->addStretch(1);
    bar->addWidget(button);
}

void PreferencesTabs::setCurrentIndex(int index)
{
    if (index < 0 || index >= m_pages->count())
        return;
    m_buttons->button(index)->setChecked(true);
    // Hidden pages must not hold the window at their minimum size.
    for (int i = 0; i < m_pages->count(); ++i) {
        const QSizePolicy::Policy policy = i == index ? QSizePolicy::Preferred : QSizePolicy::Ignored;
        m_pages->widget(i)->setSizePolicy(policy, policy);
    }
    m_pages->setCurrentIndex(index);
    Q_EMIT tabSelected(index);
}

int PreferencesTabs::currentIndex() const
{
    return m_pages->currentIndex();
}

QWidget *PreferencesTabs::page(int index) const
{
    return m_pages->widget(index);
}

QString PreferencesTabs::tabTitle(int index) const
{
    return m_titles.value(index);
}

QSize PreferencesTabs::contentSize(int index) const
{
    return m_sizes.value(index);
}

QToolButton *PreferencesTabs::tabButton(int index) const
{
    return qobject_cast<QToolButton *>(m_buttons->button(index));
}

int PreferencesTabs::barHeight() const
{
    // The bar and the one-pixel line under it.
    return m_toolbar->sizeHint().height() + 1;
}
