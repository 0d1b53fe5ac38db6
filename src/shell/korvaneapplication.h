#pragma once

#include <QObject>

#include <memory>

class QMessageBox;
class StatusItemManger;

// Starts Korvane on the desktop: the platform services, the store with its default actions
// and hotkeys, and the tray icon.
class KorvaneApplication final : public QObject
{
    Q_OBJECT

public:
    KorvaneApplication();
    ~KorvaneApplication() override;

    void start();
    StatusItemManger *statusItemManger() const { return m_statusItemManger.get(); }

private:
    void registerHotKey();
    void openAbout();

    std::unique_ptr<StatusItemManger> m_statusItemManger;
    QMessageBox *m_about = nullptr;
};
