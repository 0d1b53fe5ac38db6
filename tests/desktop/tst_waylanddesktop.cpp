// Korvane on Wayland: a headless Weston, a private session bus, a stand-in desktop portal with
// global shortcuts and a stand-in notification server. The real program binds its hotkeys
// through the portal; the general settings show what the desktop made of them.
#include "desktopsession.h"
#include "portalserver.h"

#include "config.h"
#include "shell/generalsettingviewcontroller.h"
#include "shell/hotkeyfield.h"
#include "platform/korvaneplatform.h"
#include "actions/korvanetranslations.h"
#include "platform/korvaneuserdefaults.h"
#include "platform/portalhotkeyservice.h"
#include "shell/hotkeys/pthotkeycenter.h"
#include "shell/hotkeys/sgwlhotkey.h"

#include <QApplication>
#include <QLabel>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

namespace {

DesktopSession *session = nullptr;
PortalServer *portal = nullptr;

const QString countHotKey = QStringLiteral("8-1179648");
const QString moveHotKey = QStringLiteral("46-1179648");

} // namespace

class WaylandDesktopTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void cleanupTestCase();
    void bindsEveryHotkeyThroughThePortal();
    void activatedRunsTheAction();
    void generalTabShowsTheBinding_data();
    void generalTabShowsTheBinding();

private:
    bool notified(const QString &summary, int from) const;

    QTemporaryDir m_home;
    KorvaneProcess m_korvane{m_home.path()};
};

bool WaylandDesktopTest::notified(const QString &summary, int from) const
{
    for (int i = from; i < session->notifications.calls.size(); ++i) {
        if (session->notifications.calls.at(i).summary == summary)
            return true;
    }
    return false;
}

void WaylandDesktopTest::initTestCase()
{
    QVERIFY(session->startServices());
    QVERIFY(portal->start(session->busAddress()));
    KorvaneTranslations::install({QStringLiteral("en")});
    m_korvane.env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("wayland"));

    // Super+Shift+C counts characters; Super+Shift+M, which moves files, the desktop refuses.
    QCOMPARE(m_korvane.run({QStringLiteral("list")}).exitCode, 0);
    for (const auto &[kind, title, hotkey] : {std::tuple{"0 2", "Count It", "Shift+Super+C"}, std::tuple{"1 8", "Move Away", "Shift+Super+M"}}) {
        const KorvaneProcess::Result added = m_korvane.run(QStringLiteral("add %1").arg(QLatin1String(kind)).split(QLatin1Char(' '))
                                                           + QStringList{QStringLiteral("--title"), QString::fromLatin1(title), QStringLiteral("--set"), QStringLiteral("hotkey=") + QString::fromLatin1(hotkey)});
        QVERIFY2(added.out.trimmed().toInt() > 0, added.err.constData());
    }
    portal->refused = {moveHotKey};

    QVERIFY2(m_korvane.start(), m_korvane.output.constData());
    // The first start's notice comes before anything a test counts.
    QTRY_VERIFY_WITH_TIMEOUT(notified(QStringLiteral("Korvane is running"), 0), 15000);
}

void WaylandDesktopTest::cleanupTestCase()
{
    DesktopSession::end(m_korvane.process);
}

void WaylandDesktopTest::bindsEveryHotkeyThroughThePortal()
{
    // Some desktops read the set only from the session's creation, others only from the
    // binding: both carry every hotkey with its stored combination.
    const QHash<QString, QString> expected{{QStringLiteral("wakeHotKey"), QStringLiteral("LOGO+d")},
                                           {countHotKey, QStringLiteral("SHIFT+LOGO+c")},
                                           {moveHotKey, QStringLiteral("SHIFT+LOGO+m")}};
    QTRY_COMPARE_WITH_TIMEOUT(portal->preferredTriggers(QStringLiteral("BindShortcuts")), expected, 15000);
    QCOMPARE(portal->preferredTriggers(QStringLiteral("CreateSession")), expected);
    const auto create = std::find_if(portal->calls.cbegin(), portal->calls.cend(),
                                     [](const PortalServer::Call &call) { return call.member == QLatin1String("CreateSession"); });
    QCOMPARE(create->options.value(QStringLiteral("session_handle_token")).toString(), QStringLiteral("korvane"));
    const auto count = std::find_if(create->shortcuts.cbegin(), create->shortcuts.cend(),
                                    [](const PortalShortcut &shortcut) { return shortcut.id == countHotKey; });
    QCOMPARE(count->properties.value(QStringLiteral("description")).toString(), QStringLiteral("Count It"));

    // The refused one is told once, with its keys, and Korvane keeps running.
    QTRY_VERIFY_WITH_TIMEOUT(notified(QStringLiteral("Shortcut not bound"), 0), 15000);
    const auto told = std::count_if(session->notifications.calls.cbegin(), session->notifications.calls.cend(),
                                    [](const NotificationServer::Call &call) { return call.summary == QLatin1String("Shortcut not bound"); });
    QCOMPARE(told, 1);
    QVERIFY(std::any_of(session->notifications.calls.cbegin(), session->notifications.calls.cend(),
                        [](const NotificationServer::Call &call) { return call.body.startsWith(QStringLiteral("Shift+Super+M ")); }));
    QCOMPARE(m_korvane.process.state(), QProcess::Running);
}

