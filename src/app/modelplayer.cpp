#include "modelplayer.h"

#include "stretcher.h"
#include "stretchrenderer.h"
#include "usersettings.h"

#include <QFileInfo>
#include <QUrl>
#include <algorithm>
#include <cmath>
#include <phonon/MediaObject>

using namespace PlayerLogic;

namespace {

const QString speedGroup = QStringLiteral("speed");
constexpr int tickIntervalMs = 300;

Phonon::MediaSource localFile(const QString &path)
{
    return Phonon::MediaSource(QUrl::fromLocalFile(QFileInfo(path).absoluteFilePath()));
}

bool sameSpeed(double a, double b)
{
    return std::fabs(a - b) < 1e-6;
}

// Speeds are kept under the material's file name, so a material found again after a move
// keeps its speed.
QString speedKey(const QString &materialPath)
{
    return QFileInfo(materialPath).fileName();
}

void storeSpeed(const QString &materialPath, double speed)
{
    UserSettings settings;
    settings.beginGroup(speedGroup);
    if (sameSpeed(speed, 1.0))
        settings.remove(speedKey(materialPath));
    else
        settings.setValue(speedKey(materialPath), speed);
}

bool isPlaying(Phonon::State state)
{
    return state == Phonon::PlayingState || state == Phonon::BufferingState;
}

} // namespace

double storedSpeed(const QString &materialPath)
{
    UserSettings settings;
    settings.beginGroup(speedGroup);
    const double stored = settings.value(speedKey(materialPath), 1.0).toDouble();
    const std::vector<double> &speeds = audio::playerSpeeds();
    // A hand-edited or outdated value must not make the player ask for a speed it cannot play.
    const bool offered = std::any_of(
        speeds.begin(), speeds.end(), [stored](double speed) { return sameSpeed(speed, stored); });
    return offered ? stored : 1.0;
}

ModelPlayer::ModelPlayer(QObject *parent)
    : QObject(parent)
    , m_media(new Phonon::MediaObject(this))
    , m_renderer(new audio::StretchRenderer(this))
{
    m_media->setObjectName(QStringLiteral("mediaObject"));
    m_renderer->setCache(userCacheFolder(QStringLiteral("stretched")));
    m_media->setTickInterval(tickIntervalMs);
    m_loopTimer.setSingleShot(true);
    m_loopTimer.setTimerType(Qt::PreciseTimer);
    connect(&m_loopTimer, &QTimer::timeout, this, &ModelPlayer::loopTimerFired);
    connect(m_media, &Phonon::MediaObject::stateChanged, this, &ModelPlayer::mediaStateChanged);
    connect(m_media, &Phonon::MediaObject::tick, this, &ModelPlayer::mediaTick);
    connect(m_media, &Phonon::MediaObject::finished, this, &ModelPlayer::restartLoopAtEnd);
    connect(m_media, &Phonon::MediaObject::totalTimeChanged, this,
        [this](qint64 total) { emit totalTimeChanged(total > 0 ? toMaterial(total) : total); });
    connect(m_renderer, &audio::StretchRenderer::progress, this,
        [this](double fraction) { emit speedChanged(m_speed, std::min(fraction, 0.99)); });
    connect(m_renderer, &audio::StretchRenderer::finished, this, &ModelPlayer::copyReady);
    connect(m_renderer, &audio::StretchRenderer::failed, this, &ModelPlayer::copyFailed);
}

ModelPlayer::~ModelPlayer() = default;

void ModelPlayer::setMaterial(const QString &path)
{
    m_renderer->cancel();
    m_switch = {};
    m_material = path;
    m_speed = storedSpeed(path);
    // Until its copy is made the material plays as it is.
    const QString copy = m_renderer->cachedCopy(path, m_speed);
    m_playingSpeed = copy.isEmpty() ? 1.0 : m_speed;
    m_media->setCurrentSource(localFile(copy.isEmpty() ? path : copy));
    if (copy.isEmpty() && !sameSpeed(m_speed, 1.0))
        m_renderer->render(path, m_speed);
    emit speedChanged(m_speed, m_renderer->isBusy() ? 0.0 : 1.0);
}

