#pragma once

#include <QByteArray>
#include <QGuiApplication>
#include <QTest>

#include <csignal>
#include <cstdio>
#include <string>
#include <sys/wait.h>
#include <unistd.h>

// An X server of the test's own; Xvfb picks a free display number and reports it on the
// pipe once it accepts connections.
class XvfbServer final
{
public:
    bool start(const char *screen = "640x480x24")
    {
        int fds[2];
        if (pipe(fds) != 0)
            return false;
        m_pid = fork();
        if (m_pid == 0) {
            close(fds[0]);
            const std::string fd = std::to_string(fds[1]);
            // Without -noreset, Qt could not connect to Xvfb 21.1.16 (Debian 13) in about half
            // of the runs.
            execlp("Xvfb", "Xvfb", "-displayfd", fd.c_str(), "-nolisten", "tcp", "-noreset", "-screen", "0", screen,
                   static_cast<char *>(nullptr));
            _exit(127);
        }
        close(fds[1]);
        if (m_pid < 0) {
            close(fds[0]);
            return false;
        }
        QByteArray number;
        char c = 0;
        while (read(fds[0], &c, 1) == 1 && c != '\n')
            number.append(c);
        close(fds[0]);
        if (number.isEmpty())
            return false;
        m_display = ':' + number;
        return true;
    }

    void stop()
    {
        if (m_pid > 0) {
            kill(m_pid, SIGTERM);
            waitpid(m_pid, nullptr, 0);
            m_pid = -1;
        }
    }

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
