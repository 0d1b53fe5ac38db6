#include "shell/editor/resizeimagepanel.h"

#include <QButtonGroup>
#include <QDoubleValidator>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>

#include <cmath>

ResizeImagePanel::ResizeImagePanel(QWidget *parent)
    : ImageOutputPanel(OwnRowsFirst{}, parent)
    , m_segments(new QButtonGroup(this))
    , m_size(new QLineEdit(this))
    , m_unit(new QLabel(this))
{
    // Radio buttons, as desktop applications offer one of a few modes: their checked state
    // reads in every theme, light or dark.
    auto *segmentRow = new QHBoxLayout;
    const QStringList names = {qtTrId("resizeToWidth"), qtTrId("resizeToHeight"), qtTrId("resizeByPercentage")};
    for (int i = 0; i < names.size(); ++i) {
        auto *segment = new QRadioButton(names.at(i), this);
        m_segments->addButton(segment, i);
        segmentRow->addWidget(segment);
    }
    segmentRow->addStretch(1);
    addRow(qtTrId("resizeMode"), segmentRow);

    // Letters never get in; the number is checked against the mode when editing ends.
    m_size->setValidator(new QDoubleValidator(0, 99999, 2, m_size));
    m_size->setMaximumWidth(120);
    m_size->setToolTip(qtTrId("resizeSizeTip"));
    auto *sizeRow = new QHBoxLayout;
    sizeRow->addWidget(m_size);
    sizeRow->addWidget(m_unit);
    sizeRow->addStretch(1);
    addRow(qtTrId("resizeSize"), sizeRow);
    // The size is read in the unit of the mode, so Tab reaches the mode first.
    setTabOrder(m_segments->buttons().constLast(), m_size);
    addOutputRows();

    addRefresher([this] {
        const QSignalBlocker blocker(m_segments);
        const int type = setting(QStringLiteral("resizeType")).toInt();
        if (auto *segment = m_segments->button(type >= 0 && type <= 2 ? type : 0))
            segment->setChecked(true);
        showSize();
    });
    connect(m_segments, &QButtonGroup::idClicked, this, [this](int id) {
        saveSetting(QStringLiteral("resizeType"), id);
        showSize();
    });
    connect(m_size, &QLineEdit::editingFinished, this, &ResizeImagePanel::storeSize);
}

int ResizeImagePanel::clampedPercentage(double typed)
{
    const double whole = std::trunc(typed);
    return whole >= 101 ? 100 : int(whole);
}

void ResizeImagePanel::showSize()
{
    const bool percentage = m_segments->checkedId() == 2;
    m_unit->setText(percentage ? QStringLiteral("%") : QStringLiteral("px"));
    const QSignalBlocker blocker(m_size);
    if (percentage)
        m_size->setText(QString::number(int(setting(QStringLiteral("targetRato")).toDouble())));
    else
        m_size->setText(QString::number(setting(QStringLiteral("targetpx")).toInt()));
}

void ResizeImagePanel::storeSize()
{
    bool ok = false;
    const double typed = QLocale().toDouble(m_size->text(), &ok);
    if (!ok) {
        showSize();
        return;
    }
    if (m_segments->checkedId() == 2) {
        saveSetting(QStringLiteral("targetRato"), float(clampedPercentage(typed)));
    } else {
        // targetPixels is a 16-bit field.
        saveSetting(QStringLiteral("targetpx"), int(std::min(std::trunc(typed), 32767.0)));
    }
    showSize();
}