void ModelPlayer::setCurrentSource(const Phonon::MediaSource &source)
{
    m_renderer->cancel();
    m_switch = {};
    m_material.clear();
    m_speed = m_playingSpeed = 1.0;
    m_media->setCurrentSource(source);
    emit speedChanged(m_speed, 1.0);
}

Phonon::State ModelPlayer::state() const
{
    return m_media->state();
}

qint64 ModelPlayer::currentTime() const
{
    return m_switch.active ? m_switch.position : toMaterial(m_media->currentTime());
}

qint64 ModelPlayer::totalTime() const
{
    const qint64 total = m_media->totalTime();
    return total > 0 ? toMaterial(total) : total;
}

Phonon::ErrorType ModelPlayer::errorType() const
{
    return m_media->errorType();
}

QString ModelPlayer::errorString() const
{
    return m_media->errorString();
}

void ModelPlayer::setLoop(const Marks &marks)
{
    m_marks = marks;
    scheduleLoopJump();
}

void ModelPlayer::play()
{
    if (m_switch.active)
        m_switch.playing = true;
    else
        m_media->play();
}

void ModelPlayer::pause()
{
    if (m_switch.active)
        m_switch.playing = false;
    else
        m_media->pause();
}

void ModelPlayer::stop()
{
    m_switch.active = false;
    m_media->stop();
}

void ModelPlayer::seek(qint64 time)
{
    if (m_switch.active) {
        m_switch.position = time;
        return;
    }
    m_media->seek(toCopy(time));
    scheduleLoopJump(time);
}

void ModelPlayer::setSpeed(double speed)
{
    if (m_material.isEmpty() || sameSpeed(speed, m_speed)) {
        emit speedChanged(m_speed, m_renderer->isBusy() ? 0.0 : 1.0);
        return;
    }
    m_speed = speed;
    storeSpeed(m_material, speed);
    if (sameSpeed(speed, m_playingSpeed)) {
        m_renderer->cancel();
        emit speedChanged(speed, 1.0);
        return;
    }
    const QString copy = m_renderer->cachedCopy(m_material, speed);
    if (copy.isEmpty()) {
        m_renderer->render(m_material, speed);
        emit speedChanged(speed, 0.0);
        return;
    }
    playCopy(copy, speed);
    emit speedChanged(speed, 1.0);
}

void ModelPlayer::slower()
{
    const std::vector<double> &speeds = audio::playerSpeeds();
    const auto next = std::find_if(
        speeds.rbegin(), speeds.rend(), [this](double speed) { return speed < m_speed - 1e-6; });
    if (next != speeds.rend())
        setSpeed(*next);
}

void ModelPlayer::faster()
{
    const std::vector<double> &speeds = audio::playerSpeeds();
    const auto next = std::find_if(
        speeds.begin(), speeds.end(), [this](double speed) { return speed > m_speed + 1e-6; });
    if (next != speeds.end())
        setSpeed(*next);
}

// The copy of another speed takes the place of what plays, at the same material position and
// in the same state: it is loaded paused, sought there, then played if playback was running.
void ModelPlayer::playCopy(const QString &file, double speed)
{
    Switch next;
    next.position = currentTime();
    next.playing = m_switch.active ? m_switch.playing : isPlaying(m_media->state());
    next.active = m_switch.active || next.playing || m_media->state() == Phonon::PausedState;
    m_loopTimer.stop();
    m_switch = next;
    m_playingSpeed = speed;
    m_media->setCurrentSource(localFile(file));
    if (m_switch.active)
        m_media->pause();
}

void ModelPlayer::copyReady(const QString &material, double speed, const QString &copy)
{
    if (material != m_material || !sameSpeed(speed, m_speed))
        return;
    playCopy(copy, speed);
    emit speedChanged(speed, 1.0);
}

