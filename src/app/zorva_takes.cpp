// What the window makes of every take: the input level while it runs, its figures measured in
// the background once it ends (with a warning when nothing was heard or it is distorted),
// the practice set's figures over the passes, and consecutive by segments in step 2.
#include "zorva.h"
#include "ui_zorva.h"

#include "levelmeter.h"
#include "mater.h"
#include "modelplayer.h"
#include "parecthread.h"
#include "playerlogic.h"
#include "takeanalyzer.h"
#include "takecontrols.h"
#include "takefigurespanel.h"
#include "trainingrules.h"
#include "tscontrol.h"

#include <QAction>
#include <QDir>
#include <QFileInfo>
#include <QVBoxLayout>
#include <phonon/MediaObject>

#include <chrono>

namespace {

using TrainingRules::consecutiveStep;
using TrainingRules::simultaneousStep;
// Over this share of samples at full scale a take is heard as distorted.
constexpr double kDistortedPercent = 1.0;

qint64 steadyNowNs()
{
    using namespace std::chrono;
    return duration_cast<nanoseconds>(steady_clock::now().time_since_epoch()).count();
}

// The hidden file of segment `index` (from 0) of a sentence: never taken for a recording.
QString segmentFile(const QString &sentenceFile, int index)
{
    const QFileInfo sentence(sentenceFile);
    return sentence.dir().filePath(QStringLiteral(".%1.segment%2.mp3").arg(sentence.fileName()).arg(index + 1));
}

// The practice set follows the bar: the learn-again button shows and hides with it, whatever
// took the bar there (the steps, a repeat, the demonstration, the back button).
class VisibilityWatch : public QObject
{
public:
    VisibilityWatch(QObject *parent, std::function<void()> changed)
        : QObject(parent), m_changed(std::move(changed)) {}

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::Show || event->type() == QEvent::Hide)
            m_changed();
        return QObject::eventFilter(watched, event);
    }

private:
    std::function<void()> m_changed;
};

} // namespace

void Zorva::setupTakes()
{
    takeAnalyzer = new TakeAnalyzer(this);
    figuresPanel = new TakeFiguresPanel(this);
    figuresPanel->hide();
    ui->verticalLayout->insertWidget(1, figuresPanel);

    TakeControls *controls = tsControl->takeControls();
    controls->meter()->setSource([this] {
        const InputLevel level = recThread->takeInputLevel();
        return LevelReading { level.peak, level.rms };
    });
    continueAction = new QAction(tr("Continue"), this);
    continueAction->setObjectName(QStringLiteral("continueAction"));
    continueAction->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Return));
    continueAction->setShortcutContext(Qt::ApplicationShortcut);
    continueAction->setToolTip(tr("Play the next segment (%1)").arg(continueAction->shortcut().toString(QKeySequence::NativeText)));
    continueAction->setEnabled(false);
    addAction(continueAction);
    controls->setContinueAction(continueAction);
    connect(continueAction, &QAction::triggered, this, &Zorva::continueSegments);
    connect(controls, &TakeControls::segmentsChosenChanged, this, &Zorva::showSegmentsState);

    connect(recThread, &PaRecThread::captureStarted, this, [this](qint64 firstSampleNs) {
        if (m_take.isRunning())
            m_running.firstSampleNs = firstSampleNs;
    });
    connect(mediaObject, &ModelPlayer::tick, this, &Zorva::noteModelTick);
    connect(mediaObject->media(), &Phonon::MediaObject::finished, this, [this] {
        if (m_segments.phase == Segments::Phase::Listening)
            reachSegmentEnd();
    });
    connect(takeAnalyzer, &TakeAnalyzer::measured, this, &Zorva::showTakeFigures);
    connect(takeAnalyzer, &TakeAnalyzer::joined, this, &Zorva::segmentsJoined);
    connect(takeAnalyzer, &TakeAnalyzer::modelReady, this, [this](const QString &path) {
        if (m_segments.phase == Segments::Phase::Waiting && path == m_mediaPath)
            startSegments();
    });

    // After the training's own slots, so that the step and the repeat are the new ones.
    const auto stepChanged = [this] {
        if (m_segments.phase == Segments::Phase::Listening || m_segments.phase == Segments::Phase::Waiting)
            finishSegments();
        // Steps 2 and 6 compare takes with the model: measure it while the learner listens.
        if ((m_step == consecutiveStep || m_step == simultaneousStep) && !m_mediaPath.isEmpty())
            takeAnalyzer->model(m_mediaPath);
        showSegmentsState();
    };
    connect(tsControl, &TsControl::trainNextState, this, stepChanged);
    connect(tsControl, &TsControl::trainPrevState, this, stepChanged);
    connect(mater, &Mater::switchSig, this, stepChanged);
    connect(mater, &Mater::chooseSig, this, stepChanged);
    connect(tsControl, &TsControl::learnAgainSig, this, stepChanged);
    const auto panelChanged = [this] { QMetaObject::invokeMethod(this, &Zorva::updateFiguresPanel, Qt::QueuedConnection); };
    for (auto repeat : {&TsControl::repeatOneSig, &TsControl::repeatTwoSig, &TsControl::repeatThreeSig,
                        &TsControl::repeatFourSig, &TsControl::repeatFiveSig})
        connect(tsControl, repeat, this, panelChanged);
    connect(tsControl, &TsControl::demonstrationSig, this, panelChanged);
    if (QWidget *learnAgain = tsControl->findChild<QWidget *>(QStringLiteral("btnLearnAgain")))
        learnAgain->installEventFilter(new VisibilityWatch(this, panelChanged));
}

