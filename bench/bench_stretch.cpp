// The time-stretch libraries compared on speech at the player's 0.7x: Rubber Band (R2 and
// R3 engines) against SoundTouch (its default and its speech settings), for speed and for
// three figures of quality; then the slower copy of a 5-minute material as the player gets
// it (decode, stretch, 16-bit WAV) against soundstretch and rubberband on the same file.
#include "audiobenchfixtures.h"
#include "decoder.h"
#include "stretcher.h"
#include "stretchrenderer.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QThread>
#include <cmath>
#include <complex>
#include <cstdio>
#include <functional>
#include <rubberband/RubberBandStretcher.h>
#include <soundtouch/SoundTouch.h>

using namespace audio;

namespace {

constexpr double kSpeed = 0.7;
using Stretch = std::function<PcmBuffer(const PcmBuffer &, double speed)>;

PcmBuffer soundTouch(const PcmBuffer &in, double speed, bool speechSettings)
{
    if (speechSettings)
        return stretched(in, speed); // the engine's own stretcher
    soundtouch::SoundTouch touch;
    touch.setSampleRate(uint(in.format.sampleRate));
    touch.setChannels(uint(in.format.channels));
    touch.setTempo(speed);
    PcmBuffer out { in.format, {} };
    std::vector<float> got(4096 * size_t(in.format.channels));
    const auto drain = [&] {
        while (uint n = touch.receiveSamples(got.data(), 4096))
            out.samples.insert(
                out.samples.end(), got.begin(), got.begin() + n * in.format.channels);
    };
    // In blocks: SoundTouch takes quadratic time over a whole file put in at once.
    for (qint64 at = 0; at < in.frames(); at += 4096) {
        touch.putSamples(in.samples.data() + at * in.format.channels,
            uint(std::min<qint64>(4096, in.frames() - at)));
        drain();
    }
    touch.flush();
    drain();
    return out;
}

// Offline (studied) stretching, the library's best mode for whole files.
PcmBuffer rubberBand(
    const PcmBuffer &in, double speed, RubberBand::RubberBandStretcher::Options engine)
{
    using RubberBand::RubberBandStretcher;
    const int channels = in.format.channels;
    const auto frames = size_t(in.frames());
    RubberBandStretcher stretcher(size_t(in.format.sampleRate), size_t(channels),
        RubberBandStretcher::OptionProcessOffline | engine, 1.0 / speed);
    std::vector<std::vector<float>> planes(
        static_cast<size_t>(channels), std::vector<float>(frames));
    std::vector<const float *> inputs;
    for (int c = 0; c < channels; ++c) {
        for (size_t i = 0; i < frames; ++i)
            planes[size_t(c)][i] = in.samples[i * size_t(channels) + size_t(c)];
        inputs.push_back(planes[size_t(c)].data());
    }
    stretcher.setExpectedInputDuration(frames);
    stretcher.study(inputs.data(), frames, true);
    PcmBuffer out { in.format, {} };
    std::vector<std::vector<float>> got(static_cast<size_t>(channels), std::vector<float>(8192));
    std::vector<float *> outputs;
    for (auto &plane : got)
        outputs.push_back(plane.data());
    const auto drain = [&] {
        for (int ready; (ready = stretcher.available()) > 0;) {
            const size_t n
                = stretcher.retrieve(outputs.data(), std::min<size_t>(size_t(ready), 8192));
            for (size_t i = 0; i < n; ++i)
                for (int c = 0; c < channels; ++c)
                    out.samples.push_back(got[size_t(c)][i]);
        }
    };
    for (size_t at = 0; at < frames; at += 8192) {
        std::vector<const float *> block;
        for (int c = 0; c < channels; ++c)
            block.push_back(inputs[size_t(c)] + at);
        stretcher.process(block.data(), std::min<size_t>(8192, frames - at), at + 8192 >= frames);
        drain();
    }
    // available() is 0 while the last blocks are still being worked on, -1 when done.
    while (stretcher.available() >= 0) {
        drain();
        QThread::usleep(100);
    }
    return out;
}

// Zero crossings of the first channel over the middle 80 %, in Hz.
double frequency(const PcmBuffer &pcm)
{
    const int channels = pcm.format.channels;
    const qint64 from = pcm.frames() / 10, to = pcm.frames() * 9 / 10;
    int crossings = 0;
    for (qint64 i = from + 1; i < to; ++i)
        crossings += (pcm.samples[size_t((i - 1) * channels)] < 0)
            != (pcm.samples[size_t(i * channels)] < 0);
    return crossings / 2.0 / (double(to - from) / pcm.format.sampleRate);
}

void fft(std::vector<std::complex<double>> &x)
{
    const size_t n = x.size();
    for (size_t i = 1, j = 0; i < n; ++i) {
        size_t bit = n >> 1;
        for (; j & bit; bit >>= 1)
            j ^= bit;
        j ^= bit;
        if (i < j)
            std::swap(x[i], x[j]);
    }
    for (size_t len = 2; len <= n; len <<= 1) {
        const std::complex<double> step = std::polar(1.0, -2 * M_PI / double(len));
        for (size_t i = 0; i < n; i += len) {
            std::complex<double> w = 1;
            for (size_t k = 0; k < len / 2; ++k, w *= step) {
                const std::complex<double> a = x[i + k], b = x[i + k + len / 2] * w;
                x[i + k] = a + b;
                x[i + k + len / 2] = a - b;
            }
        }
    }
}

// Log-spectral distance in dB between the first channels, over 1024-point Hann frames
// (23 ms at 44.1 kHz, hop 512) where the original is not silent: 0 for identical audio.
double spectralDistance(const PcmBuffer &a, const PcmBuffer &b, qint64 lag = 0)
{
    constexpr size_t n = 1024;
    const int ca = a.format.channels, cb = b.format.channels;
    const qint64 frames = std::min(a.frames(), b.frames() - lag);
    double total = 0;
    int counted = 0;
    for (qint64 at = 0; at + qint64(n) <= frames; at += n / 2) {
        std::vector<std::complex<double>> x(n), y(n);
        double energy = 0;
        for (size_t i = 0; i < n; ++i) {
            const double hann = 0.5 - 0.5 * std::cos(2 * M_PI * double(i) / n);
            x[i] = hann * a.samples[size_t((at + qint64(i)) * ca)];
            y[i] = hann * b.samples[size_t((at + lag + qint64(i)) * cb)];
            energy += std::norm(x[i]);
        }
        if (energy / n < 1e-6) // below -60 dB
            continue;
        fft(x);
        fft(y);
        double sum = 0;
        for (size_t k = 1; k < n / 2; ++k) {
            const double d = 10 * std::log10((std::norm(x[k]) + 1e-6) / (std::norm(y[k]) + 1e-6));
            sum += d * d;
        }
        total += std::sqrt(sum / (n / 2 - 1));
        ++counted;
    }
    return counted ? total / counted : -1;
}

double seconds(const std::function<void()> &work)
{
    QElapsedTimer timer;
    timer.start();
    work();
    return timer.nsecsElapsed() / 1e9;
}

double toolSeconds(const QString &program, const QStringList &arguments)
{
    QProcess tool;
    tool.setStandardOutputFile(QProcess::nullDevice());
    tool.setStandardErrorFile(QProcess::nullDevice());
    return seconds([&] {
        tool.start(program, arguments);
        tool.waitForFinished(600000);
    });
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    std::setvbuf(stdout, nullptr, _IOLBF, 0);
    AudioBenchFixtures::printLoadAverage();
    const QString wav = AudioBenchFixtures::speech(300, false),
                  mp3 = AudioBenchFixtures::speech(300, true);
    QTemporaryDir dir;
    const QString toneWav = dir.filePath("tone.wav");
    PcmBuffer speech, tone;
    if (wav.isEmpty() || mp3.isEmpty() || !AudioFixtures::makeToneWav(toneWav, 10, 440)
        || !decodeFile(wav, {}, &speech).ok || !decodeFile(toneWav, {}, &tone).ok) {
        std::fprintf(stderr, "cannot make or decode the fixtures\n");
        return 1;
    }
    PcmBuffer minute { speech.format,
        std::vector<float>(speech.samples.begin(),
            speech.samples.begin() + 60 * speech.format.sampleRate * speech.format.channels) };
    const double realSeconds = speech.seconds();

    std::printf("Time-stretch libraries on %.0f s of espeak-ng speech (44.1 kHz stereo) at %.1fx\n",
        realSeconds, kSpeed);
    std::printf("  %-32s %10s %12s %12s %14s\n", "engine", "x realtime", "pitch error",
        "length error", "round trip LSD");
    const std::vector<std::pair<const char *, Stretch>> engines {
        { "SoundTouch, default settings",
            [](auto &in, double s) { return soundTouch(in, s, false); } },
        { "SoundTouch, speech settings (ours)",
            [](auto &in, double s) { return soundTouch(in, s, true); } },
        { "Rubber Band R2 (faster), offline",
            [](auto &in, double s) {
                return rubberBand(in, s, RubberBand::RubberBandStretcher::OptionEngineFaster);
            } },
        { "Rubber Band R3 (finer), offline",
            [](auto &in, double s) {
                return rubberBand(in, s, RubberBand::RubberBandStretcher::OptionEngineFiner);
            } },
    };
    for (const auto &[name, stretch] : engines) {
        const double taken = seconds([&, &stretch = stretch] { stretch(speech, kSpeed); });
        const PcmBuffer slowTone = stretch(tone, kSpeed);
        const double pitchError = 100 * (frequency(slowTone) / frequency(tone) - 1);
        const double lengthError = 100 * (slowTone.seconds() / (tone.seconds() / kSpeed) - 1);
        const double distance
            = spectralDistance(minute, stretch(stretch(minute, kSpeed), 1 / kSpeed));
        std::printf("  %-34s %8.1f %+11.3f%% %+11.3f%% %11.2f dB\n", name, realSeconds / taken,
            pitchError, lengthError, distance);
    }
    std::printf(
        "  (round trip: 60 s stretched to 0.7x and back, log-spectral distance to the original;\n"
        "   the same speech against itself 2 ms later, for scale: %.2f dB)\n",
        spectralDistance(minute, minute, 88));

    std::printf(
        "\nSlower copy of the 5-minute material at %.1fx, as the player asks for it\n", kSpeed);
    const double soundstretch
        = toolSeconds("soundstretch", { wav, dir.filePath("st.wav"), "-tempo=-30", "-speech" });
    const double rubberband
        = toolSeconds("rubberband", { "-q", "-T", "0.7", wav, dir.filePath("rb.wav") });
    std::printf("  reference: soundstretch -speech (WAV in)     %6.2f s  %6.1fx realtime\n",
        soundstretch, realSeconds / soundstretch);
    std::printf("  reference: rubberband (R2, WAV in)           %6.2f s  %6.1fx realtime\n",
        rubberband, realSeconds / rubberband);
    for (const QString &material : { wav, mp3 }) {
        StretchRenderer renderer;
        renderer.setCache(dir.filePath("cache"));
        QSignalSpy finished(&renderer, &StretchRenderer::finished);
        const double taken = seconds([&] {
            renderer.render(material, kSpeed);
            finished.wait(120000);
        });
        std::printf("  StretchRenderer, %s in                      %6.2f s  %6.1fx realtime  %.2fx "
                    "soundstretch's speed%s\n",
            material.endsWith(".mp3") ? "MP3" : "WAV", taken, realSeconds / taken,
            soundstretch / taken, finished.isEmpty() ? "  FAILED" : "");
        if (material.endsWith(".mp3"))
            std::printf(
                "  target: >= 60x realtime: %s\n", realSeconds / taken >= 60 ? "met" : "NOT met");
    }
    return 0;
}
