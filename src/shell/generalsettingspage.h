#pragma once

#include <QWidget>

class KeyCombinationEdit;
class Autostart;
class QCheckBox;
class QLabel;
class QPushButton;
class QVBoxLayout;

// The general settings: start at login, sound, notifications, the taskbar entry, the wake
// hotkey, the version and quitting. Each change is stored at once.
class GeneralSettingsPage final : public QWidget
{
    Q_OBJECT

public:
    explicit GeneralSettingsPage(Autostart *autostart, QWidget *parent = nullptr);

    void launchLoginCheckboxChanged(bool checked);
    void playSoundCheckboxChanged(bool checked);
    void enableNotifiCheckboxChanged(bool checked);
    void hideIconCheckboxChanged(bool checked);
    void keepDropWindowCheckboxChanged(bool checked);
    void hotKeyFieldPressed(QKeyCombination keys);
    // Stores keys as the wake shortcut and registers it; false when another program holds
    // the combination, which is stored all the same.
    static bool saveHotkey(QKeyCombination keys);
    // At start: the login entry as Korvane::Settings::noAutoLaunch says.
    static void setAutoLaunchAtStart(Autostart *autostart);

    QCheckBox *launchLoginCheckbox() const { return m_launchLogin; }
    QCheckBox *playSoundCheckbox() const { return m_playSound; }
    QCheckBox *enableNotifiCheckbox() const { return m_enableNotifi; }
    QCheckBox *hideIconCheckbox() const { return m_hideIcon; }
    QCheckBox *keepDropWindowCheckbox() const { return m_keepDropWindow; }
    KeyCombinationEdit *hotKeyField() const { return m_hotKeyField; }
    // Why the wake hotkey does nothing now; hidden while it is bound.
    QLabel *hotKeyWarning() const { return m_hotKeyWarning; }
    // Where a row of buttons under the version (such as an update check) goes.
    QVBoxLayout *versionLayout() const { return m_versionLayout; }

Q_SIGNALS:
    void hideIconChanged(bool hidden);
    void keepDropWindowChanged(bool keep);
    void quitApp();

private:
    void setAutoLaunchAgents(bool enabled);
    void showWakeBinding();

    Autostart *m_autostart;
    QCheckBox *m_launchLogin;
    QCheckBox *m_playSound;
    QCheckBox *m_enableNotifi;
    QCheckBox *m_hideIcon;
    QCheckBox *m_keepDropWindow;
    KeyCombinationEdit *m_hotKeyField;
    QLabel *m_hotKeyWarning;
    QLabel *m_versionLabel;
    QVBoxLayout *m_versionLayout;
    QPushButton *m_quitButton;
};
