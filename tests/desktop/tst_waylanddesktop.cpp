// Korvane on Wayland: a headless Weston, a private session bus, a stand-in desktop portal with
// global shortcuts and a stand-in notification server. The real program binds its hotkeys
// through the portal; the general settings show what the desktop made of them.
#include "support/desktopsession.h"
#include "support/portalserver.h"

#include "config.h"
#include "shell/generalsettingspage.h"
#include "shell/keycombinationedit.h"
#include "platform/platform.h"
#include "actions/text/translations.h"
#include "platform/settingsbackend.h"
#include "platform/portal/portalshortcutbackend.h"
#include "shortcuts/globalshortcutregistry.h"

#include <QApplication>
#include <QLabel>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

using namespace KorvaneTest;

namespace {

DesktopSession *session = nullptr;
PortalServer *portal = nullptr;

// The desktop ids of the two actions' shortcuts, once they are made.
QString countHotKey;
QString moveHotKey;

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
    QTemporaryDir m_home;
    KorvaneProcess m_korvane{m_home.path()};
};

void WaylandDesktopTest::initTestCase()
{
    QVERIFY(session->startServices());
    QVERIFY(portal->start(session->busAddress()));
    Translations::install({QStringLiteral("en")});
    m_korvane.env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("wayland"));

    // Super+Shift+C counts characters; Super+Shift+M, which moves files, the desktop refuses.
    QCOMPARE(m_korvane.run({QStringLiteral("list")}).exitCode, 0);
    for (const auto &[kind, title, hotkey, id] : {std::tuple{"0 2", "Count It", "Shift+Super+C", &countHotKey}, std::tuple{"1 8", "Move Away", "Shift+Super+M", &moveHotKey}}) {
        const KorvaneProcess::Result added = m_korvane.run(QStringLiteral("add %1").arg(QLatin1String(kind)).split(QLatin1Char(' '))
                                                           + QStringList{QStringLiteral("--title"), QString::fromLatin1(title), QStringLiteral("--set"), QStringLiteral("hotkey=") + QString::fromLatin1(hotkey)});
        QVERIFY2(added.out.trimmed().toInt() > 0, added.err.constData());
        *id = QStringLiteral("action-") + QString::fromLatin1(added.out.trimmed());
    }
    // Plasma binds a key its own shortcut holds and then skips it.
    portal->refused = {moveHotKey};

    QVERIFY2(m_korvane.start(), m_korvane.output.constData());
    // The first start's notice waits for the desktop, and names the key it bound.
    QTRY_COMPARE_WITH_TIMEOUT(session->notifications.count(QStringLiteral("Korvane is running")), 1, 15000);
    QCOMPARE(session->notifications.count(QStringLiteral("Press Shift+Super+K or run")), 1);
}

void WaylandDesktopTest::cleanupTestCase()
{
    DesktopSession::end(m_korvane.process);
}

void WaylandDesktopTest::bindsEveryHotkeyThroughThePortal()
{
    // Some desktops read the set only from the session's creation, others only from the
    // binding: both carry every hotkey with its stored combination, under the action's name.
    const QHash<QString, QString> expected{{QStringLiteral("wake"), QStringLiteral("SHIFT+LOGO+k")},
                                           {countHotKey, QStringLiteral("SHIFT+LOGO+c")},
                                           {moveHotKey, QStringLiteral("SHIFT+LOGO+m")}};
    QTRY_COMPARE_WITH_TIMEOUT(portal->preferredTriggers(QStringLiteral("BindShortcuts")), expected, 15000);
    QCOMPARE(portal->preferredTriggers(QStringLiteral("CreateSession")), expected);
    // The app id is registered first, on the connection that then asks for the session.
    const auto create = std::find_if(portal->calls.cbegin(), portal->calls.cend(),
                                     [](const PortalServer::Call &call) { return call.member == QLatin1String("CreateSession"); });
    const auto first = std::find_if(portal->calls.cbegin(), portal->calls.cend(), [&](const PortalServer::Call &call) { return call.sender == create->sender; });
    QVERIFY(first->member == QLatin1String("Register") && create->options.value(QStringLiteral("session_handle_token")).toString() == QLatin1String("korvane"));
    QVERIFY(std::any_of(create->shortcuts.cbegin(), create->shortcuts.cend(), [](const PortalShortcut &shortcut) { return shortcut.id == countHotKey && shortcut.properties.value(QStringLiteral("description")) == QLatin1String("Count It"); }));

    // The refused one is told once, with its keys, and Korvane keeps running.
    QTRY_COMPARE_WITH_TIMEOUT(session->notifications.count(QStringLiteral("Shift+Super+M is kept")), 1, 15000);
    QCOMPARE(m_korvane.process.state(), QProcess::Running);
}

