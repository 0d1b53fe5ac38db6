#pragma once

#include <QString>

// Starting Korvane when the user logs in.
class KorvaneAutostart
{
public:
    virtual ~KorvaneAutostart() = default;

    // False when the system refused the change.
    virtual bool setEnabled(bool enabled) = 0;
    virtual bool isEnabled() const = 0;
};
