// Real capture from the test environment's virtual microphone through PortAudio, encoded by
// LAME and checked with a real decoder (sox).
#include "audiofixtures.h"
#include "decoder.h"
#include "parecthread.h"
#include "recordingcontrol.h"
#include "takefigures.h"

#include <QtTest>
#include <cmath>
#include <csignal>
#include <portaudio.h>
#include <sys/resource.h>
#include <unistd.h>

#ifndef __has_feature
#define __has_feature(feature) 0
#endif

namespace {

// AddressSanitizer keeps freed memory in quarantine, so resident size says nothing there.
constexpr bool kAddressSanitizer = __has_feature(address_sanitizer);

// Turned down so that after the trainer's gain the tone stays below full scale.
constexpr double kTonePeak = 0.5 * 0.15;

int entryCount(const char *folder)
{
    return QDir(QLatin1String(folder)).entryList(QDir::AllEntries | QDir::NoDotAndDotDot).size();
}

qint64 residentKb()
{
    QFile status(QStringLiteral("/proc/self/status"));
    const QByteArray text = status.open(QIODevice::ReadOnly) ? status.readAll() : QByteArray();
    return text.mid(text.indexOf("VmRSS:") + 6, 20).simplified().split(' ').value(0).toLongLong();
}

double seconds(const char *file)
{
    return AudioFixtures::decodedSeconds(QLatin1String(file));
}

} // namespace

class TestRecorder : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void takeCarriesTheToneAndReplacesTheLast();
    void takeDecodesInStepWithItsCapture();
    void pausesOfASpokenTake();
    void stopBeforeTheThreadRunsEndsAfterOneBlock();
    void diskFullAtTheCloseKeepsTheEarlierTake();
    void takesLeaveNoResourcesBehind();

private:
    void record(const char *file, int milliseconds, const QString &feed = QStringLiteral("440.wav"));

    QTemporaryDir m_dir;
    PaRecThread m_thread;
    QScopedPointer<QProcess> m_feed;
};

void TestRecorder::initTestCase()
{
    if (qEnvironmentVariableIsEmpty("ZORVA_TEST_ENV"))
        QSKIP("needs the virtual microphone of scripts/test-env.sh");
    QVERIFY(QDir::setCurrent(m_dir.path()));
    QVERIFY(AudioFixtures::makeToneWav(QStringLiteral("440.wav"), 8, 440, kTonePeak));
    QVERIFY(AudioFixtures::makeToneWav(QStringLiteral("1000.wav"), 8, 1000, kTonePeak));
}

// A take of the tone as long as the wait.
void TestRecorder::record(const char *file, int milliseconds, const QString &feed)
{
    m_feed.reset(AudioFixtures::playIntoMicrophone(feed));
    SentenceTake take;
    QVERIFY(take.begin(m_thread, QLatin1String(file)));
    QTest::qWait(milliseconds);
    QCOMPARE(take.end(), QString());
    m_feed->kill();
    m_feed->waitForFinished();
}

// The take holds the tone at the level the gain gives it, and a second, shorter take of the
// same sentence replaces the first entirely. What the audio libraries print while PortAudio
// probes them never reaches the terminal.
void TestRecorder::takeCarriesTheToneAndReplacesTheLast()
{
    QTemporaryFile terminal;
    const int standardError = dup(2);
    QVERIFY(terminal.open() && dup2(terminal.handle(), 2) == 2);
    record("sentence.mp3", 3000);
    QVERIFY(dup2(standardError, 2) == 2 && close(standardError) == 0);
    QFile printed(terminal.fileName());
    QVERIFY(printed.open(QIODevice::ReadOnly));
    QCOMPARE(printed.readAll(), QByteArray());
    QVERIFY(qAbs(seconds("sentence.mp3") - 3.0) < 0.4);
    // A sine's RMS is its peak over root 2; the recorder multiplies by gain / 32768.
    const double expectedRms = kTonePeak * kRecordGain / 32768.0 / std::sqrt(2.0);
    const double rms = AudioFixtures::rmsAmplitude(QStringLiteral("sentence.mp3"));
    QVERIFY2(qAbs(rms - expectedRms) < expectedRms * 0.2, qPrintable(QString::number(rms)));
    QVERIFY(qAbs(AudioFixtures::frequencyBetween(QStringLiteral("sentence.mp3"), 1.0, 1.5) - 440.0) < 13.0);
    record("sentence.mp3", 1200, QStringLiteral("1000.wav"));
    QVERIFY(qAbs(seconds("sentence.mp3") - 1.2) < 0.4);
    QVERIFY(qAbs(AudioFixtures::frequencyBetween(QStringLiteral("sentence.mp3"), 0.5, 0.5) - 1000.0) < 30.0);
}

