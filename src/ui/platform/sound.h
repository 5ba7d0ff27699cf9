#pragma once

#include <QString>

class QSoundEffect;

// The wave player: one sound at a time, looping until stopped, never
// blocking. Tests put a recording fake behind it.
class ISound
{
public:
    virtual ~ISound() = default;
    // Plays the wave file in a loop, replacing any sound that plays.
    virtual void playLooping(const QString &path) = 0;
    // Ends the sound; harmless when none plays.
    virtual void stop() = 0;
};

// Qt Multimedia's QSoundEffect. Without a sound device it plays nothing
// and reports nothing; the program goes on as if it played.
class QtSound final : public ISound
{
public:
    QtSound();
    ~QtSound() override;
    QtSound(const QtSound &) = delete;
    QtSound &operator=(const QtSound &) = delete;

    void playLooping(const QString &path) override;
    void stop() override;

private:
    QSoundEffect *m_effect = nullptr;
};
