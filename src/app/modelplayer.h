#pragma once

#include "playerlogic.h"

#include <QElapsedTimer>
#include <QObject>
#include <QTimer>
#include <phonon/MediaSource>
#include <phonon/phononnamespace.h>

namespace Phonon {
class MediaObject;
}
namespace audio {
class StretchRenderer;
}

// The model player seen in the material's own time. Below it a Phonon::MediaObject (named
// "mediaObject") plays the material, or at another speed its stretched copy, made in the
// background and cached; every time that comes in or goes out (positions, seeks, the length,
// the loop marks) is material time, so marks, labels and steps never depend on the speed.
// The A-B loop jumps back to mark-in when playback reaches mark-out, scheduled from the
// playing position on a precise timer; the 300 ms tick keeps the display and the loop rules
// for positions outside the loop.
class ModelPlayer : public QObject
{
    Q_OBJECT

public:
    explicit ModelPlayer(QObject *parent = nullptr);
    ~ModelPlayer() override;

    Phonon::MediaObject *media() const { return m_media; }

    // A material: played at the speed last chosen for it (kept across restarts).
    void setMaterial(const QString &path);
    // Anything else, such as a help video: always at its own speed.
    void setCurrentSource(const Phonon::MediaSource &source);

    Phonon::State state() const;
    qint64 currentTime() const;
    // -1 while the length is not known.
    qint64 totalTime() const;
    Phonon::ErrorType errorType() const;
    QString errorString() const;

    // The speed chosen for the material, which may still be in the making.
    double speed() const { return m_speed; }
    void setLoop(const PlayerLogic::Marks &marks);
    PlayerLogic::Marks loop() const { return m_marks; }

public slots:
    void play();
    void pause();
    void stop();
    void seek(qint64 time);
    void setSpeed(double speed);
    void slower();
    void faster();

signals:
    void tick(qint64 time);
    // Not emitted while the player changes to another speed's copy.
    void stateChanged(Phonon::State newState, Phonon::State oldState);
    void totalTimeChanged(qint64 total);
    // The chosen speed and how much of its copy is made (1 when it plays).
    void speedChanged(double speed, double madeFraction);
    void speedFailed(const QString &errorText);

private:
    // Where the player is to be once the copy of another speed is loaded.
    struct Switch
    {
        bool active = false;
        qint64 position = 0;
        bool playing = false;
    };

    void playCopy(const QString &file, double speed);
    void copyReady(const QString &material, double speed, const QString &copy);
    void copyFailed(const QString &material, double speed, const QString &errorText);
    void mediaStateChanged(Phonon::State newState, Phonon::State oldState);
    void mediaTick(qint64 copyTime);
    void restartLoopAtEnd();
    // From the given position, or the one the backend reports.
    void scheduleLoopJump(qint64 from = -1);
    void loopTimerFired();
    void jumpToMarkIn();
    qint64 toCopy(qint64 time) const;
    qint64 toMaterial(qint64 copyTime) const;

    Phonon::MediaObject *m_media = nullptr;
    audio::StretchRenderer *m_renderer = nullptr;
    QTimer m_loopTimer;
    // Since the last jump to mark-in: a tick of the position before it must not jump again.
    QElapsedTimer m_sinceJump;
    QString m_material; // empty for sources that are not slowed
    double m_speed = 1.0; // chosen
    double m_playingSpeed = 1.0; // of the source loaded now
    Switch m_switch;
    PlayerLogic::Marks m_marks;
};

// The speed kept for a material (1.0 when none or an unknown one is stored).
double storedSpeed(const QString &materialPath);
