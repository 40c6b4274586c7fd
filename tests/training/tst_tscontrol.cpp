#include "tscontrol.h"

#include "qprogressindicator.h"
#include "qseekslider.h"
#include "vkaction.h"
#include "vkbutton.h"
#include "zorvaresources.h"

#include <QElapsedTimer>
#include <QFile>
#include <QLabel>
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
    void initTestCase() { zorvaInitResources(); }
    void init();
    void cleanup() { m_bar.reset(); }

    void buttonsAreCutFromTheirPictures();
    void buttonSets_data();
    void buttonSets();
    void startAndSteps();
    void countdownInRealTime();
    void stopDuringCountdown_data();
    void stopDuringCountdown();
    void sixStepSpecOnlyInStepSix();
    void entrySetDuringRecording_data();
    void entrySetDuringRecording();
    void stopTakenBackKeepsOneRecording();
    void nextStopsRecordingFirst();
    void chooser_data();
    void chooser();
    void repeatAndPractice();
    void playButton();

private:
    bool click(VkButton *button);
    void fire(QTimer *timer) { QMetaObject::invokeMethod(timer, "timeout"); }
    void goToStep(int step);
    QStringList visibleChildren() const;
    static QList<bool> boolArgs(const QSignalSpy &spy);

    std::unique_ptr<TsControl> m_bar;
};

void TsControlTest::init()
{
    m_bar = std::make_unique<TsControl>();
    m_bar->resize(640, m_bar->height());
    m_bar->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_bar.get()));
}

// A learner cannot press what is hidden or disabled.
bool TsControlTest::click(VkButton *button)
{
    if (!button->isVisible() || !button->isEnabled())
        return false;
    QTest::mouseClick(button, Qt::LeftButton);
    return true;
}

void TsControlTest::goToStep(int step)
{
    m_bar->zeroShow();
    QVERIFY(click(m_bar->btnStart));
    for (int i = 1; i < step; ++i)
        QVERIFY(click(m_bar->btnNext));
}

// Names of the shown children, sorted; the five practice captions count as one entry.
QStringList TsControlTest::visibleChildren() const
{
    const TsControl &b = *m_bar;
    const QHash<QString, QWidget *> children = {{"start", b.btnStart},
        {"transcript", b.btnTranscript}, {"translation", b.btnTranslation},
        {"record", b.btnRecord}, {"play", b.btnPlay}, {"next", b.btnNext},
        {"previous", b.btnPrevious}, {"expand", b.btnExpand}, {"back", b.btnBack},
        {"practice1", b.btnPractice1}, {"practice2", b.btnPractice2},
        {"practice3", b.btnPractice3}, {"practice4", b.btnPractice4},
        {"practice5", b.btnPractice5}, {"learnAgain", b.btnLearnAgain},
        {"repeat1", b.btnRepeat1}, {"repeat2", b.btnRepeat2}, {"repeat3", b.btnRepeat3},
        {"repeat4", b.btnRepeat4}, {"repeat5", b.btnRepeat5},
        {"demonstration", b.btnDemonstration}, {"left", b.btnLeft}, {"right", b.btnRight},
        {"title", b.lblStepTitle}, {"hint", b.lblStepHint}, {"nextText", b.lblNext},
        {"previousText", b.lblPrevious}, {"networkError", b.lblNetworkError},
        {"countdown", b.lblCountdown}, {"busy", b.busyIndicator}, {"slider", b.seekSlider}};
    QStringList shown;
    for (auto it = children.cbegin(); it != children.cend(); ++it)
        if (it.value()->isVisible())
            shown << it.key();
    int captions = 0;
    for (QLabel *label : b.practiceLabels())
        captions += label->isVisible() ? 1 : 0;
    if (captions > 0)
        shown << (captions == 5 ? QStringLiteral("captions") : QStringLiteral("some captions"));
    shown.sort();
    return shown;
}

QList<bool> TsControlTest::boolArgs(const QSignalSpy &spy)
{
    QList<bool> values;
    for (const QList<QVariant> &args : spy)
        values << args.at(0).toBool();
    return values;
}

// The size shows how each picture was cut: whole, one band of one half, or one of four
// bands (rounded down).
void TsControlTest::buttonsAreCutFromTheirPictures()
{
    QCOMPARE(m_bar->btnStart->geometry(), QRect(35, 15, 97, 41));
    QCOMPARE(m_bar->btnRecord->geometry(), QRect(10, 10, 30, 30));
    QCOMPARE(m_bar->btnExpand->geometry(), QRect(600, 0, 15, 28));
    QCOMPARE(m_bar->btnExpand->maximumSize(), QSize(15, 28));
}

