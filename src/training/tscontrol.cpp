#include "tscontrol.h"

#include "barcaptions.h"
#include "qprogressindicator.h"
#include "qseekslider.h"
#include "recordclock.h"
#include "takecontrols.h"
#include "vkaction.h"
#include "vkbutton.h"
#include "vkimageset.h"

#include <QCloseEvent>
#include <QLabel>
#include <QPainter>
#include <QTimer>

namespace {

constexpr int barHeight = 85;
constexpr int tickMs = 1000;
// Seconds shown before recording starts, counted down to 0 and then "start".
constexpr int countdownFrom = 2;
constexpr int labelIndent = 4;
constexpr int labelPixels = 12;
constexpr int countdownPixels = 20;
constexpr int sliderWidth = 450;

const QPoint demonstrationEntryPos(450, 15);
const QPoint demonstrationChooserPos(528, 30);
// Right of the clock, left of the previous button.
const QPoint takeControlsPos(385, 2);

QString countdownStartText()
{
    return QStringLiteral("00:03");
}

void hideAll(std::initializer_list<QWidget *> widgets)
{
    for (QWidget *widget : widgets)
        widget->hide();
}

void showAll(std::initializer_list<QWidget *> widgets)
{
    for (QWidget *widget : widgets)
        widget->show();
}

template<typename Widgets>
void setAllVisible(const Widgets &widgets, bool visible)
{
    for (QWidget *widget : widgets)
        widget->setVisible(visible);
}

} // namespace

TsControl::TsControl(QWidget *parent)
    : QWidget(parent)
    , m_backgroundLeft(QStringLiteral(":/Control/bg-float-control-left.png"))
    , m_backgroundMiddle(QStringLiteral(":/Control/bg-float-control.png"))
    , m_backgroundRight(QStringLiteral(":/Control/bg-float-control-right.png"))
{
    setWindowFlags(Qt::Tool);
    setAttribute(Qt::WA_TranslucentBackground);
    setFixedHeight(barHeight);

    createButtons();
    captionBarButtons(this);
    createLabels();
    busyIndicator = new QProgressIndicator(this);
    busyIndicator->move(300, 20);
    seekSlider = new QSeekSlider(this);
    seekSlider->setFixedWidth(sliderWidth);
    seekSlider->move(100, 21);
    createActionsAndTimers();
    connectButtons();

    for (QWidget *child : findChildren<QWidget *>(QString(), Qt::FindDirectChildrenOnly))
        child->hide();
    showAll({btnExpand, btnLeft, btnRight, busyIndicator});
    // Always there; what it shows follows the step and the take.
    m_takeControls = new TakeControls(this);
    m_takeControls->move(takeControlsPos);
}

bool TsControl::practiceSetShown() const
{
    return btnLearnAgain->isVisibleTo(this);
}

TsControl::~TsControl()
{
    disconnect();
}

// Each button is named after its member, for style sheets, accessibility tools and scripted
// walk-throughs of the bar.
VkButton *TsControl::makeButton(const char *name, const QString &picture,
                                VkImageSet (*cut)(const QPixmap &), const QPoint &position)
{
    auto *button = new VkButton(this);
    button->setObjectName(QLatin1String(name));
    const VkImageSet images = cut(QPixmap(picture));
    button->setImages(images);
    button->setFixedSize(images.size(VkImageSet::Normal, false));
    button->move(position);
    return button;
}

