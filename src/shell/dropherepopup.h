#pragma once

#include <QWidget>

class DropHereArea;
class QLabel;

// The small popover shown while something is dragged near the tray icon.
class DropHerePopup final : public QWidget
{
    Q_OBJECT

public:
    explicit DropHerePopup(QWidget *parent = nullptr);

    DropHereArea *area() const { return m_area; }

private:
    QLabel *m_dragLabel;
    DropHereArea *m_area;
};
