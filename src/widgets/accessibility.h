#pragma once

#include <QAccessible>

class QWidget;

// What screen readers are told about the widgets Korvane draws itself: an action row reads
// as a button named by its title and shortcuts, and the preference tabs as page tabs. Qt's
// own widgets describe themselves.
class Accessibility final
{
public:
    // Once per process, before the first window shows.
    static void install();

    // Gives a plain widget a role of its own, read when the accessibility tree is built.
    static void setRole(QWidget *widget, QAccessible::Role role);
};
