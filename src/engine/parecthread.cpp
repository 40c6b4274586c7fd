#include "parecthread.h"

#include <QDebug>

namespace {

constexpr int kPollMs = 500;
// Polls without a new block before the stream is aborted: a device that delivers no more
// blocks would otherwise record nothing, or keep the joining GUI thread waiting for ever.
constexpr int kStallPolls = 4;

} // namespace

PaRecThread::PaRecThread()
    : QThread(nullptr)
{
}

PaRecThread::~PaRecThread()
{
    stop();
    wait();
}

void PaRecThread::setFile(FILE *file)
{
    outFile = file;
    recorder.clearStop();
}

void PaRecThread::setGain(float value)
{
    gain = value;
}

void PaRecThread::stop()
{
    recorder.requestStop();
}

QString PaRecThread::errorText() const
{
    return QString::fromLocal8Bit(recorder.errorText);
}

unsigned long PaRecThread::capturedFrames() const
{
    return recorder.framesCaptured;
}

void PaRecThread::run()
{
    if (!recorder.open(outFile, gain)) {
        qDebug("%s", recorder.errorText);
        recorder.close();
        reportFailure();
        return;
    }
    if (!recorder.start()) {
        recorder.close();
        reportFailure();
        return;
    }
    const bool capturedToTheEnd = waitWhileCapturing();
    const bool finished = recorder.finish();
    recorder.close();
    if (!finished || !capturedToTheEnd)
        reportFailure();
}

// Returns false when the capture did not end as asked: the device stopped delivering, or the
// stream ended without a stop (the device went away). A file that fills ends the take early.
bool PaRecThread::waitWhileCapturing()
{
    unsigned long framesSeen = 0;
    int pollsWithoutBlocks = 0;
    while (recorder.isActive()) {
        Pa_Sleep(kPollMs);
        if (recorder.writeFailed)
            recorder.requestStop();
        pollsWithoutBlocks = recorder.framesCaptured == framesSeen ? pollsWithoutBlocks + 1 : 0;
        framesSeen = recorder.framesCaptured;
        // Once a stop is asked for only one more block is due: the joining window waits no longer.
        if (pollsWithoutBlocks > (recorder.stopWasRequested() ? 2 : kStallPolls)) {
            recorder.abort();
            return recorder.fail("portaudio: the microphone stopped delivering sound.");
        }
    }
    return recorder.stopWasRequested() || recorder.fail("portaudio: the microphone went away.");
}

void PaRecThread::reportFailure()
{
    emit recordFailed(errorText());
}
