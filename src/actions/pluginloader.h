#pragma once

#include <QFunctionPointer>
#include <QString>

// Finds one of Korvane's own plug-ins (heavy libraries loaded on first use) and resolves its
// entry point. Looked for beside the program, in the installed lib/korvane folder and beside
// the build's targets; a plug-in, once loaded, stays loaded for the life of the process.
class PluginLoader final
{
public:
    PluginLoader() = delete;

    // The entry point, or null (with a warning) when no folder holds a plug-in that has it.
    static QFunctionPointer resolve(const QString &fileName, const char *symbol);
};
