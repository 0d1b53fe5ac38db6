#include "support/xvfbserver.h"

#include <csignal>
#include <string>
#include <sys/wait.h>
#include <unistd.h>

namespace KorvaneTest {

bool XvfbServer::start(const char *screen)
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

void XvfbServer::stop()
{
    if (m_pid > 0) {
        kill(m_pid, SIGTERM);
        waitpid(m_pid, nullptr, 0);
        m_pid = -1;
    }
}

} // namespace KorvaneTest
