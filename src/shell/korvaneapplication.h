#pragma once

#include <QObject>

#include <memory>

class HotKeyBindingReporter;
class KorvaneSingleInstance;
class PreferencesWindowController;
class StatusItemManger;
class XdgAutostart;

// Starts Korvane on the desktop: the platform services, the store with its default actions
// and hotkeys, and the tray icon.
class KorvaneApplication final : public QObject
{
    Q_OBJECT

public:
    KorvaneApplication();
    ~KorvaneApplication() override;

    // instance: the claim on the session; its requests open the preferences window.
    void start(KorvaneSingleInstance *instance = nullptr);
    StatusItemManger *statusItemManger() const { return m_statusItemManger.get(); }
    // tab: "editor", "general" or "about"; empty keeps the tab last shown.
    void openPreferences(const QString &tab);
    void openPreferencesTab(int tab);
    PreferencesWindowController *preferencesWindow();

private:
    void registerHotKey();

    std::unique_ptr<StatusItemManger> m_statusItemManger;
    std::unique_ptr<HotKeyBindingReporter> m_bindingReporter;
    std::unique_ptr<XdgAutostart> m_autostart;
    std::unique_ptr<PreferencesWindowController> m_preferences;
};
