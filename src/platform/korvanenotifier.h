#pragma once

#include "platform/korvanenotificationcontent.h"

// Posts user notifications.
class KorvaneNotifier
{
public:
    virtual ~KorvaneNotifier() = default;
    virtual void post(const KorvaneNotificationContent &content) = 0;
};
