#pragma once

#include <QDialog>
#include <QPointer>

class QLabel;
class QMessageBox;
class QProgressBar;
class QPushButton;

// The update alert: "Korvane N is available", with "download" and "notNow", and for the
// manual check also "checkLogs". Modal to the application but not blocking: it is shown and
// returns; each button ends it. None of the buttons takes the keyboard focus.
class UpdateAlert final
{
public:
    UpdateAlert() = delete;
    static QMessageBox *show(const QString &serverVersion, bool withChangeLog);
    // The alert on screen, if any (tests and the shell look it up).
    static QMessageBox *current();
};

// The manual check's view, presented by the general settings' "check for update" button:
// it checks as soon as it is shown; a failure or an up-to-date version is shown in place
// with the button retitled "ok"; a new version closes the view and shows the alert.
class UpdateDialog final : public QDialog
{
    Q_OBJECT

public:
    explicit UpdateDialog(QWidget *parent = nullptr);

    QLabel *label() const { return m_label; }
    QProgressBar *progressIndicator() const { return m_progress; }
    QPushButton *cancelButton() const { return m_cancel; }

    // Presents a view that deletes itself when closed.
    static UpdateDialog *present(QWidget *parent = nullptr);

protected:
    void showEvent(QShowEvent *event) override;

private:
    void startCheck();

    QLabel *m_label = nullptr;
    QProgressBar *m_progress = nullptr;
    QPushButton *m_cancel = nullptr;
    bool m_started = false;
};

// The automatic check when the popover closes, at most once every three days; an update
// activates the application and shows the alert without "checkLogs".
class UpdateChecker final
{
public:
    UpdateChecker() = delete;
    static void checkAutomatically();
};
