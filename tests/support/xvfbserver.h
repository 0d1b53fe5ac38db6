#pragma once

#include <QByteArray>
#include <QGuiApplication>
#include <QTest>

#include <cstdio>
#include <sys/types.h>

namespace KorvaneTest {

// An X server of the test's own; Xvfb picks a free display number and reports it on the
// pipe once it accepts connections.
class XvfbServer final
{
public:
    bool start(const char *screen = "640x480x24");

    void stop();

    QByteArray display() const { return m_display; }

    // The main() of a test on an X server of its own; the test object is given its display.
    template<typename Test>
    static int run(int argc, char *argv[])
    {
        XvfbServer server;
        if (!server.start()) {
            std::fprintf(stderr, "%s: Xvfb could not be started\n", argv[0]);
            return 1;
        }
        qputenv("DISPLAY", server.display());
        qputenv("QT_QPA_PLATFORM", "xcb");
        int result = 1;
        {
            QGuiApplication app(argc, argv);
            Test test(server.display());
            result = QTest::qExec(&test, argc, argv);
        }
        server.stop();
        return result;
    }

private:
    pid_t m_pid = -1;
    QByteArray m_display;
};

} // namespace KorvaneTest
