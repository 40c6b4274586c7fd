// Guided training slots of the main window: opening a material for study or review, the six
// steps, the sentence recordings of a repeat and the demonstration recordings.
//
// Placeholder bodies: the training engine fills these in. They exist so that the window links
// and its meta-object keeps every slot in its place.
#include "zorva.h"

void Zorva::sltSwitchWorkspace(QString path)
{
    Q_UNUSED(path)
}

void Zorva::sltRecordPlayPause(bool play)
{
    Q_UNUSED(play)
}

void Zorva::sltNextState() {}

void Zorva::sltPrevState() {}

void Zorva::sltTextHide() {}

void Zorva::sltOneClick() {}

void Zorva::sltTwoClick() {}

void Zorva::sltThreeClick() {}

void Zorva::sltFourClick() {}

void Zorva::sltFiveClick() {}

void Zorva::sltAudioStop(QString trainDir)
{
    Q_UNUSED(trainDir)
}

void Zorva::demoPathSet(QString demoDir)
{
    Q_UNUSED(demoDir)
}

void Zorva::sltAudioStopBool(bool play)
{
    Q_UNUSED(play)
}

void Zorva::sltRepeatOne(QString trainDir)
{
    Q_UNUSED(trainDir)
}

void Zorva::sltRepeatTwo(QString trainDir)
{
    Q_UNUSED(trainDir)
}

void Zorva::sltRepeatThree(QString trainDir)
{
    Q_UNUSED(trainDir)
}

void Zorva::sltRepeatFour(QString trainDir)
{
    Q_UNUSED(trainDir)
}

void Zorva::sltRepeatFive(QString trainDir)
{
    Q_UNUSED(trainDir)
}

void Zorva::sltDemonstrate() {}

void Zorva::sltAudioSeek(double fraction)
{
    Q_UNUSED(fraction)
}

void Zorva::sltRecordPrepare() {}

void Zorva::sltSixStepSpec() {}

void Zorva::sltTranscripTextShow(bool show)
{
    Q_UNUSED(show)
}

void Zorva::sltTranslationTextShow(bool show)
{
    Q_UNUSED(show)
}

void Zorva::sltTrainNumber() {}

void Zorva::sltCheckFileNumExist() {}

void Zorva::sltStop() {}

bool Zorva::recordingExists(int sentence) const
{
    Q_UNUSED(sentence)
    return false;
}