void TsControl::createButtons()
{
    const auto control = [](const char *name) {
        return QStringLiteral(":/Control/") + QLatin1String(name) + QStringLiteral(".png");
    };
    btnStart = makeButton("btnStart", control("start"), &VkImageSet::single, {35, 15});
    btnTranscript = makeButton("btnTranscript", control("transcrip"), &VkImageSet::single, {175, 15});
    btnTranslation = makeButton("btnTranslation", control("translation"), &VkImageSet::single, {310, 15});
    btnRecord = makeButton("btnRecord", control("button-record"), &VkImageSet::toggle, {10, 10});
    btnPlay = makeButton("btnPlay", control("button-play-pause"), &VkImageSet::toggle, {60, 10});
    btnNext = makeButton("btnNext", control("button-next"), &VkImageSet::strip, {600, 40});
    btnPrevious = makeButton("btnPrevious", control("button-previous"), &VkImageSet::strip, {550, 40});
    btnExpand = makeButton("btnExpand", control("button-expand"), &VkImageSet::strip, {600, 0});
    btnBack = makeButton("btnBack", control("back"), &VkImageSet::strip, {10, 0});
    btnPractice1 = makeButton("btnPractice1", control("11"), &VkImageSet::strip, {28, 30});
    btnPractice2 = makeButton("btnPractice2", control("22"), &VkImageSet::strip, {128, 30});
    btnPractice3 = makeButton("btnPractice3", control("33"), &VkImageSet::strip, {228, 30});
    btnPractice4 = makeButton("btnPractice4", control("44"), &VkImageSet::strip, {328, 30});
    btnPractice5 = makeButton("btnPractice5", control("55"), &VkImageSet::strip, {428, 30});
    btnLearnAgain = makeButton("btnLearnAgain", control("learn_again"), &VkImageSet::single, {528, 30});
    btnRepeat1 = makeButton("btnRepeat1", control("1"), &VkImageSet::strip, {28, 30});
    btnRepeat2 = makeButton("btnRepeat2", control("2"), &VkImageSet::strip, {128, 30});
    btnRepeat3 = makeButton("btnRepeat3", control("3"), &VkImageSet::strip, {228, 30});
    btnRepeat4 = makeButton("btnRepeat4", control("4"), &VkImageSet::strip, {328, 30});
    btnRepeat5 = makeButton("btnRepeat5", control("5"), &VkImageSet::strip, {428, 30});
    btnDemonstration = makeButton("btnDemonstration", control("demonstration"), &VkImageSet::single,
                                  demonstrationChooserPos);
    btnLeft = makeButton("btnLeft", control("left"), &VkImageSet::single, {100, 10});
    btnRight = makeButton("btnRight", control("right"), &VkImageSet::single, {400, 10});
    btnListen = makeButton("btnListen", control("button-listen"), &VkImageSet::strip, {560, 5});
}

QLabel *TsControl::makeLabel(const QString &text, const QPoint &position, int pixelSize,
                             const QColor &color)
{
    auto *label = new QLabel(text, this);
    label->setIndent(labelIndent);
    label->setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
    QFont font = label->font();
    font.setPixelSize(pixelSize);
    label->setFont(font);
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, color);
    label->setPalette(palette);
    label->move(position);
    label->adjustSize();
    return label;
}

void TsControl::createLabels()
{
    const QColor white(Qt::white);
    lblStepTitle = makeLabel(QString(), {10, 60}, labelPixels, white);
    lblNext = makeLabel(tr("下一步"), {595, 68}, labelPixels, white);
    lblPrevious = makeLabel(tr("上一步"), {545, 68}, labelPixels, white);
    lblStepHint = makeLabel(QString(), {130, 50}, labelPixels, QColor(Qt::gray));
    lblPractice1 = makeLabel(tr("源语复述"), {14, 60}, labelPixels, white);
    lblPractice2 = makeLabel(tr("译入语交传"), {110, 60}, labelPixels, white);
    lblPractice3 = makeLabel(tr("视译"), {226, 60}, labelPixels, white);
    lblPractice4 = makeLabel(tr("二次原语复述"), {302, 60}, labelPixels, white);
    lblPractice5 = makeLabel(tr("同传"), {426, 60}, labelPixels, white);
    lblNetworkError = makeLabel(tr("无法获取资源文件，请检查网络连接！"), {200, 30}, labelPixels,
                                white);
    lblCountdown = makeLabel(countdownStartText(), {320, 15}, countdownPixels, white);
    lblCountdown->setObjectName(QStringLiteral("lblCountdown"));
}

