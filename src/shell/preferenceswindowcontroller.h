#pragma once

#include <QWidget>

class AboutViewController;
class GeneralSettingViewController;
class KorvaneAutostart;
class PreferenceTabViewController;
class PreferencesViewController;
class QPropertyAnimation;

// The preferences window: made once, then shown again on the tab asked for. Closing it only
// hides it.
class PreferencesWindowController final : public QWidget
{
    Q_OBJECT

public:
    explicit PreferencesWindowController(KorvaneAutostart *autostart, QWidget *parent = nullptr);
    ~PreferencesWindowController() override;

    // Shows the window in front with that tab selected.
    void showWindowWithTab(int tab);
    // "editor", "general" or "about"; -1 for anything else.
    static int tabForName(const QString &name);
    // Whether the window stays out of the taskbar and the task switcher.
    void setHiddenFromTaskbar(bool hidden);

    PreferenceTabViewController *tabViewController() const { return m_tabs; }
    PreferencesViewController *editor() const { return m_editor; }
    GeneralSettingViewController *generalSettings() const { return m_general; }
    AboutViewController *about() const { return m_about; }

Q_SIGNALS:
    void quitRequested();

protected:
    void closeEvent(QCloseEvent *event) override;
    void showEvent(QShowEvent *event) override;

private:
    void tabSelected(int index);

    PreferenceTabViewController *m_tabs;
    PreferencesViewController *m_editor;
    GeneralSettingViewController *m_general;
    AboutViewController *m_about;
    QPropertyAnimation *m_resize;
};
