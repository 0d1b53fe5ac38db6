#pragma once

#include "platform/notifier.h"

#include <QString>

#include <functional>

// Desktop notifications through org.freedesktop.Notifications, posted 0.4 s after the
// request. A newer notification replaces the one Korvane showed last. Each names Korvane's
// desktop entry and icon, so the desktop shows our name and applies its settings for us.
class DBusNotifier final : public Notifier
{
public:
    using Fallback = std::function<void(const Notification &content)>;

    static constexpr QLatin1String DesktopEntry{"com.korvane.Korvane"};

    void post(const Notification &content) override;
    // Shows what the session has no notification service (or no session bus) for.
    void setFallback(Fallback fallback) { m_fallback = std::move(fallback); }

private:
    void send(const Notification &content);
    void fallBack(const Notification &content, const QString &why);
    QString imagePath(const QString &resource) const;

    Fallback m_fallback;
    quint32 m_lastID = 0;
};