void TsControl::createActionsAndTimers()
{
    actRecord = new VkAction(this, true);
    actPlay = new VkAction(this, true);
    for (VkAction *action : {actRecord, actPlay}) {
        action->setCheckable(true);
        action->setEnabled(true);
    }
    btnRecord->setAction(actRecord);
    btnPlay->setAction(actPlay);
    connect(actRecord, &QAction::triggered, this, &TsControl::recordTrigger);
    connect(actPlay, &QAction::triggered, this, &TsControl::playTrigger);
    connect(this, &TsControl::recordPlayPause, this, &TsControl::setSliderVisible);

    recordDownTimer = new QTimer(this);
    recordUpTimer = new QTimer(this);
    for (QTimer *timer : {recordDownTimer, recordUpTimer})
        timer->setInterval(tickMs);
    connect(recordDownTimer, &QTimer::timeout, this, &TsControl::recordTimerDown);
    connect(recordUpTimer, &QTimer::timeout, this, &TsControl::recordTimerUp);
}

void TsControl::connectButtons()
{
    // Where one click feeds several slots, they run in the order connected here.
    connect(btnStart, &VkButton::clicked, this, &TsControl::beginShow);
    connect(btnStart, &VkButton::clicked, this, &TsControl::trainInitTrigger);
    connect(btnTranscript, &VkButton::clicked, this, &TsControl::transcripTextTrigger);
    connect(btnTranslation, &VkButton::clicked, this, &TsControl::translationTextTrigger);
    connect(btnNext, &VkButton::clicked, this, &TsControl::trainTrigger);
    connect(btnNext, &VkButton::clicked, this, &TsControl::switchStepLabel);
    connect(btnNext, &VkButton::clicked, this, &TsControl::playTrigger);
    connect(btnPrevious, &VkButton::clicked, this, &TsControl::trainPrevTrigger);
    connect(btnPrevious, &VkButton::clicked, this, &TsControl::switchPrevStepLabel);
    connect(btnExpand, &VkButton::clicked, this, &TsControl::loadWebList);
    connect(btnBack, &VkButton::clicked, this, &TsControl::backToRepeatTrigger);
    connect(btnPractice1, &VkButton::clicked, this, &TsControl::oneTrigger);
    connect(btnPractice2, &VkButton::clicked, this, &TsControl::twoTrigger);
    connect(btnPractice3, &VkButton::clicked, this, &TsControl::threeTrigger);
    connect(btnPractice4, &VkButton::clicked, this, &TsControl::fourTrigger);
    connect(btnPractice5, &VkButton::clicked, this, &TsControl::fiveTrigger);
    connect(btnLearnAgain, &VkButton::clicked, this, &TsControl::learnAgainTrigger);
    connect(btnRepeat1, &VkButton::clicked, this, &TsControl::repeatOneTrigger);
    connect(btnRepeat2, &VkButton::clicked, this, &TsControl::repeatTwoTrigger);
    connect(btnRepeat3, &VkButton::clicked, this, &TsControl::repeatThreeTrigger);
    connect(btnRepeat4, &VkButton::clicked, this, &TsControl::repeatFourTrigger);
    connect(btnRepeat5, &VkButton::clicked, this, &TsControl::repeatFiveTrigger);
    connect(btnDemonstration, &VkButton::clicked, this, &TsControl::demonstrationTrigger);
    connect(btnLeft, &VkButton::clicked, this, &TsControl::leftVideoTrigger);
    connect(btnRight, &VkButton::clicked, this, &TsControl::rightVideoTrigger);
    connect(btnListen, &VkButton::clicked, this, &TsControl::listenSig);
    connect(seekSlider, &QSeekSlider::valueChanged, this, &TsControl::seekValueChangedTrigger);
}

