#pragma once

#include <QObject>

#include <memory>

class QSystemTrayIcon;
class QMenu;

// Starts Korvane on the desktop: the platform services, the store with its default actions
// and hotkeys, and the tray icon.
class KorvaneApplication final : public QObject
{
    Q_OBJECT

public:
    KorvaneApplication();
    ~KorvaneApplication() override;

    void start();

private:
    std::unique_ptr<QMenu> m_menu;
    QSystemTrayIcon *m_trayIcon = nullptr;
};