void WaylandDesktopTest::activatedRunsTheAction()
{
    QTRY_VERIFY_WITH_TIMEOUT(!portal->preferredTriggers(QStringLiteral("BindShortcuts")).isEmpty(), 15000);
    const QString ourSession = portal->session;
    // Korvane has no focused window when the shortcut comes: the clipboard is readable only
    // once its list has the focus.
    QCOMPARE(QProcess::execute(QStringLiteral("wl-copy"), {QStringLiteral("one two")}), 0);
    // Activated is broadcast: another program's session with the same id is not ours.
    portal->session = QStringLiteral("/org/freedesktop/portal/desktop/session/1_99/other");
    portal->activate(countHotKey);
    portal->session = ourSession;
    portal->activate(countHotKey);
    QTRY_COMPARE_WITH_TIMEOUT(session->notifications.count(QStringLiteral("Count It succeeded")), 1, 15000);
    // The list closed before the count was done: the result reaches the clipboard all the same.
    const auto pasted = [] { return DesktopSession::output(QStringLiteral("wl-paste"), {QStringLiteral("--no-newline")}).value_or(QByteArray()); };
    QTRY_VERIFY2_WITH_TIMEOUT(pasted().contains("7"), pasted().constData(), 5000);
    QCOMPARE(session->notifications.count(QStringLiteral("Count It succeeded")), 1);

    // The wake list, and the command line, read the clipboard once a window of theirs has
    // the focus: never an empty list, never an empty success.
    QCOMPARE(QProcess::execute(QStringLiteral("wl-copy"), {QStringLiteral("three four")}), 0);
    const KorvaneProcess::Result classified = m_korvane.run({QStringLiteral("classify"), QStringLiteral("--clipboard"), QStringLiteral("--json")});
    QVERIFY2(classified.out.contains("\"textString\": \"three four\""), classified.err.constData());
    m_korvane.output.clear();
    QCOMPARE(m_korvane.run({QStringLiteral("show")}).exitCode, 0);
    const QRegularExpression listed(QStringLiteral("the list for the clipboard shows [1-9][0-9]* actions, read once it had the focus"));
    QTRY_VERIFY2_WITH_TIMEOUT(listed.match(QString::fromUtf8(m_korvane.output)).hasMatch(), m_korvane.output.constData(), 15000);
    QCOMPARE(m_korvane.run({QStringLiteral("show")}).exitCode, 0);
}