TsControl::Buttons TsControl::practiceButtons() const
{
    return {btnPractice1, btnPractice2, btnPractice3, btnPractice4, btnPractice5};
}

TsControl::Buttons TsControl::repeatButtons() const
{
    return {btnRepeat1, btnRepeat2, btnRepeat3, btnRepeat4, btnRepeat5};
}

TsControl::Labels TsControl::practiceLabels() const
{
    return {lblPractice1, lblPractice2, lblPractice3, lblPractice4, lblPractice5};
}

QString TsControl::stepTitle(int step)
{
    switch (step) {
    case 1: return tr("源语复述");
    case 2: return tr("译入语交替传译练习");
    case 3: return tr("精听");
    case 4: return tr("听力文本视译练习");
    case 5: return tr("源语复述");
    case 6: return tr("同声传译训练");
    default: return QString();
    }
}

QString TsControl::stepHint(int step)
{
    switch (step) {
    case 1: return tr("请在听完一遍录音后用源语复述\n录下你的声音");
    case 2: return tr("请再听一遍录音并做下笔记\n然后用译入语复述原文内容");
    case 3: return tr("反复听原文录音\n必要的地方可以做一些记录, 不超过十遍");
    case 4:
        return tr("通读文本，准备20秒到30秒左右，进行一边看文本一边说一边录音的练习\n"
                  "注意自己的语音语气，力求准确清楚");
    case 5: return tr("尽可能多的结合视译和以前源语复述中的信息\n尽量完整的进行细节性的复述");
    case 6:
        return tr("要求：short，simple and complete, make sense, be natural\n"
                  "在播放的同时做同传练习并录音");
    default: return QString();
    }
}

// Labels have no layout to size them, so each new text resizes its label.
void TsControl::setLabelText(QLabel *label, const QString &text)
{
    label->setText(text);
    label->adjustSize();
}

void TsControl::showStepTexts(int step)
{
    setLabelText(lblStepTitle, stepTitle(step));
    setLabelText(lblStepHint, stepHint(step));
    showAll({lblStepTitle, lblStepHint});
    m_takeControls->setStep(step);
}

void TsControl::hidePracticeSet()
{
    setAllVisible(practiceLabels(), false);
    setAllVisible(practiceButtons(), false);
    hideAll({btnLearnAgain, btnBack});
}

void TsControl::hideRepeatButtons()
{
    setAllVisible(repeatButtons(), false);
}

void TsControl::hideStepLabels()
{
    hideAll({lblStepTitle, lblStepHint, lblNext, lblPrevious});
}

void TsControl::hideEntryButtons()
{
    hideAll({btnStart, btnTranscript, btnTranslation});
}

void TsControl::hideRecordAndPlay()
{
    hideAll({btnRecord, btnPlay});
}

void TsControl::hideStepButtons()
{
    hideAll({btnRecord, btnPlay, btnNext, btnPrevious, btnListen});
}

void TsControl::resetCountdownLabel()
{
    m_countdown = countdownFrom;
    setLabelText(lblCountdown, countdownStartText());
    lblCountdown->hide();
}

void TsControl::paintEvent(QPaintEvent *event)
{
    Q_UNUSED(event)
    QPainter painter(this);
    const int leftWidth = m_backgroundLeft.width();
    const int rightWidth = m_backgroundRight.width();
    painter.drawPixmap(0, 0, leftWidth, height(), m_backgroundLeft);
    painter.drawTiledPixmap(QRect(leftWidth, 0, width() - leftWidth - rightWidth,
                                  m_backgroundMiddle.height()),
                            m_backgroundMiddle);
    painter.drawPixmap(width() - rightWidth, 0, rightWidth, height(), m_backgroundRight);
}

void TsControl::moveEvent(QMoveEvent *event)
{
    QWidget::moveEvent(event);
}

void TsControl::closeEvent(QCloseEvent *event)
{
    event->accept();
}

