// Real capture from the test environment's virtual microphone through PortAudio, encoded by
// LAME and checked with a real decoder (sox) and Phonon.
#include "audiofixtures.h"
#include "parecthread.h"
#include "recorder.h"
#include "recordingcontrol.h"
#include "recordingprobe.h"

#include <QFileInfo>
#include <QProcess>
#include <QScopedPointer>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QVector>
#include <QtTest>
#include <cmath>
#include <phonon/AudioOutput>
#include <phonon/MediaObject>
#include <phonon/MediaSource>
#include <portaudio.h>

namespace {

enum class Feed { Silence, Tone440, Tone1000, Speech };

// A take of the given length (real time: the recording is as long as the wait) into path.
void recordTake(PaRecThread &thread, const QString &path, int milliseconds)
{
    FILE *file = nullptr;
    QVERIFY(beginRecording(thread, path, file));
    QTest::qWait(milliseconds);
    endRecording(thread, file);
    QVERIFY(!file);
}

// sox cuts a stretch out of the decoded take, away from the take's start and end.
double frequencyBetween(const QString &wav, double from, double length)
{
    QTemporaryDir tmp;
    const QString cut = tmp.filePath(QStringLiteral("cut.wav"));
    QProcess sox;
    sox.start(QStringLiteral("sox"),
        { wav, cut, QStringLiteral("trim"), QString::number(from), QString::number(length) });
    if (!sox.waitForFinished(30000) || sox.exitCode() != 0)
        return -1;
    return AudioFixtures::dominantFrequency(cut);
}

// Peak amplitude of the microphone feed: makeToneWav's 0.5 turned down by sox.
constexpr double kQuietToneVolume = 0.15;
constexpr double kQuietTonePeak = 0.5 * kQuietToneVolume;

bool makeQuietTone(const QString &wavPath, int frequency)
{
    const QString loud = QStringLiteral("loud-") + wavPath;
    if (!AudioFixtures::makeToneWav(loud, 8, frequency))
        return false;
    QProcess sox;
    sox.start(QStringLiteral("sox"),
        { loud, wavPath, QStringLiteral("vol"), QString::number(kQuietToneVolume) });
    return sox.waitForFinished(30000) && sox.exitCode() == 0;
}

bool portAudioInitialized()
{
    return Pa_GetDeviceCount() != paNotInitialized;
}

} // namespace

Q_DECLARE_METATYPE(Feed)

class TestRecorder : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void splitStereoScalesAndDeinterleaves_data();
    void splitStereoScalesAndDeinterleaves();
    void takeCarriesTheMicrophoneSignal_data();
    void takeCarriesTheMicrophoneSignal();
    void takeWithinOneBlockIsValidMp3_data();
    void takeWithinOneBlockIsValidMp3();
    void secondTakeReplacesTheFirst();
    void fileIsCompleteAndPlayableWhenStopReturns();
    void fullDiskIsReported();
    void stalledMicrophoneStillStops();
    void fiftyTakesLeaveNoResourcesBehind();

private:
    QProcess *startFeed(Feed feed);

    QTemporaryDir m_dir;
    QScopedPointer<QProcess> m_feed;
};

void TestRecorder::initTestCase()
{
    if (qEnvironmentVariableIsEmpty("ZORVA_TEST_ENV"))
        QSKIP("needs the virtual microphone of scripts/test-env.sh");
    QVERIFY(m_dir.isValid());
    QDir::setCurrent(m_dir.path());
    // Quiet tones: after the trainer's gain they stay below full scale, where a clipped
    // square wave's ringing would disturb the frequency count.
    QVERIFY(makeQuietTone(QStringLiteral("tone440.wav"), 440));
    QVERIFY(makeQuietTone(QStringLiteral("tone1000.wav"), 1000));
    QVERIFY(AudioFixtures::makeSpeechWav(QStringLiteral("speech.wav"),
        QStringLiteral("Interpreting is a skill that grows with practice, every single day.")));
}

void TestRecorder::init()
{
    if (m_feed) {
        m_feed->kill();
        m_feed->waitForFinished(5000);
        m_feed.reset();
    }
}

