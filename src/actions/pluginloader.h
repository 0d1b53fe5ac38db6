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

    // Where a plug-in's libraries look their symbols up first.
    enum class Binding {
        // Among themselves, instead of through every library the program has loaded: a quarter
        // less work to load libvips. Only for plug-ins that share no state with the program
        // through Qt's data: a program built without -fPIC (Qt 6.8 allows it) holds its own
        // copies of what it reads of Qt's data, such as QCoreApplication::self, and Qt then
        // uses those, while a deep-bound plug-in still reads Qt's untouched originals.
        Deep,
        // Through the program first, as every library does.
        Global,
    };

    // The entry point, or null (with a warning) when no folder holds a plug-in that has it.
    static QFunctionPointer resolve(const QString &fileName, const char *symbol, Binding binding = Binding::Deep);
};
