#pragma once

#include "platform/soundplayer.h"

#include <QStringList>

// Keeps the names of the sounds it is asked to play, in order.
class HeadlessSoundPlayer final : public SoundPlayer
{
public:
    void play(const QString &name) override { m_played.append(name); }
    const QStringList &played() const { return m_played; }

private:
    QStringList m_played;
};
