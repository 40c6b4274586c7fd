// The companion windows of the main window: the training bar glued under it and the library
// glued to its right, the recording thread, the wiring between them and the version check.
#include "zorva.h"

#include "appupdate.h"
#include "mater.h"
#include "parecthread.h"
#include "tscontrol.h"

#include <phonon/MediaObject>

namespace {

constexpr int barWidthAtStart = 640;

// Where one signal feeds several slots they run in connection order, so the order below is
// part of the behaviour: a chosen material reaches the bar before the window, a switch reaches
// the window before the bar, and a recording starts before the voice playback is stopped and
// the play button is disabled.
void connectLibrary(Zorva *window, TsControl *bar, Mater *library)
{
    QObject::connect(library, &Mater::switchSig, window, &Zorva::sltSwitchWorkspace);
    QObject::connect(bar, &TsControl::recordBeginEnd, window, &Zorva::sltRecordBeginEnd);
    QObject::connect(bar, &TsControl::recordPlayPause, window, &Zorva::sltRecordPlayPause);
    QObject::connect(bar, &TsControl::trainNextState, window, &Zorva::sltNextState);
    QObject::connect(bar, &TsControl::trainPrevState, window, &Zorva::sltPrevState);
    QObject::connect(bar, &TsControl::textHideSig, window, &Zorva::sltTextHide);
    QObject::connect(bar, &TsControl::oneSig, window, &Zorva::sltOneClick);
    QObject::connect(bar, &TsControl::twoSig, window, &Zorva::sltTwoClick);
    QObject::connect(bar, &TsControl::threeSig, window, &Zorva::sltThreeClick);
    QObject::connect(bar, &TsControl::fourSig, window, &Zorva::sltFourClick);
    QObject::connect(bar, &TsControl::fiveSig, window, &Zorva::sltFiveClick);
    QObject::connect(library, &Mater::chooseSig, bar, &TsControl::choiceTrigger);
    QObject::connect(library, &Mater::chooseDumpSig, bar, &TsControl::choiceDumpTrigger);
    QObject::connect(library, &Mater::chooseSig, window, &Zorva::sltAudioStop);
    QObject::connect(library, &Mater::demoPathSig, window, &Zorva::demoPathSet);
    QObject::connect(library, &Mater::switchSig, bar, &TsControl::pathSaveTrigger);
    QObject::connect(library, &Mater::pathSig, bar, &TsControl::pathSaveTrigger);
    QObject::connect(bar, &TsControl::learnAgainSig, window, &Zorva::sltSwitchWorkspace);
}

void connectReview(Zorva *window, TsControl *bar)
{
    QObject::connect(window, &Zorva::isAudioPlay, window, &Zorva::sltAudioStopBool);
    QObject::connect(bar, &TsControl::repeatOneSig, window, &Zorva::sltRepeatOne);
    QObject::connect(bar, &TsControl::repeatTwoSig, window, &Zorva::sltRepeatTwo);
    QObject::connect(bar, &TsControl::repeatThreeSig, window, &Zorva::sltRepeatThree);
    QObject::connect(bar, &TsControl::repeatFourSig, window, &Zorva::sltRepeatFour);
    QObject::connect(bar, &TsControl::repeatFiveSig, window, &Zorva::sltRepeatFive);
    QObject::connect(bar, &TsControl::demonstrationSig, window, &Zorva::sltDemonstrate);
    QObject::connect(bar, &TsControl::seekValueChanged, window, &Zorva::sltAudioSeek);
    QObject::connect(window, &Zorva::isAudioPlay, bar, &TsControl::playIconTrigger);
}

void connectRecordingAndTexts(Zorva *window, TsControl *bar)
{
    QObject::connect(bar, &TsControl::recordBeginEnd, window, &Zorva::keepRecordOrPlay);
    QObject::connect(bar, &TsControl::recordBeginEnd, window, &Zorva::sltRecordPlayPauseButton);
    QObject::connect(bar, &TsControl::webListLoaded, window, &Zorva::sltShowOrHide);
    QObject::connect(bar, &TsControl::recordPrepare, window, &Zorva::sltRecordPrepare);
    QObject::connect(window, &Zorva::noneFileOne, bar, &TsControl::oneButtonFalse);
    QObject::connect(window, &Zorva::noneFileTwo, bar, &TsControl::twoButtonFalse);
    QObject::connect(window, &Zorva::noneFileThree, bar, &TsControl::threeButtonFalse);
    QObject::connect(window, &Zorva::noneFileFour, bar, &TsControl::fourButtonFalse);
    QObject::connect(window, &Zorva::noneFileFive, bar, &TsControl::fiveButtonFalse);
    QObject::connect(bar, &TsControl::sixStepSpec, window, &Zorva::sltSixStepSpec);
    QObject::connect(bar, &TsControl::transcripTextSig, window, &Zorva::sltTranscripTextShow);
    QObject::connect(bar, &TsControl::translationTextSig, window, &Zorva::sltTranslationTextShow);
    QObject::connect(bar, &TsControl::leftClick, window, &Zorva::sltLeftPlay);
    QObject::connect(bar, &TsControl::rightClick, window, &Zorva::sltRightPlay);
}

} // namespace

void Zorva::setupCompanions()
{
    recThread = new PaRecThread;

    tsControl->resize(barWidthAtStart, tsControl->height());
    tsControl->setWindowFlags(Qt::Tool | Qt::FramelessWindowHint);
    tsControl->setFocusPolicy(Qt::StrongFocus);
    tsControl->move(x(), y() + height());
    tsControl->show();

    connectLibrary(this, tsControl, mater);
    connectReview(this, tsControl);
    connectRecordingAndTexts(this, tsControl);
    // A sentence played to its end shows the play look again; steps 1 and 2 start the model
    // from the bar.
    connect(voiceObject, &Phonon::MediaObject::finished, tsControl, [this] { tsControl->playIconTrigger(false); });
    connect(tsControl, &TsControl::listenSig, this, &Zorva::on_btnPlayPause_clicked);

    // Lives as long as the program: the learner may answer its question at any time.
    appUpdate = new AppUpdate;
    appUpdate->CheckVersion();
}

// The bar sits flush under the window at its full width; the library stands flush right of
// it, as tall as window and bar together, whether shown or not.
void Zorva::placeCompanions()
{
    if (!tsControl || !mater)
        return;
    tsControl->setGeometry(x(), y() + height(), width(), tsControl->height());
    mater->setGeometry(x() + width(), y(), mater->width(), height() + tsControl->height());
}

void Zorva::sltShowOrHide(bool show)
{
    Q_UNUSED(show)
    mater->setVisible(mater->isHidden());
}
