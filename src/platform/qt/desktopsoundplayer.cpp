#include "platform/qt/desktopsoundplayer.h"

#include "platform/platformlogging.h"

#include <QAudioDevice>
#include <QFile>
#include <QLoggingCategory>
#include <QMediaDevices>
#include <QSoundEffect>
#include <QUrl>

DesktopSoundPlayer::DesktopSoundPlayer(QObject *parent)
    : QObject(parent)
{
}

DesktopSoundPlayer::~DesktopSoundPlayer() = default;

QString DesktopSoundPlayer::resourcePath(const QString &name)
{
    if (name.isEmpty())
        return {};
    const QString path = QStringLiteral(":/sounds/%1.wav").arg(name.toLower());
    return QFile::exists(path) ? path : QString();
}

void DesktopSoundPlayer::play(const QString &name)
{
    const QString path = resourcePath(name);
    if (path.isEmpty()) {
        reportOnce(QLatin1String("unknown:") + name, QStringLiteral("there is no sound named \"%1\"").arg(name));
        return;
    }

    // The default output comes and goes (headphones, a sound server starting late), so it is
    // looked up for every sound. Without one nothing is loaded either: Qt Multimedia warns
    // each time a loaded sound finds no output.
    const QAudioDevice output = QMediaDevices::defaultAudioOutput();
    if (output.isNull()) {
        reportOnce(QStringLiteral("no output"), QStringLiteral("no audio output: sounds stay silent"));
        return;
    }
    m_reported.remove(QStringLiteral("no output"));

    QSoundEffect *effect = m_effects.value(name);
    if (!effect)
        effect = loadSoundEffect(name);
    if (effect->status() == QSoundEffect::Error)
        return;
    if (effect->audioDevice() != output)
        effect->setAudioDevice(output);
    // A sound still loading starts as soon as it is ready.
    effect->play();
}

QSoundEffect *DesktopSoundPlayer::loadSoundEffect(const QString &name)
{
    auto *effect = new QSoundEffect(this);
    connect(effect, &QSoundEffect::statusChanged, this, [this, effect, name] {
        if (effect->status() == QSoundEffect::Error)
            reportOnce(QLatin1String("unreadable:") + name, QStringLiteral("the sound \"%1\" could not be read: it stays silent").arg(name));
    });
    effect->setSource(QUrl(QLatin1String("qrc") + resourcePath(name)));
    m_effects.insert(name, effect);
    return effect;
}

void DesktopSoundPlayer::reportOnce(const QString &what, const QString &message)
{
    if (m_reported.contains(what))
        return;
    m_reported.insert(what);
    qCInfo(lcSound, "%s", qUtf8Printable(message));
}
