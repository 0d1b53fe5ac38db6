#pragma once

#include "shell/editor/imageoutputpanel.h"

class QCheckBox;
class QLabel;
class QSlider;

// The compression action: the quality as a percentage, and whether PNG images become JPEG.
class CompressImagePanel final : public ImageOutputPanel
{
    Q_OBJECT

public:
    explicit CompressImagePanel(QWidget *parent = nullptr);

    QSlider *slider() const { return m_slider; }
    QLabel *percentLabel() const { return m_percent; }
    QCheckBox *convertToJPGCheckbox() const { return m_convertToJPGCheckbox; }

private:
    void showPercent(int percent);

    QSlider *m_slider;
    QLabel *m_percent;
    QCheckBox *m_convertToJPGCheckbox;
};
