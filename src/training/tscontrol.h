#pragma once

#include <QPixmap>
#include <QString>
#include <QWidget>

#include <array>

class QLabel;
class QPoint;
class QProgressIndicator;
class QSeekSlider;
class QTimer;
class TakeControls;
class VkAction;
class VkButton;
class VkImageSet;

namespace Phonon {
class MediaObject;
}

// The floating bar under the main window that drives the guided training. It shows one
// button set at a time (entry, sentence chooser, the six steps, practice, loading) and
// owns the recording countdown and clock; every click becomes a signal, and the main
// window and the library switch the sets through the slots.
class TsControl : public QWidget
{
    Q_OBJECT
public:
    explicit TsControl(QWidget *parent = nullptr);
    ~TsControl() override;

    // The level meter and the consecutive-by-segments controls beside the clock.
    TakeControls *takeControls() const { return m_takeControls; }
    // Starts a take at once, without the countdown (a pass by segments); it ends like any
    // other take, by the record button or stopRecording().
    void startRecordingNow();
    // Whether the practice buttons are the set on show (after the steps, in review).
    bool practiceSetShown() const;

public slots:
    void hideTrigger();
    void showTrigger();
    void zeroShow();
    void endShow();
    void beginShow();
    void downloadShow();
    void oneTrigger();
    void twoTrigger();
    void threeTrigger();
    void fourTrigger();
    void fiveTrigger();
    void repeatOneTrigger();
    void repeatTwoTrigger();
    void repeatThreeTrigger();
    void repeatFourTrigger();
    void repeatFiveTrigger();
    void choiceTrigger(const QString &folder);
    void choiceDumpTrigger(const QString &folder);
    void setSliderValue(double value);
    void oneButtonFalse();
    void twoButtonFalse();
    void threeButtonFalse();
    void fourButtonFalse();
    void fiveButtonFalse();
    void resetButtonTrue();
    void sltNetworkError();
    void pathSaveTrigger(const QString &path);
    void playOrPauseButtonFalse();
    void playOrPauseButtonTrue();
    void setSliderVisible(bool visible);
    void setMediaObject(Phonon::MediaObject *mediaObject);
    void recordTrigger(bool checked);
    void playTrigger(bool checked);
    void playIconTrigger(bool checked);
    void trainTrigger();
    void switchStepLabel();
    void recordTimerDown();
    void recordTimerUp();
    void trainPrevTrigger();
    void switchPrevStepLabel();
    void seekValueChangedTrigger(double value);
    void loadWebList(bool checked);
    void trainInitTrigger();
    void learnAgainTrigger();
    void demonstrationTrigger();
    void backToRepeatTrigger();
    void transcripTextTrigger(bool checked);
    void translationTextTrigger(bool checked);
    void leftVideoTrigger();
    void rightVideoTrigger();
    // Ends a countdown and a running take at once: the learner has moved on to other material.
    void stopRecording();
    // A star on practice button k's caption when a take of sentence k is kept; `keptTake`
    // says which (empty: none).
    void showKeptTake(int sentence, const QString &keptTake);

signals:
    void recordBeginEnd(bool begin);
    void recordPlayPause(bool play);
    void trainNextState();
    void trainPrevState();
    void recordPrepare();
    void sixStepSpec();
    void oneSig();
    void twoSig();
    void threeSig();
    void fourSig();
    void fiveSig();
    void learnAgainSig(const QString &path);
    void repeatOneSig(const QString &folder);
    void repeatTwoSig(const QString &folder);
    void repeatThreeSig(const QString &folder);
    void repeatFourSig(const QString &folder);
    void repeatFiveSig(const QString &folder);
    void demonstrationSig();
    void seekValueChanged(double value);
    void webListLoaded(bool checked);
    void transcripTextSig(bool checked);
    void translationTextSig(bool checked);
    void textHideSig();
    void leftClick();
    void rightClick();
    // The listen button of steps 1 and 2: the model is to start (or pause).
    void listenSig();

protected:
    void paintEvent(QPaintEvent *event) override;
    void moveEvent(QMoveEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

private:
    static constexpr int sentenceCount = 5;
    static constexpr int lastStep = 6;
    using Buttons = std::array<VkButton *, sentenceCount>;
    using Labels = std::array<QLabel *, sentenceCount>;

    // The tests drive the bar through its real child widgets.
    friend class TsControlTest;

    void createButtons();
    void createLabels();
    void createActionsAndTimers();
    void connectButtons();
    VkButton *makeButton(const char *name, const QString &picture, VkImageSet (*cut)(const QPixmap &),
                         const QPoint &position);
    QLabel *makeLabel(const QString &text, const QPoint &position, int pixelSize,
                      const QColor &color);

    void showStepTexts(int step);
    void setLabelText(QLabel *label, const QString &text);
    void hidePracticeSet();
    void hideRepeatButtons();
    void hideStepLabels();
    void hideEntryButtons();
    void hideRecordAndPlay();
    void hideStepButtons();
    void resetCountdownLabel();
    void beginTake();
    void prepareSentencePlayback();
    void emitRepeat(void (TsControl::*signal)(const QString &));

    Buttons practiceButtons() const;
    Buttons repeatButtons() const;
    Labels practiceLabels() const;

    static QString stepTitle(int step);
    static QString stepHint(int step);

    QPixmap m_backgroundLeft;
    QPixmap m_backgroundMiddle;
    QPixmap m_backgroundRight;

    VkButton *btnStart = nullptr;
    VkButton *btnTranscript = nullptr;
    VkButton *btnTranslation = nullptr;
    VkButton *btnRecord = nullptr;
    VkButton *btnPlay = nullptr;
    VkButton *btnNext = nullptr;
    VkButton *btnPrevious = nullptr;
    VkButton *btnExpand = nullptr;
    VkButton *btnBack = nullptr;
    VkButton *btnPractice1 = nullptr;
    VkButton *btnPractice2 = nullptr;
    VkButton *btnPractice3 = nullptr;
    VkButton *btnPractice4 = nullptr;
    VkButton *btnPractice5 = nullptr;
    VkButton *btnLearnAgain = nullptr;
    VkButton *btnRepeat1 = nullptr;
    VkButton *btnRepeat2 = nullptr;
    VkButton *btnRepeat3 = nullptr;
    VkButton *btnRepeat4 = nullptr;
    VkButton *btnRepeat5 = nullptr;
    VkButton *btnDemonstration = nullptr;
    VkButton *btnLeft = nullptr;
    VkButton *btnRight = nullptr;
    VkButton *btnListen = nullptr;

    QLabel *lblStepTitle = nullptr;
    QLabel *lblNext = nullptr;
    QLabel *lblPrevious = nullptr;
    QLabel *lblStepHint = nullptr;
    QLabel *lblPractice1 = nullptr;
    QLabel *lblPractice2 = nullptr;
    QLabel *lblPractice3 = nullptr;
    QLabel *lblPractice4 = nullptr;
    QLabel *lblPractice5 = nullptr;
    QLabel *lblNetworkError = nullptr;
    QLabel *lblCountdown = nullptr;

    QProgressIndicator *busyIndicator = nullptr;
    QSeekSlider *seekSlider = nullptr;
    TakeControls *m_takeControls = nullptr;

    VkAction *actRecord = nullptr;
    VkAction *actPlay = nullptr;
    QTimer *recordDownTimer = nullptr;
    QTimer *recordUpTimer = nullptr;

    int m_shownStep = 1;
    int m_countdown = 2;
    int m_countup = 0;
    QString m_choicePath;
    QString m_learnAgainPath;
    QString m_repeatPath;
};
