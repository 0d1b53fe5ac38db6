#pragma once

struct NetworkOperations;

// The network plug-in's operations, which only the actions that reach a server load: the
// first call loads the plug-in, and it stays loaded. Null, with a warning, when it cannot be
// loaded; such an action then fails as it does when no server answers.
class NetworkServices final
{
public:
    NetworkServices() = delete;

    static const NetworkOperations *operations();
};