QProcess *TestRecorder::startFeed(Feed feed)
{
    static const char *const files[] = { nullptr, "tone440.wav", "tone1000.wav", "speech.wav" };
    const char *file = files[static_cast<int>(feed)];
    if (!file)
        return nullptr;
    m_feed.reset(AudioFixtures::playIntoMicrophone(QString::fromLatin1(file)));
    return m_feed.data();
}

void TestRecorder::splitStereoScalesAndDeinterleaves_data()
{
    QTest::addColumn<QVector<float>>("interleaved");
    QTest::addColumn<float>("gain");
    QTest::addColumn<QVector<float>>("left");
    QTest::addColumn<QVector<float>>("right");

    QTest::newRow("unit gain") << QVector<float> { 0.5f, -0.25f, 1.0f, 0.0f } << 1.0f
                               << QVector<float> { 0.5f, 1.0f } << QVector<float> { -0.25f, 0.0f };
    // Full scale input times the trainer's gain lands far outside the 16-bit range: kept, not
    // wrapped.
    QTest::newRow("record gain") << QVector<float> { 1.0f, -1.0f } << kRecordGain
                                 << QVector<float> { kRecordGain }
                                 << QVector<float> { -kRecordGain };
    QTest::newRow("missing input is silence")
        << QVector<float> {} << kRecordGain << QVector<float> { 0.0f, 0.0f, 0.0f }
        << QVector<float> { 0.0f, 0.0f, 0.0f };
}

void TestRecorder::splitStereoScalesAndDeinterleaves()
{
    QFETCH(QVector<float>, interleaved);
    QFETCH(float, gain);
    QFETCH(QVector<float>, left);
    QFETCH(QVector<float>, right);

    QVector<float> gotLeft(left.size(), 7.0f);
    QVector<float> gotRight(right.size(), 7.0f);
    splitStereo(interleaved.isEmpty() ? nullptr : interleaved.data(),
        static_cast<unsigned long>(left.size()), gain, gotLeft.data(), gotRight.data());
    QCOMPARE(gotLeft, left);
    QCOMPARE(gotRight, right);
}

void TestRecorder::takeCarriesTheMicrophoneSignal_data()
{
    QTest::addColumn<Feed>("feed");
    QTest::addColumn<double>("frequency"); // 0: not a tone
    QTest::addColumn<double>("minRms");
    QTest::addColumn<double>("maxRms");

    // A sine's RMS is its peak over root 2; the recorder multiplies by gain / 32768.
    const double toneRms = kQuietTonePeak * kRecordGain / 32768.0 / std::sqrt(2.0);
    QTest::newRow("tone 440 Hz") << Feed::Tone440 << 440.0 << toneRms * 0.8 << toneRms * 1.2;
    QTest::newRow("tone 1000 Hz") << Feed::Tone1000 << 1000.0 << toneRms * 0.8 << toneRms * 1.2;
    // Catches a lost gain too: unscaled float samples encode as near silence.
    QTest::newRow("speech") << Feed::Speech << 0.0 << 0.03 << 1.0;
    // The feed-free take proves the other rows measure the feed, not the recorder's noise.
    QTest::newRow("silence") << Feed::Silence << 0.0 << 0.0 << 0.002;
}

void TestRecorder::takeCarriesTheMicrophoneSignal()
{
    QFETCH(Feed, feed);
    QFETCH(double, frequency);
    QFETCH(double, minRms);
    QFETCH(double, maxRms);

    if (QProcess *player = startFeed(feed))
        QVERIFY(player->state() == QProcess::Running);
    PaRecThread thread;
    const QString take = QStringLiteral("take.mp3");
    recordTake(thread, take, 3000);

    QVERIFY(RecordingProbe::startsWithMp3Frame(take));
    const double seconds = AudioFixtures::decodedSeconds(take);
    QVERIFY2(qAbs(seconds - 3.0) < 0.4, qPrintable(QString::number(seconds)));
    const QString wav = QStringLiteral("take.wav");
    QVERIFY(AudioFixtures::decodeToWav(take, wav));
    const double rms = AudioFixtures::rmsAmplitude(wav);
    QVERIFY2(rms >= minRms && rms <= maxRms, qPrintable(QString::number(rms)));
    if (frequency > 0) {
        const double measured = frequencyBetween(wav, 1.0, 1.5);
        QVERIFY2(
            qAbs(measured - frequency) < frequency * 0.03, qPrintable(QString::number(measured)));
    }
}

