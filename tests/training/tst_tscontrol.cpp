#include "tscontrol.h"

#include "qprogressindicator.h"
#include "qseekslider.h"
#include "vkaction.h"
#include "vkbutton.h"
#include "zorvaresources.h"

#include <QElapsedTimer>
#include <QFile>
#include <QLabel>
#include <QMetaMethod>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>

#include <memory>

// Drives a real bar through clicks on its child buttons. The countdown and clock are
// advanced by firing their timers' timeout, except in the one test that lets them run
// at their real 1000 ms interval.
class TsControlTest : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void init();
    void cleanup();

    void metaObjectOrder();
    void initialState();
    void buttonGeometry_data();
    void buttonGeometry();
    void entrySet();
    void startButton();
    void stepTexts_data();
    void stepTexts();
    void nextPastLastStep();
    void previousAtFirstStep();
    void countdownInRealTime();
    void stopBeforeSecondTick();
    void stopAfterSecondTick();
    void sixthStepRestartsModel_data();
    void sixthStepRestartsModel();
    void entrySetEndsRunningRecording();
    void entrySetDuringCountdownStaysSilent();
    void stopTakenBackKeepsOneRecording();
    void nextStopsRecordingFirst();
    void chooser_data();
    void chooser();
    void repeatButtons_data();
    void repeatButtons();
    void practiceButtons_data();
    void practiceButtons();
    void practiceEnablers();
    void playButton();
    void playButtonDisabled();
    void relayButtons_data();
    void relayButtons();
    void practiceSet_data();
    void practiceSet();
    void learnAgainAndDemonstration();
    void loadingAndNetworkError();
    void backgroundEdges();

private:
    bool click(VkButton *button);
    void fireDown() { fire(m_bar->recordDownTimer); }
    void fireUp() { fire(m_bar->recordUpTimer); }
    static void fire(QTimer *timer) { QMetaObject::invokeMethod(timer, "timeout"); }
    void startRecording();
    void goToStep(int step);
    VkButton *buttonNamed(const QString &name) const;
    QList<QWidget *> visibleChildren() const;
    QList<QWidget *> widgets(std::initializer_list<QWidget *> list) const { return list; }
    static QList<bool> boolArgs(const QSignalSpy &spy);

    std::unique_ptr<TsControl> m_bar;
};

void TsControlTest::initTestCase()
{
    zorvaInitResources();
}

void TsControlTest::init()
{
    m_bar = std::make_unique<TsControl>();
    m_bar->resize(640, m_bar->height());
    m_bar->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_bar.get()));
}

void TsControlTest::cleanup()
{
    m_bar.reset();
}

bool TsControlTest::click(VkButton *button)
{
    // A learner cannot press what is hidden or disabled.
    if (!button->isVisible() || !button->isEnabled())
        return false;
    QTest::mouseClick(button, Qt::LeftButton);
    return true;
}

void TsControlTest::startRecording()
{
    QVERIFY(click(m_bar->btnRecord));
    fireDown();
    fireDown();
    fireDown();
    QVERIFY(m_bar->recordUpTimer->isActive());
}

void TsControlTest::goToStep(int step)
{
    m_bar->zeroShow();
    QVERIFY(click(m_bar->btnStart));
    for (int i = 1; i < step; ++i)
        QVERIFY(click(m_bar->btnNext));
}

VkButton *TsControlTest::buttonNamed(const QString &name) const
{
    const QHash<QString, VkButton *> buttons{
        {"start", m_bar->btnStart},           {"transcript", m_bar->btnTranscript},
        {"translation", m_bar->btnTranslation}, {"record", m_bar->btnRecord},
        {"play", m_bar->btnPlay},             {"next", m_bar->btnNext},
        {"previous", m_bar->btnPrevious},     {"expand", m_bar->btnExpand},
        {"back", m_bar->btnBack},             {"practice1", m_bar->btnPractice1},
        {"practice2", m_bar->btnPractice2},   {"practice3", m_bar->btnPractice3},
        {"practice4", m_bar->btnPractice4},   {"practice5", m_bar->btnPractice5},
        {"learnAgain", m_bar->btnLearnAgain}, {"repeat1", m_bar->btnRepeat1},
        {"repeat2", m_bar->btnRepeat2},       {"repeat3", m_bar->btnRepeat3},
        {"repeat4", m_bar->btnRepeat4},       {"repeat5", m_bar->btnRepeat5},
        {"demonstration", m_bar->btnDemonstration}, {"left", m_bar->btnLeft},
        {"right", m_bar->btnRight}};
    return buttons.value(name);
}

QList<QWidget *> TsControlTest::visibleChildren() const
{
    QList<QWidget *> visible;
    for (QWidget *child : m_bar->findChildren<QWidget *>(QString(), Qt::FindDirectChildrenOnly))
        if (child->isVisible())
            visible << child;
    std::sort(visible.begin(), visible.end());
    return visible;
}

QList<bool> TsControlTest::boolArgs(const QSignalSpy &spy)
{
    QList<bool> values;
    for (const QList<QVariant> &args : spy)
        values << args.at(0).toBool();
    return values;
}

