#pragma once

#include "platform/autostart.h"

// Login start through an XDG autostart entry named after the app id,
// $XDG_CONFIG_HOME/autostart/com.korvane.Korvane.desktop, as desktops tie entries to programs.
class XdgAutostart final : public Autostart
{
public:
    // program: what the entry starts; empty means the korvane command of this installation.
    explicit XdgAutostart(const QString &program = QString());

    bool setEnabled(bool enabled) override;
    bool isEnabled() const override;

    static QString entryPath();
    // Where versions before the app id wrote the entry; taken over by any change.
    static QString legacyEntryPath();

private:
    QString m_program;
};
