// The update check: the manual view and its alert, the automatic check when the popover
// closes, and the three-day rule with the day stored before the request.
#include "shell/generalsettingspage.h"
#include "platform/headless/headlessclipboard.h"
#include "platform/headless/headlessnotifier.h"
#include "net/apiclient.h"
#include "store/actionstore.h"
#include "actions/text/translations.h"
#include "net/updatecheck.h"
#include "support/sharestandins.h"
#include "shell/actionlistpopup.h"
#include "support/logcapture.h"
#include "servers/servicestandin.h"
#include "shell/updatedialog.h"

#include <QApplication>
#include <QDir>
#include <QLabel>
#include <QMessageBox>
#include <QProgressBar>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

using namespace KorvaneTest;

namespace {

QString daysAgo(int days)
{
    return QLocale::c().toString(QDate::currentDate().addDays(-days), QStringLiteral("MM dd yyyy"));
}

// Set KORVANE_SCREENSHOT_DIR to refresh the pictures under docs/screenshots from a test run.
void screenshot(QWidget *widget, const QString &name)
{
    const QString docs = qEnvironmentVariable("KORVANE_SCREENSHOT_DIR");
    if (!docs.isEmpty())
        QVERIFY(widget->grab().save(QDir(docs).filePath(name)));
}

QStringList buttonNames(QMessageBox *alert)
{
    QStringList names;
    for (QAbstractButton *button : alert->buttons())
        names.append(button->objectName());
    return names;
}

} // namespace

