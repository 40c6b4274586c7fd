#pragma once

#include "decoder.h"

// The level of a file over time in short windows: the signed extremes for drawing a
// waveform and the RMS for finding speech. Built while decoding, so a long file is never
// held whole just for its envelope.
namespace audio {

constexpr double kEnvelopeWindowSeconds = 0.01;

// Window i covers frames [i * framesPerWindow, (i + 1) * framesPerWindow) over all channels.
// minimum <= 0 <= maximum, so a drawn column always reaches the zero line.
struct Envelope
{
    int sampleRate = 0;
    int framesPerWindow = 0;
    std::vector<float> minimum;
    std::vector<float> maximum;
    std::vector<float> rms;

    int windows() const { return int(rms.size()); }
    double windowSeconds() const
    {
        return sampleRate > 0 ? double(framesPerWindow) / sampleRate : 0.0;
    }
    double seconds() const { return windows() * windowSeconds(); }
    float peak(int window) const { return std::max(-minimum[window], maximum[window]); }
};

// Accumulates chunks placed by their frame position, so parts of one file decoded on
// different threads are merged into the same envelope.
class EnvelopeBuilder
{
public:
    EnvelopeBuilder(int sampleRate, int channels, double windowSeconds = kEnvelopeWindowSeconds);

    void add(const float *interleaved, qint64 frames, qint64 firstFrame);
    void add(const PcmChunk &chunk) { add(chunk.samples, chunk.frames, chunk.firstFrame); }
    // Window i of other goes into window windowOffset + i (a piece built from its own start).
    void merge(const EnvelopeBuilder &other, qint64 windowOffset = 0);
    Envelope finish() const;

private:
    void grow(qint64 windows);

    int m_channels = 0;
    Envelope m_envelope;
    std::vector<double> m_sumOfSquares;
    std::vector<int> m_sampleCount;
};

Envelope envelopeOf(const PcmBuffer &pcm, double windowSeconds = kEnvelopeWindowSeconds);

struct EnvelopeOptions
{
    double windowSeconds = kEnvelopeWindowSeconds;
    // Parts of the file decoded side by side; 0 picks one per core for files over a
    // minute. MP3 decoding is the bulk of the work and does not spread over cores itself.
    int parts = 0;
};

struct EnvelopeResult : DecodeResult
{
    Envelope envelope;
};

// Decodes the file at its own rate and channel count straight into its envelope.
EnvelopeResult decodeEnvelope(
    const QString &path, const EnvelopeOptions &options = {}, const JobControl &control = {});

} // namespace audio