void TsControlTest::buttonSets_data()
{
    QTest::addColumn<QString>("calls");
    QTest::addColumn<QString>("shown");
    const QString step1 = "record play next title hint nextText expand busy";
    QTest::newRow("initial") << "" << "expand left right busy";
    QTest::newRow("entry") << "zeroShow beginShow switchStepLabel zeroShow"
                           << "start transcript translation demonstration expand busy";
    QTest::newRow("step 1") << "zeroShow beginShow" << step1;
    QTest::newRow("step 2") << "zeroShow beginShow switchStepLabel"
                            << step1 + " previous previousText";
    QTest::newRow("previous at step 1 re-runs it")
        << "zeroShow beginShow switchPrevStepLabel" << step1;
    QTest::newRow("practice")
        << "zeroShow beginShow switchStepLabel endShow"
        << "practice1 practice2 practice3 practice4 practice5 learnAgain captions expand busy";
    QTest::newRow("loading keeps video buttons") << "downloadShow" << "expand left right busy";
    QTest::newRow("network error") << "zeroShow downloadShow sltNetworkError"
                                   << "expand networkError busy";
}

void TsControlTest::buttonSets()
{
    QFETCH(QString, calls);
    QFETCH(QString, shown);
    for (const QString &slot : calls.split(' ', Qt::SkipEmptyParts))
        QVERIFY(QMetaObject::invokeMethod(m_bar.get(), slot.toLatin1().constData()));
    QStringList expected = shown.split(' ');
    expected.sort();
    QCOMPARE(visibleChildren(), expected);
    QCOMPARE(m_bar->busyIndicator->isAnimated(), calls.endsWith("downloadShow"));
}

void TsControlTest::startAndSteps()
{
    m_bar->zeroShow();
    QStringList log;
    connect(m_bar.get(), &TsControl::trainNextState, this, [&] { log << "next"; });
    connect(m_bar.get(), &TsControl::trainPrevState, this, [&] { log << "prev"; });
    connect(m_bar.get(), &TsControl::textHideSig, this, [&] { log << "hide"; });
    QVERIFY(click(m_bar->btnStart));
    QCOMPARE(log, QStringList({"next", "hide"}));
    QCOMPARE(m_bar->lblStepTitle->text(), QString::fromUtf8("源语复述"));
    // Labels have no layout to grow them: the whole two-line hint must fit.
    QCOMPARE(m_bar->lblStepHint->size(), m_bar->lblStepHint->sizeHint());
    // Next six times from step 1 reaches step 7, where the labels go.
    for (int i = 0; i < 6; ++i)
        QVERIFY(click(m_bar->btnNext));
    QVERIFY(!m_bar->lblStepTitle->isVisible() && !m_bar->lblStepHint->isVisible());
    QVERIFY(click(m_bar->btnPrevious));
    QCOMPARE(m_bar->lblStepTitle->text(), QString::fromUtf8("同声传译训练"));
    QVERIFY(m_bar->lblStepHint->isVisible());
    QCOMPARE(log.count("next"), 7);
    QCOMPARE(log.last(), QStringLiteral("prev"));
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
    QCOMPARE(m_bar->lblCountdown->text(), QStringLiteral("00:03"));

    QVERIFY(record.wait(15000));
    // Three ticks of one second; the lower bound leaves room for the coarse timer's slack.
    QVERIFY(clock.elapsed() >= 2700);
    QCOMPARE(shown, QStringList({"00:02", "00:01", "start"}));
    QCOMPARE(boolArgs(record), QList<bool>{true});
    QTRY_COMPARE_WITH_TIMEOUT(m_bar->lblCountdown->text(), QStringLiteral("00:01"), 10000);

    QVERIFY(click(m_bar->btnRecord));
    QVERIFY(record.wait(15000));
    QCOMPARE(boolArgs(record), QList<bool>({true, false}));
    QTRY_VERIFY_WITH_TIMEOUT(!m_bar->lblCountdown->isVisible(), 5000);
    QCOMPARE(m_bar->lblCountdown->text(), QStringLiteral("00:03"));
}