static QList<QWidget *> sorted(QList<QWidget *> list)
{
    std::sort(list.begin(), list.end());
    return list;
}

void TsControlTest::metaObjectOrder()
{
    // The main window and the library connect by these indices' names; the order is
    // part of the bar's interface.
    const QStringList expected{
        "recordBeginEnd(bool)", "recordPlayPause(bool)", "trainNextState()",
        "trainPrevState()", "recordPrepare()", "sixStepSpec()", "oneSig()", "twoSig()",
        "threeSig()", "fourSig()", "fiveSig()", "learnAgainSig(QString)",
        "repeatOneSig(QString)", "repeatTwoSig(QString)", "repeatThreeSig(QString)",
        "repeatFourSig(QString)", "repeatFiveSig(QString)", "demonstrationSig()",
        "seekValueChanged(double)", "webListLoaded(bool)", "transcripTextSig(bool)",
        "translationTextSig(bool)", "textHideSig()", "leftClick()", "rightClick()",
        "hideTrigger()", "showTrigger()", "zeroShow()", "endShow()", "beginShow()",
        "downloadShow()", "oneTrigger()", "twoTrigger()", "threeTrigger()", "fourTrigger()",
        "fiveTrigger()", "repeatOneTrigger()", "repeatTwoTrigger()", "repeatThreeTrigger()",
        "repeatFourTrigger()", "repeatFiveTrigger()", "choiceTrigger(QString)",
        "choiceDumpTrigger(QString)", "setSliderValue(double)", "oneButtonFalse()",
        "twoButtonFalse()", "threeButtonFalse()", "fourButtonFalse()", "fiveButtonFalse()",
        "resetButtonTrue()", "sltNetworkError()", "pathSaveTrigger(QString)",
        "playOrPauseButtonFalse()", "playOrPauseButtonTrue()", "setSliderVisible(bool)",
        "setMediaObject(Phonon::MediaObject*)", "recordTrigger(bool)", "playTrigger(bool)",
        "playIconTrigger(bool)", "trainTrigger()", "switchStepLabel()", "recordTimerDown()",
        "recordTimerUp()", "trainPrevTrigger()", "switchPrevStepLabel()",
        "seekValueChangedTrigger(double)", "loadWebList(bool)", "trainInitTrigger()",
        "learnAgainTrigger()", "demonstrationTrigger()", "backToRepeatTrigger()",
        "transcripTextTrigger(bool)", "translationTextTrigger(bool)", "leftVideoTrigger()",
        "rightVideoTrigger()"};
    const QMetaObject &meta = TsControl::staticMetaObject;
    QStringList actual;
    for (int i = meta.methodOffset(); i < meta.methodCount(); ++i)
        actual << QString::fromLatin1(meta.method(i).methodSignature());
    QCOMPARE(actual, expected);
    for (int i = 0; i < 25; ++i)
        QCOMPARE(meta.method(meta.methodOffset() + i).methodType(), QMetaMethod::Signal);
}

void TsControlTest::initialState()
{
    QCOMPARE(m_bar->height(), 85);
    QCOMPARE(m_bar->minimumHeight(), 85);
    QCOMPARE(m_bar->maximumHeight(), 85);
    QVERIFY(m_bar->windowFlags().testFlag(Qt::Tool));
    QVERIFY(m_bar->testAttribute(Qt::WA_TranslucentBackground));
    QCOMPARE(visibleChildren(), sorted(widgets({m_bar->btnExpand, m_bar->btnLeft,
                                                m_bar->btnRight, m_bar->busyIndicator})));
    QVERIFY(!m_bar->busyIndicator->isAnimated());
    QVERIFY(m_bar->actRecord->isCheckable() && m_bar->actPlay->isCheckable());
    QVERIFY(m_bar->actions().contains(m_bar->actRecord));
    QVERIFY(m_bar->actions().contains(m_bar->actPlay));
    QCOMPARE(m_bar->recordDownTimer->interval(), 1000);
    QCOMPARE(m_bar->recordUpTimer->interval(), 1000);
    QVERIFY(!m_bar->recordDownTimer->isSingleShot() && !m_bar->recordUpTimer->isSingleShot());
    QCOMPARE(m_bar->seekSlider->width(), 450);
    QCOMPARE(m_bar->seekSlider->pos(), QPoint(100, 21));
    QCOMPARE(m_bar->busyIndicator->pos(), QPoint(300, 20));
    QCOMPARE(m_bar->lblCountdown->text(), QStringLiteral("00:03"));
    QCOMPARE(m_bar->lblCountdown->font().pixelSize(), 20);
    QCOMPARE(m_bar->lblStepHint->palette().color(QPalette::WindowText), QColor(Qt::gray));
    QCOMPARE(m_bar->lblNext->palette().color(QPalette::WindowText), QColor(Qt::white));
    QCOMPARE(m_bar->lblNext->font().pixelSize(), 12);
    QCOMPARE(m_bar->lblNext->indent(), 4);
}