void WaylandDesktopTest::generalTabShowsTheBinding_data()
{
    // How the desktop behaves, as the stand-in portal names it; "held": it holds Ctrl+Alt+K
    // for the wake key from an earlier run, "taken": its own shortcut holds the key.
    QTest::addColumn<QString>("desktop");
    // What the desktop reports later, as a trigger description; "-": nothing.
    QTest::addColumn<QString>("changed");
    QTest::addColumn<QString>("field");
    QTest::addColumn<QString>("warning");
    for (const auto &[name, desktop, changed, field, warning] : {
             std::tuple{"bound as asked", "", "-", "Super+D", ""},
             std::tuple{"held from an earlier run", "held", "-", "Ctrl+Alt+K", ""},
             std::tuple{"rebound by the user", "", "Ctrl+Alt+K", "Ctrl+Alt+K", ""},
             std::tuple{"rebound, in GNOME's words", "", "Press <Primary><Alt>k", "Ctrl+Alt+K", ""},
             std::tuple{"cleared by the user", "", "", "Super+D", "Not bound: the shortcut was declined"},
             std::tuple{"declined by the user", "declines", "-", "Super+D", "Not bound: the shortcut was declined"},
             std::tuple{"taken by the desktop", "taken", "-", "Super+D", "Not bound: the desktop or another program"},
             std::tuple{"answer 2 after the change", "gnome", "-", "Super+D", ""},
             std::tuple{"backend still starting", "starting", "-", "Super+D", ""},
             std::tuple{"portal before the registry", "no registry", "-", "Super+D", ""},
             std::tuple{"app id not accepted", "no app info", "-", "Super+D", "Not bound: the desktop portal does not accept"},
             std::tuple{"portal without global shortcuts", "no interface", "-", "Super+D", "This desktop binds no global shortcuts"}})
        QTest::newRow(name) << QString::fromLatin1(desktop) << QString::fromLatin1(changed) << QString::fromLatin1(field) << QString::fromLatin1(warning);
}

void WaylandDesktopTest::generalTabShowsTheBinding()
{
    QFETCH(QString, desktop);
    QFETCH(QString, changed);
    QFETCH(QString, field);
    QFETCH(QString, warning);

    portal->desktop = desktop;
    portal->calls.clear();
    portal->refused = desktop == QLatin1String("taken") ? QSet<QString>{GlobalShortcutRegistry::WakeDesktopId} : QSet<QString>();
    portal->held = desktop == QLatin1String("held") ? QHash<QString, QString>{{GlobalShortcutRegistry::WakeDesktopId, QStringLiteral("Ctrl+Alt+K")}} : QHash<QString, QString>();
    GlobalShortcutRegistry::instance()->unregisterShortcut(GlobalShortcutRegistry::WakeShortcutName);
    Platform::setShortcutBackend(std::make_unique<PortalShortcutBackend>());
    Platform::settingsBackend()->setValue(GlobalShortcutRegistry::WakeShortcutName, QVariantList{2, 1048576});
    GeneralSettingsPage general(nullptr);
    general.resize(520, 420);
    general.show();
    const QKeyCombination superD(Qt::MetaModifier, Qt::Key_D);
    QVERIFY(GeneralSettingsPage::saveHotkey(superD));
    QCOMPARE(general.hotKeyField()->keyCombination(), superD);

    if (changed != QLatin1String("-")) {
        QTRY_VERIFY_WITH_TIMEOUT(GlobalShortcutRegistry::instance()->binding(GlobalShortcutRegistry::WakeShortcutName).state == GlobalShortcutBackend::Binding::Bound, 15000);
        portal->changeShortcuts({{GlobalShortcutRegistry::WakeDesktopId, {{QStringLiteral("trigger_description"), changed}}}});
    }
    QTRY_VERIFY_WITH_TIMEOUT(GlobalShortcutRegistry::instance()->binding(GlobalShortcutRegistry::WakeShortcutName).state != GlobalShortcutBackend::Binding::Pending, 15000);
    QTRY_COMPARE_WITH_TIMEOUT(general.hotKeyField()->text(), field, 15000);
    QTRY_COMPARE_WITH_TIMEOUT(general.hotKeyWarning()->isVisibleTo(&general), !warning.isEmpty(), 15000);
    QVERIFY2(general.hotKeyWarning()->text().left(int(warning.size())) == warning, qPrintable(general.hotKeyWarning()->text()));
    // What the desktop held already is not asked for again.
    QCOMPARE(portal->preferredTriggers(QStringLiteral("BindShortcuts")).isEmpty(), desktop == QLatin1String("held") || (desktop.startsWith(QLatin1String("no ")) && desktop != QLatin1String("no registry")));

    if (desktop == QLatin1String("taken"))
        QVERIFY(DesktopSession::keep(general.grab().toImage(), m_home.path(), QStringLiteral("general-hotkey-refused")));
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
