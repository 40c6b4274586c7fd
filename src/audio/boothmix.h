#pragma once

#include "pcm.h"

#include <QString>

// The booth: the model on the left ear, the learner's take on the right, as one stereo
// stream so both stay in step, and its export as an MP3 a teacher can open anywhere.
namespace audio {

struct BoothMix
{
    // Where the take begins in the model's time: the model position recorded when the
    // take began (a simultaneous take), 0 for a take that began with the model.
    double takeOffsetSeconds = 0;
    // 0: model only left, take only right. 1: both equally in both ears.
    double blend = 0;
};

// Both inputs must have the same sample rate (decode them with DecodeOptions::sampleRate);
// each is mixed down to mono first. The result is stereo, as long as the longer of the
// two, and empty when the rates differ.
PcmBuffer mixBooth(const PcmBuffer &model, const PcmBuffer &take, const BoothMix &mix = {});

// Encodes pcm (mono or stereo) with LAME at a constant bit rate into path, written to a
// temporary file first so an existing export is replaced only by a complete one.
JobResult exportMp3(const PcmBuffer &pcm, const QString &path, int kbps = 128);

} // namespace audio
