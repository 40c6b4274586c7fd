// Time-stretch library: SoundTouch (WSOLA) with its speech settings, not Rubber Band.
//
// bench_stretch, 5 minutes of espeak-ng speech at 0.7x (44.1 kHz stereo), 2-core machine:
//
//   engine                        x real time  pitch error  length error  round-trip LSD
//   SoundTouch, default settings        167       +0.023 %      0.000 %        5.33 dB
//   SoundTouch, speech settings         189       +0.003 %      0.000 %        3.88 dB
//   Rubber Band R2 (faster), offline     35       -0.504 %      0.000 %        5.47 dB
//   Rubber Band R3 (finer), offline       8       +0.013 %      0.000 %        4.19 dB
//
// Pitch: a 440 Hz tone, by zero crossings. Round trip: speech stretched to 0.7x and back,
// mean log-spectral distance to the original over 23 ms frames (the speech against itself
// 2 ms later scores 2.44 dB, so small offsets already cost that much).
//
// The player waits for a slower copy after the learner picks a speed, so speed decides:
// Rubber Band's R3 engine, its best, renders 8x real time (40 s for five minutes, six
// minutes for an hour) and R2 35x, below the 60x the copy needs, and neither sounds better
// on speech by these figures. SoundTouch with short sequences (soundstretch's -speech)
// renders the copy at about 160x real time including decoding and writing, keeps a tone's
// pitch and the length to the sample, and keeps speech clear at 0.5x-1.25x.
#include "stretcher.h"

#include <algorithm>
#include <soundtouch/SoundTouch.h>

namespace audio {

namespace {

// soundstretch's -speech settings: shorter sequences suit the fast pitch changes of speech.
constexpr int kSequenceMs = 40;
constexpr int kSeekWindowMs = 15;
constexpr int kOverlapMs = 8;
constexpr int kReceiveFrames = 4096;
constexpr qint64 kBlockFrames = 4096;

} // namespace

const std::vector<double> &playerSpeeds()
{
    static const std::vector<double> speeds { 0.5, 0.6, 0.7, 0.8, 0.9, 1.0, 1.25 };
    return speeds;
}

TimeStretcher::TimeStretcher(PcmFormat format, double speed)
    : m_touch(std::make_unique<soundtouch::SoundTouch>())
    , m_format(format)
    , m_speed(speed)
{
    m_touch->setSampleRate(uint(format.sampleRate));
    m_touch->setChannels(uint(format.channels));
    m_touch->setTempo(speed);
    m_touch->setSetting(SETTING_SEQUENCE_MS, kSequenceMs);
    m_touch->setSetting(SETTING_SEEKWINDOW_MS, kSeekWindowMs);
    m_touch->setSetting(SETTING_OVERLAP_MS, kOverlapMs);
}

TimeStretcher::~TimeStretcher() = default;

void TimeStretcher::process(const float *interleaved, qint64 frames, std::vector<float> *out)
{
    // SoundTouch moves what it holds down its buffer after every sequence, so a whole file
    // put in at once costs quadratic time: it gets small blocks, each taken out at once.
    for (qint64 done = 0; done < frames; done += kBlockFrames) {
        const qint64 block = std::min(kBlockFrames, frames - done);
        m_touch->putSamples(interleaved + done * m_format.channels, uint(block));
        receive(out, std::numeric_limits<qint64>::max());
    }
    m_inputFrames += frames;
}

void TimeStretcher::finish(std::vector<float> *out)
{
    m_touch->flush();
    const auto expected = qint64(std::llround(double(m_inputFrames) / m_speed));
    receive(out, expected - m_outputFrames);
    // flush() may come up a little short of the exact length; silence makes it up.
    if (m_outputFrames < expected) {
        out->resize(out->size() + size_t((expected - m_outputFrames) * m_format.channels));
        m_outputFrames = expected;
    }
    m_touch->clear();
}

void TimeStretcher::receive(std::vector<float> *out, qint64 limit)
{
    const int channels = m_format.channels;
    while (limit > 0) {
        const size_t offset = out->size();
        out->resize(offset + size_t(kReceiveFrames * channels));
        const auto wanted = uint(std::min<qint64>(kReceiveFrames, limit));
        const uint got = m_touch->receiveSamples(out->data() + offset, wanted);
        out->resize(offset + size_t(got) * size_t(channels));
        m_outputFrames += got;
        limit -= got;
        if (got == 0)
            break;
    }
}

PcmBuffer stretched(const PcmBuffer &pcm, double speed)
{
    PcmBuffer result;
    result.format = pcm.format;
    TimeStretcher stretcher(pcm.format, speed);
    stretcher.process(pcm.samples.data(), pcm.frames(), &result.samples);
    stretcher.finish(&result.samples);
    return result;
}

} // namespace audio
