// The audio engine on real files: peaks, pauses, slower copies and their cache, booth export.
#include "audiofixtures.h"
#include "boothmix.h"
#include "peaks.h"
#include "segmentation.h"
#include "stretchrenderer.h"

#include <QProcess>
#include <QtTest>

using namespace audio;

class TestAudioEngine : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;
    QString m_tone = m_dir.filePath("tone.mp3");
    StretchRenderer m_renderer;

    // 3 s of a quiet tone with a click at exactly 2.000 s, as WAV or MP3 (with encoder delay).
    QString clickMaterial(bool mp3)
    {
        const QString tone = m_dir.filePath("300.wav"), spike = m_dir.filePath("spike.wav");
        const QString click = m_dir.filePath("click.wav"), encoded = m_dir.filePath("click.mp3");
        AudioFixtures::sox("-n -r 44100 " + tone + " synth 3 sine 300 vol 0.05");
        AudioFixtures::sox("-n -r 44100 " + spike + " synth 0.0005 sine 1000 pad 2");
        AudioFixtures::sox("-m " + tone + " " + spike + " " + click);
        return mp3 && QProcess::execute("lame", { "--quiet", click, encoded }) == 0 ? encoded : click;
    }
    // The copy's path, or an empty text when the renderer failed.
    QString render(double speed, const QString &material = {})
    {
        QSignalSpy finished(&m_renderer, &StretchRenderer::finished), failed(&m_renderer, &StretchRenderer::failed);
        m_renderer.render(material.isEmpty() ? m_tone : material, speed);
        const bool ended = QTest::qWaitFor([&] { return finished.size() + failed.size() > 0; }, 60000);
        return ended && !finished.isEmpty() ? finished.first().at(2).toString() : QString();
    }