void TsControlTest::buttonGeometry_data()
{
    QTest::addColumn<QString>("button");
    QTest::addColumn<QRect>("geometry");
    // Sizes follow from each picture and the way it is cut: whole, one of four bands, or
    // one band of one half.
    QTest::newRow("start") << "start" << QRect(35, 15, 97, 41);
    QTest::newRow("transcript") << "transcript" << QRect(175, 15, 89, 44);
    QTest::newRow("translation") << "translation" << QRect(310, 15, 93, 44);
    QTest::newRow("record") << "record" << QRect(10, 10, 30, 30);
    QTest::newRow("play") << "play" << QRect(60, 10, 30, 30);
    QTest::newRow("next") << "next" << QRect(600, 40, 30, 30);
    QTest::newRow("previous") << "previous" << QRect(550, 40, 30, 30);
    QTest::newRow("expand, band rounded down") << "expand" << QRect(600, 0, 15, 28);
    QTest::newRow("back, band rounded down") << "back" << QRect(10, 0, 17, 27);
    QTest::newRow("practice1") << "practice1" << QRect(28, 30, 32, 32);
    QTest::newRow("practice5") << "practice5" << QRect(428, 30, 32, 32);
    QTest::newRow("learnAgain") << "learnAgain" << QRect(528, 30, 98, 44);
    QTest::newRow("repeat1") << "repeat1" << QRect(28, 30, 32, 32);
    QTest::newRow("repeat3") << "repeat3" << QRect(228, 30, 32, 32);
    QTest::newRow("demonstration") << "demonstration" << QRect(528, 30, 98, 42);
    QTest::newRow("left") << "left" << QRect(100, 10, 178, 50);
    QTest::newRow("right") << "right" << QRect(400, 10, 126, 50);
}

void TsControlTest::buttonGeometry()
{
    QFETCH(QString, button);
    QFETCH(QRect, geometry);
    VkButton *widget = buttonNamed(button);
    QVERIFY(widget);
    QCOMPARE(widget->geometry(), geometry);
    QCOMPARE(widget->minimumSize(), geometry.size());
    QCOMPARE(widget->maximumSize(), geometry.size());
}

void TsControlTest::entrySet()
{
    m_bar->beginShow();
    m_bar->choiceTrigger(QString());
    m_bar->zeroShow();
    QCOMPARE(visibleChildren(),
             sorted(widgets({m_bar->btnStart, m_bar->btnTranscript, m_bar->btnTranslation,
                             m_bar->btnDemonstration, m_bar->btnExpand,
                             m_bar->busyIndicator})));
    QCOMPARE(m_bar->btnDemonstration->pos(), QPoint(450, 15));
    m_bar->choiceTrigger(QString());
    QCOMPARE(m_bar->btnDemonstration->pos(), QPoint(528, 30));
}

void TsControlTest::startButton()
{
    m_bar->zeroShow();
    QStringList log;
    connect(m_bar.get(), &TsControl::trainNextState, this, [&] { log << "next"; });
    connect(m_bar.get(), &TsControl::textHideSig, this, [&] { log << "hide"; });
    QVERIFY(click(m_bar->btnStart));
    QCOMPARE(log, QStringList({"next", "hide"}));
    QCOMPARE(m_bar->m_shownStep, 1);
    QCOMPARE(visibleChildren(),
             sorted(widgets({m_bar->lblStepTitle, m_bar->lblStepHint, m_bar->btnRecord,
                             m_bar->btnPlay, m_bar->btnNext, m_bar->lblNext,
                             m_bar->btnExpand, m_bar->busyIndicator})));
}

void TsControlTest::stepTexts_data()
{
    QTest::addColumn<int>("step");
    QTest::addColumn<QString>("title");
    QTest::addColumn<QString>("hint");
    QTest::newRow("1") << 1 << QString::fromUtf8("源语复述")
                       << QString::fromUtf8("请在听完一遍录音后用源语复述\n录下你的声音");
    QTest::newRow("2") << 2 << QString::fromUtf8("译入语交替传译练习")
                       << QString::fromUtf8("请再听一遍录音并做下笔记\n然后用译入语复述原文内容");
    QTest::newRow("3") << 3 << QString::fromUtf8("精听")
                       << QString::fromUtf8("反复听原文录音\n必要的地方可以做一些记录, 不超过十遍");
    QTest::newRow("4") << 4 << QString::fromUtf8("听力文本视译练习")
                       << QString::fromUtf8("通读文本，准备20秒到30秒左右，进行一边看文本一边说一边录音的"
                                            "练习\n注意自己的语音语气，力求准确清楚");
    QTest::newRow("5") << 5 << QString::fromUtf8("源语复述")
                       << QString::fromUtf8("尽可能多的结合视译和以前源语复述中的信息\n尽量完整的进行细节"
                                            "性的复述");
    QTest::newRow("6") << 6 << QString::fromUtf8("同声传译训练")
                       << QString::fromUtf8("要求：short，simple and complete, make sense, be natural\n"
                                            "在播放的同时做同传练习并录音");
}

