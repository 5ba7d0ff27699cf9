#include "ui/platform/sound.h"

#include <QSoundEffect>
#include <QUrl>

QtSound::QtSound() = default;

QtSound::~QtSound()
{
    delete m_effect;
}

void QtSound::playLooping(const QString &path)
{
    // Made on first use: an effect opens the audio device, which a run
    // that never rings has no need of.
    if (!m_effect)
        m_effect = new QSoundEffect;
    m_effect->stop();
    m_effect->setSource(QUrl::fromLocalFile(path));
    m_effect->setLoopCount(QSoundEffect::Infinite);
    m_effect->play();
}

void QtSound::stop()
{
    if (m_effect)
        m_effect->stop();
}
