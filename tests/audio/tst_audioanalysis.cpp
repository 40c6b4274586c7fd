// Envelope, peaks and speech segmentation of real decoded files.
#include "audiofixtures.h"
#include "peaks.h"
#include "segmentation.h"
#include "wavwriter.h"

#include <QProcess>
#include <QSaveFile>
#include <QtTest>

using namespace audio;

class TestAudioAnalysis : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { QVERIFY(m_dir.isValid()); }
    void clickPeak_data();
    void clickPeak();
    void peaksAreCachedPerMaterialVersion();
    void pauses_data();
    void pauses();
    void nothingHeard_data();
    void nothingHeard();

private:
    QString clickMaterial(bool mp3);
    QString pausedSpeech();
    QTemporaryDir m_dir;
};

// 3 s of a quiet tone with a click at exactly 2.000 s.
QString TestAudioAnalysis::clickMaterial(bool mp3)
{
    const QString wav = m_dir.filePath(QStringLiteral("click.wav"));
    PcmBuffer pcm { { 44100, 2 }, std::vector<float>(3 * 44100 * 2) };
    for (size_t i = 0; i < pcm.samples.size(); ++i)
        pcm.samples[i] = 0.05f * std::sin(float(i / 2) * 0.05f);
    std::fill_n(pcm.samples.begin() + 2 * 44100 * 2, 2 * 20, 0.9f);
    QSaveFile file(wav);
    if (!file.open(QIODevice::WriteOnly))
        return {};
    WavWriter writer(&file, pcm.format);
    if (!writer.write(pcm.samples.data(), pcm.frames()) || !writer.finish() || !file.commit())
        return {};
    const QString encoded = m_dir.filePath(QStringLiteral("click.mp3"));
    if (!mp3)
        return wav;
    return QProcess::execute(QStringLiteral("lame"), { QStringLiteral("--quiet"), wav, encoded }) == 0
        ? encoded
        : QString();
}

void TestAudioAnalysis::clickPeak_data()
{
    QTest::addColumn<bool>("mp3");
    QTest::addColumn<int>("parts");
    QTest::newRow("wav, in one piece") << false << 1;
    // The click lies in the second part, placed by the decoder's time stamps after a seek.
    QTest::newRow("wav, two parts side by side") << false << 2;
    QTest::newRow("mp3, two parts side by side") << true << 2;
}

void TestAudioAnalysis::clickPeak()
{
    QFETCH(bool, mp3);
    QFETCH(int, parts);
    const EnvelopeResult result = decodeEnvelope(clickMaterial(mp3), { kEnvelopeWindowSeconds, parts });
    QVERIFY2(result.ok, qPrintable(result.error));
    const Envelope &envelope = result.envelope;
    QCOMPARE(envelope.windows(), 300);
    int loudest = 0;
    for (int i = 0; i < envelope.windows(); ++i)
        loudest = envelope.peak(i) > envelope.peak(loudest) ? i : loudest;
    QCOMPARE(loudest, 200);
    // 1280 columns over 3 s: the click's pixel is the first to show its peak.
    const std::vector<PeakColumn> columns = PeakPyramid(envelope).columns(0, 3.0, 1280);
    const auto first = std::max_element(columns.begin(), columns.end(),
        [](const PeakColumn &a, const PeakColumn &b) { return a.maximum < b.maximum; });
    QCOMPARE(int(first - columns.begin()), 2 * 1280 / 3);
}


void TestAudioAnalysis::peaksAreCachedPerMaterialVersion()
{
    const QString material = m_dir.filePath(QStringLiteral("material.wav"));
    QVERIFY(QFile::copy(clickMaterial(false), material));
    const CacheFolder cache(m_dir.filePath(QStringLiteral("peaks")), kDefaultPeakCacheBytes);
    const PeaksResult first = materialPeaks(material, cache);
    const PeaksResult second = materialPeaks(material, cache);
    QVERIFY(first.ok && !first.fromCache && second.ok && second.fromCache);
    QCOMPARE(second.peaks.columns(0, 3, 300)[200].maximum, first.peaks.columns(0, 3, 300)[200].maximum);
    // The material is replaced by a shorter one: its old peaks must not be shown.
    QVERIFY(AudioFixtures::sox({ m_dir.filePath(QStringLiteral("click.wav")), material, QStringLiteral("trim"),
        QStringLiteral("0"), QStringLiteral("1") }));
    const PeaksResult replaced = materialPeaks(material, cache);
    QVERIFY(replaced.ok && !replaced.fromCache);
    QCOMPARE(replaced.peaks.envelope().windows(), 100);
}