void TsControlTest::stepTexts()
{
    QFETCH(int, step);
    QFETCH(QString, title);
    QFETCH(QString, hint);
    goToStep(step);
    QCOMPARE(m_bar->m_shownStep, step);
    QCOMPARE(m_bar->lblStepTitle->text(), title);
    QCOMPARE(m_bar->lblStepHint->text(), hint);
    QVERIFY(m_bar->lblStepTitle->isVisible() && m_bar->lblStepHint->isVisible());
    // The whole hint must fit: labels have no layout to grow them.
    QVERIFY(m_bar->lblStepHint->width() >= m_bar->lblStepHint->sizeHint().width());
    QVERIFY(m_bar->lblStepHint->height() >= m_bar->lblStepHint->sizeHint().height());
    const bool previousShown = step >= 2;
    QCOMPARE(m_bar->btnPrevious->isVisible(), previousShown);
    QCOMPARE(m_bar->lblPrevious->isVisible(), previousShown);

    // Coming back from the step after gives the same texts.
    if (step < 6) {
        QVERIFY(click(m_bar->btnNext));
        QVERIFY(click(m_bar->btnPrevious));
        QCOMPARE(m_bar->lblStepTitle->text(), title);
        QCOMPARE(m_bar->lblStepHint->text(), hint);
        QVERIFY(m_bar->lblStepTitle->isVisible() && m_bar->lblStepHint->isVisible());
    }
}

void TsControlTest::nextPastLastStep()
{
    QSignalSpy next(m_bar.get(), &TsControl::trainNextState);
    goToStep(1);
    for (int i = 0; i < 6; ++i)
        QVERIFY(click(m_bar->btnNext));
    QCOMPARE(next.count(), 7);
    QCOMPARE(m_bar->m_shownStep, 7);
    QVERIFY(!m_bar->lblStepTitle->isVisible());
    QVERIFY(!m_bar->lblStepHint->isVisible());

    QVERIFY(click(m_bar->btnPrevious));
    QCOMPARE(m_bar->m_shownStep, 6);
    QCOMPARE(m_bar->lblStepTitle->text(), QString::fromUtf8("同声传译训练"));
    QVERIFY(m_bar->lblStepTitle->isVisible() && m_bar->lblStepHint->isVisible());
}

void TsControlTest::previousAtFirstStep()
{
    goToStep(2);
    QSignalSpy prev(m_bar.get(), &TsControl::trainPrevState);
    QVERIFY(click(m_bar->btnPrevious));
    QCOMPARE(m_bar->m_shownStep, 1);
    QVERIFY(!m_bar->btnPrevious->isVisible());
    QVERIFY(!m_bar->lblPrevious->isVisible());

    // The learner cannot press the hidden button; the main window's slot path can.
    m_bar->trainPrevTrigger();
    m_bar->switchPrevStepLabel();
    QCOMPARE(prev.count(), 2);
    QCOMPARE(m_bar->m_shownStep, 1);
    QCOMPARE(m_bar->lblStepTitle->text(), QString::fromUtf8("源语复述"));
    QCOMPARE(visibleChildren(),
             sorted(widgets({m_bar->lblStepTitle, m_bar->lblStepHint, m_bar->btnRecord,
                             m_bar->btnPlay, m_bar->btnNext, m_bar->lblNext,
                             m_bar->btnExpand, m_bar->busyIndicator})));
}

void TsControlTest::countdownInRealTime()
{
    goToStep(1);
    QStringList shown;
    connect(m_bar->recordDownTimer, &QTimer::timeout, this,
            [&] { shown << m_bar->lblCountdown->text(); });
    QSignalSpy prepare(m_bar.get(), &TsControl::recordPrepare);
    QSignalSpy record(m_bar.get(), &TsControl::recordBeginEnd);
    QElapsedTimer clock;
    clock.start();
    QVERIFY(click(m_bar->btnRecord));
    QCOMPARE(prepare.count(), 1);
    QVERIFY(m_bar->lblCountdown->isVisible());
    QCOMPARE(m_bar->lblCountdown->text(), QStringLiteral("00:03"));

    QVERIFY(record.wait(15000));
    // Three ticks of one second each; the lower bound allows the coarse timer's slack.
    QVERIFY2(clock.elapsed() >= 2700, qPrintable(QString::number(clock.elapsed())));
    QCOMPARE(shown, QStringList({"00:02", "00:01", "start"}));
    QCOMPARE(boolArgs(record), QList<bool>{true});

    QTRY_COMPARE_WITH_TIMEOUT(m_bar->lblCountdown->text(), QStringLiteral("00:00"), 10000);
    QTRY_COMPARE_WITH_TIMEOUT(m_bar->lblCountdown->text(), QStringLiteral("00:01"), 10000);

    QVERIFY(click(m_bar->btnRecord));
    QVERIFY(record.wait(15000));
    QCOMPARE(boolArgs(record), QList<bool>({true, false}));
    QCOMPARE(m_bar->lblCountdown->text(), QStringLiteral("00:03"));
    QTRY_VERIFY_WITH_TIMEOUT(!m_bar->recordDownTimer->isActive(), 5000);
    QVERIFY(!m_bar->lblCountdown->isVisible());
    QVERIFY(!m_bar->recordUpTimer->isActive());
}

