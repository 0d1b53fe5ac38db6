#pragma once

#include <QWidget>

class CustomView;
class QLabel;

// The small popover shown while something is dragged near the tray icon.
class ContentView final : public QWidget
{
    Q_OBJECT

public:
    explicit ContentView(QWidget *parent = nullptr);

    CustomView *myView() const { return m_myView; }

private:
    QLabel *m_dragLabel;
    CustomView *m_myView;
};
