#include "config.h"
#include "cli/commandline.h"
#include "platform/platform.h"
#include "actions/text/translations.h"
#include "platform/settingsbackend.h"

#include <QCoreApplication>
#include <QThreadPool>

#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstring>
#include <string>
#include <unistd.h>

namespace {

// The tray application is a program of its own, beside this one in a build and in
// lib/korvane when installed. Commands never load its toolkit and platform libraries, which
// would cost them more start-up time than most of them take to run.
std::string desktopProgram()
{
    char self[PATH_MAX];
    const ssize_t length = readlink("/proc/self/exe", self, sizeof self - 1);
    if (length <= 0)
        return std::string();
    std::string dir(self, size_t(length));
    dir.erase(dir.rfind('/'));
    for (const char *relative : {"/korvane-desktop", "/../lib/korvane/korvane-desktop"}) {
        const std::string path = dir + relative;
        if (access(path.c_str(), X_OK) == 0)
            return path;
    }
    return std::string();
}

}

int main(int argc, char *argv[])
{
    QList<QByteArray> args;
    for (int i = 1; i < argc; ++i)
        args.append(QByteArray(argv[i]));

    if (args.isEmpty() || !Korvane::CommandLine::isCommand(args.first()) || Korvane::CommandLine::needsDesktop(args)) {
        const std::string desktop = desktopProgram();
        if (!desktop.empty())
            execv(desktop.c_str(), argv);
        std::fprintf(stderr, "korvane: cannot start the tray application %s: %s\n",
                     desktop.empty() ? "korvane-desktop" : desktop.c_str(), std::strerror(desktop.empty() ? ENOENT : errno));
        return Korvane::CommandLine::Failure;
    }

    // Image batches run one job per file on the shared pool; a smaller pool leaves cores to
    // other work and gives benchmarks their serial baseline.
    bool threadsSet = false;
    const int threads = qEnvironmentVariableIntValue("KORVANE_THREADS", &threadsSet);
    if (threadsSet && threads > 0)
        QThreadPool::globalInstance()->setMaxThreadCount(threads);

    QCoreApplication::setApplicationName(QStringLiteral("korvane"));
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationVersion(QStringLiteral(KORVANE_VERSION));
    Translations::install(Platform::settingsBackend()->preferredLanguages());
    return Korvane::CommandLine().exec(args);
}
