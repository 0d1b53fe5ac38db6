#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <functional>

// Starts the desktop's sharing helpers (xdg-email, kdeconnect-cli). Programs are always
// started directly with their arguments, never through a shell, so no text the user dropped
// is ever read as a command.
class ShareBackend
{
public:
    struct Result {
        bool started = false;
        // -1 when the program crashed or was stopped for taking too long.
        int exitCode = -1;
        QByteArray standardOutput;
    };
    using Finished = std::function<void(const Result &result)>;

    virtual ~ShareBackend() = default;

    // Runs the program to its end. Called on the main thread; finished comes later on the
    // main thread, exactly once.
    virtual void run(const QString &program, const QStringList &arguments, const Finished &finished) = 0;
    // Starts the program and leaves it running (a mail composer stays open as long as the
    // user writes). False when it could not be started at all.
    virtual bool startDetached(const QString &program, const QStringList &arguments) = 0;
};
