#include "platform/xdg/processsharebackend.h"

#include "platform/platformlogging.h"

#include <QLoggingCategory>
#include <QProcess>
#include <QTimer>

void ProcessShareBackend::run(const QString &program, const QStringList &arguments, const Finished &finished)
{
    auto *process = new QProcess;
    process->setProgram(program);
    process->setArguments(arguments);
    process->setStandardInputFile(QProcess::nullDevice());

    auto *timeout = new QTimer(process);
    timeout->setSingleShot(true);
    QObject::connect(timeout, &QTimer::timeout, process, [process, program] {
        qCWarning(lcShareBackend, "%s did not finish in %d ms; stopping it", qUtf8Printable(program), timeoutMs);
        process->kill();
    });
    QObject::connect(process, &QProcess::errorOccurred, process, [process, finished](QProcess::ProcessError error) {
        // Every other error is followed by finished().
        if (error != QProcess::FailedToStart)
            return;
        process->deleteLater();
        finished(Result{});
    });
    QObject::connect(process, &QProcess::finished, process, [process, finished](int exitCode, QProcess::ExitStatus status) {
        process->deleteLater();
        const QByteArray output = process->readAllStandardOutput();
        const QByteArray errors = process->readAllStandardError();
        if (!errors.isEmpty())
            qCInfo(lcShareBackend, "%s: %s", qUtf8Printable(process->program()), errors.trimmed().constData());
        finished(Result{true, status == QProcess::NormalExit ? exitCode : -1, output});
    });
    timeout->start(timeoutMs);
    process->start();
}

bool ProcessShareBackend::startDetached(const QString &program, const QStringList &arguments)
{
    QProcess process;
    process.setProgram(program);
    process.setArguments(arguments);
    process.setStandardInputFile(QProcess::nullDevice());
    return process.startDetached();
}