// The recorder writes LAME's tag frame, so decoders skip the encoder's delay and a tone that
// began one second into the capture is heard one second into the take, not 51 ms later.
void TestRecorder::takeDecodesInStepWithItsCapture()
{
    FILE *file = std::fopen("tagged.mp3", "wb");
    Recorder recorder;
    QVERIFY(recorder.open(file, Recorder::kDefaultGain));
    std::vector<float> block(2 * Recorder::kFramesPerBlock);
    for (int first = 0; first < 2 * Recorder::kSampleRate; first += int(Recorder::kFramesPerBlock)) {
        for (size_t i = 0; i < block.size(); ++i) {
            const int t = first + int(i / 2) - Recorder::kSampleRate;
            block[i] = t < 0 ? 0.0f : 0.5f * float(std::sin(2 * M_PI * 1000 * t / Recorder::kSampleRate));
        }
        Recorder::onAudio(block.data(), nullptr, Recorder::kFramesPerBlock, nullptr, 0, &recorder);
    }
    QVERIFY(recorder.finish());
    std::fclose(file);
    audio::PcmBuffer pcm;
    QVERIFY(audio::decodeFile(QStringLiteral("tagged.mp3"), {}, &pcm).ok);
    const auto loud = std::find_if(pcm.samples.begin(), pcm.samples.end(), [](float s) { return std::fabs(s) > 0.25f; });
    const double onset = double((loud - pcm.samples.begin()) / 2) / Recorder::kSampleRate;
    QVERIFY2(qAbs(onset - 1.0) < 0.003, qPrintable(QString::number(onset)));
}

// Speech with pauses of 0.6, 1.2 and 2.0 s, spoken into the microphone: three long pauses,
// the longest 2.0 s.
void TestRecorder::pausesOfASpokenTake()
{
    QVERIFY(AudioFixtures::makeSpeechWav(QStringLiteral("pauses-full.wav"),
        QStringLiteral("<speak>Good morning everyone<break time=\"600ms\"/>today we talk about the climate"
                       "<break time=\"1200ms\"/>and about the money for it<break time=\"2000ms\"/>thank you</speak>")));
    QVERIFY(AudioFixtures::sox(QStringLiteral("pauses-full.wav pauses.wav vol 0.2")));
    record("pauses.mp3", 9000, QStringLiteral("pauses.wav"));
    const TakeMeasure::TakeMeasurement take = TakeMeasure::measureTake(QStringLiteral("pauses.mp3"));
    QVERIFY(take.ok && !take.figures.silent);
    QCOMPARE(take.figures.pauseCount, 3);
    QVERIFY2(qAbs(take.figures.longestPauseMs - 2000) <= 100, qPrintable(QString::number(take.figures.longestPauseMs)));
}

// A stop that reaches the thread before it has set up the capture ends the take after one
// block instead of being forgotten (which would leave the joining thread waiting).
void TestRecorder::stopBeforeTheThreadRunsEndsAfterOneBlock()
{
    FILE *file = std::fopen("short.mp3", "wb+");
    m_thread.setFile(file);
    m_thread.stop();
    m_thread.start();
    const bool ended = m_thread.wait(10000);
    std::fclose(file);
    QVERIFY(ended && seconds("short.mp3") < 0.3);
}

// A disk that fills as the last blocks are written: the take's close fails, which is told, and
// the learner's earlier recording stays as it was.
void TestRecorder::diskFullAtTheCloseKeepsTheEarlierTake()
{
    QFile earlier(QStringLiteral("earlier.mp3"));
    QVERIFY(earlier.open(QIODevice::WriteOnly) && earlier.write("earlier") == 7);
    earlier.close();
    std::signal(SIGXFSZ, SIG_IGN);
    SentenceTake take;
    QVERIFY(take.begin(m_thread, earlier.fileName()));
    rlimit limit{0, RLIM_INFINITY};
    QCOMPARE(setrlimit(RLIMIT_FSIZE, &limit), 0);
    const QString failure = take.end(); // a block and the flush, still in the file's buffer
    limit.rlim_cur = RLIM_INFINITY;
    QCOMPARE(setrlimit(RLIMIT_FSIZE, &limit), 0);
    QCOMPARE(failure, QStringLiteral("file write failed: the recording is incomplete."));
    QVERIFY(earlier.open(QIODevice::ReadOnly) && earlier.readAll() == "earlier");
}

void TestRecorder::takesLeaveNoResourcesBehind()
{
    FILE *file = std::fopen("twice.mp3", "wb");
    Recorder twice; // a second set-up without a close releases the first
    QVERIFY(twice.open(file, kRecordGain) && twice.open(file, kRecordGain));
    twice.close();
    QCOMPARE(Pa_GetDeviceCount(), paNotInitialized);
    std::fclose(file);

    for (int i = 0; i < 3; ++i) // the first takes load ALSA's plugins and settle the allocator
        record("many.mp3", 0);
    const int handles = entryCount("/proc/self/fd");
    const int threads = entryCount("/proc/self/task");
    const qint64 resident = residentKb();
    for (int i = 0; i < 50 && !QTest::currentTestFailed(); ++i) {
        record("many.mp3", 0);
        QCOMPARE(Pa_GetDeviceCount(), paNotInitialized); // each take terminates what it initialised
    }
    QCOMPARE(entryCount("/proc/self/fd"), handles);
    QTRY_VERIFY(entryCount("/proc/self/task") <= threads); // a joined thread lingers a moment in /proc
    // Fifty lost encoders and buffers would be well over 10 MB (under AddressSanitizer its leak
    // checker stands in for this).
    QVERIFY2(kAddressSanitizer || residentKb() - resident < 4096, qPrintable(QString::number(residentKb() - resident)));
}

QTEST_GUILESS_MAIN(TestRecorder)
#include "tst_recorder.moc"
