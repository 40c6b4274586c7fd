// How much of what follows mark-out a learner hears on every pass of an A-B loop, as heard:
// the virtual speaker's monitor is recorded while the loop runs. The material sounds 440 Hz
// up to mark-out and 2000 Hz after it, so every stretch of 2000 Hz in the recording is audio
// past mark-out. Measured in one run for a bare player that loops on its 300 ms tick (the
// reference: how the trainer looped before its loops were scheduled) and for the trainer's
// window with its marks set by its buttons. Run under scripts/test-env.sh:
//   scripts/test-env.sh <build>/bench/bench_loop <build>/stage [loops] [speed]
#include "audiobenchfixtures.h"
#include "audiofixtures.h"
#include "installationcopy.h"
#include "playerlogic.h"
#include "zorva.h"
#include "zorvaresources.h"

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <algorithm>
#include <cstdio>
#include <phonon/AudioOutput>
#include <phonon/MediaObject>
#include <vector>

namespace {

constexpr qint64 markInMs = 1000;
constexpr qint64 markOutMs = 2000;
constexpr int rate = 44100;
constexpr int waitMs = 15000;

bool makeMaterial(const QString &path)
{
    QTemporaryDir dir;
    const QString low = dir.filePath(QStringLiteral("low.wav")),
                  high = dir.filePath(QStringLiteral("high.wav"));
    return AudioFixtures::sox(
               QStringLiteral("-n -r 44100 -c 2 -b 16 %1 synth 2 sine 440 vol 0.5").arg(low))
        && AudioFixtures::sox(
            QStringLiteral("-n -r 44100 -c 2 -b 16 %1 synth 4 sine 2000 vol 0.5").arg(high))
        && AudioFixtures::sox(QStringLiteral("%1 %2 %3").arg(low, high, path));
}

// The monitor of the test sound server's speaker, as 16-bit mono.
class Capture
{
public:
    Capture()
    {
        QObject::connect(&m_parec, &QProcess::readyReadStandardOutput,
            [this] { m_data += m_parec.readAllStandardOutput(); });
        m_parec.start(QStringLiteral("parec"),
            { QStringLiteral("-d"), QStringLiteral("speaker.monitor"), QStringLiteral("--raw"),
                QStringLiteral("--format=s16le"), QStringLiteral("--rate=44100"),
                QStringLiteral("--channels=1"), QStringLiteral("--latency-msec=10") });
    }
    bool started() { return m_parec.waitForStarted(5000); }
    QByteArray stop()
    {
        m_parec.terminate();
        m_parec.waitForFinished(5000);
        return m_data + m_parec.readAllStandardOutput();
    }

private:
    QProcess m_parec;
    QByteArray m_data;
};

// Milliseconds of 2000 Hz heard on each pass: 1 ms steps, each judged by the zero crossings of
// the 2 ms around it (440 Hz crosses about twice there, 2000 Hz eight times).
std::vector<double> overshoots(const QByteArray &pcm)
{
    const auto *samples = reinterpret_cast<const qint16 *>(pcm.constData());
    const int count = pcm.size() / 2;
    const int hop = rate / 1000, window = 2 * hop;
    std::vector<double> passes;
    double high = 0;
    bool lowSince = false;
    for (int start = 0; start + window < count; start += hop) {
        int crossings = 0, loudest = 0;
        for (int i = start + 1; i < start + window; ++i) {
            crossings += (samples[i - 1] < 0) != (samples[i] < 0) ? 1 : 0;
            loudest = std::max(loudest, std::abs(int(samples[i])));
        }
        if (loudest < 2000)
            continue; // silence: neither the loop nor what follows it
        if (crossings >= 5) {
            high += 1;
            lowSince = false;
        } else if (!lowSince) {
            // The loop's own audio is back: the pass is over.
            if (high > 0 || !passes.empty())
                passes.push_back(high);
            high = 0;
            lowSince = true;
        }
    }
    // The first pass began at mark-in with nothing before it.
    if (!passes.empty())
        passes.erase(passes.begin());
    return passes;
}

double percentile(std::vector<double> values, double p)
{
    if (values.empty())
        return -1;
    std::sort(values.begin(), values.end());
    return values[std::min(values.size() - 1, size_t(p * double(values.size() - 1) + 0.5))];
}

void report(const char *what, const std::vector<double> &passes)
{
    std::printf("  %-46s %3zu passes: median %5.1f ms, p95 %5.1f ms, worst %5.1f ms\n", what,
        passes.size(), percentile(passes, 0.5), percentile(passes, 0.95), percentile(passes, 1.0));
}

bool reach(Phonon::MediaObject *media, Phonon::State state)
{
    return QTest::qWaitFor([&] { return media->state() == state; }, waitMs);
}

// Paused exactly at ms, so that a mark set now lies there.
bool pauseAt(Phonon::MediaObject *media, qint64 ms)
{
    if (media->state() != Phonon::PausedState) {
        media->play();
        if (!reach(media, Phonon::PlayingState))
            return false;
        media->pause();
    }
    media->seek(ms);
    return QTest::qWaitFor(
        [&] {
            return media->state() == Phonon::PausedState
                && std::abs(media->currentTime() - ms) <= 2;
        },
        waitMs);
}

int captureMs(int loops, double speed)
{
    return int((loops + 2) * ((markOutMs - markInMs) / speed + 400));
}

// Today's reference: the loop checked on every 300 ms tick of a bare player.
std::vector<double> tickedLoop(const QString &material, int loops)
{
    Phonon::MediaObject media;
    Phonon::AudioOutput output(Phonon::VideoCategory);
    Phonon::createPath(&media, &output);
    media.setTickInterval(300);
    const PlayerLogic::Marks marks { markInMs, markOutMs };
    QObject::connect(&media, &Phonon::MediaObject::tick, [&](qint64 time) {
        if (PlayerLogic::loopDecision(time, marks, media.totalTime()).seekToMarkIn)
            media.seek(markInMs);
    });
    media.setCurrentSource(Phonon::MediaSource(QUrl::fromLocalFile(material)));
    if (!pauseAt(&media, markInMs))
        return {};
    Capture capture;
    if (!capture.started())
        return {};
    media.play();
    QTest::qWait(captureMs(loops, 1.0));
    media.stop();
    return overshoots(capture.stop());
}

bool click(QWidget *root, const char *name)
{
    auto *button = root->findChild<QAbstractButton *>(QLatin1String(name));
    if (!button || !button->isVisible() || !button->isEnabled())
        return false;
    QTest::mouseClick(button, Qt::LeftButton);
    return true;
}

// The trainer's window with its marks set by the learner's buttons, at the given speed.
std::vector<double> windowLoop(const QString &materialName, int loops, double speed)
{
    Zorva window;
    window.show();
    if (!QTest::qWaitForWindowExposed(&window) || !QTest::qWaitFor([&] { return window.isStarted(); }))
        return {};
    window.sltSwitchWorkspace(QStringLiteral("./workspace/") + materialName);
    auto *media = window.findChild<Phonon::MediaObject *>(QStringLiteral("mediaObject"));
    if (speed != 1.0) {
        auto *choice
            = window.findChild<QAction *>(QStringLiteral("speed%1Action").arg(qRound(speed * 100)));
        if (!choice) {
            std::printf("  no action for speed %.2f\n", speed);
            return {};
        }
        choice->trigger();
        if (!QTest::qWaitFor(
                [&] { return media->currentSource().fileName().contains(QLatin1String("x.wav")); },
                60000))
            return {};
    }
    const qint64 copyIn = qRound64(markInMs / speed), copyOut = qRound64(markOutMs / speed);
    if (!pauseAt(media, copyIn) || !click(&window, "btnMarkInSet") || !pauseAt(media, copyOut)
        || !click(&window, "btnMarkOutSet") || !pauseAt(media, copyIn)) {
        std::printf("  the marks could not be set\n");
        return {};
    }
    Capture capture;
    if (!capture.started())
        return {};
    click(&window, "btnPlayPause");
    QTest::qWait(captureMs(loops, speed));
    media->stop();
    std::vector<double> passes = overshoots(capture.stop());
    // Copy milliseconds heard are material milliseconds times the speed.
    for (double &pass : passes)
        pass *= speed;
    return passes;
}

} // namespace

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QApplication::setQuitOnLastWindowClosed(false);
    std::setvbuf(stdout, nullptr, _IOLBF, 0);
    const QStringList args = QCoreApplication::arguments();
    if (args.size() < 2) {
        std::fprintf(stderr, "usage: bench_loop <stage folder> [loops] [speed]\n");
        return 2;
    }
    const int loops = args.size() > 2 ? args.at(2).toInt() : 30;
    const double speed = args.size() > 3 ? args.at(3).toDouble() : 1.0;
    zorvaInitResources();
    qputenv("ZORVA_UPDATE_URL", "http://127.0.0.1:9");
    AudioBenchFixtures::printLoadAverage();

    QTemporaryDir installation;
    const QString material = installation.filePath(QStringLiteral("workspace/loopbench.wav"));
    if (!copyInstallation(
            args.at(1), installation.path(), { QStringLiteral("ZORVA"), QStringLiteral("update") })
        || !QDir::setCurrent(installation.path()) || !makeMaterial(material)) {
        std::fprintf(stderr, "cannot lay out the installation or make the material\n");
        return 1;
    }
    std::printf("A-B loop %lld..%lld ms, audio past mark-out heard on each pass (%d loops)\n",
        markInMs, markOutMs, loops);
    const std::vector<double> reference = tickedLoop(material, loops);
    report("reference: a bare player looping on its tick", reference);
    const std::vector<double> trainer = windowLoop(QStringLiteral("loopbench.wav"), loops, speed);
    report(
        qPrintable(QStringLiteral("the trainer's window at %1x").arg(speed, 0, 'f', 2)), trainer);
    const double p95 = percentile(trainer, 0.95);
    std::printf("  trainer p95 / reference p95: %.3f; target p95 <= 30 ms: %s\n",
        p95 / percentile(reference, 0.95),
        p95 >= 0 && p95 <= 30 && trainer.size() >= size_t(loops) ? "met" : "NOT met");
    return trainer.size() >= size_t(loops) ? 0 : 1;
}