class UpdateCheckTest final : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase()
    {
        QVERIFY(m_dir.isValid());
        qputenv("XDG_DATA_HOME", QFile::encodeName(m_dir.path()));
        Translations::install({QStringLiteral("en-US")});
        Platform::setNotifier(std::make_unique<HeadlessNotifier>());
        Platform::setClipboard(std::make_unique<HeadlessClipboard>());
        m_opener = install<RecordingUrlOpener>(&Platform::setUrlOpener);
        QVERIFY(m_service.start());
    }

    void init()
    {
        setDefault(Korvane::Settings::serviceHost, m_service.baseUrl());
        setDefault(Korvane::Settings::lastCheckUpdate, QVariant());
        m_service.clearRequests();
        m_service.version = "9.9.9";
        m_opener->opened.clear();
    }

    void cleanup()
    {
        if (QMessageBox *alert = UpdateAlert::current())
            alert->close();
        QTRY_VERIFY(!UpdateAlert::current());
        QVERIFY2(m_service.problems().isEmpty(), qPrintable(m_service.problems().join("; ")));
    }

    // The general tab offers a check only when there is a service to ask, and says why not.
    void manualCheck_data()
    {
        QTest::addColumn<bool>("service");
        QTest::addColumn<QString>("shown");
        QTest::newRow("up to date") << true << qtTrId("noUpdateAvailable");
        QTest::newRow("no service: checks are off") << false << qtTrId("updateCheckOff");
    }
    void manualCheck()
    {
        QFETCH(bool, service);
        QFETCH(QString, shown);
        if (!service)
            setDefault(Korvane::Settings::serviceHost, "");
        m_service.version = ApiClient::currentVersion();
        GeneralSettingsPage general(nullptr);
        const QList<QPushButton *> buttons = general.findChildren<QPushButton *>();
        QCOMPARE(std::any_of(buttons.cbegin(), buttons.cend(), [](QPushButton *b) { return b->text() == qtTrId("checkForUpdate"); }),
                 service);
        QCOMPARE(general.findChild<QLabel *>("updateCheckOff") != nullptr, !service);
        UpdateDialog view;
        view.show();
        if (service)
            QVERIFY(view.progressIndicator()->isVisible());
        QTRY_COMPARE(view.label()->text(), shown);
        QVERIFY(view.progressIndicator()->isHidden());
        QCOMPARE(view.cancelButton()->text(), qtTrId("ok"));
        QCOMPARE(m_service.requestCount(), service ? 1 : 0);
    }

    // Each button of the alert opens its page, or nothing, and ends the alert.
    void manualCheckOffersAnyOtherVersion_data()
    {
        QTest::addColumn<QString>("version");
        QTest::addColumn<QString>("button");
        QTest::addColumn<QList<QUrl>>("opened");
        QTest::newRow("newer, change log") << "9.9.9"
                                           << "checkLogs" << QList<QUrl>{QUrl("https://example.org/changes")};
        QTest::newRow("older, download") << "0.0.1"
                                         << "download" << QList<QUrl>{QUrl("https://korvane.org/download")};
        QTest::newRow("not now") << "9.9.9"
                                 << "notNow" << QList<QUrl>{};
    }
    void manualCheckOffersAnyOtherVersion()
    {
        QFETCH(QString, version);
        QFETCH(QString, button);
        m_service.version = version;
        QPointer<UpdateDialog> view = UpdateDialog::present();
        QTRY_VERIFY(UpdateAlert::current());
        QTRY_VERIFY(!view);
        QMessageBox *alert = UpdateAlert::current();
        QCOMPARE(alert->text(), qtTrId("newUpdateAvailable").arg(version));
        QCOMPARE(alert->informativeText(), qtTrId("downloadUpdateInformativeText"));
        QCOMPARE(buttonNames(alert), QStringList({"download", "notNow", "checkLogs"}));
        for (QAbstractButton *button : alert->buttons())
            QCOMPARE(button->focusPolicy(), Qt::NoFocus);
        if (button == QLatin1String("checkLogs"))
            screenshot(alert, "update-alert.png");
        setDefault(Korvane::Settings::updateChangeLogUrl, "https://example.org/changes");
        alert->findChild<QPushButton *>(button)->click();
        QTEST(m_opener->opened, "opened");
        QTRY_VERIFY(!UpdateAlert::current());
        setDefault(Korvane::Settings::updateChangeLogUrl, QVariant());
    }

    void automaticCheck_data()
    {
        QTest::addColumn<QVariant>("stored");
        QTest::addColumn<bool>("service");
        QTest::addColumn<bool>("request");
        QTest::addColumn<QString>("storedAfter");
        QTest::newRow("first time") << QVariant() << true << false << daysAgo(0);
        QTest::newRow("today") << QVariant(daysAgo(0)) << true << false << daysAgo(0);
        QTest::newRow("four days") << QVariant(daysAgo(4)) << true << true << daysAgo(0);
        QTest::newRow("four days, no service") << QVariant(daysAgo(4)) << false << false << daysAgo(0);
        QTest::newRow("not a date") << QVariant("soon") << true << true << daysAgo(0);
    }
    void automaticCheck()
    {
        QFETCH(QVariant, stored);
        QFETCH(bool, service);
        QFETCH(bool, request);
        setDefault(Korvane::Settings::lastCheckUpdate, stored);
        if (!service)
            setDefault(Korvane::Settings::serviceHost, "");
        m_service.version = ApiClient::currentVersion();
        int calls = 0;
        QCOMPARE(UpdateCheck::checkAutomatically([&](UpdateCheck::Outcome, const QString &) { ++calls; }), request);
        // The day is stored before the answer comes.
        QTEST(Korvane::Settings::lastCheckUpdate.read(), "storedAfter");
        QTest::qWait(request ? 0 : 100);
        if (request)
            QTRY_COMPARE(calls, 1);
        QCOMPARE(m_service.requestCount(), request ? 1 : 0);
    }

    void exactlyThreeDaysIsStillTooEarlyForTheCheckAtMidnight()
    {
        setDefault(Korvane::Settings::lastCheckUpdate, "12 01 2025");
        const QDateTime due = QDateTime(QDate(2025, 12, 4), QTime(0, 0));
        QVERIFY(!UpdateCheck::checkAutomatically(due, nullptr));
        QVERIFY(UpdateCheck::checkAutomatically(due.addSecs(1), nullptr));
        QCOMPARE(Korvane::Settings::lastCheckUpdate.read(), QString("12 04 2025"));
        QTRY_COMPARE(m_service.requestCount(), 1);
    }

    // The automatic check alerts with the short choice about another version, and never on
    // the same version or a failed answer.
    void automaticCheckAlert_data()
    {
        QTest::addColumn<QString>("version");
        QTest::addColumn<bool>("failed");
        QTest::addColumn<QStringList>("buttons"); // none: no alert
        QTest::newRow("newer") << "9.9.9" << false << QStringList{"download", "notNow"};
        QTest::newRow("same version") << ApiClient::currentVersion() << false << QStringList();
        QTest::newRow("failed answer") << "9.9.9" << true << QStringList();
    }
    void automaticCheckAlert()
    {
        QFETCH(QString, version);
        QFETCH(bool, failed);
        QFETCH(QStringList, buttons);
        setDefault(Korvane::Settings::lastCheckUpdate, daysAgo(5));
        m_service.version = version;
        if (failed)
            m_service.setOverride(StandInResponse::json(R"({"code":500})"));
        UpdateChecker::checkAutomatically();
        QTRY_COMPARE(m_service.requestCount(), 1);
        QTest::qWait(buttons.isEmpty() ? 100 : 0);
        QTRY_COMPARE(UpdateAlert::current() ? buttonNames(UpdateAlert::current()) : QStringList(), buttons);
    }

    void closingThePopoverChecks()
    {
        ActionStore::instance()->initializationDefaultData();
        setDefault(Korvane::Settings::lastCheckUpdate, daysAgo(4));
        m_service.version = ApiClient::currentVersion();
        {
            ActionListPopup view;
            view.show();
            QVERIFY(QTest::qWaitForWindowExposed(&view));
            view.hide();
        }
        QCOMPARE(Korvane::Settings::lastCheckUpdate.read(), daysAgo(0));
        QTRY_COMPARE(m_service.requestCount(), 1);
        QCOMPARE(m_service.requests().first().path, QString("/quorvix/api/app/get"));
    }

private:
    QTemporaryDir m_dir;
    ServiceStandIn m_service;
    RecordingUrlOpener *m_opener = nullptr;
};

QTEST_MAIN(UpdateCheckTest)
#include "tst_updatecheck.moc"