void TsControlTest::stopBeforeSecondTick()
{
    goToStep(1);
    QSignalSpy record(m_bar.get(), &TsControl::recordBeginEnd);
    QSignalSpy prepare(m_bar.get(), &TsControl::recordPrepare);
    QVERIFY(click(m_bar->btnRecord));
    fireDown();
    QCOMPARE(m_bar->lblCountdown->text(), QStringLiteral("00:02"));
    QVERIFY(click(m_bar->btnRecord));
    QVERIFY(!m_bar->actRecord->isChecked());
    QCOMPARE(prepare.count(), 2);
    fireDown();
    QCOMPARE(record.count(), 0);
    QVERIFY(!m_bar->lblCountdown->isVisible());
    QCOMPARE(m_bar->lblCountdown->text(), QStringLiteral("00:03"));
    QVERIFY(!m_bar->recordDownTimer->isActive());

    // The next recording counts down the full three seconds again.
    QVERIFY(click(m_bar->btnRecord));
    fireDown();
    fireDown();
    QCOMPARE(record.count(), 0);
    fireDown();
    QCOMPARE(boolArgs(record), QList<bool>{true});
}

void TsControlTest::stopAfterSecondTick()
{
    goToStep(1);
    QSignalSpy record(m_bar.get(), &TsControl::recordBeginEnd);
    QVERIFY(click(m_bar->btnRecord));
    fireDown();
    fireDown();
    QCOMPARE(m_bar->lblCountdown->text(), QStringLiteral("00:01"));
    QVERIFY(click(m_bar->btnRecord));
    fireDown();
    QCOMPARE(boolArgs(record), QList<bool>{true});
    QVERIFY(!m_bar->lblCountdown->isVisible());
    QVERIFY(!m_bar->recordDownTimer->isActive());
    QVERIFY(m_bar->recordUpTimer->isActive());
    fireUp();
    QCOMPARE(boolArgs(record), QList<bool>({true, false}));
    QVERIFY(!m_bar->recordUpTimer->isActive());
    QCOMPARE(m_bar->m_countup, 0);
}

void TsControlTest::sixthStepRestartsModel_data()
{
    QTest::addColumn<int>("step");
    for (int step = 1; step <= 6; ++step)
        QTest::addRow("step %d", step) << step;
}

void TsControlTest::sixthStepRestartsModel()
{
    QFETCH(int, step);
    goToStep(step);
    QStringList log;
    connect(m_bar.get(), &TsControl::recordBeginEnd, this,
            [&](bool begin) { log << (begin ? "begin" : "end"); });
    connect(m_bar.get(), &TsControl::sixStepSpec, this, [&] { log << "six"; });
    startRecording();
    const QStringList expected = step == 6 ? QStringList{"begin", "six"} : QStringList{"begin"};
    QCOMPARE(log, expected);
}

void TsControlTest::entrySetEndsRunningRecording()
{
    // Switching material while recording: the recorder must still be told to stop,
    // or it would go on writing the file with nobody left to end it.
    goToStep(2);
    QSignalSpy record(m_bar.get(), &TsControl::recordBeginEnd);
    startRecording();
    fireUp();
    m_bar->zeroShow();
    QCOMPARE(boolArgs(record), QList<bool>({true, false}));
    QVERIFY(!m_bar->actRecord->isChecked());
    QVERIFY(!m_bar->recordDownTimer->isActive() && !m_bar->recordUpTimer->isActive());
    QCOMPARE(m_bar->m_countup, 0);
    QCOMPARE(m_bar->lblCountdown->text(), QStringLiteral("00:03"));
    QVERIFY(!m_bar->lblCountdown->isVisible());
}

void TsControlTest::entrySetDuringCountdownStaysSilent()
{
    goToStep(1);
    QSignalSpy record(m_bar.get(), &TsControl::recordBeginEnd);
    QVERIFY(click(m_bar->btnRecord));
    fireDown();
    fireDown();
    m_bar->zeroShow();
    QVERIFY(!m_bar->actRecord->isChecked());
    QVERIFY(!m_bar->recordDownTimer->isActive());
    QCOMPARE(m_bar->m_countdown, 2);
    QCOMPARE(record.count(), 0);
}

void TsControlTest::stopTakenBackKeepsOneRecording()
{
    // Two quick presses during a recording restart the countdown; its end must not
    // begin a second recording over the file being written.
    goToStep(1);
    QSignalSpy record(m_bar.get(), &TsControl::recordBeginEnd);
    startRecording();
    QVERIFY(click(m_bar->btnRecord));
    QVERIFY(click(m_bar->btnRecord));
    for (int i = 0; i < 4; ++i) {
        fireDown();
        fireUp();
    }
    QCOMPARE(boolArgs(record), QList<bool>{true});
    QVERIFY(m_bar->recordUpTimer->isActive());
    QCOMPARE(m_bar->lblCountdown->text(), QStringLiteral("00:03"));

    QVERIFY(click(m_bar->btnRecord));
    fireDown();
    fireUp();
    QCOMPARE(boolArgs(record), QList<bool>({true, false}));
}

