#pragma once

#include <QString>
#include <cstdio>

class PaRecThread;

// The trainer records at about 4.5 times the recorder's full-scale default, so that a
// quiet voice on a laptop microphone still comes out loud; loud input clips.
constexpr float kRecordGain = 148940.90625f;

// One take of a sentence recording. It is captured into a hidden file beside the sentence
// file and moved over it only once it holds audio and is on the disk, so a take that cannot
// start, or captures nothing, never costs the learner the recording they had.
class SentenceTake
{
public:
    SentenceTake() = default;
    SentenceTake(const SentenceTake &) = delete;
    SentenceTake &operator=(const SentenceTake &) = delete;
    ~SentenceTake();

    // Logs the sentence file, opens the take's file and starts the thread on it; false, with
    // nothing started, when that file cannot be opened. A take still running is ended first.
    bool begin(PaRecThread &thread, const QString &sentenceFile);
    // Stops the capture, waits for the thread and closes the take; when this returns the
    // sentence file is complete. Returns why the take failed (empty when it did not) and
    // sets kept when the take replaced the sentence file. Harmless when no take runs.
    QString end(bool *kept = nullptr);
    bool isRunning() const { return m_file != nullptr; }

private:
    PaRecThread *m_thread = nullptr;
    FILE *m_file = nullptr;
    QString m_sentenceFile;
    QString m_takeFile;
};
