// The main window's recording slots as the training bar drives them: the bar's countdown
// begins the recording, a second press ends it, and the sentence file plays back. Built
// twice: with the test environment's virtual microphone, and (ZORVA_NO_INPUT_DEVICE) with
// ALSA pointed at a configuration without any device.
#include "audiofixtures.h"
#include "testpaths.h"
#include "tscontrol.h"
#include "zorva.h"
#include "zorvaresources.h"

#include <QApplication>
#include <QMessageBox>
#include <QProcess>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>
#include <memory>
#include <phonon/MediaObject>

namespace {

const QString lessonPath = QStringLiteral("./workspace/lesson01.mp3");
const QString sentencePath = QStringLiteral("./workspace/train/lesson01.mp3/11.mp3");
// The bar counts down three seconds before it begins; its clock ticks once a second.
constexpr int countdownTimeoutMs = 8000;
constexpr int clockTimeoutMs = 4000;

// The window reads the installation's skin and selections list at start.
bool copyInstallationFile(const QString &relative)
{
    const QString from = TestPaths::stageDir() + QLatin1Char('/') + relative;
    if (QFileInfo(from).isFile())
        return QFile::copy(from, relative);
    if (!QDir().mkpath(relative))
        return false;
    for (const QString &entry : QDir(from).entryList(QDir::AllEntries | QDir::NoDotAndDotDot)) {
        if (!copyInstallationFile(relative + QLatin1Char('/') + entry))
            return false;
    }
    return true;
}

QList<QMessageBox *> visibleBoxes(const QWidget *window)
{
    QList<QMessageBox *> shown;
    for (QMessageBox *box : window->findChildren<QMessageBox *>()) {
        if (box->isVisible())
            shown << box;
    }
    return shown;
}

} // namespace

class TestZorvaRecording : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();
#ifndef ZORVA_NO_INPUT_DEVICE
    void recordedSentencePlaysBack();
#else
    void missingMicrophoneWarnsOnceAndStopsTheClock();
#endif

private:
    TsControl *bar() const
    {
        return m_window->findChild<TsControl *>();
    }
    // Study the lesson and go to step 1, whose sentence is 11.mp3.
    void openStepOne();

    QTemporaryDir m_fixtures;
    std::unique_ptr<QTemporaryDir> m_dir;
    QString m_previousDir;
    std::unique_ptr<Zorva> m_window;
    std::unique_ptr<QProcess> m_feed;
};

void TestZorvaRecording::initTestCase()
{
#ifndef ZORVA_NO_INPUT_DEVICE
    if (qEnvironmentVariableIsEmpty("ZORVA_TEST_ENV"))
        QSKIP("needs the virtual microphone of scripts/test-env.sh");
#endif
    zorvaInitResources();
    QApplication::setQuitOnLastWindowClosed(false);
    QVERIFY(m_fixtures.isValid());
    QVERIFY(AudioFixtures::makeToneMp3(m_fixtures.filePath(QStringLiteral("model.mp3")), 6.0, 330));
    QVERIFY(AudioFixtures::makeSpeechWav(m_fixtures.filePath(QStringLiteral("speech.wav")),
        QStringLiteral("Good interpreting starts with careful listening, sentence by sentence.")));
}

void TestZorvaRecording::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_dir->isValid());
    m_previousDir = QDir::currentPath();
    QVERIFY(QDir::setCurrent(m_dir->path()));
    QVERIFY(copyInstallationFile(QStringLiteral("weblist.xml")));
    QVERIFY(copyInstallationFile(QStringLiteral("skin")));
    QVERIFY(QDir().mkpath(QStringLiteral("workspace")));
    QVERIFY(QFile::copy(m_fixtures.filePath(QStringLiteral("model.mp3")), lessonPath));
    m_window = std::make_unique<Zorva>();
    m_window->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_window.get()));
}

void TestZorvaRecording::cleanup()
{
    if (m_feed) {
        m_feed->kill();
        m_feed->waitForFinished(5000);
        m_feed.reset();
    }
    m_window.reset();
    QDir::setCurrent(m_previousDir);
    m_dir.reset();
}

