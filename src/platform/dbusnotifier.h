#pragma once

#include "korvanenotifier.h"

#include <QString>

// Desktop notifications through org.freedesktop.Notifications, posted 0.4 s after the
// request. A newer notification replaces the one Korvane showed last.
class DBusNotifier final : public KorvaneNotifier
{
public:
    void post(const KorvaneNotificationContent &content) override;

private:
    void send(const KorvaneNotificationContent &content);
    QString imagePath(const QString &resource) const;

    quint32 m_lastID = 0;
};
