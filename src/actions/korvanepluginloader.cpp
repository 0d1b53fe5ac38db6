#include "korvanepluginloader.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QLibrary>
#include <QLoggingCategory>
#include <QStringList>

namespace {

Q_LOGGING_CATEGORY(lcPlugins, "korvane.plugins", QtWarningMsg)

}

QFunctionPointer KorvanePluginLoader::resolve(const QString &fileName, const char *symbol)
{
    const QString programDir = QCoreApplication::applicationDirPath();
    // The build's folder last: an installed program must never pick up a build's plug-in.
    const QStringList folders{programDir, programDir + QStringLiteral("/../lib/korvane"),
                              QStringLiteral(KORVANE_PLUGIN_BUILD_DIR)};
    for (const QString &folder : folders) {
        const QString path = QDir(folder).filePath(fileName);
        if (!QFileInfo::exists(path))
            continue;
        // Never unloaded: what the plug-in made may outlive any owner we could give it.
        auto *library = new QLibrary(path);
        // A plug-in's libraries look their symbols up among themselves first instead of through
        // every library the program has loaded: a quarter less work to load libvips. Not under
        // AddressSanitizer, which refuses deep binding: the plug-in's malloc would bypass it.
#ifndef KORVANE_SANITIZE
        library->setLoadHints(QLibrary::DeepBindHint);
#endif
        if (const QFunctionPointer entry = library->resolve(symbol))
            return entry;
        qCWarning(lcPlugins, "cannot load %s: %s", qUtf8Printable(path), qUtf8Printable(library->errorString()));
        delete library;
    }
    qCWarning(lcPlugins, "no %s in %s", qUtf8Printable(fileName), qUtf8Printable(folders.join(QLatin1String(", "))));
    return nullptr;
}
