#pragma once

#include <QObject>
#include <QPoint>

#include <optional>

class QDBusMessage;

// What a StatusNotifier host (KDE's panel, GNOME's AppIndicator extension, most other panels)
// tells about Korvane's tray item beyond what QSystemTrayIcon passes on: where the user
// activated it, and whether a host shows the item at all. Such trays keep the icon's
// geometry to themselves, so these positions are all Korvane learns of the icon's place.
// One per process; main thread only.
class StatusNotifierTracker final : public QObject
{
    Q_OBJECT

public:
    explicit StatusNotifierTracker(QObject *parent = nullptr);
    ~StatusNotifierTracker() override;

    // The position the host passed with the latest Activate, SecondaryActivate or
    // ContextMenu call when it lies on a screen; hosts that know none pass 0,0. Read it while
    // QSystemTrayIcon::activated is emitted: the host's call reaches us before the tray's.
    std::optional<QPoint> lastReportedPosition() const { return m_lastReported; }
    // The latest valid position any host ever reported: where the icon was last seen.
    std::optional<QPoint> lastKnownIconPosition() const { return m_lastKnown; }
    // Whether a StatusNotifierWatcher with a host was found on the session bus when this
    // tracker was made (the test Qt uses to choose a StatusNotifier tray over XEmbed).
    bool isHostRegistered() const { return m_hostRegistered; }

private:
    static void spyOnCall(const QDBusMessage &message);
    void record(const QPoint &position);

    std::optional<QPoint> m_lastReported;
    std::optional<QPoint> m_lastKnown;
    bool m_hostRegistered = false;
};
