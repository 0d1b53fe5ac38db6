#include "config.h"
#include "dbussingleinstance.h"
#include "korvaneapplication.h"
#include "korvanecli.h"

#include <QApplication>

// The tray application, started by the korvane command for everything that is not a command.
int main(int argc, char *argv[])
{
    QList<QByteArray> args;
    for (int i = 1; i < argc; ++i)
        args.append(QByteArray(argv[i]));
    QString preferencesTab;
    const bool openPreferences = KorvaneCli::preferencesRequest(args, &preferencesTab);

    // The store and settings are found by this name, shared with the command line.
    QCoreApplication::setApplicationName(QStringLiteral("korvane"));
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
