#include "shell/editor/actionpreviewcell.h"

#include "shell/actioniconprovider.h"
#include "store/droplistentity.h"
#include "shortcuts/keycombinationtext.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QToolButton>

ActionPreviewCell::ActionPreviewCell(const std::shared_ptr<DropListEntity> &drop, QWidget *parent)
    : QWidget(parent)
    , m_drop(drop)
    , m_icon(new QLabel)
    , m_title(new QLabel)
    , m_hotKey(new QLabel)
    , m_removeButton(new QToolButton)
{
    m_icon->setFixedSize(28, 28);
    m_icon->setPixmap(ActionIconProvider::iconForAction(drop->catalog(), drop->type(), 28, devicePixelRatioF()));
    m_title->setMinimumWidth(1);
    m_title->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    m_removeButton->setText(QStringLiteral("−"));
    m_removeButton->setAutoRaise(true);
    m_removeButton->setToolTip(qtTrId("removeActionTip"));
    m_removeButton->setAccessibleName(qtTrId("removeActionTip"));
    connect(m_removeButton, &QToolButton::clicked, this, [this] { Q_EMIT removeBtnPressed(m_drop); });

    auto *layout = new QHBoxLayout(this);
    layout->setContentsMargins(10, 4, 4, 4);
    layout->setSpacing(8);
    layout->addWidget(m_icon);
    layout->addWidget(m_title, 1);
    layout->addWidget(m_hotKey);
    layout->addWidget(m_removeButton);
    reload();
}

void ActionPreviewCell::reload()
{
    showTitle();
    m_hotKey->setText(KeyCombinationText::text(m_drop->keyCombination().value_or(QKeyCombination())));
}

// A title longer than the row ends in an ellipsis, never in half a letter.
void ActionPreviewCell::showTitle()
{
    m_title->setText(m_title->fontMetrics().elidedText(m_drop->title(), Qt::ElideRight, m_title->width()));
    m_title->setToolTip(m_drop->title());
}

void ActionPreviewCell::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    showTitle();
}

void ActionPreviewCell::makeStyleSeleceted(bool selected)
{
    m_selected = selected;
    update();
}

void ActionPreviewCell::setDark(bool isDark)
{
    m_isDark = isDark;
    update();
}

void ActionPreviewCell::paintEvent(QPaintEvent *)
{
    if (!m_selected)
        return;
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    QColor highlight = palette().color(QPalette::Highlight);
    highlight.setAlphaF(m_isDark ? 0.55f : 0.25f);
    painter.setBrush(highlight);
    painter.drawRoundedRect(QRectF(rect()).adjusted(3, 1, -3, -1), 6, 6);
}
