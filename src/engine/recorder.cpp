#include "recorder.h"

#include "quietaudiolibraries.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <new>

namespace {

constexpr int kSamplesPerChannel = static_cast<int>(Recorder::kFramesPerBlock);

} // namespace

void splitStereo(
    const float *interleaved, unsigned long frames, float gain, float *left, float *right)
{
    if (!interleaved) {
        std::memset(left, 0, frames * sizeof(float));
        std::memset(right, 0, frames * sizeof(float));
        return;
    }
    for (unsigned long i = 0; i < frames; ++i) {
        left[i] = interleaved[2 * i] * gain;
        right[i] = interleaved[2 * i + 1] * gain;
    }
}

PaError Recorder::PortAudioSession::initialize()
{
    silenceAudioLibraries();
    const PaError error = Pa_Initialize();
    initialized = error == paNoError;
    return error;
}

void Recorder::PortAudioSession::terminate()
{
    if (initialized)
        Pa_Terminate();
    initialized = false;
}

Recorder::Recorder() = default;

Recorder::~Recorder()
{
    close();
}

bool Recorder::fail(const char *text)
{
    std::snprintf(errorText, sizeof errorText, "%s", text);
    return false;
}

bool Recorder::failPortAudio(PaError error)
{
    lastError = error;
    std::snprintf(errorText, sizeof errorText, "portaudio: %s", Pa_GetErrorText(error));
    return false;
}

bool Recorder::open(FILE *outFile, float sampleGain, EncoderTuning tuning)
{
    // Whatever an earlier recording left behind is released, never initialised twice.
    close();
    out = outFile;
    gain = sampleGain;
    writeFailed = false;
    framesCaptured = 0;
    firstSampleNs = 0;
    level.take();
    errorText[0] = '\0';
    if (!out)
        return fail("NULL file pointer.");
    if (!setUpEncoder(tuning) || !allocateBuffers())
        return false;

    const PaError error = portAudio.initialize();
    if (error != paNoError)
        return failPortAudio(error);
    return openStream();
}

bool Recorder::setUpEncoder(EncoderTuning tuning)
{
    lame.reset(lame_init());
    if (!lame)
        return fail("lame initialize failed.");
    lame_set_in_samplerate(lame.get(), kSampleRate);
    lame_set_out_samplerate(lame.get(), kSampleRate);
    if (tuning == EncoderTuning::StereoMode)
        lame_set_mode(lame.get(), STEREO);
    else
        lame_set_quality(lame.get(), 0);
    lastError = lame_init_params(lame.get());
    if (lastError == -1)
        return fail("lame init param failed.");
    return true;
}

bool Recorder::allocateBuffers()
{
    mp3Buffer.reset(new (std::nothrow) unsigned char[kMp3BufferSize]);
    if (!mp3Buffer)
        return fail("malloc fail: lame output buffer.");
    left.reset(new (std::nothrow) float[kSamplesPerChannel]);
    right.reset(new (std::nothrow) float[kSamplesPerChannel]);
    if (!left || !right)
        return fail("malloc fail: sample buffers for lame.");
    return true;
}

bool Recorder::openStream()
{
    const PaDeviceIndex device = Pa_GetDefaultInputDevice();
    if (device == paNoDevice)
        return fail("portaudio: No input device.");
    const PaDeviceInfo *info = Pa_GetDeviceInfo(device);
    std::snprintf(deviceName, sizeof deviceName, "%s", info && info->name ? info->name : "");

    inputParameters.device = device;
    inputParameters.channelCount = kChannels;
    inputParameters.sampleFormat = paFloat32;
    inputParameters.suggestedLatency = info ? info->defaultLowInputLatency : 0.0;
    inputParameters.hostApiSpecificStreamInfo = nullptr;

    PaStream *opened = nullptr;
    const PaError error = Pa_OpenStream(&opened, &inputParameters, nullptr, kSampleRate,
        kFramesPerBlock, paClipOff, &Recorder::onAudio, this);
    if (error != paNoError)
        return failPortAudio(error);
    stream.reset(opened);
    return true;
}

bool Recorder::start()
{
    const PaError error = stream ? Pa_StartStream(stream.get()) : paBadStreamPtr;
    if (error != paNoError)
        return failPortAudio(error);
    return true;
}

