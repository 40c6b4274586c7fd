#pragma once

#include "inputlevel.h"

#include <atomic>
#include <cstdio>
#include <lame/lame.h>
#include <memory>
#include <portaudio.h>

// The encoder takes one integer setting beyond its sample rates before its parameters are
// fixed. Both candidates take the value 0; bench_recorder measures what each costs per block.
// The recorder uses StereoMode: quality 0 costs about eight times as much CPU per block, its
// worst blocks take two thirds of a block's 11.6 ms of CPU and, on a busy machine, more than
// the whole block in real time, so captured audio would be dropped. StereoMode's worst
// blocks stay under a tenth of the block even on a loaded machine.
enum class EncoderTuning {
    StereoMode, // lame_set_mode(STEREO): independent channels instead of joint stereo
    BestQuality, // lame_set_quality(0): the slowest, best psychoacoustic search
};

// Microphone capture encoded to MP3 as it arrives: PortAudio's default input, two channels
// of 32-bit float at 44 100 Hz in blocks of 512 frames, fed to LAME by the audio callback.
//
// open/start/isActive/finish/close run on the recording thread. onAudio runs on PortAudio's
// callback thread and shares only atomics with the other threads: the stop request, the
// progress and failure flags, the input level and when the first sample was captured.
struct Recorder
{
    static constexpr int kSampleRate = 44100;
    static constexpr int kChannels = 2;
    static constexpr unsigned long kFramesPerBlock = 512;
    // Far above LAME's worst case for one block or the final flush (1.25 × samples + 7200).
    static constexpr int kMp3BufferSize = 147456;
    static constexpr int kErrorTextSize = 132;
    static constexpr float kDefaultGain = 32767.0f;
    static constexpr EncoderTuning kTuning = EncoderTuning::StereoMode;

    struct StreamCloser
    {
        void operator()(PaStream *handle) const { Pa_CloseStream(handle); }
    };
    struct LameCloser
    {
        void operator()(lame_global_flags *flags) const { lame_close(flags); }
    };
    // Balances one successful Pa_Initialize, so a failed start never terminates a
    // library it did not initialise and repeated recordings never pile up initialisations.
    struct PortAudioSession
    {
        bool initialized = false;
        PaError initialize();
        void terminate();
        ~PortAudioSession() { terminate(); }
    };

    Recorder();
    Recorder(const Recorder &) = delete;
    Recorder &operator=(const Recorder &) = delete;
    ~Recorder();

    bool open(FILE *outFile, float sampleGain, EncoderTuning tuning = kTuning);
    bool start();
    bool isActive() const;
    // Stops a stream whose callback never came back to end it (a stalled device).
    void abort();
    bool finish();
    void close();
    bool fail(const char *text);
    void requestStop();
    bool stopWasRequested() const;
    // A stop asked for before the next recording begins must not end that recording.
    void clearStop();

    static int onAudio(const void *input, void *output, unsigned long frameCount,
        const PaStreamCallbackTimeInfo *timeInfo, PaStreamCallbackFlags statusFlags,
        void *userData);

    PaStreamParameters inputParameters {};
    std::unique_ptr<PaStream, StreamCloser> stream;
    int lastError = 0;
    float gain = kDefaultGain;
    std::unique_ptr<float[]> left;
    std::unique_ptr<float[]> right;
    std::unique_ptr<lame_global_flags, LameCloser> lame;
    std::unique_ptr<unsigned char[]> mp3Buffer;
    FILE *out = nullptr;
    std::atomic<int> stopRequested { 0 };
    // Set by the callback when the file took fewer bytes than encoded (a full disk).
    std::atomic<bool> writeFailed { false };
    // Frames the callback has taken since open: how the recording thread sees the capture
    // progress, and whether a take holds any audio at all.
    std::atomic<unsigned long> framesCaptured { 0 };
    // When the take's first sample reached the microphone, in nanoseconds of the steady
    // clock (std::chrono::steady_clock); 0 until the first block arrives. A simultaneous
    // take is placed against the model by it.
    std::atomic<long long> firstSampleNs { 0 };
    InputLevelExchange level;
    char errorText[kErrorTextSize] = {};
    // The input device as PortAudio names it, so a learner knows whose level to lower.
    char deviceName[kErrorTextSize] = {};
    PortAudioSession portAudio;

private:
    bool failPortAudio(PaError error);
    bool setUpEncoder(EncoderTuning tuning);
    bool allocateBuffers();
    bool openStream();
    void encodeBlock(const float *interleaved, unsigned long frames);
    void write(int byteCount);
    void writeTagFrame();
    void noteFirstSample(const PaStreamCallbackTimeInfo *timeInfo, unsigned long frames);
};

// Splits interleaved stereo into two channels scaled by gain; a missing input buffer
// becomes silence, so the recording keeps its length instead of crashing the callback.
void splitStereo(
    const float *interleaved, unsigned long frames, float gain, float *left, float *right);
