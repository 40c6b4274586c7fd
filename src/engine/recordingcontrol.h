#pragma once

#include <QString>
#include <cstdio>

class PaRecThread;

// The trainer records at about 4.5 times the recorder's full-scale default, so that a
// quiet voice on a laptop microphone still comes out loud; loud input clips.
constexpr float kRecordGain = 148940.90625f;

// Logs the sentence file, opens it for a fresh recording (an earlier recording of the same
// sentence is overwritten) and starts the thread on it. A recording still running is ended
// first. Returns false, leaving file null, when the file cannot be opened.
bool beginRecording(PaRecThread &thread, const QString &fileName, FILE *&file);

// Stops the recording, waits for the thread and closes the file: when this returns the file
// is complete. Harmless when nothing is recording.
void endRecording(PaRecThread &thread, FILE *&file);
