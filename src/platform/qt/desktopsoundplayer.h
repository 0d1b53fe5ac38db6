#pragma once

#include "platform/soundplayer.h"

#include <QHash>
#include <QObject>
#include <QSet>

class QSoundEffect;

// Plays the sounds built into the application with Qt Multimedia. A sound is read the first
// time it is played on an audio output and kept ready for the next time.
class DesktopSoundPlayer final : public QObject, public SoundPlayer
{
    Q_OBJECT

public:
    explicit DesktopSoundPlayer(QObject *parent = nullptr);
    ~DesktopSoundPlayer() override;

    // Starts the sound and returns at once. An unknown name, a sound that could not be read
    // and a missing audio output all mean silence, each reported once in the log.
    void play(const QString &name) override;

    // The resource holding a named sound ("Pop" is ":/sounds/pop.wav"); empty for a name
    // the application has no sound for.
    static QString resourcePath(const QString &name);

    // The sound as loaded by an earlier play(); null before that, and for an unknown name.
    QSoundEffect *soundEffect(const QString &name) const { return m_effects.value(name); }

private:
    QSoundEffect *loadSoundEffect(const QString &name);
    void reportOnce(const QString &what, const QString &message);

    QHash<QString, QSoundEffect *> m_effects;
    QSet<QString> m_reported;
};
