#include "shell/dropherepopup.h"

#include "shell/dropherearea.h"

#include <QCoreApplication>
#include <QLabel>
#include <QVBoxLayout>

DropHerePopup::DropHerePopup(QWidget *parent)
    : QWidget(parent)
    , m_dragLabel(new QLabel(qtTrId("dropHere")))
    , m_area(new DropHereArea)
{
    setFixedSize(220, 110);
    auto *inner = new QVBoxLayout(m_area);
    m_dragLabel->setAlignment(Qt::AlignCenter);
    QFont font = m_dragLabel->font();
    font.setPointSizeF(font.pointSizeF() * 1.15);
    font.setBold(true);
    m_dragLabel->setFont(font);
    // The label must not take the drag away from the drop area under it.
    m_dragLabel->setAttribute(Qt::WA_TransparentForMouseEvents);
    inner->addWidget(m_dragLabel);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_area);
}
