#pragma once

#include <QString>

// The command line's help texts.
class CliHelp final
{
public:
    static QString general();
    // Empty for an unknown command.
    static QString forCommand(const QString &command);
};
