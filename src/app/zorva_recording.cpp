// Voice recording slots of the main window: starting and stopping the recording thread around
// a sentence file, and keeping the learner's-voice playback out of the way meanwhile.
#include "parecthread.h"
#include "recordingcontrol.h"
#include "tscontrol.h"
#include "zorva.h"

#include <QMessageBox>

namespace {

// The child through which the window hears of recordings that failed; made on the first
// recording so that the connection exists exactly once.
const char kFailureWatchName[] = "recordFailureWatch";

} // namespace

void Zorva::sltRecordBeginEnd(bool begin)
{
    if (!recThread)
        return;
    if (!begin) {
        endRecording(*recThread, m_recFile);
        return;
    }

    // A recording that never started must not leave the bar's clock running as if it did:
    // end it the way a second press on record would, and say why once.
    const auto reportFailure = [this](const QString &errorText) {
        auto *box = new QMessageBox(QMessageBox::Warning, tr("Recording"),
            tr("Your voice could not be recorded.\n%1").arg(errorText), QMessageBox::Ok, this);
        box->setAttribute(Qt::WA_DeleteOnClose);
        box->show();
    };
    const QString watchName = QString::fromLatin1(kFailureWatchName);
    if (!findChild<QObject *>(watchName, Qt::FindDirectChildrenOnly)) {
        auto *watch = new QObject(this);
        watch->setObjectName(watchName);
        connect(recThread, &PaRecThread::recordFailed, watch, [this, reportFailure](const QString &errorText) {
            if (m_recFile) // still recording: the learner has not pressed stop yet
                tsControl->recordTrigger(false);
            reportFailure(errorText);
        });
    }
    if (!beginRecording(*recThread, m_recordFile, m_recFile)) {
        // Queued: this slot runs inside the bar's record-begin signal, whose remaining
        // receivers must finish before the end signal starts.
        const QString reason = tr("The file %1 could not be opened for writing.").arg(m_recordFile);
        QMetaObject::invokeMethod(
            this,
            [this, reportFailure, reason] {
                tsControl->recordTrigger(false);
                reportFailure(reason);
            },
            Qt::QueuedConnection);
    }
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
        tsControl->playOrPauseButtonTrue();
}
