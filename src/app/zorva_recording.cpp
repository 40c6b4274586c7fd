// Voice recording slots of the main window: starting and stopping the recording thread around
// a sentence file, and keeping the learner's-voice playback out of the way meanwhile.
//
// Placeholder bodies: the recorder fills these in. They exist so that the window links and its
// meta-object keeps every slot in its place.
#include "zorva.h"

void Zorva::sltRecordBeginEnd(bool begin)
{
    Q_UNUSED(begin)
}

void Zorva::keepRecordOrPlay(bool recording)
{
    Q_UNUSED(recording)
}

void Zorva::sltRecordPlayPauseButton(bool recording)
{
    Q_UNUSED(recording)
}
