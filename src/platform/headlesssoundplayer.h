#pragma once

#include "platform/korvanesoundplayer.h"

#include <QStringList>

// Keeps the names of the sounds it is asked to play, in order.
class HeadlessSoundPlayer final : public KorvaneSoundPlayer
{
public:
    void play(const QString &name) override { m_played.append(name); }
    const QStringList &played() const { return m_played; }

private:
    QStringList m_played;
};
