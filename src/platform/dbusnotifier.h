#pragma once

#include "platform/korvanenotifier.h"

#include <QString>

#include <functional>

// Desktop notifications through org.freedesktop.Notifications, posted 0.4 s after the
// request. A newer notification replaces the one Korvane showed last. Each names Korvane's
// desktop entry and icon, so the desktop shows our name and applies its settings for us.
class DBusNotifier final : public KorvaneNotifier
{
public:
    using Fallback = std::function<void(const KorvaneNotificationContent &content)>;

    static constexpr QLatin1String DesktopEntry{"com.korvane.Korvane"};

    void post(const KorvaneNotificationContent &content) override;
    // Shows what the session has no notification service (or no session bus) for.
    void setFallback(Fallback fallback) { m_fallback = std::move(fallback); }

private:
    void send(const KorvaneNotificationContent &content);
    void fallBack(const KorvaneNotificationContent &content, const QString &why);
    QString imagePath(const QString &resource) const;

    Fallback m_fallback;
    quint32 m_lastID = 0;
};
