#include "config.h"
#include "korvaneapplication.h"
#include "korvanecli.h"
#include "korvaneplatform.h"
#include "korvanetranslations.h"
#include "korvaneuserdefaults.h"

#include <QApplication>
#include <QCoreApplication>

int main(int argc, char *argv[])
{
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
