#include "shell/updateviewcontroller.h"

#include "net/korvaneapiclient.h"
#include "platform/korvaneplatform.h"
#include "net/korvaneupdatecheck.h"
#include "platform/korvaneurlopener.h"
#include "common/korvanelogging.h"

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

QMessageBox *KorvaneUpdateAlert::current()
{
    return s_alert.data();
}

QMessageBox *KorvaneUpdateAlert::show(const QString &serverVersion, bool withChangeLog)
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
            KorvanePlatform::urlOpener()->openURLs({KorvaneUpdateCheck::downloadUrl()});
        else if (name == QLatin1String("checkLogs"))
            KorvanePlatform::urlOpener()->openURLs({KorvaneUpdateCheck::changeLogUrl()});
        alert->close();
    });
    s_alert = alert;
    alert->show();
    alert->raise();
    alert->activateWindow();
    return alert;
}

UpdateViewController::UpdateViewController(QWidget *parent)
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

UpdateViewController *UpdateViewController::present(QWidget *parent)
{
    auto *view = new UpdateViewController(parent);
    view->setAttribute(Qt::WA_DeleteOnClose);
    view->setWindowModality(parent ? Qt::WindowModal : Qt::ApplicationModal);
    view->show();
    return view;
}

void UpdateViewController::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    if (!m_started) {
        m_started = true;
        startCheck();
    }
}

void UpdateViewController::startCheck()
{
    QPointer<UpdateViewController> self(this);
    KorvaneUpdateCheck::checkForUpdate([self](KorvaneUpdateCheck::Outcome outcome, const QString &version) {
        if (!self)
            return;
        if (outcome == KorvaneUpdateCheck::Outcome::UpdateAvailable) {
            self->accept();
            KorvaneUpdateAlert::show(version, true);
            return;
        }
        self->m_progress->hide();
        if (outcome == KorvaneUpdateCheck::Outcome::UpToDate)
            self->m_label->setText(qtTrId("noUpdateAvailable"));
        else if (outcome == KorvaneUpdateCheck::Outcome::Off)
            self->m_label->setText(qtTrId("updateCheckOff"));
        else
            self->m_label->setText(qtTrId("checkFailed"));
        self->m_cancel->setText(qtTrId("ok"));
    });
}

void KorvaneUpdateChecker::checkAutomatically()
{
    if (QCoreApplication::closingDown())
        return;
    KorvaneUpdateCheck::checkAutomatically([](KorvaneUpdateCheck::Outcome outcome, const QString &version) {
        if (outcome != KorvaneUpdateCheck::Outcome::UpdateAvailable)
            return;
        qCInfo(lcUpdateView, "version %s is available", qUtf8Printable(version));
        QMessageBox *alert = KorvaneUpdateAlert::show(version, false);
        alert->activateWindow();
    });
}
