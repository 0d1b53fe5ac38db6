// The real tray application on a display and session bus of its own: the login entry it
// writes at start, and Korvane running once per session, with the preferences window shown
// by whoever starts it a second time.
#include "support/desktopsession.h"
#include "support/files.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

using namespace KorvaneTest;

namespace {

DesktopSession *session = nullptr;

} // namespace

class PrefsDesktopTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void cleanupTestCase();
    void startWritesTheLoginEntry();
    void secondStartHandsOver_data();
    void secondStartHandsOver();
    void unknownTabIsAUsageError();
    void screenReaderNames();
    void lostDisplayEndsWithoutACrash();

private:
    QString autostartPath() const { return m_home.filePath(QStringLiteral("config/autostart/com.korvane.Korvane.desktop")); }

    QTemporaryDir m_home;
    KorvaneProcess m_korvane{m_home.path()};
    QProcess m_accessibilityBus;
};

void PrefsDesktopTest::initTestCase()
{
    QVERIFY(session->startServices());
    QVERIFY(writeFile(m_home.filePath(QStringLiteral("config/korvane/korvane.conf")), "[General]\nfirstOpenPreference=true\n"));
    QVERIFY(!QFile::exists(autostartPath()));
    // The accessibility bus of this session, which Qt joins when it starts.
    m_accessibilityBus.start(QStringLiteral("/usr/libexec/at-spi-bus-launcher"), {QStringLiteral("--launch-immediately")});
    QVERIFY(m_accessibilityBus.waitForStarted());
    m_korvane.env.insert(QStringLiteral("QT_LINUX_ACCESSIBILITY_ALWAYS_ON"), QStringLiteral("1"));

    // Not running yet: `preferences` starts the tray application with its window open.
    QVERIFY2(m_korvane.start({QStringLiteral("preferences"), QStringLiteral("--tab"), QStringLiteral("about")}), m_korvane.output.constData());
    QTRY_VERIFY_WITH_TIMEOUT(DesktopSession::windowShown(QStringLiteral("^About .* Korvane Preferences$")), 10000);
}

void PrefsDesktopTest::cleanupTestCase()
{
    DesktopSession::end(m_accessibilityBus);
    DesktopSession::end(m_korvane.process);
}

void PrefsDesktopTest::startWritesTheLoginEntry()
{
    QTRY_VERIFY(QFile::exists(autostartPath()));
    QFile entry(autostartPath());
    QVERIFY(entry.open(QIODevice::ReadOnly));
    const QByteArray text = entry.readAll();
    QVERIFY2(text.contains("Exec=\"" + qgetenv("KORVANE_BINARY") + "\""), text.constData());
    QVERIFY2(m_korvane.output.contains("succeed set"), m_korvane.output.constData());
}

void PrefsDesktopTest::secondStartHandsOver_data()
{
    QTest::addColumn<QStringList>("args");
    QTest::addColumn<QString>("window");
    QTest::newRow("preferences general") << QStringList{"preferences", "--tab", "general"} << "^General .* Korvane Preferences$";
    QTest::newRow("preferences editor by default") << QStringList{"preferences"} << "^Actions .* Korvane Preferences$";
    QTest::newRow("preferences --tab=about") << QStringList{"preferences", "--tab=about"} << "^About .* Korvane Preferences$";
    // A plain start shows the window on the tab it had; the rows before change the tab each time.
    QTest::newRow("plain start") << QStringList{} << "^About .* Korvane Preferences$";
}

void PrefsDesktopTest::secondStartHandsOver()
{
    QFETCH(QStringList, args);
    QFETCH(QString, window);
    const KorvaneProcess::Result second = m_korvane.run(args);
    QCOMPARE(second.exitCode, 0);
    QVERIFY2(!(second.out + second.err).contains("started with"), second.err.constData());
    QTRY_VERIFY_WITH_TIMEOUT(DesktopSession::windowShown(window), 5000);
    QCOMPARE(m_korvane.process.state(), QProcess::Running);
    // The store is the same one, and still whole.
    const KorvaneProcess::Result list = m_korvane.run({QStringLiteral("list"), QStringLiteral("--json")});
    QCOMPARE(list.exitCode, 0);
    QVERIFY(QJsonDocument::fromJson(list.out).array().size() > 0);
}