void TsControlTest::nextStopsRecordingFirst()
{
    goToStep(1);
    startRecording();
    QStringList log;
    connect(m_bar.get(), &TsControl::recordPrepare, this, [&] { log << "prepare"; });
    connect(m_bar.get(), &TsControl::trainNextState, this, [&] { log << "next"; });
    connect(m_bar.get(), &TsControl::recordPlayPause, this,
            [&](bool play) { log << (play ? "play" : "pause"); });
    connect(m_bar.get(), &TsControl::recordBeginEnd, this,
            [&](bool begin) { log << (begin ? "begin" : "end"); });
    QVERIFY(click(m_bar->btnNext));
    QVERIFY(!m_bar->actRecord->isChecked());
    QCOMPARE(m_bar->m_shownStep, 2);
    fireUp();
    QCOMPARE(log, QStringList({"prepare", "next", "pause", "end"}));
}

void TsControlTest::chooser_data()
{
    QTest::addColumn<QStringList>("files");
    QTest::addColumn<bool>("folderExists");
    QTest::addColumn<int>("enabled");
    QTest::newRow("last file 3.txt") << QStringList{"11.mp3", "12.mp3", "3.txt"} << true << 3;
    QTest::newRow("10 11 12 read by first digit")
        << QStringList{"10.mp3", "11.mp3", "12.mp3"} << true << 1;
    QTest::newRow("all five") << QStringList{"11.mp3", "55.mp3"} << true << 5;
    QTest::newRow("empty folder") << QStringList() << true << 0;
    QTest::newRow("missing folder") << QStringList() << false << 0;
}

void TsControlTest::chooser()
{
    QFETCH(QStringList, files);
    QFETCH(bool, folderExists);
    QFETCH(int, enabled);
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString folder = dir.filePath(folderExists ? "train/lesson.mp3/" : "none/");
    if (folderExists)
        QVERIFY(QDir().mkpath(folder));
    for (const QString &name : files) {
        QFile file(folder + name);
        QVERIFY(file.open(QIODevice::WriteOnly));
    }
    // Start from a state where every repeat button is enabled.
    m_bar->choiceTrigger(QString());
    for (VkButton *button : m_bar->repeatButtons())
        button->setEnabled(true);
    goToStep(3);

    m_bar->choiceTrigger(folder);
    QCOMPARE(visibleChildren(),
             sorted(widgets({m_bar->btnRepeat1, m_bar->btnRepeat2, m_bar->btnRepeat3,
                             m_bar->btnRepeat4, m_bar->btnRepeat5, m_bar->btnDemonstration,
                             m_bar->btnExpand, m_bar->busyIndicator})));
    const TsControl::Buttons repeats = m_bar->repeatButtons();
    for (int i = 0; i < 5; ++i)
        QCOMPARE(repeats[static_cast<std::size_t>(i)]->isEnabled(), i < enabled);
}

void TsControlTest::repeatButtons_data()
{
    QTest::addColumn<int>("repeat");
    for (int repeat = 1; repeat <= 5; ++repeat)
        QTest::addRow("repeat %d", repeat) << repeat;
}

void TsControlTest::repeatButtons()
{
    QFETCH(int, repeat);
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString folder = dir.path() + "/";
    QFile last(folder + "51.mp3");
    QVERIFY(last.open(QIODevice::WriteOnly));
    m_bar->choiceDumpTrigger(QStringLiteral("./elsewhere/"));
    m_bar->choiceTrigger(folder);

    const QByteArray signal = QByteArray("2repeat")
                              + QList<QByteArray>{"One", "Two", "Three", "Four", "Five"}
                                    .at(repeat - 1)
                              + "Sig(QString)";
    QSignalSpy spy(m_bar.get(), signal.constData());
    QVERIFY(spy.isValid());
    QSignalSpy any(m_bar.get(), &TsControl::repeatOneSig);
    QVERIFY(click(m_bar->repeatButtons()[static_cast<std::size_t>(repeat - 1)]));
    QCOMPARE(spy.count(), 1);
    QCOMPARE(spy.at(0).at(0).toString(), folder);
    if (repeat != 1)
        QCOMPARE(any.count(), 0);
    QCOMPARE(visibleChildren(),
             sorted(widgets({m_bar->btnPractice1, m_bar->btnPractice2, m_bar->btnPractice3,
                             m_bar->btnPractice4, m_bar->btnPractice5, m_bar->lblPractice1,
                             m_bar->lblPractice2, m_bar->lblPractice3, m_bar->lblPractice4,
                             m_bar->lblPractice5, m_bar->btnLearnAgain, m_bar->btnBack,
                             m_bar->btnExpand, m_bar->busyIndicator})));

    // Back returns to the chooser of the folder last chosen.
    QVERIFY(click(m_bar->btnBack));
    QVERIFY(m_bar->btnRepeat5->isVisible() && m_bar->btnRepeat5->isEnabled());
    QVERIFY(!m_bar->btnBack->isVisible());
    QCOMPARE(m_bar->m_choicePath, folder);
}

void TsControlTest::practiceButtons_data()
{
    QTest::addColumn<int>("sentence");
    for (int sentence = 1; sentence <= 5; ++sentence)
        QTest::addRow("sentence %d", sentence) << sentence;
}

