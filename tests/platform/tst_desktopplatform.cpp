#include "platform/qt/desktopsoundplayer.h"
#include "platform/headless/headlessdragmonitor.h"
#include "platform/headless/headlesssoundplayer.h"
#include "platform/qt/desktopplatform.h"
#include "platform/platform.h"
#include "support/logcapture.h"

#include <QAudioDevice>
#include <QFile>
#include <QGuiApplication>
#include <QMediaDevices>
#include <QRegularExpression>
#include <QTest>
#include <QtEndian>

#include <cmath>

using namespace KorvaneTest;

// The back-ends the desktop platform picks, and the sound player of desktops with sound.
class DesktopPlatformTest final : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void headlessDragMonitorWhereThereIsNoX11();
    void platformKeepsTheInstalledPlayer();
    void resourcePaths();
    void popIsAShortPcmWave();
    void silent_data();
    void silent();
};

void DesktopPlatformTest::headlessDragMonitorWhereThereIsNoX11()
{
    QCOMPARE(QGuiApplication::platformName(), QStringLiteral("offscreen"));
    QTest::ignoreMessage(QtInfoMsg, QRegularExpression(QStringLiteral("\"offscreen\" platform: drag detection needs X11 for now$")));
    std::unique_ptr<DragMonitor> monitor = DesktopPlatform::createDragMonitor();
    QVERIFY(dynamic_cast<HeadlessDragMonitor *>(monitor.get()));
    QVERIFY(!monitor->isDragging());
}

void DesktopPlatformTest::platformKeepsTheInstalledPlayer()
{
    auto *headless = dynamic_cast<HeadlessSoundPlayer *>(Platform::soundPlayer());
    QVERIFY(headless);
    Platform::soundPlayer()->play(QStringLiteral("Pop"));
    QCOMPARE(headless->played(), QStringList{"Pop"});

    Platform::setSoundPlayer(DesktopPlatform::createSoundPlayer());
    QVERIFY(dynamic_cast<DesktopSoundPlayer *>(Platform::soundPlayer()));
    Platform::setSoundPlayer(nullptr);
    QVERIFY(dynamic_cast<HeadlessSoundPlayer *>(Platform::soundPlayer()));
}

// A sound by its name, and none for an unknown name or one that climbs out of the sounds.
void DesktopPlatformTest::resourcePaths()
{
    QCOMPARE(DesktopSoundPlayer::resourcePath(QStringLiteral("Pop")), QStringLiteral(":/sounds/pop.wav"));
    QCOMPARE(DesktopSoundPlayer::resourcePath(QStringLiteral("Beep")), QString());
    QCOMPARE(DesktopSoundPlayer::resourcePath(QStringLiteral("../images/notificationDone")), QString());
}

void DesktopPlatformTest::popIsAShortPcmWave()
{
    QFile file(DesktopSoundPlayer::resourcePath(QStringLiteral("Pop")));
    QVERIFY(file.open(QIODevice::ReadOnly));
    // The plain 44-byte header of a PCM wave: RIFF, then its fmt chunk, then the samples.
    const QByteArray bytes = file.readAll();
    const char *header = bytes.constData();
    QVERIFY(bytes.size() > 44 && bytes.startsWith("RIFF") && bytes.mid(8, 8) == "WAVEfmt " && bytes.mid(36, 4) == "data");
    QCOMPARE(qFromLittleEndian<quint32>(header + 4), quint32(bytes.size() - 8));
    QCOMPARE(qFromLittleEndian<quint16>(header + 20), 1);
    QCOMPARE(qFromLittleEndian<quint16>(header + 22), 1);
    QCOMPARE(qFromLittleEndian<quint32>(header + 24), 44100u);
    QCOMPARE(qFromLittleEndian<quint16>(header + 34), 16);
    const QByteArray data = bytes.mid(44);
    QCOMPARE(qFromLittleEndian<quint32>(header + 40), quint32(data.size()));
    QCOMPARE(data.size() % 2, 0);

    const qsizetype frames = data.size() / 2;
    const double seconds = double(frames) / 44100;
    QVERIFY2(seconds >= 0.06 && seconds <= 0.1, qPrintable(QString::number(seconds)));

    QList<int> samples;
    for (qsizetype i = 0; i < frames; ++i)
        samples.append(qFromLittleEndian<qint16>(data.constData() + 2 * i));
    int peak = 0;
    for (int s : std::as_const(samples))
        peak = std::max(peak, std::abs(s));
    // Loud enough to be heard, with room below full scale.
    QVERIFY2(peak > 32767 / 4 && peak < 32767, qPrintable(QString::number(peak)));
    // It starts and ends at rest, so it does not click.
    QVERIFY(std::abs(samples.first()) < 32767 / 100);
    QVERIFY(std::abs(samples.last()) < 32767 / 100);
}

void DesktopPlatformTest::silent_data()
{
    QTest::addColumn<QString>("name");
    QTest::newRow("no audio device") << "Pop";
    QTest::newRow("unknown name") << "Beep";
}

// main() points the sound server at nothing. Asking for the output the first time lets Qt
// say once that it found no sound server; that is its own start-up, not a play.
void DesktopPlatformTest::silent()
{
    QFETCH(QString, name);
    QVERIFY(QMediaDevices::defaultAudioOutput().isNull());
    DesktopSoundPlayer player;
    LogCapture log(false);
    for (int i = 0; i < 20; ++i)
        player.play(name);
    // Nothing was loaded: a loaded sound makes Qt warn about the missing output.
    QVERIFY(!player.soundEffect(name));
    QVERIFY2(log.complaints().isEmpty(), qPrintable(log.complaints().join(QLatin1Char('\n'))));
    QCOMPARE(log.count("korvane.platform.sound"), 1);
}

int main(int argc, char *argv[])
{
    // No sound server: the test is the same on a desktop with speakers and on a build machine.
    qputenv("PULSE_SERVER", "unix:/nonexistent/korvane-test");
    qputenv("PULSE_RUNTIME_PATH", "/nonexistent/korvane-test");
    QGuiApplication app(argc, argv);
    DesktopPlatformTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_desktopplatform.moc"