void TsControlTest::stopDuringCountdown_data()
{
    QTest::addColumn<int>("ticksBeforeStop");
    QTest::addColumn<QList<bool>>("recorded");
    QTest::newRow("before the second tick") << 1 << QList<bool>();
    // A countdown released in its last second never starts a take.
    QTest::newRow("after the second tick") << 2 << QList<bool>();
}

void TsControlTest::stopDuringCountdown()
{
    QFETCH(int, ticksBeforeStop);
    QFETCH(QList<bool>, recorded);
    goToStep(1);
    QSignalSpy record(m_bar.get(), &TsControl::recordBeginEnd);
    QVERIFY(click(m_bar->btnRecord));
    for (int tick = 0; tick < ticksBeforeStop; ++tick)
        fire(m_bar->recordDownTimer);
    QVERIFY(click(m_bar->btnRecord));
    fire(m_bar->recordDownTimer);
    QVERIFY(!m_bar->lblCountdown->isVisible());
    if (m_bar->recordUpTimer->isActive())
        fire(m_bar->recordUpTimer);
    QCOMPARE(boolArgs(record), recorded);
    // The next recording counts the full three seconds again.
    QVERIFY(click(m_bar->btnRecord));
    fire(m_bar->recordDownTimer);
    fire(m_bar->recordDownTimer);
    QCOMPARE(record.count(), recorded.size());
    fire(m_bar->recordDownTimer);
    QCOMPARE(boolArgs(record).last(), true);
}

void TsControlTest::sixStepSpecOnlyInStepSix()
{
    QSignalSpy spec(m_bar.get(), &TsControl::sixStepSpec);
    for (int step : {5, 6}) {
        goToStep(step);
        QVERIFY(click(m_bar->btnRecord));
        for (int tick = 0; tick < 3; ++tick)
            fire(m_bar->recordDownTimer);
        QCOMPARE(spec.count(), step == 6 ? 1 : 0);
    }
}

void TsControlTest::entrySetDuringRecording_data()
{
    QTest::addColumn<int>("ticks");
    QTest::addColumn<QList<bool>>("recorded");
    QTest::newRow("counting down: nothing to end") << 2 << QList<bool>();
    // Switching material while recording must still stop the recorder, or it would
    // go on writing the file with nobody left to end it.
    QTest::newRow("recording: ended") << 4 << QList<bool>({true, false});
}

void TsControlTest::entrySetDuringRecording()
{
    QFETCH(int, ticks);
    QFETCH(QList<bool>, recorded);
    goToStep(2);
    QSignalSpy record(m_bar.get(), &TsControl::recordBeginEnd);
    QVERIFY(click(m_bar->btnRecord));
    for (int tick = 0; tick < ticks; ++tick)
        fire(tick < 3 ? m_bar->recordDownTimer : m_bar->recordUpTimer);
    m_bar->zeroShow();
    QCOMPARE(boolArgs(record), recorded);
    QVERIFY(!m_bar->actRecord->isChecked());
    QVERIFY(!m_bar->recordDownTimer->isActive() && !m_bar->recordUpTimer->isActive());
    QCOMPARE(m_bar->m_countdown, 2);
}

// Two quick presses during a recording restart the countdown; its end must not begin a
// second recording over the file being written.
void TsControlTest::stopTakenBackKeepsOneRecording()
{
    goToStep(1);
    QSignalSpy record(m_bar.get(), &TsControl::recordBeginEnd);
    QVERIFY(click(m_bar->btnRecord));
    for (int tick = 0; tick < 3; ++tick)
        fire(m_bar->recordDownTimer);
    QVERIFY(click(m_bar->btnRecord));
    QVERIFY(click(m_bar->btnRecord));
    for (int i = 0; i < 4; ++i) {
        fire(m_bar->recordDownTimer);
        fire(m_bar->recordUpTimer);
    }
    QCOMPARE(boolArgs(record), QList<bool>{true});
    QVERIFY(click(m_bar->btnRecord));
    fire(m_bar->recordUpTimer);
    QCOMPARE(boolArgs(record), QList<bool>({true, false}));
}

