// The review view on a 60-minute material: how soon its waveform shows the first time (read in
// stretches through PeaksLoader, as the window does) and from the cache, and what a repaint of
// the view costs at 1280 px wide, against painting a plain widget of that size in the same run.
//   QT_QPA_PLATFORM=offscreen <build>/bench/bench_review
#include "audiobenchfixtures.h"
#include "peaksloader.h"
#include "waveformview.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QPainter>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>

namespace {

class PlainWidget : public QWidget
{
protected:
    void paintEvent(QPaintEvent *) override { QPainter(this).fillRect(rect(), Qt::black); }
};

double medianMs(QWidget *widget, const std::function<void()> &change)
{
    std::vector<double> times;
    for (int i = 0; i < 50; ++i) {
        change();
        QElapsedTimer timer;
        timer.start();
        widget->repaint();
        times.push_back(timer.nsecsElapsed() / 1e6);
    }
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

// Milliseconds until the loader delivers its first waveform and its whole one.
std::pair<double, double> load(
    const QString &material, const QString &cache, audio::PeakPyramid *peaks)
{
    PeaksLoader loader(cache);
    double first = -1, whole = -1;
    QElapsedTimer timer;
    QObject::connect(
        &loader, &PeaksLoader::materialRead, [&](const audio::PeakPyramid &read, double made) {
            if (first < 0)
                first = timer.nsecsElapsed() / 1e6;
            if (made >= 1) {
                whole = timer.nsecsElapsed() / 1e6;
                *peaks = read;
            }
        });
    QSignalSpy pauses(&loader, &PeaksLoader::materialPauses);
    timer.start();
    loader.loadMaterial(material);
    pauses.wait(60000);
    return { first, whole };
}

} // namespace

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    std::setvbuf(stdout, nullptr, _IOLBF, 0);
    AudioBenchFixtures::printLoadAverage();
    const QString mp3 = AudioBenchFixtures::speech(3600, true);
    if (mp3.isEmpty()) {
        std::fprintf(stderr, "cannot make the 60-minute MP3\n");
        return 1;
    }
    QTemporaryDir cache;
    audio::PeakPyramid peaks;
    const auto [firstMs, wholeMs] = load(mp3, cache.path(), &peaks);
    const auto [cachedFirstMs, cachedMs] = load(mp3, cache.path(), &peaks);
    std::printf("60-minute speech MP3 in the review view\n");
    std::printf("  first time: the first stretch shows after %.0f ms, the whole after %.0f ms "
                "(target <= 1000 ms "
                "for the whole: %s)\n",
        firstMs, wholeMs, wholeMs <= 1000 ? "met" : "NOT met");
    std::printf("  cached: whole after %.1f ms (target <= 50 ms: %s)\n", cachedMs,
        cachedMs <= 50 ? "met" : "NOT met");
    Q_UNUSED(cachedFirstMs)

    WaveformView view;
    view.resize(1280, 400);
    view.setModel(peaks, 1.0);
    view.setTake(peaks, 600000, QStringLiteral("pass 1"));
    view.setMarks(1200000, 1500000);
    view.show();
    PlainWidget plain;
    plain.resize(1280, 400);
    plain.show();
    QApplication::processEvents();
    const double reference = medianMs(&plain, [] {});
    const double full = medianMs(&view, [&] { view.setModel(peaks, 1.0); });
    qint64 position = 0;
    const double cursor = medianMs(&view, [&] { view.setPosition(position += 1000); });
    std::printf(
        "repaint at 1280 x 400 (median of 50): plain widget %.2f ms; waveform view with a take: "
        "new peaks %.2f ms (%.1fx), cursor moved %.2f ms (%.1fx); target <= 4 ms: %s\n",
        reference, full, full / reference, cursor, cursor / reference,
        full <= 4 ? "met" : "NOT met");
    return 0;
}
