// The real tray application on a display and session bus of its own: the login entry it
// writes at start, and Korvane running once per session, with the preferences window shown
// by whoever starts it a second time.
#include "desktopsession.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

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
    // output: standard output, then standard error.
    int runKorvane(const QStringList &args, QByteArray *output = nullptr, QByteArray *standardOutput = nullptr);
    QString autostartPath() const { return m_home.filePath(QStringLiteral("config/autostart/korvane.desktop")); }

    QTemporaryDir m_home;
    QByteArray m_startOutput;
    QProcess m_korvane;
    QProcess m_accessibilityBus;
    QProcessEnvironment m_env;
};

int PrefsDesktopTest::runKorvane(const QStringList &args, QByteArray *output, QByteArray *standardOutput)
{
    QProcess process;
    process.setProcessEnvironment(m_env);
    process.start(QString::fromLocal8Bit(qgetenv("KORVANE_BINARY")), args);
    if (!process.waitForFinished(15000)) {
        process.kill();
        process.waitForFinished();
        return -1;
    }
    const QByteArray out = process.readAllStandardOutput();
    if (standardOutput)
        *standardOutput = out;
    if (output)
        *output = out + process.readAllStandardError();
    return process.exitCode();
}

void PrefsDesktopTest::initTestCase()
{
    QVERIFY(session->startServices());
    m_env = DesktopSession::korvaneEnvironment(m_home.path());
    QDir().mkpath(m_home.filePath(QStringLiteral("config/korvane")));
    QFile conf(m_home.filePath(QStringLiteral("config/korvane/korvane.conf")));
    QVERIFY(conf.open(QIODevice::WriteOnly));
    conf.write("[General]\nfirstOpenPreference=true\n");
    conf.close();
    QVERIFY(!QFile::exists(autostartPath()));
    // The accessibility bus of this session, which Qt joins when it starts.
    m_accessibilityBus.start(QStringLiteral("/usr/libexec/at-spi-bus-launcher"), {QStringLiteral("--launch-immediately")});
    QVERIFY(m_accessibilityBus.waitForStarted());
    m_env.insert(QStringLiteral("QT_LINUX_ACCESSIBILITY_ALWAYS_ON"), QStringLiteral("1"));

    // Not running yet: `preferences` starts the tray application with its window open.
    m_korvane.setProcessEnvironment(m_env);
    m_korvane.setProcessChannelMode(QProcess::MergedChannels);
    m_korvane.start(QString::fromLocal8Bit(qgetenv("KORVANE_BINARY")), {QStringLiteral("preferences"), QStringLiteral("--tab"), QStringLiteral("about")});
    QVERIFY(m_korvane.waitForStarted());
    QByteArray &output = m_startOutput;
    QTRY_VERIFY2_WITH_TIMEOUT((output += m_korvane.readAll()).contains("started with") || m_korvane.state() != QProcess::Running,
                              output.constData(), 15000);
    QCOMPARE(m_korvane.state(), QProcess::Running);
    QTRY_VERIFY_WITH_TIMEOUT(DesktopSession::windowShown(QStringLiteral("^About .* Korvane Preferences$")), 10000);
}

void PrefsDesktopTest::cleanupTestCase()
{
    DesktopSession::end(m_accessibilityBus);
    m_korvane.terminate();
    if (!m_korvane.waitForFinished(5000))
        m_korvane.kill();
}

void PrefsDesktopTest::startWritesTheLoginEntry()
{
    QTRY_VERIFY(QFile::exists(autostartPath()));
    QFile entry(autostartPath());
    QVERIFY(entry.open(QIODevice::ReadOnly));
    const QByteArray text = entry.readAll();
    QVERIFY2(text.contains("Exec=\"" + qgetenv("KORVANE_BINARY") + "\""), text.constData());
    QVERIFY2(m_startOutput.contains("succeed set"), m_startOutput.constData());
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
    QByteArray output;
    QCOMPARE(runKorvane(args, &output), 0);
    QVERIFY2(!output.contains("started with"), output.constData());
    QTRY_VERIFY_WITH_TIMEOUT(DesktopSession::windowShown(window), 5000);
    QCOMPARE(m_korvane.state(), QProcess::Running);
    // The store is the same one, and still whole.
    QByteArray list;
    QCOMPARE(runKorvane({QStringLiteral("list"), QStringLiteral("--json")}, nullptr, &list), 0);
    QVERIFY(QJsonDocument::fromJson(list).array().size() > 0);
}

