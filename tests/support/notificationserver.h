#pragma once

#include <QElapsedTimer>
#include <QObject>
#include <QStringList>
#include <QVariantMap>

#include <algorithm>

namespace KorvaneTest {

// A stand-in desktop notification server that records every Notify call it recipients.
class NotificationServer final : public QObject
{
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.Notifications")

public:
    struct Call {
        QString appName;
        QString appIcon;
        uint replacesId;
        QString summary;
        QString body;
        QVariantMap hints;
        qint64 atMilliseconds;
    };
    QList<Call> calls;
    // Started by the test; calls are stamped with its time.
    QElapsedTimer clock;

public Q_SLOTS:
    uint Notify(const QString &appName, uint replacesId, const QString &icon, const QString &summary, const QString &body,
                const QStringList &actions, const QVariantMap &hints, int timeout)
    {
        Q_UNUSED(actions)
        Q_UNUSED(timeout)
        calls.append({appName, icon, replacesId, summary, body, hints, clock.isValid() ? clock.elapsed() : 0});
        return 40 + uint(calls.size());
    }
    QStringList GetCapabilities() { return {QStringLiteral("body")}; }

public:
    // The notifications whose summary is, or whose body holds, the text.
    int count(const QString &text) const
    {
        return int(std::count_if(calls.cbegin(), calls.cend(), [&](const Call &call) { return call.summary == text || call.body.contains(text); }));
    }
};

} // namespace KorvaneTest
