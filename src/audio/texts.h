#pragma once

#include <QCoreApplication>

// The context of the texts a learner may see from the audio engine (why a material cannot
// be decoded, a slower copy or an export written), in the "audio" translation catalogues.
class AudioEngine
{
    Q_DECLARE_TR_FUNCTIONS(AudioEngine)
};