void PrefsDesktopTest::unknownTabIsAUsageError()
{
    QByteArray output;
    QCOMPARE(runKorvane({QStringLiteral("preferences"), QStringLiteral("--tab"), QStringLiteral("colours")}, &output), 2);
    QVERIFY2(output.contains("there is no tab 'colours'"), output.constData());
    QCOMPARE(runKorvane({QStringLiteral("preferences"), QStringLiteral("--tab")}, &output), 2);
    QCOMPARE(m_korvane.state(), QProcess::Running);
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
    const auto clipboardText = [] {
        QProcess out;
        out.start(QStringLiteral("xclip"), {QStringLiteral("-o"), QStringLiteral("-selection"), QStringLiteral("clipboard")});
        return out.waitForFinished(5000) ? out.readAll() : QByteArray();
    };
    QTRY_COMPARE(clipboardText(), QByteArray("hello world"));
    QCOMPARE(runKorvane({QStringLiteral("show")}), 0);
    QByteArray failure = readTree({"push button|Clear Text Style, Alt+2", "push button|Settings", "text|Type text to act on"});
    QVERIFY2(failure.isEmpty(), failure.constData());

    QCOMPARE(runKorvane({QStringLiteral("preferences")}), 0);
    failure = readTree({"page tab list|", "page tab|Actions", "page tab|General", "page tab|About", "list|Your actions",
                        "list item|Clear Text Style", "table cell|Count Characters"});
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
    QProcessEnvironment env = DesktopSession::korvaneEnvironment(home.path());
    env.insert(QStringLiteral("DISPLAY"), QString::fromLatin1(display.display()));
    QProcess korvane;
    korvane.setProcessEnvironment(env);
    korvane.setProcessChannelMode(QProcess::MergedChannels);
    // A bus of its own, so that it does not hand over to the Korvane of the other tests.
    korvane.start(QStringLiteral("dbus-run-session"), {QStringLiteral("--"), QString::fromLocal8Bit(qgetenv("KORVANE_BINARY"))});
    QByteArray output;
    QTRY_VERIFY_WITH_TIMEOUT((output += korvane.readAll()).contains("started with"), 15000);
    display.stop();
    QVERIFY(korvane.waitForFinished(15000));
    output += korvane.readAll();
    QCOMPARE(korvane.exitStatus(), QProcess::NormalExit);
    // The toolkit's own status for a lost display; a crash would show as a signal's.
    QVERIFY2(korvane.exitCode() == 1, qPrintable(QString::number(korvane.exitCode()) + QLatin1Char(' ') + QString::fromUtf8(output)));

    QProcess list;
    env.remove(QStringLiteral("DISPLAY"));
    list.setProcessEnvironment(env);
    list.start(QString::fromLocal8Bit(qgetenv("KORVANE_BINARY")), {QStringLiteral("list"), QStringLiteral("--json")});
    QVERIFY(list.waitForFinished(15000));
    QCOMPARE(list.exitCode(), 0);
    QVERIFY(QJsonDocument::fromJson(list.readAllStandardOutput()).array().size() > 0);
}

int main(int argc, char *argv[])
{
    DesktopSession desktop;
    if (!desktop.start()) {
        qWarning("could not start Xvfb and a session bus");
        return 1;
    }
    session = &desktop;
    qputenv("QT_QPA_PLATFORM", "xcb");
    QApplication app(argc, argv);
    PrefsDesktopTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_prefsdesktop.moc"