// The learner keeps hearing the speed that plays; the one asked for is not kept either.
void ModelPlayer::copyFailed(const QString &material, double speed, const QString &errorText)
{
    if (material != m_material || !sameSpeed(speed, m_speed))
        return;
    m_speed = m_playingSpeed;
    storeSpeed(m_material, m_speed);
    emit speedChanged(m_speed, 1.0);
    emit speedFailed(errorText);
}

void ModelPlayer::mediaStateChanged(Phonon::State newState, Phonon::State oldState)
{
    if (m_switch.active) {
        if (newState == Phonon::PausedState) {
            m_media->seek(toCopy(m_switch.position));
            if (m_switch.playing) {
                m_media->play();
                return;
            }
        } else if (newState != Phonon::PlayingState && newState != Phonon::ErrorState) {
            return; // loading the copy
        }
        // The backend may not have reached the position yet: the display and the loop go by it.
        m_switch.active = false;
        emit tick(m_switch.position);
        if (newState == Phonon::ErrorState)
            emit stateChanged(newState, oldState);
        scheduleLoopJump(m_switch.position);
        return;
    }
    emit stateChanged(newState, oldState);
    scheduleLoopJump();
}

void ModelPlayer::mediaTick(qint64 copyTime)
{
    if (m_switch.active)
        return;
    const qint64 time = toMaterial(copyTime);
    emit tick(time);
    // A tick may still carry a position from before the last jump back.
    if (time > m_marks.out && m_sinceJump.isValid() && m_sinceJump.elapsed() < tickIntervalMs)
        return;
    const LoopDecision decision = loopDecision(time, m_marks, std::max<qint64>(totalTime(), 0));
    if (decision.seekToMarkIn)
        jumpToMarkIn();
    if (decision.play)
        m_media->play();
    if (!decision.seekToMarkIn)
        scheduleLoopJump();
}

// The backend ends the stream without a tick at the total time, so a loop whose mark-out is the
// end would stop there: the end of the media sends it back to mark-in.
void ModelPlayer::restartLoopAtEnd()
{
    if (!m_marks.loopActive())
        return;
    m_media->play();
    jumpToMarkIn();
}

void ModelPlayer::scheduleLoopJump(qint64 from)
{
    m_loopTimer.stop();
    if (m_switch.active || !m_marks.loopActive() || m_media->state() != Phonon::PlayingState)
        return;
    // Right after a jump the backend may still report the position before it.
    const bool justJumped = m_sinceJump.isValid() && m_sinceJump.elapsed() < tickIntervalMs;
    const qint64 now = from >= 0 ? from
        : justJumped             ? std::max(currentTime(), m_marks.in)
                                 : currentTime();
    if (now < m_marks.in || now > m_marks.out)
        return; // outside the loop the tick's rules apply
    m_loopTimer.start(int(std::llround(double(m_marks.out - now) / m_playingSpeed)));
}

void ModelPlayer::loopTimerFired()
{
    if (m_media->state() != Phonon::PlayingState || !m_marks.loopActive())
        return;
    if (currentTime() < m_marks.out - 1) {
        scheduleLoopJump(); // a seek moved playback back meanwhile
        return;
    }
    jumpToMarkIn();
}

void ModelPlayer::jumpToMarkIn()
{
    m_media->seek(toCopy(m_marks.in));
    m_sinceJump.start();
    m_loopTimer.start(int(std::llround(double(m_marks.out - m_marks.in) / m_playingSpeed)));
}

qint64 ModelPlayer::toCopy(qint64 time) const
{
    return audio::TimeMap { m_playingSpeed }.toCopyMs(time);
}

qint64 ModelPlayer::toMaterial(qint64 copyTime) const
{
    return audio::TimeMap { m_playingSpeed }.toMaterialMs(copyTime);
}
