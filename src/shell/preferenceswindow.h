#pragma once

#include <QWidget>

class AboutPage;
class GeneralSettingsPage;
class Autostart;
class PreferencesTabs;
class ActionEditorPage;
class QPropertyAnimation;

// The preferences window: made once, then shown again on the tab asked for. Closing it only
// hides it.
class PreferencesWindow final : public QWidget
{
    Q_OBJECT

public:
    explicit PreferencesWindow(Autostart *autostart, QWidget *parent = nullptr);
    ~PreferencesWindow() override;

    // Shows the window in front with that tab selected.
    void showWindowWithTab(int tab);
    // "editor", "general" or "about"; -1 for anything else.
    static int tabForName(const QString &name);
    // Whether the window stays out of the taskbar and the task switcher.
    void setHiddenFromTaskbar(bool hidden);

    PreferencesTabs *tabs() const { return m_tabs; }
    ActionEditorPage *editor() const { return m_editor; }
    GeneralSettingsPage *generalSettings() const { return m_general; }
    AboutPage *about() const { return m_about; }

Q_SIGNALS:
    void quitRequested();

protected:
    void closeEvent(QCloseEvent *event) override;
    void showEvent(QShowEvent *event) override;

private:
    void tabSelected(int index);

    PreferencesTabs *m_tabs;
    ActionEditorPage *m_editor;
    GeneralSettingsPage *m_general;
    AboutPage *m_about;
    QPropertyAnimation *m_resize;
};
