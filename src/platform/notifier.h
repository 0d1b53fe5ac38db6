#pragma once

#include "platform/notification.h"

// Posts user notifications.
class Notifier
{
public:
    virtual ~Notifier() = default;
    virtual void post(const Notification &content) = 0;
};