void TestRecorder::takeWithinOneBlockIsValidMp3_data()
{
    QTest::addColumn<bool>("stopBeforeStart");
    // A stop that reaches the thread before it has set up the capture must still end the
    // take after one block, not be forgotten (which would leave the joining thread waiting).
    QTest::newRow("stop before the thread runs") << true;
    QTest::newRow("stop right after start") << false;
}

void TestRecorder::takeWithinOneBlockIsValidMp3()
{
    QFETCH(bool, stopBeforeStart);

    startFeed(Feed::Tone440);
    const QString take = QStringLiteral("short.mp3");
    FILE *file = std::fopen("short.mp3", "wb+");
    QVERIFY(file);
    PaRecThread thread;
    QSignalSpy failures(&thread, &PaRecThread::recordFailed);
    thread.setFile(file);
    thread.setGain(kRecordGain);
    if (stopBeforeStart)
        thread.stop();
    thread.start();
    if (!stopBeforeStart)
        thread.stop();
    const bool ended = thread.wait(10000);
    if (!ended) {
        thread.stop();
        thread.wait();
    }
    std::fclose(file);
    QVERIFY(ended);
    QCOMPARE(failures.count(), 0);

    QVERIFY(RecordingProbe::startsWithMp3Frame(take));
    const double seconds = AudioFixtures::decodedSeconds(take);
    // One block plus the encoder's flushed frames: a few hundredths of a second.
    QVERIFY2(seconds > 0.0 && seconds < 0.3, qPrintable(QString::number(seconds)));
    QVERIFY(!portAudioInitialized());
}

void TestRecorder::secondTakeReplacesTheFirst()
{
    PaRecThread thread;
    const QString take = QStringLiteral("sentence.mp3");
    startFeed(Feed::Tone440);
    recordTake(thread, take, 3000);
    const qint64 firstSize = QFileInfo(take).size();

    startFeed(Feed::Tone1000);
    recordTake(thread, take, 1200);
    QVERIFY(QFileInfo(take).size() < firstSize);
    const double seconds = AudioFixtures::decodedSeconds(take);
    QVERIFY2(qAbs(seconds - 1.2) < 0.4, qPrintable(QString::number(seconds)));
    const QString wav = QStringLiteral("sentence.wav");
    QVERIFY(AudioFixtures::decodeToWav(take, wav));
    const double measured = frequencyBetween(wav, 0.5, 0.5);
    QVERIFY2(qAbs(measured - 1000.0) < 30.0, qPrintable(QString::number(measured)));
}

void TestRecorder::fileIsCompleteAndPlayableWhenStopReturns()
{
    startFeed(Feed::Speech);
    PaRecThread thread;
    const QString take = QStringLiteral("playable.mp3");
    FILE *file = nullptr;
    QVERIFY(beginRecording(thread, take, file));
    QTest::qWait(2000);
    endRecording(thread, file);

    QVERIFY(!file);
    QVERIFY(thread.isFinished());
    // Nothing is left to arrive: the size is final and a decoder reads the whole take.
    const qint64 size = QFileInfo(take).size();
    QVERIFY(size > 0);
    QVERIFY(AudioFixtures::decodedSeconds(take) > 1.6);
    QCOMPARE(QFileInfo(take).size(), size);

    Phonon::MediaObject player;
    Phonon::AudioOutput output(Phonon::MusicCategory);
    Phonon::createPath(&player, &output);
    QSignalSpy finished(&player, &Phonon::MediaObject::finished);
    player.setCurrentSource(
        Phonon::MediaSource(QUrl::fromLocalFile(QFileInfo(take).absoluteFilePath())));
    player.play();
    QTRY_COMPARE_WITH_TIMEOUT(player.state(), Phonon::PlayingState, 15000);
    // The backend learns the length while it starts playing, and forgets it at the end.
    QTRY_VERIFY_WITH_TIMEOUT(player.totalTime() > 0, 5000);
    const qint64 length = player.totalTime();
    QVERIFY2(length > 1500 && length < 3000, qPrintable(QString::number(length)));
    QVERIFY(finished.wait(15000));
    QCOMPARE(player.state(), Phonon::StoppedState);
}

