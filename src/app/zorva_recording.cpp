// Voice recording slots of the main window: starting and ending a take of the current sentence
// on the recording thread, and keeping the learner's-voice playback out of the way meanwhile.
#include "parecthread.h"
#include "tscontrol.h"
#include "zorva.h"

#include <QCloseEvent>
#include <phonon/MediaObject>

namespace {

// The child through which the window hears of takes that failed; made on the first take so
// that the connection exists exactly once.
const char kFailureWatchName[] = "recordFailureWatch";

// The recorder reports in the audio library's words; the learner first reads what happened,
// the technical detail after it.
QString explained(const QString &failure)
{
    const struct
    {
        const char *detail;
        const char *explanation;
    } reasons[] = {
        { "No input device", QT_TRANSLATE_NOOP("Zorva", "No microphone was found.") },
        { "stopped delivering", QT_TRANSLATE_NOOP("Zorva", "The microphone stopped delivering sound.") },
        { "went away", QT_TRANSLATE_NOOP("Zorva", "The microphone went away (unplugged?).") },
        { "write failed", QT_TRANSLATE_NOOP("Zorva", "The recording could not be written (is the disk full?).") },
        { "could not replace", QT_TRANSLATE_NOOP("Zorva", "The new recording could not replace the earlier one.") },
    };
    for (const auto &reason : reasons) {
        if (failure.contains(QLatin1String(reason.detail)))
            return Zorva::tr(reason.explanation) + QLatin1Char('\n') + failure;
    }
    return failure;
}

} // namespace

void Zorva::sltRecordBeginEnd(bool begin)
{
    if (!recThread)
        return;
    if (!begin) {
        endTake();
        return;
    }
    watchRecorder();
    // A new take always plays from its start, never where the old one was paused.
    m_voicePaused = false;
    if (voiceObject->state() == Phonon::PausedState)
        voiceObject->stop();
    if (!m_take.begin(*recThread, m_recordFile)) {
        m_takeFailure = tr("The file %1 could not be opened for writing.").arg(m_recordFile);
        // Queued: this slot runs inside the bar's record-begin signal, whose remaining
        // receivers must finish before the end signal starts.
        QMetaObject::invokeMethod(tsControl, [this] { tsControl->recordTrigger(false); }, Qt::QueuedConnection);
        return;
    }
    takeBegan();
}

// A take that fails while it runs ends the bar's clock the way a second press on record
// would; the learner is told once, when the take has ended.
void Zorva::watchRecorder()
{
    const QString watchName = QString::fromLatin1(kFailureWatchName);
    if (findChild<QObject *>(watchName, Qt::FindDirectChildrenOnly))
        return;
    auto *watch = new QObject(this);
    watch->setObjectName(watchName);
    connect(recThread, &PaRecThread::recordFailed, watch, [this] {
        if (m_take.isRunning()) // the learner has not pressed stop yet
            tsControl->recordTrigger(false);
    });
}

void Zorva::endTake()
{
    const bool running = m_take.isRunning();
    bool kept = false;
    QString failure = m_take.end(&kept);
    if (failure.isEmpty())
        failure = std::exchange(m_takeFailure, QString());
    if (!running && failure.isEmpty())
        return;
    if (!failure.isEmpty())
        showMessage(QMessageBox::Warning, tr("Recording"),
                    (kept ? tr("The recording stopped early; what was recorded is kept.\n%1")
                          : tr("Your voice could not be recorded.\n%1")).arg(explained(failure)));
    takeEnded(kept, !failure.isEmpty());
}

// Closing the window ends a countdown and keeps the take that runs.
void Zorva::closeEvent(QCloseEvent *event)
{
    if (tsControl)
        tsControl->stopRecording();
    QWidget::closeEvent(event);
}

void Zorva::keepRecordOrPlay(bool recording)
{
    if (recording)
        emit isAudioPlay(false);
}

void Zorva::sltRecordPlayPauseButton(bool recording)
{
    if (recording)
        tsControl->playOrPauseButtonFalse();
    else
        updatePlayButton();
}