void TsControlTest::practiceButtons()
{
    QFETCH(int, sentence);
    m_bar->endShow();
    QVERIFY(click(m_bar->btnPlay) == false); // hidden in the practice set until chosen
    m_bar->playIconTrigger(true);
    QList<QSignalSpy *> spies;
    for (const char *signal : {"2oneSig()", "2twoSig()", "2threeSig()", "2fourSig()", "2fiveSig()"})
        spies << new QSignalSpy(m_bar.get(), signal);
    QVERIFY(click(m_bar->practiceButtons()[static_cast<std::size_t>(sentence - 1)]));
    for (int i = 0; i < 5; ++i)
        QCOMPARE(spies.at(i)->count(), i == sentence - 1 ? 1 : 0);
    qDeleteAll(spies);
    QVERIFY(!m_bar->actPlay->isChecked());
    QVERIFY(m_bar->seekSlider->isVisible());
    QVERIFY(m_bar->btnPlay->isVisible());
}

void TsControlTest::practiceEnablers()
{
    m_bar->endShow();
    const char *disablers[] = {"oneButtonFalse", "twoButtonFalse", "threeButtonFalse",
                               "fourButtonFalse", "fiveButtonFalse"};
    const TsControl::Buttons buttons = m_bar->practiceButtons();
    for (int i = 0; i < 5; ++i) {
        QVERIFY(QMetaObject::invokeMethod(m_bar.get(), disablers[i]));
        for (int j = 0; j < 5; ++j)
            QCOMPARE(buttons[static_cast<std::size_t>(j)]->isEnabled(), j > i);
    }
    QSignalSpy one(m_bar.get(), &TsControl::oneSig);
    QVERIFY(!click(m_bar->btnPractice1));
    QTest::mouseClick(m_bar->btnPractice1, Qt::LeftButton);
    QCOMPARE(one.count(), 0);
    m_bar->resetButtonTrue();
    for (VkButton *button : buttons)
        QVERIFY(button->isEnabled());
}

void TsControlTest::playButton()
{
    goToStep(1);
    QSignalSpy play(m_bar.get(), &TsControl::recordPlayPause);
    QVERIFY(click(m_bar->btnPlay));
    QVERIFY(m_bar->actPlay->isChecked());
    QVERIFY(m_bar->seekSlider->isVisible());
    QVERIFY(click(m_bar->btnPlay));
    QCOMPARE(boolArgs(play), QList<bool>({true, false}));
    QVERIFY(!m_bar->seekSlider->isVisible());

    // Playback started by the main window changes only the look.
    m_bar->playIconTrigger(true);
    QVERIFY(m_bar->actPlay->isChecked());
    QCOMPARE(play.count(), 2);
    QVERIFY(click(m_bar->btnPlay));
    QCOMPARE(boolArgs(play).last(), false);

    // Recording hides the slider of a sentence being played.
    QVERIFY(click(m_bar->btnPlay));
    QVERIFY(m_bar->seekSlider->isVisible());
    QVERIFY(click(m_bar->btnRecord));
    QVERIFY(!m_bar->seekSlider->isVisible());
}

void TsControlTest::playButtonDisabled()
{
    goToStep(1);
    QSignalSpy play(m_bar.get(), &TsControl::recordPlayPause);
    m_bar->playOrPauseButtonFalse();
    QVERIFY(!m_bar->btnPlay->isEnabled());
    QTest::mouseClick(m_bar->btnPlay, Qt::LeftButton);
    QCOMPARE(play.count(), 0);
    m_bar->playOrPauseButtonTrue();
    QVERIFY(click(m_bar->btnPlay));
    QCOMPARE(play.count(), 1);
}

void TsControlTest::relayButtons_data()
{
    QTest::addColumn<QString>("setUp");
    QTest::addColumn<QString>("button");
    QTest::addColumn<QByteArray>("signal");
    QTest::addColumn<bool>("hasArgument");
    // Image buttons are not checkable, so a relayed click always carries false.
    QTest::newRow("transcript") << "zeroShow" << "transcript" << QByteArray("2transcripTextSig(bool)")
                                << true;
    QTest::newRow("translation") << "zeroShow" << "translation"
                                 << QByteArray("2translationTextSig(bool)") << true;
    QTest::newRow("expand") << "zeroShow" << "expand" << QByteArray("2webListLoaded(bool)")
                            << true;
    QTest::newRow("left") << "" << "left" << QByteArray("2leftClick()") << false;
    QTest::newRow("right") << "" << "right" << QByteArray("2rightClick()") << false;
}

void TsControlTest::relayButtons()
{
    QFETCH(QString, setUp);
    QFETCH(QString, button);
    QFETCH(QByteArray, signal);
    QFETCH(bool, hasArgument);
    if (!setUp.isEmpty())
        QVERIFY(QMetaObject::invokeMethod(m_bar.get(), setUp.toLatin1().constData()));
    QSignalSpy spy(m_bar.get(), signal.constData());
    QVERIFY(spy.isValid());
    QVERIFY(click(buttonNamed(button)));
    QCOMPARE(spy.count(), 1);
    if (hasArgument)
        QCOMPARE(spy.at(0).at(0).toBool(), false);
}

