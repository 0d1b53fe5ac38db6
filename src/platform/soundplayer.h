#pragma once

#include <QString>

// Plays the application's own short sounds by name ("Pop"). Playing never blocks and
// never fails loudly: without an audio device the sound is simply not heard.
class SoundPlayer
{
public:
    virtual ~SoundPlayer() = default;

    virtual void play(const QString &name) = 0;
};
