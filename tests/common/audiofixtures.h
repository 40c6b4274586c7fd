#pragma once

#include <QString>

class QProcess;

// Audio made at test time with real tools (espeak-ng, sox, lame), so fixtures are
// never hand-edited binaries. Each returns false when the tool failed.
namespace AudioFixtures {

// The text may hold SSML, e.g. <break time="600ms"/> for a pause of just that length.
bool makeSpeechWav(const QString &wavPath, const QString &text);
// Spoken text as a 44.1 kHz stereo MP3; repeat the text for a longer file.
bool makeSpeechMp3(const QString &mp3Path, const QString &text);
// A sine of the given peak amplitude (0..1) in both channels.
bool makeToneWav(const QString &wavPath, double seconds, int frequencyHz, double peak = 0.5);
bool makeToneMp3(const QString &mp3Path, double seconds, int frequencyHz);
// Runs sox with these arguments separated by blanks (so paths without blanks, as in a
// QTemporaryDir), e.g. "in.wav out.wav vol 0.1"; false when it failed.
bool sox(const QString &arguments);

// Duration in seconds as a real decoder reads it (sox), or -1 when it cannot decode.
double decodedSeconds(const QString &audioPath);
// Decodes to a 44.1 kHz mono WAV with sox; false when the file does not decode.
bool decodeToWav(const QString &audioPath, const QString &wavPath);
// RMS and peak amplitude (0..1) of the whole file as sox measures them, or -1.
double rmsAmplitude(const QString &audioPath);
double peakAmplitude(const QString &audioPath);
// Dominant frequency in Hz by zero-crossing count over a mono WAV, or -1.
double dominantFrequency(const QString &wavPath);
// Dominant frequency of a stretch of any audio file, e.g. away from an encoder's silent start.
double frequencyBetween(const QString &audioPath, double from, double length);

// Plays a file into the virtual microphone (the "micfeed" sink of the test sound
// server); returns the running player, owned by the caller.
QProcess *playIntoMicrophone(const QString &wavPath);

} // namespace AudioFixtures