void TestZorvaRecording::openStepOne()
{
    QVERIFY(bar());
    // The window makes these three connections itself, in this order; a unique connection
    // adds none that it already has.
    connect(bar(), &TsControl::recordBeginEnd, m_window.get(), &Zorva::sltRecordBeginEnd,
        Qt::UniqueConnection);
    connect(bar(), &TsControl::recordBeginEnd, m_window.get(), &Zorva::keepRecordOrPlay,
        Qt::UniqueConnection);
    connect(bar(), &TsControl::recordBeginEnd, m_window.get(), &Zorva::sltRecordPlayPauseButton,
        Qt::UniqueConnection);
    m_window->sltSwitchWorkspace(lessonPath);
    m_window->sltNextState();
}

#ifndef ZORVA_NO_INPUT_DEVICE

void TestZorvaRecording::recordedSentencePlaysBack()
{
    openStepOne();
    QSignalSpy recording(bar(), &TsControl::recordBeginEnd);
    QSignalSpy voicePlay(m_window.get(), &Zorva::isAudioPlay);
    m_feed.reset(
        AudioFixtures::playIntoMicrophone(m_fixtures.filePath(QStringLiteral("speech.wav"))));

    bar()->recordTrigger(true);
    QTRY_COMPARE_WITH_TIMEOUT(recording.count(), 1, countdownTimeoutMs);
    QCOMPARE(recording.first().value(0).toBool(), true);
    // Beginning a recording stops any playback of a recording.
    QVERIFY(!voicePlay.isEmpty());
    QCOMPARE(voicePlay.last().value(0).toBool(), false);

    QTest::qWait(2000); // the length of the take
    bar()->recordTrigger(false);
    QTRY_COMPARE_WITH_TIMEOUT(recording.count(), 2, clockTimeoutMs);
    QCOMPARE(recording.last().value(0).toBool(), false);

    // The window's slot has joined the thread and closed the file by now.
    const double seconds = AudioFixtures::decodedSeconds(sentencePath);
    QVERIFY2(seconds > 1.5 && seconds < 4.5, qPrintable(QString::number(seconds)));
    QVERIFY(AudioFixtures::rmsAmplitude(sentencePath) > 0.03);
    QVERIFY(visibleBoxes(m_window.get()).isEmpty());

    auto *voice = m_window->findChild<Phonon::MediaObject *>(QStringLiteral("voiceObject"));
    QVERIFY(voice);
    m_window->sltRecordPlayPause(true);
    QTRY_COMPARE_WITH_TIMEOUT(voice->state(), Phonon::PlayingState, 15000);
    QVERIFY(voice->currentSource().url().toLocalFile().endsWith(QStringLiteral("/11.mp3")));
}

#else

void TestZorvaRecording::missingMicrophoneWarnsOnceAndStopsTheClock()
{
    openStepOne();
    QSignalSpy recording(bar(), &TsControl::recordBeginEnd);

    bar()->recordTrigger(true);
    QTRY_COMPARE_WITH_TIMEOUT(recording.count(), 1, countdownTimeoutMs);
    QTRY_COMPARE_WITH_TIMEOUT(visibleBoxes(m_window.get()).size(), 1, 10000);
    QMessageBox *box = visibleBoxes(m_window.get()).first();
    QCOMPARE(box->icon(), QMessageBox::Warning);
    QVERIFY2(box->text().contains(QStringLiteral("portaudio: No input device.")),
        qPrintable(box->text()));

    // Without a second press the bar ends the recording itself: its clock does not run on.
    QTRY_COMPARE_WITH_TIMEOUT(recording.count(), 2, clockTimeoutMs);
    QCOMPARE(recording.last().value(0).toBool(), false);
    QVERIFY(QFileInfo::exists(sentencePath));
    QCOMPARE(QFileInfo(sentencePath).size(), 0);

    // One box per failed recording, not one per clock tick.
    QTest::qWait(1500);
    QCOMPARE(recording.count(), 2);
    QCOMPARE(m_window->findChildren<QMessageBox *>().size(), 1);
    box->close();

    // The trainer carries on: the next attempt fails the same way, and is reported again.
    bar()->recordTrigger(true);
    QTRY_COMPARE_WITH_TIMEOUT(recording.count(), 4, countdownTimeoutMs + clockTimeoutMs);
    QTRY_COMPARE_WITH_TIMEOUT(visibleBoxes(m_window.get()).size(), 1, 5000);
}

#endif

QTEST_MAIN(TestZorvaRecording)
#include "tst_zorvarecording.moc"
