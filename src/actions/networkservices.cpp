#include "actions/networkservices.h"

#include "actions/pluginloader.h"
#include "net/networkoperations.h"
#include "platform/platform.h"

const NetworkOperations *NetworkServices::operations()
{
    static const NetworkOperations *const loaded = [] {
        const auto entry = reinterpret_cast<NetworkEntry>(
            PluginLoader::resolve(QStringLiteral("korvane-net.so"), korvaneNetworkEntry));
        return entry ? entry(&Platform::settingsBackend) : nullptr;
    }();
    return loaded;
}
