#include "parecthread.h"

#include <QDebug>

namespace {

// Short, because the window waits in the join for the next poll after a stop, and a
// learner sees the take's figures only once it has been joined.
constexpr int kPollMs = 20;
// How long without a new block before the stream is aborted: a device that delivers no more
// blocks would otherwise record nothing, or keep the joining GUI thread waiting for ever.
// Once a stop is asked for only one more block is due, so the joining window waits less.
constexpr int kStallMs = 2500;
constexpr int kStallAfterStopMs = 1500;

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

QString PaRecThread::inputDeviceName() const
{
    return QString::fromLocal8Bit(recorder.deviceName);
}

InputLevel PaRecThread::takeInputLevel()
{
    return recorder.level.take();
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
    int msWithoutBlocks = 0;
    bool announced = false;
    while (recorder.isActive()) {
        Pa_Sleep(kPollMs);
        announceCaptureStart(&announced);
        if (recorder.writeFailed)
            recorder.requestStop();
        msWithoutBlocks = recorder.framesCaptured == framesSeen ? msWithoutBlocks + kPollMs : 0;
        framesSeen = recorder.framesCaptured;
        if (msWithoutBlocks > (recorder.stopWasRequested() ? kStallAfterStopMs : kStallMs)) {
            recorder.abort();
            return recorder.fail("portaudio: the microphone stopped delivering sound.");
        }
    }
    return recorder.stopWasRequested() || recorder.fail("portaudio: the microphone went away.");
}

void PaRecThread::announceCaptureStart(bool *announced)
{
    const long long firstSample = recorder.firstSampleNs;
    if (*announced || firstSample == 0)
        return;
    *announced = true;
    emit captureStarted(firstSample);
}

void PaRecThread::reportFailure()
{
    emit recordFailed(errorText());
}