void TsControlTest::practiceSet_data()
{
    QTest::addColumn<int>("fromStep");
    QTest::newRow("after the six steps") << 7;
    QTest::newRow("from within a step") << 2;
}

void TsControlTest::practiceSet()
{
    QFETCH(int, fromStep);
    goToStep(fromStep);
    QVERIFY(click(m_bar->btnPlay));
    m_bar->endShow();
    QCOMPARE(visibleChildren(),
             sorted(widgets({m_bar->btnPractice1, m_bar->btnPractice2, m_bar->btnPractice3,
                             m_bar->btnPractice4, m_bar->btnPractice5, m_bar->lblPractice1,
                             m_bar->lblPractice2, m_bar->lblPractice3, m_bar->lblPractice4,
                             m_bar->lblPractice5, m_bar->btnLearnAgain, m_bar->btnExpand,
                             m_bar->busyIndicator})));
}

void TsControlTest::learnAgainAndDemonstration()
{
    const QString path = QStringLiteral("./workspace/lesson01.mp3");
    m_bar->pathSaveTrigger(path);
    m_bar->zeroShow();
    QSignalSpy demonstration(m_bar.get(), &TsControl::demonstrationSig);
    QVERIFY(click(m_bar->btnDemonstration));
    QCOMPARE(demonstration.count(), 1);
    QVERIFY(!m_bar->btnStart->isVisible() && !m_bar->btnDemonstration->isVisible());
    QVERIFY(m_bar->btnPractice3->isVisible() && m_bar->lblPractice3->isVisible());

    QSignalSpy learnAgain(m_bar.get(), &TsControl::learnAgainSig);
    QVERIFY(click(m_bar->btnLearnAgain));
    QCOMPARE(learnAgain.count(), 1);
    QCOMPARE(learnAgain.at(0).at(0).toString(), path);
}

void TsControlTest::loadingAndNetworkError()
{
    // The video buttons and the expand button keep whatever visibility they had.
    m_bar->downloadShow();
    QVERIFY(m_bar->busyIndicator->isAnimated());
    QCOMPARE(visibleChildren(), sorted(widgets({m_bar->btnExpand, m_bar->btnLeft,
                                                m_bar->btnRight, m_bar->busyIndicator})));
    goToStep(2);
    QVERIFY(click(m_bar->btnPlay));
    m_bar->downloadShow();
    QCOMPARE(visibleChildren(), sorted(widgets({m_bar->btnExpand, m_bar->seekSlider,
                                                m_bar->busyIndicator})));
    m_bar->sltNetworkError();
    QVERIFY(!m_bar->busyIndicator->isAnimated());
    QVERIFY(m_bar->lblNetworkError->isVisible());
    QCOMPARE(m_bar->lblNetworkError->text(),
             QString::fromUtf8("无法获取资源文件，请检查网络连接！"));
    // Choosing a material while the list loads stops the spinner.
    m_bar->downloadShow();
    m_bar->choiceTrigger(QString());
    QVERIFY(!m_bar->busyIndicator->isAnimated());
    m_bar->zeroShow();
    QVERIFY(!m_bar->lblNetworkError->isVisible());
}

// Premultiplied rendering may round translucent pixels by a step or two.
static bool sameColour(QRgb a, QRgb b)
{
    const auto near = [](int x, int y) { return qAbs(x - y) <= 3; };
    return near(qRed(a), qRed(b)) && near(qGreen(a), qGreen(b)) && near(qBlue(a), qBlue(b))
           && near(qAlpha(a), qAlpha(b));
}

void TsControlTest::backgroundEdges()
{
    // The left and right pictures sit at the two ends whatever the width; the middle one
    // fills the gap between them.
    const auto picture = [](const char *name) {
        return QImage(QStringLiteral(":/Control/") + QLatin1String(name))
            .convertToFormat(QImage::Format_ARGB32);
    };
    const QImage left = picture("bg-float-control-left.png");
    const QImage middle = picture("bg-float-control.png");
    const QImage right = picture("bg-float-control-right.png");
    QVERIFY(!left.isNull() && !middle.isNull() && !right.isNull());
    for (int width : {640, 777}) {
        m_bar->zeroShow();
        m_bar->hide();
        for (QWidget *child : m_bar->findChildren<QWidget *>())
            child->hide();
        m_bar->resize(width, 85);
        const QImage shot = m_bar->grab().toImage().convertToFormat(QImage::Format_ARGB32);
        QCOMPARE(shot.size(), QSize(width, 85));
        for (int y : {5, 42, 80}) {
            QVERIFY(sameColour(shot.pixel(3, y), left.pixel(3, y)));
            QVERIFY(sameColour(shot.pixel(width - 3, y), right.pixel(right.width() - 3, y)));
            QVERIFY(sameColour(shot.pixel(width / 2, y),
                               middle.pixel((width / 2 - left.width()) % middle.width(), y)));
        }
    }
}

QTEST_MAIN(TsControlTest)
#include "tst_tscontrol.moc"
