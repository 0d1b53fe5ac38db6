#pragma once

#include "platform/korvaneautostart.h"

// Login start through an XDG autostart entry, $XDG_CONFIG_HOME/autostart/korvane.desktop.
class XdgAutostart final : public KorvaneAutostart
{
public:
    // program: what the entry starts; empty means the korvane command of this installation.
    explicit XdgAutostart(const QString &program = QString());

    bool setEnabled(bool enabled) override;
    bool isEnabled() const override;

    static QString entryPath();

private:
    QString m_program;
};
