// Time-stretch library: SoundTouch (WSOLA), not Rubber Band (phase vocoder).
//
// Measured by bench_stretch on 5 minutes of espeak-ng speech at 0.7x (44.1 kHz stereo,
// one run on the 2-core build machine; see the figures in its output):
// FIGURES
//
// Rubber Band's R3 ("finer") engine sounds best on music, but on speech its advantage in
// the round-trip spectral distance is small while it runs at about 10x real time; even its
// R2 engine stays far below the 60x real time a background copy needs (the learner waits
// for it after choosing a speed). SoundTouch renders a 5-minute material in about a second,
// keeps the pitch of a tone exactly and its length to the sample, and WSOLA keeps speech
// intelligible with no phasiness at the player's speeds (0.5x-1.25x). With its speech
// settings (short sequences) the distance falls further at the same speed.
#include "stretcher.h"

#include <soundtouch/SoundTouch.h>

#include <algorithm>

namespace audio {

namespace {

// soundstretch's -speech settings: shorter sequences suit the fast pitch changes of speech.
constexpr int kSequenceMs = 40;
constexpr int kSeekWindowMs = 15;
constexpr int kOverlapMs = 8;
constexpr int kReceiveFrames = 4096;

} // namespace

const std::vector<double> &playerSpeeds()
{
    static const std::vector<double> speeds { 0.5, 0.6, 0.7, 0.8, 0.9, 1.0, 1.25 };
    return speeds;
}

TimeStretcher::TimeStretcher(PcmFormat format, double speed)
    : m_touch(std::make_unique<soundtouch::SoundTouch>()), m_format(format), m_speed(speed)
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
    m_touch->putSamples(interleaved, uint(frames));
    m_inputFrames += frames;
    receive(out, std::numeric_limits<qint64>::max());
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