void PrefsDesktopTest::unknownTabIsAUsageError()
{
    const KorvaneProcess::Result unknown = m_korvane.run({QStringLiteral("preferences"), QStringLiteral("--tab"), QStringLiteral("colours")});
    QCOMPARE(unknown.exitCode, 2);
    QVERIFY2(unknown.err.contains("there is no tab 'colours'"), unknown.err.constData());
    QCOMPARE(m_korvane.run({QStringLiteral("preferences"), QStringLiteral("--tab")}).exitCode, 2);
    QCOMPARE(m_korvane.process.state(), QProcess::Running);
}

// What a screen reader says of the popover and the preferences: every row by its title and
// digit key, the settings button, the tabs as page tabs, and no button without a name.
void PrefsDesktopTest::screenReaderNames()
{
    const auto readTree = [](const QStringList &wanted) {
        QProcess reader;
        reader.setProcessChannelMode(QProcess::MergedChannels);
        reader.start(QStringLiteral(KORVANE_ACCESSIBLETREE), wanted);
        return reader.waitForFinished(30000) && reader.exitCode() == 0 ? QByteArray() : reader.readAll() + "(reader failed)";
    };
    QProcess clipboard;
    clipboard.start(QStringLiteral("xclip"), {QStringLiteral("-selection"), QStringLiteral("clipboard")});
    clipboard.write("hello world");
    clipboard.closeWriteChannel();
    QVERIFY(clipboard.waitForStarted());
    const auto clipboardText = [] { return DesktopSession::output(QStringLiteral("xclip"), {QStringLiteral("-o"), QStringLiteral("-selection"), QStringLiteral("clipboard")}).value_or(QByteArray()); };
    QTRY_COMPARE(clipboardText(), QByteArray("hello world"));
    QCOMPARE(m_korvane.run({QStringLiteral("show")}).exitCode, 0);
    QByteArray failure = readTree({"ROLE_PUSH_BUTTON|Clear Text Style, Alt+2", "ROLE_PUSH_BUTTON|Settings", "ROLE_TEXT|Type text to act on"});
    QVERIFY2(failure.isEmpty(), failure.constData());

    QCOMPARE(m_korvane.run({QStringLiteral("preferences")}).exitCode, 0);
    failure = readTree({"ROLE_PAGE_TAB_LIST|", "ROLE_PAGE_TAB|Actions", "ROLE_PAGE_TAB|General", "ROLE_PAGE_TAB|About",
                        "ROLE_LIST|Your actions", "ROLE_LIST_ITEM|Clear Text Style", "ROLE_TABLE_CELL|Count Characters"});
    QVERIFY2(failure.isEmpty(), failure.constData());
    clipboard.terminate();
    clipboard.waitForFinished();
}

// The display going away (the user logs out) ends Korvane through the toolkit's exit(): it
// must leave quietly with its store whole, not crash on the way out.
void PrefsDesktopTest::lostDisplayEndsWithoutACrash()
{
    XvfbServer display;
    QVERIFY(display.start());
    QTemporaryDir home;
    KorvaneProcess korvane(home.path());
    korvane.env.insert(QStringLiteral("DISPLAY"), QString::fromLatin1(display.display()));
    // A bus of its own, so that it does not hand over to the Korvane of the other tests.
    korvane.launcher = QStringList{QStringLiteral("dbus-run-session"), QStringLiteral("--")};
    // Leaving through exit() frees nothing, which a leak checker would report as leaks.
    korvane.env.insert(QStringLiteral("ASAN_OPTIONS"), QStringLiteral("detect_leaks=0:abort_on_error=1"));
    QVERIFY2(korvane.start(), korvane.output.constData());
    display.stop();
    QVERIFY(korvane.process.waitForFinished(15000));
    QCOMPARE(korvane.process.exitStatus(), QProcess::NormalExit);
    // The toolkit's own status for a lost display; a crash would show as a signal's.
    QVERIFY2(korvane.process.exitCode() == 1, qPrintable(QString::number(korvane.process.exitCode()) + QLatin1Char(' ') + QString::fromUtf8(korvane.output)));
    const KorvaneProcess::Result list = korvane.run({QStringLiteral("list"), QStringLiteral("--json")});
    QCOMPARE(list.exitCode, 0);
    QVERIFY(QJsonDocument::fromJson(list.out).array().size() > 0);
}

int main(int argc, char *argv[])
{
    return DesktopSession::run<PrefsDesktopTest, QApplication>(argc, argv, session);
}

#include "tst_prefsdesktop.moc"
