#pragma once

#include <QString>

// Starting Korvane when the user logs in.
class Autostart
{
public:
    virtual ~Autostart() = default;

    // False when the system refused the change.
    virtual bool setEnabled(bool enabled) = 0;
    virtual bool isEnabled() const = 0;
};
