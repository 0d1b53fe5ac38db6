#include "actions/networkservices.h"

#include "actions/pluginloader.h"
#include "net/networkoperations.h"
#include "platform/platform.h"

const NetworkOperations *NetworkServices::operations()
{
    // The plug-in posts its answers to the application object and parents its clients to it:
    // it must see the one the program made.
    static const NetworkOperations *const loaded = [] {
        const auto entry = reinterpret_cast<NetworkEntry>(PluginLoader::resolve(
            QStringLiteral("korvane-net.so"), korvaneNetworkEntry, PluginLoader::Binding::Global));
        return entry ? entry(&Platform::settingsBackend) : nullptr;
    }();
    return loaded;
}
