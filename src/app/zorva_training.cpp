// Guided training slots of the main window: opening a material for study or review, the six
// steps, the sentence recordings of a repeat and the demonstration recordings.
#include "zorva.h"
#include "ui_zorva.h"

#include "playerlogic.h"
#include "modelplayer.h"
#include "trainingrules.h"
#include "tscontrol.h"

#include <QDir>
#include <QFileInfo>
#include <QUrl>
#include <phonon/MediaObject>
#include <phonon/VideoWidget>

#include <cmath>

namespace {

const QString workspaceFolder = QStringLiteral("./workspace/");
const QString trainFolder = QStringLiteral("./workspace/train/");
const QString demoFolder = QStringLiteral("./workspace/demo/");

// Layout items of the study area, in the order the form adds them.
constexpr int textViewItem = 0;
constexpr int videoItem = 2;

constexpr int singleTextWidth = 620;
constexpr int sideBySideTextWidth = 300;
constexpr int textHeight = 350;

using TrainingRules::practiceStep;
using TrainingRules::simultaneousStep;

// The sentence recordings a folder holds, by name: an empty file is no recording.
QStringList recordingNames(const QString &folder)
{
    QStringList names;
    for (const QFileInfo &file : QDir(folder).entryInfoList(QDir::Files)) {
        if (file.size() > 0)
            names << file.fileName();
    }
    return names;
}

Phonon::MediaSource localFile(const QString &path)
{
    return Phonon::MediaSource(QUrl::fromLocalFile(QFileInfo(path).absoluteFilePath()));
}

bool isPlaying(const Phonon::MediaObject *player)
{
    const Phonon::State state = player->state();
    return state == Phonon::PlayingState || state == Phonon::BufferingState;
}

QString transcriptPath(const QString &baseName)
{
    return workspaceFolder + baseName + QStringLiteral(".txt");
}

QString translationPath(const QString &baseName)
{
    return workspaceFolder + baseName + QStringLiteral("@T.txt");
}

} // namespace

void Zorva::sltSwitchWorkspace(QString path)
{
    tsControl->stopRecording();
    m_baseName = TrainingRules::baseNameFromAudioPath(path);
    if (isPlaying(mediaObject->media()))
        mediaObject->stop();
    emit isAudioPlay(false);

    const QString key = TrainingRules::fileNameOf(path);
    // Without a name there is no folder of its own; never create the training root's parent.
    if (!key.isEmpty() && !QDir().mkpath(trainFolder + key))
        qWarning("Cannot create the training folder %s", qPrintable(trainFolder + key));

    m_mediaPath = path;
    if (!m_mediaPath.isEmpty() && QFileInfo(m_mediaPath).isFile())
        mediaObject->setMaterial(m_mediaPath);

    m_trainDir = trainFolder + key + QLatin1Char('/');
    m_demoDir = demoFolder + key + QLatin1Char('/');
    m_step = 0;
    ui->textView->hide();
    ui->tranView->hide();
    ui->screen->show();
    sltTrainNumber();
    tsControl->zeroShow();
}

void Zorva::sltTrainNumber()
{
    QVector<TrainingRules::RecordingFile> files;
    const QFileInfoList entries = QDir(m_trainDir).entryInfoList(QDir::Files);
    // Modification times tell when a repeat was last practised; a creation time survives
    // recording over the file and would keep pointing at the same repeat.
    for (const QFileInfo &entry : entries)
        files.append({entry.fileName(), entry.lastModified()});
    m_repeat = TrainingRules::chooseRepeat(files);
}

void Zorva::sltNextState()
{
    ++m_step;
    m_voicePaused = false;
    const int sentence = TrainingRules::sentenceOfStep(m_step);
    switch (m_step) {
    case 1:
    case 2:
    case 5:
        if (m_step == 5)
            ui->textView->hide();
        m_recordFile = TrainingRules::sentenceFileName(m_trainDir, m_repeat, sentence);
        sltRecordPlayPause(false);
        mediaObject->stop();
        emit isPlay(false);
        updatePlayButton();
        ui->screen->show();
        break;
    case 3:
        tsControl->hideTrigger();
        sltRecordPlayPause(false);
        mediaObject->play();
        mediaObject->seek(0);
        ui->screen->show();
        emit isPlay(true);
        break;
    case 4:
        ui->mainLO->setStretch(textViewItem, 1);
        ui->textView->resizeEditor(singleTextWidth, textHeight);
        ui->textView->openText(transcriptPath(m_baseName));
        ui->textView->show();
        ui->video->hide();
        ui->screen->hide();
        tsControl->showTrigger();
        m_recordFile = TrainingRules::sentenceFileName(m_trainDir, m_repeat, sentence);
        sltRecordPlayPause(false);
        mediaObject->stop();
        emit isPlay(false);
        updatePlayButton();
        break;
    case simultaneousStep:
        m_recordFile = TrainingRules::sentenceFileName(m_trainDir, m_repeat, sentence);
        sltRecordPlayPause(false);
        playFromStart();
        emit isPlay(true);
        updatePlayButton();
        ui->screen->show();
        break;
    case practiceStep:
        sltCheckFileNumExist();
        tsControl->endShow();
        sltStop();
        ui->tranView->openText(translationPath(m_baseName));
        updatePlayButton();
        ui->mainLO->setStretch(textViewItem, 0);
        ui->textView->resizeEditor(sideBySideTextWidth, textHeight);
        ui->tranView->resizeEditor(sideBySideTextWidth, textHeight);
        ui->textView->show();
        ui->tranView->show();
        ui->video->hide();
        ui->screen->hide();
        break;
    default:
        // Beyond the practice set the counter only moves, so that previous comes back to it.
        break;
    }
    m_voicePaused = false;
}

