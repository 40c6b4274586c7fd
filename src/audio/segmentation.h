#pragma once

#include "envelope.h"

// Speech and pauses of a take or a material, found in its envelope, and the take figures
// built on them. All pure functions on values: the caller decides thread and storage.
namespace audio {

struct SegmentationParams
{
    // Silences shorter than this belong to the speech around them (stops, breaths).
    double minPauseSeconds = 0.3;
    // Sounds shorter than this are clicks or knocks, not speech.
    double minSpeechSeconds = 0.1;
};

struct Segment
{
    double start = 0; // seconds
    double end = 0;
    double length() const { return end - start; }
};

// Levels of 10 ms windows in dB of full scale. The speech floor lies between the take's
// own noise floor and its speech level, so a quiet take and a loud one, a clean line and
// a hissing microphone are all measured against themselves.
struct SpeechLevels
{
    double noiseFloorDb = 0; // the quietest 5 % of windows
    double speechLevelDb = 0; // the loudest 2 %
    double speechFloorDb = 0; // windows above it are speech
};

struct Segmentation
{
    SpeechLevels levels;
    // False when nothing rose above the speech floor: a muted or wrong microphone.
    bool speechFound = false;
    std::vector<Segment> speech; // in time order
    std::vector<Segment>
        pauses; // between speech segments, never before the first or after the last

    double speakingSeconds() const;
    // Where phrases begin, in seconds (the starts of the speech segments).
    std::vector<double> onsets() const;
};

SpeechLevels speechLevels(const Envelope &envelope);
Segmentation segmentSpeech(const Envelope &envelope, const SegmentationParams &params = {});

struct PauseSummary
{
    int count = 0;
    double longestSeconds = 0;
};
// Pauses of at least minSeconds.
PauseSummary longPauses(const Segmentation &segmentation, double minSeconds = 0.5);

// Where a consecutive pass stops the model: the start of every pause of at least
// minPauseSeconds that follows at least minSpeechSeconds of speech since the last stop.
std::vector<double> segmentBreaks(
    const Segmentation &segmentation, double minPauseSeconds = 0.8, double minSpeechSeconds = 6.0);

// Share (0..1) of samples at full scale, from a 16-bit recording's point of view: a take
// with more than 1 % of them is distorted.
double fullScaleShare(const PcmBuffer &pcm);
// The same count over a stretch of samples, for a file measured chunk by chunk.
qint64 fullScaleSamples(const float *samples, qint64 count);

} // namespace audio
