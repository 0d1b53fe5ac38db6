#include "shell/editor/actionkindcell.h"

#include "shell/actioniconprovider.h"
#include "intake/actionmodel.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QToolButton>
#include <QVBoxLayout>

ActionKindCell::ActionKindCell(const ActionModel &model, bool isDark, QWidget *parent)
    : QWidget(parent)
    , m_title(new QLabel(model.titleStr()))
    , m_description(new QLabel)
    , m_addButton(new QToolButton)
    , m_catalog(model.catalog())
    , m_type(model.type())
{
    m_fullDescription = model.desStr();
    auto *icon = new QLabel;
    icon->setPixmap(ActionIconProvider::iconForAction(m_catalog, m_type, 26, devicePixelRatioF()));
    icon->setFixedSize(26, 26);

    QFont titleFont = m_title->font();
    titleFont.setBold(true);
    m_title->setFont(titleFont);
    QFont small = m_description->font();
    small.setPointSizeF(small.pointSizeF() * 0.85);
    m_description->setFont(small);
    m_description->setToolTip(model.desStr());
    // The label shows what fits and ends in an ellipsis: never a word cut in half.
    m_description->setMinimumWidth(1);
    m_description->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);

    m_addButton->setText(QStringLiteral("+"));
    m_addButton->setAutoRaise(true);
    m_addButton->setToolTip(qtTrId("addActionTip"));
    m_addButton->setAccessibleName(qtTrId("addActionTip"));
    connect(m_addButton, &QToolButton::clicked, this, [this] { Q_EMIT actionsCellViewAddBtnPressed(m_catalog, m_type); });

    auto *texts = new QVBoxLayout;
    texts->setContentsMargins(0, 0, 0, 0);
    texts->setSpacing(0);
    texts->addWidget(m_title);
    texts->addWidget(m_description);

    auto *layout = new QHBoxLayout(this);
    layout->setContentsMargins(8, 2, 4, 2);
    layout->setSpacing(8);
    layout->addWidget(icon);
    layout->addLayout(texts, 1);
    layout->addWidget(m_addButton);
    setDark(isDark);
}

void ActionKindCell::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    m_description->setText(m_description->fontMetrics().elidedText(m_fullDescription, Qt::ElideRight, m_description->width()));
}

void ActionKindCell::setDark(bool isDark)
{
    QPalette descriptionPalette = m_description->palette();
    descriptionPalette.setColor(QPalette::WindowText, isDark ? QColor(170, 170, 170) : QColor(100, 100, 100));
    m_description->setPalette(descriptionPalette);
}
