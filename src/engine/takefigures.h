#pragma once

#include "pcm.h"
#include "takelog.h"

#include <QString>
#include <vector>

// Measuring takes and models with the audio engine. Each call decodes a file and so blocks
// for a while: TakeAnalyzer runs them on its worker threads.
namespace TakeMeasure {

// What a take is compared with: the model's phrase onsets (a simultaneous take's ear-voice
// span) and where a consecutive pass stops it (segment ends), all in seconds of the model.
struct ModelSpeech
{
    bool ok = false;
    QString error;
    double seconds = 0;
    std::vector<double> onsets;
    std::vector<double> breaks;
};

ModelSpeech analyseModel(const QString &path, const audio::JobControl &control = {});

// Ear-voice span in seconds; both are -1 when no learner phrase could be paired.
struct EarVoiceSpan
{
    double median = -1;
    double p90 = -1;
};

// Lag of the learner's phrase onsets behind the model's. takeStart is where the model was
// when the take began, so learner onset t lies at takeStart + t in the model. A learner's
// phrases need not match the model's one to one: the lag shared by most pairs of onsets (at
// most kMaxLagSeconds apart) is taken as the typical one, and each learner phrase is paired
// with the model phrase whose lag lies closest to it.
EarVoiceSpan earVoiceSpan(const std::vector<double> &modelOnsets,
    const std::vector<double> &takeOnsets, double takeStart);
constexpr double kMaxLagSeconds = 8.0;

struct TakeMeasurement
{
    bool ok = false;
    QString error;
    TakeFigures figures;
};

// The figures of the take at path. With a model, modelStartMs is where the model was when the
// take began, and the ear-voice span is measured against it.
TakeMeasurement measureTake(const QString &path, const ModelSpeech *model = nullptr,
    qint64 modelStartMs = -1, const audio::JobControl &control = {});

} // namespace TakeMeasure