void Zorva::sltPrevState()
{
    m_step = qMax(1, m_step - 1);
    m_voicePaused = false;
    const int sentence = TrainingRules::sentenceOfStep(m_step);
    switch (m_step) {
    case 2:
        tsControl->showTrigger();
        Q_FALLTHROUGH();
    case 1:
    case 5:
        // These steps are entered backwards exactly as forwards.
        --m_step;
        sltNextState();
        break;
    case 3:
        ui->textView->hide();
        tsControl->hideTrigger();
        sltRecordPlayPause(false);
        mediaObject->play();
        mediaObject->seek(0);
        emit isPlay(true);
        ui->screen->show();
        break;
    case 4:
        ui->mainLO->setStretch(textViewItem, 1);
        ui->textView->resizeEditor(singleTextWidth, textHeight);
        ui->textView->openText(transcriptPath(m_baseName));
        ui->textView->show();
        m_recordFile = TrainingRules::sentenceFileName(m_trainDir, m_repeat, sentence);
        sltRecordPlayPause(false);
        mediaObject->stop();
        emit isPlay(false);
        updatePlayButton();
        ui->video->hide();
        ui->screen->hide();
        break;
    case simultaneousStep:
        // Back from the practice set: the texts give way to step 6 as it began.
        sltTextHide();
        --m_step;
        sltNextState();
        break;
    default:
        break;
    }
    m_voicePaused = false;
}

void Zorva::sltRecordPlayPause(bool play)
{
    if (!play) {
        if (isPlaying(voiceObject)) {
            voiceObject->pause();
            m_voicePaused = true;
        }
        return;
    }
    if (!m_recordFile.isEmpty() && QFileInfo(m_recordFile).isFile()) {
        const Phonon::MediaSource source = localFile(m_recordFile);
        // A sentence paused by the learner goes on where it stopped instead of starting over.
        const bool resume = m_voicePaused && voiceObject->state() == Phonon::PausedState
                            && voiceObject->currentSource().url() == source.url();
        if (!resume)
            voiceObject->setCurrentSource(source);
        voiceObject->play();
    }
    m_voicePaused = false;
}

void Zorva::sltOneClick()
{
    selectSentence(1);
}

void Zorva::sltTwoClick()
{
    selectSentence(2);
}

void Zorva::sltThreeClick()
{
    selectSentence(3);
}

void Zorva::sltFourClick()
{
    selectSentence(4);
}

void Zorva::sltFiveClick()
{
    selectSentence(5);
}

// The play button follows the chosen sentence for every sentence (5 included), so it is usable
// even after a recording left it disabled.
void Zorva::selectSentence(int sentence)
{
    m_recordFile = TrainingRules::sentenceFileName(m_trainDir, m_repeat, sentence);
    updatePlayButton();
    sltRecordPlayPause(false);
    m_voicePaused = false;
    // The practice button plays its take at once, as the play button would. Queued: the bar
    // readies its play button for the chosen sentence after this slot.
    const QFileInfo take(m_recordFile);
    if (take.isFile() && take.size() > 0)
        QMetaObject::invokeMethod(tsControl, [this] { tsControl->playTrigger(true); }, Qt::QueuedConnection);
}

void Zorva::sltCheckFileNumExist()
{
    tsControl->resetButtonTrue();
    const auto present = TrainingRules::existingSentences(recordingNames(m_trainDir), m_repeat);
    static constexpr void (Zorva::*missing[TrainingRules::sentenceCount])() = {
        &Zorva::noneFileOne, &Zorva::noneFileTwo, &Zorva::noneFileThree, &Zorva::noneFileFour,
        &Zorva::noneFileFive};
    for (size_t index = 0; index < present.size(); ++index) {
        if (!present[index])
            emit(this->*missing[index])();
    }
}

void Zorva::sltRepeatOne(QString trainDir)
{
    reviewRepeat(trainDir, 1);
}

