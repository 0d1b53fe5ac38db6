#include "config.h"
#include "dbussingleinstance.h"
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

    QString preferencesTab;
    const bool openPreferences = KorvaneCli::preferencesRequest(args, &preferencesTab);
    if (!openPreferences && !args.isEmpty() && KorvaneCli::isCommand(args.first())) {
        QCoreApplication app(argc, argv);
        QCoreApplication::setApplicationVersion(QStringLiteral(KORVANE_VERSION));
        KorvaneTranslations::install(KorvanePlatform::userDefaults()->preferredLanguages());
        return KorvaneCli().exec(args);
    }

    QApplication app(argc, argv);
    QCoreApplication::setApplicationVersion(QStringLiteral(KORVANE_VERSION));
    QApplication::setQuitOnLastWindowClosed(false);
    // One Korvane per session: a later start hands its request over and leaves, so there is
    // never a second tray icon.
    DBusSingleInstance instance;
    if (!instance.claim())
        return instance.forward(preferencesTab) ? 0 : 1;
    KorvaneApplication korvane;
    korvane.start(&instance);
    if (openPreferences)
        korvane.openPreferences(preferencesTab);
    return app.exec();
}