void TsControl::hideTrigger()
{
    hideRecordAndPlay();
}

void TsControl::showTrigger()
{
    showAll({btnRecord, btnPlay});
}

void TsControl::zeroShow()
{
    hideAll({btnLeft, btnRight});
    busyIndicator->stopAnimation();
    lblNetworkError->hide();

    hidePracticeSet();
    hideAll({lblStepTitle, lblStepHint});
    hideStepButtons();
    hideAll({lblNext, lblPrevious, seekSlider});
    hideRepeatButtons();

    showAll({btnStart, btnTranscript, btnTranslation});
    btnDemonstration->move(demonstrationEntryPos);
    btnDemonstration->show();
    m_takeControls->setStep(0);
    stopRecording();
}

void TsControl::endShow()
{
    hideRepeatButtons();
    hideAll({btnDemonstration});
    hideStepButtons();
    // The hint goes too: called from within a step it would run across the captions.
    hideAll({lblNext, lblPrevious, lblStepTitle, lblStepHint, seekSlider});
    setAllVisible(practiceButtons(), true);
    btnLearnAgain->show();
    setAllVisible(practiceLabels(), true);
    m_takeControls->setStep(0);
}

void TsControl::beginShow()
{
    m_countdown = countdownFrom;
    hideEntryButtons();
    m_shownStep = 1;

    setAllVisible(practiceLabels(), false);
    showStepTexts(m_shownStep);

    setAllVisible(practiceButtons(), false);
    hideAll({btnLearnAgain, btnBack});
    showAll({btnRecord, btnPlay, btnNext, lblNext, btnListen});
    hideRepeatButtons();
    btnDemonstration->hide();
}

void TsControl::downloadShow()
{
    hidePracticeSet();
    hideStepLabels();
    hideRepeatButtons();
    hideStepButtons();
    hideEntryButtons();
    hideAll({btnDemonstration, lblCountdown});
    m_takeControls->setStep(0);
    busyIndicator->startAnimation();
    lblNetworkError->hide();
}

// A chosen sentence starts from its beginning, not yet playing.
void TsControl::prepareSentencePlayback()
{
    actPlay->setChecked(false);
    setSliderVisible(true);
    btnPlay->show();
}

void TsControl::oneTrigger()
{
    emit oneSig();
    prepareSentencePlayback();
}

void TsControl::twoTrigger()
{
    emit twoSig();
    prepareSentencePlayback();
}

void TsControl::threeTrigger()
{
    emit threeSig();
    prepareSentencePlayback();
}

void TsControl::fourTrigger()
{
    emit fourSig();
    prepareSentencePlayback();
}

void TsControl::fiveTrigger()
{
    emit fiveSig();
    prepareSentencePlayback();
}

void TsControl::emitRepeat(void (TsControl::*signal)(const QString &))
{
    endShow();
    btnBack->show();
    emit(this->*signal)(m_choicePath);
}

void TsControl::repeatOneTrigger()
{
    emitRepeat(&TsControl::repeatOneSig);
}

void TsControl::repeatTwoTrigger()
{
    emitRepeat(&TsControl::repeatTwoSig);
}

void TsControl::repeatThreeTrigger()
{
    emitRepeat(&TsControl::repeatThreeSig);
}

void TsControl::repeatFourTrigger()
{
    emitRepeat(&TsControl::repeatFourSig);
}

void TsControl::repeatFiveTrigger()
{
    emitRepeat(&TsControl::repeatFiveSig);
}

