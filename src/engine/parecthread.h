#pragma once

#include "recorder.h"

#include <QThread>
#include <cstdio>

// The recording thread: sets up capture and encoder, polls while PortAudio's callback
// encodes, then flushes the encoder. One object serves every recording of the program;
// the file it writes to is opened and closed by the thread that starts and joins it.
class PaRecThread : public QThread
{
    Q_OBJECT

public:
    PaRecThread();
    ~PaRecThread() override;

    // Call setFile and setGain only while the thread is not running. setFile also forgets
    // a stop meant for the previous recording.
    void setFile(FILE *file);
    void setGain(float value);
    // Safe from any thread: the capture ends after its next block.
    void stop();
    // Why the last recording failed, empty when it went as asked, and how many frames it
    // captured; read them only while the thread is not running.
    QString errorText() const;
    unsigned long capturedFrames() const;
    QString inputDeviceName() const;
    // Safe from any thread while a take runs: the input level since the last call.
    InputLevel takeInputLevel();

signals:
    // The take's first sample reached the microphone at this point of the steady clock
    // (nanoseconds of std::chrono::steady_clock); emitted from the recording thread, once per
    // take, shortly after.
    void captureStarted(qint64 firstSampleNs);
    // A recording that never started, lost its end, or whose microphone stopped or went
    // away; emitted from the recording thread, once per recording, with the error text.
    void recordFailed(const QString &errorText);

protected:
    void run() override;

private:
    bool waitWhileCapturing();
    void announceCaptureStart(bool *announced);
    void reportFailure();

    Recorder recorder;
    FILE *outFile = nullptr;
    float gain = Recorder::kDefaultGain;
};
