#include "segmentation.h"

#include <algorithm>
#include <cmath>

namespace audio {

namespace {

constexpr double kSilenceDb = -120.0;
constexpr double kNoisePercentile = 0.05;
constexpr double kSpeechPercentile = 0.98;
// The floor sits this far above the noise, where the noise's own ups and downs in 10 ms
// windows rarely reach, but never more than kMaxFloorBelowSpeechDb below the speech level,
// since digital silence puts the noise floor at -120 dB.
constexpr double kFloorOverNoiseDb = 10.0;
constexpr double kMaxFloorBelowSpeechDb = 35.0;
// Speech must stand this far above the noise, and above this level, to count at all.
constexpr double kMinSpeechOverNoiseDb = 12.0;
constexpr double kMinSpeechLevelDb = -60.0;
// One LSB short of 16-bit full scale, so a clipped 16-bit recording is counted.
constexpr float kFullScale = 32766.0f / 32768.0f;

double decibels(float rms)
{
    return rms > 0 ? std::max(kSilenceDb, 20.0 * std::log10(double(rms))) : kSilenceDb;
}

double percentile(std::vector<double> values, double fraction)
{
    if (values.empty())
        return kSilenceDb;
    const auto nth = values.begin() + std::ptrdiff_t(fraction * double(values.size() - 1));
    std::nth_element(values.begin(), nth, values.end());
    return *nth;
}

// Runs of windows above the floor, as window index ranges [first, end).
std::vector<std::pair<int, int>> loudRuns(const Envelope &envelope, double floorDb)
{
    std::vector<std::pair<int, int>> runs;
    for (int i = 0; i < envelope.windows(); ++i) {
        if (decibels(envelope.rms[i]) <= floorDb)
            continue;
        if (!runs.empty() && runs.back().second == i)
            runs.back().second = i + 1;
        else
            runs.push_back({ i, i + 1 });
    }
    return runs;
}

} // namespace

double Segmentation::speakingSeconds() const
{
    double total = 0;
    for (const Segment &segment : speech)
        total += segment.length();
    return total;
}

std::vector<double> Segmentation::onsets() const
{
    std::vector<double> starts;
    for (const Segment &segment : speech)
        starts.push_back(segment.start);
    return starts;
}

SpeechLevels speechLevels(const Envelope &envelope)
{
    std::vector<double> levels(envelope.rms.size());
    std::transform(envelope.rms.begin(), envelope.rms.end(), levels.begin(), decibels);
    SpeechLevels result;
    result.noiseFloorDb = percentile(levels, kNoisePercentile);
    result.speechLevelDb = percentile(levels, kSpeechPercentile);
    result.speechFloorDb = std::max(
        result.noiseFloorDb + kFloorOverNoiseDb, result.speechLevelDb - kMaxFloorBelowSpeechDb);
    return result;
}

Segmentation segmentSpeech(const Envelope &envelope, const SegmentationParams &params)
{
    Segmentation result;
    result.levels = speechLevels(envelope);
    result.speechFound = result.levels.speechLevelDb >= kMinSpeechLevelDb
        && result.levels.speechLevelDb - result.levels.noiseFloorDb >= kMinSpeechOverNoiseDb;
    if (!result.speechFound)
        return result;

    const double window = envelope.windowSeconds();
    std::vector<Segment> joined;
    for (const auto &[first, end] : loudRuns(envelope, result.levels.speechFloorDb)) {
        const Segment run { first * window, end * window };
        if (!joined.empty() && run.start - joined.back().end < params.minPauseSeconds)
            joined.back().end = run.end;
        else
            joined.push_back(run);
    }
    for (const Segment &segment : joined) {
        if (segment.length() < params.minSpeechSeconds)
            continue;
        if (!result.speech.empty())
            result.pauses.push_back({ result.speech.back().end, segment.start });
        result.speech.push_back(segment);
    }
    result.speechFound = !result.speech.empty();
    return result;
}

PauseSummary longPauses(const Segmentation &segmentation, double minSeconds)
{
    PauseSummary summary;
    for (const Segment &pause : segmentation.pauses) {
        if (pause.length() < minSeconds)
            continue;
        ++summary.count;
        summary.longestSeconds = std::max(summary.longestSeconds, pause.length());
    }
    return summary;
}

std::vector<double> segmentBreaks(
    const Segmentation &segmentation, double minPauseSeconds, double minSpeechSeconds)
{
    std::vector<double> breaks;
    double spoken = 0;
    for (size_t i = 0; i < segmentation.speech.size(); ++i) {
        spoken += segmentation.speech[i].length();
        if (i < segmentation.pauses.size() && spoken >= minSpeechSeconds
            && segmentation.pauses[i].length() >= minPauseSeconds) {
            breaks.push_back(segmentation.pauses[i].start);
            spoken = 0;
        }
    }
    return breaks;
}

double fullScaleShare(const PcmBuffer &pcm)
{
    if (pcm.samples.empty())
        return 0;
    const qint64 clipped = fullScaleSamples(pcm.samples.data(), qint64(pcm.samples.size()));
    return double(clipped) / double(pcm.samples.size());
}

qint64 fullScaleSamples(const float *samples, qint64 count)
{
    return std::count_if(
        samples, samples + count, [](float s) { return std::fabs(s) >= kFullScale; });
}

} // namespace audio
