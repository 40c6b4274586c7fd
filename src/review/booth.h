#pragma once

#include "pcm.h"

#include <QString>

// The booth: a take beside the model it answers, the model on the left ear and the take on
// the right, as one stereo stream so both stay in step; a teacher gets it as an MP3.
struct BoothTake
{
    QString model;
    QString take;
    // Where the take began in the model: the model position when a simultaneous take began,
    // 0 for a take that began with the model.
    qint64 offsetMs = 0;
};

// The model from where the take began, for as long as the take lasts, mixed with the take
// (blend 0: ears apart, 1: both in both ears). Blocks: run it on a worker thread.
audio::JobResult renderBooth(const BoothTake &take, double blend, audio::PcmBuffer *out,
    const audio::JobControl &control = {});
audio::JobResult exportBooth(const BoothTake &take, double blend, const QString &mp3Path,
    const audio::JobControl &control = {});

// The export's file name says the material, the pass ("1" to "5", or "demo") and the sentence:
// "lesson01_pass2_sentence5.mp3", "lesson01_demo_sentence3.mp3".
QString boothFileName(const QString &materialPath, const QString &pass, int sentence);