void TsControl::choiceTrigger(const QString &folder)
{
    hideAll({btnLeft, btnRight});
    m_repeatPath = folder;
    seekSlider->hide();
    if (busyIndicator->isAnimated())
        busyIndicator->stopAnimation();
    m_choicePath = folder;

    hidePracticeSet();
    hideStepButtons();
    hideStepLabels();
    hideEntryButtons();
    m_takeControls->setStep(0);

    setAllVisible(repeatButtons(), true);
    btnDemonstration->move(demonstrationChooserPos);
    btnDemonstration->show();

    const int unlocked = unlockedRepeatCount(folderFileNamesByName(folder));
    const Buttons repeats = repeatButtons();
    for (int i = 0; i < sentenceCount; ++i)
        repeats[static_cast<std::size_t>(i)]->setEnabled(i < unlocked);
}

void TsControl::choiceDumpTrigger(const QString &folder)
{
    m_repeatPath = folder;
}

void TsControl::setSliderValue(double value)
{
    seekSlider->setValue(value);
}

void TsControl::oneButtonFalse()
{
    btnPractice1->setEnabled(false);
}

void TsControl::twoButtonFalse()
{
    btnPractice2->setEnabled(false);
}

void TsControl::threeButtonFalse()
{
    btnPractice3->setEnabled(false);
}

void TsControl::fourButtonFalse()
{
    btnPractice4->setEnabled(false);
}

void TsControl::fiveButtonFalse()
{
    btnPractice5->setEnabled(false);
}

void TsControl::resetButtonTrue()
{
    for (VkButton *button : practiceButtons())
        button->setEnabled(true);
}

void TsControl::sltNetworkError()
{
    busyIndicator->stopAnimation();
    lblNetworkError->show();
}

void TsControl::pathSaveTrigger(const QString &path)
{
    m_learnAgainPath = path;
}

// Through the action: the button copies its action's state whenever the action changes
// (checked by the next button, say), so a button disabled alone would come back enabled.
void TsControl::playOrPauseButtonFalse()
{
    actPlay->setEnabled(false);
}

void TsControl::playOrPauseButtonTrue()
{
    actPlay->setEnabled(true);
}

void TsControl::setSliderVisible(bool visible)
{
    if (visible) {
        seekSlider->setValue(0.0);
        seekSlider->show();
    } else {
        seekSlider->hide();
    }
}

void TsControl::setMediaObject(Phonon::MediaObject *mediaObject)
{
    seekSlider->setMediaObject(mediaObject);
}

void TsControl::recordTrigger(bool checked)
{
    seekSlider->hide();
    actRecord->setChecked(checked);
    lblCountdown->show();
    recordDownTimer->start();
    emit recordPrepare();
}

void TsControl::playTrigger(bool checked)
{
    actPlay->setChecked(checked);
    emit recordPlayPause(checked);
}

void TsControl::playIconTrigger(bool checked)
{
    actPlay->setChecked(checked);
    seekSlider->setValue(0.0);
}

void TsControl::trainTrigger()
{
    if (actRecord->isChecked())
        recordTrigger(false);
    emit trainNextState();
}

void TsControl::switchStepLabel()
{
    ++m_shownStep;
    hideAll({seekSlider, lblStepTitle, lblStepHint});
    btnListen->setVisible(m_shownStep <= 2);
    // The practice set after the last step keeps a way back to it.
    if (m_shownStep == lastStep + 1)
        showAll({btnPrevious, lblPrevious});
    if (m_shownStep > lastStep) {
        m_takeControls->setStep(0);
        return;
    }
    showStepTexts(m_shownStep);
    if (m_shownStep == 2)
        showAll({btnPrevious, lblPrevious});
}

void TsControl::recordTimerDown()
{
    // Released, or ended by a step change: the countdown never starts a take, whichever
    // second it was in.
    if (!actRecord->isChecked() && !recordUpTimer->isActive()) {
        recordDownTimer->stop();
        resetCountdownLabel();
        return;
    }
    // A stop pressed and taken back within one second restarts the countdown while the
    // recording still runs; it must not begin a second recording into the open file.
    if (recordUpTimer->isActive()) {
        recordDownTimer->stop();
        m_countdown = countdownFrom;
        return;
    }
    setLabelText(lblCountdown, recordClockText(m_countdown));
    lblCountdown->show();
    --m_countdown;
    if (m_countdown < 0) {
        beginTake();
        if (m_shownStep == lastStep)
            emit sixStepSpec();
    }
}