void Zorva::takeBegan()
{
    m_running = {};
    m_running.file = m_recordFile;
    m_running.simultaneous = m_step == simultaneousStep;
    m_running.segment = m_segments.phase == Segments::Phase::Interpreting;
}

// A simultaneous take is placed in the model by where the model was when the take's first
// sample was captured: at the first tick after that, the model's position now less the time
// since. The tick's own time is not used: on a busy machine it arrives late, and the take
// would be placed too early in the model.
void Zorva::noteModelTick(qint64 time)
{
    if (m_take.isRunning() && m_running.simultaneous && m_running.firstSampleNs != 0 && !m_running.modelStartMs) {
        const qint64 modelNowMs = mediaObject->currentTime();
        const qint64 sinceFirstSampleMs = (steadyNowNs() - m_running.firstSampleNs) / 1000000;
        const qint64 position = modelNowMs - sinceFirstSampleMs;
        // -1 would read as "no model"; a millisecond makes no difference to the alignment.
        m_running.modelStartMs = position == -1 ? 0 : position;
    }
    if (m_segments.phase == Segments::Phase::Listening && time >= m_segments.ends[size_t(m_segments.segment)])
        reachSegmentEnd();
}

void Zorva::takeEnded(bool kept, bool failureTold)
{
    const RunningTake take = std::exchange(m_running, {});
    if (m_segments.phase == Segments::Phase::Interpreting) {
        if (kept)
            m_segments.takes << take.file;
        const bool next = std::exchange(m_segments.continuing, false)
                          && m_segments.segment + 1 < int(m_segments.ends.size());
        if (m_recordFile == take.file || take.file.isEmpty())
            m_recordFile = m_segments.sentenceFile;
        if (!next) {
            finishSegments();
            return;
        }
        ++m_segments.segment;
        m_segments.phase = Segments::Phase::Listening;
        mediaObject->play();
        emit isPlay(true);
        showSegmentsState();
        return;
    }
    if (!kept)
        return;
    const bool withModel = take.simultaneous && take.modelStartMs;
    measureTake(take.file, withModel ? m_mediaPath : QString(), withModel ? *take.modelStartMs : -1, !failureTold);
}

// Only sentence recordings are measured: their pass and sentence say where the figures go.
void Zorva::measureTake(const QString &file, const QString &modelPath, qint64 modelStartMs, bool warn)
{
    const QFileInfo sentence(file);
    if (!TrainingRules::isSentenceRecording(sentence.fileName()))
        return;
    TakeRequest request;
    request.path = file;
    request.trainDir = sentence.path() + QLatin1Char('/');
    request.pass = sentence.fileName().at(0).digitValue();
    request.sentence = sentence.fileName().at(1).digitValue();
    request.modelPath = modelPath;
    request.modelStartMs = modelStartMs;
    if (warn)
        m_warnFor << file;
    takeAnalyzer->measure(request);
}

void Zorva::showTakeFigures(const TakeRequest &request, const TakeMeasure::TakeMeasurement &result)
{
    TakeLog log(request.trainDir);
    log.load();
    if (result.ok)
        log.setFigures(request.pass, request.sentence, result.figures);
    else
        log.clearFigures(request.pass, request.sentence); // those of the take recorded over
    if (!log.save())
        qWarning("Cannot save the take figures in %s: %s", qPrintable(log.filePath()), qPrintable(log.errorString()));
    if (figuresPanel->isVisible() && figuresPanel->trainDir() == request.trainDir)
        figuresPanel->refresh();
    if (!m_warnFor.removeOne(request.path) || !result.ok)
        return;
    const TakeFigures &f = result.figures;
    if (f.silent) {
        showMessage(QMessageBox::Warning, tr("Recording"), tr("nothing was heard: check the microphone"));
    } else if (f.clippedPercent > kDistortedPercent) {
        showMessage(QMessageBox::Warning, tr("Recording"),
                    tr("The recording is distorted: %1 % of it is at full scale.\n"
                       "Lower the input level of the microphone (\"%2\") in the system's sound settings; "
                       "the trainer's own recording gain stays as it is. The take is kept.")
                        .arg(f.clippedPercent, 0, 'f', 1)
                        .arg(recThread->inputDeviceName()));
    }
}