bool Recorder::isActive() const
{
    return stream && Pa_IsStreamActive(stream.get()) == 1;
}

void Recorder::abort()
{
    if (stream)
        Pa_AbortStream(stream.get());
}

bool Recorder::finish()
{
    // The stream is released even when closing it reports an error: PortAudio has no
    // second chance to offer for a stream that failed to close.
    const PaError error = stream ? Pa_CloseStream(stream.release()) : paBadStreamPtr;
    if (error != paNoError)
        return failPortAudio(error);
    const int flushed = lame_encode_flush(lame.get(), mp3Buffer.get(), kMp3BufferSize);
    write(flushed);
    writeTagFrame();
    if (writeFailed)
        return fail("file write failed: the recording is incomplete.");
    return true;
}

void Recorder::close()
{
    // A stream still open (start failed) must go before the library it belongs to.
    stream.reset();
    portAudio.terminate();
    left.reset();
    right.reset();
    mp3Buffer.reset();
    lame.reset();
}

void Recorder::requestStop()
{
    stopRequested = 1;
}

bool Recorder::stopWasRequested() const
{
    return stopRequested != 0;
}

void Recorder::clearStop()
{
    stopRequested = 0;
}

void Recorder::write(int byteCount)
{
    if (byteCount <= 0)
        return;
    const size_t count = static_cast<size_t>(byteCount);
    if (std::fwrite(mp3Buffer.get(), 1, count, out) != count)
        writeFailed = true;
}

// LAME leaves the file's first frame empty for the tag that tells decoders its delay and
// padding; without it every decoder hears the take about 51 ms late against the model.
void Recorder::writeTagFrame()
{
    const size_t bytes = lame_get_lametag_frame(lame.get(), mp3Buffer.get(), kMp3BufferSize);
    if (bytes == 0 || bytes > size_t(kMp3BufferSize) || writeFailed)
        return;
    const long end = std::ftell(out);
    if (end < 0 || std::fseek(out, 0, SEEK_SET) != 0
        || std::fwrite(mp3Buffer.get(), 1, bytes, out) != bytes || std::fseek(out, end, SEEK_SET) != 0)
        writeFailed = true;
}

// The block's first sample was captured before the callback runs, by the input latency
// PortAudio reports (or, where it reports none, by the block's own length).
void Recorder::noteFirstSample(const PaStreamCallbackTimeInfo *timeInfo, unsigned long frames)
{
    using namespace std::chrono;
    double lagSeconds = double(frames) / kSampleRate;
    if (timeInfo) {
        const double reported = timeInfo->currentTime - timeInfo->inputBufferAdcTime;
        if (reported > 0.0 && reported < 1.0)
            lagSeconds = reported;
    }
    const auto now = duration_cast<nanoseconds>(steady_clock::now().time_since_epoch()).count();
    firstSampleNs = now - static_cast<long long>(lagSeconds * 1e9);
}

void Recorder::encodeBlock(const float *interleaved, unsigned long frames)
{
    splitStereo(interleaved, frames, gain, left.get(), right.get());
    level.addBlock(left.get(), right.get(), frames, 1.0f / 32768.0f);
    const int encoded = lame_encode_buffer_float(lame.get(), left.get(), right.get(),
        static_cast<int>(frames), mp3Buffer.get(), kMp3BufferSize);
    write(encoded);
}

int Recorder::onAudio(const void *input, [[maybe_unused]] void *output, unsigned long frameCount,
    const PaStreamCallbackTimeInfo *timeInfo,
    [[maybe_unused]] PaStreamCallbackFlags statusFlags, void *userData)
{
    auto *recorder = static_cast<Recorder *>(userData);
    const auto *samples = static_cast<const float *>(input);
    if (recorder->framesCaptured == 0)
        recorder->noteFirstSample(timeInfo, frameCount);
    // PortAudio delivers exactly one block as asked; larger deliveries are cut to the
    // preallocated block size rather than overrun it.
    for (unsigned long done = 0; done < frameCount;) {
        const unsigned long frames = std::min(frameCount - done, kFramesPerBlock);
        recorder->encodeBlock(samples ? samples + done * kChannels : nullptr, frames);
        done += frames;
    }
    recorder->framesCaptured += frameCount;
    return recorder->stopRequested.load() ? paComplete : paContinue;
}
