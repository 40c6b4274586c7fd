#include "parecthread.h"

#include <QDebug>

namespace {

constexpr int kPollMs = 500;
// Polls to wait for the callback to end a stopped stream before aborting it: a device
// that delivers no more blocks would otherwise keep the joining GUI thread waiting forever.
constexpr int kStopGracePolls = 4;

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
    waitWhileCapturing();
    const bool finished = recorder.finish();
    recorder.close();
    if (!finished)
        reportFailure();
}

void PaRecThread::waitWhileCapturing()
{
    int pollsSinceStop = 0;
    while (recorder.isActive()) {
        Pa_Sleep(kPollMs);
        if (recorder.stopWasRequested() && ++pollsSinceStop > kStopGracePolls)
            recorder.abort();
    }
}

void PaRecThread::reportFailure()
{
    emit recordFailed(errorText());
}
