// The review view and the booth on real files: a click drawn at its pixel, a mark dropped near
// a pause landing on it, and a simultaneous take exported beside its model in step.
#include "audiofixtures.h"
#include "booth.h"
#include "decoder.h"
#include "peaksloader.h"
#include "recorder.h"
#include "waveformview.h"

#include <QtTest>

namespace {

// Lag in ms of `heard` behind `source` (both mono at 8 kHz), searched within ±100 ms.
double lagMs(const std::vector<float> &heard, const std::vector<float> &source)
{
    int best = 0;
    double bestScore = -1e30;
    for (int lag = -800; lag <= 800; ++lag) {
        double score = 0;
        for (size_t i = 800; i < std::min(heard.size(), source.size()) - 800; ++i)
            score += double(heard[i]) * source[size_t(qint64(i) - lag)];
        if (score > bestScore) {
            bestScore = score;
            best = lag;
        }
    }
    return best / 8.0;
}

std::vector<float> channel(const audio::PcmBuffer &pcm, int index)
{
    std::vector<float> samples(size_t(pcm.frames()));
    for (size_t i = 0; i < samples.size(); ++i)
        samples[i] = pcm.samples[i * size_t(pcm.format.channels) + size_t(index)];
    return samples;
}

} // namespace

class TestReview : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;
    QString path(const QString &name) const { return m_dir.filePath(name); }
    // The view over the whole of a material, once its peaks and pauses are read.
    bool load(WaveformView *view, PeaksLoader *loader, const QString &material)
    {
        QObject::connect(loader, &PeaksLoader::materialRead, view, &WaveformView::setModel);
        QObject::connect(loader, &PeaksLoader::materialPauses, view, &WaveformView::setPauses);
        QSignalSpy pauses(loader, &PeaksLoader::materialPauses);
        loader->loadMaterial(material);
        view->show();
        return pauses.wait(30000) && QTest::qWaitForWindowExposed(view);
    }