void TestRecorder::fullDiskIsReported()
{
    // /dev/full takes the file's first buffer and refuses the rest, as a full disk would.
    startFeed(Feed::Speech);
    PaRecThread thread;
    QSignalSpy failures(&thread, &PaRecThread::recordFailed);
    FILE *file = nullptr;
    QVERIFY(beginRecording(thread, QStringLiteral("/dev/full"), file));
    QTest::qWait(1500);
    endRecording(thread, file);
    QTRY_COMPARE(failures.count(), 1);
    QCOMPARE(failures.first().value(0).toString(),
        QStringLiteral("file write failed: the recording is incomplete."));
}

namespace {

// Suspending the sound server's micfeed sink starves the capture: PortAudio's callback is
// no longer called, as with a device that hangs. Resumed whatever happens in the test.
struct SuspendedMicrophone
{
    static bool suspend(bool on)
    {
        return QProcess::execute(QStringLiteral("pactl"),
                   { QStringLiteral("suspend-sink"), QStringLiteral("micfeed"),
                       on ? QStringLiteral("1") : QStringLiteral("0") })
            == 0;
    }
    bool suspended = suspend(true);
    ~SuspendedMicrophone() { suspend(false); }
};

} // namespace

void TestRecorder::stalledMicrophoneStillStops()
{
    startFeed(Feed::Tone440);
    PaRecThread thread;
    FILE *file = nullptr;
    QVERIFY(beginRecording(thread, QStringLiteral("stalled.mp3"), file));
    QTest::qWait(1000);
    {
        SuspendedMicrophone stall;
        QVERIFY(stall.suspended);
        QTest::qWait(300);
        // No more blocks come to return "complete", so the thread must end the stream itself
        // instead of leaving the joining window waiting for ever.
        thread.stop();
        QVERIFY(thread.wait(10000));
    }
    endRecording(thread, file);
    const double seconds = AudioFixtures::decodedSeconds(QStringLiteral("stalled.mp3"));
    QVERIFY2(seconds > 0.7 && seconds < 1.6, qPrintable(QString::number(seconds)));
}

void TestRecorder::fiftyTakesLeaveNoResourcesBehind()
{
    PaRecThread thread;
    const auto take = [&thread] {
        FILE *file = nullptr;
        QVERIFY(beginRecording(thread, QStringLiteral("many.mp3"), file));
        endRecording(thread, file);
    };
    // Warm-up: the first takes load ALSA's plugins and settle the allocator.
    for (int i = 0; i < 3; ++i)
        take();
    if (QTest::currentTestFailed())
        return;
    const int handles = RecordingProbe::openHandles();
    const qint64 resident = RecordingProbe::residentKb();
    QTRY_VERIFY_WITH_TIMEOUT(RecordingProbe::threadCount() > 0, 1000);
    const int threads = RecordingProbe::threadCount();

    for (int i = 0; i < 50; ++i) {
        take();
        QVERIFY2(!portAudioInitialized(), "each take terminates what it initialised");
        if (i % 10 == 0)
            QVERIFY(AudioFixtures::decodedSeconds(QStringLiteral("many.mp3")) > 0.0);
        if (QTest::currentTestFailed())
            return;
    }

    QCOMPARE(RecordingProbe::openHandles(), handles);
    // A joined thread may linger a moment in /proc before the kernel reaps it.
    QTRY_VERIFY_WITH_TIMEOUT(RecordingProbe::threadCount() <= threads, 5000);
#ifndef __SANITIZE_ADDRESS__
    // Fifty lost encoders and output buffers would be well over 10 MB. (AddressSanitizer
    // keeps freed memory in quarantine, so there its leak checker stands in for this.)
    const qint64 growth = RecordingProbe::residentKb() - resident;
    QVERIFY2(growth < 4096, qPrintable(QStringLiteral("%1 kB").arg(growth)));
#else
    Q_UNUSED(resident)
#endif
}

QTEST_GUILESS_MAIN(TestRecorder)
#include "tst_recorder.moc"
