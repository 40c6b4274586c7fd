// The review view and the booth on real files: a click drawn at its pixel, a mark dropped near
// a pause landing on it, and a simultaneous take exported beside its model in step.
#include "audiofixtures.h"
#include "booth.h"
#include "decoder.h"
#include "peaksloader.h"
#include "recorder.h"
#include "waveformview.h"

#include <QtTest>

// Lag in ms of a channel of `booth` behind `source` (8 kHz), searched within ±100 ms.
static double lagMs(const audio::PcmBuffer &booth, int channel, const std::vector<float> &source)
{
    int best = 0;
    double bestScore = -1e30;
    for (int lag = -800; lag <= 800; ++lag) {
        double score = 0;
        for (qint64 i = 800; i < std::min<qint64>(booth.frames(), qint64(source.size())) - 800; ++i)
            score += double(booth.samples[size_t(2 * i + channel)]) * source[size_t(i - lag)];
        best = score > bestScore ? lag : best;
        bestScore = std::max(score, bestScore);
    }
    return best / 8.0;
}

class TestReview : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;
    // The view over the whole of a material, once its peaks and pauses are read.
    bool load(WaveformView *view, PeaksLoader *loader, const QString &material, int width)
    {
        connect(loader, &PeaksLoader::materialRead, view, &WaveformView::setModel);
        connect(loader, &PeaksLoader::materialPauses, view, &WaveformView::setPauses);
        QSignalSpy pauses(loader, &PeaksLoader::materialPauses);
        loader->loadMaterial(material);
        view->resize(width, 200);
        view->show();
        return pauses.wait(30000) && QTest::qWaitForWindowExposed(view);
    }

private slots:
    void initTestCase() { QVERIFY(QDir::setCurrent(m_dir.path())); }
    // 3 s of a quiet tone with a click at exactly 2.000 s, as lame encodes it: the waveform's
    // highest point is in the click's pixel.
    void clickShowsAtItsPixel()
    {
        QVERIFY(AudioFixtures::sox("-n -r 44100 tone.wav synth 3 sine 300 vol 0.05"));
        QVERIFY(AudioFixtures::sox("-n -r 44100 spike.wav synth 0.0005 sine 1000 pad 2"));
        QVERIFY(AudioFixtures::sox("-m tone.wav spike.wav click.wav"));
        QCOMPARE(QProcess::execute("lame", {"--quiet", "click.wav", "click.mp3"}), 0);
        WaveformView view;
        PeaksLoader loader("peaks");
        QVERIFY(load(&view, &loader, "click.mp3", 1280));
        const QImage drawn = view.grab().toImage();
        int peak = -1, peakTop = drawn.height();
        for (int x = 0; x < drawn.width(); ++x) {
            for (int y = 0; y < peakTop; ++y) { // blue, not the white cursor
                if (qBlue(drawn.pixel(x, y)) > 0x60 && qRed(drawn.pixel(x, y)) < 0x80)
                    std::tie(peakTop, peak) = std::make_pair(y, x);
            }
        }
        QCOMPARE(peak, 2 * 1280 / 3);
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
        QVERIFY(AudioFixtures::makeSpeechWav("a.wav", "the delegates met in Geneva"));
        QVERIFY(AudioFixtures::makeSpeechWav("b.wav", "an agreement was reached"));
        const QString trim = " silence 1 0.02 1% reverse silence 1 0.02 1% reverse";
        QVERIFY(AudioFixtures::sox("a.wav a1.wav" + trim) && AudioFixtures::sox("b.wav b1.wav" + trim));
        QVERIFY(AudioFixtures::sox("a1.wav a2.wav pad 0 1") && AudioFixtures::sox("a2.wav b1.wav speech.wav"));
        const auto pauseStart = qint64(AudioFixtures::decodedSeconds("a1.wav") * 1000);
        WaveformView view;
        PeaksLoader loader("peaks");
        QVERIFY(load(&view, &loader, "speech.wav", 1000));
        view.setMarks(50, view.timeAt(view.width()) - 50);
        QSignalSpy dropped(&view, &WaveformView::markInDragged);
        const QPoint target(view.xAt(pauseStart - 200), 100);
        QTest::mousePress(&view, Qt::LeftButton, {}, {view.xAt(50), 100});
        QTest::mouseMove(&view, target);
        QTest::mouseRelease(&view, Qt::LeftButton, shift ? Qt::ShiftModifier : Qt::NoModifier, target);
        QCOMPARE(dropped.size(), 1);
        const qint64 mark = dropped.first().first().toLongLong();
        QVERIFY2(shift ? qAbs(mark - view.timeAt(target.x())) <= 1 : mark >= pauseStart && mark <= pauseStart + 1000,
                 qPrintable(QStringLiteral("%1 %2").arg(mark).arg(pauseStart)));
    }
    // A simultaneous take begun 1.5 s into the model, written as the trainer writes takes (the
    // recorder's encoder fed block by block): left is the model from 1.5 s, right the take.
    void boothExportAlignsModelAndTake()
    {
        QVERIFY(AudioFixtures::makeSpeechWav("model.wav", "Good morning everyone. Today we talk about the climate conference."));
        QVERIFY(AudioFixtures::makeSpeechWav("voice.wav", "Bonjour a tous. Aujourd'hui nous parlons de la conference sur le climat."));
        audio::PcmBuffer voice, booth, model, take;
        QVERIFY(audio::decodeFile("voice.wav", {Recorder::kSampleRate, Recorder::kChannels}, &voice).ok);
        FILE *file = std::fopen("55.mp3", "wb");
        Recorder recorder;
        QVERIFY2(recorder.open(file, Recorder::kDefaultGain), recorder.errorText);
        for (qint64 frame = 0; frame + 512 <= voice.frames(); frame += 512)
            Recorder::onAudio(voice.samples.data() + frame * 2, nullptr, 512, nullptr, 0, &recorder);
        QVERIFY2(recorder.finish(), recorder.errorText);
        recorder.close();
        std::fclose(file);

        QVERIFY(exportBooth({"model.wav", "55.mp3", 1500}, 0, "booth.mp3").ok);
        QVERIFY(audio::decodeFile("booth.mp3", {8000, 2}, &booth).ok);
        audio::DecodeOptions fromTakeStart{8000, 1};
        fromTakeStart.startSeconds = 1.5;
        QVERIFY(audio::decodeFile("model.wav", fromTakeStart, &model).ok && audio::decodeFile("voice.wav", {8000, 1}, &take).ok);
        const double modelLag = lagMs(booth, 0, model.samples), takeLag = lagMs(booth, 1, take.samples);
        qInfo("left behind the model by %.1f ms, right behind the take's source by %.1f ms", modelLag, takeLag);
        QVERIFY(qAbs(modelLag) <= 20);
        QVERIFY(qAbs(takeLag) <= 20);
    }
};

QTEST_MAIN(TestReview)
#include "tst_review.moc"