private slots:
    void clickShowsAtItsPixel_data()
    {
        QTest::addColumn<QString>("format");
        QTest::newRow("wav") << "wav";
        QTest::newRow("mp3 made by lame") << "mp3";
    }
    // 3 s of a quiet tone with a click at exactly 2.000 s: the tallest column is its pixel.
    void clickShowsAtItsPixel()
    {
        QFETCH(QString, format);
        const QString click = path("click." + format);
        QVERIFY(
            AudioFixtures::sox("-n -r 44100 " + path("tone.wav") + " synth 3 sine 300 vol 0.05"));
        QVERIFY(AudioFixtures::sox(
            "-n -r 44100 " + path("spike.wav") + " synth 0.0005 sine 1000 pad 2"));
        QVERIFY(AudioFixtures::sox(
            "-m " + path("tone.wav") + " " + path("spike.wav") + " " + path("click.wav")));
        QVERIFY(format == "wav"
            || QProcess::execute("lame", { "--quiet", path("click.wav"), click }) == 0);
        WaveformView view;
        PeaksLoader loader(path("peaks"));
        view.resize(1280, 200);
        QVERIFY(load(&view, &loader, click));
        const QImage drawn = view.grab().toImage();
        int peak = -1, peakTop = drawn.height();
        for (int x = 0; x < drawn.width(); ++x) {
            for (int y = 0; y < peakTop;
                 ++y) { // the waveform's highest point: blue, not the white cursor
                if (qBlue(drawn.pixel(x, y)) > 0x60 && qRed(drawn.pixel(x, y)) < 0x80) {
                    peakTop = y;
                    peak = x;
                }
            }
        }
        QCOMPARE(peak, 2 * drawn.width() / 3);
    }
    void markSnapsToPause_data()
    {
        QTest::addColumn<bool>("shift");
        QTest::newRow("snaps onto the pause") << false;
        QTest::newRow("Shift: where dropped") << true;
    }
    // Two phrases with exactly 1 s of silence between them; mark-in dropped 200 ms before it.
    void markSnapsToPause()
    {
        QFETCH(bool, shift);
        for (const char *name : { "a", "b" }) {
            QVERIFY(AudioFixtures::makeSpeechWav(path(name + QString(".raw.wav")),
                name == QString("a") ? "the delegates met in Geneva" : "an agreement was reached"));
            QVERIFY(AudioFixtures::sox(path(name + QString(".raw.wav")) + " "
                + path(name + QString(".wav"))
                + " silence 1 0.02 1% reverse silence 1 0.02 1% reverse"));
        }
        QVERIFY(AudioFixtures::sox(path("a.wav") + " " + path("a1.wav") + " pad 0 1"));
        QVERIFY(
            AudioFixtures::sox(path("a1.wav") + " " + path("b.wav") + " " + path("speech.wav")));
        const auto pauseStart = qint64(AudioFixtures::decodedSeconds(path("a.wav")) * 1000);
        WaveformView view;
        PeaksLoader loader(path("peaks"));
        view.resize(1000, 200);
        QVERIFY(load(&view, &loader, path("speech.wav")));
        view.setMarks(50, view.timeAt(view.width()) - 50);
        QSignalSpy dropped(&view, &WaveformView::markInDragged);
        const int target = view.xAt(pauseStart - 200);
        QTest::mousePress(&view, Qt::LeftButton, {}, { view.xAt(50), 100 });
        QTest::mouseMove(&view, { target, 100 });
        QTest::mouseRelease(
            &view, Qt::LeftButton, shift ? Qt::ShiftModifier : Qt::NoModifier, { target, 100 });
        QCOMPARE(dropped.size(), 1);
        const qint64 mark = dropped.first().first().toLongLong();
        if (shift)
            QVERIFY2(qAbs(mark - view.timeAt(target)) <= 1, qPrintable(QString::number(mark)));
        else
            QVERIFY2(mark >= pauseStart && mark <= pauseStart + 1000,
                qPrintable(QStringLiteral("%1 %2").arg(mark).arg(pauseStart)));
    }
    // A simultaneous take begun 1.5 s into the model, written as the trainer writes takes (the
    // recorder's encoder fed block by block): left is the model from 1.5 s, right the take.
    void boothExportAlignsModelAndTake()
    {
        QVERIFY(AudioFixtures::makeSpeechWav(path("model.wav"),
            "Good morning everyone. Today we talk about the climate conference in Geneva."));
        QVERIFY(AudioFixtures::makeSpeechWav(path("voice.wav"),
            "Bonjour a tous. Aujourd'hui nous parlons de la conference sur le climat."));
        audio::PcmBuffer voice;
        QVERIFY(audio::decodeFile(
            path("voice.wav"), { Recorder::kSampleRate, Recorder::kChannels }, &voice)
                    .ok);
        FILE *file = std::fopen(qPrintable(path("55.mp3")), "wb");
        Recorder recorder;
        QVERIFY2(recorder.open(file, Recorder::kDefaultGain), recorder.errorText);
        for (qint64 frame = 0; frame + qint64(Recorder::kFramesPerBlock) <= voice.frames();
             frame += qint64(Recorder::kFramesPerBlock))
            Recorder::onAudio(voice.samples.data() + frame * 2, nullptr, Recorder::kFramesPerBlock,
                nullptr, 0, &recorder);
        QVERIFY2(recorder.finish(), recorder.errorText);
        recorder.close();
        std::fclose(file);

        QVERIFY(exportBooth({ path("model.wav"), path("55.mp3"), 1500 }, 0, path("booth.mp3")).ok);
        audio::PcmBuffer booth, model, take;
        QVERIFY(audio::decodeFile(path("booth.mp3"), { 8000, 2 }, &booth).ok);
        audio::DecodeOptions fromTakeStart { 8000, 1 };
        fromTakeStart.startSeconds = 1.5;
        QVERIFY(audio::decodeFile(path("model.wav"), fromTakeStart, &model).ok);
        QVERIFY(audio::decodeFile(path("voice.wav"), { 8000, 1 }, &take).ok);
        const double modelLag = lagMs(channel(booth, 0), model.samples),
                     takeLag = lagMs(channel(booth, 1), take.samples);
        qInfo("left behind the model by %.1f ms, right behind the take's source by %.1f ms",
            modelLag, takeLag);
        QVERIFY(qAbs(modelLag) <= 20);
        // The recorder writes no LAME tag frame, so decoders cannot drop the encoder's delay:
        // its takes play about 51 ms late everywhere. Mended in the recorder, this passes.
        QEXPECT_FAIL(
            "", "takes written without the LAME tag frame decode about 51 ms late", Continue);
        QVERIFY(qAbs(takeLag) <= 20);
    }
};

QTEST_MAIN(TestReview)
#include "tst_review.moc"