private slots:
    void initTestCase() { QVERIFY(AudioFixtures::makeToneMp3(m_tone, 4.0, 440)); }
    void clickPeak_data()
    {
        QTest::addColumn<bool>("mp3");
        QTest::addColumn<int>("parts");
        QTest::newRow("wav, in one piece") << false << 1;
        // The click lies in the second part, placed by the decoder's time stamps after a seek.
        QTest::newRow("wav, two parts side by side") << false << 2;
        QTest::newRow("mp3, two parts") << true << 2;
    }
    void clickPeak()
    {
        QFETCH(bool, mp3);
        QFETCH(int, parts);
        const EnvelopeResult result = decodeEnvelope(clickMaterial(mp3), { kEnvelopeWindowSeconds, parts });
        QVERIFY2(result.ok && result.envelope.windows() == 300, qPrintable(result.error));
        const std::vector<float> &highs = result.envelope.maximum;
        QCOMPARE(std::max_element(highs.begin(), highs.end()) - highs.begin(), 200);
        // 1280 columns over 3 s: the click's pixel is the first to show its peak.
        const std::vector<PeakColumn> columns = PeakPyramid(result.envelope).columns(0, 3.0, 1280);
        QCOMPARE(std::max_element(columns.begin(), columns.end(), [](auto a, auto b) { return a.maximum < b.maximum; })
            - columns.begin(), 2 * 1280 / 3);
    }
    void peaksAreCachedPerMaterialVersion()
    {
        const QString material = m_dir.filePath("material.wav");
        QVERIFY(QFile::copy(clickMaterial(false), material));
        const CacheFolder cache(m_dir.filePath("peaks"), kDefaultPeakCacheBytes);
        const PeaksResult first = materialPeaks(material, cache), second = materialPeaks(material, cache);
        QVERIFY(first.ok && !first.fromCache && second.ok && second.fromCache);
        QVERIFY(std::fabs(second.peaks.columns(0, 3, 300)[200].maximum - first.peaks.columns(0, 3, 300)[200].maximum) < 1e-4);
        // The material is replaced by a shorter one: its old peaks must not be shown.
        QVERIFY(AudioFixtures::sox(m_dir.filePath("click.wav") + " " + material + " trim 0 1"));
        const PeaksResult replaced = materialPeaks(material, cache);
        QVERIFY(replaced.ok && !replaced.fromCache && replaced.peaks.envelope().windows() == 100);
    }
    void pauses_data()
    {
        QTest::addColumn<QString>("take");
        QTest::addColumn<int>("pauses"); // of 0.5 s or more; -1: nothing rose above the speech floor
        QTest::newRow("clean") << "SPEECH TAKE" << 3;
        // The speech floor follows the take's own level and noise, not a fixed threshold.
        QTest::newRow("quiet, 30 dB down") << "SPEECH TAKE vol 0.0316" << 3;
        QTest::newRow("over hiss") << "-m SPEECH HISS TAKE" << 3;
        QTest::newRow("a muted microphone") << "-n -r 44100 TAKE synth 5 vol 0" << -1;
        QTest::newRow("hiss alone") << "HISS TAKE" << -1;
    }
    // Phrases with pauses of 0.6, 1.2 and 2.0 s between them, as sox makes the take of them.
    void pauses()
    {
        QFETCH(QString, take);
        QFETCH(int, pauses);
        const QString speech = m_dir.filePath("speech.wav"), hiss = m_dir.filePath("hiss.wav");
        QVERIFY(AudioFixtures::sox("-n -r 44100 -c 2 " + hiss + " synth 10 whitenoise vol 0.01"));
        QVERIFY(AudioFixtures::makeSpeechWav(speech, "the delegates met in Geneva <break time=\"600ms\"/> they talked "
            "about the climate <break time=\"1200ms\"/> an agreement was reached <break time=\"2s\"/> all went home"));
        QVERIFY(AudioFixtures::sox(take.replace("SPEECH", speech).replace("TAKE", m_dir.filePath("take.wav"))
            .replace("HISS", hiss)));
        const EnvelopeResult decoded = decodeEnvelope(m_dir.filePath("take.wav"));
        QVERIFY2(decoded.ok, qPrintable(decoded.error));
        const Segmentation segmentation = segmentSpeech(decoded.envelope);
        QCOMPARE(segmentation.speechFound, pauses >= 0);
        const PauseSummary found = longPauses(segmentation, 0.5);
        QCOMPARE(found.count, std::max(0, pauses));
        QVERIFY2(pauses < 0 || std::fabs(found.longestSeconds - 2.0) <= 0.1, qPrintable(QString::number(found.longestSeconds)));
    }
    void slowerCopy_data()
    {
        QTest::addColumn<QString>("material");
        QTest::newRow("missing") << m_dir.filePath("lesson.mp3");
        QTest::newRow("not audio") << QCoreApplication::applicationFilePath();
        QTest::newRow("a 440 Hz tone") << m_tone;
    }
    // At 0.6x a tone keeps its pitch and lasts 1/0.6 as long; what cannot be decoded fails
    // with a text naming the file and leaves nothing in the cache.
    void slowerCopy()
    {
        QFETCH(QString, material);
        m_renderer.setCache(m_dir.filePath("pitch"));
        QSignalSpy progress(&m_renderer, &StretchRenderer::progress), failed(&m_renderer, &StretchRenderer::failed);
        const QString copy = render(0.6, material);
        if (material != m_tone) {
            QVERIFY(failed.size() == 1 && failed.first().at(2).toString().contains(QFileInfo(material).fileName()));
            QVERIFY(copy.isEmpty() && QDir(m_dir.filePath("pitch")).entryList(QDir::Files).isEmpty());
            return;
        }
        QVERIFY(!copy.isEmpty() && !progress.isEmpty());
        const double frequency = AudioFixtures::frequencyBetween(copy, 1.0, 4.0);
        QVERIFY2(std::fabs(frequency - 440) <= 4.4, qPrintable(QString::number(frequency)));
        const double seconds = AudioFixtures::decodedSeconds(copy);
        QVERIFY2(std::fabs(seconds - 4.0 / 0.6) <= 0.005 * 4.0 / 0.6, qPrintable(QString::number(seconds)));
    }
    void slowerCopiesCachedLeastRecentlyUsedOut()
    {
        const QString folder = m_dir.filePath("lru");
        m_renderer.setCache(folder);
        const QString slowest = render(0.5), seventy = render(0.7);
        // Room for these two copies, not for a third.
        m_renderer.setCache(folder, QFileInfo(slowest).size() + QFileInfo(seventy).size());
        QSignalSpy progress(&m_renderer, &StretchRenderer::progress);
        QVERIFY(render(0.5) == slowest && progress.isEmpty()); // answered from the cache
        QVERIFY(!render(0.8).isEmpty());
        // 0.7x was used longest ago; 0.5x again just now.
        QVERIFY(m_renderer.cachedCopy(m_tone, 0.7).isEmpty() && !m_renderer.cachedCopy(m_tone, 0.8).isEmpty());
        QCOMPARE(m_renderer.cachedCopy(m_tone, 0.5), slowest);
    }
    void boothExport_data()
    {
        QTest::addColumn<double>("offset");
        QTest::addColumn<double>("blend");
        QTest::newRow("take from the start, ears apart") << 0.0 << 0.0;
        QTest::newRow("simultaneous take begun at 1.5 s") << 1.5 << 0.0;
        QTest::newRow("both in both ears") << 1.5 << 1.0;
    }
    // Model click at 0.5 s, take click 0.25 s into the take: each is heard where it belongs
    // (not 50 ms late), at full level with the ears apart, at half level in each ear blended.
    void boothExport()
    {
        QFETCH(double, offset);
        QFETCH(double, blend);
        const QString mp3 = m_dir.filePath("booth.mp3");
        PcmBuffer decoded;
        const auto clickAt = [](double seconds, double at) { // mono, silent but for the click
            PcmBuffer pcm { { 44100, 1 }, std::vector<float>(size_t(seconds * 44100)) };
            std::fill_n(pcm.samples.begin() + qint64(at * 44100), 20, 0.8f);
            return pcm;
        };
        const auto levelAround = [&decoded](int channel, double at) { // the loudest within 10 ms
            float level = 0;
            for (auto i = qint64((at - 0.01) * 44100); i < qint64((at + 0.01) * 44100); ++i)
                level = std::max(level, std::fabs(decoded.samples[size_t(i * 2 + channel)]));
            return level;
        };
        QVERIFY(exportMp3(mixBooth(clickAt(3, 0.5), clickAt(1, 0.25), { offset, blend }), mp3).ok);
        QVERIFY(decodeFile(mp3, { 44100, 2 }, &decoded).ok);
        const double takeAt = offset + 0.25;
        for (const auto &[channel, at] : { std::pair(0, 0.5), std::pair(1, takeAt) })
            QVERIFY2(std::fabs(levelAround(channel, at) - (blend == 0 ? 0.8f : 0.4f)) < 0.1f, qPrintable(QString::number(at)));
        QCOMPARE(levelAround(0, takeAt) > 0.2f, blend > 0);
        QCOMPARE(levelAround(1, 0.5) > 0.2f, blend > 0);
    }
};

QTEST_GUILESS_MAIN(TestAudioEngine)
#include "tst_audioengine.moc"
