// The model player: transport and loop-mark buttons of the control panel (bound by name),
// the time display, the speeds and the playback error boxes. The player itself (material
// time, slower copies, the loop's jump back) is ModelPlayer.
#include "zorva.h"
#include "ui_zorva.h"

#include "modelplayer.h"
#include "playerlogic.h"
#include "reviewpanel.h"
#include "stretcher.h"
#include "waveformview.h"

#include <QAction>
#include <QActionGroup>
#include <QFileDialog>
#include <QFileInfo>
#include <QStandardPaths>
#include <QUrl>
#include <phonon/MediaObject>

#include <algorithm>

using namespace PlayerLogic;

namespace {

// Phonon answers -1 while the length is not known yet; the marks treat that as empty media.
qint64 knownTotal(const ModelPlayer *media)
{
    return std::max<qint64>(media->totalTime(), 0);
}

bool isPositioned(Phonon::State state)
{
    return state == Phonon::PlayingState || state == Phonon::PausedState;
}

} // namespace

// The loop itself is kept by the player, which knows the marks from showMarkIn/showMarkOut.
void Zorva::tick(qint64 time)
{
    ui->ctrlbar->setCurrentTime(timeText(time));
}

void Zorva::stateChanged(Phonon::State newState, Phonon::State oldState)
{
    switch (newState) {
    case Phonon::ErrorState:
        showMessage(QMessageBox::Warning, mediaObject->errorType() == Phonon::FatalError ? tr("Fatal Error") : tr("Error"),
                    mediaObject->errorString());
        break;
    case Phonon::PlayingState:
        showTotalTimeIfKnown();
        ui->playAction->setEnabled(false);
        ui->pauseAction->setEnabled(true);
        ui->stopAction->setEnabled(true);
        ui->ctrlbar->sltMediaPaused(false);
        break;
    case Phonon::StoppedState:
        // A stopped stream may no longer know its length: keep the one shown, unless a new
        // source has just been loaded.
        if (mediaObject->totalTime() > 0 || oldState == Phonon::LoadingState)
            ui->ctrlbar->setTotalTime(timeText(knownTotal(mediaObject)));
        ui->ctrlbar->setCurrentTime(QStringLiteral("00:00:00"));
        ui->stopAction->setEnabled(false);
        ui->playAction->setEnabled(true);
        ui->pauseAction->setEnabled(false);
        ui->ctrlbar->sltMediaPaused(true);
        break;
    case Phonon::PausedState:
        showTotalTimeIfKnown();
        ui->pauseAction->setEnabled(false);
        ui->stopAction->setEnabled(true);
        ui->playAction->setEnabled(true);
        ui->ctrlbar->sltMediaPaused(true);
        break;
    case Phonon::LoadingState:
    case Phonon::BufferingState:
        break;
    }
}

void Zorva::metaStateChanged(Phonon::State newState, Phonon::State oldState)
{
    Q_UNUSED(oldState)
    if (newState != Phonon::ErrorState)
        return;
    showMessage(QMessageBox::Warning, tr("Error opening files"), metaResolver->errorString());
}

void Zorva::openFile()
{
    const QString musicFolder = QStandardPaths::writableLocation(QStandardPaths::MusicLocation);
    const QString fileName = QFileDialog::getOpenFileName(this, tr("Open Music File"), musicFolder);
    if (fileName.isEmpty() || !QFileInfo(fileName).isFile())
        return;
    const Phonon::MediaSource source(QUrl::fromLocalFile(QFileInfo(fileName).absoluteFilePath()));
    metaResolver->setCurrentSource(source);
    mediaObject->setMaterial(fileName);
    review->setMaterial(fileName);
}

void Zorva::on_btnBackward_clicked()
{
    mediaObject->seek(backwardTarget(mediaObject->currentTime()));
}

void Zorva::on_btnPlayPause_clicked()
{
    if (mediaObject->state() != Phonon::PlayingState)
        mediaObject->play();
    else
        mediaObject->pause();
}

void Zorva::on_btnStop_clicked()
{
    mediaObject->stop();
}

void Zorva::on_btnForward_clicked()
{
    mediaObject->seek(forwardTarget(mediaObject->currentTime(), knownTotal(mediaObject)));
}

void Zorva::on_btnMarkInReset_clicked()
{
    m_markIn = 0;
    showMarkIn();
}

void Zorva::on_btnMarkInSharpL_clicked()
{
    const Marks marks = nudgeMarkIn({m_markIn, m_markOut}, -markStep);
    m_markIn = marks.in;
    showMarkIn();
}

// Setting one mark may push the other along; both flags are redrawn so the slider never shows
// a range the player does not loop over.
void Zorva::on_btnMarkInSet_clicked()
{
    const Marks marks = setMarkIn({m_markIn, m_markOut}, isPositioned(mediaObject->state()),
                                  mediaObject->currentTime());
    const bool pushed = marks.out != m_markOut;
    m_markIn = marks.in;
    m_markOut = marks.out;
    showMarkIn();
    if (pushed)
        showMarkOut();
}

