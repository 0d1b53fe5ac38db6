#include "platform/xdg/xdgurlopener.h"

#include "platform/platformlogging.h"

#include <QLoggingCategory>
#include <QProcess>
#include <QStandardPaths>
#include <QTimer>

#include <memory>

bool XdgUrlOpener::openURLs(const QList<QUrl> &urls)
{
    bool all = true;
    for (const QUrl &url : urls) {
        QProcess process;
        process.setProgram(QStringLiteral("xdg-open"));
        process.setArguments({QString::fromUtf8(url.toEncoded())});
        // xdg-open repeats the URL, and with it the user's text, in its complaints.
        process.setStandardOutputFile(QProcess::nullDevice());
        process.setStandardErrorFile(QProcess::nullDevice());
        if (!process.startDetached()) {
            qCWarning(lcOpener, "could not start xdg-open for a %s: URL", qUtf8Printable(url.scheme()));
            all = false;
        }
    }
    return all;
}

void XdgUrlOpener::openURL(const QUrl &url, const Opened &done)
{
    if (!launch(url, done))
        QTimer::singleShot(0, [done] { done(false); });
}

bool XdgUrlOpener::launch(const QUrl &url, const Opened &done)
{
    const QString program = QStandardPaths::findExecutable(QStringLiteral("xdg-open"));
    if (program.isEmpty())
        return false;
    auto *process = new QProcess;
    process->setProgram(program);
    process->setArguments({QString::fromUtf8(url.toEncoded())});
    process->setStandardOutputFile(QProcess::nullDevice());
    process->setStandardErrorFile(QProcess::nullDevice());
    const auto reported = std::make_shared<bool>(false);
    const auto report = [done, reported](bool opened) {
        if (!*reported) {
            *reported = true;
            done(opened);
        }
    };
    const QString scheme = url.scheme();
    QObject::connect(process, &QProcess::finished, process, [process, report, scheme](int exitCode, QProcess::ExitStatus status) {
        const bool opened = status == QProcess::NormalExit && exitCode == 0;
        if (!opened)
            qCInfo(lcOpener, "xdg-open found no way to open a %s: URL (exit status %d)", qUtf8Printable(scheme), exitCode);
        report(opened);
        process->deleteLater();
    });
    QObject::connect(process, &QProcess::errorOccurred, process, [process, report](QProcess::ProcessError error) {
        if (error != QProcess::FailedToStart)
            return;
        qCWarning(lcOpener, "could not start xdg-open: %s", qUtf8Printable(process->errorString()));
        report(false);
        process->deleteLater();
    });
    // A launcher still running is left to run on: stopping it would close the handler.
    QTimer::singleShot(launchVerdictMs, process, [report] { report(true); });
    process->start();
    return true;
}
