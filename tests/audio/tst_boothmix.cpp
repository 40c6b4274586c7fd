// The booth mix of a model and a take, exported as MP3 and decoded again.
#include "boothmix.h"
#include "decoder.h"

#include <QtTest>

using namespace audio;

namespace {

// Mono PCM at 44.1 kHz, silent but for a click at `at` seconds.
PcmBuffer clickAt(double seconds, double at)
{
    PcmBuffer pcm { { 44100, 1 }, std::vector<float>(size_t(seconds * 44100)) };
    std::fill_n(pcm.samples.begin() + qint64(at * 44100), 20, 0.8f);
    return pcm;
}

// The loudest sample of one channel within 10 ms of a moment.
float levelAround(const PcmBuffer &pcm, int channel, double seconds)
{
    float level = 0;
    for (qint64 i = qint64((seconds - 0.01) * 44100); i < qint64((seconds + 0.01) * 44100); ++i)
        level = std::max(level, std::fabs(pcm.samples[size_t(i * 2 + channel)]));
    return level;
}

} // namespace

class TestBoothMix : public QObject
{
    Q_OBJECT

private slots:
    void exportedModelLeftTakeRight_data();
    void exportedModelLeftTakeRight();
};

void TestBoothMix::exportedModelLeftTakeRight_data()
{
    QTest::addColumn<double>("offset");
    QTest::addColumn<double>("blend");
    QTest::newRow("take from the start, ears apart") << 0.0 << 0.0;
    QTest::newRow("simultaneous take begun at 1.5 s") << 1.5 << 0.0;
    QTest::newRow("both in both ears") << 1.5 << 1.0;
}

// Model click at 0.5 s, take click 0.25 s into the take.
void TestBoothMix::exportedModelLeftTakeRight()
{
    QFETCH(double, offset);
    QFETCH(double, blend);
    QTemporaryDir dir;
    const QString mp3 = dir.filePath(QStringLiteral("booth.mp3"));
    const JobResult exported = exportMp3(mixBooth(clickAt(3, 0.5), clickAt(1, 0.25), { offset, blend }), mp3);
    QVERIFY2(exported.ok, qPrintable(exported.error));
    PcmBuffer decoded;
    const DecodeResult result = decodeFile(mp3, { 44100, 2 }, &decoded);
    QVERIFY2(result.ok, qPrintable(result.error));
    const double takeAt = offset + 0.25;
    // Where the clicks belong, each ear hears a click of about the same level; a click that
    // comes out late or early is missed.
    const float expected = blend == 0 ? 0.8f : 0.4f;
    for (const auto &[channel, at] : { std::pair(0, 0.5), std::pair(1, takeAt) })
        QVERIFY2(std::fabs(levelAround(decoded, channel, at) - expected) < 0.1f, qPrintable(QString::number(at)));
    // Ears apart, neither ear hears the other's click; blended, each hears both.
    QCOMPARE(levelAround(decoded, 0, takeAt) > 0.2f, blend > 0);
    QCOMPARE(levelAround(decoded, 1, 0.5) > 0.2f, blend > 0);
}

QTEST_GUILESS_MAIN(TestBoothMix)
#include "tst_boothmix.moc"
