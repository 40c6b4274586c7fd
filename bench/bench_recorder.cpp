// Recorder figures: the audio callback's cost per 512-frame block for both encoder tunings,
// against the block's 11 610 µs and against the lame command-line encoder on the same
// speech; the callback with the level meter against the callback without it; the stop
// latency from the stop request to the closed file; and how soon after that the figures of a
// 3-minute take are ready, against decoding the take alone.
// Run under scripts/test-env.sh so the stop latency has a microphone to record from.
#include "parecthread.h"
#include "recorder.h"
#include "recordingcontrol.h"
#include "decoder.h"
#include "takeanalyzer.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>
#include <QVector>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <sys/resource.h>
#include <time.h>

namespace {

constexpr double kBlockMicroseconds = 512.0 * 1e6 / 44100.0;

bool run(const QString &program, const QStringList &arguments)
{
    QProcess process;
    process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    process.start(program, arguments);
    return process.waitForFinished(300000) && process.exitStatus() == QProcess::NormalExit
        && process.exitCode() == 0;
}

// About a minute of speech as 44.1 kHz stereo: a WAV for the lame CLI and raw interleaved
// floats for the callback.
bool makeSpeech(const QTemporaryDir &dir, QVector<float> *samples)
{
    QString text;
    for (int i = 0; i < 9; ++i)
        text += QStringLiteral("Consecutive interpreting asks the interpreter to listen to a "
                               "whole passage, take notes, and then render it in the other "
                               "language with the same meaning and tone. ");
    const QString mono = dir.filePath(QStringLiteral("mono.wav"));
    const QString wav = dir.filePath(QStringLiteral("speech.wav"));
    const QString raw = dir.filePath(QStringLiteral("speech.f32"));
    if (!run(QStringLiteral("espeak-ng"), { QStringLiteral("-w"), mono, text })
        || !run(QStringLiteral("sox"),
            { mono, QStringLiteral("-r"), QStringLiteral("44100"), QStringLiteral("-c"),
                QStringLiteral("2"), wav })
        || !run(QStringLiteral("sox"),
            { wav, QStringLiteral("-e"), QStringLiteral("floating-point"), QStringLiteral("-b"),
                QStringLiteral("32"), QStringLiteral("-t"), QStringLiteral("raw"), raw }))
        return false;
    QFile file(raw);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    const QByteArray bytes = file.readAll();
    samples->resize(bytes.size() / static_cast<int>(sizeof(float)));
    std::memcpy(
        samples->data(), bytes.constData(), static_cast<size_t>(samples->size()) * sizeof(float));
    return true;
}

double percentile(QVector<double> values, double fraction)
{
    std::sort(values.begin(), values.end());
    const int index = std::min(static_cast<int>(fraction * values.size()), values.size() - 1);
    return values.at(index);
}

double mean(const QVector<double> &values)
{
    double sum = 0;
    for (double value : values)
        sum += value;
    return values.isEmpty() ? 0 : sum / values.size();
}

double threadCpuMicroseconds()
{
    timespec now {};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return now.tv_sec * 1e6 + now.tv_nsec / 1e3;
}

double childrenCpuMicroseconds()
{
    rusage usage {};
    getrusage(RUSAGE_CHILDREN, &usage);
    return (usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) * 1e6 + usage.ru_utime.tv_usec
        + usage.ru_stime.tv_usec;
}

struct Costs
{
    QVector<double> wall;
    QVector<double> cpu; // the thread's own CPU time: what the block costs without preemption
};

using Callback = int (*)(const void *input, unsigned long frames, Recorder *recorder);

int realCallback(const void *input, unsigned long frames, Recorder *recorder)
{
    return Recorder::onAudio(input, nullptr, frames, nullptr, 0, recorder);
}

// The callback as it was before the level meter: split, encode, write, count.
int callbackWithoutMeter(const void *input, unsigned long frames, Recorder *recorder)
{
    splitStereo(static_cast<const float *>(input), frames, recorder->gain, recorder->left.get(),
        recorder->right.get());
    const int bytes = lame_encode_buffer_float(recorder->lame.get(), recorder->left.get(),
        recorder->right.get(), static_cast<int>(frames), recorder->mp3Buffer.get(),
        Recorder::kMp3BufferSize);
    if (bytes > 0)
        std::fwrite(recorder->mp3Buffer.get(), 1, static_cast<size_t>(bytes), recorder->out);
    recorder->framesCaptured += frames;
    return recorder->stopRequested.load() ? paComplete : paContinue;
}

// Every block goes through the callback; only the capture is replaced by the file.
Costs callbackCosts(const QVector<float> &speech, EncoderTuning tuning, const QString &out,
    Callback callback = realCallback)
{
    FILE *file = std::fopen(QFile::encodeName(out).constData(), "wb+");
    Recorder recorder;
    // open sets up the encoder and buffers before it looks for a device, so the callback
    // can be measured on a machine without one as well.
    recorder.open(file, kRecordGain, tuning);
    Costs costs;
    if (!recorder.lame || !recorder.mp3Buffer || !recorder.left) {
        std::fprintf(stderr, "encoder set-up failed: %s\n", recorder.errorText);
        std::fclose(file);
        return costs;
    }
    const unsigned long frames = Recorder::kFramesPerBlock;
    const int blocks = speech.size() / static_cast<int>(2 * frames);
    costs.wall.reserve(blocks);
    costs.cpu.reserve(blocks);
    for (int block = 0; block < blocks; ++block) {
        const float *input = speech.constData() + static_cast<qsizetype>(block) * 2 * frames;
        const double cpuBegin = threadCpuMicroseconds();
        const auto begin = std::chrono::steady_clock::now();
        callback(input, frames, &recorder);
        const auto end = std::chrono::steady_clock::now();
        costs.cpu << threadCpuMicroseconds() - cpuBegin;
        costs.wall << std::chrono::duration<double, std::micro>(end - begin).count();
    }
    recorder.close();
    std::fclose(file);
    return costs;
}

double lameCliMicrosecondsPerBlock(
    const QString &wav, const QString &out, int blocks, const QStringList &options)
{
    const double before = childrenCpuMicroseconds();
    if (!run(QStringLiteral("lame"),
            QStringList { QStringLiteral("--quiet") } + options + QStringList { wav, out }))
        return -1;
    return (childrenCpuMicroseconds() - before) / blocks;
}

void reportCallback(const QVector<float> &speech, const QTemporaryDir &dir)
{
    const int blocks = speech.size() / (2 * static_cast<int>(Recorder::kFramesPerBlock));
    const QString wav = dir.filePath(QStringLiteral("speech.wav"));
    std::printf("speech: %.1f s, %d blocks of 512 frames, block length %.0f us\n",
        blocks * 512 / 44100.0, blocks, kBlockMicroseconds);

    const struct
    {
        EncoderTuning tuning;
        const char *name;
        QStringList cliOptions;
    } tunings[] = {
        { EncoderTuning::StereoMode, "mode STEREO (0)",
            { QStringLiteral("-m"), QStringLiteral("s") } },
        { EncoderTuning::BestQuality, "quality 0", { QStringLiteral("-q"), QStringLiteral("0") } },
    };
    for (const auto &entry : tunings) {
        // One untimed pass warms caches and page-faults the encoder's tables in.
        callbackCosts(speech, entry.tuning, dir.filePath(QStringLiteral("warm.mp3")));
        const Costs costs
            = callbackCosts(speech, entry.tuning, dir.filePath(QStringLiteral("bench.mp3")));
        if (costs.wall.isEmpty())
            continue;
        const double cli = lameCliMicrosecondsPerBlock(
            wav, dir.filePath(QStringLiteral("cli.mp3")), blocks, entry.cliOptions);
        std::printf("callback, %s:\n", entry.name);
        std::printf("  CPU  median %7.1f us  p99 %7.1f us (%5.2f %% of a block)  max %8.1f us  "
                    "mean %6.1f us\n",
            percentile(costs.cpu, 0.5), percentile(costs.cpu, 0.99),
            100.0 * percentile(costs.cpu, 0.99) / kBlockMicroseconds, percentile(costs.cpu, 1.0),
            mean(costs.cpu));
        std::printf("  wall median %7.1f us  p99 %7.1f us (%5.2f %% of a block)  max %8.1f us  "
                    "mean %6.1f us\n",
            percentile(costs.wall, 0.5), percentile(costs.wall, 0.99),
            100.0 * percentile(costs.wall, 0.99) / kBlockMicroseconds, percentile(costs.wall, 1.0),
            mean(costs.wall));
        std::printf("  lame CLI %s: %.1f us CPU per block; callback mean CPU / CLI = %.2f\n",
            qPrintable(entry.cliOptions.join(QLatin1Char(' '))), cli,
            cli > 0 ? mean(costs.cpu) / cli : 0.0);
    }
}

// Both callbacks take turns over several rounds, so a machine that gets busier or quieter
// during the run weighs on both alike.
void reportLevelMeter(const QVector<float> &speech, const QTemporaryDir &dir)
{
    constexpr int kRounds = 4;
    Costs with;
    Costs without;
    const QString out = dir.filePath(QStringLiteral("meter.mp3"));
    callbackCosts(speech, Recorder::kTuning, out); // warm-up
    for (int round = 0; round < kRounds; ++round) {
        const Costs a = callbackCosts(speech, Recorder::kTuning, out);
        const Costs b = callbackCosts(speech, Recorder::kTuning, out, callbackWithoutMeter);
        with.cpu += a.cpu;
        with.wall += a.wall;
        without.cpu += b.cpu;
        without.wall += b.wall;
    }
    if (with.cpu.isEmpty() || without.cpu.isEmpty())
        return;
    std::printf("level meter, %d rounds of each callback, mode STEREO (0):\n", kRounds);
    for (const auto &[name, costs] : { std::pair { "with", &with }, std::pair { "without", &without } })
        std::printf("  %-7s meter: CPU p99 %7.1f us  mean %6.1f us   wall p99 %7.1f us  mean %6.1f us\n",
            name, percentile(costs->cpu, 0.99), mean(costs->cpu), percentile(costs->wall, 0.99),
            mean(costs->wall));
    std::printf("  with / without: CPU p99 %.3f  wall p99 %.3f  (target <= 1.05)\n",
        percentile(with.cpu, 0.99) / percentile(without.cpu, 0.99),
        percentile(with.wall, 0.99) / percentile(without.wall, 0.99));
}

// The window's way: the take is handed to the analyzer at the stop and its figures come back
// as a signal. A simultaneous take also needs the model, measured while the learner listened.
double figuresMilliseconds(TakeAnalyzer *analyzer, const TakeRequest &request)
{
    QEventLoop loop;
    const QMetaObject::Connection done = QObject::connect(analyzer, &TakeAnalyzer::measured, &loop, &QEventLoop::quit);
    QElapsedTimer timer;
    timer.start();
    analyzer->measure(request);
    loop.exec();
    QObject::disconnect(done);
    return timer.nsecsElapsed() / 1e6;
}

void reportFiguresLatency(const QVector<float> &speech, const QTemporaryDir &dir)
{
    QVector<float> take;
    while (take.size() < 180 * 44100 * 2)
        take += speech;
    take.resize(180 * 44100 * 2);
    TakeRequest request;
    request.path = dir.filePath(QStringLiteral("take3min.mp3"));
    callbackCosts(take, Recorder::kTuning, request.path);
    TakeAnalyzer analyzer;
    figuresMilliseconds(&analyzer, request); // warm-up: page cache, decoder plug-ins
    QVector<double> plain;
    QVector<double> withModel;
    QVector<double> decodeOnly;
    for (int round = 0; round < 3; ++round) {
        plain << figuresMilliseconds(&analyzer, request);
        QElapsedTimer timer;
        timer.start();
        audio::PcmBuffer pcm;
        audio::decodeFile(request.path, {}, &pcm);
        decodeOnly << timer.nsecsElapsed() / 1e6;
    }
    TakeRequest simultaneous = request;
    simultaneous.modelPath = request.path;
    simultaneous.modelStartMs = 0;
    QEventLoop loop;
    QObject::connect(&analyzer, &TakeAnalyzer::modelReady, &loop, &QEventLoop::quit);
    if (!analyzer.model(request.path))
        loop.exec();
    for (int round = 0; round < 3; ++round)
        withModel << figuresMilliseconds(&analyzer, simultaneous);
    std::printf("figures of a 3-minute take, stop to figures (3 rounds): median %.0f ms, "
                "with the ear-voice span %.0f ms; decoding alone %.0f ms (figures / decoding %.2f); "
                "target < 500 ms after the file is in place\n",
        percentile(plain, 0.5), percentile(withModel, 0.5), percentile(decodeOnly, 0.5),
        percentile(plain, 0.5) / percentile(decodeOnly, 0.5));
}

void reportStopLatency(const QTemporaryDir &dir)
{
    PaRecThread thread;
    QVector<double> latencies;
    const QString path = dir.filePath(QStringLiteral("latency.mp3"));
    for (int take = 0; take < 12; ++take) {
        SentenceTake sentence;
        if (!sentence.begin(thread, path))
            break;
        // Uneven take lengths land the stop at different points of the recording thread's poll.
        QThread::msleep(static_cast<unsigned long>(800 + take * 83));
        if (!thread.isRunning()) {
            std::printf("stop latency: no recording (%s)\n", qPrintable(sentence.end()));
            return;
        }
        QElapsedTimer timer;
        timer.start();
        sentence.end();
        latencies << timer.nsecsElapsed() / 1e6;
    }
    if (latencies.isEmpty())
        return;
    std::printf("stop latency, request to the sentence file in place (%d takes): median %.0f ms  max %.0f ms "
                "(target < 600 ms)\n",
        latencies.size(), percentile(latencies, 0.5), percentile(latencies, 1.0));
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    QTemporaryDir dir;
    QVector<float> speech;
    if (!dir.isValid() || !makeSpeech(dir, &speech)) {
        std::fprintf(stderr, "could not make the speech fixture (espeak-ng, sox)\n");
        return 1;
    }
    reportCallback(speech, dir);
    reportLevelMeter(speech, dir);
    reportStopLatency(dir);
    reportFiguresLatency(speech, dir);
    return 0;
}