void TsControl::beginTake()
{
    m_countdown = countdownFrom;
    setLabelText(lblCountdown, tr("start"));
    lblCountdown->show();
    recordUpTimer->start();
    recordDownTimer->stop();
    m_takeControls->setRecording(true);
    emit recordBeginEnd(true);
}

void TsControl::startRecordingNow()
{
    if (recordUpTimer->isActive())
        return;
    seekSlider->hide();
    actRecord->setChecked(true);
    beginTake();
}

void TsControl::recordTimerUp()
{
    setLabelText(lblCountdown, recordClockText(m_countup));
    ++m_countup;
    if (actRecord->isChecked())
        return;
    recordUpTimer->stop();
    m_takeControls->setRecording(false);
    emit recordBeginEnd(false);
    m_countup = 0;
    resetCountdownLabel();
}

void TsControl::trainPrevTrigger()
{
    if (actRecord->isChecked())
        recordTrigger(false);
    emit trainPrevState();
}

void TsControl::switchPrevStepLabel()
{
    const bool fromPractice = m_shownStep == lastStep + 1;
    m_shownStep = qMax(1, m_shownStep - 1);
    hideAll({lblStepTitle, lblStepHint});
    if (m_shownStep == 1) {
        beginShow();
        hideAll({btnPrevious, lblPrevious});
    } else if (m_shownStep <= lastStep) {
        if (fromPractice) {
            hidePracticeSet();
            showAll({btnRecord, btnPlay, btnNext, lblNext, btnPrevious, lblPrevious});
        }
        btnListen->setVisible(m_shownStep <= 2);
        showStepTexts(m_shownStep);
    }
}

void TsControl::seekValueChangedTrigger(double value)
{
    emit seekValueChanged(value);
}

void TsControl::loadWebList(bool checked)
{
    emit webListLoaded(checked);
}

void TsControl::trainInitTrigger()
{
    emit trainNextState();
    emit textHideSig();
}

void TsControl::learnAgainTrigger()
{
    emit learnAgainSig(m_learnAgainPath);
}

void TsControl::demonstrationTrigger()
{
    hideAll({btnStart, btnTranscript, btnTranslation, btnDemonstration});
    endShow();
    emit demonstrationSig();
}

void TsControl::backToRepeatTrigger()
{
    choiceTrigger(m_repeatPath);
}

void TsControl::transcripTextTrigger(bool checked)
{
    emit transcripTextSig(checked);
}

void TsControl::translationTextTrigger(bool checked)
{
    emit translationTextSig(checked);
}

void TsControl::leftVideoTrigger()
{
    emit leftClick();
}

void TsControl::rightVideoTrigger()
{
    emit rightClick();
}

// Stopping the clock silences its last tick, so a take still running has to be ended here, or
// the recorder would go on writing its file with nobody to stop it.
void TsControl::stopRecording()
{
    const bool recordingRuns = recordUpTimer->isActive();
    recordDownTimer->stop();
    recordUpTimer->stop();
    resetCountdownLabel();
    m_countup = 0;
    if (actRecord->isChecked())
        actRecord->setChecked(false);
    m_takeControls->setRecording(false);
    if (recordingRuns)
        emit recordBeginEnd(false);
}

void TsControl::showKeptTake(int sentence, const QString &keptTake)
{
    if (sentence < 1 || sentence > sentenceCount)
        return;
    QLabel *label = practiceLabels()[size_t(sentence - 1)];
    const QString star = QStringLiteral("★");
    QString caption = label->text();
    if (caption.startsWith(star))
        caption.remove(0, star.size());
    setLabelText(label, keptTake.isEmpty() ? caption : star + caption);
    label->setToolTip(keptTake);
}