// Three phrases with pauses of 0.6, 1.2 and 2.0 s between them.
QString TestAudioAnalysis::pausedSpeech()
{
    const QString wav = m_dir.filePath(QStringLiteral("paused.wav"));
    if (!QFileInfo::exists(wav))
        AudioFixtures::makeSpeechWithPauses(wav, { QStringLiteral("the delegates met in Geneva"),
            QStringLiteral("they talked about the climate"), QStringLiteral("an agreement was reached"),
            QStringLiteral("everyone went home") }, { 0.6, 1.2, 2.0 });
    return wav;
}

void TestAudioAnalysis::pauses_data()
{
    QTest::addColumn<QStringList>("effect");
    QTest::newRow("clean") << QStringList();
    // The speech floor follows the take's own level and noise, not a fixed threshold.
    QTest::newRow("quiet, 30 dB down") << QStringList { QStringLiteral("vol"), QStringLiteral("0.0316") };
    QTest::newRow("over hiss 40 dB down") << QStringList { QStringLiteral("hiss") };
}

void TestAudioAnalysis::pauses()
{
    QFETCH(QStringList, effect);
    const QString take = m_dir.filePath(QStringLiteral("take.wav"));
    if (effect == QStringList { QStringLiteral("hiss") }) {
        const QString hiss = m_dir.filePath(QStringLiteral("hiss.wav"));
        QVERIFY(AudioFixtures::sox({ QStringLiteral("-n"), QStringLiteral("-r"), QStringLiteral("44100"),
            QStringLiteral("-c"), QStringLiteral("2"), hiss, QStringLiteral("synth"), QStringLiteral("30"),
            QStringLiteral("whitenoise"), QStringLiteral("vol"), QStringLiteral("0.01") }));
        QVERIFY(AudioFixtures::sox({ QStringLiteral("-m"), pausedSpeech(), hiss, take, QStringLiteral("trim"),
            QStringLiteral("0"), QString::number(AudioFixtures::decodedSeconds(pausedSpeech())) }));
    } else {
        QVERIFY(AudioFixtures::sox(QStringList { pausedSpeech(), take } + effect));
    }
    const EnvelopeResult decoded = decodeEnvelope(take);
    QVERIFY2(decoded.ok, qPrintable(decoded.error));
    const Segmentation segmentation = segmentSpeech(decoded.envelope);
    QVERIFY(segmentation.speechFound);
    const PauseSummary pauses = longPauses(segmentation, 0.5);
    QCOMPARE(pauses.count, 3);
    QVERIFY2(std::fabs(pauses.longestSeconds - 2.0) <= 0.1, qPrintable(QString::number(pauses.longestSeconds)));
}

void TestAudioAnalysis::nothingHeard_data()
{
    QTest::addColumn<QString>("sound");
    QTest::newRow("a muted microphone") << QStringLiteral("vol 0");
    QTest::newRow("hiss alone") << QStringLiteral("whitenoise vol 0.01");
    QTest::newRow("a hum") << QStringLiteral("sine 50 vol 0.02");
}

void TestAudioAnalysis::nothingHeard()
{
    QFETCH(QString, sound);
    const QString take = m_dir.filePath(QStringLiteral("nothing.wav"));
    QVERIFY(AudioFixtures::sox(QStringList { QStringLiteral("-n"), QStringLiteral("-r"), QStringLiteral("44100"),
        take, QStringLiteral("synth"), QStringLiteral("5") } + sound.split(QLatin1Char(' '))));
    const EnvelopeResult decoded = decodeEnvelope(take);
    QVERIFY2(decoded.ok, qPrintable(decoded.error));
    QVERIFY(!segmentSpeech(decoded.envelope).speechFound);
}

QTEST_GUILESS_MAIN(TestAudioAnalysis)
#include "tst_audioanalysis.moc"
