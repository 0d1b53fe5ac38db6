#include "shell/updatedialog.h"

#include "net/apiclient.h"
#include "platform/platform.h"
#include "net/updatecheck.h"
#include "platform/urlopener.h"
#include "shell/shelllogging.h"

#include <QApplication>
#include <QDialogButtonBox>
#include <QIcon>
#include <QLabel>
#include <QLoggingCategory>
#include <QMessageBox>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

QPointer<QMessageBox> s_alert;

} // namespace

QMessageBox *UpdateAlert::current()
{
    return s_alert.data();
}

QMessageBox *UpdateAlert::show(const QString &serverVersion, bool withChangeLog)
{
    if (s_alert)
        s_alert->close();
    auto *alert = new QMessageBox;
    alert->setAttribute(Qt::WA_DeleteOnClose);
    alert->setWindowTitle(QStringLiteral("Korvane"));
    alert->setWindowModality(Qt::ApplicationModal);
    alert->setText(qtTrId("newUpdateAvailable").arg(serverVersion));
    alert->setInformativeText(qtTrId("downloadUpdateInformativeText"));
    alert->setIconPixmap(QIcon(QStringLiteral(":/images/menubarIcon.svg")).pixmap(64, 64));

    QPushButton *download = alert->addButton(qtTrId("download"), QMessageBox::AcceptRole);
    QPushButton *notNow = alert->addButton(qtTrId("notNow"), QMessageBox::RejectRole);
    download->setObjectName(QStringLiteral("download"));
    notNow->setObjectName(QStringLiteral("notNow"));
    QList<QPushButton *> buttons{download, notNow};
    if (withChangeLog) {
        QPushButton *logs = alert->addButton(qtTrId("checkLogs"), QMessageBox::HelpRole);
        logs->setObjectName(QStringLiteral("checkLogs"));
        buttons.append(logs);
    }
    for (QPushButton *button : buttons) {
        button->setFocusPolicy(Qt::NoFocus);
        button->setAutoDefault(false);
        button->setDefault(false);
    }
    QObject::connect(alert, &QMessageBox::buttonClicked, alert, [alert](QAbstractButton *button) {
        const QString name = button->objectName();
        if (name == QLatin1String("download"))
            Platform::urlOpener()->openURLs({UpdateCheck::downloadUrl()});
        else if (name == QLatin1String("checkLogs"))
            Platform::urlOpener()->openURLs({UpdateCheck::changeLogUrl()});
        alert->close();
    });
    s_alert = alert;
    alert->show();
    alert->raise();
    alert->activateWindow();
    return alert;
}

UpdateDialog::UpdateDialog(QWidget *parent)
    : QDialog(parent)
{
    setWindowTitle(QStringLiteral("Korvane"));
    auto *layout = new QVBoxLayout(this);
    m_label = new QLabel(qtTrId("checkingForUpdate"), this);
    m_label->setMinimumWidth(260);
    m_progress = new QProgressBar(this);
    m_progress->setRange(0, 0);
    m_progress->setTextVisible(false);
    m_cancel = new QPushButton(qtTrId("cancel"), this);
    connect(m_cancel, &QPushButton::clicked, this, &QDialog::reject);
    auto *buttons = new QDialogButtonBox(this);
    buttons->addButton(m_cancel, QDialogButtonBox::RejectRole);
    layout->addWidget(m_label);
    layout->addWidget(m_progress);
    layout->addWidget(buttons);
}

UpdateDialog *UpdateDialog::present(QWidget *parent)
{
    auto *view = new UpdateDialog(parent);
    view->setAttribute(Qt::WA_DeleteOnClose);
    view->setWindowModality(parent ? Qt::WindowModal : Qt::ApplicationModal);
    view->show();
    return view;
}

void UpdateDialog::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    if (!m_started) {
        m_started = true;
        startCheck();
    }
}

void UpdateDialog::startCheck()
{
    QPointer<UpdateDialog> self(this);
    UpdateCheck::checkForUpdate([self](UpdateCheck::Outcome outcome, const QString &version) {
        if (!self)
            return;
        if (outcome == UpdateCheck::Outcome::UpdateAvailable) {
            self->accept();
            UpdateAlert::show(version, true);
            return;
        }
        self->m_progress->hide();
        if (outcome == UpdateCheck::Outcome::UpToDate)
            self->m_label->setText(qtTrId("noUpdateAvailable"));
        else if (outcome == UpdateCheck::Outcome::Off)
            self->m_label->setText(qtTrId("updateCheckOff"));
        else
            self->m_label->setText(qtTrId("checkFailed"));
        self->m_cancel->setText(qtTrId("ok"));
    });
}

void UpdateChecker::checkAutomatically()
{
    if (QCoreApplication::closingDown())
        return;
    UpdateCheck::checkAutomatically([](UpdateCheck::Outcome outcome, const QString &version) {
        if (outcome != UpdateCheck::Outcome::UpdateAvailable)
            return;
        qCInfo(lcUpdateView, "version %s is available", qUtf8Printable(version));
        QMessageBox *alert = UpdateAlert::show(version, false);
        alert->activateWindow();
    });
}