void Zorva::on_btnMarkInSharpR_clicked()
{
    const Marks marks = nudgeMarkIn({m_markIn, m_markOut}, markStep);
    m_markIn = marks.in;
    showMarkIn();
}

void Zorva::on_btnMarkReset_clicked()
{
    m_markIn = 0;
    m_markOut = 0;
    ui->ctrlbar->setMarkIn(0.0);
    ui->ctrlbar->setMarkOut(0.0);
    mediaObject->setLoop({m_markIn, m_markOut});
    review->view()->setMarks(m_markIn, m_markOut);
}

void Zorva::on_btnMarkOutSharpL_clicked()
{
    const Marks marks = nudgeMarkOut({m_markIn, m_markOut}, -markStep, knownTotal(mediaObject));
    m_markOut = marks.out;
    showMarkOut();
}

void Zorva::on_btnMarkOutSet_clicked()
{
    const Marks marks = setMarkOut({m_markIn, m_markOut}, isPositioned(mediaObject->state()),
                                   mediaObject->currentTime());
    const bool pushed = marks.in != m_markIn;
    m_markIn = marks.in;
    m_markOut = marks.out;
    showMarkOut();
    if (pushed)
        showMarkIn();
}

void Zorva::on_btnMarkOutSharpR_clicked()
{
    const Marks marks = nudgeMarkOut({m_markIn, m_markOut}, markStep, knownTotal(mediaObject));
    m_markOut = marks.out;
    showMarkOut();
}

void Zorva::on_btnMarkOutReset_clicked()
{
    const Marks marks = resetMarkOut({m_markIn, m_markOut}, knownTotal(mediaObject));
    const bool pushed = marks.in != m_markIn;
    m_markIn = marks.in;
    m_markOut = marks.out;
    showMarkOut();
    if (pushed)
        showMarkIn();
}

// Every mark slot ends here, so the player always loops over the marks that are drawn.
void Zorva::showMarkIn()
{
    ui->ctrlbar->setMarkIn(markFraction(m_markIn, knownTotal(mediaObject)));
    mediaObject->setLoop({m_markIn, m_markOut});
    review->view()->setMarks(m_markIn, m_markOut);
}

void Zorva::showMarkOut()
{
    ui->ctrlbar->setMarkOut(markFraction(m_markOut, knownTotal(mediaObject)));
    mediaObject->setLoop({m_markIn, m_markOut});
    review->view()->setMarks(m_markIn, m_markOut);
}

// The backend learns the length only once the stream runs, after the stopped state that follows
// loading; the panel shows it from the first moment it is known.
void Zorva::showTotalTimeIfKnown()
{
    if (mediaObject->totalTime() > 0)
        ui->ctrlbar->setTotalTime(timeText(mediaObject->totalTime()));
}

// One named action per speed for the panel's menu, and slower/faster as keys that work from
// any of the trainer's windows.
void Zorva::setupSpeeds()
{
    auto *speeds = new QActionGroup(this);
    QList<QAction *> choices;
    for (double speed : audio::playerSpeeds()) {
        auto *choice = new QAction(speedText(speed), speeds);
        choice->setObjectName(QStringLiteral("speed%1Action").arg(qRound(speed * 100)));
        choice->setCheckable(true);
        choice->setData(speed);
        connect(choice, &QAction::triggered, mediaObject, [this, speed] { mediaObject->setSpeed(speed); });
        choices.append(choice);
    }
    ui->ctrlbar->setSpeedActions(choices);
    const auto addKey = [this](const char *name, const QString &text, const char *key, void (ModelPlayer::*change)()) {
        auto *action = new QAction(text, this);
        action->setObjectName(QLatin1String(name));
        action->setShortcut(QKeySequence(QLatin1String(key)));
        action->setShortcutContext(Qt::ApplicationShortcut);
        connect(action, &QAction::triggered, mediaObject, change);
        addAction(action);
    };
    addKey("slowerAction", tr("Slower"), "Ctrl+[", &ModelPlayer::slower);
    addKey("fasterAction", tr("Faster"), "Ctrl+]", &ModelPlayer::faster);
    connect(mediaObject, &ModelPlayer::speedChanged, this, &Zorva::showSpeed);
    connect(mediaObject, &ModelPlayer::speedFailed, this, [this](const QString &errorText) {
        auto *box = new QMessageBox(QMessageBox::Warning, tr("Speed"), errorText, QMessageBox::Ok, this);
        box->setAttribute(Qt::WA_DeleteOnClose);
        box->show();
    });
    showSpeed(1.0, 1.0);
}

void Zorva::showSpeed(double speed, double madeFraction)
{
    ui->ctrlbar->showSpeed(speed, madeFraction);
    for (QAction *choice : findChildren<QAction *>()) {
        if (choice->isCheckable() && choice->data().isValid())
            choice->setChecked(qFuzzyCompare(choice->data().toDouble(), speed));
    }
}
