#include "envelope.h"

#include <algorithm>
#include <cmath>
#include <mutex>
#include <thread>

namespace audio {

namespace {

constexpr double kPartsFromSeconds = 60.0;

struct WindowSums
{
    float minimum = 0;
    float maximum = 0;
    float sumOfSquares = 0;
};

// One window's stretch of interleaved samples; four partial sums let the compiler keep
// the loop in vector registers.
WindowSums sumsOf(const float *samples, qint64 count)
{
    float low[4] = {}, high[4] = {}, squares[4] = {};
    qint64 i = 0;
    for (; i + 4 <= count; i += 4) {
        for (int lane = 0; lane < 4; ++lane) {
            const float s = samples[i + lane];
            low[lane] = s < low[lane] ? s : low[lane];
            high[lane] = s > high[lane] ? s : high[lane];
            squares[lane] += s * s;
        }
    }
    for (; i < count; ++i) {
        low[0] = std::min(low[0], samples[i]);
        high[0] = std::max(high[0], samples[i]);
        squares[0] += samples[i] * samples[i];
    }
    return { std::min({ low[0], low[1], low[2], low[3] }),
        std::max({ high[0], high[1], high[2], high[3] }),
        squares[0] + squares[1] + squares[2] + squares[3] };
}

int partsFor(const EnvelopeOptions &options, double seconds)
{
    if (options.parts > 0)
        return options.parts;
    if (seconds < kPartsFromSeconds)
        return 1;
    return int(std::clamp(std::thread::hardware_concurrency(), 1u, 4u));
}

} // namespace

EnvelopeBuilder::EnvelopeBuilder(int sampleRate, int channels, double windowSeconds)
    : m_channels(std::max(1, channels))
{
    m_envelope.sampleRate = sampleRate;
    m_envelope.framesPerWindow = std::max(1, int(std::lround(windowSeconds * sampleRate)));
}

void EnvelopeBuilder::grow(qint64 windows)
{
    if (windows <= qint64(m_sampleCount.size()))
        return;
    m_envelope.minimum.resize(windows);
    m_envelope.maximum.resize(windows);
    m_sumOfSquares.resize(windows);
    m_sampleCount.resize(windows);
}

void EnvelopeBuilder::add(const float *interleaved, qint64 frames, qint64 firstFrame)
{
    const int perWindow = m_envelope.framesPerWindow;
    grow((firstFrame + frames + perWindow - 1) / perWindow);
    qint64 frame = firstFrame;
    const qint64 end = firstFrame + frames;
    while (frame < end) {
        const qint64 window = frame / perWindow;
        const qint64 stop = std::min(end, (window + 1) * perWindow);
        const WindowSums sums
            = sumsOf(interleaved + (frame - firstFrame) * m_channels, (stop - frame) * m_channels);
        m_envelope.minimum[window] = std::min(m_envelope.minimum[window], sums.minimum);
        m_envelope.maximum[window] = std::max(m_envelope.maximum[window], sums.maximum);
        m_sumOfSquares[window] += sums.sumOfSquares;
        m_sampleCount[window] += int(stop - frame) * m_channels;
        frame = stop;
    }
}

void EnvelopeBuilder::merge(const EnvelopeBuilder &other, qint64 windowOffset)
{
    grow(windowOffset + qint64(other.m_sampleCount.size()));
    for (size_t from = 0; from < other.m_sampleCount.size(); ++from) {
        const size_t i = size_t(windowOffset) + from;
        m_envelope.minimum[i] = std::min(m_envelope.minimum[i], other.m_envelope.minimum[from]);
        m_envelope.maximum[i] = std::max(m_envelope.maximum[i], other.m_envelope.maximum[from]);
        m_sumOfSquares[i] += other.m_sumOfSquares[from];
        m_sampleCount[i] += other.m_sampleCount[from];
    }
}

Envelope EnvelopeBuilder::finish() const
{
    Envelope envelope = m_envelope;
    envelope.rms.resize(m_sampleCount.size());
    for (size_t i = 0; i < m_sampleCount.size(); ++i)
        envelope.rms[i]
            = m_sampleCount[i] > 0 ? float(std::sqrt(m_sumOfSquares[i] / m_sampleCount[i])) : 0.0f;
    return envelope;
}

Envelope envelopeOf(const PcmBuffer &pcm, double windowSeconds)
{
    EnvelopeBuilder builder(pcm.format.sampleRate, pcm.format.channels, windowSeconds);
    builder.add(pcm.samples.data(), pcm.frames(), 0);
    return builder.finish();
}

EnvelopeResult decodeEnvelope(
    const QString &path, const EnvelopeOptions &options, const JobControl &control)
{
    EnvelopeResult result;
    // A first chunk tells the format and the length, and so how to split the file.
    static_cast<DecodeResult &>(result) = decodeStream(
        path, {}, [](const PcmChunk &) { return false; }, control);
    if (!result.ok)
        return result;
    const int parts = partsFor(options, result.durationSeconds);
    const double partSeconds = result.durationSeconds / parts;

    std::vector<EnvelopeBuilder> builders(parts,
        EnvelopeBuilder(result.format.sampleRate, result.format.channels, options.windowSeconds));
    std::vector<DecodeResult> outcomes(parts);
    std::vector<double> done(parts, 0.0);
    std::mutex progressLock;
    auto decodePart = [&](int part) {
        DecodeOptions range;
        range.startSeconds = part * partSeconds;
        // The last part runs to the real end, whatever length the container claimed.
        range.endSeconds = part + 1 < parts ? (part + 1) * partSeconds : -1;
        JobControl partControl { nullptr, control.cancel };
        if (control.progress)
            partControl.progress = [&, part](double fraction) {
                const std::lock_guard<std::mutex> lock(progressLock);
                done[part] = std::clamp((fraction * parts - part), 0.0, 1.0);
                double sum = 0;
                for (double d : done)
                    sum += d;
                control.progress(sum / parts);
            };
        outcomes[part] = decodeStream(
            path, range,
            [&builders, part](const PcmChunk &chunk) {
                builders[part].add(chunk);
                return true;
            },
            partControl);
    };
    std::vector<std::thread> threads;
    for (int part = 1; part < parts; ++part)
        threads.emplace_back(decodePart, part);
    decodePart(0);
    for (std::thread &thread : threads)
        thread.join();

    for (int part = 0; part < parts; ++part) {
        if (!outcomes[part].ok) {
            static_cast<DecodeResult &>(result) = outcomes[part];
            return result;
        }
        if (part > 0)
            builders[0].merge(builders[part]);
    }
    result.envelope = builders[0].finish();
    return result;
}

} // namespace audio
