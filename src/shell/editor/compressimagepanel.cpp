#include "shell/editor/compressimagepanel.h"

#include <QCheckBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QSlider>

#include <cmath>

CompressImagePanel::CompressImagePanel(QWidget *parent)
    : ImageOutputPanel(OwnRowsFirst{}, parent)
    , m_slider(new QSlider(Qt::Horizontal, this))
    , m_percent(new QLabel(this))
{
    m_slider->setRange(1, 100);
    m_slider->setToolTip(qtTrId("compressQualityTip"));
    m_percent->setMinimumWidth(m_percent->fontMetrics().horizontalAdvance(QStringLiteral("100%")) + 4);
    auto *row = new QHBoxLayout;
    row->addWidget(m_slider, 1);
    row->addWidget(m_percent);
    addRow(qtTrId("compressQuality"), row);
    m_convertToJPGCheckbox = addCheckBox(qtTrId("compressPNGtoJPG"), QStringLiteral("autoPNGtoJPG"),
                                         qtTrId("compressPNGtoJPGTip"));
    addOutputRows();

    addRefresher([this] {
        const QSignalBlocker blocker(m_slider);
        const int percent = int(std::lround(setting(QStringLiteral("compressionRato")).toDouble() * 100));
        m_slider->setValue(percent);
        showPercent(m_slider->value());
    });
    const auto store = [this] { saveSetting(QStringLiteral("compressionRato"), float(m_slider->value()) / 100.0f); };
    connect(m_slider, &QSlider::valueChanged, this, [this, store](int percent) {
        showPercent(percent);
        // A drag is stored once, when the slider is let go.
        if (!m_slider->isSliderDown())
            store();
    });
    connect(m_slider, &QSlider::sliderReleased, this, store);
}

void CompressImagePanel::showPercent(int percent)
{
    m_percent->setText(QString::asprintf("%ld%%", long(percent)));
}