// Shown with the practice set, for the pass on show; the demonstration has no figures.
void Zorva::updateFiguresPanel()
{
    const int pass = m_repeat.toInt();
    const bool shown = tsControl->practiceSetShown() && pass >= 1 && pass <= TakeFiguresPanel::kPasses;
    if (shown)
        figuresPanel->showPass(m_trainDir, pass);
    figuresPanel->setVisible(shown);
}

void Zorva::continueSegments()
{
    switch (m_segments.phase) {
    case Segments::Phase::Idle:
        if (m_step != consecutiveStep || !tsControl->takeControls()->segmentsChosen())
            return;
        m_segments = {};
        m_segments.phase = Segments::Phase::Waiting;
        m_segments.sentenceFile = m_recordFile;
        if (takeAnalyzer->model(m_mediaPath))
            startSegments();
        else
            showSegmentsState();
        return;
    case Segments::Phase::Interpreting:
        m_segments.continuing = true;
        tsControl->stopRecording();
        return;
    default:
        return;
    }
}

// The pass covers the loop when one is set, else the whole material.
void Zorva::startSegments()
{
    const TakeMeasure::ModelSpeech *model = takeAnalyzer->model(m_mediaPath);
    if (!model || !model->ok) {
        m_segments = {};
        showSegmentsState();
        showMessage(QMessageBox::Warning, tr("Consecutive by segments"),
                    tr("The model's segments cannot be found.\n%1").arg(model ? model->error : QString()));
        return;
    }
    const PlayerLogic::Marks marks { m_markIn, m_markOut };
    const qint64 from = marks.loopActive() ? m_markIn : 0;
    const qint64 to = marks.loopActive() ? m_markOut : qint64(model->seconds * 1000.0);
    m_segments.ends = SegmentedPass::segmentEnds(model->breaks, from, to);
    m_segments.phase = Segments::Phase::Listening;
    emit isAudioPlay(false);
    mediaObject->play();
    mediaObject->seek(from);
    emit isPlay(true);
    showSegmentsState();
}

// The model stops and the learner's take of the segment starts at once.
void Zorva::reachSegmentEnd()
{
    mediaObject->pause();
    emit isPlay(false);
    m_segments.phase = Segments::Phase::Interpreting;
    m_recordFile = segmentFile(m_segments.sentenceFile, m_segments.segment);
    showSegmentsState();
    tsControl->startRecordingNow();
}

// However the pass ends (Continue after the last segment, the record button, another step or
// material), what was recorded is joined into the sentence.
void Zorva::finishSegments()
{
    const QStringList takes = m_segments.takes;
    const QString sentenceFile = m_segments.sentenceFile;
    m_segments = {};
    if (!takes.isEmpty()) {
        m_segments.phase = Segments::Phase::Joining;
        m_segments.sentenceFile = sentenceFile;
        takeAnalyzer->join(takes, SegmentedPass::Target::of(sentenceFile));
    }
    showSegmentsState();
}

void Zorva::segmentsJoined(const SegmentedPass::Target &target, const audio::JobResult &result)
{
    m_segments = {};
    showSegmentsState();
    if (result.ok) {
        if (m_recordFile == target.path)
            updatePlayButton();
        measureTake(target.path, QString(), -1, true);
    } else if (!result.cancelled) {
        showMessage(QMessageBox::Warning, tr("Consecutive by segments"),
                    tr("The segments could not be joined into %1; they are kept beside it.\n%2")
                        .arg(target.path, result.error));
    }
}

void Zorva::showSegmentsState()
{
    TakeControls *controls = tsControl->takeControls();
    const int count = int(m_segments.ends.size());
    const int shown = m_segments.segment + 1;
    switch (m_segments.phase) {
    case Segments::Phase::Idle:
        controls->setPassState(false, QString());
        continueAction->setEnabled(m_step == consecutiveStep && controls->segmentsChosen());
        return;
    case Segments::Phase::Waiting:
        controls->setPassState(true, tr("Finding the segments…"));
        break;
    case Segments::Phase::Listening:
    case Segments::Phase::Interpreting:
        controls->setPassState(true, tr("Segment %1 of %2").arg(shown).arg(count));
        break;
    case Segments::Phase::Joining:
        controls->setPassState(true, tr("Joining the segments…"));
        break;
    }
    continueAction->setEnabled(m_segments.phase == Segments::Phase::Interpreting);
}