void Zorva::sltRepeatTwo(QString trainDir)
{
    reviewRepeat(trainDir, 2);
}

void Zorva::sltRepeatThree(QString trainDir)
{
    reviewRepeat(trainDir, 3);
}

void Zorva::sltRepeatFour(QString trainDir)
{
    reviewRepeat(trainDir, 4);
}

void Zorva::sltRepeatFive(QString trainDir)
{
    reviewRepeat(trainDir, 5);
}

void Zorva::reviewRepeat(const QString &trainDir, int repeat)
{
    m_trainDir = trainDir;
    m_repeat = QString::number(repeat);
    sltCheckFileNumExist();
}

void Zorva::sltAudioStop(QString trainDir)
{
    tsControl->stopRecording();
    ui->mainLO->setStretch(textViewItem, 0);
    ui->mainLO->setStretch(videoItem, 0);
    m_baseName = TrainingRules::baseNameFromTrainFolder(trainDir);
    sltTextHide();
    ui->textView->openText(transcriptPath(m_baseName));
    ui->tranView->openText(translationPath(m_baseName));
    updatePlayButton();
    ui->textView->resizeEditor(sideBySideTextWidth, textHeight);
    ui->tranView->resizeEditor(sideBySideTextWidth, textHeight);
    ui->textView->show();
    ui->tranView->show();
    ui->video->hide();
    ui->screen->hide();
    if (isPlaying(voiceObject))
        voiceObject->stop();
    emit isAudioPlay(false);
}

void Zorva::demoPathSet(QString demoDir)
{
    m_demoDir = demoDir;
}

void Zorva::sltDemonstrate()
{
    tsControl->stopRecording();
    sltTextHide();
    m_trainDir = m_demoDir;
    m_repeat.clear();
    sltCheckFileNumExist();
}

void Zorva::sltTranscripTextShow(bool show)
{
    Q_UNUSED(show)
    showSingleText(ui->textView, ui->tranView, 1, transcriptPath(m_baseName));
}

void Zorva::sltTranslationTextShow(bool show)
{
    Q_UNUSED(show)
    showSingleText(ui->tranView, ui->textView, 0, translationPath(m_baseName));
}

// Shows one text alone at full width in place of the screen; does nothing while it is shown.
void Zorva::showSingleText(QTextView *view, QTextView *other, int stretch, const QString &path)
{
    if (!view->isHidden())
        return;
    if (!other->isHidden())
        other->hide();
    ui->mainLO->setStretch(textViewItem, stretch);
    ui->mainLO->setStretch(videoItem, stretch);
    view->resizeEditor(singleTextWidth, textHeight);
    view->openText(path);
    view->show();
    ui->video->hide();
    ui->screen->hide();
}

void Zorva::sltTextHide()
{
    ui->mainLO->setStretch(textViewItem, 0);
    ui->mainLO->setStretch(videoItem, 0);
    if (!ui->textView->isHidden())
        ui->textView->hide();
    if (!ui->tranView->isHidden())
        ui->tranView->hide();
    ui->screen->show();
}

void Zorva::sltRecordPrepare()
{
    // In simultaneous interpreting the learner speaks over the model, so it keeps playing.
    if (isPlaying(mediaObject->media()) && m_step != simultaneousStep) {
        mediaObject->stop();
        emit isPlay(false);
    }
}

// The step-6 take needs the model as its source: stopped or finished, it starts again.
void Zorva::sltSixStepSpec()
{
    const bool loop = PlayerLogic::Marks{m_markIn, m_markOut}.loopActive();
    if (!loop) {
        playFromStart();
    } else {
        mediaObject->play();
        mediaObject->seek(m_markIn);
    }
    emit isPlay(true);
}

// A stopped model plays from its start by itself. A seek asked for while it starts up, and a
// stop before it has begun, can leave the backend "playing" at 0 for good.
void Zorva::playFromStart()
{
    const bool stopped = mediaObject->state() == Phonon::StoppedState;
    mediaObject->play();
    if (!stopped)
        mediaObject->seek(0);
}

void Zorva::sltAudioStopBool(bool play)
{
    Q_UNUSED(play)
    if (isPlaying(voiceObject))
        voiceObject->stop();
}

void Zorva::sltAudioSeek(double fraction)
{
    const qint64 total = voiceObject->totalTime();
    if (total <= 0 || !std::isfinite(fraction))
        return;
    const double clamped = qBound(0.0, fraction, 1.0);
    voiceObject->seek(static_cast<qint64>(static_cast<double>(total) * clamped));
}

void Zorva::sltStop()
{
    mediaObject->stop();
    emit isPlay(false);
}

void Zorva::updatePlayButton()
{
    const QFileInfo sentence(m_recordFile);
    if (sentence.isFile() && sentence.size() > 0)
        tsControl->playOrPauseButtonTrue();
    else
        tsControl->playOrPauseButtonFalse();
}