void TsControlTest::nextStopsRecordingFirst()
{
    goToStep(1);
    QVERIFY(click(m_bar->btnRecord));
    for (int tick = 0; tick < 3; ++tick)
        fire(m_bar->recordDownTimer);
    QStringList log;
    connect(m_bar.get(), &TsControl::recordPrepare, this, [&] { log << "prepare"; });
    connect(m_bar.get(), &TsControl::trainNextState, this, [&] { log << "next"; });
    connect(m_bar.get(), &TsControl::recordPlayPause, this, [&] { log << "pause"; });
    connect(m_bar.get(), &TsControl::recordBeginEnd, this, [&] { log << "end"; });
    QVERIFY(click(m_bar->btnNext));
    fire(m_bar->recordUpTimer);
    QCOMPARE(log, QStringList({"prepare", "next", "pause", "end"}));
}

void TsControlTest::chooser_data()
{
    QTest::addColumn<QStringList>("files");
    QTest::addColumn<bool>("folderExists");
    QTest::addColumn<int>("enabled");
    QTest::newRow("last file 3.txt") << QStringList{"11.mp3", "12.mp3", "3.txt"} << true << 3;
    QTest::newRow("10 11 12: first digit") << QStringList{"10.mp3", "11.mp3", "12.mp3"} << true
                                           << 1;
    QTest::newRow("empty folder") << QStringList() << true << 0;
    QTest::newRow("missing folder") << QStringList() << false << 0;
}

void TsControlTest::chooser()
{
    QFETCH(QStringList, files);
    QFETCH(bool, folderExists);
    QFETCH(int, enabled);
    QTemporaryDir dir;
    const QString folder = dir.filePath(folderExists ? "train/lesson.mp3/" : "none/");
    QVERIFY(!folderExists || QDir().mkpath(folder));
    for (const QString &name : files)
        QVERIFY(QFile(folder + name).open(QIODevice::WriteOnly));
    for (VkButton *button : m_bar->repeatButtons())
        button->setEnabled(true);
    goToStep(3);
    m_bar->choiceTrigger(folder);
    QCOMPARE(visibleChildren().join(' '),
             "busy demonstration expand repeat1 repeat2 repeat3 repeat4 repeat5");
    for (int i = 0; i < 5; ++i)
        QCOMPARE(m_bar->repeatButtons()[static_cast<std::size_t>(i)]->isEnabled(), i < enabled);
}

void TsControlTest::repeatAndPractice()
{
    QTemporaryDir dir;
    const QString folder = dir.path() + "/";
    QVERIFY(QFile(folder + "51.mp3").open(QIODevice::WriteOnly));
    m_bar->choiceTrigger(folder);
    QSignalSpy repeat(m_bar.get(), &TsControl::repeatFiveSig);
    QVERIFY(click(m_bar->btnRepeat5));
    QCOMPARE(repeat.count(), 1);
    QCOMPARE(repeat.at(0).at(0).toString(), folder);
    // Each practice button plays its sentence and leaves the play button unchecked.
    QSignalSpy three(m_bar.get(), &TsControl::threeSig);
    m_bar->playIconTrigger(true);
    QVERIFY(click(m_bar->btnPractice3));
    QCOMPARE(three.count(), 1);
    QVERIFY(!m_bar->actPlay->isChecked());
    QVERIFY(m_bar->seekSlider->isVisible() && m_bar->btnPlay->isVisible());
    // A missing recording disables its button until the next reset.
    m_bar->threeButtonFalse();
    QVERIFY(!click(m_bar->btnPractice3) && click(m_bar->btnPractice4));
    m_bar->resetButtonTrue();
    QVERIFY(click(m_bar->btnPractice3));
    // Back returns to the chooser of the folder last chosen.
    QVERIFY(click(m_bar->btnBack));
    QVERIFY(m_bar->btnRepeat5->isVisible() && m_bar->btnRepeat5->isEnabled());
}

void TsControlTest::playButton()
{
    goToStep(1);
    QSignalSpy play(m_bar.get(), &TsControl::recordPlayPause);
    QVERIFY(click(m_bar->btnPlay));
    QVERIFY(m_bar->seekSlider->isVisible());
    QVERIFY(click(m_bar->btnPlay));
    QVERIFY(!m_bar->seekSlider->isVisible());
    // Playback changed by the main window changes only the look.
    m_bar->playIconTrigger(true);
    QVERIFY(m_bar->actPlay->isChecked());
    m_bar->playOrPauseButtonFalse();
    QVERIFY(!click(m_bar->btnPlay));
    m_bar->playOrPauseButtonTrue();
    QVERIFY(click(m_bar->btnPlay));
    QCOMPARE(boolArgs(play), QList<bool>({true, false, false}));
}

QTEST_MAIN(TsControlTest)
#include "tst_tscontrol.moc"