void WaylandDesktopTest::activatedRunsTheAction()
{
    QTRY_VERIFY_WITH_TIMEOUT(!portal->preferredTriggers(QStringLiteral("BindShortcuts")).isEmpty(), 15000);
    const QString ourSession = portal->session;
    const int before = int(session->notifications.calls.size());
    // Korvane has no focused window when the shortcut comes: the clipboard is readable only
    // once its list has the focus.
    QCOMPARE(QProcess::execute(QStringLiteral("wl-copy"), {QStringLiteral("one two")}), 0);
    // Activated is broadcast: another program's session with the same id is not ours.
    portal->session = QStringLiteral("/org/freedesktop/portal/desktop/session/1_99/other");
    portal->activate(countHotKey);
    portal->session = ourSession;
    portal->activate(countHotKey);
    QTRY_COMPARE_WITH_TIMEOUT(int(session->notifications.calls.size()), before + 1, 15000);
    QCOMPARE(session->notifications.calls.last().summary, QStringLiteral("Count It succeeded"));
    // The list closed before the count was done: the result reaches the clipboard all the same.
    const auto pasted = [] {
        QProcess paste;
        paste.start(QStringLiteral("wl-paste"), {QStringLiteral("--no-newline")});
        return paste.waitForFinished(5000) ? paste.readAllStandardOutput() : QByteArray();
    };
    QTRY_VERIFY2_WITH_TIMEOUT(pasted().contains("7"), pasted().constData(), 5000);
    QCOMPARE(int(session->notifications.calls.size()), before + 1);
}

void WaylandDesktopTest::generalTabShowsTheBinding_data()
{
    QTest::addColumn<bool>("refused");
    QTest::addColumn<bool>("portalPresent");
    // What the desktop reports later, as a trigger description; "-": nothing.
    QTest::addColumn<QString>("changed");
    QTest::addColumn<QString>("field");
    QTest::addColumn<QString>("warning");

    QTest::newRow("bound as asked") << false << true << "-"
                                    << "Super+D"
                                    << "";
    QTest::newRow("rebound by the user") << false << true << "Ctrl+Alt+K"
                                         << "Ctrl+Alt+K"
                                         << "";
    QTest::newRow("cleared by the user") << false << true << ""
                                         << "Super+D"
                                         << "Not bound";
    QTest::newRow("refused") << true << true << "-"
                             << "Super+D"
                             << "Not bound";
    QTest::newRow("portal without global shortcuts") << false << false << "-"
                                                     << "Super+D"
                                                     << "This desktop binds no global shortcuts";
}

void WaylandDesktopTest::generalTabShowsTheBinding()
{
    QFETCH(bool, refused);
    QFETCH(bool, portalPresent);
    QFETCH(QString, changed);
    QFETCH(QString, field);
    QFETCH(QString, warning);

    portal->refused = refused ? QSet<QString>{SGWLHotKey::WakeHotKeyName} : QSet<QString>();
    portal->globalShortcuts = portalPresent;
    SGWLHotKey::unregisterHotKeyForName(SGWLHotKey::WakeHotKeyName);
    KorvanePlatform::setEventHotKeyService(std::make_unique<PortalHotKeyService>());
    KorvanePlatform::userDefaults()->setValue(SGWLHotKey::WakeHotKeyName, QVariantList{2, 1048576});
    GeneralSettingViewController general(nullptr);
    general.resize(520, 420);
    general.show();
    QVERIFY(GeneralSettingViewController::saveHotkey(PRLHotKey(2, 1048576), 2));
    QVERIFY(general.hotKeyField()->hotKey() == PRLHotKey(2, 1048576));

    if (changed != QLatin1String("-")) {
        QTRY_VERIFY_WITH_TIMEOUT(PTHotKeyCenter::sharedCenter()->bindingForName(SGWLHotKey::WakeHotKeyName).state == KorvaneEventHotKeyService::Binding::Bound, 15000);
        portal->changeShortcuts({{SGWLHotKey::WakeHotKeyName, {{QStringLiteral("trigger_description"), changed}}}});
    }
    QTRY_COMPARE_WITH_TIMEOUT(general.hotKeyField()->text(), field, 15000);
    QTRY_COMPARE_WITH_TIMEOUT(general.hotKeyWarning()->isVisibleTo(&general), !warning.isEmpty(), 15000);
    QVERIFY2(general.hotKeyWarning()->text().left(int(warning.size())) == warning, qPrintable(general.hotKeyWarning()->text()));

    if (refused)
        QVERIFY(DesktopSession::keep(general.grab().toImage(), m_home.path(), QStringLiteral("general-hotkey-refused")));
    portal->globalShortcuts = true;
}

int main(int argc, char *argv[])
{
    DesktopSession desktop;
    if (!desktop.startWayland()) {
        qWarning("could not start Weston and a session bus");
        return 1;
    }
    session = &desktop;
    PortalServer standIn;
    portal = &standIn;
    // The general settings are shown in this process, off screen; Korvane itself runs on Weston.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    app.setApplicationVersion(QStringLiteral(KORVANE_VERSION));
    WaylandDesktopTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_waylanddesktop.moc"
