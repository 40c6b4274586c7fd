// The model player: transport and loop-mark buttons of the control panel (bound by name),
// the time display, loop enforcement on every tick and the playback error boxes.
#include "zorva.h"
#include "ui_zorva.h"

#include "playerlogic.h"

#include <QFileDialog>
#include <QFileInfo>
#include <QStandardPaths>
#include <QUrl>
#include <phonon/MediaObject>

#include <algorithm>

using namespace PlayerLogic;

namespace {

// Phonon answers -1 while the length is not known yet; the marks treat that as empty media.
qint64 knownTotal(const Phonon::MediaObject *media)
{
    return std::max<qint64>(media->totalTime(), 0);
}

bool isPositioned(Phonon::State state)
{
    return state == Phonon::PlayingState || state == Phonon::PausedState;
}

} // namespace

void Zorva::tick(qint64 time)
{
    ui->ctrlbar->setCurrentTime(timeText(time));
    const LoopDecision decision = loopDecision(time, {m_markIn, m_markOut}, knownTotal(mediaObject));
    if (decision.seekToMarkIn)
        mediaObject->seek(m_markIn);
    if (decision.play)
        mediaObject->play();
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
    mediaObject->setCurrentSource(source);
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

void Zorva::showMarkIn()
{
    ui->ctrlbar->setMarkIn(markFraction(m_markIn, knownTotal(mediaObject)));
}

void Zorva::showMarkOut()
{
    ui->ctrlbar->setMarkOut(markFraction(m_markOut, knownTotal(mediaObject)));
}

// The backend ends the stream without a tick at the total time, so a loop whose mark-out is the
// end would stop there: the end of the media sends it back to mark-in.
void Zorva::restartLoopAtEnd()
{
    if (!Marks{m_markIn, m_markOut}.loopActive())
        return;
    mediaObject->play();
    mediaObject->seek(m_markIn);
}

// The backend learns the length only once the stream runs, after the stopped state that follows
// loading; the panel shows it from the first moment it is known.
void Zorva::showTotalTimeIfKnown()
{
    if (mediaObject->totalTime() > 0)
        ui->ctrlbar->setTotalTime(timeText(mediaObject->totalTime()));
}
