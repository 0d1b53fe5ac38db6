#pragma once

#include <QObject>

#include <memory>

class DropWindow;
class ShortcutBindingReporter;
class TransferData;
class SingleInstance;
class PreferencesWindow;
class TrayIcon;
class XdgAutostart;
struct Notification;

namespace Korvane {

// Starts Korvane on the desktop: the platform services, the store with its default actions
// and hotkeys, and the tray icon.
class Application final : public QObject
{
    Q_OBJECT

public:
    Application();
    ~Application() override;

    // instance: the claim on the session; its requests open the preferences window, the
    // popover, or run an action.
    void start(SingleInstance *instance = nullptr);
    // What the wake hotkey, an action's hotkey and a drop on the tray do, for requests
    // from outside: key bindings of the desktop and file managers.
    void show();
    void showAction(qint32 dropID);
    void drop(const TransferData &pasteboard);
    DropWindow *dropWindow();
    void openDropWindow();
    TrayIcon *trayIcon() const { return m_trayIcon.get(); }
    // tab: "editor", "general" or "about"; empty keeps the tab last shown.
    void openPreferences(const QString &tab);
    void openPreferencesTab(int tab);
    PreferencesWindow *preferencesWindow();

private:
    // What the store keeps: every action's hotkey.
    void registerActionShortcuts();
    // The wake shortcut as stored, the default one at the first start.
    void registerWakeShortcut();
    // On the first start, and once on a desktop without any tray: how Korvane is reached,
    // with the wake key once the desktop bound it, and that it starts at login. Otherwise
    // what changed for the wake key since the user was last told.
    void tellHowToReachKorvane(bool firstStart, bool trayAvailable);
    // Notifications the session has no service for: the tray's message, else stderr.
    void showWithoutNotificationService(const Notification &content);

    std::unique_ptr<TrayIcon> m_trayIcon;
    std::unique_ptr<ShortcutBindingReporter> m_bindingReporter;
    std::unique_ptr<XdgAutostart> m_autostart;
    std::unique_ptr<PreferencesWindow> m_preferences;
    std::unique_ptr<DropWindow> m_dropWindow;
};

} // namespace Korvane
