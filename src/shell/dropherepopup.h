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

    DropHereArea *myView() const { return m_myView; }

private:
    QLabel *m_dragLabel;
    DropHereArea *m_myView;
};
