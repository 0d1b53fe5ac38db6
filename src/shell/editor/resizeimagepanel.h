#pragma once

#include "shell/editor/imageoutputpanel.h"

class QButtonGroup;
class QLabel;

// The resize action: to a width, to a height (pixels) or by a percentage.
class ResizeImagePanel final : public ImageOutputPanel
{
    Q_OBJECT

public:
    explicit ResizeImagePanel(QWidget *parent = nullptr);

    QButtonGroup *segments() const { return m_segments; }
    QLineEdit *sizeField() const { return m_size; }
    QLabel *unitLabel() const { return m_unit; }

    // What a typed percentage is stored as: whole numbers, 101 and above as 100.
    static int clampedPercentage(double typed);

private:
    void showSize();
    void storeSize();

    QButtonGroup *m_segments;
    QLineEdit *m_size;
    QLabel *m_unit;
};
