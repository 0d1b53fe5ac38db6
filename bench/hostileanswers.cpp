// Driven by hostile.sh: a stand-in that answers every request with one of the tests' hostile
// answers, named on the command line. Prints its port, then serves until it is killed.
#include "servers/hostileanswers.h"

#include <QCoreApplication>

#include <cstdio>

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    const StandInResponse answer = HostileAnswers::named(args.value(1), args.value(2, QStringLiteral("0")).toInt());
    StandInServer server;
    if (answer.behaviour != StandInResponse::Behaviour::Script || !server.start()) {
        std::fprintf(stderr, "usage: hostileanswers endlesschunks|negativechunks|hugechunk|bigchunk|drip|continueflood|endlesshead [INTERVAL_MS]\n");
        return 2;
    }
    server.setOverride(answer, false);
    std::printf("%d\n", server.port());
    std::fflush(stdout);
    return app.exec();
}
