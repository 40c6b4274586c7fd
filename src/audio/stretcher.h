#pragma once

#include "pcm.h"

#include <cmath>
#include <memory>

namespace soundtouch {
class SoundTouch;
}

// Slower (or faster) speech with its pitch kept, for the model player's speeds.
namespace audio {

// The speeds the player offers: 0.5 to 1.0 in steps of 0.1, and 1.25.
const std::vector<double> &playerSpeeds();

// A stretched copy plays at a constant rate, so material and copy times are proportional;
// marks, time labels and seeks stay in the material's time and pass through this.
struct TimeMap
{
    double speed = 1.0;

    qint64 toCopyMs(qint64 materialMs) const { return qint64(std::llround(materialMs / speed)); }
    qint64 toMaterialMs(qint64 copyMs) const { return qint64(std::llround(copyMs * speed)); }
};

// Streams PCM through the time-stretch library. The output is exactly
// round(input frames / speed) frames long and keeps in step with the input to within one
// stretch sequence (a click lands within 20 ms of where TimeMap puts it), so marks and
// seeks mapped through TimeMap land where the learner heard them.
class TimeStretcher
{
public:
    TimeStretcher(PcmFormat format, double speed);
    ~TimeStretcher();
    TimeStretcher(const TimeStretcher &) = delete;
    TimeStretcher &operator=(const TimeStretcher &) = delete;

    // Appends what is ready of the stretched audio to out.
    void process(const float *interleaved, qint64 frames, std::vector<float> *out);
    // Ends the input and appends the rest.
    void finish(std::vector<float> *out);

private:
    void receive(std::vector<float> *out, qint64 limit);

    std::unique_ptr<soundtouch::SoundTouch> m_touch;
    PcmFormat m_format;
    double m_speed = 1.0;
    qint64 m_inputFrames = 0;
    qint64 m_outputFrames = 0;
};

PcmBuffer stretched(const PcmBuffer &pcm, double speed);

} // namespace audio
