#include "takefigures.h"

#include "envelope.h"
#include "segmentation.h"

#include <algorithm>
#include <cmath>
#include <optional>

namespace TakeMeasure {

namespace {

// Pauses a learner should notice, and where a consecutive pass stops the model.
constexpr double kLongPauseSeconds = 0.5;
constexpr double kSegmentPauseSeconds = 0.8;
constexpr double kSegmentSpeechSeconds = 6.0;
// Lags this close to each other count as the same when the typical lag is looked for; a
// learner phrase whose nearest pairing is further than kStrayLagSeconds from the typical lag
// (a false start, a phrase of their own) is left out.
constexpr double kLagKernelSeconds = 0.25;
constexpr double kStrayLagSeconds = 1.5;

qint64 milliseconds(double seconds)
{
    return qint64(std::llround(seconds * 1000.0));
}

// Nearest-rank percentile of a non-empty list.
double percentile(std::vector<double> values, double fraction)
{
    std::sort(values.begin(), values.end());
    const auto rank = size_t(std::ceil(fraction * double(values.size())));
    return values[std::clamp<size_t>(rank, 1, values.size()) - 1];
}

double typicalLag(const std::vector<double> &lags)
{
    double best = lags.front();
    int bestVotes = 0;
    for (double candidate : lags) {
        const auto votes = int(std::count_if(lags.begin(), lags.end(),
            [candidate](double lag) { return std::fabs(lag - candidate) <= kLagKernelSeconds; }));
        if (votes > bestVotes || (votes == bestVotes && candidate < best)) {
            best = candidate;
            bestVotes = votes;
        }
    }
    double sum = 0;
    int count = 0;
    for (double lag : lags) {
        if (std::fabs(lag - best) <= kLagKernelSeconds) {
            sum += lag;
            ++count;
        }
    }
    return sum / count;
}

} // namespace

ModelSpeech analyseModel(const QString &path, const audio::JobControl &control)
{
    ModelSpeech model;
    const audio::EnvelopeResult decoded = audio::decodeEnvelope(path, {}, control);
    if (!decoded.ok) {
        model.error = decoded.error;
        return model;
    }
    const audio::Segmentation speech = audio::segmentSpeech(decoded.envelope);
    model.ok = true;
    model.seconds = decoded.envelope.seconds();
    model.onsets = speech.onsets();
    model.breaks = audio::segmentBreaks(speech, kSegmentPauseSeconds, kSegmentSpeechSeconds);
    return model;
}

EarVoiceSpan earVoiceSpan(const std::vector<double> &modelOnsets,
    const std::vector<double> &takeOnsets, double takeStart)
{
    const auto lagsOf = [&](double learner) {
        std::vector<double> lags;
        for (double model : modelOnsets) {
            const double lag = takeStart + learner - model;
            if (lag > 0 && lag <= kMaxLagSeconds)
                lags.push_back(lag);
        }
        return lags;
    };
    std::vector<double> allLags;
    for (double learner : takeOnsets) {
        const std::vector<double> lags = lagsOf(learner);
        allLags.insert(allLags.end(), lags.begin(), lags.end());
    }
    if (allLags.empty())
        return {};
    const double typical = typicalLag(allLags);
    std::vector<double> spans;
    for (double learner : takeOnsets) {
        const std::vector<double> lags = lagsOf(learner);
        const auto nearest = std::min_element(lags.begin(), lags.end(),
            [typical](double a, double b) { return std::fabs(a - typical) < std::fabs(b - typical); });
        if (nearest != lags.end() && std::fabs(*nearest - typical) <= kStrayLagSeconds)
            spans.push_back(*nearest);
    }
    if (spans.empty())
        return {};
    return { percentile(spans, 0.5), percentile(spans, 0.9) };
}

TakeMeasurement measureTake(const QString &path, const ModelSpeech *model, qint64 modelStartMs,
    const audio::JobControl &control)
{
    TakeMeasurement result;
    std::optional<audio::EnvelopeBuilder> envelope;
    qint64 frames = 0;
    qint64 samples = 0;
    qint64 clipped = 0;
    int sampleRate = 0;
    const audio::DecodeResult decoded = audio::decodeStream(path, {},
        [&](const audio::PcmChunk &chunk) {
            if (!envelope) {
                envelope.emplace(chunk.format.sampleRate, chunk.format.channels);
                sampleRate = chunk.format.sampleRate;
            }
            envelope->add(chunk);
            const qint64 count = chunk.frames * chunk.format.channels;
            clipped += audio::fullScaleSamples(chunk.samples, count);
            samples += count;
            frames = std::max(frames, chunk.firstFrame + chunk.frames);
            return true;
        },
        control);
    if (!decoded.ok) {
        result.error = decoded.error;
        return result;
    }
    TakeFigures &f = result.figures;
    f.modelStartMs = modelStartMs;
    result.ok = true;
    if (!envelope)
        return result; // a take without a single sample: nothing was heard
    const audio::Segmentation speech = audio::segmentSpeech(envelope->finish());
    const double seconds = double(frames) / sampleRate;
    const audio::PauseSummary pauses = audio::longPauses(speech, kLongPauseSeconds);
    f.durationMs = milliseconds(seconds);
    f.silent = !speech.speechFound;
    f.firstWordMs = speech.speech.empty() ? -1 : milliseconds(speech.speech.front().start);
    f.speakingPercent = seconds > 0 ? 100.0 * speech.speakingSeconds() / seconds : 0.0;
    f.pauseCount = pauses.count;
    f.longestPauseMs = milliseconds(pauses.longestSeconds);
    f.clippedPercent = samples > 0 ? 100.0 * double(clipped) / double(samples) : 0.0;
    if (model && model->ok && modelStartMs != -1) {
        const EarVoiceSpan span
            = earVoiceSpan(model->onsets, speech.onsets(), double(modelStartMs) / 1000.0);
        f.evsMedianMs = span.median < 0 ? -1 : milliseconds(span.median);
        f.evsP90Ms = span.p90 < 0 ? -1 : milliseconds(span.p90);
    }
    return result;
}

} // namespace TakeMeasure
