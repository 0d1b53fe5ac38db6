#include "actions/pluginloader.h"

#include "actions/actionslogging.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QLibrary>
#include <QLoggingCategory>
#include <QMutex>
#include <QStringList>

namespace {

// Every plug-in loaded, never unloaded nor deleted: what a plug-in made may outlive any owner
// we could give it. Listed in a list that outlives the program's end too, so that the leak
// checker sees them reachable.
QMutex loadedMutex;
QList<QLibrary *> *const loaded = new QList<QLibrary *>;

}

QFunctionPointer PluginLoader::resolve(const QString &fileName, const char *symbol, Binding binding)
{
    const QString programDir = QCoreApplication::applicationDirPath();
    // The build's folder last: an installed program must never pick up a build's plug-in.
    const QStringList folders{programDir, programDir + QStringLiteral("/../lib/korvane"),
                              QStringLiteral(KORVANE_PLUGIN_BUILD_DIR)};
    for (const QString &folder : folders) {
        const QString path = QDir(folder).filePath(fileName);
        if (!QFileInfo::exists(path))
            continue;
        auto *library = new QLibrary(path);
        // Not under AddressSanitizer, which refuses deep binding: the plug-in's malloc would
        // bypass it.
#ifndef KORVANE_SANITIZE
        if (binding == Binding::Deep)
            library->setLoadHints(QLibrary::DeepBindHint);
#endif
        if (const QFunctionPointer entry = library->resolve(symbol)) {
            const QMutexLocker lock(&loadedMutex);
            loaded->append(library);
            return entry;
        }
        qCWarning(lcPlugins, "cannot load %s: %s", qUtf8Printable(path), qUtf8Printable(library->errorString()));
        delete library;
    }
    qCWarning(lcPlugins, "no %s in %s", qUtf8Printable(fileName), qUtf8Printable(folders.join(QLatin1String(", "))));
    return nullptr;
}
