#pragma once

#include "platform/sharebackend.h"

// Runs the sharing helpers as child processes found on PATH.
class ProcessShareBackend final : public ShareBackend
{
public:
    // A helper that has not ended by then is stopped and counts as failed: a KDE Connect
    // daemon that does not answer must not keep an action running for ever.
    static constexpr int timeoutMs = 30000;

    void run(const QString &program, const QStringList &arguments, const Finished &finished) override;
    bool startDetached(const QString &program, const QStringList &arguments) override;
};
