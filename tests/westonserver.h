#pragma once

#include <QByteArray>
#include <QDeadlineTimer>
#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QThread>

#include <cstdlib>
#include <unistd.h>

// A Wayland compositor of the test's own: Weston's headless backend on a socket in a private
// runtime folder. It has no seat, so no client gets keyboard focus or a clipboard.
class WestonServer final
{
public:
    ~WestonServer() { stop(); }

    bool start()
    {
        QByteArray folder = QDir::tempPath().toLocal8Bit() + "/korvane-weston-XXXXXX";
        if (!mkdtemp(folder.data()))
            return false;
        m_runtimeDir = folder;
        m_socket = "wayland-korvane-" + QByteArray::number(getpid());
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("XDG_RUNTIME_DIR"), QString::fromLocal8Bit(m_runtimeDir));
        m_weston.setProcessEnvironment(env);
        m_weston.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        m_weston.start(QStringLiteral("weston"), {QStringLiteral("--backend=headless-backend.so"), QStringLiteral("--no-config"),
                                                  QStringLiteral("--idle-time=0"), QStringLiteral("--socket=") + QString::fromLocal8Bit(m_socket)});
        if (!m_weston.waitForStarted())
            return false;
        // Weston opens its socket once it takes clients.
        const QString socketPath = QString::fromLocal8Bit(m_runtimeDir + '/' + m_socket);
        for (QDeadlineTimer deadline(15000); !deadline.hasExpired(); QThread::msleep(20)) {
            if (QFileInfo::exists(socketPath))
                return true;
            if (m_weston.state() != QProcess::Running)
                return false;
        }
        return false;
    }

    void stop()
    {
        if (m_weston.state() != QProcess::NotRunning) {
            m_weston.terminate();
            if (!m_weston.waitForFinished(3000))
                m_weston.kill();
            m_weston.waitForFinished(1000);
        }
        if (!m_runtimeDir.isEmpty())
            QDir(QString::fromLocal8Bit(m_runtimeDir)).removeRecursively();
        m_runtimeDir.clear();
    }

    QByteArray runtimeDir() const { return m_runtimeDir; }
    QByteArray socket() const { return m_socket; }

private:
    QProcess m_weston;
    QByteArray m_runtimeDir;
    QByteArray m_socket;
};
