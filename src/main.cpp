#include "config.h"
#include "korvaneapplication.h"
#include "korvanecli.h"
#include "korvaneplatform.h"
#include "korvanetranslations.h"
#include "korvaneuserdefaults.h"

#include <QApplication>
#include <QCoreApplication>
#include <QThreadPool>

int main(int argc, char *argv[])
{
    // Image batches run one job per file on the shared pool; a smaller pool leaves cores to
    // other work and gives benchmarks their serial baseline.
    bool threadsSet = false;
    const int threads = qEnvironmentVariableIntValue("KORVANE_THREADS", &threadsSet);
    if (threadsSet && threads > 0)
        QThreadPool::globalInstance()->setMaxThreadCount(threads);

    QList<QByteArray> args;
    for (int i = 1; i < argc; ++i)
        args.append(QByteArray(argv[i]));

    if (!args.isEmpty() && KorvaneCli::isCommand(args.first())) {
        QCoreApplication app(argc, argv);
        QCoreApplication::setApplicationVersion(QStringLiteral(KORVANE_VERSION));
        KorvaneTranslations::install(KorvanePlatform::userDefaults()->preferredLanguages());
        return KorvaneCli().exec(args);
    }

    QApplication app(argc, argv);
    QCoreApplication::setApplicationVersion(QStringLiteral(KORVANE_VERSION));
    QApplication::setQuitOnLastWindowClosed(false);
    KorvaneApplication korvane;
    korvane.start();
    return app.exec();
}
